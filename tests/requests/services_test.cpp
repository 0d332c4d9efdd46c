// Host services. A sleep reports failure only by handing back its argument.
#include "call_table.h"

namespace requests_test {
namespace {

TEST(ServiceCalls, EveryFunction) {
    runCalls(
        {
            {"T_ApiUserCancel", 1372, [] { return shown(T_ApiUserCancel()); }, "", "1", shown(kRefusal), false, "-1"},
            // The reply is empty: a refusal cannot reach it.
            {"T_ApiSleep", 1370, [] { return shown(T_ApiSleep(5)); }, sent(xdr_int, 5), "0", "0", false, "5"},
            {"T_ApiUSleep", 1371, [] { return shown(T_ApiUSleep(300)); }, sent(xdr_int, 300), "0", "0", false, "300"},
            {"T_ApiSystemShell", 1373, [] { return shown(T_ApiSystemShell(S("ls -l"))); },
             sent(xdr_StringT, S("ls -l")), "0", shown(kRefusal), false, "-1"},
            {"T_ApiForkAndExec", 1374,
             [] {
                 static StringT argv[] = {S("-n"), S("hello")};
                 T_StringsT args = {2, argv};
                 return shown(T_ApiForkAndExec(S("/bin/echo"), &args));
             },
             [] {
                 static StringT argv[] = {S("-n"), S("hello")};
                 return sent(xdr_ApiTnForkAndExecArgT, {S("/bin/echo"), {2, argv}});
             }(),
             "0", shown(kRefusal), false, "-1"},
        },
        {{"answers", {{"1372", {{"value", 1}}}}}});
}

}  // namespace
}  // namespace requests_test
