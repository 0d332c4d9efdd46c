#include "record_reader.h"

#include <algorithm>
#include <new>

namespace tarnel::wire {
namespace {
// A buffer left this large by one big record is given back, not kept for
// every small record after it.
constexpr std::size_t kKeptCapacity = 256 * 1024;
}  // namespace

void RecordReader::startNext() {
    if (record_.capacity() > kKeptCapacity) std::vector<char>().swap(record_);
    record_.clear();
    state_ = State::Partial;
}

RecordReader::State RecordReader::take(const char *data, std::size_t size, std::size_t &used) {
    used = 0;
    if (state_ == State::TooLarge || state_ == State::NoMemory) return state_;
    if (state_ == State::Complete) startNext();
    for (;;) {
        if (headerHave_ < 4) {
            if (used == size) break;
            header_[headerHave_++] = static_cast<unsigned char>(data[used++]);
            if (headerHave_ < 4) continue;
            const std::uint32_t word = std::uint32_t{header_[0]} << 24 | std::uint32_t{header_[1]} << 16 |
                                       std::uint32_t{header_[2]} << 8 | header_[3];
            lastFragment_ = (word & 0x80000000u) != 0;
            fragmentLeft_ = word & 0x7FFFFFFFu;
            if (fragmentLeft_ > limit_ - record_.size()) return state_ = State::TooLarge;
        }
        const std::size_t n = std::min<std::size_t>(fragmentLeft_, size - used);
        try {
            // Doubling keeps a big record linear; the fragment's end bounds it.
            const std::size_t want = record_.size() + n;
            if (want > record_.capacity())
                record_.reserve(std::min(std::max(want, 2 * record_.capacity()), record_.size() + fragmentLeft_));
            record_.insert(record_.end(), data + used, data + used + n);
        } catch (const std::bad_alloc &) { return state_ = State::NoMemory; }
        used += n;
        fragmentLeft_ -= static_cast<std::uint32_t>(n);
        if (fragmentLeft_ != 0) break;
        headerHave_ = 0;
        if (lastFragment_) return state_ = State::Complete;
    }
    return state_;
}

}  // namespace tarnel::wire
