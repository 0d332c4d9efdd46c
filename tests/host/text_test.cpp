// Text through the protocol: text items, text properties, find, spelling,
// replacement and the clipboard.
#include <gtest/gtest.h>

#include <cstring>

#include "host_calls.h"

namespace host_test {
namespace {

struct TextDoc {
    ServedHost h;
    CLIENT *c = h.client();
    u_int doc = 0;
    explicit TextDoc(const char *text) {
        if (!c) return;
        doc = call(c, api_tn_custom_1, xdr_ApiTnCustomDocRetT, ApiTnCustomDocArgT{600, 800, 1, 0, 0, 0, 0, 0, 0, 0})
                  ->objId;
        call(c, api_tn_add_text_1, xdr_ApiTnAddTextRetT, ApiTnAddTextArgT{doc, {doc, 0}, const_cast<char *>(text)});
    }
};

std::string texts(const TextItemsT &items) {
    std::string out;
    for (u_int i = 0; i < items.count; i++)
        out += items.items[i].data.kind == 1 ? std::string("[") + items.items[i].data.u.text + "]"
                                             : "<" + std::to_string(items.items[i].data.kind) + ">";
    return out;
}

TEST(HostText, ItemsSplitAtRunsThatMoveWithEdits) {
    TextDoc t("abc\ndefgh");
    ASSERT_TRUE(t.c);
    T_TypedValT bold{};
    bold.kind = 1;
    bold.u.ival = 1;
    ASSERT_EQ(*call(t.c, api_tn_set_text_val_1, xdr_int,
                    ApiTnSetTextValArgT{t.doc, {{t.doc, 5}, {t.doc, 7}}, {30, nullptr}, bold}),
              0);
    EXPECT_EQ(texts(call(t.c, api_tn_get_text_1, xdr_ApiTnGetTextRetT, ApiTnGetTextArgT{t.doc, t.doc, 0})->items),
              "[abc]<2>[d]<4>[ef]<4>[gh]");
    // Ranges across objects or backwards are refused.
    EXPECT_EQ(call(t.c, api_tn_get_text_for_range_1, xdr_ApiTnGetTextRetT,
                   ApiTnGetTextForRangeArgT{t.doc, {{t.doc, 4}, {t.doc, 2}}, 0})
                  ->status,
              -8);

    // Text properties: in force inside the run, absent outside; runs move with edits.
    auto at = [&](int offset) {
        return call(t.c, api_tn_get_text_val_1, xdr_ApiTnGetValRetT,
                    ApiTnGetTextPropArgT{t.doc, {t.doc, offset}, {30, nullptr}})
            ->status;
    };
    EXPECT_EQ(at(6), 0);
    EXPECT_EQ(at(7), -3);
    char xx[] = "XX";
    call(t.c, api_tn_add_text_1, xdr_ApiTnAddTextRetT, ApiTnAddTextArgT{t.doc, {t.doc, 0}, xx});
    EXPECT_EQ(at(8), 0);
    EXPECT_EQ(at(6), -3);
}

TEST(HostText, FindReplaceAndSpell) {
    TextDoc t("The quick brown fox jumps over the lazy dogg, the dog");
    ASSERT_TRUE(t.c);
    T_PropValT p[2] = {};
    p[0].ident.num = 1;
    p[0].value.kind = 3;
    p[0].value.u.string = const_cast<char *>("the");
    p[1].ident.num = 2;
    p[1].value.kind = 1;
    auto find = [&](int offset, int flags) {
        p[1].value.u.ival = flags;
        auto r = call(t.c, api_tn_find_1, xdr_ApiTnFindRetT, ApiTnFindArgT{t.doc, {t.doc, offset}, {2, p}});
        return r->status ? r->status : r->range.begin.offset;
    };
    EXPECT_EQ(find(0, 0), 31);
    EXPECT_EQ(find(0, 1), 0);
    EXPECT_EQ(find(32, 0), 46);
    EXPECT_EQ(find(49, 0), -9);
    EXPECT_EQ(find(49, 4), 46);
    EXPECT_EQ(find(34, 4 | 1), 31);

    // Once the one unknown word is replaced, spelling finds nothing.
    char dog[] = "dog";
    EXPECT_EQ(call(t.c, api_tn_replace_text_1, xdr_ApiTnReplaceTextRetT,
                   ApiTnReplaceTextArgT{t.doc, {{t.doc, 40}, {t.doc, 44}}, dog})
                  ->status,
              0);
    auto clean = call(t.c, api_tn_spell_1, xdr_ApiTnSpellRetT, ApiTnSpellArgT{t.doc, {t.doc, 0}, {0, nullptr}});
    EXPECT_EQ(clean->int1, 0);
    EXPECT_EQ(clean->range.end.offset, 0);
}

TEST(HostText, ClipboardWorksOnTheSelection) {
    TextDoc t("one two three");
    ASSERT_TRUE(t.c);
    auto select = [&](int b, int e) {
        return *call(t.c, api_tn_set_textrange_1, xdr_int,
                     ApiTnSetTextRangeArgT{t.doc, t.doc, {72, nullptr}, {{t.doc, b}, {t.doc, e}}});
    };
    auto text = [&] {
        return texts(call(t.c, api_tn_get_text_1, xdr_ApiTnGetTextRetT, ApiTnGetTextArgT{t.doc, t.doc, 1})->items);
    };
    EXPECT_EQ(*call(t.c, api_tn_copy_1, xdr_int, ApiTnCutCopyPasteArgT{t.doc, 0}), -3);
    select(4, 8);
    ASSERT_EQ(*call(t.c, api_tn_cut_1, xdr_int, ApiTnCutCopyPasteArgT{t.doc, 0}), 0);
    EXPECT_EQ(text(), "[one three]");
    EXPECT_NE(api_tn_push_clipboard_1(nullptr, t.c), nullptr);
    select(0, 3);
    call(t.c, api_tn_copy_1, xdr_int, ApiTnCutCopyPasteArgT{t.doc, 0});
    ASSERT_EQ(*api_tn_pop_clipboard_1(nullptr, t.c), 0);
    EXPECT_EQ(*api_tn_pop_clipboard_1(nullptr, t.c), -11);
    // The popped clipboard ("two ") replaces the selection.
    ASSERT_EQ(*call(t.c, api_tn_paste_1, xdr_int, ApiTnCutCopyPasteArgT{t.doc, 0}), 0);
    EXPECT_EQ(text(), "[two  three]");
}

}  // namespace
}  // namespace host_test
