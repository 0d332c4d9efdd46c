#include "wordlist.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace tarnel::host::words {
namespace {

// Every built-in word, with '-' at its hyphenation points.
const char *const kHyphenated[] = {
    "ab-sent",     "ac-cept",  "ac-count",     "ad-dress",    "again",       "al-ter",      "al-ways",
    "an-swer",     "ap-ple",   "ar-ti-cle",    "avoid",       "bal-ance",    "beau-ti-ful", "be-gin",
    "be-gin-ning", "bet-ter",  "big",          "black",       "book",        "bor-der",     "bot-tom",
    "box",         "break",    "bright",       "build",       "but-ton",     "cal-en-dar",  "can-cel",
    "cap-tion",    "care-ful", "cat-a-log",    "cen-ter",     "chap-ter",    "char-ac-ter", "check",
    "choose",      "clear",    "close",        "col-or",      "col-umn",     "com-mand",    "com-mon",
    "com-put-er",  "con-tent", "con-tin-ue",   "cor-rect",    "cre-ate",     "dark",        "de-fault",
    "de-lete",     "de-sign",  "dic-tion-ary", "dif-fer-ent", "doc-u-ment",  "ed-it",       "el-e-ment",
    "end",         "er-ror",   "ex-am-ple",    "ex-port",     "fast",        "file",        "fin-ish",
    "first",       "font",     "for-mat",      "frame",       "gen-er-ate",  "good",        "graph-ic",
    "hap-py",      "head-er",  "height",       "help",        "hy-phen",     "hy-phen-ate", "hy-phen-a-tion",
    "im-age",      "im-port",  "in-dex",       "in-sert",     "la-bel",      "large",       "last",
    "lay-out",     "let-ter",  "light",        "line",        "list",        "long",        "man-u-al",
    "mar-gin",     "mem-o-ry", "men-u",        "mes-sage",    "name",        "new",         "num-ber",
    "ob-ject",     "old",      "open",         "or-der",      "page",        "pa-per",      "par-a-graph",
    "pic-ture",    "print",    "pro-gram",     "prop-er-ty",  "quick",       "ref-er-ence", "re-move",
    "re-port",     "right",    "sad",          "sec-tion",    "se-lect",     "sen-tence",   "short",
    "size",        "slow",     "small",        "spell-ing",   "start",       "style",       "ta-ble",
    "test",        "text",     "the-sau-rus",  "ti-tle",      "un-der-line", "val-ue",      "var-i-a-ble",
    "view",        "win-dow",  "word",         "write",       "wrong",
};

struct Thesaurus {
    const char *word;
    std::vector<std::string> synonyms, antonyms, related;
};

const Thesaurus kThesaurus[] = {
    {"begin", {"commence", "open", "start"}, {"end", "finish"}, {"beginning"}},
    {"big", {"great", "huge", "large"}, {"little", "small"}, {"size"}},
    {"choose", {"elect", "pick", "select"}, {"reject"}, {"choice"}},
    {"correct", {"accurate", "exact", "right"}, {"incorrect", "wrong"}, {"correction"}},
    {"dark", {"black", "dim", "shadowy"}, {"bright", "light"}, {"night"}},
    {"document", {"file", "paper", "record"}, {}, {"page", "text"}},
    {"end", {"close", "finish", "stop"}, {"begin", "start"}, {"ending"}},
    {"error", {"fault", "mistake", "slip"}, {}, {"correction"}},
    {"fast", {"quick", "rapid", "swift"}, {"slow"}, {"speed"}},
    {"good", {"fine", "fit", "sound"}, {"bad", "poor"}, {"goodness"}},
    {"happy", {"cheerful", "content", "glad"}, {"sad", "unhappy"}, {"joy"}},
    {"large", {"big", "huge", "vast"}, {"little", "small"}, {"size"}},
    {"light", {"bright", "pale"}, {"dark", "heavy"}, {"lamp"}},
    {"quick", {"fast", "rapid", "swift"}, {"slow"}, {"speed"}},
    {"sad", {"sorrowful", "unhappy"}, {"glad", "happy"}, {"grief"}},
    {"select", {"choose", "pick"}, {"reject"}, {"selection"}},
    {"slow", {"gradual", "unhurried"}, {"fast", "quick"}, {"speed"}},
    {"small", {"little", "minor", "tiny"}, {"big", "large"}, {"size"}},
    {"start", {"begin", "commence"}, {"end", "finish", "stop"}, {"beginning"}},
    {"wrong", {"incorrect", "mistaken"}, {"correct", "right"}, {"error"}},
};

struct Data {
    std::vector<std::string> list;                            // folded, sorted
    std::map<std::string, std::string, std::less<>> hyphens;  // word -> hyphenated
    std::map<std::string, ThesaurusEntry, std::less<>> thesaurus;
    std::vector<std::string> headwords;
    std::set<std::string, std::less<>> user;
    std::map<u_int, std::set<std::string, std::less<>>> documents;
};

Data &data() {
    static Data d = [] {
        Data d;
        for (const char *h : kHyphenated) {
            std::string word;
            for (const char *p = h; *p; ++p)
                if (*p != '-') word += *p;
            d.hyphens.emplace(word, h);
            d.list.push_back(word);
        }
        std::sort(d.list.begin(), d.list.end());
        for (const Thesaurus &t : kThesaurus) {
            d.thesaurus.emplace(t.word, ThesaurusEntry{t.synonyms, t.antonyms, t.related});
            d.headwords.push_back(t.word);
        }
        std::sort(d.headwords.begin(), d.headwords.end());
        return d;
    }();
    return d;
}

// Edit distance with adjacent swaps (optimal string alignment).
std::size_t distance(std::string_view a, std::string_view b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

}  // namespace

std::string fold(std::string_view word) {
    std::string out(word);
    for (char &c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

const std::vector<std::string> &mainList() { return data().list; }

bool isKnown(std::string_view word, u_int docId) {
    Data &d = data();
    std::string w = fold(word);
    if (std::binary_search(d.list.begin(), d.list.end(), w) || d.user.count(w)) return true;
    auto doc = d.documents.find(docId);
    return docId != 0 && doc != d.documents.end() && doc->second.count(w);
}

std::vector<std::string> nearest(const std::vector<std::string> &candidates, std::string_view word, std::size_t limit) {
    std::string w = fold(word);
    std::vector<std::pair<std::size_t, std::string>> found;
    for (const std::string &c : candidates) {
        // Lengths further apart than two edits cannot be within reach.
        if (c == w || (c.size() > w.size() ? c.size() - w.size() : w.size() - c.size()) > 2) continue;
        std::size_t dist = distance(w, c);
        if (dist <= 2) found.emplace_back(dist, c);
    }
    // A word in several dictionaries is offered once.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::vector<std::string> out;
    for (std::size_t i = 0; i < found.size() && out.size() < limit; ++i) out.push_back(found[i].second);
    return out;
}

std::vector<std::string> suggestions(std::string_view word, u_int docId, std::size_t limit) {
    std::vector<std::string> all = wordsOf(Dictionary::Main, 0);
    for (Dictionary extra : {Dictionary::User, Dictionary::Document}) {
        if (extra == Dictionary::Document && docId == 0) continue;
        std::vector<std::string> more = wordsOf(extra, docId);
        all.insert(all.end(), more.begin(), more.end());
    }
    return nearest(all, word, limit);
}

std::optional<std::string> hyphenate(std::string_view word) {
    auto it = data().hyphens.find(fold(word));
    if (it == data().hyphens.end()) return std::nullopt;
    return it->second;
}

const ThesaurusEntry *thesaurus(std::string_view word) {
    auto it = data().thesaurus.find(fold(word));
    return it == data().thesaurus.end() ? nullptr : &it->second;
}

const std::vector<std::string> &headwords() { return data().headwords; }

std::vector<std::string> wordsOf(Dictionary dictionary, u_int docId) {
    Data &d = data();
    switch (dictionary) {
    case Dictionary::Main: return d.list;
    case Dictionary::User: return {d.user.begin(), d.user.end()};
    case Dictionary::Document: {
        auto it = d.documents.find(docId);
        if (it == d.documents.end()) return {};
        return {it->second.begin(), it->second.end()};
    }
    }
    return {};
}

void addWord(Dictionary dictionary, u_int docId, std::string_view word) {
    if (dictionary == Dictionary::User)
        data().user.insert(fold(word));
    else if (dictionary == Dictionary::Document)
        data().documents[docId].insert(fold(word));
}

bool removeWord(Dictionary dictionary, u_int docId, std::string_view word) {
    Data &d = data();
    std::string w = fold(word);
    if (dictionary == Dictionary::User) return d.user.erase(w) > 0;
    if (dictionary != Dictionary::Document) return false;
    auto it = d.documents.find(docId);
    if (it == d.documents.end() || !it->second.erase(w)) return false;
    if (it->second.empty()) d.documents.erase(it);
    return true;
}

void resetDocument(u_int docId) { data().documents.erase(docId); }

T_StringsT toWireStrings(const std::vector<std::string> &list) {
    T_StringsT out{0, nullptr};
    if (list.empty()) return out;
    out.items = static_cast<StringT *>(std::calloc(list.size(), sizeof(StringT)));
    if (!out.items) return out;
    for (const std::string &s : list) {
        StringT copy = strdup(s.c_str());
        if (!copy) break;
        out.items[out.count++] = copy;
    }
    return out;
}

}  // namespace tarnel::host::words
