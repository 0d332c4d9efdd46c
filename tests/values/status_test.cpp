// Status bits of a return-parameter list.
#include <vector>

#include <gtest/gtest.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace {

void add_words(T_PropValsT *list, int num, std::vector<int> words, int kind = 13) {
    T_TypedValT v{};
    v.kind = kind;
    v.u.ints = T_IntsT{static_cast<u_int>(words.size()), words.data()};
    T_ApiAppendVal(list, num, &v);
}

// The answer and TA_errno after the call (99 when left alone).
std::pair<int, int> check(const T_PropValsT *list, int bit) {
    TA_errno = 99;
    const int r = T_ApiCheckStatus(list, bit);
    return {r, TA_errno};
}

using R = std::pair<int, int>;

}  // namespace

TEST(Status, BitsOfTheStatusEntry) {
    T_PropValsT list{};
    add_words(&list, 1, {-1});  // all set, but entry 3 comes first
    add_words(&list, 3, {5, static_cast<int>(0x80000001u)});
    EXPECT_EQ(check(&list, 0), R(1, 99));
    EXPECT_EQ(check(&list, 2), R(1, 99));
    EXPECT_EQ(check(&list, 1), R(0, 99));
    EXPECT_EQ(check(&list, 31), R(0, 99));
    EXPECT_EQ(check(&list, 32), R(1, 99));
    EXPECT_EQ(check(&list, 63), R(1, 99));
    EXPECT_EQ(check(&list, 64), R(0, -4));
    EXPECT_EQ(check(&list, -1), R(0, -4));
    T_ApiDeallocatePropVals(&list);

    add_words(&list, 1, {5});
    EXPECT_EQ(check(&list, 2), R(1, 99));
    EXPECT_EQ(check(&list, 32), R(0, -4));
    T_ApiDeallocatePropVals(&list);
    T_ApiAppendIntProp(&list, 2, 1);
    EXPECT_EQ(check(&list, 0), R(0, -5));
    T_ApiDeallocatePropVals(&list);
    EXPECT_EQ(check(&list, 0), R(0, -5));
    EXPECT_EQ(check(nullptr, 0), R(0, -5));
}

TEST(Status, EntryThatIsNoWordListHoldsNoBits) {
    // An integer's union is no list: read as one, its value would be a count
    // and the next word a pointer.
    T_PropValsT list{};
    T_ApiAppendIntProp(&list, 3, 7);
    EXPECT_EQ(check(&list, 0), R(0, -4));
    T_ApiDeallocatePropVals(&list);
    add_words(&list, 3, {4}, 15);  // unsigned words read the same way
    EXPECT_EQ(check(&list, 2), R(1, 99));
    T_ApiDeallocatePropVals(&list);
}
