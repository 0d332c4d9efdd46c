// Foundation allocators, handles and raw-memory helpers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>
#include <tarnel/tde_memory.h>

#include "address_space.h"

// The exhaustion tests need malloc to return null, as the system's does,
// where a sanitizer's allocator would rather stop the process.
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

void dsExitMarker() { std::fputs("ds-exit handler ran\n", stderr); }

constexpr unsigned kHuge = TDE_MAX_ALLOC;  // largest allowed request

}  // namespace

TEST(AllocatorDeathTest, SizeLimitAndOverflowGoToFail) {
    EXPECT_DEATH(T_Alloc(0x7FFF0000u, 0), "");
    EXPECT_DEATH(T_Realloc(nullptr, 0x7FFF0000u, 0), "");
    // 0x10000 * 0x10000 wraps to 0 in 32 bits; it must not pass as a tiny block.
    EXPECT_DEATH(T_Calloc(0x10000u, 0x10000u, 0), "");
    int x = 0;
    EXPECT_DEATH(T_CopyPtr(&x, &x, 0x7FFF0000u), "");
    EXPECT_DEATH(T_AllocHandle(0x80000000u, 0), "");
}

TEST(AllocatorDeathTest, ExhaustionReturnsNullWithoutFlag) {
    // The largest allowed size reaches the system allocator, and its failure is
    // a plain null that leaves an old block intact.
    EXPECT_EXIT(
        {
            auto *old = static_cast<unsigned char *>(T_Alloc(16, 0));
            std::memset(old, 0x5A, 16);
            capAddressSpace();
            const bool ok = T_Alloc(kHuge, 0) == nullptr && T_Calloc(kHuge, 1, 0) == nullptr &&
                            T_Realloc(old, kHuge, 0) == nullptr && T_AllocHandle(kHuge, 0) == nullptr &&
                            old[0] == 0x5A && old[15] == 0x5A;
            std::_Exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(AllocatorDeathTest, ExhaustionWithFatalFlagRunsDSExitThenAborts) {
    EXPECT_DEATH((T_SetDSExit(dsExitMarker), capAddressSpace(), T_Alloc(kHuge, TDE_ALLOC_FATAL)),
                 "ds-exit handler ran");
}

TEST(Allocator, ZeroFillAndResize) {
    auto *p = static_cast<unsigned char *>(T_Realloc(nullptr, 10, 0));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p[i], 0);
    std::memcpy(p, "abcdefghij", 10);
    p = static_cast<unsigned char *>(T_Realloc(p, 4000, 0));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::memcmp(p, "abcdefghij", 10), 0);
    // A zero size keeps a live block: null would falsely mean exhaustion.
    void *z = T_Realloc(p, 0, 0);
    ASSERT_NE(z, nullptr);
    EXPECT_TRUE(T_Free(z) == 0 && T_Free(nullptr) == -1);

    char *s = static_cast<char *>(T_Alloc(0, 0));
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(TdeFree(&s), 0);
    EXPECT_TRUE(s == nullptr && TdeFree(&s) == -1);
}

TEST(RawMemory, NullStandsForZeroBytes) {
    const unsigned char zeros[4] = {}, some[4] = {0, 0, 0, 1};
    EXPECT_TRUE(T_PtrEqual(nullptr, zeros, 4) == 1 && T_PtrEqual(some, nullptr, 4) == 0);
    EXPECT_TRUE(T_PtrEqual(some, nullptr, 3) == 1 && T_PtrEqual(nullptr, nullptr, 9) == 1 &&
                T_PtrEqual(zeros, some, 0) == 1);

    char buf[8] = "abcdef";
    EXPECT_EQ(T_CopyPtr(buf, buf + 2, 4), 0);  // overlapping, source first
    EXPECT_STREQ(buf, "ababcd");
    EXPECT_EQ(T_CopyBytes(nullptr, buf, 1) + T_CopyPtr(buf, nullptr, 1) + T_ClearPtr(nullptr, 1), -3);
    EXPECT_EQ(T_DuplicatePtr(nullptr, 4, 0), nullptr);
}

TEST(Handles, LifecycleAndCopies) {
    T_HandleT *a = T_AllocHandle(8, 0), *b = T_AllocHandle(4, 0), *z = T_AllocHandle(0, 0);
    ASSERT_TRUE(a && b && z);
    EXPECT_NE(z->data, nullptr);
    EXPECT_EQ(T_GetHandleSize(a), 8u);
    EXPECT_TRUE(T_PtrEqual(a->data, nullptr, 8));

    EXPECT_EQ(T_UnlockHandle(a), 0u);  // never below 0
    EXPECT_EQ(T_LockHandle(a), a->data);
    T_LockHandle(a);
    EXPECT_TRUE(T_UnlockHandle(a) == 1u && T_UnlockHandle(a) == 0u);

    std::memcpy(a->data, "ABCDEFGH", 8);
    std::memcpy(b->data, "wxyz", 4);
    EXPECT_EQ(T_DuplicateHandle(b, a), 0);
    EXPECT_EQ(std::memcmp(a->data, "wxyzEFGH", 8), 0);

    void *before = a->data;
    EXPECT_TRUE(T_ReallocHandle(a, 8, 0) == a && a->data == before);
    EXPECT_EQ(T_HandleEqual(a, b), 0);  // sizes differ
    EXPECT_EQ(T_ReallocHandle(a, 4, 0), a);
    EXPECT_EQ(T_HandlesAreEqual(a, b), 1);
    EXPECT_EQ(T_ReallocHandle(z, 4, 0), z);  // grown bytes are not cleared
    EXPECT_EQ(T_ClearHandle(b) + T_ClearHandle(z), 0);
    EXPECT_EQ(T_HandleEqual(b, z), 1);

    EXPECT_EQ(TdeFreeHandle(&a), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a), uintptr_t{TDE_HANDLE_POISON});
    EXPECT_EQ(T_FreeHandle(b) + T_FreeHandle(z), 0);
}

TEST(HandlesDeathTest, NullHandleAndLockedHandleRules) {
    EXPECT_DEATH(T_LockHandle(nullptr), "");
    EXPECT_DEATH(T_GetHandleSize(nullptr), "");
    EXPECT_DEATH(T_ReallocHandle(nullptr, 1, 0), "");
    T_HandleT *h = T_AllocHandle(4, 0);
    EXPECT_DEATH(T_DuplicateHandle(h, nullptr), "");
    T_LockHandle(h);
    // Without a settings record every broken handle rule is fatal.
    EXPECT_DEATH((TdeInstance = nullptr, T_FreeHandle(h)), "");
    EXPECT_DEATH((TdeSetStrictEnforcement(1), T_ReallocHandle(h, 9, 0)), "");

    const unsigned char previous = TdeSetStrictEnforcement(0);
    EXPECT_EQ(T_ReallocHandle(h, 9, 0), h);
    EXPECT_EQ(T_FreeHandle(h), 0);
    TdeSetStrictEnforcement(previous);
}
