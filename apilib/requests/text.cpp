// Text, element catalogue, attribute and element structure calls.
#include "call.h"

using namespace tarnel::requests;

namespace {
// The fixed properties that carry the catalogue and the attributes.
constexpr int elementCatalogProp = 1488;
constexpr int attributeDefsProp = 1584;
constexpr int attributesProp = 1634;
}  // namespace

extern "C" {

T_TextLocT T_ApiAddText(unsigned int docId, T_TextLocT *loc, StringT text) {
    ApiTnAddTextArgT a = {docId, headerOf(loc), text};
    return value(api_tn_add_text_1, &a, &ApiTnAddTextRetT::loc);
}

int T_ApiDeleteText(unsigned int docId, T_TextRangeT *range) {
    ApiTnGeneralTextRangeArgT a = {docId, headerOf(range)};
    return status(api_tn_delete_text_1, &a);
}

int T_ApiScrollToText(unsigned int docId, T_TextRangeT *range) {
    ApiTnGeneralTextRangeArgT a = {docId, headerOf(range)};
    return status(api_tn_scroll_to_text_1, &a);
}

int T_ApiCenterOnText(unsigned int docId, T_TextRangeT *range) {
    ApiTnGeneralTextRangeArgT a = {docId, headerOf(range)};
    return status(api_tn_center_on_text_1, &a);
}

int T_ApiCenterOnGraphicObject(unsigned int docId, unsigned int objId) {
    ApiTnGeneralObjArgT a = {docId, objId};
    return status(api_tn_center_on_graphic_object_1, &a);
}

TextItemsT T_ApiGetText(unsigned int docId, unsigned int objId, unsigned int flags) {
    ApiTnGetTextArgT a = {docId, objId, flags};
    return record(api_tn_get_text_1, &a, &ApiTnGetTextRetT::items);
}

TextItemsT T_ApiGetText2(unsigned int docId, unsigned int objId, unsigned int flags1, unsigned int flags2) {
    ApiTnGetText2ArgT a = {docId, objId, flags1, flags2};
    return record(api_tn_get_text2_1, &a, &ApiTnGetTextRetT::items);
}

TextItemsT T_ApiGetTextForRange(unsigned int docId, T_TextRangeT *range, unsigned int flags) {
    ApiTnGetTextForRangeArgT a = {docId, headerOf(range), flags};
    return record(api_tn_get_text_for_range_1, &a, &ApiTnGetTextRetT::items);
}

TextItemsT T_ApiGetTextForRange2(unsigned int docId, T_TextRangeT *range, unsigned int flags1, unsigned int flags2) {
    ApiTnGetTextForRange2ArgT a = {docId, headerOf(range), flags1, flags2};
    return record(api_tn_get_text_for_range2_1, &a, &ApiTnGetTextRetT::items);
}

T_TextLocT T_ApiElementLocToTextLoc(unsigned int docId, T_ElementLocT *eloc) {
    ApiTnElementLocToTextLocArgT a = {docId, headerOf(eloc)};
    return value(api_tn_elementloc_to_textloc_1, &a, &ApiTnElementLocToTextLocRetT::loc);
}

T_ElementLocT T_ApiTextLocToElementLoc(unsigned int docId, T_TextLocT *loc) {
    ApiTnTextLocToElementLocArgT a = {docId, headerOf(loc)};
    return value(api_tn_textloc_to_elementloc_1, &a, &ApiTnTextLocToElementLocRetT::eloc);
}

// The catalogue is a property of the document addressed as an object.
T_ElementCatalogEntriesT T_ApiGetElementCatalog(unsigned int docId) {
    ApiTnGetPropArgT a = {docId, docId, byNumber(elementCatalogProp)};
    return record(api_tn_get_element_catalog_1, &a, &ApiTnGetElementCatalogRetT::value);
}

T_AttributeDefsT T_ApiGetAttributeDefs(unsigned int docId, unsigned int objId) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(attributeDefsProp)};
    return record(api_tn_get_attribute_defs_1, &a, &ApiTnGetAttributeDefsRetT::value);
}

void T_ApiSetAttributeDefs(unsigned int docId, unsigned int objId, T_AttributeDefsT *defs) {
    ApiTnSetAttributeDefsArgT a = {docId, objId, byNumber(attributeDefsProp), headerOf(defs)};
    none(api_tn_set_attribute_defs_1, &a);
}

T_AttributesT T_ApiGetAttributes(unsigned int docId, unsigned int objId) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(attributesProp)};
    return record(api_tn_get_attributes_1, &a, &ApiTnGetAttributesRetT::value);
}

void T_ApiSetAttributes(unsigned int docId, unsigned int objId, T_AttributesT *attributes) {
    ApiTnSetAttributesArgT a = {docId, objId, byNumber(attributesProp), headerOf(attributes)};
    none(api_tn_set_attributes_1, &a);
}

int T_ApiDeleteUndefinedAttribute(unsigned int docId, StringT name, int flags, unsigned int objId) {
    ApiTnDeleteUndefinedAttributeArgT a = {docId, name, flags, objId};
    return status(api_tn_delete_undefined_attribute_1, &a);
}

void T_ApiMergeIntoFirst(unsigned int docId) { (void)docStatus(api_tn_merge_into_first_1, docId); }

void T_ApiMergeIntoLast(unsigned int docId) { (void)docStatus(api_tn_merge_into_last_1, docId); }

void T_ApiSplitElement(unsigned int docId) { (void)docStatus(api_tn_split_element_1, docId); }

void T_ApiWrapElement(unsigned int docId, unsigned int objId) {
    ApiTnGeneralElementDefArgT a = {docId, objId};
    none(api_tn_wrap_element_1, &a);
}

void T_ApiUnWrapElement(unsigned int docId) { (void)docStatus(api_tn_unwrap_element_1, docId); }

void T_ApiPromoteElement(unsigned int docId) { (void)docStatus(api_tn_promote_element_1, docId); }

void T_ApiDemoteElement(unsigned int docId) { (void)docStatus(api_tn_demote_element_1, docId); }

unsigned int T_ApiNewElement(unsigned int docId, unsigned int objId, T_TextLocT *loc) {
    ApiTnNewElementArgT a = {docId, objId, headerOf(loc)};
    return value(api_tn_new_element_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewElementInHierarchy(unsigned int docId, unsigned int objId, T_ElementLocT *eloc) {
    ApiTnNewElementInHierarchyArgT a = {docId, objId, headerOf(eloc)};
    return value(api_tn_new_element_in_hierarchy_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewBookComponentInHierarchy(unsigned int bookId, StringT fileName, T_ElementLocT *eloc) {
    ApiTnNewBookComponentInHierarchyArgT a = {bookId, fileName, headerOf(eloc)};
    return value(api_tn_new_book_component_in_hierarchy_1, &a, &ApiTnObjRetT::objId);
}
}
