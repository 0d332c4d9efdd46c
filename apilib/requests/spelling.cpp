// Spelling check, dictionaries, the thesaurus and hyphenation.
//
// The calls with output lists write them whatever the outcome: a refused
// request still delivers the lists the host sent (its suggestions, say), and
// a lost one leaves every list empty rather than as the caller had it.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

T_TextRangeT T_ApiSpell(unsigned int docId, T_TextLocT *loc, T_PropValsT *spellParams, int *outInt,
                        T_StringsT *outList) {
    ApiTnSpellArgT a = {docId, headerOf(loc), headerOf(spellParams)};
    ApiTnSpellRetT *reply = send(api_tn_spell_1, &a);
    T_TextRangeT result{};
    *outInt = 0;
    *outList = T_StringsT{};
    if (reply == nullptr) return result;
    if (reply->status != 0) {
        TA_errno = reply->status;
    } else {
        result = reply->range;
        *outInt = reply->int1;
    }
    *outList = take(reply->items);
    release(reply);
    return result;
}

int T_ApiDictionary(unsigned int docId, StringT text, int num1, int num2, T_StringsT *outList) {
    ApiTnDictionaryArgT a = {docId, text, num1, num2};
    ApiTnDictionaryRetT *reply = send(api_tn_dictionary_1, &a);
    *outList = T_StringsT{};
    if (reply == nullptr) return -1;
    *outList = take(reply->items);
    const int code = reply->status;
    release(reply);
    if (code != 0) TA_errno = code;
    return code;
}

// 0, not -1, with no reply: only TA_errno tells that from success.
int T_ApiModifyDictionary(unsigned int docId, int num1, int num2, StringT text) {
    ApiTnModifyDictionaryArgT a = {docId, num1, num2, text};
    return status(api_tn_modifydictionary_1, &a, 0);
}

int T_ApiResetSpelling(unsigned int docId) {
    ApiTnResetSpellingArgT a = {docId};
    return status(api_tn_resetspelling_1, &a);
}

// The reply's status follows its four lists.
int T_ApiThesaurus(int num, StringT word, T_StringsT *list1, T_StringsT *list2, T_StringsT *list3, T_StringsT *list4) {
    ApiTnThesaurusArgT a = {num, word};
    ApiTnThesaurusRetT *reply = send(api_tn_thesaurus_1, &a);
    *list1 = *list2 = *list3 = *list4 = T_StringsT{};
    if (reply == nullptr) return -1;
    *list1 = take(reply->list1);
    *list2 = take(reply->list2);
    *list3 = take(reply->list3);
    *list4 = take(reply->list4);
    const int code = reply->status;
    release(reply);
    if (code != 0) TA_errno = code;
    return code;
}

// The reply is (text, status): the value helper reads the status by name,
// so its second place needs nothing more.
StringT T_ApiShowHyphenation(StringT word) {
    ApiTnShowHyphenationArgT a = {word};
    return value(api_tn_showhyphenation_1, &a, &ApiTnShowHyphenationRetT::text);
}
}
