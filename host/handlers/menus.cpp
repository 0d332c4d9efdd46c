// The host's menus and commands.
//
// Menus and commands form one registry of named objects with ids; a name
// belongs to one item. Menus hold items in order, and an item may sit in
// several menus. Older requests name items by strings, newer ones by id. The
// host's own menus (owner "") stay defined; what a client defines is
// forgotten when it disconnects, or when it is removed from its last menu.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <deque>
#include <map>
#include <optional>
#include <set>

#include "common.h"

namespace tarnel::host {
namespace {

// ---- Menu and command registry --------------------------------------------

// Ids of menus and commands lie apart from the document model's ids.
constexpr u_int kFirstMenuId = 0x40000001;
const char *const kMenuBar = "MenuBar";

struct Item {
    u_int id = 0;
    bool menu = false;
    std::string name, label, shortcut;
    int command = 0;              // command: the number its command callback carries
    std::string owner;            // session that defined it; "" for the host's own
    std::vector<u_int> children;  // menu: its items in order
    bool enabled = true, checked = false;
    u_int icon = 0;
};

class Registry {
  public:
    Registry() {
        u_int bar = add(true, kMenuBar, "", "");
        for (const char *name : {"File", "Edit", "View", "Help"})
            items_[bar].children.push_back(add(true, name, name, ""));
    }

    Item *byId(u_int id) {
        auto it = items_.find(id);
        return it == items_.end() ? nullptr : &it->second;
    }
    Item *byName(const std::string &name) {
        for (auto &[id, item] : items_)
            if (item.name == name) return &item;
        return nullptr;
    }
    bool shortcutUsed(const std::string &shortcut) const {
        for (const auto &[id, item] : items_)
            if (!item.menu && !shortcut.empty() && item.shortcut == shortcut) return true;
        return false;
    }
    bool commandNumberUsed(const std::string &owner, int number) const {
        for (const auto &[id, item] : items_)
            if (!item.menu && item.owner == owner && item.command == number) return true;
        return false;
    }

    u_int add(bool menu, const std::string &name, const std::string &label, const std::string &owner) {
        u_int id = next_++;
        Item &item = items_[id];
        item.id = id;
        item.menu = menu;
        item.name = name;
        item.label = label;
        item.owner = owner;
        return id;
    }

    // Places an item at the end of a menu, once.
    void attach(Item &menu, u_int id) {
        if (!holds(menu, id)) menu.children.push_back(id);
    }
    static bool holds(const Item &menu, u_int id) {
        for (u_int c : menu.children)
            if (c == id) return true;
        return false;
    }
    // The menu (`menu` itself or one of its submenus when `deep`) that holds
    // the item directly; 0 when none does.
    u_int holder(const Item &menu, u_int id, bool deep) {
        std::set<u_int> seen;
        return holderFrom(menu, id, deep, seen);
    }
    // Whether `inner` is `outer` or lies somewhere inside it.
    bool within(u_int inner, const Item &outer) { return inner == outer.id || holder(outer, inner, true) != 0; }

    // Takes an item out of a menu; a client's item that no menu holds any
    // longer is forgotten, and so, in turn, are its orphaned items.
    void detach(Item &menu, u_int id) {
        auto &c = menu.children;
        for (auto it = c.begin(); it != c.end(); ++it)
            if (*it == id) {
                c.erase(it);
                break;
            }
        dropIfOrphan(id);
    }

    // Forgets everything a session defined.
    void forgetOwner(const std::string &owner) {
        std::vector<u_int> gone;
        for (const auto &[id, item] : items_)
            if (item.owner == owner) gone.push_back(id);
        for (u_int id : gone) forget(id);
    }

  private:
    u_int holderFrom(const Item &menu, u_int id, bool deep, std::set<u_int> &seen) {
        if (!seen.insert(menu.id).second) return 0;
        if (holds(menu, id)) return menu.id;
        if (!deep) return 0;
        for (u_int c : menu.children) {
            Item *sub = byId(c);
            if (sub && sub->menu)
                if (u_int found = holderFrom(*sub, id, true, seen)) return found;
        }
        return 0;
    }
    bool inAnyMenu(u_int id) const {
        for (const auto &[mid, item] : items_)
            if (item.menu && holds(item, id)) return true;
        return false;
    }
    void dropIfOrphan(u_int id) {
        Item *item = byId(id);
        if (item && !item->owner.empty() && !inAnyMenu(id)) forget(id);
    }
    void forget(u_int id) {
        auto it = items_.find(id);
        if (it == items_.end()) return;
        std::vector<u_int> children = it->second.children;
        items_.erase(it);
        for (auto &[mid, menu] : items_) {
            auto &c = menu.children;
            c.erase(std::remove(c.begin(), c.end(), id), c.end());
        }
        for (u_int c : children) dropIfOrphan(c);
    }

    std::map<u_int, Item> items_;
    u_int next_ = kFirstMenuId;
};

Registry &registry() {
    static Registry r;
    return r;
}

// The menu an older request names: "" is the menu bar.
int menuByName(const std::string &name, Item *&out) {
    out = registry().byName(name.empty() ? kMenuBar : name);
    if (!out) return st::notFound;
    return out->menu ? st::ok : st::wrongType;
}

int menuById(u_int id, Item *&out) {
    out = registry().byId(id);
    if (!out) return st::noObject;
    return out->menu ? st::ok : st::wrongType;
}

void noteId(Request &req, u_int id) {
    if (id) req.detail.number("id", id);
}

// What a request defines: a menu (no number, no shortcut) or a command.
struct NewItem {
    bool menu;
    int number;
    const char *name, *label, *shortcut;
};

// Defines the item, after the checks that `status` sums up so far, and places
// it at the end of `menu` when one is given; notes the new id.
int define(Request &req, int status, Item *menu, const NewItem &n, u_int &id) {
    std::string name = str(n.name), shortcut = str(n.shortcut);
    Registry &reg = registry();
    if (!status && (name.empty() || reg.byName(name) || reg.shortcutUsed(shortcut) ||
                    (!n.menu && reg.commandNumberUsed(who(req), n.number))))
        status = st::badArgument;
    if (!status) {
        id = reg.add(n.menu, name, str(n.label), who(req));
        reg.byId(id)->command = n.number;
        reg.byId(id)->shortcut = shortcut;
        if (menu) reg.attach(*menu, id);
    }
    noteId(req, id);
    return status;
}

// ---- Handlers: menus and commands -------------------------------------------

void menuExists(Host &, Request &req) {
    std::string name = str(argOf<ApiTnExistsArgT>(req).name);
    Item *item = registry().byName(name);
    resOf<int>(req) = item && item->menu ? 1 : 0;
    req.detail.text("name", name);
}

void shortcutExists(Host &, Request &req) {
    std::string shortcut = str(argOf<ApiTnExistsArgT>(req).name);
    resOf<int>(req) = registry().shortcutUsed(shortcut) ? 1 : 0;
    req.detail.text("shortcut", shortcut);
}

// Parent menu name, new menu name, label.
void addMenu(Host &, Request &req) {
    const auto &a = argOf<ApiTnAddMenuArgT>(req);
    req.detail.text("menu", str(a.str1)).text("name", str(a.str2));
    Item *parent = nullptr;
    u_int id = 0;
    int s = menuByName(str(a.str1), parent);
    replyStatus(req, define(req, s, parent, {true, 0, a.str2, a.str3, nullptr}, id));
}

// Menu name, name of the item to take out of it.
void removeMenu(Host &, Request &req) {
    const auto &a = argOf<ApiTnRemoveMenuArgT>(req);
    req.detail.text("menu", str(a.str1)).text("name", str(a.str2));
    Item *menu = nullptr;
    int s = menuByName(str(a.str1), menu);
    Item *item = s ? nullptr : registry().byName(str(a.str2));
    if (!s && (!item || !Registry::holds(*menu, item->id))) s = st::notFound;
    if (!s) registry().detach(*menu, item->id);
    replyStatus(req, s);
}

// Command number, menu name, command name, label, shortcut.
void addCommand(Host &, Request &req) {
    const auto &a = argOf<ApiTnAddCommandArgT>(req);
    req.detail.number("command", a.int1).text("menu", str(a.str1)).text("name", str(a.str2));
    Item *menu = nullptr;
    u_int id = 0;
    int s = str(a.str1).empty() ? st::badArgument : menuByName(str(a.str1), menu);
    replyStatus(req, define(req, s, menu, {false, a.int1, a.str2, a.str3, a.str4}, id));
}

// Command number, name, label, shortcut.
void defineCommandById(Host &, Request &req) {
    const auto &a = argOf<ApiTnDefineCommandArgT>(req);
    req.detail.number("command", a.int1).text("name", str(a.str1));
    auto &r = resOf<ApiTnObjRetT>(req);
    r.status = define(req, st::ok, nullptr, {false, a.int1, a.str1, a.str2, a.str3}, r.objId);
}

// Name, label.
void defineMenuById(Host &, Request &req) {
    const auto &a = argOf<ApiTnDefineMenuArgT>(req);
    req.detail.text("name", str(a.str1));
    auto &r = resOf<ApiTnObjRetT>(req);
    r.status = define(req, st::ok, nullptr, {true, 0, a.str1, a.str2, nullptr}, r.objId);
}

// Adds the item uint2 to the menu uint1, once `Find` has found the item (it
// gives 0 or the status that refuses it).
template <typename Arg, int (*Find)(const Item &menu, u_int id, Item *&item)> void addToMenu(Host &, Request &req) {
    const auto &a = argOf<Arg>(req);
    req.detail.number("menu", a.uint1).number("item", a.uint2);
    Item *menu = nullptr, *item = nullptr;
    int s = menuById(a.uint1, menu);
    if (!s) s = Find(*menu, a.uint2, item);
    if (!s) registry().attach(*menu, item->id);
    replyStatus(req, s);
}

int commandItem(const Item &, u_int id, Item *&out) {
    out = registry().byId(id);
    return !out ? st::noObject : out->menu ? st::wrongType : st::ok;
}

int submenuItem(const Item &menu, u_int id, Item *&out) {
    int s = menuById(id, out);
    // A menu inside itself would have no end.
    return s ? s : registry().within(menu.id, *out) ? st::badArgument : st::ok;
}

// Command number, menu id, name, label, shortcut.
void defineAndAddCommand(Host &, Request &req) {
    const auto &a = argOf<ApiTnDefineAndAddCommandArgT>(req);
    req.detail.number("command", a.int1).number("menu", a.uint1).text("name", str(a.str1));
    auto &r = resOf<ApiTnObjRetT>(req);
    Item *menu = nullptr;
    int s = menuById(a.uint1, menu);
    r.status = define(req, s, menu, {false, a.int1, a.str1, a.str2, a.str3}, r.objId);
}

// Menu id, name, label.
void defineAndAddMenu(Host &, Request &req) {
    const auto &a = argOf<ApiTnDefineAndAddMenuArgT>(req);
    req.detail.number("menu", a.uint1).text("name", str(a.str1));
    auto &r = resOf<ApiTnObjRetT>(req);
    Item *menu = nullptr;
    int s = menuById(a.uint1, menu);
    r.status = define(req, s, menu, {true, 0, a.str1, a.str2, nullptr}, r.objId);
}

// The host takes note of a customization file for its menus; the file must
// exist, its contents are the host's business.
void loadMenuCustomization(Host &, Request &req) {
    const auto &a = argOf<ApiTnLoadMenuCustomizationFileArgT>(req);
    std::string file = str(a.str1);
    struct stat sb;
    if (file.empty())
        resOf<int>(req) = st::badArgument;
    else if (stat(file.c_str(), &sb) != 0 || !S_ISREG(sb.st_mode))
        resOf<int>(req) = st::noFile;
    else
        req.events.push_back(
            trace::Event("menu-customization").word("client", who(req)).text("file", file).number("flag", a.int1));
    if (resOf<int>(req)) req.detail.text("file", file);
}

// Menu id, item id, enabled, label ("" keeps it), icon object id, checked:
// how an item of a menu is shown.
void animateMenu(Host &, Request &req) {
    const auto &a = argOf<ApiTnAnimateMenuArgT>(req);
    req.detail.number("menu", a.uint1)
        .number("item", a.uint2)
        .number("enabled", a.int1 != 0)
        .number("checked", a.int2 != 0);
    Item *menu = nullptr;
    int s = menuById(a.uint1, menu);
    Item *item = registry().byId(a.uint2);
    if (!s && !item)
        s = st::noObject;
    else if (!s && !Registry::holds(*menu, item->id))
        s = st::notFound;
    if (!s) {
        item->enabled = a.int1 != 0;
        item->checked = a.int2 != 0;
        if (a.str1 && *a.str1) item->label = a.str1;
        item->icon = a.uint3;
    }
    replyStatus(req, s);
}

// Menu id, item id, deep (non-zero: search submenus too): the menu that
// holds the item directly.
void menuItemInMenu(Host &, Request &req) {
    const auto &a = argOf<ApiTnMenuItemInMenuArgT>(req);
    req.detail.number("menu", a.uint1).number("item", a.uint2);
    auto &r = resOf<ApiTnObjRetT>(req);
    Item *menu = nullptr;
    r.status = menuById(a.uint1, menu);
    if (!r.status) {
        r.objId = registry().holder(*menu, a.uint2, a.int1 != 0);
        if (!r.objId) r.status = st::notFound;
    }
    noteId(req, r.objId);
}

}  // namespace

void forgetMenusOf(const std::string &owner) { registry().forgetOwner(owner); }

void registerMenuHandlers() {
    registerHandlers({
        {API_TN_MENU_EXISTS, menuExists},
        {API_TN_SHORTCUT_EXISTS, shortcutExists},
        {API_TN_ADD_MENU, addMenu},
        {API_TN_REMOVE_MENU, removeMenu},
        {API_TN_ADD_COMMAND, addCommand},
        {API_TN_DEFINE_COMMAND, defineCommandById},
        {API_TN_DEFINE_MENU, defineMenuById},
        {API_TN_ADD_COMMAND_TO_MENU, addToMenu<ApiTnAddCommandToMenuArgT, commandItem>},
        {API_TN_ADD_MENU_TO_MENU, addToMenu<ApiTnAddMenuToMenuArgT, submenuItem>},
        {API_TN_DEFINE_AND_ADD_COMMAND, defineAndAddCommand},
        {API_TN_DEFINE_AND_ADD_MENU, defineAndAddMenu},
        {API_TN_LOAD_MENU_CUSTOMIZATION_FILE, loadMenuCustomization},
        {API_TN_ANIMATE_MENU, animateMenu},
        {API_TN_MENU_ITEM_IN_MENU, menuItemInMenu},
    });
}

}  // namespace tarnel::host
