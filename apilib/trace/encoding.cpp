#include "trace/encoding.h"

namespace tarnel::trace {

std::string xdrHex(xdrproc_t proc, const void *value) {
    void *v = const_cast<void *>(value);  // an encoder only reads
    const unsigned long size = value ? xdr_sizeof(proc, v) : 0;
    if (size == 0) return "";
    std::string bytes(size, '\0');
    XDR x;
    xdrmem_create(&x, bytes.data(), static_cast<u_int>(size), XDR_ENCODE);
    const bool ok = proc(&x, v);
    xdr_destroy(&x);
    if (!ok) return "";
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(2 * size);
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

std::optional<std::string> hexBytes(std::string_view hex) {
    auto digit = [](char c) { return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1; };
    if (hex.size() % 2) return std::nullopt;
    std::string out(hex.size() / 2, '\0');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const int hi = digit(hex[2 * i]), lo = digit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out[i] = static_cast<char>(hi << 4 | lo);
    }
    return out;
}

}  // namespace tarnel::trace
