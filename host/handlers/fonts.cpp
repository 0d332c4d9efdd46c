// Fonts, text encodings and the colour palette: how text is drawn.
//
// A small fixed catalogue of font families, each with the faces (variation,
// weight, angle) it has; combined families pair two families and offer the
// faces both have. Ghost fonts add families that are not installed: a name
// and numbers for a face, shown with an installed substitute. Names resolve
// to numbers through the catalogue and the ghosts.
#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

#include "common.h"
#include "wordlist.h"

namespace tarnel::host {
namespace {

struct Family {
    u_int number;
    const char *name;
    const char *encoding;
    std::vector<T_FontT> faces;
};

const std::vector<Family> kFamilies = {
    {0, "Serif", "Roman", {{0, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 2, 0}, {0, 0, 2, 1}, {0, 1, 0, 0}}},
    {1,
     "Sans",
     "Roman",
     {{1, 0, 0, 0}, {1, 0, 0, 2}, {1, 0, 1, 0}, {1, 0, 2, 0}, {1, 0, 2, 2}, {1, 1, 0, 0}, {1, 1, 2, 0}}},
    {2, "Mono", "Roman", {{2, 0, 0, 0}, {2, 0, 0, 2}, {2, 0, 2, 0}}},
    {3, "Symbol", "Symbol", {{3, 0, 0, 0}}},
};

struct Combined {
    u_int number;
    const char *name;
    u_int first, second;  // the families it pairs
};

const std::vector<Combined> kCombined = {
    {100, "Serif Symbol", 0, 3},
    {101, "Sans Mono", 1, 2},
};

// Names of variations, weights and angles: the index is the number.
enum Axis { kVariation, kWeight, kAngle };
const std::vector<std::string> kAxisNames[3] = {
    {"Regular", "Narrow", "Wide"},
    {"Regular", "Light", "Bold"},
    {"Regular", "Italic", "Oblique"},
};

const char *const kEncodings[] = {"Roman", "Symbol", "ISO-8859-1", "UTF-8"};

struct Ghost {
    std::string name;
    std::vector<T_FontT> faces;
    u_int substitute;  // family it is shown with
};

struct Ghosts {
    std::map<u_int, Ghost> families;
    std::map<std::string, u_int> axisNames[3];  // names ghosts added
};

Ghosts &ghosts() {
    static Ghosts g;
    return g;
}

const Family *family(u_int number) {
    for (const Family &f : kFamilies)
        if (f.number == number) return &f;
    return nullptr;
}

const Combined *combined(u_int number) {
    for (const Combined &c : kCombined)
        if (c.number == number) return &c;
    return nullptr;
}

bool sameFace(const T_FontT &a, const T_FontT &b) {
    return a.variation == b.variation && a.weight == b.weight && a.angle == b.angle;
}

bool installed(const T_FontT &font) {
    const Family *f = family(font.family);
    return f &&
           std::any_of(f->faces.begin(), f->faces.end(), [&](const T_FontT &face) { return sameFace(face, font); });
}

std::optional<u_int> familyNumber(const std::string &name) {
    for (const Family &f : kFamilies)
        if (name == f.name) return f.number;
    for (const Combined &c : kCombined)
        if (name == c.name) return c.number;
    for (const auto &[number, g] : ghosts().families)
        if (g.name == name) return number;
    return std::nullopt;
}

std::optional<u_int> axisNumber(Axis axis, const std::string &name) {
    const auto &names = kAxisNames[axis];
    auto it = std::find(names.begin(), names.end(), name);
    if (it != names.end()) return static_cast<u_int>(it - names.begin());
    auto g = ghosts().axisNames[axis].find(name);
    if (g != ghosts().axisNames[axis].end()) return g->second;
    return std::nullopt;
}

const char *encodingOf(u_int familyNumber) {
    if (const Family *f = family(familyNumber)) return f->encoding;
    auto g = ghosts().families.find(familyNumber);
    if (g != ghosts().families.end()) return family(g->second.substitute)->encoding;
    return nullptr;
}

// ---- Handlers: fonts ----------------------------------------------------------

void familyFonts(Host &, Request &req) {
    u_int number = static_cast<u_int>(argOf<int>(req));
    req.detail.number("family", argOf<int>(req));
    auto &r = resOf<ApiTnFamilyFontsRetT>(req);
    const std::vector<T_FontT> *faces = nullptr;
    if (const Family *f = family(number))
        faces = &f->faces;
    else if (auto g = ghosts().families.find(number); g != ghosts().families.end())
        faces = &g->second.faces;
    if (!faces) {
        r.status = st::notFound;
        return;
    }
    r.fonts.items = static_cast<T_FontT *>(std::calloc(faces->size(), sizeof(T_FontT)));
    if (r.fonts.items) {
        std::copy(faces->begin(), faces->end(), r.fonts.items);
        r.fonts.count = static_cast<u_int>(faces->size());
    }
}

// The faces both families of a combined family have, as (combined family,
// variation, weight, angle).
void combinedFamilyFonts(Host &, Request &req) {
    u_int number = argOf<ApiTnCombinedFamilyFontsArgT>(req).uint1;
    req.detail.number("family", number);
    auto &r = resOf<ApiTnCombinedFamilyFontsRetT>(req);
    const Combined *c = combined(number);
    if (!c) {
        r.status = st::notFound;
        return;
    }
    std::vector<T_CombinedFontT> out;
    const Family *second = family(c->second);
    for (const T_FontT &face : family(c->first)->faces)
        for (const T_FontT &other : second->faces)
            if (sameFace(face, other)) out.push_back({number, face.variation, face.weight, face.angle});
    r.fonts.items = static_cast<T_CombinedFontT *>(std::calloc(out.size() + 1, sizeof out[0]));
    if (r.fonts.items) {
        std::copy(out.begin(), out.end(), r.fonts.items);
        r.fonts.count = static_cast<u_int>(out.size());
    }
}

void nameToNumber(Request &req, std::optional<u_int> number) {
    auto &r = resOf<ApiTnGetIntRetT>(req);
    req.detail.text("name", str(argOf<StringT>(req)));
    if (number)
        r.value = static_cast<int>(*number);
    else
        r.status = st::notFound;
}

void familyValue(Host &, Request &req) { nameToNumber(req, familyNumber(str(argOf<StringT>(req)))); }
void variationValue(Host &, Request &req) { nameToNumber(req, axisNumber(kVariation, str(argOf<StringT>(req)))); }
void weightValue(Host &, Request &req) { nameToNumber(req, axisNumber(kWeight, str(argOf<StringT>(req)))); }
void angleValue(Host &, Request &req) { nameToNumber(req, axisNumber(kAngle, str(argOf<StringT>(req)))); }

// Ghost font: its numbers, the names of its family, variation, weight and
// angle ("" leaves that one unnamed), and the installed font it is shown
// with. Names and numbers must not clash with what they would shadow;
// nothing changes unless everything fits.
void makeGhostFont(Host &, Request &req) {
    const auto &a = argOf<ApiTnMakeGhostFontArgT>(req);
    std::string name = str(a.str1);
    req.detail.number("family", a.font.family).text("name", name);
    int &status = resOf<int>(req);
    if (name.empty() || family(a.font.family) || combined(a.font.family)) {
        status = st::badArgument;
        return;
    }
    if (!installed(a.font2)) {
        status = st::notFound;
        return;
    }
    Ghosts &g = ghosts();
    auto byNumber = g.families.find(a.font.family);
    std::optional<u_int> named = familyNumber(name);
    if ((named && *named != a.font.family) || (byNumber != g.families.end() && byNumber->second.name != name)) {
        status = st::badArgument;
        return;
    }
    const char *axisNames[3] = {a.str2, a.str3, a.str4};
    const u_int axisValues[3] = {a.font.variation, a.font.weight, a.font.angle};
    for (int axis = 0; axis < 3; ++axis) {
        std::string n = str(axisNames[axis]);
        std::optional<u_int> known = axisNumber(static_cast<Axis>(axis), n);
        if (!n.empty() && known && *known != axisValues[axis]) {
            status = st::badArgument;
            return;
        }
    }
    for (int axis = 0; axis < 3; ++axis)
        if (axisNames[axis] && *axisNames[axis] && !axisNumber(static_cast<Axis>(axis), axisNames[axis]))
            g.axisNames[axis][axisNames[axis]] = axisValues[axis];
    Ghost &ghost = g.families[a.font.family];
    ghost.name = name;
    ghost.substitute = a.font2.family;
    if (std::none_of(ghost.faces.begin(), ghost.faces.end(), [&](const T_FontT &f) { return sameFace(f, a.font); }))
        ghost.faces.push_back(a.font);
    req.detail.number("substitute", a.font2.family);
}

// ---- Handlers: encodings ------------------------------------------------------

void isEncodingSupported(Host &, Request &req) {
    std::string name = str(argOf<StringT>(req));
    req.detail.text("encoding", name);
    resOf<int>(req) = std::any_of(std::begin(kEncodings), std::end(kEncodings),
                                  [&](const char *e) { return strcasecmp(e, name.c_str()) == 0; });
}

void supportedEncodings(Host &, Request &req) {
    resOf<ApiTnGetStringsRetT>(req).value = words::toWireStrings({std::begin(kEncodings), std::end(kEncodings)});
}

void encodingReply(Request &req, u_int familyNumber) {
    auto &r = resOf<ApiTnGetStringRetT>(req);
    req.detail.number("family", familyNumber);
    if (const char *e = encodingOf(familyNumber))
        r.value = strdup(e);
    else
        r.status = st::notFound;
}

void encodingForFamily(Host &, Request &req) { encodingReply(req, static_cast<u_int>(argOf<int>(req))); }
void encodingForFont(Host &, Request &req) { encodingReply(req, argOf<ApiTnGetEncodingForFontArgT>(req).font.family); }

// ---- Handler: colour palette -----------------------------------------------------

// Document (0: the host's own palette), four colour slots of (colour id,
// components: 3 for RGB or 4 for CMYK, each 0 to 1.0), a slot with id 0
// being unused, and the tints of the used slots in order (each 0 to 1.0;
// none: full strength).
struct Colour {
    std::vector<T_MetricT> components;
    T_MetricT tint = 0x10000;
};

std::map<u_int, std::map<u_int, Colour>> &palettes() {
    static std::map<u_int, std::map<u_int, Colour>> p;
    return p;
}

bool unitRange(const T_MetricsT &list) {
    for (u_int i = 0; i < list.count; ++i)
        if (list.items[i] < 0 || list.items[i] > 0x10000) return false;
    return true;
}

void changeColorPalette(Host &, Request &req) {
    const auto &a = argOf<ApiTnChangeColorPaletteArgT>(req);
    const std::pair<u_int, const T_MetricsT *> slots[4] = {
        {a.uint1, &a.list1}, {a.uint2, &a.list2}, {a.uint3, &a.list3}, {a.uint4, &a.list4}};
    req.detail.number("doc", a.uint5);
    int &status = resOf<int>(req);
    std::vector<std::pair<u_int, Colour>> changes;
    for (const auto &[id, list] : slots) {
        if (id == 0) {
            if (list->count) status = st::badArgument;
            continue;
        }
        if ((list->count != 3 && list->count != 4) || !unitRange(*list))
            status = st::badArgument;
        else
            changes.push_back({id, {{list->items, list->items + list->count}}});
    }
    const T_MetricsT &tints = a.list5;
    if ((tints.count && tints.count != changes.size()) || !unitRange(tints) || changes.empty())
        status = st::badArgument;
    if (status) return;
    std::string ids;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        if (tints.count) changes[i].second.tint = tints.items[i];
        palettes()[a.uint5][changes[i].first] = changes[i].second;
        ids += (i ? "," : "") + std::to_string(changes[i].first);
    }
    req.detail.word("colours", ids);
}

}  // namespace

void registerFontHandlers() {
    registerHandlers({
        {API_TN_FAMILY_FONTS, familyFonts},
        {API_TN_COMBINED_FAMILY_FONTS, combinedFamilyFonts},
        {API_TN_GET_FONT_FAMILY_VALUE, familyValue},
        {API_TN_GET_FONT_VARIATION_VALUE, variationValue},
        {API_TN_GET_FONT_WEIGHT_VALUE, weightValue},
        {API_TN_GET_FONT_ANGLE_VALUE, angleValue},
        {API_TN_MAKE_GHOST_FONT, makeGhostFont},
        {API_TN_IS_ENCODING_SUPPORTED, isEncodingSupported},
        {API_TN_GET_SUPPORTED_ENCODINGS, supportedEncodings},
        {API_TN_GET_ENCODING_FOR_FAMILY, encodingForFamily},
        {API_TN_GET_ENCODING_FOR_FONT, encodingForFont},
        {API_TN_CHANGE_COLOR_PALETTE, changeColorPalette},
    });
}

}  // namespace tarnel::host
