// Records of a callback stream reassembled from pieces of every size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <wire/record_reader.h>

namespace {

using tarnel::wire::RecordReader;

std::string fragment(bool last, const std::string &body) {
    const std::uint32_t h = (last ? 0x80000000u : 0) | static_cast<std::uint32_t>(body.size());
    return std::string{static_cast<char>(h >> 24), static_cast<char>(h >> 16), static_cast<char>(h >> 8),
                       static_cast<char>(h)} +
           body;
}

struct Case {
    const char *what;
    std::string stream;
    std::size_t limit;
    std::vector<std::string> records;
    bool tooLarge;
};

TEST(RecordReader, ReassemblesRecordsAndRefusesOversizedOnesAtTheirHeader) {
    const Case cases[] = {
        {"one record", fragment(true, "call"), 64, {"call"}, false},
        {"two fragments, then a second record",
         fragment(false, "ca") + fragment(true, "ll") + fragment(true, "x"),
         64,
         {"call", "x"},
         false},
        {"an empty last fragment ends the record", fragment(false, "ab") + fragment(true, ""), 64, {"ab"}, false},
        {"exactly the limit", fragment(true, std::string(16, 'a')), 16, {std::string(16, 'a')}, false},
        {"fragments that cross the limit together",
         fragment(false, std::string(10, 'a')) + fragment(true, "0123456"),
         16,
         {},
         true},
        {"an announcement past the limit, no data",
         fragment(true, "").replace(0, 4, "\x7f\xff\xff\xff"),
         1 << 24,
         {},
         true},
        {"an unfinished record stays pending", fragment(true, "call").substr(0, 6), 64, {}, false},
    };
    for (const Case &c : cases)
        for (std::size_t piece : {std::size_t{1}, std::size_t{3}, c.stream.size()}) {
            RecordReader reader(c.limit);
            std::vector<std::string> got;
            bool refused = false;
            for (std::size_t at = 0; at < c.stream.size() && !refused;) {
                std::size_t used;
                const auto state = reader.take(c.stream.data() + at, std::min(piece, c.stream.size() - at), used);
                at += used;
                if (state == RecordReader::State::Complete) got.emplace_back(reader.data(), reader.size());
                refused = state == RecordReader::State::TooLarge;
            }
            EXPECT_EQ(got, c.records) << c.what << ", pieces of " << piece;
            EXPECT_EQ(refused, c.tooLarge) << c.what << ", pieces of " << piece;
        }
}

}  // namespace
