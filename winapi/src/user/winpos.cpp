// Showing, hiding, minimising, moving and sizing windows. A size change sends WM_SIZE before
// the call returns; a call that changes nothing sends nothing.
#include "winpos.h"

#include <algorithm>

#include "window.h"
#include "trace.h"
#include "focus.h"
#include "paint.h"

namespace winapi {
namespace {

void SendSize(HWND window) {
  Window* w = Find(window);
  if (!w) return;
  w->sized = true;
  WPARAM kind = w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
  Send(window, WM_SIZE, kind, MAKELPARAM(ClientWidth(*w), ClientHeight(*w)));
}

void Hide(Window& w) {
  HWND window = w.handle;
  w.style &= ~DWORD(WS_VISIBLE);
  InvalidateParentArea(w);
  if (IsDescendant(window, FocusWindow())) SetFocusImpl((w.style & WS_CHILD) ? w.parent : nullptr);
  Window* again = Find(window);
  if (again && !(again->style & WS_CHILD) && ActiveWindow() == window) {
    ActivateWindow(nullptr);
    if (Window* o = Find(again->owner); o && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED))
      ActivateWindow(o->handle);
  }
}

void Show(HWND window, bool activate) {
  Window* w = Find(window);
  if (!w) return;
  if (!(w->style & WS_VISIBLE)) {
    w->style |= WS_VISIBLE;
    InvalidateWindow(*w, nullptr, true);
    if (!w->sized) SendSize(window);
  }
  // A minimised window is activated like any other; it just keeps no focus while minimised.
  w = Find(window);
  if (w && activate && !(w->style & WS_CHILD)) ActivateWindow(window);
}

void SetMinimized(HWND window, bool minimized) {
  Window* w = Find(window);
  if (!w || w->minimized == minimized) return;
  w->minimized = minimized;
  ResizeSurface(*w);
  if (minimized && IsDescendant(window, FocusWindow())) SetFocusImpl(nullptr);
  if (Window* again = Find(window)) InvalidateWindow(*again, nullptr, true);
  SendSize(window);
}

// What a size change leaves to paint: the whole client area if the class asks for it
// (CS_HREDRAW for a change of width, CS_VREDRAW of height), else only what is newly exposed.
void InvalidateResized(Window& w, int oldWidth, int oldHeight) {
  int width = w.surface.width, height = w.surface.height;
  UINT classStyle = w.cls ? w.cls->style : 0;
  if (((classStyle & CS_HREDRAW) && width != oldWidth) ||
      ((classStyle & CS_VREDRAW) && height != oldHeight)) {
    InvalidateWindow(w, nullptr, true);
    return;
  }
  RECT right{oldWidth, 0, width, height}, below{0, oldHeight, width, height};
  if (width > oldWidth) InvalidateWindow(w, &right, true);
  if (height > oldHeight) InvalidateWindow(w, &below, true);
}

void Restack(Window& w, HWND insertAfter) {
  std::vector<HWND>& list = Siblings(w);
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
  // HWND_TOP puts it on top; a sibling puts it just beneath that sibling.
  auto at = std::find(list.begin(), list.end(), insertAfter);
  list.insert(insertAfter == HWND_TOP || at == list.end() ? list.end() : at, w.handle);
}

}  // namespace

BOOL ShowWindowImpl(HWND window, int command) {
  Window* w = Find(window);
  if (!w) return FALSE;
  BOOL wasVisible = (w->style & WS_VISIBLE) ? TRUE : FALSE;
  switch (command) {
    case SW_HIDE:
      if (wasVisible) Hide(*w);
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
      Show(window, false);
      SetMinimized(window, true);
      break;
    case SW_SHOWNORMAL:
    case SW_RESTORE:
      SetMinimized(window, false);
      Show(window, true);
      break;
    case SW_SHOWNOACTIVATE:
      Show(window, false);
      break;
    default:
      Show(window, true);
      break;
  }
  return wasVisible;
}

BOOL SetWindowPosImpl(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = Find(window);
  if (!w) return FALSE;
  RECT old = w->rect, r = old;
  if (!(flags & SWP_NOMOVE)) r = RECT{x, y, x + (old.right - old.left), y + (old.bottom - old.top)};
  if (!(flags & SWP_NOSIZE)) {
    // DefWindowProc's WM_WINDOWPOSCHANGING keeps an overlapped or sizable window within the
    // maximum tracking size, whoever asks for the size.
    if ((w->style & WS_THICKFRAME) || !(w->style & (WS_POPUP | WS_CHILD))) {
      cx = std::min(cx, GetSystemMetrics(SM_CXMAXTRACK));
      cy = std::min(cy, GetSystemMetrics(SM_CYMAXTRACK));
    }
    r.right = r.left + std::max(cx, 0);
    r.bottom = r.top + std::max(cy, 0);
  }
  bool resized = (r.right - r.left) != (old.right - old.left) ||
                 (r.bottom - r.top) != (old.bottom - old.top);
  if (!(flags & SWP_NOZORDER)) Restack(*w, insertAfter);
  if (r.left != old.left || r.top != old.top || resized) {
    bool visible = (w->style & WS_VISIBLE) != 0;
    if (visible) InvalidateParentArea(*w);
    w->rect = r;
    if (resized && !w->minimized) {
      int oldWidth = w->surface.width, oldHeight = w->surface.height;
      ResizeSurface(*w);
      if (visible) InvalidateResized(*w, oldWidth, oldHeight);
    }
    if (visible) InvalidateParentArea(*w);
  }
  if (flags & SWP_HIDEWINDOW) ShowWindowImpl(window, SW_HIDE);
  // A minimised window keeps its minimised client area; the new size waits for the restore.
  if (resized && !w->minimized) SendSize(window);
  w = Find(window);
  if (!w) return TRUE;
  bool activate = !(flags & SWP_NOACTIVATE) && !(w->style & WS_CHILD);
  if (flags & SWP_SHOWWINDOW)
    Show(window, activate);
  else if (activate && (w->style & WS_VISIBLE))
    ActivateWindow(window);
  return TRUE;
}

}  // namespace winapi

using namespace winapi;

BOOL WINAPI ShowWindow(HWND window, int command) {
  trace::Record("ShowWindow", command, 0, 0, "", window);
  return ShowWindowImpl(window, command);
}

BOOL WINAPI SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  trace::Record("SetWindowPos", x, y, std::intptr_t(flags),
               std::to_string(cx) + " " + std::to_string(cy), window);
  return SetWindowPosImpl(window, insertAfter, x, y, cx, cy, flags);
}
