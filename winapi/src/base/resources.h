// The program's compiled resources (.res bytes from windres), read the way Windows reads them:
// dialog templates (DLGTEMPLATEEX), menu templates and icons.
#ifndef PIKON_WINAPI_RESOURCES_H
#define PIKON_WINAPI_RESOURCES_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace winapi {
namespace res {

// A name or an ordinal, as resource names, dialog classes, menus and control texts may be.
struct NameOrId {
  bool isId = false;
  WORD id = 0;
  std::string name;  // UTF-8
  bool operator==(const NameOrId& o) const { return isId == o.isId && id == o.id && name == o.name; }
};
NameOrId FromArg(LPCSTR nameOrIntResource);  // MAKEINTRESOURCEA(n) or a CP1252 name

struct DialogItem {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  int id = 0;                           // control id (DWORD in DLGITEMTEMPLATEEX; -1 shows as -1)
  NameOrId windowClass;                 // predefined classes come as ids 0x80 button, 0x81 edit,
                                        // 0x82 static, ...; stored here as their names
                                        // ("Button", "Edit", "Static", ...)
  NameOrId text;                        // ordinal for an icon resource id
};

struct DialogTemplate {
  DWORD helpId = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrId menu;         // empty name and isId false: no menu
  NameOrId windowClass;  // empty: the dialog class
  std::string caption;   // UTF-8
  WORD pointSize = 0;
  WORD weight = 0;
  bool italic = false;
  std::string face;
  std::vector<DialogItem> items;
};

struct MenuItem {
  std::string text;  // UTF-8, with its & accelerator
  WORD id = 0;       // 0 for popups and separators
  WORD flags = 0;    // MF_GRAYED 0x1, MF_DISABLED 0x2, MF_CHECKED 0x8, MF_POPUP 0x10, MF_END 0x80
  std::vector<MenuItem> children;  // for popups
};

struct IconImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;
  int colorsUsed = 0;              // palette entries
  std::vector<COLORREF> pixels;    // width * height, top row first
  std::vector<bool> transparent;   // from the AND mask
};

// The raw bytes of a resource, or false if there is none of that type and name.
bool FindRaw(WORD type, const NameOrId& name, std::vector<std::uint8_t>& out);
bool LoadDialog(const NameOrId& name, DialogTemplate& out);
bool LoadMenu(const NameOrId& name, std::vector<MenuItem>& out);
// The icon group's first image (RT_GROUP_ICON, then its RT_ICON).
bool LoadIcon(const NameOrId& name, IconImage& out);

// Parsers of the binary formats themselves, for bytes from anywhere (tests, the .exe check).
bool ParseDialog(const std::uint8_t* data, std::size_t size, DialogTemplate& out);
bool ParseMenu(const std::uint8_t* data, std::size_t size, std::vector<MenuItem>& out);

}  // namespace res
}  // namespace winapi

#endif
