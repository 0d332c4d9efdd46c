// Host services. A sleep reports failure only by handing back its argument.
#include "call_table.h"

namespace requests_test {
namespace {

TEST(ServiceCalls, EveryFunction) {
    StringT argv[] = {S("-n"), S("hello")};
    T_StringsT args = {2, argv};
    runCalls(
        {
            NOARG(T_ApiUserCancel, 1372, "1", kRefused, false, "-1"),
            // The reply is empty: a refusal cannot reach it.
            ROW(T_ApiSleep, 1370, (5), "0", "0", false, "5", xdr_int, 5),
            ROW(T_ApiUSleep, 1371, (300), "0", "0", false, "300", xdr_int, 300),
            ROW(T_ApiSystemShell, 1373, (S("ls -l")), "0", kRefused, false, "-1", xdr_StringT, S("ls -l")),
            ROW(T_ApiForkAndExec, 1374, (S("/bin/echo"), &args), "0", kRefused, false, "-1", xdr_ApiTnForkAndExecArgT,
                S("/bin/echo"), args),
        },
        {{"answers", {{"1372", {{"value", 1}}}}}});
}

}  // namespace
}  // namespace requests_test
