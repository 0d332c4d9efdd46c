// Document and book calls (all but the scripted operations): what travels,
// and the result when the host accepts, refuses or is gone.
#include <fstream>

#include <unistd.h>

#include "call_table.h"

namespace requests_test {

static std::string shown(T_CompareRetT r) { return tuple(r.firstId, r.secondId); }

namespace {

// Ids follow the load order: document A 1 (frame 2, inset 3), document B 4
// (page 5, text 6), book 7 (component 8); the next new object is 9.
json docsFixture(const std::string &insetFile) {
    json a = {{"props",
               {{{"num", 72},
                 {"textrange",
                  {{"begin", {{"object", "frame"}, {"offset", 0}}}, {"end", {{"object", "frame"}, {"offset", 5}}}}}}}},
              {"objects",
               {{{"key", "frame"}, {"type", 4}, {"text", "Hello world"}},
                {{"key", "inset"}, {"type", 4}, {"props", {{{"num", 76}, {"string", insetFile}}}}}}}};
    json b = {
        {"objects", {{{"type", 3}, {"props", {{{"num", 200}, {"int", 5}}}}}, {{"type", 4}, {"text", "Hello there"}}}}};
    json book = {{"book", true}, {"objects", {{{"type", 11}, {"name", "chapter1"}}}}};
    return {{"documents", {a, b, book}}};
}

TEST(DocumentCalls, EveryFunctionAcceptedRefusedAndLost) {
    const std::string insetFile = testing::TempDir() + "r3_inset_" + std::to_string(getpid());
    std::ofstream(insetFile) << "inset text";
    char cmp[] = "Cmp", before[] = "<", after[] = ">";
    auto docOp = [&](const char *name, int proc, int (*fn)(unsigned int)) {
        return status(
            name, proc, [fn] { return fn(1); }, sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{1}));
    };
    std::vector<Call> calls = {
        STATUS(T_ApiSilentPrintDoc, 1018, (1), xdr_ApiTnSilentPrintDocArgT, 1),
        {"CacheDocument", 1381, [] { return shown(T_ApiCacheDocument(1)); },
         sent(xdr_ApiTnSilentPrintDocArgT, ApiTnSilentPrintDocArgT{1}), "1u", "0u", true, "0u"},
        {"CustomDoc", 1021, [] { return shown(T_ApiCustomDoc(612, 792, 3, 4, 5, 6, 7, 8, 9, 10)); },
         sent(xdr_ApiTnCustomDocArgT, ApiTnCustomDocArgT{612, 792, 3, 4, 5, 6, 7, 8, 9, 10}), "9u", "0u", true, "0u"},
        STATUS(T_ApiSimpleImportFormats, 1025, (1, 4, 0), xdr_ApiTnSimpleImportFormatsArgT, 1, 4, 0),
        STATUS(T_ApiSimpleImportElementDefs, 1109, (1, 4, 1), xdr_ApiTnSimpleImportElementDefsArgT, 1, 4, 1),
        // The summary document is 10, its one difference 11.
        {"Compare", 1027, [&] { return shown(T_ApiCompare(1, 4, 0, cmp, before, after, 0)); },
         sent(xdr_ApiTnCompareArgT, ApiTnCompareArgT{1, 4, 0, cmp, before, after, 0}), "(10,11)", "(0,0)", true,
         "(0,0)"},
        STATUS(T_ApiSimpleGenerate, 1026, (7, 1, 0), xdr_ApiTnSimpleGenerateArgT, 7, 1, 0),
        STATUS(T_ApiCopy, 1032, (1, 0), xdr_ApiTnCutCopyPasteArgT, 1, 0),
        STATUS(T_ApiPaste, 1033, (1, 2), xdr_ApiTnCutCopyPasteArgT, 1, 2),
        STATUS(T_ApiCut, 1030, (1, 3), xdr_ApiTnCutCopyPasteArgT, 1, 3),
        STATUS(T_ApiClear, 1031, (1, 4), xdr_ApiTnCutCopyPasteArgT, 1, 4),
        // The push reply is empty: a refusal cannot show in it.
        {"PushClipboard", 1360,
         [] {
             T_ApiPushClipboard();
             return std::string("done");
         },
         "", "done", "done", false, "done"},
        {"PopClipboard", 1361, [] { return shown(T_ApiPopClipboard()); }, "", "0", kRefused, true, "-1"},
        docOp("RestartPgfNumbering", 1040, T_ApiRestartPgfNumbering),
        docOp("Rehyphenate", 1041, T_ApiRehyphenate),
        docOp("ClearAllChangebars", 1042, T_ApiClearAllChangebars),
        docOp("ResetEqnSettings", 1043, T_ApiResetEqnSettings),
        docOp("ResetReferenceFrames", 1044, T_ApiResetReferenceFrames),
        docOp("UpdateVariables", 1045, T_ApiUpdateVariables),
        docOp("Reformat", 1047, T_ApiReformat),
        docOp("Redisplay", 1048, T_ApiRedisplay),
        STATUS(T_ApiUpdateXRefs, 1046, (1, 5), xdr_ApiTnUpdateXRefsArgT, 1, 5),
        STATUS(T_ApiUpdateTextInset, 1034, (1, 3), xdr_ApiTnUpdateTextInsetArgT, 1, 3),
        STATUS(T_ApiDeleteTextInsetContents, 1036, (1, 3), xdr_ApiTnDeleteTextInsetContentsArgT, 1, 3),
        STATUS(T_ApiApplyPageLayout, 1035, (1, 4, 5), xdr_ApiTnApplyPageLayoutArgT, 1, 4, 5),
        STATUS(T_ApiClose, 1022, (4, 1), xdr_ApiTnCloseDocArgT, 4, 1),
    };
    runCalls(calls, docsFixture(insetFile));
    unlink(insetFile.c_str());
}

}  // namespace
}  // namespace requests_test
