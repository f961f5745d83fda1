// The window tree: creation, destruction, and the queries every other part of the window manager
// builds on.
#include "window.h"

#include <algorithm>
#include <memory>

#include "dialogstate.h"
#include "gdiobj.h"
#include "handles.h"
#include "menu.h"
#include "metrics.h"
#include "trace.h"

namespace winapi {

// A plain static, not one built on first use: Find then needs no guard. Nothing looks up
// windows before main.
WindowTable windowTable;

namespace {

struct Desktop {
  std::vector<HWND> topLevel;
};

Desktop desktop;

Desktop& TheDesktop() { return desktop; }


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
  Unlink(*w);
  windowTable.Remove(window);
  if (wasActive) {
    ActivateWindow(nullptr);
    if (Window* o = Find(owner); o && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED))
      ActivateWindow(owner);
  }
}

}  // namespace

Window::Window() = default;
Window::~Window() = default;


const std::vector<HWND>& TopLevelWindows() { return TheDesktop().topLevel; }

std::vector<HWND>& Siblings(const Window& w) {
  if (w.style & WS_CHILD)
    if (Window* parent = Find(w.parent)) return parent->children;
  return TheDesktop().topLevel;
}


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

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w || !w->proc) return 0;
  WNDPROC proc = w->proc;
  return proc(window, message, wParam, lParam);
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

bool IsVisibleOnScreen(const Window& w) {
  for (const Window* p = &w; p; p = (p->style & WS_CHILD) ? Find(p->parent) : nullptr)
    if (!(p->style & WS_VISIBLE)) return false;
  return true;
}

bool IsEnabledForInput(const Window& w) {
  for (const Window* p = &w; p; p = (p->style & WS_CHILD) ? Find(p->parent) : nullptr)
    if (p->style & WS_DISABLED) return false;
  return true;
}

bool IsDescendant(HWND ancestor, HWND window) {
  if (!ancestor) return false;
  for (Window* w = Find(window); w; w = (w->style & WS_CHILD) ? Find(w->parent) : nullptr)
    if (w->handle == ancestor) return true;
  return false;
}

HWND TopLevelOf(HWND window) {
  Window* w = Find(window);
  while (w && (w->style & WS_CHILD)) w = Find(w->parent);
  return w ? w->handle : nullptr;
}

bool HasMenuBar(const Window& w) { return !(w.style & WS_CHILD) && w.menu != nullptr; }

RECT ClientRectInWindow(const Window& w) {
  metrics::Insets in = metrics::NonClient(w.style, w.exStyle, HasMenuBar(w));
  int width = w.rect.right - w.rect.left, height = w.rect.bottom - w.rect.top;
  RECT r{in.left, in.top, std::max<LONG>(in.left, width - in.right),
         std::max<LONG>(in.top, height - in.bottom)};
  if (w.minimized) r.right = r.left, r.bottom = r.top;
  return r;
}

int ClientWidth(const Window& w) {
  RECT r = ClientRectInWindow(w);
  return r.right - r.left;
}

int ClientHeight(const Window& w) {
  RECT r = ClientRectInWindow(w);
  return r.bottom - r.top;
}

POINT ClientOriginOnScreen(const Window& w) {
  RECT client = ClientRectInWindow(w);
  POINT p{w.rect.left + client.left, w.rect.top + client.top};
  if (w.style & WS_CHILD)
    if (Window* parent = Find(w.parent)) {
      POINT origin = ClientOriginOnScreen(*parent);
      p.x += origin.x;
      p.y += origin.y;
    }
  return p;
}

void ResizeSurface(Window& w) {
  Surface resized;
  resized.width = ClientWidth(w);
  resized.height = ClientHeight(w);
  resized.pixels.assign(std::size_t(resized.width) * std::size_t(resized.height), w.background);
  for (int y = 0; y < std::min(resized.height, w.surface.height); ++y)
    for (int x = 0; x < std::min(resized.width, w.surface.width); ++x)
      resized.At(x, y) = w.surface.At(x, y);
  w.surface = std::move(resized);
}

namespace {

Surface* WindowSurface(HWND window) {
  Window* w = Find(window);
  return w ? &w->surface : nullptr;
}

// GDI draws into windows through this lookup, set before any window exists.
[[maybe_unused]] const bool g_surfacesFromWindows = (SetSurfaceLookup(WindowSurface), true);

}  // namespace

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

BOOL WINAPI IsWindow(HWND window) { return Find(window) ? TRUE : FALSE; }

HWND WINAPI GetParent(HWND window) {
  Window* w = Find(window);
  if (!w) return nullptr;
  if (w->style & WS_CHILD) return w->parent;
  return (w->style & WS_POPUP) ? w->owner : nullptr;
}

// The window's first child, or the sibling created after it: the order of a dialog's controls.
HWND WINAPI GetWindow(HWND window, UINT relation) {
  Window* w = Find(window);
  if (!w) return nullptr;
  if (relation == GW_CHILD) return w->children.empty() ? nullptr : w->children.front();
  if (relation != GW_HWNDNEXT) return nullptr;
  const std::vector<HWND>& list = Siblings(*w);
  auto at = std::find(list.begin(), list.end(), window);
  return at == list.end() || at + 1 == list.end() ? nullptr : *(at + 1);
}

LONG WINAPI GetWindowLongA(HWND window, int index) {
  Window* w = Find(window);
  if (!w) return 0;
  if (index == GWL_STYLE) return LONG(w->style);
  if (index == GWL_EXSTYLE) return LONG(w->exStyle);
  return 0;
}

namespace {

int CopyOut(const std::string& ansi, LPSTR out, int max) {
  if (!out || max <= 0) return 0;
  int n = std::min<int>(int(ansi.size()), max - 1);
  std::copy(ansi.begin(), ansi.begin() + n, out);
  out[n] = '\0';
  return n;
}

}  // namespace

int WINAPI GetWindowTextA(HWND window, LPSTR text, int max) {
  Window* w = Find(window);
  if (!w) return CopyOut("", text, max);
  return CopyOut(AnsiFromUtf8(w->text), text, max);
}

int WINAPI GetClassNameA(HWND window, LPSTR name, int max) {
  Window* w = Find(window);
  if (!w || !w->cls) return 0;
  return CopyOut(AnsiFromUtf8(w->cls->name), name, max);
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
  Window* w = Find(window);
  if (!w || !rect) return FALSE;
  *rect = RECT{0, 0, ClientWidth(*w), ClientHeight(*w)};
  return TRUE;
}

BOOL WINAPI GetWindowRect(HWND window, LPRECT rect) {
  Window* w = Find(window);
  if (!w || !rect) return FALSE;
  *rect = w->rect;
  if (w->style & WS_CHILD)
    if (Window* parent = Find(w->parent)) {
      POINT origin = ClientOriginOnScreen(*parent);
      *rect = RECT{rect->left + origin.x, rect->top + origin.y, rect->right + origin.x,
                   rect->bottom + origin.y};
    }
  return TRUE;
}

BOOL WINAPI IsWindowEnabled(HWND window) {
  Window* w = Find(window);
  return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL WINAPI IsWindowVisible(HWND window) {
  Window* w = Find(window);
  return w && IsVisibleOnScreen(*w) ? TRUE : FALSE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Send(window, message, wParam, lParam);
}
