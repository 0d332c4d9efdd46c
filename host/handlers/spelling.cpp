// Dictionaries, the thesaurus and hyphenation, over the host's word list
// (wordlist.h). Dictionaries are numbered 0 (the built-in list, fixed),
// 1 (the user's, for the whole host) and 2 (a document's own).
#include <cstring>

#include "common.h"
#include "wordlist.h"

namespace tarnel::host {
namespace {

// What a dictionary request may ask for.
constexpr int kListWords = 0;     // the dictionary's words that begin with the text
constexpr int kSuggestWords = 1;  // its words nearest to the text
constexpr std::size_t kMaxSuggestions = 8;

// A dictionary number as a client gives it with a document; st::ok when usable.
int dictionaryOf(int number, u_int docId, words::Dictionary &out) {
    if (number < 0 || number > 2) return st::badArgument;
    out = static_cast<words::Dictionary>(number);
    return out == words::Dictionary::Document && docId == 0 ? st::badArgument : st::ok;
}

// A single word: no blanks, not empty.
bool isWord(const std::string &w) { return !w.empty() && w.find_first_of(" \t\r\n") == std::string::npos; }

// Document, text, dictionary, what to list.
void dictionary(Host &, Request &req) {
    const auto &a = argOf<ApiTnDictionaryArgT>(req);
    std::string text = str(a.str1);
    req.detail.number("doc", a.docId).text("text", text).number("dictionary", a.int1).number("mode", a.int2);
    auto &r = resOf<ApiTnDictionaryRetT>(req);
    words::Dictionary d;
    r.status = dictionaryOf(a.int1, a.docId, d);
    if (r.status) return;
    std::vector<std::string> all = words::wordsOf(d, a.docId), found;
    std::string prefix = words::fold(text);
    if (a.int2 == kListWords) {
        for (const std::string &w : all)
            if (w.compare(0, prefix.size(), prefix) == 0) found.push_back(w);
    } else if (a.int2 == kSuggestWords && isWord(text)) {
        found = words::nearest(all, text, kMaxSuggestions);
    } else {
        r.status = st::badArgument;
        return;
    }
    r.items = words::toWireStrings(found);
    req.detail.number("found", r.items.count);
}

// Document, dictionary, action (1 add, 0 remove), word.
void modifyDictionary(Host &, Request &req) {
    const auto &a = argOf<ApiTnModifyDictionaryArgT>(req);
    std::string word = str(a.str1);
    req.detail.number("doc", a.docId).number("dictionary", a.int1).number("action", a.int2).text("word", word);
    int &status = resOf<ApiTnModifyDictionaryRetT>(req).status;
    words::Dictionary d;
    status = dictionaryOf(a.int1, a.docId, d);
    if (!status && (d == words::Dictionary::Main || !isWord(word) || (a.int2 != 0 && a.int2 != 1)))
        status = st::badArgument;
    if (status) return;
    if (a.int2 == 1)
        words::addWord(d, a.docId, word);
    else if (!words::removeWord(d, a.docId, word))
        status = st::notFound;
}

// Forgets what the document's own dictionary learned.
void resetSpelling(Host &, Request &req) {
    u_int docId = argOf<ApiTnResetSpellingArgT>(req).docId;
    req.detail.number("doc", docId);
    if (docId == 0)
        resOf<ApiTnResetSpellingRetT>(req).status = st::badArgument;
    else
        words::resetDocument(docId);
}

// Most items per list (0: all), word. The lists: synonyms, antonyms, related
// words, and, for a word the thesaurus lacks, the headwords nearest to it.
void thesaurus(Host &, Request &req) {
    const auto &a = argOf<ApiTnThesaurusArgT>(req);
    std::string word = str(a.str1);
    req.detail.number("limit", a.int1).text("word", word);
    auto &r = resOf<ApiTnThesaurusRetT>(req);
    if (a.int1 < 0 || !isWord(word)) {
        r.status = st::badArgument;
        return;
    }
    auto cut = [&](std::vector<std::string> list) {
        if (a.int1 > 0 && list.size() > static_cast<std::size_t>(a.int1)) list.resize(static_cast<std::size_t>(a.int1));
        return words::toWireStrings(list);
    };
    if (const words::ThesaurusEntry *e = words::thesaurus(word)) {
        r.list1 = cut(e->synonyms);
        r.list2 = cut(e->antonyms);
        r.list3 = cut(e->related);
    } else {
        r.list4 = cut(words::nearest(words::headwords(), word, kMaxSuggestions));
        r.status = st::notFound;
    }
}

void showHyphenation(Host &, Request &req) {
    std::string word = str(argOf<ApiTnShowHyphenationArgT>(req).str1);
    req.detail.text("word", word);
    auto &r = resOf<ApiTnShowHyphenationRetT>(req);
    std::optional<std::string> h = isWord(word) ? words::hyphenate(word) : std::nullopt;
    if (h) {
        r.text = strdup(h->c_str());
        req.detail.text("hyphenated", *h);
    } else {
        r.status = isWord(word) ? st::notFound : st::badArgument;
    }
}

}  // namespace

void registerSpellingHandlers() {
    registerHandlers({
        {API_TN_DICTIONARY, dictionary},
        {API_TN_MODIFYDICTIONARY, modifyDictionary},
        {API_TN_RESETSPELLING, resetSpelling},
        {API_TN_THESAURUS, thesaurus},
        {API_TN_SHOWHYPHENATION, showHyphenation},
    });
}

}  // namespace tarnel::host
