// Alerts, prompts, choosers, the scroll box, quick selection and dialog
// resources. Answer results must leave the caller's variable and TA_errno
// alone when the user cancels; every row shows the variable after the call.
#include "call_table.h"

namespace requests_test {
namespace {

// A string variable's value before the call: a refusal must leave it.
char kKept[] = "kept";
// The variable after the call (its answer is released once shown).
std::string out(int v) { return std::to_string(v); }
std::string out(StringT s) { return s == kKept ? "kept" : shown(s); }

// An answer function called with its variable `o` preset, then the result
// and the variable; on a refusal or no reply, -1 and the variable as it was.
// clang-format off
#define ANSWER(fn, proc, preset, args, accepted, xdr, ...) \
    Call{#fn, proc, [&] { auto o = preset; const int r = fn args; return shown(r) + " out=" + out(o); }, \
         sent(xdr, {__VA_ARGS__}), accepted, "-1 out=" + out(preset), false, "-1 out=" + out(preset)}
// clang-format on

// What the simulated user answers when the host does not refuse.
const json kAnswers = json::parse(R"({"answers": {"1008": {"value": 2}, "1009": {"value": 42}, "1010": {"text": "yes"},
    "1011": {"value": 98304}, "1012": {"text": "/tmp/old.doc"}, "1013": {"value": 1}, "1017": {"value": 2},
    "1028": {"text": "/tmp/new.doc"}, "1304": {"x": 3, "y": 4},
    "1305": {"x": 1, "y": 2, "width": 30, "height": 40}}})");

constexpr unsigned int kFind = 0x48000001, kFindItem = 0x48000002;

TEST(PromptAndDialogCalls, EveryFunction) {
    StringT names[] = {S("alpha"), S("beta"), S("gamma")};
    T_StringsT list = {3, names};
    const std::string oldChooser = sent(xdr_oldApiTnChooseFileArgT, {S("Open"), S("/tmp"), nullptr, 0});
    runCalls(
        {
            ROW(T_ApiAlert, 1008, (S("Careful"), 2), "2", kRefused, false, "-1", xdr_ApiTnAlertArgT, S("Careful"), 2),
            ANSWER(T_ApiPromptInt, 1009, 111, (&o, S("How many?"), S("7")), "0 out=42", xdr_ApiTnPromptArgT,
                   S("How many?"), S("7")),
            ANSWER(T_ApiPromptMetric, 1011, T_MetricT{111}, (&o, S("Width?"), S("1.5"), 3), "0 out=98304",
                   xdr_ApiTnPromptMetricArgT, S("Width?"), S("1.5"), 3),
            ANSWER(T_ApiPromptString, 1010, StringT{kKept}, (&o, S("Name?"), S("none")), "0 out=\"yes\"",
                   xdr_ApiTnPromptArgT, S("Name?"), S("none")),
            GET(T_ApiPromptPoint, 1304, (7, 9, 1), "(3,4)", "(0,0)", xdr_ApiTnPromptPointArgT, 7, 9, 1),
            GET(T_ApiPromptRect, 1305, (7, 9, 0), "(1,2,30,40)", "(0,0,0,0)", xdr_ApiTnPromptRectArgT, 7, 9, 0),
            ANSWER(oldT_ApiChooseFile, 1012, StringT{kKept}, (&o, S("Open"), S("/tmp"), nullptr, 0),
                   "0 out=\"/tmp/old.doc\"", xdr_oldApiTnChooseFileArgT, S("Open"), S("/tmp"), nullptr, 0),
            // Exactly what the older chooser sends with no third string and mode 0.
            ANSWER(T_ApiFileScrollBox, 1012, StringT{kKept}, (&o, S("Open"), S("/tmp")), "0 out=\"/tmp/old.doc\"",
                   xdr_oldApiTnChooseFileArgT, S("Open"), S("/tmp"), nullptr, 0),
            ANSWER(T_ApiChooseFile, 1028, StringT{kKept}, (&o, S("Save"), S("/tmp"), S("new.doc"), 1, S("*.doc")),
                   "0 out=\"/tmp/new.doc\"", xdr_ApiTnChooseFileArgT, S("Save"), S("/tmp"), S("new.doc"), 1,
                   S("*.doc")),
            // The default item travels before the list.
            ANSWER(T_ApiScrollBox, 1013, 111, (&o, S("Pick"), &list, 3), "0 out=1", xdr_ApiTnScrollBoxArgT, S("Pick"),
                   3, list),
            ROW(T_ApiQuickSelect, 1017, (5, S("Which?"), &list), "2", "-1", true, "-1", xdr_ApiTnQuickSelectArgT, 5,
                S("Which?"), list),
            // Dialog resources and their items are numbered from 0x48000001.
            GET(T_ApiOpenResource, 1315, (2, S("Find")), shown(kFind), shown(0u), xdr_ApiTnOpenResourceArgT, 2,
                S("Find")),
            // Number 0: the host's answer at once, not a status.
            {"T_ApiModalDialog(0)", 1316, [] { return shown(T_ApiModalDialog(0, kFind)); },
             sent(xdr_ApiTnDoDialogArgT, {0, kFind}), "0", kRefused, false, "0"},
            // Any other number waits for the dialog's end: shown end to end
            // with a real client.
            {"T_ApiModalDialog(3)", 1316, [] { return shown(T_ApiModalDialog(3, kFind)); },
             sent(xdr_ApiTnDoDialogArgT, {3, kFind}), "", "", false, "0"},
            ROW(T_ApiModelessDialog, 1317, (1, kFind), "0", kRefused, false, "0", xdr_ApiTnDoDialogArgT, 1, kFind),
            GET(T_ApiDialogItemId, 1318, (kFind, 4), shown(kFindItem), shown(0u), xdr_ApiTnDialogItemIdArgT, kFind, 4),
            ROW(T_ApiUserInteractSelection, 1414, (1), "0", kRefused, true, "-1", xdr_ApiTnUserInteractSelectionArgT,
                1),
        },
        kAnswers);
}

}  // namespace
}  // namespace requests_test
