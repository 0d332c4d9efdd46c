// Filter arguments of notification 75, and their delivery to the client.
#include <chrono>
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

// Every piece of the record in order, slots first; "-" for a null slot.
std::vector<std::string> pieces(const TdeApiFilterArgsT *a) {
    std::vector<std::string> out;
    for (StringT s : {a->arg1, a->arg2, a->arg3, a->arg4, a->arg5, a->arg6}) out.push_back(s ? s : "-");
    for (u_int i = 0; i < a->extra.count; ++i) out.push_back(a->extra.items[i] ? a->extra.items[i] : "-");
    return out;
}

// The record itself goes back through T_Free, which the block count of
// alloc_fault does not see.
void release(TdeApiFilterArgsT *a) {
    TdeApiDeallocateFilterArgs(a);
    if (a != nullptr) --alloc_fault::counters().live;
    T_Free(a);
}

std::vector<std::string> split(const std::string &text) {
    TdeApiFilterArgsT *a = TdeApiExpandFilterArgs(text.c_str());
    std::vector<std::string> out = pieces(a);
    release(a);
    return out;
}

struct Delivery {
    int notification;
    unsigned objId;
    int number;
    std::vector<std::string> pieces;
};
std::vector<Delivery> g_deliveries;

}  // namespace

// The client's notification callback, as a filter client writes it.
extern "C" void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    g_deliveries.push_back({notification, objId, number, pieces(reinterpret_cast<TdeApiFilterArgsT *>(text))});
}

TEST(FilterArgs, SplitsIntoSlotsThenExtra) {
    using V = std::vector<std::string>;
    EXPECT_EQ(split("a" + kSep + "b"), (V{"a", "b", "-", "-", "-", "-"}));
    EXPECT_EQ(split(""), (V{"", "-", "-", "-", "-", "-"}));
    EXPECT_EQ(split(kSep + "x" + kSep + kSep), (V{"", "x", "", "", "-", "-"}));
    const V ten = split(join(10));
    EXPECT_TRUE(ten.size() == 10u && ten[5] + ten[9] == "p5p9");

    const unsigned before = alloc_fault::counters().calls;
    TdeApiFilterArgsT *forty = TdeApiExpandFilterArgs(join(40).c_str());
    // The record, one extra array sized at once (48 entries), 40 pieces.
    EXPECT_EQ(alloc_fault::counters().calls - before, 42u);
    ASSERT_EQ(forty->extra.count, 34u);
    for (u_int k = 0; k < 34; ++k) EXPECT_EQ(forty->extra.items[k], "p" + std::to_string(k + 6));
    TdeApiDeallocateFilterArgs(forty);
    EXPECT_TRUE(forty->arg1 == nullptr && forty->extra.count == 0 && forty->extra.items == nullptr);
    TdeApiDeallocateFilterArgs(forty);  // twice: harmless
    TdeApiDeallocateFilterArgs(nullptr);
    T_Free(forty);
}

TEST(FilterArgs, ExhaustedMemory) {
    using V = std::vector<std::string>;
    {
        alloc_fault::Scope fail(0);
        EXPECT_EQ(TdeApiExpandFilterArgs("a"), nullptr);
    }
    {
        // A piece that cannot be copied is missing; later pieces keep their places.
        alloc_fault::Scope fail(2);
        EXPECT_EQ(split(join(3)), (V{"p0", "-", "p2", "-", "-", "-"}));
    }
    {
        // Without memory to size the extra list at once, it grows as it goes.
        alloc_fault::Scope fail(1);
        EXPECT_EQ(split(join(9)), (V{"p0", "p1", "p2", "p3", "p4", "p5", "p6", "p7", "p8"}));
    }
    {
        // A list that cannot grow takes no piece, and releases it.
        T_StringsT list{};
        alloc_fault::Scope fail(1);
        EXPECT_EQ(addfstr(&list, T_ApiCopyString(const_cast<char *>("x"))), -1);
        EXPECT_EQ(list.count, 0u);
    }
    const std::string text = join(40);
    alloc_fault::each_failure_point([&] { release(TdeApiExpandFilterArgs(text.c_str())); });
}

TEST(FilterArgs, NotificationGetsTheSplitRecord) {
    g_deliveries.clear();
    translateFileToFile(44, const_cast<char *>(("in.txt" + kSep + "out.doc").c_str()), 3);
    {
        // Without memory for the record the notification still arrives, empty.
        alloc_fault::Scope fail(0);
        translateFileToFile(45, const_cast<char *>("a"), 0);
    }
    ASSERT_EQ(g_deliveries.size(), 2u);
    const Delivery &d = g_deliveries[0];
    EXPECT_TRUE(d.notification == 75 && d.objId == 44 && d.number == 3);
    EXPECT_EQ(d.pieces, (std::vector<std::string>{"in.txt", "out.doc", "-", "-", "-", "-"}));
    EXPECT_TRUE(g_deliveries[1].objId == 45u && g_deliveries[1].pieces[0] == "-");
}

TEST(FilterArgs, HostileLengthSplitsInLinearTime) {
    // 2^18 pieces once kept a client busy for tens of seconds (quadratic
    // growth); linear work takes milliseconds, so the bound is generous.
    const std::string text(262143, kSep[0]);
    const auto start = std::chrono::steady_clock::now();
    TdeApiFilterArgsT *a = TdeApiExpandFilterArgs(text.c_str());
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->extra.count, 262144u - 6);
    TdeApiDeallocateFilterArgs(a);
    T_Free(a);
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}
