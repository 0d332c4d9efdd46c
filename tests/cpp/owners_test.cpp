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

// Each path starts from two owners holding a value each and ends with
// both destroyed.
TEST(Owners, ReleaseExactlyOnce) {
    using Path = std::function<void(Counted &, Counted &)>;
    const std::vector<std::tuple<const char *, Path, int>> paths = {
        {"destroyed", [](Counted &, Counted &) {}, 2},
        {"moved out", [](Counted &a, Counted &) { Counted c(std::move(a)); }, 2},
        {"assigned over", [](Counted &a, Counted &b) { b = std::move(a); }, 2},
        {"assigned to itself", [](Counted &a, Counted &) { a = std::move(*&a); }, 2},
        {"reset twice", [](Counted &a, Counted &) { a.reset(), a.reset(); }, 2},
        {"given back to C", [](Counted &a, Counted &) { (void)a.release(); }, 1},
        {"written through out()", [](Counted &a, Counted &) { *a.out() = 3; }, 3},
    };
    for (const auto &[name, path, expected] : paths) {
        releases = 0;
        {
            Counted a(1), b(2);
            path(a, b);
        }
        EXPECT_EQ(releases, expected) << name;
    }
}

// A fresh value of the owner's type, owning memory where that is simple:
// lists of zeroed items, strings, a filter record; the other records zero.
template <typename O> auto fresh() {
    using T = std::remove_cvref_t<decltype(std::declval<O>().get())>;
    if constexpr (requires(T t) { t.items; }) {
        using Item = std::remove_pointer_t<decltype(T::items)>;
        return T{2, static_cast<Item *>(TapiCalloc(2, sizeof(Item)))};
    } else if constexpr (std::is_same_v<T, StringT>) {
        return T_ApiCopyString("text");
    } else if constexpr (std::is_same_v<T, TdeApiFilterArgsT *>) {
        return TdeApiExpandFilterArgs("a\x1e"
                                      "b");
    } else {
        return T{};
    }
}

template <typename... O> void exerciseAll() {
    (
        [] {
            O a(fresh<O>()), b(std::move(a)), c(fresh<O>());
            c = std::move(b);
            EXPECT_FALSE(a.owns() || b.owns() || !c.owns());
            O d(c.release());
            EXPECT_FALSE(c.owns());
            *d.out() = fresh<O>();
        }(),
        ...);
}

TEST(Owners, EveryOwnerOverRealMemory) {
#define TARNEL_ALIAS_(alias, raw, release) , alias
    releases = 0;
    exerciseAll<Counted TARNEL_OWNERS(TARNEL_ALIAS_)>();
    EXPECT_EQ(releases, 3);  // the three values Counted was given
}

}  // namespace
