// Owners: each value is released exactly once whatever happens to its
// owner, and a moved-from owner is empty. The real owners run over real
// memory, so a double release or a leak shows under ASan/LSan, as do the
// typed-value visits and property-list lookups over owned copies.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include <tarnel/tnapi.hpp>

#include "values.h"

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
        {"given back to C", [](Counted &a, Counted &) { (void)a.take(); }, 1},
        {"written through out()", [](Counted &a, Counted &) { *a.out() = 3; }, 3},
        {"filled as an Out", [](Counted &a, Counted &) { *Out<int>(a).get() = 3; }, 3},
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
    using T = std::remove_cvref_t<decltype(std::declval<const O &>().get())>;
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
            O d(c.take());
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

namespace typed {

// What visit() hands over for each kind, said in a few characters: the
// values are tv::value()'s samples, copied into memory of their own.
struct Describe {
    std::string operator()(ValueKind<0>, int word) const { return "other " + std::to_string(word); }
    template <int K, typename M> std::string operator()(ValueKind<K>, const M &member) const {
        if constexpr (std::is_same_v<M, int>)
            return std::to_string(K) + " word " + std::to_string(member);
        else if constexpr (std::is_same_v<M, StringT>)
            return std::to_string(K) + " string " + member;
        else if constexpr (requires { member.count; })
            return std::to_string(K) + " list " + std::to_string(member.count);
        else if constexpr (std::is_pointer_v<M>)
            return std::to_string(K) + (member != nullptr ? " range" : " no range");
        else
            return std::to_string(K) + " record";
    }
};

TEST(TypedValues, VisitAndGetIfFollowTheKindTable) {
    const std::map<int, std::string> expected = {
        {1, "1 word 257"},   {2, "2 word 258"}, {3, "3 string Alert"}, {4, "4 word 260"}, {5, "5 list 2"},
        {6, "6 list 2"},     {7, "7 list 2"},   {8, "8 list 2"},       {9, "9 record"},   {10, "10 record"},
        {11, "11 word 267"}, {12, "12 list 2"}, {13, "13 list 2"},     {14, "14 list 2"}, {15, "15 list 2"},
        {16, "16 word 272"}, {17, "17 list 2"}, {18, "18 list 2"},     {19, "19 range"},  {0, "other 256"},
        {-7, "other 249"},   {20, "other 276"}, {25, "other 281"}};
    for (int kind : tv::all_kinds()) {
        const T_TypedValT sample = tv::value(kind);
        const TypedVal owned(T_ApiCopyVal(&sample));
        EXPECT_EQ(visit(owned.get(), Describe{}), expected.at(kind)) << kind;
        const StringT *s = get_if<TA_KIND_STRING>(owned);
        EXPECT_EQ(s != nullptr, kind == TA_KIND_STRING) << kind;
        if (s != nullptr) { EXPECT_STREQ(*s, "Alert"); }
        const T_IntsT *ints = get_if<TA_KIND_INTS>(owned);
        EXPECT_EQ(ints != nullptr ? ints->count : 0u, kind == TA_KIND_INTS ? 2u : 0u) << kind;
        // Two kinds that share the union's first word stay apart.
        EXPECT_EQ(get_if<TA_KIND_ID>(owned) != nullptr, kind == TA_KIND_ID) << kind;
    }
}

// Lookups by number and by name in an owned copy of a list of every kind,
// and in a view of the same list.
TEST(PropLists, LookupByNumberAndName) {
    const T_PropValsT sample = tv::every_kind_props();
    const PropVals owned(T_ApiCopyPropVals(&sample));
    const PropValsView viewed(const_cast<T_PropValsT *>(&owned.get()));
    const auto check = [](const auto &list) {
        ASSERT_EQ(list.size(), tv::all_kinds().size());
        const T_PropValT *named = find(list, "Named");
        ASSERT_NE(named, nullptr);
        EXPECT_EQ(named, &*list.begin());  // the first entry named by number 0
        EXPECT_EQ(find(list, 103), &list.items()[2]);
        EXPECT_EQ(find(list, "Other"), nullptr);
        EXPECT_EQ(find(list, 999), nullptr);
        EXPECT_STREQ(*get_if<TA_KIND_STRING>(list, 103), "Alert");
        EXPECT_EQ(get_if<TA_KIND_INT>(list, 103), nullptr);  // holds another kind
        EXPECT_EQ(*get_if<TA_KIND_INT>(list, "Named"), 257);
        EXPECT_EQ(get_if<TA_KIND_TABS>(list, 108)->count, 2u);
    };
    check(owned);
    check(viewed);
    EXPECT_EQ(find(owned.get(), 105), &viewed.items()[4]);  // the raw list too
}

}  // namespace typed
