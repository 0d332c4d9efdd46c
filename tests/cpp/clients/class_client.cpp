// A client written as a class: one line per callback on standard output.
// Command 13 throws, which must end that callback only.
#include <cstdio>
#include <stdexcept>

#include <tarnel/tnapi.hpp>

namespace {

class Printing : public tarnel::Client {
    void initialize(int code) override { std::printf("init %d\n", code); }
    void notify(int n, unsigned int obj, std::string_view text, int number) override {
        std::printf("notify %d %u [%.*s] %d\n", n, obj, static_cast<int>(text.size()), text.data(), number);
    }
    void filter(unsigned int obj, const TdeApiFilterArgsT &args, int number) override {
        std::printf("filter %u [%s] [%s] %d\n", obj, args.arg1, args.arg2, number);
    }
    void command(int command) override {
        if (command == 13) throw std::runtime_error("unlucky command");
        std::printf("command %d client=%d\n", command, tarnel::ClientNumber().value_or(-1));
    }
    void message(std::string_view text, unsigned int a, unsigned int b) override {
        std::printf("message [%.*s] %u %u\n", static_cast<int>(text.size()), text.data(), a, b);
    }
    void dialog_event(int a, int b, int c) override { std::printf("dialog %d %d %d\n", a, b, c); }
};

}  // namespace

TARNEL_CLIENT(Printing);
