// GDI objects: solid brushes and logical fonts, and the stock objects a fresh DC starts with.
#ifndef PIKON_WINAPI_GDIOBJ_H
#define PIKON_WINAPI_GDIOBJ_H

#include <windows.h>

#include <cstddef>

#include "fontrequest.h"

namespace winapi {

enum class GdiKind { Brush, Font };

struct GdiObject {
  GdiKind kind = GdiKind::Brush;
  bool stock = false;   // never deleted
  COLORREF color = 0;   // brush
  FontRequest font;        // font
};

// The live object behind a handle, or nullptr for a deleted, stale or foreign handle.
GdiObject* LookupGdi(HGDIOBJ object);
GdiObject* LookupGdi(HGDIOBJ object, GdiKind kind);

// Stock objects that a fresh device context has selected.
HFONT StockSystemFont();
HBRUSH StockWhiteBrush();

// The colour a brush paints: a live brush, or a system colour given as (HBRUSH)(COLOR_x + 1)
// as window classes and FillRect accept it. False for anything else.
bool BrushColor(HBRUSH brush, COLORREF& out);

// Objects created by the program and not yet deleted (stock objects are not counted).
std::size_t LiveGdiObjectCount();

}  // namespace winapi

#endif
