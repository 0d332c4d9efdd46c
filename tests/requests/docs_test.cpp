// Document and book calls, and the scripted operations with their
// return-parameter lists: what travels, and the result when the host accepts,
// refuses or is gone.
#include <fstream>

#include <unistd.h>

#include "call_table.h"

namespace requests_test {

static std::string shown(T_CompareRetT r) { return tuple(r.firstId, r.secondId); }

namespace {

// Files in the temporary folder, removed with the test.
struct Files {
    std::string prefix = testing::TempDir() + "r3_" + std::to_string(getpid()) + "_";
    std::string doc = prefix + "doc.json", text = prefix + "import.txt";
    std::string saved = prefix + "saved.json", out = prefix + "out.txt", inset = prefix + "inset";
    Files() {
        std::ofstream(doc) << R"({"objects": [{"type": 4, "text": "Body"}]})";
        std::ofstream(text) << "xyz";
        std::ofstream(inset) << "inset text";
    }
    ~Files() {
        for (const std::string &f : {doc, text, saved, out, inset}) unlink(f.c_str());
    }
    // Document 1 (frame 2) and book 3, whose component 4 is the document file.
    json fixture() const {
        return {{"documents",
                 {{{"objects", {{{"type", 4}, {"text", "Hello"}}}}},
                  {{"book", true}, {"objects", {{{"type", 11}, {"name", doc}}}}}}}};
    }
};

// Ids follow the load order: document A 1 (frame 2, inset 3), document B 4
// (page 5, text 6), book 7 (component 8); the next new object is 9.
json docsFixture(const std::string &insetFile) {
    json a = json::parse(R"({"props": [{"num": 72, "textrange": {"begin": {"object": "frame", "offset": 0},
                                                                "end": {"object": "frame", "offset": 5}}}],
        "objects": [{"key": "frame", "type": 4, "text": "Hello world"}, {"key": "inset", "type": 4}]})");
    a["objects"][1]["props"] = {{{"num", 76}, {"string", insetFile}}};
    return {{"documents",
             {a, json::parse(R"({"objects": [{"type": 3, "props": [{"num": 200, "int": 5}]},
                                                          {"type": 4, "text": "Hello there"}]})"),
              json::parse(R"({"book": true, "objects": [{"type": 11, "name": "chapter1"}]})")}}};
}

TEST(DocumentCalls, EveryFunctionAcceptedRefusedAndLost) {
    Files f;
    char cmp[] = "Cmp", before[] = "<", after[] = ">";
    runCalls(
        {
            STATUS(T_ApiSilentPrintDoc, 1018, (1), xdr_ApiTnSilentPrintDocArgT, 1),
            GET(T_ApiCacheDocument, 1381, (1), "1u", "0u", xdr_ApiTnSilentPrintDocArgT, 1),
            GET(T_ApiCustomDoc, 1021, (612, 792, 3, 4, 5, 6, 7, 8, 9, 10), "9u", "0u", xdr_ApiTnCustomDocArgT, 612, 792,
                3, 4, 5, 6, 7, 8, 9, 10),
            STATUS(T_ApiSimpleImportFormats, 1025, (1, 4, 0), xdr_ApiTnSimpleImportFormatsArgT, 1, 4, 0),
            STATUS(T_ApiSimpleImportElementDefs, 1109, (1, 4, 1), xdr_ApiTnSimpleImportElementDefsArgT, 1, 4, 1),
            // The summary document is 10, its one difference 11.
            GET(T_ApiCompare, 1027, (1, 4, 0, cmp, before, after, 0), "(10,11)", "(0,0)", xdr_ApiTnCompareArgT, 1, 4, 0,
                cmp, before, after, 0),
            STATUS(T_ApiSimpleGenerate, 1026, (7, 1, 0), xdr_ApiTnSimpleGenerateArgT, 7, 1, 0),
            STATUS(T_ApiCopy, 1032, (1, 0), xdr_ApiTnCutCopyPasteArgT, 1, 0),
            STATUS(T_ApiPaste, 1033, (1, 2), xdr_ApiTnCutCopyPasteArgT, 1, 2),
            STATUS(T_ApiCut, 1030, (1, 3), xdr_ApiTnCutCopyPasteArgT, 1, 3),
            STATUS(T_ApiClear, 1031, (1, 4), xdr_ApiTnCutCopyPasteArgT, 1, 4),
            // The push reply is empty: a refusal cannot show in it.
            {"T_ApiPushClipboard", 1360, [] { return T_ApiPushClipboard(), std::string("done"); }, "", "done", "done",
             false, "done"},
            NOARG(T_ApiPopClipboard, 1361, "0", kRefused, true, "-1"),
            STATUS(T_ApiRestartPgfNumbering, 1040, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiRehyphenate, 1041, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiClearAllChangebars, 1042, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiResetEqnSettings, 1043, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiResetReferenceFrames, 1044, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiUpdateVariables, 1045, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiReformat, 1047, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiRedisplay, 1048, (1), xdr_ApiTnGeneralDocArgT, 1),
            STATUS(T_ApiUpdateXRefs, 1046, (1, 5), xdr_ApiTnUpdateXRefsArgT, 1, 5),
            STATUS(T_ApiUpdateTextInset, 1034, (1, 3), xdr_ApiTnUpdateTextInsetArgT, 1, 3),
            STATUS(T_ApiDeleteTextInsetContents, 1036, (1, 3), xdr_ApiTnDeleteTextInsetContentsArgT, 1, 3),
            STATUS(T_ApiApplyPageLayout, 1035, (1, 4, 5), xdr_ApiTnApplyPageLayoutArgT, 1, 4, 5),
            STATUS(T_ApiClose, 1022, (4, 1), xdr_ApiTnCloseDocArgT, 4, 1),
        },
        docsFixture(f.inset));
}

// The host's status bits, word 0 of entry 3 of the returned list.
constexpr int kDone = 0, kMissing = 1, kAlreadyOpen = 3;

std::string listShown(const T_PropValsT *list) {
    if (list == nullptr) return " list=none";
    const int i = T_ApiGetPropIndex(list, 3);
    if (i < 0 || list->items[i].value.u.ints.count == 0) return " bits=?";
    return " bits=" + std::to_string(list->items[i].value.u.ints.items[0]);
}

// A scripted call with a fresh null list variable `ret`: its result, then the list's bits.
// clang-format off
#define SCRIPTED(fn, proc, args, accepted, refused, lost, xdr, ...) \
    Call{#fn, proc, [&] { T_PropValsT *ret = nullptr; std::string r = shown(fn args); return r + listShown(ret); }, \
         sent(xdr, {__VA_ARGS__}), accepted, refused, true, lost}
// clang-format on

// One parameter, so that the list's encoding is pinned too.
T_PropValT param = {{7, nullptr}, {1, {0}}};
T_PropValsT params = {1, &param};

TEST(ScriptedCalls, EveryFunctionAcceptedRefusedAndLost) {
    Files f;
    T_TextLocT at = {2, 5};
    // Each call gets a fresh null variable: the library's record is refilled
    // every time without the caller's help.
    std::vector<Call> calls = {
        SCRIPTED(T_ApiOpen, 1019, (f.doc.data(), &params, &ret), "5u bits=1", "0u bits=1", "0u list=none",
                 xdr_ApiTnOpenArgT, f.doc.data(), params),
        // The name travels first, the document id second.
        SCRIPTED(T_ApiSave, 1020, (1, f.saved.data(), &params, &ret), "1u bits=1", "0u bits=1", "0u list=none",
                 xdr_ApiTnSaveArgT, f.saved.data(), 1, params),
        SCRIPTED(T_ApiImport, 1024, (1, &at, f.text.data(), &params, &ret), "2u bits=1", "0u bits=1", "0u list=none",
                 xdr_ApiTnImportArgT, f.text.data(), 1, at, params),
        SCRIPTED(T_ApiExport, 1037, (1, f.out.data(), &params, &ret), "0 bits=1", kRefused + " bits=1", "0 list=none",
                 xdr_ApiTnExportArgT, f.out.data(), 1, params),
        SCRIPTED(T_ApiUpdateBook, 1390, (3, &params, &ret), "0 bits=1", kRefused + " bits=1", "-1 list=none",
                 xdr_ApiTnUpdateBookArgT, 3, params),
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
