// Filter arguments of notification 75, and their delivery to the client.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <tarnel/tde_memory.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"

namespace {

const std::string kSep(1, static_cast<char>(TDE_FILTER_ARG_SEPARATOR));

std::string join(int pieces) {
    std::string text;
    for (int i = 0; i < pieces; ++i) text += (i ? kSep : "") + "p" + std::to_string(i);
    return text;
}

// Slot k of the record (0 to 5: arg1..arg6, then extra).
const char *piece(const TdeApiFilterArgsT *a, u_int k) {
    const StringT slots[] = {a->arg1, a->arg2, a->arg3, a->arg4, a->arg5, a->arg6};
    return k < 6 ? slots[k] : (k - 6 < a->extra.count ? a->extra.items[k - 6] : nullptr);
}

void release(TdeApiFilterArgsT *a) {
    TdeApiDeallocateFilterArgs(a);
    T_Free(a);
}

struct Delivery {
    int notification = 0;
    unsigned objId = 0;
    int number = 0;
    std::vector<std::string> pieces;
    int calls = 0;
};
Delivery g_delivery;

}  // namespace

// The client's notification callback, as a filter client would write it.
extern "C" void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    auto *args = reinterpret_cast<TdeApiFilterArgsT *>(text);
    g_delivery = Delivery{notification, objId, number, {}, g_delivery.calls + 1};
    for (u_int k = 0; k < 6 + args->extra.count; ++k) {
        const char *p = piece(args, k);
        g_delivery.pieces.push_back(p ? p : "<null>");
    }
}

TEST(FilterArgs, SplitsIntoSlotsThenExtra) {
    TdeApiFilterArgsT *two = TdeApiExpandFilterArgs(("a" + kSep + "b").c_str());
    EXPECT_STREQ(two->arg1, "a");
    EXPECT_STREQ(two->arg2, "b");
    EXPECT_EQ(two->arg3, nullptr);
    EXPECT_EQ(two->arg6, nullptr);
    EXPECT_EQ(two->extra.count, 0u);
    EXPECT_EQ(two->extra.items, nullptr);
    release(two);

    TdeApiFilterArgsT *empty = TdeApiExpandFilterArgs("");
    ASSERT_NE(empty->arg1, nullptr);
    EXPECT_STREQ(empty->arg1, "");
    EXPECT_EQ(empty->arg2, nullptr);
    release(empty);

    // Empty pieces between, before and after separators are empty strings.
    TdeApiFilterArgsT *gaps = TdeApiExpandFilterArgs((kSep + "x" + kSep + kSep).c_str());
    EXPECT_STREQ(gaps->arg1, "");
    EXPECT_STREQ(gaps->arg2, "x");
    EXPECT_STREQ(gaps->arg3, "");
    EXPECT_STREQ(gaps->arg4, "");
    EXPECT_EQ(gaps->arg5, nullptr);
    release(gaps);
}

TEST(FilterArgs, ManyPiecesKeepTheirOrder) {
    TdeApiFilterArgsT *ten = TdeApiExpandFilterArgs(join(10).c_str());
    EXPECT_EQ(ten->extra.count, 4u);
    EXPECT_STREQ(ten->arg6, "p5");
    EXPECT_STREQ(ten->extra.items[3], "p9");
    release(ten);

    TdeApiFilterArgsT *forty = TdeApiExpandFilterArgs(join(40).c_str());
    ASSERT_EQ(forty->extra.count, 34u);
    for (u_int k = 0; k < 40; ++k) EXPECT_EQ(piece(forty, k), "p" + std::to_string(k));
    TdeApiDeallocateFilterArgs(forty);
    EXPECT_EQ(forty->arg1, nullptr);
    EXPECT_EQ(forty->extra.count, 0u);
    EXPECT_EQ(forty->extra.items, nullptr);
    TdeApiDeallocateFilterArgs(forty);  // twice: harmless
    T_Free(forty);
    TdeApiDeallocateFilterArgs(nullptr);
}

TEST(FilterArgs, ExtraGrowsBySixteen) {
    T_StringsT list{};
    const unsigned before = alloc_fault::counters().calls;
    for (int i = 0; i < 34; ++i) ASSERT_EQ(addfstr(&list, T_ApiCopyString("s")), 0);
    // 34 strings plus arrays of 16, 32 and 48 entries.
    EXPECT_EQ(alloc_fault::counters().calls - before, 37u);
    T_ApiDeallocateStrings(&list);
}

TEST(FilterArgs, ExhaustedMemory) {
    {
        alloc_fault::Scope fail(0);
        EXPECT_EQ(TdeApiExpandFilterArgs("a"), nullptr);
    }
    {
        // The second piece cannot be copied: it is missing, and later pieces
        // stay in their own places.
        alloc_fault::Scope fail(2);
        TdeApiFilterArgsT *a = TdeApiExpandFilterArgs(join(3).c_str());
        EXPECT_STREQ(a->arg1, "p0");
        EXPECT_EQ(a->arg2, nullptr);
        EXPECT_STREQ(a->arg3, "p2");
        release(a);
    }
    {
        // Record, six slots, the seventh piece, then its array fails: the
        // piece is released and the list ends there.
        alloc_fault::Scope fail(8);
        TdeApiFilterArgsT *a = TdeApiExpandFilterArgs(join(9).c_str());
        EXPECT_STREQ(a->arg6, "p5");
        EXPECT_EQ(a->extra.count, 0u);
        release(a);
    }
    {
        T_StringsT list{};
        alloc_fault::Scope fail(0);
        EXPECT_EQ(addfstr(&list, nullptr), -1);
        EXPECT_EQ(list.count, 0u);
    }
    const std::string text = join(40);
    alloc_fault::each_failure_point([&] { release(TdeApiExpandFilterArgs(text.c_str())); });
}

TEST(FilterArgs, NotificationGetsTheSplitRecord) {
    translateFileToFile(44, const_cast<char *>(("in.txt" + kSep + "out.doc").c_str()), 3);
    EXPECT_EQ(g_delivery.notification, 75);
    EXPECT_EQ(g_delivery.objId, 44u);
    EXPECT_EQ(g_delivery.number, 3);
    const std::vector<std::string> expected = {"in.txt", "out.doc", "<null>", "<null>", "<null>", "<null>"};
    EXPECT_EQ(g_delivery.pieces, expected);

    // Without memory for the record the notification still arrives, empty.
    const int calls = g_delivery.calls;
    {
        alloc_fault::Scope fail(0);
        translateFileToFile(45, const_cast<char *>("a"), 0);
    }
    EXPECT_EQ(g_delivery.calls, calls + 1);
    EXPECT_EQ(g_delivery.objId, 45u);
    EXPECT_EQ(g_delivery.pieces[0], "<null>");
}
