// Expansion of '*' widths and precisions in one specification, in place.
#include <cstdio>
#include <cstring>

#include "sprint_internal.h"

extern "C" int TdeProcessWildFieldWidth(char *spec, va_list *args) {
    int len = static_cast<int>(std::strlen(spec));
    for (int i = 0; i < len;) {
        if (spec[i] != '*') {
            ++i;
            continue;
        }
        const int v = va_arg(*args, int);
        char digits[TDE_WILD_DIGITS + 1];
        int from = i;
        int n = 0;
        if (v < 0 && i > 0 && spec[i - 1] == '.')
            from = i - 1;  // a negative precision counts as none: drop the ".*"
        else
            n = std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(v));
        const int to = i + 1;
        std::memmove(spec + from + n, spec + to, static_cast<size_t>(len - to + 1));
        std::memcpy(spec + from, digits, static_cast<size_t>(n));
        len += n - (to - from);
        i = from + n;
    }
    return len;
}
