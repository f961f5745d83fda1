// The window tree: the windows by their handles, and the queries every other part of the window
// manager builds on.
#include "window.h"

#include <algorithm>
#include <memory>

#include "dialogstate.h"
#include "handles.h"
#include "metrics.h"

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

}  // namespace

Window::Window() = default;
Window::~Window() = default;

const std::vector<HWND>& TopLevelWindows() { return TheDesktop().topLevel; }

std::vector<HWND>& Siblings(const Window& w) {
  if (w.style & WS_CHILD)
    if (Window* parent = Find(w.parent)) return parent->children;
  return TheDesktop().topLevel;
}


LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w || !w->proc) return 0;
  WNDPROC proc = w->proc;
  return proc(window, message, wParam, lParam);
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
  resized.window = w.handle;
  resized.width = ClientWidth(w);
  resized.height = ClientHeight(w);
  resized.pixels.assign(std::size_t(resized.width) * std::size_t(resized.height), w.background);
  for (int y = 0; y < std::min(resized.height, w.surface.height); ++y)
    for (int x = 0; x < std::min(resized.width, w.surface.width); ++x)
      resized.At(x, y) = w.surface.At(x, y);
  w.surface = std::move(resized);
}

}  // namespace winapi

using namespace winapi;

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
