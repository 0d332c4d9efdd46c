// Find, spelling check and text replacement. Both searches start at a text
// location and go on through the document's text-holding objects in order
// (the document's own text first, then its objects as created).
//
// Find parameters: 1 (string) the text to find, required; 2 (int) flags:
// bit 0 ignores case, bit 1 matches whole words only, bit 2 searches
// backwards from the location. Replies with the range found, or st::notFound.
//
// Spelling: words are runs of letters (bytes 128 and above count as letters)
// with inner apostrophes, checked against the model's word list. Parameters:
// 1000 (int) bit 0 ignores case; 1005 (int) 0 turns suggestions off. Replies
// with the first unknown word's range, in the int the number of unknown words
// from the location on, and known words one edit away as suggestions; text
// without unknown words gives the zero range, 0 and no suggestions.
#include <algorithm>
#include <cctype>

#include "common.h"

namespace tarnel::host {
namespace {

std::string lower(std::string s) {
    for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool letter(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 128 || std::isalnum(u);
}

// The document's text-holding objects in search order.
std::vector<Object *> searchOrder(u_int docId) {
    Model &m = model();
    std::vector<Object *> out{m.object(docId)};
    for (u_int id : m.document(docId)->objects) out.push_back(m.object(id));
    return out;
}

// Whether a search may start at the location: the document's status, then
// the location's.
int checkStart(u_int docId, const T_TextLocT &loc) {
    Model &m = model();
    if (!m.document(docId)) return st::noObject;
    return m.checkLoc(docId, loc);
}

bool wholeWord(const std::string &t, std::size_t at, std::size_t n) {
    return (at == 0 || !letter(t[at - 1])) && (at + n >= t.size() || !letter(t[at + n]));
}

void find(Host &, Request &req) {
    const auto &a = argOf<ApiTnFindArgT>(req);
    auto &r = resOf<ApiTnFindRetT>(req);
    std::string what = stringParam(a.params, 1);
    int flags = intParam(a.params, 2, 0);
    fields(req, {{"doc", a.docId}, {"loc", a.loc}, {"text", what}, {"flags", flags}});
    if ((r.status = checkStart(a.docId, a.loc))) return;
    if (what.empty()) {
        r.status = st::badArgument;
        return;
    }
    bool backward = flags & 4;
    std::string needle = flags & 1 ? lower(what) : what;
    std::vector<Object *> order = searchOrder(a.docId);
    std::size_t start = 0;
    while (order[start]->id != a.loc.objId) start++;
    for (std::size_t k = 0; k < order.size(); k++) {
        // Forward from the start object to the last; backward to the first.
        if (backward ? k > start : start + k >= order.size()) break;
        Object &o = *order[backward ? start - k : start + k];
        std::string hay = flags & 1 ? lower(o.text) : o.text;
        std::size_t from = k == 0 ? static_cast<std::size_t>(a.loc.offset) : backward ? hay.size() : 0;
        std::size_t at = std::string::npos;
        if (backward) {
            // Matches that end at or before the location.
            for (std::size_t p = from >= needle.size() ? from - needle.size() + 1 : 0; p-- > 0;)
                if (hay.compare(p, needle.size(), needle) == 0 && (!(flags & 2) || wholeWord(hay, p, needle.size()))) {
                    at = p;
                    break;
                }
        } else {
            for (std::size_t p = hay.find(needle, from); p != std::string::npos; p = hay.find(needle, p + 1))
                if (!(flags & 2) || wholeWord(hay, p, needle.size())) {
                    at = p;
                    break;
                }
        }
        if (at != std::string::npos) {
            int b = static_cast<int>(at), e = static_cast<int>(at + needle.size());
            r.range = T_TextRangeT{{o.id, b}, {o.id, e}};
            fieldRange(req, "found", r.range);
            return;
        }
    }
    r.status = st::notFound;
}

// Edit distance of at most one (one insertion, deletion or substitution).
bool oneEditAway(const std::string &a, const std::string &b) {
    if (a == b) return false;
    if (a.size() == b.size()) {
        int diff = 0;
        for (std::size_t i = 0; i < a.size(); i++) diff += a[i] != b[i];
        return diff == 1;
    }
    const std::string &s = a.size() < b.size() ? a : b, &l = a.size() < b.size() ? b : a;
    if (l.size() != s.size() + 1) return false;
    std::size_t i = 0;
    while (i < s.size() && s[i] == l[i]) i++;
    return s.compare(i, std::string::npos, l, i + 1, std::string::npos) == 0;
}

void spell(Host &, Request &req) {
    const auto &a = argOf<ApiTnSpellArgT>(req);
    auto &r = resOf<ApiTnSpellRetT>(req);
    bool anyCase = intParam(a.params, 1000, 1) & 1;
    bool suggest = intParam(a.params, 1005, 1) != 0;
    field(req, "doc", a.docId);
    fieldLoc(req, "loc", a.loc);
    if ((r.status = checkStart(a.docId, a.loc))) return;
    Model &m = model();
    std::vector<Object *> order = searchOrder(a.docId);
    std::size_t start = 0;
    while (order[start]->id != a.loc.objId) start++;
    std::string firstWord;
    int unknown = 0;
    for (std::size_t k = start; k < order.size(); k++) {
        const std::string &t = order[k]->text;
        std::size_t p = k == start ? static_cast<std::size_t>(a.loc.offset) : 0;
        // A location inside a word checks that word from its start.
        while (k == start && p > 0 && p < t.size() && letter(t[p - 1]) && letter(t[p])) p--;
        while (p < t.size()) {
            if (!letter(t[p])) {
                p++;
                continue;
            }
            std::size_t q = p;
            while (q < t.size() && (letter(t[q]) || (t[q] == '\'' && q + 1 < t.size() && letter(t[q + 1])))) q++;
            std::string word = t.substr(p, q - p);
            bool allDigits = std::all_of(word.begin(), word.end(),
                                         [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
            if (!allDigits && !m.words.count(anyCase ? lower(word) : word)) {
                if (unknown++ == 0) {
                    r.range = T_TextRangeT{{order[k]->id, static_cast<int>(p)}, {order[k]->id, static_cast<int>(q)}};
                    firstWord = word;
                }
            }
            p = q;
        }
    }
    r.int1 = unknown;
    std::vector<std::string> suggestions;
    if (unknown && suggest)
        for (const std::string &w : m.words)
            if (oneEditAway(lower(firstWord), w) && suggestions.size() < 10) suggestions.push_back(w);
    r.items = stringList(suggestions);
    field(req, "unknown", unknown);
    if (unknown) {
        field(req, "word", firstWord);
        field(req, "suggestions", static_cast<long long>(suggestions.size()));
    }
}

void replaceText(Host &, Request &req) {
    const auto &a = argOf<ApiTnReplaceTextArgT>(req);
    std::string text = a.text ? a.text : "";
    fields(req, {{"doc", a.docId}, {"range", a.range}, {"bytes", static_cast<long long>(text.size())}});
    Model &m = model();
    if (int s = m.checkRange(a.docId, a.range)) return replyStatus(req, s);
    Object &o = *m.resolve(a.docId, a.range.begin.objId);
    m.eraseText(o, a.range.begin.offset, a.range.end.offset);
    m.insertText(o, a.range.begin.offset, text);
}

}  // namespace

void registerSearchHandlers() {
    registerHandlers({
        {API_TN_FIND, find},
        {API_TN_SPELL, spell},
        {API_TN_REPLACE_TEXT, replaceText},
    });
}

}  // namespace tarnel::host
