// Reassembles the records of an RPC stream (record marking: each fragment
// is a 4-byte header, high bit "last fragment", low 31 bits its length)
// from bytes as they arrive, in any pieces. It never trusts a header for an
// allocation: the buffer grows only with bytes received, and a record whose
// fragments announce more than the limit is refused as soon as the header
// that crosses it arrives.
#ifndef TARNEL_WIRE_RECORD_READER_H
#define TARNEL_WIRE_RECORD_READER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarnel::wire {

class RecordReader {
  public:
    enum class State { Partial, Complete, TooLarge, NoMemory };

    explicit RecordReader(std::size_t limit) : limit_(limit) {}

    // Takes bytes up to the end of the current record; `used` tells how many
    // of them it took. After Complete the record is in record() until the
    // next take(); after TooLarge or NoMemory the stream cannot go on.
    State take(const char *data, std::size_t size, std::size_t &used);

    // Whether no record has been begun and left unfinished.
    bool atBoundary() const {
        return state_ == State::Complete || (state_ == State::Partial && headerHave_ == 0 && record_.empty());
    }

    const char *data() const { return record_.data(); }
    std::size_t size() const { return record_.size(); }

  private:
    void startNext();

    std::size_t limit_;
    std::vector<char> record_;
    State state_ = State::Partial;
    unsigned char header_[4] = {};
    std::size_t headerHave_ = 0;
    std::uint32_t fragmentLeft_ = 0;
    bool lastFragment_ = false;
};

}  // namespace tarnel::wire

#endif
