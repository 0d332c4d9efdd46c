// The scripted document operations and their return-parameter lists.
#include <fstream>

#include <unistd.h>

#include "call_table.h"

namespace requests_test {
namespace {

// The host's status bits, word 0 of entry 3 of the returned list.
constexpr int kDone = 0, kMissing = 1, kAlreadyOpen = 3;

std::string listShown(const T_PropValsT *list) {
    if (list == nullptr) return " list=none";
    const int i = T_ApiGetPropIndex(list, 3);
    if (i < 0 || list->items[i].value.u.ints.count == 0) return " bits=?";
    return " bits=" + std::to_string(list->items[i].value.u.ints.items[0]);
}

// Runs a scripted call with a fresh null list variable: its result, then the list's bits.
template <typename F> std::function<std::string()> scripted(F call) {
    return [call] {
        T_PropValsT *ret = nullptr;
        const std::string result = shown(call(&ret));
        return result + listShown(ret);
    };
}

// Files in the temporary folder, removed with the test.
struct Files {
    std::string prefix = testing::TempDir() + "r3_" + std::to_string(getpid()) + "_";
    std::string doc = prefix + "doc.json", text = prefix + "import.txt";
    std::string saved = prefix + "saved.json", out = prefix + "out.txt";
    Files() {
        std::ofstream(doc) << R"({"objects": [{"type": 4, "text": "Body"}]})";
        std::ofstream(text) << "xyz";
    }
    ~Files() {
        for (const std::string &f : {doc, text, saved, out}) unlink(f.c_str());
    }
    // Document 1 (frame 2) and book 3, whose component 4 is the document file.
    json fixture() const {
        return {{"documents",
                 {{{"objects", {{{"type", 4}, {"text", "Hello"}}}}},
                  {{"book", true}, {"objects", {{{"type", 11}, {"name", doc}}}}}}}};
    }
};

// One parameter, so that the list's encoding is pinned too.
T_PropValT param = {{7, nullptr}, {1, {0}}};
T_PropValsT params = {1, &param};

TEST(ScriptedCalls, EveryFunctionAcceptedRefusedAndLost) {
    Files f;
    T_TextLocT at = {2, 5};
    // Each call gets a fresh null variable: the library's record is refilled
    // every time without the caller's help.
    std::vector<Call> calls = {
        {"Open", 1019, scripted([&](auto ret) { return T_ApiOpen(f.doc.data(), &params, ret); }),
         sent(xdr_ApiTnOpenArgT, ApiTnOpenArgT{f.doc.data(), params}), "5u bits=1", "0u bits=1", true, "0u list=none"},
        // The name travels first, the document id second.
        {"Save", 1020, scripted([&](auto ret) { return T_ApiSave(1, f.saved.data(), &params, ret); }),
         sent(xdr_ApiTnSaveArgT, ApiTnSaveArgT{f.saved.data(), 1, params}), "1u bits=1", "0u bits=1", true,
         "0u list=none"},
        {"Import", 1024, scripted([&](auto ret) { return T_ApiImport(1, &at, f.text.data(), &params, ret); }),
         sent(xdr_ApiTnImportArgT, ApiTnImportArgT{f.text.data(), 1, at, params}), "2u bits=1", "0u bits=1", true,
         "0u list=none"},
        {"Export", 1037, scripted([&](auto ret) { return T_ApiExport(1, f.out.data(), &params, ret); }),
         sent(xdr_ApiTnExportArgT, ApiTnExportArgT{f.out.data(), 1, params}), "0 bits=1", kRefused + " bits=1", true,
         "0 list=none"},
        {"UpdateBook", 1390, scripted([&](auto ret) { return T_ApiUpdateBook(3, &params, ret); }),
         sent(xdr_ApiTnUpdateBookArgT, ApiTnUpdateBookArgT{3, params}), "0 bits=1", kRefused + " bits=1", true,
         "-1 list=none"},
    };
    runCalls(calls, f.fixture());
}

TEST(ScriptedCalls, ReturnListIsTheLibrarysOneRecordPerFunction) {
    Files f;
    ServedHost host(json::array(), f.fixture());
    ASSERT_TRUE(host.ready()) << host.text();
    T_PropValsT none = {0, nullptr};

    // The same variable: the record is refilled in place.
    T_PropValsT *p = nullptr;
    const unsigned int id = T_ApiOpen(f.doc.data(), &none, &p);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(T_ApiCheckStatus(p, kDone), 1);
    EXPECT_EQ(T_ApiCheckStatus(p, kAlreadyOpen), 0);
    T_PropValsT *const record = p;
    EXPECT_EQ(T_ApiOpen(f.doc.data(), &none, &p), id);
    EXPECT_EQ(p, record);
    EXPECT_EQ(T_ApiCheckStatus(p, kAlreadyOpen), 1);

    // Another variable holding null: the old contents must not leak (the
    // sanitizer build checks), and both variables see the new list.
    T_PropValsT *q = nullptr;
    EXPECT_EQ(T_ApiOpen(f.doc.data(), &none, &q), id);
    EXPECT_EQ(q, record);

    // A caller's own list in the variable is released before it is replaced.
    T_PropValsT mine = T_ApiGetOpenDefaultParams();
    ASSERT_GT(mine.count, 0u);
    T_PropValsT *r = &mine;
    EXPECT_EQ(T_ApiOpen(f.doc.data(), &none, &r), id);
    EXPECT_EQ(r, record);
    EXPECT_EQ(mine.count, 0u);
    EXPECT_EQ(mine.items, nullptr);

    // Contents the caller released already are not released twice.
    T_ApiDeallocatePropVals(p);
    EXPECT_EQ(T_ApiOpen(f.doc.data(), &none, &p), id);
    EXPECT_EQ(T_ApiCheckStatus(p, kDone), 1);

    // Other functions keep records of their own.
    T_PropValsT *s = nullptr;
    EXPECT_EQ(T_ApiSave(id, f.saved.data(), &none, &s), id);
    EXPECT_NE(s, record);
    EXPECT_EQ(T_ApiCheckStatus(p, kAlreadyOpen), 1);

    // Refused by the host (no such file): 0, its status, and its list.
    TA_errno = 0;
    EXPECT_EQ(T_ApiOpen(f.prefix.data(), &none, &p), 0u);
    EXPECT_EQ(TA_errno, -10);
    EXPECT_EQ(T_ApiCheckStatus(p, kMissing), 1);
    EXPECT_EQ(T_ApiCheckStatus(p, kDone), 0);

    // No reply: the variable and the list it points to stay as they were.
    host.vanish();
    T_PropValsT *before = p;
    EXPECT_EQ(T_ApiOpen(f.doc.data(), &none, &p), 0u);
    EXPECT_EQ(TA_errno, -1);
    EXPECT_EQ(p, before);
    EXPECT_EQ(T_ApiCheckStatus(p, kMissing), 1);
    T_PropValsT *unset = nullptr;
    EXPECT_EQ(T_ApiUpdateBook(3, &none, &unset), -1);
    EXPECT_EQ(unset, nullptr);
}

}  // namespace
}  // namespace requests_test
