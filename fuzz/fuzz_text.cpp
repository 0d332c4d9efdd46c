// Text utilities over host strings: the filter notification's split, the
// DbText conversions both ways, and the formatter with the host's string as
// an argument (never as the format). The first byte picks the operation,
// the second is its number (a buffer size, a precision), the rest is the
// host's text, up to its first 0 byte.
//
// Checked: the split gives exactly the pieces between separators; DbText
// output stays within 255 bytes and decoding an encoding gives a prefix of
// the original; the formatter stores what the C library would, cut to the
// buffer, and returns the count stored.
#include <cstdarg>
#include <string>
#include <vector>

#include <tarnel/tde.h>
#include <tarnel/tnapi_values.h>

#include "support.h"

namespace {

using namespace fuzz;

void check_split(const std::string &text) {
    std::vector<std::string> want(1);
    for (char c : text) {
        if (c == TDE_FILTER_ARG_SEPARATOR)
            want.emplace_back();
        else
            want.back() += c;
    }
    TdeApiFilterArgsT *args = TdeApiExpandFilterArgs(text.c_str());
    FUZZ_CHECK(args != nullptr);
    const StringT slots[] = {args->arg1, args->arg2, args->arg3, args->arg4, args->arg5, args->arg6};
    for (std::size_t k = 0; k < 6; ++k)
        FUZZ_CHECK(k < want.size() ? slots[k] != nullptr && want[k] == slots[k] : slots[k] == nullptr);
    FUZZ_CHECK(args->extra.count == (want.size() > 6 ? want.size() - 6 : 0));
    for (u_int i = 0; i < args->extra.count; ++i) FUZZ_CHECK(want[6 + i] == args->extra.items[i]);
    TdeApiDeallocateFilterArgs(args);
    T_Free(args);
}

void check_dbtext(const std::string &text) {
    char *host = TdeDbTextToOrvel(text.c_str());
    FUZZ_CHECK(host != nullptr && std::strlen(host) <= 255);
    char *db = TdeOrvelToDbText(text.c_str());
    FUZZ_CHECK(db != nullptr && std::strlen(db) <= 255);
    char *back = TdeDbTextToOrvel(db);
    FUZZ_CHECK(back != nullptr && text.compare(0, std::strlen(back), back) == 0);
    FUZZ_CHECK(text.empty() || back[0] != '\0');
    T_Free(host);
    T_Free(db);
    T_Free(back);
}

int tde_format(char *buf, int size, const char *format, ...) {
    va_list args;
    va_start(args, format);
    const int n = TdeVSnprintf(buf, size, format, args);
    va_end(args);
    return n;
}

// Formats with both the formatter and the C library; they must agree.
template <typename... Args> void check_format(int size, const char *format, Args... args) {
    const int full = std::snprintf(nullptr, 0, format, args...);
    FUZZ_CHECK(full >= 0);
    std::string want(static_cast<std::size_t>(full) + 1, '\0');
    std::snprintf(want.data(), want.size(), format, args...);
    want.resize(static_cast<std::size_t>(full));
    if (static_cast<int>(want.size()) > size - 1) want.resize(static_cast<std::size_t>(size - 1));

    std::vector<char> buf(static_cast<std::size_t>(size) + 8, '\x7f');
    const int n = tde_format(buf.data(), size, format, args...);
    FUZZ_CHECK(n == static_cast<int>(want.size()));
    FUZZ_CHECK(std::string(buf.data(), want.size()) == want && buf[want.size()] == '\0');
    for (std::size_t i = static_cast<std::size_t>(size); i < buf.size(); ++i)
        FUZZ_CHECK(buf[i] == '\x7f');  // nothing past the buffer
}

void check_formats(int number, const std::string &text) {
    const char *s = text.c_str();
    const int size = number == 0 ? 4096 : number;  // 0: room for everything
    check_format(size, "%s", s);
    check_format(size, "%.*s", number % 64, s);
    check_format(size, "%-20s|%5d", s, number);
    check_format(size, "[%10.3s] %s %%", s, s);
}

enum Op { Split, DbText, Format, OpCount };

void write_seeds(const char *dir) {
    const std::vector<std::string> texts = {
        "",
        "plain",
        "\x1e",
        "a\x1e"
        "b\x1e\x1e"
        "d",
        "1\x1e"
        "2\x1e"
        "3\x1e"
        "4\x1e"
        "5\x1e"
        "6\x1e"
        "7\x1e"
        "8",
        "back\\slash \\p\\t\\s",
        std::string(300, 'x'),
        "tab\there\nand space",
    };
    int n = 0;
    for (std::uint8_t op = 0; op < OpCount; ++op)
        for (const std::string &t : texts) {
            Bytes b = {op, static_cast<std::uint8_t>(n * 7)};
            b.insert(b.end(), t.begin(), t.end());
            write_seed(dir, "text-" + std::to_string(n++), b);
        }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return seed_mode(write_seeds); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return -1;
    const std::string text(reinterpret_cast<const char *>(data + 2),
                           strnlen(reinterpret_cast<const char *>(data + 2), size - 2));
    switch (data[0] % OpCount) {
    case Split: check_split(text); break;
    case DbText: check_dbtext(text); break;
    case Format: check_formats(data[1], text); break;
    }
    return 0;
}
