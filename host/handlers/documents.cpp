// Documents and books: the scripted operations (open, save, import, export,
// book update) with their return-parameter lists, closing, custom documents,
// imports between documents, comparison, the clipboard and its stack, text
// insets and the document-wide operations.
//
// Return-parameter list: entry 3 holds the status bits (kind 13, one word),
// entry 2 the file name used (kind 3); a book update adds entry 4, the
// components it could not find (kind 6).
#include <fstream>
#include <sstream>

#include "common.h"

namespace tarnel::host {
namespace {

// Status bits of the return-parameter lists.
enum : int {
    bitDone = 0,              // the operation was carried out
    bitMissing = 1,           // the file does not exist
    bitUnreadable = 2,        // the file could not be read or understood
    bitAlreadyOpen = 3,       // open: the document was open already
    bitCreated = 4,           // open: a new document was made under the name
    bitWriteFailed = 5,       // save, export: the file could not be written
    bitNotBook = 6,           // book update: the id is not a book
    bitNoDocument = 7,        // the document id is unknown
    bitComponentMissing = 8,  // book update: a component file is missing
    bitBadLocation = 9,       // import: the text location is not usable
};

// Builds a return-parameter list in the reply (malloc'd, freed with it).
T_PropValsT *returnList(Request &req, int bits, const std::string &file,
                        const std::vector<std::string> *missing = nullptr) {
    std::vector<Prop> props;
    T_TypedValT status{};
    status.kind = TA_KIND_INTS;
    status.u.ints = {1, &bits};
    props.push_back(Prop{3, "", Value(status)});
    props.push_back(Prop{2, "", Value::ofString(file)});
    if (missing) {
        std::vector<char *> names;
        for (const std::string &s : *missing) names.push_back(const_cast<char *>(s.c_str()));
        T_TypedValT v{};
        v.kind = TA_KIND_STRINGS;
        v.u.strings = {static_cast<u_int>(names.size()), names.data()};
        props.push_back(Prop{4, "", Value(v)});
    }
    static const char hex[] = "0123456789abcdef";
    std::string h;
    for (int b = bits; h.empty() || b; b >>= 4) h.insert(h.begin(), hex[b & 15]);
    req.detail.word("bits", "0x" + h);
    auto *list = static_cast<T_PropValsT *>(std::calloc(1, sizeof(T_PropValsT)));
    *list = propList(props);
    return list;
}

// Fails a scripted operation: the status, and a return list of the one bit.
template <typename Ret> void failWith(Request &req, Ret &r, int status, int bit, const std::string &file) {
    r.status = status;
    r.returned = returnList(req, 1 << bit, file);
}

// A string of the request, noted on the request line.
std::string noted(Request &req, const char *key, const char *value) {
    std::string s = str(value);
    field(req, key, s);
    return s;
}

// Whether the document of a scripted operation exists (noted); a missing one
// fails the operation.
template <typename Ret> bool docKnown(Request &req, Ret &r, u_int docId, const std::string &file) {
    field(req, "doc", docId);
    if (model().document(docId)) return true;
    failWith(req, r, st::noObject, bitNoDocument, file);
    return false;
}

// A scripted operation succeeded on the object `id`.
template <typename Ret> void succeed(Request &req, Ret &r, u_int id, const std::string &file) {
    r.objId = id;
    r.returned = returnList(req, 1 << bitDone, file);
}

bool fileExists(const std::string &path) { return std::ifstream(path).good(); }

bool readFile(const std::string &path, std::string *out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    *out = s.str();
    return true;
}

bool writeFile(const std::string &path, const std::string &data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
    out.close();
    return !out.fail();
}

// The document's text as plain text: its own, then each object's, one line each.
std::string plainText(u_int docId) {
    Model &m = model();
    std::string out;
    auto add = [&](const Object &o) {
        if (!o.text.empty()) out += o.text + "\n";
    };
    add(*m.object(docId));
    for (u_int id : m.document(docId)->objects) add(*m.object(id));
    return out;
}

// ---- Scripted operations ---------------------------------------------------

// Open params honoured: 1 (int) non-zero makes a new document when the file
// is missing; 2 (int) non-zero makes that new document a book.
void open(Host &, Request &req) {
    const auto &a = argOf<ApiTnOpenArgT>(req);
    auto &r = resOf<ApiTnOpenRetT>(req);
    std::string name = noted(req, "name", a.name);
    Model &m = model();
    int bits = 0;
    if (Document *d = m.documentByPath(name)) {
        r.objId = d->id;
        bits = 1 << bitDone | 1 << bitAlreadyOpen;
    } else if (fileExists(name)) {
        try {
            r.objId = m.loadDocumentFile(name);
            bits = 1 << bitDone;
        } catch (const ModelError &e) {
            r.status = st::noFile;
            bits = 1 << bitUnreadable;
            field(req, "error", e.what());
        }
    } else if (intParam(a.params, 1, 0)) {
        r.objId = m.newDocument(name, intParam(a.params, 2, 0) != 0);
        bits = 1 << bitDone | 1 << bitCreated;
    } else {
        r.status = st::noFile;
        bits = 1 << bitMissing;
    }
    if (r.status == st::ok) field(req, "id", r.objId);
    r.returned = returnList(req, bits, name);
}

// Save writes the document's description; an empty name saves under the
// name it has. It replies with the document's id.
void save(Host &, Request &req) {
    const auto &a = argOf<ApiTnSaveArgT>(req);
    auto &r = resOf<ApiTnSaveRetT>(req);
    field(req, "doc", a.docId);
    Document *d = model().document(a.docId);
    std::string name = a.name && *a.name ? a.name : d ? d->path : "";
    field(req, "name", name);
    if (!d) return failWith(req, r, st::noObject, bitNoDocument, name);
    if (name.empty() || !writeFile(name, model().describe(a.docId).dump(2) + "\n"))
        return failWith(req, r, st::noFile, bitWriteFailed, name);
    d->path = name;
    d->file = name;
    d->modified = false;
    succeed(req, r, a.docId, name);
}

// Import inserts a file's bytes as text at the location; it replies with the
// object that received them.
void import(Host &, Request &req) {
    const auto &a = argOf<ApiTnImportArgT>(req);
    auto &r = resOf<ApiTnImportRetT>(req);
    std::string name = noted(req, "name", a.name);
    fieldLoc(req, "loc", a.loc);
    if (!docKnown(req, r, a.docId, name)) return;
    Model &m = model();
    std::string text;
    if (int s = m.checkLoc(a.docId, a.loc)) return failWith(req, r, s, bitBadLocation, name);
    if (!fileExists(name)) return failWith(req, r, st::noFile, bitMissing, name);
    if (!readFile(name, &text)) return failWith(req, r, st::noFile, bitUnreadable, name);
    Object &o = *m.resolve(a.docId, a.loc.objId);
    m.insertText(o, a.loc.offset, text);
    field(req, "bytes", static_cast<long long>(text.size()));
    succeed(req, r, o.id, name);
}

// Export writes the document's text as plain text.
void exportDoc(Host &, Request &req) {
    const auto &a = argOf<ApiTnExportArgT>(req);
    auto &r = resOf<ApiTnExportRetT>(req);
    std::string name = noted(req, "name", a.name);
    if (!docKnown(req, r, a.docId, name)) return;
    if (name.empty() || !writeFile(name, plainText(a.docId))) return failWith(req, r, st::noFile, bitWriteFailed, name);
    succeed(req, r, a.docId, name);
}

// A book update checks that every component (objects of type book component,
// named by their file) can be found: open under that name, or on disk.
void updateBook(Host &, Request &req) {
    const auto &a = argOf<ApiTnUpdateBookArgT>(req);
    auto &r = resOf<ApiTnUpdateBookRetT>(req);
    field(req, "book", a.docId);
    Model &m = model();
    Document *d = m.document(a.docId);
    if (!d) return failWith(req, r, st::noObject, bitNoDocument, "");
    if (!d->book) return failWith(req, r, st::wrongType, bitNotBook, d->path);
    std::vector<std::string> missing;
    int components = 0;
    for (u_int id : d->objects) {
        const Object &o = *m.object(id);
        if (o.type != ot::bookComponent) continue;
        components++;
        if (!m.documentByPath(o.name) && !fileExists(o.name)) missing.push_back(o.name);
    }
    field(req, "components", components);
    field(req, "missing", static_cast<long long>(missing.size()));
    d->applied["update"]++;
    r.status = missing.empty() ? st::ok : st::notFound;
    r.returned = returnList(req, missing.empty() ? 1 << bitDone : 1 << bitComponentMissing, d->path, &missing);
}

// ---- Other document calls --------------------------------------------------

// Close: flag bit 0 discards unsaved changes; without it a modified document
// stays open and the reply is st::unsaved.
void close(Host &, Request &req) {
    const auto &a = argOf<ApiTnCloseDocArgT>(req);
    Document *d = docOrFail(req, a.docId, {{"flags", a.int1}});
    if (!d) return;
    if (d->modified && !(a.int1 & 1)) return replyStatus(req, st::unsaved);
    model().closeDocument(a.docId);
}

// Revert reloads the document's file under the same document id.
void revert(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralDocArgT>(req);
    Document *d = docOrFail(req, a.docId);
    if (!d) return;
    try {
        model().reload(a.docId);
    } catch (const ModelError &e) {
        field(req, "error", e.what());
        replyStatus(req, st::noFile);
    }
}

void cacheDoc(Host &, Request &req) {
    const auto &a = argOf<ApiTnSilentPrintDocArgT>(req);
    auto &r = resOf<ApiTnCustomDocRetT>(req);
    Document *d = docOrFail(req, a.docId);
    if (!d) return;
    d->cached = true;
    r.objId = d->id;
}

void silentPrint(Host &, Request &req) {
    const auto &a = argOf<ApiTnSilentPrintDocArgT>(req);
    if (Document *d = docOrFail(req, a.docId)) field(req, "printed", ++d->applied["print"]);
}

// A custom document: page width and height (points) first, then eight more
// set-up numbers, kept as its property 75.
void customDoc(Host &, Request &req) {
    const auto &a = argOf<ApiTnCustomDocArgT>(req);
    auto &r = resOf<ApiTnCustomDocRetT>(req);
    int v[10] = {a.int1, a.int2, a.int3, a.int4, a.int5, a.int6, a.int7, a.int8, a.int9, a.int10};
    field(req, "width", v[0]);
    field(req, "height", v[1]);
    if (v[0] <= 0 || v[1] <= 0) {
        r.status = st::badArgument;
        return;
    }
    Model &m = model();
    static int untitled = 0;
    u_int id = m.newDocument("Untitled" + std::to_string(++untitled), false);
    T_TypedValT setup{};
    setup.kind = TA_KIND_INTS;
    setup.u.ints = {10, v};
    m.object(id)->set(pn::customSetup, "", Value(setup));
    r.objId = id;
    field(req, "id", id);
}

// Imports into a document from the document uint1: `Copy` copies what the
// import takes, keeping what the document has already when flag bit 0 is
// set, and gives how many it copied.
template <typename Arg, int (*Copy)(u_int docId, u_int from, bool keep)> void importFrom(Host &, Request &req) {
    const auto &a = argOf<Arg>(req);
    Document *d = docOrFail(req, a.docId, {{"from", a.uint1}, {"flags", a.int1}});
    if (!d) return;
    if (!model().document(a.uint1)) return replyStatus(req, st::noObject);
    field(req, "copied", Copy(a.docId, a.uint1, a.int1 & 1));
    d->modified = true;
}

// The document properties (formats).
int copyFormats(u_int docId, u_int from, bool keep) {
    Model &m = model();
    Object &to = *m.object(docId);
    int copied = 0;
    for (const Prop &p : m.object(from)->props) {
        if (keep && to.find(p.num, p.name)) continue;
        to.set(p.num, p.name, p.value);
        copied++;
    }
    return copied;
}

// Element definitions, matched by name.
int copyElementDefs(u_int docId, u_int from, bool keep) {
    Model &m = model();
    int copied = 0;
    std::vector<u_int> defs;
    for (u_int id : m.document(from)->objects)
        if (m.object(id)->type == ot::elementDef) defs.push_back(id);
    for (u_int id : defs) {
        Object def = *m.object(id);
        Object *to = m.named(docId, ot::elementDef, def.name);
        if (to && keep) continue;
        if (!to) {
            to = &m.create(docId, ot::elementDef);
            to->name = def.name;
        }
        to->props = def.props;
        copied++;
    }
    return copied;
}

// Generates a list document for a book: one line per component, under the
// name "<book>.gen<kind>"; flag bit 0 numbers the lines. A list generated
// before is replaced.
void simpleGenerate(Host &, Request &req) {
    const auto &a = argOf<ApiTnSimpleGenerateArgT>(req);
    Document *d = docOrFail(req, a.docId, {{"kind", a.int1}, {"flags", a.int2}});
    if (!d) return;
    if (!d->book) return replyStatus(req, st::wrongType);
    Model &m = model();
    std::string name = d->path + ".gen" + std::to_string(a.int1);
    std::vector<std::string> lines;
    for (u_int id : d->objects)
        if (m.object(id)->type == ot::bookComponent) lines.push_back(m.object(id)->name);
    if (Document *old = m.documentByPath(name)) m.closeDocument(old->id);
    u_int gen = m.newDocument(name, false);
    for (std::size_t i = 0; i < lines.size(); i++) {
        Object &o = m.create(gen, ot::textFrame);
        o.text = (a.int2 & 1 ? std::to_string(i + 1) + " " : "") + lines[i];
    }
    field(req, "generated", gen);
}

// Compares the texts of two documents, object by object in document order.
// Replies with the id of a summary document that holds one text object per
// difference ("<str2><first>\n<str3><second>"), named str1 or "Comparison",
// and the id of its first difference object (0 when the texts agree). Flag
// bit 0 ignores case; a positive int2 caps the differences reported.
void compare(Host &, Request &req) {
    const auto &a = argOf<ApiTnCompareArgT>(req);
    auto &r = resOf<ApiTnCompareRetT>(req);
    field(req, "first", a.uint1);
    field(req, "second", a.uint2);
    Model &m = model();
    if (!m.document(a.uint1) || !m.document(a.uint2)) {
        r.status = st::noObject;
        return;
    }
    auto texts = [&](u_int docId) {
        std::vector<std::string> out;
        for (u_int id : m.document(docId)->objects)
            if (!m.object(id)->text.empty()) out.push_back(m.object(id)->text);
        return out;
    };
    auto fold = [&](std::string s) {
        if (a.int1 & 1)
            for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::vector<std::string> one = texts(a.uint1), two = texts(a.uint2);
    std::string name = a.str1 && *a.str1 ? a.str1 : "Comparison";
    if (Document *old = m.documentByPath(name)) m.closeDocument(old->id);
    u_int summary = m.newDocument(name, false);
    int differences = 0;
    for (std::size_t i = 0; i < std::max(one.size(), two.size()); i++) {
        std::string x = i < one.size() ? one[i] : "", y = i < two.size() ? two[i] : "";
        if (fold(x) == fold(y)) continue;
        if (a.int2 > 0 && differences == a.int2) break;
        differences++;
        Object &o = m.create(summary, ot::textFrame);
        o.text = std::string(a.str2 ? a.str2 : "") + x + "\n" + (a.str3 ? a.str3 : "") + y;
        if (!r.uint2) r.uint2 = o.id;
    }
    r.uint1 = summary;
    field(req, "differences", differences);
}

// ---- Clipboard ------------------------------------------------------------

// The selection of a document (its property 72), checked; null with the
// reply status set when there is none or it is out of bounds.
Object *selection(Request &req, u_int docId, T_TextRangeT *range) {
    Model &m = model();
    const Prop *p = m.object(docId)->find(pn::textSelection, "");
    if (!p || p->value.kind() != TA_KIND_TEXT_RANGE) {
        replyStatus(req, st::noProperty);
        return nullptr;
    }
    *range = p->value.get().u.textRange;
    fieldRange(req, "selection", *range);
    if (int s = m.checkRange(docId, *range)) {
        replyStatus(req, s);
        return nullptr;
    }
    return m.resolve(docId, range->begin.objId);
}

void collapseSelection(u_int docId, const T_TextLocT &at) {
    T_TypedValT v{};
    v.kind = TA_KIND_TEXT_RANGE;
    v.u.textRange = {at, at};
    model().object(docId)->set(pn::textSelection, "", Value(v));
}

// Cut, clear, copy and paste work on the document's selection. Flag bit 0
// makes cut and copy append to the clipboard instead of replacing it.
enum Clip { clipCut, clipClear, clipCopy, clipPaste };

template <Clip Op> void clipboardOp(Host &, Request &req) {
    const auto &a = argOf<ApiTnCutCopyPasteArgT>(req);
    if (!docOrFail(req, a.docId, {{"flags", a.int1}})) return;
    T_TextRangeT r;
    Object *o = selection(req, a.docId, &r);
    if (!o) return;
    Model &m = model();
    if constexpr (Op == clipPaste) {
        m.eraseText(*o, r.begin.offset, r.end.offset);
        m.insertText(*o, r.begin.offset, m.clipboard);
        int end = r.begin.offset + static_cast<int>(m.clipboard.size());
        collapseSelection(a.docId, T_TextLocT{o->id, end});
        field(req, "bytes", static_cast<long long>(m.clipboard.size()));
        return;
    }
    std::string text = o->text.substr(static_cast<std::size_t>(r.begin.offset),
                                      static_cast<std::size_t>(r.end.offset - r.begin.offset));
    if (Op != clipClear) m.clipboard = (a.int1 & 1 ? m.clipboard : "") + text;
    if (Op != clipCopy) {
        m.eraseText(*o, r.begin.offset, r.end.offset);
        collapseSelection(a.docId, r.begin);
    }
}

void pushClipboard(Host &, Request &req) {
    Model &m = model();
    m.clipboardStack.push_back(m.clipboard);
    field(req, "depth", static_cast<long long>(m.clipboardStack.size()));
}

void popClipboard(Host &, Request &req) {
    Model &m = model();
    if (m.clipboardStack.empty()) return replyStatus(req, st::emptyStack);
    m.clipboard = m.clipboardStack.back();
    m.clipboardStack.pop_back();
    field(req, "depth", static_cast<long long>(m.clipboardStack.size()));
}

// ---- Text insets and document-wide operations -----------------------------

// A text inset is an object whose string property 76 names the file it shows.
Object *inset(Request &req, u_int docId, u_int insetId, std::string *source) {
    if (!docOrFail(req, docId, {{"inset", insetId}})) return nullptr;
    Object *o = model().resolve(docId, insetId);
    if (!o) {
        replyStatus(req, st::noObject);
        return nullptr;
    }
    const Prop *p = o->find(pn::insetSource, "");
    if (!p || p->value.kind() != TA_KIND_STRING) {
        replyStatus(req, st::wrongType);
        return nullptr;
    }
    *source = p->value.get().u.string;
    return o;
}

void updateInset(Host &, Request &req) {
    const auto &a = argOf<ApiTnUpdateTextInsetArgT>(req);
    std::string source, text;
    Object *o = inset(req, a.docId, a.objId, &source);
    if (!o) return;
    field(req, "source", source);
    if (!readFile(source, &text)) return replyStatus(req, st::noFile);
    model().eraseText(*o, 0, static_cast<int>(o->text.size()));
    model().insertText(*o, 0, text);
}

void deleteInsetContents(Host &, Request &req) {
    const auto &a = argOf<ApiTnDeleteTextInsetContentsArgT>(req);
    std::string source;
    if (Object *o = inset(req, a.docId, a.objId, &source)) model().eraseText(*o, 0, static_cast<int>(o->text.size()));
}

// Applies a page's layout: the properties of a page object of another (or
// the same) document become the document's.
void applyPageLayout(Host &, Request &req) {
    const auto &a = argOf<ApiTnApplyPageLayoutArgT>(req);
    Document *d = docOrFail(req, a.docId, {{"from", a.uint1}, {"page", a.uint2}});
    if (!d) return;
    Object *page = model().resolve(a.uint1, a.uint2);
    if (!page || !model().document(a.uint1)) return replyStatus(req, st::noObject);
    Object &to = *model().object(a.docId);
    for (const Prop &p : std::vector<Prop>(page->props)) to.set(p.num, p.name, p.value);
    d->applied["layout"]++;
    d->modified = true;
}

// The operations on a whole document that have nothing to lay out here: each
// is counted on the document (the transcript shows the count).
template <const char *Name, bool Modifies> void docOp(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralDocArgT>(req);
    if (Document *d = docOrFail(req, a.docId)) {
        field(req, Name, ++d->applied[Name]);
        d->modified = d->modified || Modifies;
    }
}
constexpr char kRestart[] = "restartNumbering", kRehyphenate[] = "rehyphenate", kChangebars[] = "clearChangebars",
               kEqn[] = "resetEquations", kFrames[] = "resetFrames", kVariables[] = "updateVariables",
               kReformat[] = "reformat", kRedisplay[] = "redisplay";

void updateXRefs(Host &, Request &req) {
    const auto &a = argOf<ApiTnUpdateXRefsArgT>(req);
    if (Document *d = docOrFail(req, a.docId, {{"flags", a.int1}})) {
        field(req, "updateXRefs", ++d->applied["updateXRefs"]);
        d->modified = true;
    }
}

}  // namespace

void registerDocumentHandlers() {
    registerHandlers({
        {API_TN_SILENT_PRINT_DOC, silentPrint},
        {API_TN_OPEN, open},
        {API_TN_SAVE, save},
        {API_TN_CUSTOM, customDoc},
        {API_TN_CLOSE, close},
        {API_TN_REVERT, revert},
        {API_TN_IMPORT, import},
        {API_TN_SIMPLE_IMPORT_FORMATS, importFrom<ApiTnSimpleImportFormatsArgT, copyFormats>},
        {API_TN_SIMPLE_GENERATE, simpleGenerate},
        {API_TN_COMPARE, compare},
        {API_TN_CUT, clipboardOp<clipCut>},
        {API_TN_CLEAR, clipboardOp<clipClear>},
        {API_TN_COPY, clipboardOp<clipCopy>},
        {API_TN_PASTE, clipboardOp<clipPaste>},
        {API_TN_UPDATE_TEXTINSET, updateInset},
        {API_TN_APPLY_PAGE_LAYOUT, applyPageLayout},
        {API_TN_DELETE_TEXTINSET_CONTENTS, deleteInsetContents},
        {API_TN_EXPORT, exportDoc},
        {API_TN_RESTART_PGF_NUMBERING, docOp<kRestart, true>},
        {API_TN_REHYPHENATE, docOp<kRehyphenate, true>},
        {API_TN_CLEAR_ALL_CHANGEBARS, docOp<kChangebars, true>},
        {API_TN_RESET_EQN_SETTINGS, docOp<kEqn, true>},
        {API_TN_RESET_REFERENCE_FRAMES, docOp<kFrames, true>},
        {API_TN_UPDATE_VARIABLES, docOp<kVariables, true>},
        {API_TN_UPDATE_XREFS, updateXRefs},
        {API_TN_REFORMAT, docOp<kReformat, false>},
        {API_TN_REDISPLAY, docOp<kRedisplay, false>},
        {API_TN_SIMPLE_IMPORT_ELEMENT_DEFS, importFrom<ApiTnSimpleImportElementDefsArgT, copyElementDefs>},
        {API_TN_PUSH_CLIPBOARD, pushClipboard},
        {API_TN_POP_CLIPBOARD, popClipboard},
        {API_TN_CACHE_DOC, cacheDoc},
        {API_TN_UPDATE_BOOK, updateBook},
    });
}

}  // namespace tarnel::host
