// Document and book calls: close, print, create, compare, the clipboard and
// the document-wide operations. The scripted operations are in scripted.cpp.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiClose(unsigned int docId, int flags) {
    ApiTnCloseDocArgT a = {docId, flags};
    return status(api_tn_close_1, &a);
}

int T_ApiSilentPrintDoc(unsigned int docId) {
    ApiTnSilentPrintDocArgT a = {docId};
    return status(api_tn_silent_print_doc_1, &a);
}

unsigned int T_ApiCacheDocument(unsigned int docId) {
    ApiTnSilentPrintDocArgT a = {docId};
    return value(api_tn_cache_doc_1, &a, &ApiTnCustomDocRetT::objId);
}

unsigned int T_ApiCustomDoc(int num1, int num2, int num3, int num4, int num5, int num6, int num7, int num8, int num9,
                            int num10) {
    ApiTnCustomDocArgT a = {num1, num2, num3, num4, num5, num6, num7, num8, num9, num10};
    return value(api_tn_custom_1, &a, &ApiTnCustomDocRetT::objId);
}

int T_ApiSimpleImportFormats(unsigned int docId, unsigned int fromDocId, int flags) {
    ApiTnSimpleImportFormatsArgT a = {docId, fromDocId, flags};
    return status(api_tn_simple_import_formats_1, &a);
}

int T_ApiSimpleImportElementDefs(unsigned int docId, unsigned int fromDocId, int flags) {
    ApiTnSimpleImportElementDefsArgT a = {docId, fromDocId, flags};
    return status(api_tn_simple_import_element_defs_1, &a);
}

int T_ApiSimpleGenerate(unsigned int bookId, int num1, int num2) {
    ApiTnSimpleGenerateArgT a = {bookId, num1, num2};
    return status(api_tn_simple_generate_1, &a);
}

T_CompareRetT T_ApiCompare(unsigned int id1, unsigned int id2, int flags, StringT s1, StringT s2, StringT s3, int n) {
    ApiTnCompareArgT a = {id1, id2, flags, s1, s2, s3, n};
    return record(api_tn_compare_1, &a, [](const ApiTnCompareRetT &r) { return T_CompareRetT{r.uint1, r.uint2}; });
}

int T_ApiCut(unsigned int docId, int flags) {
    ApiTnCutCopyPasteArgT a = {docId, flags};
    return status(api_tn_cut_1, &a);
}

int T_ApiClear(unsigned int docId, int flags) {
    ApiTnCutCopyPasteArgT a = {docId, flags};
    return status(api_tn_clear_1, &a);
}

int T_ApiCopy(unsigned int docId, int flags) {
    ApiTnCutCopyPasteArgT a = {docId, flags};
    return status(api_tn_copy_1, &a);
}

int T_ApiPaste(unsigned int docId, int flags) {
    ApiTnCutCopyPasteArgT a = {docId, flags};
    return status(api_tn_paste_1, &a);
}

// The reply is empty: only its absence is reported.
void T_ApiPushClipboard(void) { (void)send(api_tn_push_clipboard_1); }

int T_ApiPopClipboard(void) { return status(api_tn_pop_clipboard_1); }

int T_ApiRestartPgfNumbering(unsigned int docId) { return docStatus(api_tn_restart_pgf_numbering_1, docId); }

int T_ApiRehyphenate(unsigned int docId) { return docStatus(api_tn_rehyphenate_1, docId); }

int T_ApiClearAllChangebars(unsigned int docId) { return docStatus(api_tn_clear_all_changebars_1, docId); }

int T_ApiResetEqnSettings(unsigned int docId) { return docStatus(api_tn_reset_eqn_settings_1, docId); }

int T_ApiResetReferenceFrames(unsigned int docId) { return docStatus(api_tn_reset_reference_frames_1, docId); }

int T_ApiUpdateVariables(unsigned int docId) { return docStatus(api_tn_update_variables_1, docId); }

int T_ApiReformat(unsigned int docId) { return docStatus(api_tn_reformat_1, docId); }

int T_ApiRedisplay(unsigned int docId) { return docStatus(api_tn_redisplay_1, docId); }

int T_ApiUpdateXRefs(unsigned int docId, int flags) {
    ApiTnUpdateXRefsArgT a = {docId, flags};
    return status(api_tn_update_xrefs_1, &a);
}

int T_ApiUpdateTextInset(unsigned int docId, unsigned int insetId) {
    ApiTnUpdateTextInsetArgT a = {docId, insetId};
    return status(api_tn_update_textinset_1, &a);
}

int T_ApiDeleteTextInsetContents(unsigned int docId, unsigned int insetId) {
    ApiTnDeleteTextInsetContentsArgT a = {docId, insetId};
    return status(api_tn_delete_textinset_contents_1, &a);
}

int T_ApiApplyPageLayout(unsigned int docId, unsigned int id2, unsigned int id3) {
    ApiTnApplyPageLayoutArgT a = {docId, id2, id3};
    return status(api_tn_apply_page_layout_1, &a);
}
}
