// Default scripts: checked against a second transcription of the published
// lists (order of numbers, strings, measurements and non-zero integers kept
// apart) rather than against the builder's own table.
#include <map>
#include <set>
#include <vector>

#include <gtest/gtest.h>
#include <tarnel/tde_metrics.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"

namespace {

struct Expected {
    const char *name;
    T_PropValsT (*build)(void);
    std::vector<int> order;
    std::set<int> strings;
    std::vector<int> nonZeroInts;  // number, value, number, value, ...
};

const std::vector<Expected> &scripts() {
    static const std::vector<Expected> all = {
        {"open",
         T_ApiGetOpenDefaultParams,
         {1,  5,  7,  8,  33, 43, 9, 10, 11, 13, 2, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 28,
          24, 25, 32, 26, 27, 29, 6, 30, 42, 4,  3, 12, 31, 36, 35, 34, 37, 38, 39, 40, 41},
         {31, 34, 38, 39},
         {5, 1, 16, 12, 17, 5, 21, 5, 26, 1, 36, 12, 35, 12}},
        {"save",
         T_ApiGetSaveDefaultParams,
         {1, 4, 5, 6, 7, 8, 10, 9, 11, 13, 2, 12, 3, 14, 16, 18, 17, 20, 19, 21},
         {16, 18},
         {4, 1, 5, 2, 6, 2, 11, 1, 13, 0666}},
        {"import",
         T_ApiGetImportDefaultParams,
         {1,  2,  4,  5,  6,  7,  8,  9,  10, 11, 12, 33, 43, 17, 13, 15, 14, 16, 18, 32, 37,
          19, 20, 21, 22, 23, 24, 25, 26, 27, 29, 30, 28, 31, 34, 3,  35, 36, 38, 39, 40, 41},
         {6, 20, 25, 29, 34, 35},
         {4,  5, 13, 1,  15, 72, 14, 1, 16, 12, 18, 1, 32, 1, 37, 1,
          19, 1, 21, 10, 22, 1,  23, 1, 24, 1,  26, 1, 28, 1, 31, 1}},
        {"export",
         T_ApiGetExportDefaultParams,
         {1, 2, 3, 4, 6, 5, 7, 8, 9, 10, 11, 13, 15, 12, 14, 16},
         {14, 16},
         {4, 1, 5, 8, 11, 1, 13, 0666, 15, 72, 12, 1}},
        {"book update",
         T_ApiGetUpdateBookDefaultParams,
         {1, 2, 3, 6, 4, 5, 7, 8, 9, 10, 11, 12},
         {},
         {1, 1, 3, 1, 6, 1, 5, 1, 7, 1, 8, 1, 9, 1, 10, 1, 11, 1}},
        {"spelling",
         T_ApiGetSpellDefaultParams,
         {1005, 1000, 1001, 1002, 1003, 1004, 1006, 1007},
         {1001, 1002, 1003, 1004, 1006},
         {1005, 1, 1000, 6137, 1007, 1}},
    };
    return all;
}

const std::map<int, const char *> kSpellStrings = {
    {1001, "!,.:;?"}, {1002, "!%),.:;?]}"}, {1003, "$([{"}, {1004, "."}, {1006, "resultfile.dct"}};

}  // namespace

TEST(DefaultScripts, EveryEntryInOrderWithKindAndDefault) {
    for (const Expected &e : scripts()) {
        SCOPED_TRACE(e.name);
        T_PropValsT list = e.build();
        ASSERT_EQ(list.count, e.order.size());
        const bool isImport = e.build == T_ApiGetImportDefaultParams;
        const bool isExport = e.build == T_ApiGetExportDefaultParams;
        for (u_int i = 0; i < list.count; ++i) {
            const int num = list.items[i].ident.num;
            const T_TypedValT &v = list.items[i].value;
            SCOPED_TRACE(num);
            EXPECT_EQ(num, e.order[i]);
            EXPECT_EQ(list.items[i].ident.name, nullptr);
            if (e.strings.count(num) != 0) {
                ASSERT_EQ(v.kind, 3);
                if (kSpellStrings.count(num) != 0) {
                    EXPECT_STREQ(v.u.string, kSpellStrings.at(num));
                } else {
                    EXPECT_EQ(v.u.string, nullptr);
                }
            } else if (isImport && num >= 38 && num <= 40) {
                EXPECT_EQ(v.kind, 2);
                EXPECT_EQ(v.u.metric, num == 38 ? T_MetricFloat(72.0) : 0);
            } else if (isExport && num == 6) {
                EXPECT_EQ(v.kind, 10);
                const T_TextRangeT &r = v.u.textRange;
                EXPECT_EQ(r.begin.objId | r.end.objId, 0u);
                EXPECT_EQ(r.begin.offset | r.end.offset, 0);
            } else {
                EXPECT_EQ(v.kind, 1);
                int want = 0;
                for (size_t k = 0; k < e.nonZeroInts.size(); k += 2)
                    if (e.nonZeroInts[k] == num) want = e.nonZeroInts[k + 1];
                EXPECT_EQ(v.u.ival, want);
            }
        }
        T_ApiDeallocatePropVals(&list);
    }
}

TEST(DefaultScripts, ListsAreIndependent) {
    T_PropValsT spell = T_ApiGetSpellDefaultParams();
    T_PropValsT other = T_ApiGetSpellDefaultParams();
    other.items[2].value.u.string[0] = 'X';
    EXPECT_STREQ(spell.items[2].value.u.string, "!,.:;?");
    T_ApiDeallocatePropVals(&other);
    T_ApiDeallocatePropVals(&spell);
}

TEST(DefaultScripts, ExhaustedMemory) {
    {
        alloc_fault::Scope fail(0);
        const T_PropValsT list = T_ApiGetOpenDefaultParams();
        EXPECT_TRUE(list.count == 0 && list.items == nullptr);
    }
    {
        alloc_fault::Scope fail(2);  // the list and the first string pass, the second fails
        T_PropValsT list = T_ApiGetSpellDefaultParams();
        ASSERT_EQ(list.count, 8u);
        EXPECT_STREQ(list.items[2].value.u.string, "!,.:;?");
        EXPECT_EQ(list.items[3].value.kind, 3);
        EXPECT_EQ(list.items[3].value.u.string, nullptr);
        EXPECT_STREQ(list.items[4].value.u.string, "$([{");
        T_ApiDeallocatePropVals(&list);
    }
    for (const Expected &e : scripts()) {
        alloc_fault::each_failure_point([&] {
            T_PropValsT list = e.build();
            T_ApiDeallocatePropVals(&list);
        });
    }
}
