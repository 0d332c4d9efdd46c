// Owners: each value is released exactly once whatever happens to its
// owner, and a moved-from owner is empty. The real owners run over real
// memory, so a double release or a leak shows under ASan/LSan.
#include <gtest/gtest.h>

#include <functional>

#include <tarnel/tnapi.hpp>

namespace {

using namespace tarnel;

int releases = 0;
void counted(int *) { ++releases; }
using Counted = Owned<int, &counted>;

TEST(Owners, ReleaseExactlyOnce) {
    const std::vector<std::tuple<const char *, std::function<void()>, int>> paths = {
        {"destroyed", [] { Counted a(1); }, 1},
        {"moved, both destroyed", [] { Counted a(1), b(std::move(a)); }, 1},
        {"assigned over", [] { Counted a(1), b(2); b = std::move(a); }, 2},
        {"assigned to itself", [] { Counted a(1); a = std::move(*&a); }, 1},
        {"reset twice", [] { Counted a(1); a.reset(); a.reset(); }, 1},
        {"given back to C", [] { Counted a(1); (void)a.release(); }, 0},
        {"written through out()", [] { Counted a(1); *a.out() = 2; }, 2},
    };
    for (const auto &[name, path, expected] : paths) {
        releases = 0;
        path();
        EXPECT_EQ(releases, expected) << name;
    }
}

// A fresh value of the owner's type that owns memory.
template <typename O> auto fresh() {
    using T = std::remove_cvref_t<decltype(std::declval<O>().get())>;
    if constexpr (requires(T t) { t.items; }) {
        using Item = std::remove_pointer_t<decltype(T::items)>;
        return T{2, static_cast<Item *>(TapiCalloc(2, sizeof(Item)))};
    } else if constexpr (std::is_same_v<T, int>) {
        return 1;
    } else if constexpr (std::is_same_v<T, StringT>) {
        return T_ApiCopyString("text");
    } else if constexpr (std::is_same_v<T, TdeApiFilterArgsT *>) {
        return TdeApiExpandFilterArgs("a\x1e" "b");
    } else if constexpr (std::is_same_v<T, TextItemT>) {
        return TextItemT{0, {1, {T_ApiCopyString("text")}}};
    } else if constexpr (std::is_same_v<T, T_TypedValT>) {
        T_TypedValT v{TA_KIND_STRING, {}};
        v.u.string = T_ApiCopyString("text");
        return v;
    } else if constexpr (std::is_same_v<T, T_PropValT>) {
        return T_PropValT{{0, T_ApiCopyString("name")}, {TA_KIND_INT, {}}};
    } else if constexpr (std::is_same_v<T, T_TabT>) {
        return T_TabT{0, 0, T_ApiCopyString("text"), 0};
    } else {  // a definition or an attribute: its name
        T v{};
        v.name = T_ApiCopyString("name");
        return v;
    }
}

template <typename... O> void exerciseAll() {
    (
        [] {
            O a(fresh<O>());
            O b(std::move(a));
            EXPECT_FALSE(a.owns());
            EXPECT_TRUE(b.owns());
            O c(fresh<O>());
            c = std::move(b);
            EXPECT_FALSE(b.owns());
            auto raw = c.release();
            EXPECT_FALSE(c.owns());
            O d(raw);
            *d.out() = fresh<O>();
        }(),
        ...);
}

TEST(Owners, EveryOwnerOverRealMemory) {
#define TARNEL_ALIAS_(alias, raw, release) , alias
    exerciseAll<Counted TARNEL_OWNERS(TARNEL_ALIAS_)>();
}

TEST(Owners, ViewsReadWithoutCopying) {
    const String s(T_ApiCopyString("abc"));
    const Strings none;
    EXPECT_EQ(s.view(), "abc");
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.items().empty());
}

}  // namespace
