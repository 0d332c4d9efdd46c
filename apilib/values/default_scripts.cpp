// The default scripts of the scripted operations: fixed lists of property
// number, kind and default, in the order the host expects. Clients start
// from these and change the entries they care about.
#include <cstddef>
#include <iterator>

#include <tarnel/tnapi_values.h>

namespace {

// Value forms of the tables: integer, measurement (16.16), string (null:
// not set), text range (all zero).
// Constructors, not aggregates: I(0) must not need C++20's parenthesised
// aggregate initialisation, which not every compiler has.
struct I {
    int v;
    constexpr explicit I(int x) : v(x) {}
};
struct M {
    T_MetricT v;
    constexpr explicit M(T_MetricT x) : v(x) {}
};
struct S {
    const char *v;
    constexpr explicit S(const char *x) : v(x) {}
};
struct R {};

struct Row {
    int num;
    int kind;
    int word;            // integer and metric kinds
    const char *string;  // string kind
    constexpr Row(int n, I i) : num(n), kind(TA_KIND_INT), word(i.v), string(nullptr) {}
    constexpr Row(int n, M m) : num(n), kind(TA_KIND_METRIC), word(m.v), string(nullptr) {}
    constexpr Row(int n, S s) : num(n), kind(TA_KIND_STRING), word(0), string(s.v) {}
    constexpr Row(int n, R) : num(n), kind(TA_KIND_TEXT_RANGE), word(0), string(nullptr) {}
};

constexpr Row kOpen[] = {
    {1, I(0)},   {5, I(1)},   {7, I(0)},        {8, I(0)},  {33, I(0)},       {43, I(0)},       {9, I(0)},
    {10, I(0)},  {11, I(0)},  {13, I(0)},       {2, I(0)},  {14, I(0)},       {15, I(0)},       {16, I(12)},
    {17, I(5)},  {18, I(0)},  {19, I(0)},       {20, I(0)}, {21, I(5)},       {22, I(0)},       {23, I(0)},
    {28, I(0)},  {24, I(0)},  {25, I(0)},       {32, I(0)}, {26, I(1)},       {27, I(0)},       {29, I(0)},
    {6, I(0)},   {30, I(0)},  {42, I(0)},       {4, I(0)},  {3, I(0)},        {12, I(0)},       {31, S(nullptr)},
    {36, I(12)}, {35, I(12)}, {34, S(nullptr)}, {37, I(0)}, {38, S(nullptr)}, {39, S(nullptr)}, {40, I(0)},
    {41, I(0)},
};
constexpr Row kSave[] = {
    {1, I(0)},        {4, I(1)},        {5, I(2)},     {6, I(2)},  {7, I(0)},  {8, I(0)},  {10, I(0)},
    {9, I(0)},        {11, I(1)},       {13, I(0666)}, {2, I(0)},  {12, I(0)}, {3, I(0)},  {14, I(0)},
    {16, S(nullptr)}, {18, S(nullptr)}, {17, I(0)},    {20, I(0)}, {19, I(0)}, {21, I(0)},
};
constexpr Row kImport[] = {
    {1, I(0)},  {2, I(0)},        {4, I(5)},        {5, I(0)},         {6, S(nullptr)}, {7, I(0)},  {8, I(0)},
    {9, I(0)},  {10, I(0)},       {11, I(0)},       {12, I(0)},        {33, I(0)},      {43, I(0)}, {17, I(0)},
    {13, I(1)}, {15, I(72)},      {14, I(1)},       {16, I(12)},       {18, I(1)},      {32, I(1)}, {37, I(1)},
    {19, I(1)}, {20, S(nullptr)}, {21, I(10)},      {22, I(1)},        {23, I(1)},      {24, I(1)}, {25, S(nullptr)},
    {26, I(1)}, {27, I(0)},       {29, S(nullptr)}, {30, I(0)},        {28, I(1)},      {31, I(1)}, {34, S(nullptr)},
    {3, I(0)},  {35, S(nullptr)}, {36, I(0)},       {38, M(0x480000)}, {39, M(0)},      {40, M(0)}, {41, I(0)},
};
constexpr Row kExport[] = {
    {1, I(0)}, {2, I(0)},  {3, I(0)},  {4, I(1)},     {6, R()},    {5, I(8)},  {7, I(0)},        {8, I(0)},
    {9, I(0)}, {10, I(0)}, {11, I(1)}, {13, I(0666)}, {15, I(72)}, {12, I(1)}, {14, S(nullptr)}, {16, S(nullptr)},
};
constexpr Row kUpdateBook[] = {
    {1, I(1)}, {2, I(0)}, {3, I(1)}, {6, I(1)},  {4, I(0)},  {5, I(1)},
    {7, I(1)}, {8, I(1)}, {9, I(1)}, {10, I(1)}, {11, I(1)}, {12, I(0)},
};
constexpr Row kSpell[] = {
    {1005, I(1)},      {1000, I(0x17F9)}, {1001, S("!,.:;?")},         {1002, S("!%),.:;?]}")},
    {1003, S("$([{")}, {1004, S(".")},    {1006, S("resultfile.dct")}, {1007, I(1)},
};

// Entry counts as published to clients; a table that disagrees does not build.
static_assert(std::size(kOpen) == 43);
static_assert(std::size(kSave) == 20);
static_assert(std::size(kImport) == 42);
static_assert(std::size(kExport) == 16);
static_assert(std::size(kUpdateBook) == 12);
static_assert(std::size(kSpell) == 8);

// The list comes zero-filled, so a text range needs only its kind. Strings
// are fresh copies; one that cannot be made stays null and the rest follows.
template <size_t N> T_PropValsT build(const Row (&table)[N]) {
    T_PropValsT list = T_ApiAllocatePropVals(static_cast<int>(N));
    if (list.count != N) return T_PropValsT{};
    for (size_t i = 0; i < N; ++i) {
        const Row &e = table[i];
        T_PropValT &p = list.items[i];
        p.ident.num = e.num;
        p.value.kind = e.kind;
        if (e.kind == TA_KIND_STRING) {
            if (e.string != nullptr) p.value.u.string = T_ApiCopyString(e.string);
        } else if (e.kind != TA_KIND_TEXT_RANGE) {
            p.value.u.ival = e.word;
        }
    }
    return list;
}

}  // namespace

extern "C" {

T_PropValsT T_ApiGetOpenDefaultParams(void) { return build(kOpen); }
T_PropValsT T_ApiGetSaveDefaultParams(void) { return build(kSave); }
T_PropValsT T_ApiGetImportDefaultParams(void) { return build(kImport); }
T_PropValsT T_ApiGetExportDefaultParams(void) { return build(kExport); }
T_PropValsT T_ApiGetUpdateBookDefaultParams(void) { return build(kUpdateBook); }
T_PropValsT T_ApiGetSpellDefaultParams(void) { return build(kSpell); }

}  // extern "C"
