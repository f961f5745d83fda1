// Keyboard focus, the active top-level window, and which windows are enabled.
#include "focus.h"

#include "dialogstate.h"
#include "paint.h"
#include "trace.h"
#include "window.h"

namespace winapi {
namespace {

HWND g_focus = nullptr;
HWND g_active = nullptr;

// Dialogs remember which of their controls had the focus last, to give it back.
void RememberInDialogs(HWND window) {
  Window* w = Find(window);
  while (w && (w->style & WS_CHILD)) {
    Window* parent = Find(w->parent);
    if (parent && parent->dialog) parent->dialog->focus = window;
    w = parent;
  }
}

}  // namespace

HWND FocusWindow() { return Find(g_focus) ? g_focus : nullptr; }

HWND ActiveWindow() { return Find(g_active) ? g_active : nullptr; }

// A window that becomes active takes the focus unless it already holds it somewhere inside;
// a dialog hands it on to its control (its WM_SETFOCUS does that).
void ActivateWindow(HWND topLevel) {
  if (topLevel == ActiveWindow()) return;
  g_active = topLevel;
  if (topLevel && !IsDescendant(topLevel, FocusWindow())) SetFocusImpl(topLevel);
}

HWND SetFocusImpl(HWND window) {
  HWND old = FocusWindow();
  if (window) {
    Window* w = Find(window);
    if (!w || w->destroying) return nullptr;
    // A window inside a disabled or minimised one cannot take the focus.
    for (Window* p = w; p; p = (p->style & WS_CHILD) ? Find(p->parent) : nullptr)
      if ((p->style & WS_DISABLED) || p->minimized) return nullptr;
    HWND top = TopLevelOf(window);
    if (top != ActiveWindow()) {
      g_active = top;  // activation without moving the focus: it is being set right here
    }
  }
  if (old == window) return old;
  g_focus = window;
  if (old) Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
  if (window && g_focus == window) {
    RememberInDialogs(window);
    Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  }
  return old;
}

BOOL EnableWindowImpl(HWND window, BOOL enable) {
  Window* w = Find(window);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
  if (bool(wasDisabled) == !enable) return wasDisabled;
  if (enable) {
    w->style &= ~DWORD(WS_DISABLED);
  } else {
    w->style |= WS_DISABLED;
    if (IsDescendant(window, FocusWindow())) SetFocusImpl(nullptr);
  }
  Send(window, WM_ENABLE, enable ? TRUE : FALSE, 0);
  if (Window* again = Find(window)) InvalidateWindow(*again, nullptr, true);
  return wasDisabled;
}

}  // namespace winapi

using namespace winapi;

HWND WINAPI SetFocus(HWND window) {
  trace::Record("SetFocus", 0, 0, 0, "", window);
  return SetFocusImpl(window);
}

HWND WINAPI GetFocus(void) { return FocusWindow(); }

HWND WINAPI GetActiveWindow(void) { return ActiveWindow(); }
