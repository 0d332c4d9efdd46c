// A client written as a class: one line per callback on standard output.
// Command 13 throws, which must end that callback only. Initialisation 5
// runs a modal dialog through its C++ form; command 8, served inside it,
// makes a C request that the host refuses. Initialisation 6 hands control
// back and writes a property 500 times through a pipeline, serving the
// callbacks that arrive meanwhile.
#include <cstdio>
#include <stdexcept>
#include <vector>

#include <tarnel/tnapi.hpp>

namespace {

class Printing : public tarnel::Client {
    void initialize(int code) override {
        std::printf("init %d\n", code);
        if (code == 6) return pipelined();
        if (code != 5) return;
        const auto modal = tarnel::ModalDialog(1, 0);
        std::printf("modal %d [%s]\n", modal.value_or(-1), modal ? "no failure" : modal.error().message().c_str());
    }
    void notify(int n, unsigned int obj, std::string_view text, int number) override {
        std::printf("notify %d %u [%.*s] %d\n", n, obj, static_cast<int>(text.size()), text.data(), number);
    }
    void filter(unsigned int obj, const TdeApiFilterArgsT &args, int number) override {
        std::printf("filter %u [%s] [%s] %d\n", obj, args.arg1, args.arg2, number);
    }
    void command(int command) override {
        if (command == 13) throw std::runtime_error("unlucky command");
        if (command == 8) {
            TA_errno = 0;
            (void)T_ApiGetInt(0, 0, 200);
            std::printf("c-request errno=%d\n", TA_errno);
            return;
        }
        std::printf("command %d client=%d\n", command, tarnel::ClientNumber().value_or(-1));
    }
    void message(std::string_view text, unsigned int a, unsigned int b) override {
        std::printf("message [%.*s] %u %u\n", static_cast<int>(text.size()), text.data(), a, b);
    }
    void dialog_event(int a, int b, int c) override { std::printf("dialog %d %d %d\n", a, b, c); }

    void pipelined() {
        (void)T_ApiDoneCommand();
        tarnel::Pipeline pipe;
        std::vector<tarnel::Pending<void>> writes;
        for (int i = 0; i < 500; ++i) writes.push_back(pipe.add(tarnel::SetInt, 0u, 0u, 200, i));
        auto last = pipe.add(tarnel::GetInt, 0u, 0u, 200);
        int ok = 0;
        for (auto &w : writes) ok += w.get().ok();
        std::printf("pipelined ok=%d last=%d\n", ok, last.get().value_or(-1));
    }
};

}  // namespace

TARNEL_CLIENT(Printing);
