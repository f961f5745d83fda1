// Update regions and WM_PAINT: what is invalid, who paints next, BeginPaint and EndPaint.
// An update region is kept as its bounding rectangle.
#include "paint.h"

#include <algorithm>

#include "windc.h"
#include "window.h"
#include "trace.h"

namespace winapi {
namespace {

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Intersect(const RECT& a, const RECT& b) {
  return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

RECT Offset(const RECT& r, int dx, int dy) {
  return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// The child's client area in its parent's client coordinates.
RECT ChildClient(const Window& child) {
  RECT client = ClientRectInWindow(child);
  return Offset(client, child.rect.left, child.rect.top);
}

bool FindPaintable(const std::vector<HWND>& windows, HWND& out) {
  for (HWND window : windows) {
    Window* w = Find(window);
    if (!w || !(w->style & WS_VISIBLE) || w->invalidBelow == 0) continue;
    if (w->invalid) {
      out = window;
      return true;
    }
    if (FindPaintable(w->children, out)) return true;
  }
  return false;
}

// Keeps the counts of invalid windows in the subtrees that hold this one (a child's parent
// outlives it), so that painting passes over the subtrees without any.
void SetInvalid(Window& w, bool invalid) {
  if (w.invalid == invalid) return;
  w.invalid = invalid;
  for (Window* a = &w; a; a = Find(a->parent)) a->invalidBelow += invalid ? 1 : -1;
}

}  // namespace

// Without WS_CLIPCHILDREN, invalidating a window invalidates the children beneath the area too.
void InvalidateWindow(Window& w, const RECT* clientRect, bool erase) {
  RECT full{0, 0, w.surface.width, w.surface.height};  // the surface is the client area
  RECT add = clientRect ? Intersect(*clientRect, full) : full;
  if (Empty(add)) return;
  w.update = w.invalid ? Union(w.update, add) : add;
  SetInvalid(w, true);
  w.erase = w.erase || erase;
  if (w.style & WS_CLIPCHILDREN) return;
  for (HWND child : w.children) {
    Window* c = Find(child);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    RECT client = ChildClient(*c);
    RECT inChild = Offset(Intersect(add, client), -client.left, -client.top);
    InvalidateWindow(*c, &inChild, erase);
  }
}

void ValidateWindow(Window& w) {
  SetInvalid(w, false);
  w.erase = false;
  w.update = RECT{};
}

void InvalidateParentArea(const Window& w) {
  if (!(w.style & WS_CHILD)) return;
  if (Window* parent = Find(w.parent)) InvalidateWindow(*parent, &w.rect, true);
}

bool NextPaintWindow(HWND& out) { return FindPaintable(TopLevelWindows(), out); }

namespace {

// A window on screen, then its visible children: each child's ancestors are known to be shown,
// so only its own style is asked. After a paint the window is looked up again, since a WM_PAINT
// handler may change it and its children. True when anything was painted.
bool PaintShownTree(Window* w, HWND window) {
  bool painted = false;
  if (w->invalid && !w->painting) {
    Send(window, WM_PAINT, 0, 0);
    painted = true;
  }
  for (std::size_t i = 0;; ++i) {
    if (painted) w = Find(window);
    if (!w || !(w->style & WS_VISIBLE) || i >= w->children.size()) return painted;
    if (w->invalidBelow == (w->invalid ? 1 : 0)) return painted;  // nothing left beneath it
    const HWND handle = w->children[i];
    Window* child = Find(handle);
    if (child && (child->style & WS_VISIBLE) && child->invalidBelow > 0)
      painted = PaintShownTree(child, handle) || painted;
  }
}

}  // namespace

void PaintWithChildren(HWND window) {
  Window* w = Find(window);
  if (w && IsVisibleOnScreen(*w)) PaintShownTree(w, window);
}

}  // namespace winapi

using namespace winapi;

HDC WINAPI BeginPaint(HWND window, LPPAINTSTRUCT paint) {
  Window* w = Find(window);
  if (!w || !paint) return nullptr;
  HDC dc = CreateWindowDc(window);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = w->invalid ? w->update : RECT{};
  bool erase = w->erase;
  ValidateWindow(*w);
  w->painting = true;
  paint->fErase = erase && !Send(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  return dc;
}

BOOL WINAPI EndPaint(HWND window, const PAINTSTRUCT* paint) {
  if (Window* w = Find(window)) w->painting = false;
  if (paint) FreeWindowDc(paint->hdc);
  return TRUE;
}

BOOL WINAPI UpdateWindow(HWND window) {
  trace::Record("UpdateWindow", 0, 0, 0, "", window);
  if (!Find(window)) return FALSE;
  PaintWithChildren(window);
  return TRUE;
}

BOOL WINAPI InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  Window* w = Find(window);
  if (!w) return FALSE;
  InvalidateWindow(*w, rect, erase != FALSE);
  return TRUE;
}
