// Window rectangles for the styles the program uses, the system metrics behind them, the size
// messages of SetWindowPos, ShowWindow, and a window destroyed inside its own WM_CREATE.
#include <cstdio>

#include "harness.h"
#include "resource.h"
#include "support.h"

namespace {

// A window of a class with that menu resource (0: none), as the program's windows get theirs.
HWND Create(DWORD exStyle, DWORD style, int width, int height, int menu = 0) {
  char name[32] = "ConfPlain";
  if (menu) {
    std::snprintf(name, sizeof name, "ConfMenu%d", menu);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszMenuName = MAKEINTRESOURCEA(menu);
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
  }
  return CreateWindowExA(exStyle, menu ? name : logged_class(0), "conf", style, 40, 30, width,
                         height, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void ExpectClient(HWND window, int width, int height, const char* what) {
  RECT c{};
  GetClientRect(window, &c);
  ok(c.left == 0 && c.top == 0, "%s: client origin %d,%d", what, int(c.left), int(c.top));
  ok(width_of(c) == width && height_of(c) == height, "%s: client %d x %d, want %d x %d", what,
     width_of(c), height_of(c), width, height);
}

INT_PTR CALLBACK QuietDlgProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

}  // namespace

CONF_CASE(metrics, caption_menu_screen) {
  ok(GetSystemMetrics(SM_CYCAPTION) == 19, "SM_CYCAPTION %d", GetSystemMetrics(SM_CYCAPTION));
  ok(GetSystemMetrics(SM_CYMENU) == 19, "SM_CYMENU %d", GetSystemMetrics(SM_CYMENU));
  ok(GetSystemMetrics(SM_CXSCREEN) == 1024 && GetSystemMetrics(SM_CYSCREEN) == 768,
     "screen %d x %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

CONF_CASE(metrics, frames_and_edges) {
  ok(GetSystemMetrics(SM_CXFIXEDFRAME) == 3 && GetSystemMetrics(SM_CYFIXEDFRAME) == 3,
     "fixed frame %d, %d", GetSystemMetrics(SM_CXFIXEDFRAME), GetSystemMetrics(SM_CYFIXEDFRAME));
  ok(GetSystemMetrics(SM_CXSIZEFRAME) == 4 && GetSystemMetrics(SM_CYSIZEFRAME) == 4,
     "sizing frame %d, %d", GetSystemMetrics(SM_CXSIZEFRAME), GetSystemMetrics(SM_CYSIZEFRAME));
  ok(GetSystemMetrics(SM_CXEDGE) == 2 && GetSystemMetrics(SM_CYEDGE) == 2, "edge %d, %d",
     GetSystemMetrics(SM_CXEDGE), GetSystemMetrics(SM_CYEDGE));
  ok(GetSystemMetrics(SM_CXBORDER) == 1, "border %d", GetSystemMetrics(SM_CXBORDER));
}

// The main window: caption, system menu and minimise box, client edge, the class's menu bar.
CONF_CASE(rects, main_window) {
  HWND w = Create(WS_EX_CLIENTEDGE, WS_SYSMENU | WS_MINIMIZEBOX, 301, 322, IDR_MAINMENU);
  RECT r{};
  GetWindowRect(w, &r);
  ok(r.left == 40 && r.top == 30 && width_of(r) == 301 && height_of(r) == 322,
     "outer %d,%d %d x %d", int(r.left), int(r.top), width_of(r), height_of(r));
  // 3 frame + 2 edge each side; 19 caption and 19 menu bar above.
  ExpectClient(w, 291, 274, "main window");
  DestroyWindow(w);
}

CONF_CASE(rects, overlapped_window_with_menu) {
  HWND w = Create(0, WS_OVERLAPPEDWINDOW, 600, 400, IDR_PLOTMENU);
  ExpectClient(w, 592, 354, "600 x 400 sizeable window with menu");
  DestroyWindow(w);
}

CONF_CASE(rects, caption_without_menu) {
  HWND w = Create(0, WS_OVERLAPPEDWINDOW, 300, 200);
  ExpectClient(w, 292, 173, "sizeable window without menu");
  DestroyWindow(w);
  w = Create(0, WS_POPUP | WS_CAPTION | WS_SYSMENU, 300, 200);
  ExpectClient(w, 294, 175, "popup with caption (a caption brings a dialog frame)");
  DestroyWindow(w);
}

// The plot window's template: 450 x 300 dialog units of client area, then frame, caption, menu.
CONF_CASE(rects, plot_template) {
  HWND d = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PLOTTER), nullptr,
                              QuietDlgProc, 0);
  ok(d != nullptr, "no dialog");
  RECT c{}, r{};
  GetClientRect(d, &c);
  GetWindowRect(d, &r);
  ok(width_of(c) == 675, "client width %d", width_of(c));
  wine_deviation("Wine's stand-in for MS Sans Serif 8 has a 12-pixel cell, not 13");
  ok(height_of(c) == 488, "client height %d", height_of(c));
  wine_deviation(nullptr);
  ok(width_of(r) == width_of(c) + 8 && height_of(r) == height_of(c) + 46,
     "outer %d x %d for client %d x %d", width_of(r), height_of(r), width_of(c), height_of(c));
  SetWindowPos(d, HWND_TOP, 10, 10, 600, 400, SWP_NOACTIVATE);
  ExpectClient(d, 592, 354, "plot window at 600 x 400");
  DestroyWindow(d);
}

// The outer rectangle for a client rectangle: for the plot window's own styles, read back from
// the window made from its template, and for the main window's (whose caption CreateWindowExA
// implies, so it is named here). A window of that outer size has exactly that client area.
CONF_CASE(rects, adjust_window_rect) {
  HWND d = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PLOTTER), nullptr,
                              QuietDlgProc, 0);
  ok(d != nullptr, "no dialog");
  RECT r{0, 0, 550, 350};
  ok(AdjustWindowRectEx(&r, DWORD(GetWindowLongA(d, GWL_STYLE)), TRUE,
                        DWORD(GetWindowLongA(d, GWL_EXSTYLE))),
     "AdjustWindowRectEx failed");
  ok(r.left == -4 && r.top == -42 && r.right == 554 && r.bottom == 354,
     "plot window: %d,%d - %d,%d", int(r.left), int(r.top), int(r.right), int(r.bottom));
  SetWindowPos(d, HWND_TOP, 10, 10, width_of(r), height_of(r), SWP_NOACTIVATE);
  ExpectClient(d, 550, 350, "plot window at the adjusted size");
  DestroyWindow(d);
  r = RECT{0, 0, 291, 274};
  AdjustWindowRectEx(&r, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, TRUE, WS_EX_CLIENTEDGE);
  ok(width_of(r) == 301 && height_of(r) == 322, "main window: outer %d x %d", width_of(r),
     height_of(r));
}

// The panels: children with a modal frame (a raised dialog frame), tool windows, no caption.
CONF_CASE(rects, panel_children) {
  HWND parent = Create(0, WS_OVERLAPPEDWINDOW, 500, 500);
  HWND d = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_STOPBOX), parent,
                              QuietDlgProc, 0);
  ok(d != nullptr, "no panel");
  RECT c{}, r{};
  GetClientRect(d, &c);
  GetWindowRect(d, &r);
  ok(width_of(c) == 141, "client width %d (94 units)", width_of(c));
  ok(width_of(r) == width_of(c) + 6 && height_of(r) == height_of(c) + 6,
     "outer %d x %d around %d x %d", width_of(r), height_of(r), width_of(c), height_of(c));
  DestroyWindow(parent);
  ok(!IsWindow(d), "the panel outlived its parent");
}

// A size change sends WM_SIZE before SetWindowPos returns; no change, no message.
CONF_CASE(size, setwindowpos_sends_size) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  SetWindowPos(w, HWND_TOP, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ok(g_log.sizes == 1 && g_log.cx == 312 && g_log.cy == 183, "%d size messages, last %d x %d",
     g_log.sizes, g_log.cx, g_log.cy);
  log_reset();
  SetWindowPos(w, HWND_TOP, 0, 0, 320, 210, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ok(g_log.sizes == 0, "the same size again: %d size messages", g_log.sizes);
  SetWindowPos(w, HWND_TOP, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ok(g_log.sizes == 0, "a move: %d size messages", g_log.sizes);
  DestroyWindow(w);
}

namespace {

struct Nested {
  int depth = 0;
  int count = 0;
  int cx[4] = {}, cy[4] = {}, level[4] = {};
};
Nested g_nested;

LRESULT CALLBACK SnapProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    Nested& n = g_nested;
    if (n.count < 4) {
      n.cx[n.count] = LOWORD(lParam);
      n.cy[n.count] = HIWORD(lParam);
      n.level[n.count] = n.depth;
    }
    ++n.count;
    if (LOWORD(lParam) < 250 && n.depth < 3) {
      ++n.depth;
      SetWindowPos(window, HWND_TOP, 10, 10, 300, 200, SWP_NOACTIVATE);
      --n.depth;
    }
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// SetWindowPos inside WM_SIZE: the nested size message comes, with the new size, before the
// outer handler goes on; the outer one has already been delivered with the old size.
CONF_CASE(size, nested_setwindowpos) {
  register_class("ConfSnap", SnapProc);
  HWND w = CreateWindowExA(0, "ConfSnap", "snap", WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(w, SW_SHOW);
  pump();
  g_nested = Nested{};
  SetWindowPos(w, HWND_TOP, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Nested& n = g_nested;
  ok(n.count == 2, "%d size messages", n.count);
  ok(n.cx[0] == 192 && n.cy[0] == 123 && n.level[0] == 0, "first %d x %d at depth %d", n.cx[0],
     n.cy[0], n.level[0]);
  ok(n.cx[1] == 292 && n.cy[1] == 173 && n.level[1] == 1, "second %d x %d at depth %d", n.cx[1],
     n.cy[1], n.level[1]);
  RECT r{};
  GetWindowRect(w, &r);
  ok(r.left == 10 && r.top == 10 && width_of(r) == 300, "ends at %d,%d width %d", int(r.left),
     int(r.top), width_of(r));
  DestroyWindow(w);
}

CONF_CASE(show, results) {
  HWND w = CreateWindowExA(0, logged_class(0), "conf", WS_OVERLAPPEDWINDOW, 30, 30, 200, 150,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ok(!IsWindowVisible(w), "visible before shown");
  ok(ShowWindow(w, SW_SHOW) == FALSE, "SW_SHOW of a hidden window returned TRUE");
  ok(IsWindowVisible(w), "not visible after SW_SHOW");
  ok(ShowWindow(w, SW_SHOW) != FALSE, "SW_SHOW of a visible window returned FALSE");
  ok(ShowWindow(w, SW_HIDE) != FALSE, "SW_HIDE of a visible window returned FALSE");
  ok(ShowWindow(w, SW_HIDE) == FALSE, "SW_HIDE of a hidden window returned TRUE");
  DestroyWindow(w);
}

CONF_CASE(show, activation) {
  HWND a = logged_window(0, WS_OVERLAPPEDWINDOW, 30, 30, 200, 150);
  ok(GetActiveWindow() == a, "a shown window is not active");
  HWND b = CreateWindowExA(0, logged_class(0), "b", WS_OVERLAPPEDWINDOW, 60, 60, 200, 150,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(b, SW_SHOWNOACTIVATE);
  ok(GetActiveWindow() == a, "SW_SHOWNOACTIVATE activated");
  ShowWindow(b, SW_HIDE);
  ShowWindow(b, SW_SHOW);
  ok(GetActiveWindow() == b, "SW_SHOW did not activate");
  ShowWindow(b, SW_HIDE);
  ok(GetActiveWindow() != b, "a hidden window stays active");
  SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ok(IsWindowVisible(b) && GetActiveWindow() == b, "SWP_SHOWWINDOW did not show and activate");
  DestroyWindow(b);
  DestroyWindow(a);
}

// The first show of a window created hidden delivers its size, which the plot window relies on.
CONF_CASE(show, first_show_sends_size) {
  log_reset();
  HWND w = CreateWindowExA(0, logged_class(0), "conf", WS_OVERLAPPEDWINDOW, 30, 30, 200, 150,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  int afterCreate = g_log.sizes;
  ShowWindow(w, SW_SHOW);
  ok(g_log.sizes >= 1, "no WM_SIZE by the first show (%d after create)", afterCreate);
  ok(g_log.cx == 192 && g_log.cy == 123, "size %d x %d", g_log.cx, g_log.cy);
  DestroyWindow(w);
}

namespace {

LRESULT CALLBACK SelfDestroyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) ++g_log.destroys;
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

CONF_CASE(create, destroyed_in_wm_create) {
  register_class("ConfSelfDestroy", SelfDestroyProc);
  log_reset();
  HWND w = CreateWindowExA(0, "ConfSelfDestroy", "gone", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                           100, 100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ok(w == nullptr, "CreateWindowExA returned a window");
  ok(g_log.destroys == 1, "%d WM_DESTROY", g_log.destroys);
}

CONF_CASE(create, destroy_children_and_stale_handles) {
  HWND parent = logged_window(0, WS_OVERLAPPEDWINDOW, 10, 10, 200, 200);
  HWND child = CreateWindowExA(0, logged_class(0), "child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50,
                               parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  log_reset();
  ok(DestroyWindow(parent) != FALSE, "DestroyWindow failed");
  ok(g_log.destroys == 2, "%d WM_DESTROY for parent and child", g_log.destroys);
  ok(!IsWindow(parent) && !IsWindow(child), "a window survived");
  ok(DestroyWindow(parent) == FALSE, "DestroyWindow of a stale handle succeeded");
  ok(ShowWindow(child, SW_SHOW) == FALSE && !IsWindowVisible(child), "a stale child shows");
}
