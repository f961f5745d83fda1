#include "gdiobj.h"

#include <memory>

#include "ansi.h"
#include "dc.h"
#include "handles.h"
#include "metrics.h"
#include "trace.h"

namespace winapi {
namespace {

using GdiTable = HandleTable<GdiObject, HandleKind::Gdi>;

GdiTable& Objects() {
  static GdiTable table;
  return table;
}

HGDIOBJ AddStock(GdiObject object) {
  object.stock = true;
  return Objects().Add<HGDIOBJ>(std::make_unique<GdiObject>(std::move(object)));
}

}  // namespace

GdiObject* LookupGdi(HGDIOBJ object) { return Objects().Get(object); }

GdiObject* LookupGdi(HGDIOBJ object, GdiKind kind) {
  GdiObject* o = LookupGdi(object);
  return o && o->kind == kind ? o : nullptr;
}

HFONT StockSystemFont() {
  static const HGDIOBJ font = AddStock(GdiObject{GdiKind::Font, true, 0, SystemFontRequest()});
  return static_cast<HFONT>(font);
}

HBRUSH StockWhiteBrush() {
  static const HGDIOBJ brush = AddStock(GdiObject{GdiKind::Brush, true, RGB(255, 255, 255), {}});
  return static_cast<HBRUSH>(brush);
}

bool BrushColor(HBRUSH brush, COLORREF& out) {
  if (const GdiObject* o = LookupGdi(brush, GdiKind::Brush)) {
    out = o->color;
    return true;
  }
  switch (reinterpret_cast<std::uintptr_t>(brush)) {
    case COLOR_WINDOW + 1: out = metrics::kWindow; return true;
    case COLOR_MENUTEXT + 1: out = metrics::kText; return true;
    case COLOR_BTNFACE + 1: out = metrics::kFace; return true;
  }
  return false;
}

std::size_t LiveGdiObjectCount() {
  std::size_t n = 0;
  Objects().ForEach([&n](const GdiObject& o) { n += o.stock ? 0 : 1; });
  return n;
}

}  // namespace winapi

using namespace winapi;

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
  HBRUSH brush = Objects().Add<HBRUSH>(
      std::make_unique<GdiObject>(GdiObject{GdiKind::Brush, false, color & 0x00FFFFFF, {}}));
  trace::Record("CreateSolidBrush", 0, 0, std::intptr_t(color), "", nullptr);
  return brush;
}

HFONT WINAPI CreateFontA(int height, int /*width*/, int /*escapement*/, int /*orientation*/,
                         int weight, DWORD /*italic*/, DWORD /*underline*/, DWORD /*strikeout*/,
                         DWORD /*charset*/, DWORD /*outPrecision*/, DWORD /*clipPrecision*/,
                         DWORD /*quality*/, DWORD /*pitchAndFamily*/, LPCSTR face) {
  FontRequest wanted{Utf8FromAnsi(face), height, weight};
  trace::Record("CreateFontA", height, weight, 0, wanted.face, nullptr);
  return Objects().Add<HFONT>(
      std::make_unique<GdiObject>(GdiObject{GdiKind::Font, false, 0, std::move(wanted)}));
}

// Only live brushes and fonts can be selected; anything else (NULL, a deleted object, a device
// context) returns NULL and leaves the context as it was.
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
  DeviceContext* context = LookupDc(dc);
  const GdiObject* o = LookupGdi(object);
  if (!context || !o) return nullptr;
  HGDIOBJ previous = nullptr;
  // Recorded by what it selects: a font by face, height and weight, a brush by colour.
  switch (o->kind) {
    case GdiKind::Font:
      trace::Record("SelectObject", o->font.height, o->font.weight, 0, o->font.face, context->Window());
      previous = context->font ? context->font : StockSystemFont();
      context->font = static_cast<HFONT>(object);
      break;
    case GdiKind::Brush:
      trace::Record("SelectObject", 0, 0, std::intptr_t(o->color), "", context->Window());
      previous = context->brush ? context->brush : StockWhiteBrush();
      context->brush = static_cast<HBRUSH>(object);
      break;
  }
  return previous;
}

HGDIOBJ WINAPI GetStockObject(int object) {
  return object == SYSTEM_FONT ? StockSystemFont() : nullptr;
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
  trace::Record("DeleteObject", 0, 0, 0, "", nullptr);
  const GdiObject* o = LookupGdi(object);
  if (!o) return FALSE;
  if (o->stock) return TRUE;  // stock objects stay
  // An object still selected into a device context cannot be deleted.
  if (IsSelectedInAnyDc(object)) return FALSE;
  return Objects().Remove(object) ? TRUE : FALSE;
}
