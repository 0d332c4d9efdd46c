// The record reader of callback connections, over any byte stream delivered
// in pieces of any size. The first byte sets the record limit, the second
// the size of the pieces, the rest is the stream.
//
// Checked against a plain reading of the whole stream at once: the same
// records in the same order, refused at the same header when a record's
// fragments announce more than the limit, and nothing taken past the end of
// a record or past a refusal.
#include <string>
#include <vector>

#include <wire/record_reader.h>

#include "support.h"

namespace {

using namespace fuzz;
using tarnel::wire::RecordReader;

struct Reading {
    std::vector<std::string> records;
    bool tooLarge = false;
    std::size_t used = 0;  // bytes taken up to the refusal, or all of them
};

std::uint32_t word(const std::uint8_t *p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

Reading whole(const std::uint8_t *data, std::size_t size, std::size_t limit) {
    Reading r;
    std::string record;
    std::size_t at = 0;
    while (size - at >= 4) {
        const std::uint32_t header = word(data + at);
        const std::size_t length = header & 0x7FFFFFFFu;
        at += 4;
        if (length > limit - record.size()) {
            r.tooLarge = true;
            r.used = at;
            return r;
        }
        if (size - at < length) break;
        record.append(reinterpret_cast<const char *>(data + at), length);
        at += length;
        if (header & 0x80000000u) {
            r.records.push_back(record);
            record.clear();
        }
    }
    r.used = size;
    return r;
}

Reading inPieces(const std::uint8_t *data, std::size_t size, std::size_t limit, std::size_t piece) {
    Reading r;
    RecordReader reader(limit);
    std::size_t at = 0;
    while (at < size) {
        const std::size_t n = std::min(piece, size - at);
        std::size_t used;
        const RecordReader::State state = reader.take(reinterpret_cast<const char *>(data + at), n, used);
        FUZZ_CHECK(used <= n);
        at += used;
        if (state == RecordReader::State::Complete) {
            r.records.emplace_back(reader.data(), reader.size());
        } else if (state == RecordReader::State::TooLarge) {
            r.tooLarge = true;
            r.used = at;
            // Refused for good: nothing more is taken.
            FUZZ_CHECK(reader.take(reinterpret_cast<const char *>(data), size, used) == state && used == 0);
            return r;
        } else {
            FUZZ_CHECK(state == RecordReader::State::Partial && used == n);
        }
    }
    r.used = size;
    return r;
}

Bytes mark(std::uint32_t header, const std::string &body) {
    Bytes b = {static_cast<std::uint8_t>(header >> 24), static_cast<std::uint8_t>(header >> 16),
               static_cast<std::uint8_t>(header >> 8), static_cast<std::uint8_t>(header)};
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

void write_seeds(const char *dir) {
    const std::string call(40, 'c');  // about the size of a callback's header
    const Bytes streams[] = {
        mark(0x80000000u | 40, call),
        with_prefix(mark(10, call.substr(0, 10)), mark(0x80000000u | 30, call.substr(10))),
        with_prefix(mark(0x80000000u, ""), mark(0x80000000u | 40, call)),
        mark(0x80010001u, call),
        mark(0xFFFFFFFFu, call),
    };
    int n = 0;
    for (const Bytes &s : streams)
        for (const std::uint8_t piece : {1, 3, 64})
            write_seed(dir, "records-" + std::to_string(n++), with_prefix({0, piece}, s));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return seed_mode(write_seeds); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return -1;
    const std::size_t limit = data[0] == 0 ? 4096 : data[0] * 8u;
    const std::size_t piece = data[1] == 0 ? 1 : data[1];
    const Reading want = whole(data + 2, size - 2, limit);
    const Reading got = inPieces(data + 2, size - 2, limit, piece);
    FUZZ_CHECK(got.records == want.records);
    FUZZ_CHECK(got.tooLarge == want.tooLarge && got.used == want.used);
    return 0;
}
