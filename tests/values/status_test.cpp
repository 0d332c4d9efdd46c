// Status bits of a return-parameter list.
#include <gtest/gtest.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace {

// A list whose entry `num` holds the given words as an integer list.
void add_status(T_PropValsT *list, int num, std::initializer_list<int> words, int kind = 13) {
    std::vector<int> w(words);
    T_TypedValT v{};
    v.kind = kind;
    v.u.ints = T_IntsT{static_cast<u_int>(w.size()), w.data()};
    T_ApiAppendVal(list, num, &v);
}

int check(const T_PropValsT *list, int bit, int *err) {
    TA_errno = 99;
    const int r = T_ApiCheckStatus(list, bit);
    *err = TA_errno;
    return r;
}

}  // namespace

TEST(Status, BitsOfTheStatusEntry) {
    T_PropValsT list{};
    add_status(&list, 1, {-1});  // all set: must not be consulted while 3 exists
    add_status(&list, 3, {5, static_cast<int>(0x80000001u)});
    int err = 0;
    EXPECT_EQ(check(&list, 0, &err), 1);
    EXPECT_EQ(err, 99);  // untouched on success
    EXPECT_EQ(check(&list, 2, &err), 1);
    EXPECT_EQ(check(&list, 1, &err), 0);
    EXPECT_EQ(check(&list, 31, &err), 0);
    EXPECT_EQ(check(&list, 32, &err), 1);
    EXPECT_EQ(check(&list, 63, &err), 1);
    EXPECT_EQ(err, 99);
    EXPECT_EQ(check(&list, 64, &err), 0);
    EXPECT_EQ(err, -4);
    EXPECT_EQ(check(&list, -1, &err), 0);
    EXPECT_EQ(err, -4);
    T_ApiDeallocatePropVals(&list);
}

TEST(Status, FallsBackToEntryOneAndReportsAbsence) {
    T_PropValsT list{};
    add_status(&list, 1, {5});
    int err = 0;
    EXPECT_EQ(check(&list, 2, &err), 1);
    EXPECT_EQ(check(&list, 32, &err), 0);
    EXPECT_EQ(err, -4);
    T_ApiDeallocatePropVals(&list);

    T_ApiAppendIntProp(&list, 2, 1);
    EXPECT_EQ(check(&list, 0, &err), 0);
    EXPECT_EQ(err, -5);
    T_ApiDeallocatePropVals(&list);
    EXPECT_EQ(check(&list, 0, &err), 0);
    EXPECT_EQ(err, -5);
    EXPECT_EQ(check(nullptr, 0, &err), 0);
    EXPECT_EQ(err, -5);
}

TEST(Status, EntryThatIsNoWordListHoldsNoBits) {
    // An integer value's union is no list: reading it as one would follow a
    // pointer made of the value.
    T_PropValsT list{};
    T_ApiAppendIntProp(&list, 3, 7);
    int err = 0;
    EXPECT_EQ(check(&list, 0, &err), 0);
    EXPECT_EQ(err, -4);
    T_ApiDeallocatePropVals(&list);
    add_status(&list, 3, {4}, 15);  // unsigned words read the same way
    EXPECT_EQ(check(&list, 2, &err), 1);
    T_ApiDeallocatePropVals(&list);
    // The default open script's entry 3 is an integer.
    T_PropValsT script = T_ApiGetOpenDefaultParams();
    EXPECT_EQ(check(&script, 0, &err), 0);
    EXPECT_EQ(err, -4);
    T_ApiDeallocatePropVals(&script);
}
