// DbText: host text in which the control codes, the space and the backslash
// are written as backslash sequences. Both directions cut their output at 255
// bytes and return a copy made by T_StrCopyString.
#include <tarnel/tde_charmaps.h>
#include <tarnel/tde_strings.h>

namespace {

constexpr int kMaxOut = 255;  // bytes of output before the terminator

// Host code for the byte that follows a backslash. The reader accepts more
// than the writer produces (n, h, P); any unlisted byte stands for itself.
unsigned char unescape(unsigned char e) {
    switch (e) {
    case 't': return 0x08;
    case 'r':
    case 'n':
    case 'h': return 0x09;
    case 'p':
    case 'P': return 0x0A;
    case '-': return 0x04;
    case '_': return 0x05;
    case '#': return 0x10;
    case ' ': return 0x11;
    case 'i': return 0x12;
    case 'N': return 0x13;
    case 'M': return 0x14;
    case '+': return 0x15;
    case 's': return 0x20;
    default: return e;
    }
}

// Letter written after a backslash for host code c, or 0 when c is copied.
char escape(unsigned char c) {
    switch (c) {
    case 0x04: return '-';
    case 0x05: return '_';
    case 0x08: return 't';
    case 0x09: return 'r';
    case 0x0A: return 'p';
    case 0x10: return '#';
    case 0x11: return ' ';
    case 0x12: return 'i';
    case 0x13: return 'N';
    case 0x14: return 'M';
    case 0x15: return '+';
    case 0x20: return 's';
    case 0x5C: return '\\';
    default: return 0;
    }
}

}  // namespace

extern "C" {

// A null text is read as empty, as throughout the string library, so the
// caller always gets a string it owns (or null only when memory is short).
char *TdeDbTextToOrvel(const char *text) {
    char buf[kMaxOut + 1];
    int n = 0;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text ? text : "");
    while (*p != 0 && n < kMaxOut) {
        unsigned char c = *p++;
        if (c == '\\') {
            if (*p == 0) break;  // a trailing backslash escapes nothing
            c = unescape(*p++);
        }
        buf[n++] = static_cast<char>(c);
    }
    buf[n] = 0;
    return T_StrCopyString(buf);
}

// Escape pairs are never split: a byte is written only while at most
// kMaxOut - 2 bytes are out, so even a pair still fits.
char *TdeOrvelToDbText(const char *text) {
    char buf[kMaxOut + 1];
    int n = 0;
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text ? text : "");
    while (*p != 0 && n <= kMaxOut - 2) {
        unsigned char c = *p++;
        if (char e = escape(c)) {
            buf[n++] = '\\';
            buf[n++] = e;
        } else {
            buf[n++] = static_cast<char>(c);
        }
    }
    buf[n] = 0;
    return T_StrCopyString(buf);
}

}  // extern "C"
