// The host's in-memory documents: documents and books, the objects in them,
// typed properties by number and by name, text with property runs, element
// structure and tables, the clipboard stack and the spelling word list.
// Handlers read and change it; replies get deep copies, never the model's
// own memory.
//
// Addressing (docId, objId): docId 0 and objId 0 is the session object (the
// host itself: progress and other session-wide properties); docId 0 with an
// object id finds that object in any document; otherwise the document must be
// open and objId is either the document's own id (the document addressed as an
// object) or an object of that document.
#ifndef TNHOST_MODEL_H
#define TNHOST_MODEL_H

#include <rpc/rpc.h>

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <tarnel/api_values.h>
#include <tarnel/tnapi_status.h>

namespace tarnel::host {

// Status codes the model answers with (0 is success), as the public header
// tarnel/tnapi_status.h documents them for clients.
namespace st {
constexpr int ok = 0;
constexpr int noObject = TA_HOST_NO_OBJECT;          // unknown document or object
constexpr int noProperty = TA_HOST_NO_PROPERTY;      // the object has no such property
constexpr int wrongKind = TA_HOST_WRONG_KIND;        // the property holds another kind of value
constexpr int badLocation = TA_HOST_OUT_OF_BOUNDS;   // text location, range or element location out of bounds
constexpr int notFound = TA_HOST_NOT_FOUND;          // nothing matched (find, named or unique lookup)
constexpr int noFile = TA_HOST_FILE_FAILED;          // a file could not be read, written or understood
constexpr int emptyStack = TA_HOST_EMPTY_CLIPBOARD;  // pop of an empty clipboard stack
constexpr int wrongType = TA_HOST_WRONG_TYPE;        // the object is not of the type the request needs
constexpr int badArgument = TA_HOST_BAD_ARGUMENT;    // an argument outside what the request accepts
constexpr int unsaved = TA_HOST_MODIFIED;            // close of a modified document without the discard flag
}  // namespace st

// Object types that the model itself gives meaning to; clients may create
// objects of any other type number, which are plain objects.
namespace ot {
constexpr int session = 0;
constexpr int document = 1;
constexpr int book = 2;
constexpr int graphic = 3;  // default for graphic, named, series and sub-objects
constexpr int textFrame = 4;
constexpr int elementDef = 6;  // an entry of the element catalogue
constexpr int element = 7;
constexpr int table = 8;
constexpr int row = 9;
constexpr int cell = 10;
constexpr int bookComponent = 11;
}  // namespace ot

// Fixed property numbers the model computes or relies on.
namespace pn {
constexpr int elementCatalog = 1488;  // document: computed from its element definitions
constexpr int attributeDefs = 1584;   // element definition
constexpr int attributes = 1634;      // element
constexpr int progress = 104;         // session object: last progress value
constexpr int firstObject = 116;      // document: head of its object chain (kind id)
constexpr int nextObject = 1051;      // object: next object of the chain, 0 ends it (kind id)
constexpr int textSelection = 72;     // document: selected text (kind text range)
constexpr int elementSelection = 73;  // document: selected elements (kind element range)
constexpr int tableSelection = 74;    // table: selected rows and columns (kind ints)
constexpr int customSetup = 75;       // custom document: its ten set-up numbers (kind ints)
constexpr int insetSource = 76;       // text inset: the file it shows (kind string)
}  // namespace pn

// A T_TypedValT that owns its memory (deep copies in and out).
class Value {
  public:
    Value();
    explicit Value(const T_TypedValT &v);  // copies v
    Value(const Value &other);
    Value &operator=(const Value &other);
    ~Value();
    const T_TypedValT &get() const { return v_; }
    int kind() const { return v_.kind; }
    T_TypedValT copy() const;  // a deep copy the caller owns (malloc'd, xdr_free-able)
    static Value ofInt(int kind, int value);
    static Value ofString(const std::string &s);

  private:
    T_TypedValT v_;
};

// A property: by number (num != 0) or by name (num == 0). The two are separate
// name spaces.
struct Prop {
    int num = 0;
    std::string name;
    Value value;
};

// Properties over text [begin, end) of one object; a later run wins.
struct TextRun {
    int begin = 0;
    int end = 0;
    std::vector<Prop> props;
};

struct Object {
    u_int id = 0;
    u_int docId = 0;
    int type = ot::graphic;
    std::string name;
    int unique = 0;               // number unique in the document, given at creation
    u_int parent = 0;             // container: frame, parent element, table of a row...
    std::vector<u_int> children;  // ordered
    u_int elementDef = 0;         // element: its definition
    bool anchored = false;
    T_TextLocT anchor{};  // anchored object: where
    std::string format;   // anchored formatted object, table: format name
    std::string text;     // text this object holds (bytes of the host encoding)
    std::vector<TextRun> runs;
    std::vector<Prop> props;
    int straddleRows = 0, straddleCols = 0;  // cell: straddle extent (0 none)

    const Prop *find(int num, const std::string &name) const;
    Prop *find(int num, const std::string &name);
    void set(int num, const std::string &name, const Value &v);
    bool erase(int num, const std::string &name);
};

struct Document {
    u_int id = 0;
    std::string path;  // name it answers to (open finds it by this or by file)
    std::string file;  // file it was loaded from or last saved to ("" none)
    bool book = false;
    bool modified = false;
    std::vector<u_int> objects;  // its objects in creation order (not itself)
    int nextUnique = 1;          // unique numbers of its objects
    bool cached = false;
    std::map<std::string, int> applied;  // document-wide operations run on it, by name
    T_TextRangeT shown{};                // text last scrolled to or centred on
    u_int shownObject = 0;               // graphic object last centred on
};

// A document description (the schema in host/README.md). Throws ModelError.
struct ModelError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class Model {
  public:
    Model();

    // ---- Documents --------------------------------------------------------
    // Loads one document from its JSON description; returns its id.
    u_int loadDocument(const nlohmann::json &desc, const std::string &path);
    // Reads and loads a file; throws ModelError with the path and the reason.
    u_int loadDocumentFile(const std::string &path);
    // The description loadDocument reads back (used by save).
    nlohmann::json describe(u_int docId) const;
    // Reloads a document from its file under the same id (its objects get new
    // ids); throws ModelError, leaving the document as it was, when it fails.
    void reload(u_int docId);
    u_int newDocument(const std::string &path, bool book);
    void closeDocument(u_int docId);
    Document *document(u_int docId);
    Document *documentByPath(const std::string &path);  // by name or file
    const std::map<u_int, Document> &documents() const { return docs_; }

    // ---- Objects ----------------------------------------------------------
    // The object a request addresses, or null (see the header comment).
    Object *resolve(u_int docId, u_int objId);
    Object *object(u_int id);
    // Creates an object of the document; returns it (ids are never reused).
    Object &create(u_int docId, int type);
    // Deletes an object, its children and anything anchored in its text.
    void remove(u_int id);
    Object *named(u_int docId, int type, const std::string &name);
    Object *uniqueObject(u_int docId, int type, int unique);

    // ---- Text -------------------------------------------------------------
    // Status of a location or range check (st::ok when it is usable).
    int checkLoc(u_int docId, const T_TextLocT &loc);
    int checkRange(u_int docId, const T_TextRangeT &range);
    // Inserts text; runs and anchors after the point move with it.
    void insertText(Object &o, int offset, const std::string &text);
    void eraseText(Object &o, int begin, int end);
    // The properties in force at an offset: runs covering it, later ones winning.
    std::vector<Prop> textProps(const Object &o, int offset) const;
    void setTextProp(Object &o, int begin, int end, const Prop &p);

    // ---- Clipboard and spelling --------------------------------------------
    std::string clipboard;
    std::vector<std::string> clipboardStack;
    std::set<std::string> words;  // known words for spelling (lower case)

  private:
    std::map<u_int, Object> objects_;
    std::map<u_int, Document> docs_;
    u_int nextId_ = 1;
};

// The one model of this host run.
Model &model();

// Loads the scenario's "documents" entries (paths, or inline descriptions);
// throws ModelError naming the entry.
void loadDocuments(const std::vector<nlohmann::json> &entries);
// A typed value as document descriptions write it: {"int": 1}, {"string": "x"}...
nlohmann::json describeValue(const T_TypedValT &t);

}  // namespace tarnel::host

#endif
