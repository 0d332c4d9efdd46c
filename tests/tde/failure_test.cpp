// The failure policy: handlers, their order, and the abort that follows.
#include <csetjmp>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <tarnel/tde_memory.h>

namespace {

void assertMarker() { std::fputs("assert handler ran\n", stderr); }
void dsExitMarker() { std::fputs("ds-exit handler ran\n", stderr); }
void exitThree() { std::_Exit(3); }

std::jmp_buf recovery;
void jumpBack() { std::longjmp(recovery, 1); }

}  // namespace

TEST(FailurePolicyDeathTest, WithoutRecordAbortsAtOnce) {
    EXPECT_DEATH((TdeInstance = nullptr, TdeFail()), "");
    EXPECT_DEATH((TdeInstance = nullptr, TdeFDSExit()), "");
    EXPECT_DEATH((TdeInstance = nullptr, TdeEnforcement()), "");
}

TEST(FailurePolicyDeathTest, HandlerRunsThenAbort) {
    EXPECT_DEATH((T_SetAssert(assertMarker), TdeFail()), "assert handler ran");
    EXPECT_DEATH((T_SetDSExit(dsExitMarker), TdeFDSExit()), "ds-exit handler ran");
    // A handler may leave the process its own way instead.
    EXPECT_EXIT((T_SetAssert(exitThree), T_Alloc(0xFFFFFFFFu, 0)), ::testing::ExitedWithCode(3), "");
    // Removed handlers no longer run: the process ends by the abort.
    const auto aborted = ::testing::KilledBySignal(SIGABRT);
    EXPECT_EXIT((T_SetAssert(exitThree), T_SetAssert(nullptr), TdeFail()), aborted, "");
    EXPECT_EXIT((T_SetDSExit(exitThree), T_SetDSExit(nullptr), TdeFDSExit()), aborted, "");
}

TEST(FailurePolicyDeathTest, HandlerRegistration) {
    // Run in a child so the first-call results are seen on a fresh record.
    EXPECT_EXIT(
        {
            TdeInstance = nullptr;
            bool ok = T_SetAssert(assertMarker) == defaultHandler && TdeInstance->strictEnforcement == 1 &&
                      T_SetAssert(nullptr) == assertMarker && T_SetAssert(assertMarker) == defaultHandler &&
                      T_SetDSExit(dsExitMarker) == nullptr && T_SetDSExit(nullptr) == dsExitMarker;
            // Installing a handler keeps a relaxed enforcement setting.
            ok = ok && TdeSetStrictEnforcement(0) == 1 && TdeEnforcement() == 1;
            T_SetAssert(assertMarker);
            T_SetDSExit(nullptr);
            ok = ok && TdeSetStrictEnforcement(5) == 0 && TdeSetStrictEnforcement(1) == 1;
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(FailurePolicy, HandlerCanRecoverByJumping) {
    const TdeHandlerT previous = T_SetAssert(jumpBack);
    volatile bool recovered = false;
    if (setjmp(recovery) == 0)
        T_Calloc(0x10000u, 0x10000u, 0);
    else
        recovered = true;
    T_SetAssert(previous);
    EXPECT_TRUE(recovered);
}
