// Status bits of a return-parameter list.
#include <array>
#include <vector>

#include <gtest/gtest.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace {

void add_words(T_PropValsT *list, int num, std::vector<int> words, int kind = TA_KIND_INTS) {
    T_TypedValT v{};
    v.kind = kind;
    v.u.ints = T_IntsT{static_cast<u_int>(words.size()), words.data()};
    T_ApiAppendVal(list, num, &v);
}

// Each row: bit, the answer, TA_errno after the call (99: left alone).
void expect_bits(const T_PropValsT *list, std::initializer_list<std::array<int, 3>> rows) {
    for (const auto &[bit, answer, error] : rows) {
        TA_errno = 99;
        EXPECT_EQ(T_ApiCheckStatus(list, bit), answer) << "bit " << bit;
        EXPECT_EQ(TA_errno, error) << "bit " << bit;
    }
}

}  // namespace

TEST(Status, BitsOfTheStatusEntry) {
    T_PropValsT list{};
    add_words(&list, 1, {-1});  // all set, but entry 3 comes first
    add_words(&list, 3, {5, static_cast<int>(0x80000001u)});
    expect_bits(&list,
                {{0, 1, 99}, {2, 1, 99}, {1, 0, 99}, {31, 0, 99}, {32, 1, 99}, {63, 1, 99}, {64, 0, -4}, {-1, 0, -4}});
    T_ApiDeallocatePropVals(&list);
    add_words(&list, 1, {5});
    expect_bits(&list, {{2, 1, 99}, {32, 0, -4}});
    T_ApiDeallocatePropVals(&list);
    T_ApiAppendIntProp(&list, 2, 1);
    expect_bits(&list, {{0, 0, -5}});
    T_ApiDeallocatePropVals(&list);
    expect_bits(&list, {{0, 0, -5}});
    expect_bits(nullptr, {{0, 0, -5}});

    // An integer's union is no list: read as one, its value would be a count
    // and the next word a pointer. Unsigned words read as words.
    T_ApiAppendIntProp(&list, 3, 7);
    expect_bits(&list, {{0, 0, -4}});
    T_ApiDeallocatePropVals(&list);
    add_words(&list, 3, {4}, TA_KIND_UINTS);
    expect_bits(&list, {{2, 1, 99}});
    T_ApiDeallocatePropVals(&list);
}
