// Creating and destroying windows: WM_CREATE and its failure, WM_DESTROY to the window and then
// its children, and what goes with a window when it is freed (focus, activation, its menu bar,
// its invalid region, its queued messages).
#include "create.h"

#include <algorithm>
#include <memory>

#include "dc.h"
#include "focus.h"
#include "gdiobj.h"
#include "menu.h"
#include "metrics.h"
#include "paint.h"
#include "queue.h"
#include "trace.h"
#include "window.h"
#include "winpos.h"

namespace winapi {
namespace {

COLORREF BackgroundOf(const WindowClass& cls) {
  COLORREF color = metrics::kWindow;
  if (cls.background) BrushColor(cls.background, color);
  return color;
}

void Unlink(const Window& w) {
  std::vector<HWND>& list = Siblings(w);
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

void MarkDestroying(HWND window) {
  Window* w = Find(window);
  if (!w) return;
  w->destroying = true;
  for (HWND child : w->children) MarkDestroying(child);
}

// WM_DESTROY goes to the window first, then to its children.
void SendDestroy(HWND window) {
  Send(window, WM_DESTROY, 0, 0);
  Window* w = Find(window);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) SendDestroy(child);
}

void Free(HWND window) {
  Window* w = Find(window);
  if (!w) return;
  std::vector<HWND> children = w->children;
  for (HWND child : children) Free(child);
  w = Find(window);
  if (IsDescendant(window, FocusWindow())) SetFocusImpl(nullptr);
  HWND owner = w->owner;
  bool wasActive = ActiveWindow() == window;
  if (!(w->style & WS_CHILD)) DestroyMenuBar(w->menu);
  ValidateWindow(*w);  // its parent no longer counts it among the windows to paint
  PurgeMessagesFor(window);
  ForgetSurface(&w->surface);  // its contexts draw nothing from now on
  Unlink(*w);
  windowTable.Remove(window);
  if (wasActive) {
    ActivateWindow(nullptr);
    if (Window* o = Find(owner); o && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED))
      ActivateWindow(owner);
  }
}

}  // namespace

HWND CreateWindowImpl(DWORD exStyle, const std::string& className, const std::string& title,
                      DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                      HINSTANCE instance, LPVOID param) {
  const WindowClass* cls = FindClass(className);
  if (!cls) return nullptr;
  HWND owner = nullptr;
  if (style & WS_CHILD) {
    if (!Find(parent)) return nullptr;
  } else if (parent) {
    if (!Find(parent)) return nullptr;
    owner = TopLevelOf(parent);
    parent = nullptr;
  }
  // An overlapped window always has a caption.
  if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION | WS_CLIPSIBLINGS;
  bool visible = (style & WS_VISIBLE) != 0;
  style &= ~DWORD(WS_VISIBLE);
  if (x == CW_USEDEFAULT) {
    x = (style & WS_CHILD) ? 0 : metrics::kDefaultX;
    y = (style & WS_CHILD) ? 0 : metrics::kDefaultY;
  }
  if (width == CW_USEDEFAULT) {
    width = (style & WS_CHILD) ? 0 : metrics::kDefaultWidth;
    height = (style & WS_CHILD) ? 0 : metrics::kDefaultHeight;
  }

  auto w = std::make_unique<Window>();
  w->cls = cls;
  w->proc = cls->proc;
  w->instance = instance;
  w->text = title;
  w->style = style;
  w->exStyle = exStyle;
  w->parent = parent;
  w->owner = owner;
  w->rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
  w->background = BackgroundOf(*cls);
  if (ControlKind kind = cls->kind; kind != ControlKind::None) {
    w->control = std::make_unique<ControlState>();
    w->control->kind = kind;
  }
  if (style & WS_CHILD)
    w->id = int(reinterpret_cast<std::intptr_t>(menu));
  else
    w->menu = menu ? menu : (cls->hasMenu ? LoadMenuBar(cls->menu) : nullptr);
  Window* raw = w.get();
  HWND handle = windowTable.Add<HWND>(std::move(w));
  raw->handle = handle;
  Siblings(*raw).push_back(handle);
  ResizeSurface(*raw);

  CreateParams cp{param,  instance, menu,           parent,   height,   width, y, x,
                  LONG(style), nullptr, nullptr, exStyle};
  if (Send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cp)) == -1) {
    DestroyWindowImpl(handle);
    return nullptr;
  }
  // Destroyed inside its own WM_CREATE: nothing was created.
  Window* created = Find(handle);
  if (!created || created->destroying) return nullptr;
  if (visible) ShowWindowImpl(handle, SW_SHOW);
  return Find(handle) ? handle : nullptr;
}

// Two phases: mark the whole tree, send WM_DESTROY (parent first), then free it all. A nested
// DestroyWindow on a window already marked changes nothing.
BOOL DestroyWindowImpl(HWND window) {
  Window* w = Find(window);
  if (!w) return FALSE;
  if (w->destroying) return TRUE;
  std::vector<HWND> owned;
  for (HWND top : TopLevelWindows())
    if (Window* t = Find(top); t && t->owner == window) owned.push_back(top);
  for (HWND top : owned) DestroyWindowImpl(top);
  MarkDestroying(window);
  ShowWindowImpl(window, SW_HIDE);
  SendDestroy(window);
  Free(window);
  return TRUE;
}

}  // namespace winapi

using namespace winapi;

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x,
                            int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
  std::string cls = Utf8FromAnsi(className), text = Utf8FromAnsi(title);
  trace::Record("CreateWindowExA", std::intptr_t(style), std::intptr_t(exStyle), 0,
                cls + "\n" + text, parent);
  return CreateWindowImpl(exStyle, cls, text, style, x, y, width, height, parent, menu, instance,
                          param);
}

BOOL WINAPI DestroyWindow(HWND window) {
  trace::Record("DestroyWindow", 0, 0, 0, "", window);
  return DestroyWindowImpl(window);
}
