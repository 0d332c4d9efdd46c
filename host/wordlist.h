// The host's spelling data: a small English word list with hyphenation
// points, a thesaurus, and the dictionaries that clients change (one user
// dictionary for the whole host, one per document).
//
// Shared: the dictionary, thesaurus and hyphenation handlers
// (handlers/spelling.cpp) use it, and the spell checker of the document model
// (handlers/text.cpp) should judge words with isKnown() and propose
// suggestions(), so that a word a client adds to a dictionary stops being
// reported. mainList() gives the built-in words, e.g. to fill Model::words.
//
// Words are compared folded to lower case (ASCII letters only; other bytes of
// the host encoding are kept as they are).
#ifndef TNHOST_WORDLIST_H
#define TNHOST_WORDLIST_H

#include <rpc/rpc.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <tarnel/api_values.h>

namespace tarnel::host::words {

std::string fold(std::string_view word);

// The built-in words, folded and sorted.
const std::vector<std::string> &mainList();

// Whether a word is spelled right in a document: it is in the built-in list,
// the user dictionary, or that document's dictionary (docId 0: none).
bool isKnown(std::string_view word, u_int docId);

// The candidates nearest to `word` by edit distance (letters inserted,
// deleted, replaced or two neighbours swapped), at most two edits away and
// never the word itself; nearest first, then alphabetical; at most `limit`.
std::vector<std::string> nearest(const std::vector<std::string> &candidates, std::string_view word, std::size_t limit);

// Spelling suggestions for a word in a document, from every dictionary it uses.
std::vector<std::string> suggestions(std::string_view word, u_int docId, std::size_t limit = 8);

// The word (folded) with '-' at its hyphenation points, or nothing when the
// list does not know the word. A known word with no point comes back whole.
std::optional<std::string> hyphenate(std::string_view word);

struct ThesaurusEntry {
    std::vector<std::string> synonyms, antonyms, related;
};
// The entry for a word, or null; headwords() lists the words that have one.
const ThesaurusEntry *thesaurus(std::string_view word);
const std::vector<std::string> &headwords();

// The dictionaries, by the numbers clients name them with.
enum class Dictionary { Main = 0, User = 1, Document = 2 };

// The words of a dictionary (Document: that document's), sorted.
std::vector<std::string> wordsOf(Dictionary dictionary, u_int docId);
// Adds a word to the user or a document dictionary (the built-in list is
// fixed); adding one already there changes nothing.
void addWord(Dictionary dictionary, u_int docId, std::string_view word);
// Removes a word; false when it was not there.
bool removeWord(Dictionary dictionary, u_int docId, std::string_view word);
// Forgets a document's dictionary.
void resetDocument(u_int docId);

// A deep copy of a list of words as the wire's counted list (malloc'd
// array of strdup'd strings, released by xdr_free with the reply).
T_StringsT toWireStrings(const std::vector<std::string> &list);

}  // namespace tarnel::host::words

#endif
