// Menus built from menu templates: the menu bar of a top-level window and its popups.
#ifndef PIKON_WINAPI_MENU_H
#define PIKON_WINAPI_MENU_H

#include <windows.h>

#include <vector>

#include "resources.h"

namespace winapi {

constexpr WORD kMenuGrayed = 0x0001;
constexpr WORD kMenuDisabled = 0x0002;

// A menu from the program's resources; nullptr if there is none of that name.
HMENU LoadMenuBar(const res::NameOrId& name);
void DestroyMenuBar(HMENU menu);
// The menu's items (top-level popups of a menu bar); nullptr for a stale handle.
const std::vector<res::MenuItem>* MenuItems(HMENU menu);

// True if the menu has the entry with command `id` and it is neither grayed nor disabled, nor
// in a popup that is; false for a stale handle.
bool IsCommandEnabled(HMENU menu, WORD id);

}  // namespace winapi

#endif
