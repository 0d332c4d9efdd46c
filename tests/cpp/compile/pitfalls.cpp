// The mistakes the C++ forms refuse, one per macro; tests/cpp/compile/
// pitfalls.cmake compiles this file with each (expecting the compiler's
// diagnostic) and once with none, which must compile cleanly.
#include <string_view>

#include <tarnel/tnapi.hpp>

void tarnel_pitfalls() {
    // What compiles: reading results and owners as lvalues, const or not.
    auto count = tarnel::GetInt(1, 1, 610);
    const auto name = tarnel::GetString(1, 1, 20);
    const std::string_view kept = name->view();
    tarnel::Strings words;
    int found = 0;
    tarnel::PropValsView returned;
    if (count.value_or(0) + found > 0 && !kept.empty() && tarnel::Dictionary(1, kept, 0, 0, words) &&
        tarnel::Spell(1, nullptr, nullptr, found, words) && tarnel::Open("f", nullptr, returned)) {
        for (const char *s : *tarnel::GetStrings(1, 1, 21)) (void)s;
    }
#if defined(DANGLING_VIEW)
    // The string belongs to a result that is gone at the semicolon.
    std::string_view v = tarnel::GetString(1, 1, 20)->view();
    (void)v;
#elif defined(DANGLING_ITEMS)
    auto items = (*tarnel::GetStrings(1, 1, 21)).items();
    (void)items;
#elif defined(CONST_OWNER_OUTPUT)
    // The C function would write over a list its owner still releases.
    const tarnel::Strings list;
    (void)tarnel::Dictionary(1, "a", 0, 0, list);
#elif defined(VALUE_OUTPUT)
    // The count would go to a temporary.
    (void)tarnel::Spell(1, nullptr, nullptr, 0, words);
#elif defined(DROPPED_RESULT)
    // A write's result is the only sign of its failure.
    tarnel::SetInt(1, 1, 610, 3);
#endif
}
