// The pipeline's engine: the outstanding requests in the order sent, the
// bytes still to write, the reply stream, and the pump that moves them.
#ifndef TARNEL_PIPELINE_ENGINE_H
#define TARNEL_PIPELINE_ENGINE_H

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include <tarnel/tnapi_pipeline.h>

#include "pipeline/pipeline.h"
#include "trace/event.h"
#include "wire/record_reader.h"

namespace tarnel::pipeline {

// A C run: what T_ApiPipelineEnd() reports.
struct Run {
    T_ApiPipelineReportT report{};
};

// One request sent (or buffered) and not yet answered.
struct Item {
    std::uint32_t xid = 0;
    rpcproc_t proc = 0;
    std::uint64_t end = 0;  // where its record ends in the outgoing stream
    // Answered by the caller's function (T_ApiPipelineAdd) ...
    T_ApiPipelineCallT call = nullptr;
    void *data = nullptr;
    // ... or as a status request of a C run.
    AnyStub stub = nullptr;
    Reread reread = nullptr;
    Run *run = nullptr;
    int index = 0;              // its place in the run, from 1
    bool discard = false;       // its pass was refused: the reply is read and dropped
    std::unique_ptr<trace::Event> event;  // its trace event, args rendered while they were valid
    std::chrono::steady_clock::time_point sent;
};

enum class Mode { Direct, Send, Answer };

struct Engine {
    Mode mode = Mode::Direct;
    bool refusedNow = false;  // a direct call was refused: its no-reply code says why
    long answered = 0;
    std::deque<Item> items;
    std::vector<std::unique_ptr<Run>> runs;  // open C runs, innermost last

    // The send pass in progress: what it makes of its stub calls.
    struct {
        int calls = 0;
        bool refused = false;
        bool queued = false;
        T_ApiPipelineCallT call = nullptr;
        void *data = nullptr;
        AnyStub stub = nullptr;
        Reread reread = nullptr;
    } sending;
    // The answer pass in progress: the reply it reads.
    struct {
        int calls = 0;
        rpcproc_t proc = 0;
        const char *record = nullptr;
        std::size_t size = 0;
        enum clnt_stat failure = RPC_SUCCESS;  // why there is no record
        Item *item = nullptr;
    } answering;

    // The outgoing stream: bytes [written - (out.size() - outAt), ...) of it
    // are in `out` from `outAt`; `written` counts what the socket took.
    std::vector<char> out;
    std::size_t outAt = 0;
    std::uint64_t queued = 0, written = 0, lastWholeEnd = 0;
    std::deque<std::uint64_t> ends;  // record ends not yet fully written
    std::deque<std::uint32_t> abandoned;  // ids of requests ended without their reply

    CLIENT *conn = nullptr;
    int fd = -1;
    std::uint32_t prog = 0, vers = 0;

    wire::RecordReader reader;
    std::vector<char> in;
    std::uint32_t nextXid;
    std::chrono::steady_clock::time_point lastProgress;

    Engine();
    void refresh();
    void use(CLIENT *client);
    std::uint32_t encode(rpcproc_t proc, xdrproc_t encodeArgs, void *argument, bool &ok);
    void queuedOne();
    void pump(std::size_t most);
    void fail(enum clnt_stat why);
    void answer(Item &item, const char *record, std::size_t size, enum clnt_stat failure);

  private:
    bool writeSome();
    bool readSome();
    void serveCallbacks(const std::vector<int> &ready);
};

Engine &engine();

}  // namespace tarnel::pipeline

#endif
