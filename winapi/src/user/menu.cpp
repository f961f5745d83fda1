#include "menu.h"

#include <memory>

#include "handles.h"

namespace winapi {
namespace {

struct Menu {
  std::vector<res::MenuItem> items;
};

HandleTable<Menu, HandleKind::Menu>& Menus() {
  static HandleTable<Menu, HandleKind::Menu> table;
  return table;
}

const res::MenuItem* FindItem(const std::vector<res::MenuItem>& items, WORD id) {
  for (const res::MenuItem& item : items) {
    if (item.flags & 0x10) {
      // A grayed popup grays everything in it.
      if (const res::MenuItem* found = FindItem(item.children, id))
        return (item.flags & (kMenuGrayed | kMenuDisabled)) ? &item : found;
    } else if (item.id == id) {
      return &item;
    }
  }
  return nullptr;
}

}  // namespace

HMENU LoadMenuBar(const res::NameOrId& name) {
  auto menu = std::make_unique<Menu>();
  if (!res::LoadMenu(name, menu->items)) return nullptr;
  return Menus().Add<HMENU>(std::move(menu));
}

void DestroyMenuBar(HMENU menu) { Menus().Remove(menu); }

const std::vector<res::MenuItem>* MenuItems(HMENU menu) {
  const Menu* m = Menus().Get(menu);
  return m ? &m->items : nullptr;
}

bool IsCommandEnabled(HMENU menu, WORD id) {
  const std::vector<res::MenuItem>* items = MenuItems(menu);
  const res::MenuItem* item = items ? FindItem(*items, id) : nullptr;
  return item && !(item->flags & (kMenuGrayed | kMenuDisabled));
}

}  // namespace winapi
