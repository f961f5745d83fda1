// The maximum tracking size and what bounds a window's size by it, Alt+F4 in DefWindowProc, and
// the client size that WM_SIZE carries.
#include "harness.h"
#include "support.h"

namespace {

struct SizeSeen {
  int count;
  WPARAM kind;
  LPARAM size;
};
SizeSeen g_seen;

LRESULT CALLBACK SizeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE) {
    ++g_seen.count;
    g_seen.kind = wParam;
    g_seen.size = lParam;
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND SizeWindow(DWORD style, int width, int height) {
  register_class("ConfSizeSeen", SizeProc);
  return CreateWindowExA(0, "ConfSizeSeen", "conf", style, 10, 10, width, height, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

// The default maximum tracking size: the screen with 4 pixels and a sizing frame on each side to
// spare, so that a maximised window's frame lies just off the screen.
CONF_CASE(metrics, max_track) {
  const int frame = GetSystemMetrics(SM_CXSIZEFRAME);
  ok(GetSystemMetrics(SM_CXMAXTRACK) == GetSystemMetrics(SM_CXSCREEN) + 4 + 2 * frame,
     "SM_CXMAXTRACK %d, screen %d, frame %d", GetSystemMetrics(SM_CXMAXTRACK),
     GetSystemMetrics(SM_CXSCREEN), frame);
  ok(GetSystemMetrics(SM_CYMAXTRACK) == GetSystemMetrics(SM_CYSCREEN) + 4 + 2 * frame,
     "SM_CYMAXTRACK %d, screen %d, frame %d", GetSystemMetrics(SM_CYMAXTRACK),
     GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CYSIZEFRAME));
}

// WM_SIZE says how the window was sized and its new client area's width and height, nothing else.
CONF_CASE(size, wm_size_carries_client_size) {
  g_seen = {};
  HWND w = SizeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
  pump();
  g_seen = {};
  SetWindowPos(w, HWND_TOP, 0, 0, 333, 222, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT c{};
  GetClientRect(w, &c);
  ok(g_seen.count == 1, "%d size messages", g_seen.count);
  ok(g_seen.kind == SIZE_RESTORED, "wParam %d", int(g_seen.kind));
  ok(g_seen.size == MAKELPARAM(width_of(c), height_of(c)),
     "lParam 0x%lx, client %d x %d", static_cast<unsigned long>(g_seen.size), width_of(c),
     height_of(c));
  DestroyWindow(w);
}

namespace {

// The WM_SYSCOMMAND messages waiting in the queue: how many, and for which window and command.
struct Posted {
  int count;
  HWND window;
  WPARAM command;
};
Posted TakeSysCommands() {
  Posted p{};
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_SYSCOMMAND, WM_SYSCOMMAND, PM_REMOVE)) {
    ++p.count;
    p.window = msg.hwnd;
    p.command = msg.wParam;
  }
  return p;
}

}  // namespace

// Alt+F4 reaches DefWindowProc as WM_SYSKEYDOWN with the context bit (29) set: it posts
// SC_CLOSE to the top-level window, even when a child had the key; F4 without Alt does nothing.
CONF_CASE(keys, alt_f4_closes_top_level) {
  HWND top = SizeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 200);
  HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 5, 5, 50, 20, top,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  pump();
  TakeSysCommands();
  const LPARAM alt = LPARAM(1) << 29;
  DefWindowProcA(child, WM_SYSKEYDOWN, VK_F4, alt | 1);
  Posted p = TakeSysCommands();
  ok(p.count == 1 && p.window == top && (p.command & 0xFFF0) == SC_CLOSE,
     "Alt+F4 in the child: %d posted, to the top-level %d, command 0x%x", p.count,
     p.window == top, unsigned(p.command));
  ok(IsWindow(top), "the window is only asked to close");
  DefWindowProcA(top, WM_SYSKEYDOWN, VK_F4, 1);
  p = TakeSysCommands();
  ok(p.count == 0, "F4 without Alt: %d posted", p.count);
  DestroyWindow(top);
  pump();
}

// Not the user's drag alone: SetWindowPos too leaves an overlapped or sizable window no larger
// than the maximum tracking size (DefWindowProc's WM_WINDOWPOSCHANGING asks WM_GETMINMAXINFO);
// a pop-up without a sizing frame takes any size.
CONF_CASE(size, setwindowpos_within_max_track) {
  const int maxX = GetSystemMetrics(SM_CXMAXTRACK), maxY = GetSystemMetrics(SM_CYMAXTRACK);
  const struct {
    DWORD style;
    bool bounded;
  } kinds[] = {{WS_OVERLAPPEDWINDOW, true}, {WS_OVERLAPPED | WS_CAPTION, true},
               {WS_POPUP | WS_THICKFRAME, true}, {WS_POPUP, false}};
  for (const auto& kind : kinds) {
    HWND w = SizeWindow(kind.style | WS_VISIBLE, 300, 200);
    pump();
    SetWindowPos(w, HWND_TOP, 0, 0, maxX + 300, maxY + 200,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT r{};
    GetWindowRect(w, &r);
    const int wantX = kind.bounded ? maxX : maxX + 300, wantY = kind.bounded ? maxY : maxY + 200;
    ok(width_of(r) == wantX && height_of(r) == wantY, "style 0x%lx: %d x %d, want %d x %d",
       static_cast<unsigned long>(kind.style), width_of(r), height_of(r), wantX, wantY);
    DestroyWindow(w);
  }
  pump();
}
