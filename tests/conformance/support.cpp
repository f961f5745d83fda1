#include "support.h"

#include <cstdio>

Log g_log;

void log_reset() { g_log = Log{}; }

namespace {

LRESULT CALLBACK LoggedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      ++g_log.creates;
      break;
    case WM_DESTROY:
      ++g_log.destroys;
      break;
    case WM_SIZE:
      ++g_log.sizes;
      g_log.cx = LOWORD(lParam);
      g_log.cy = HIWORD(lParam);
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      ++g_log.paints;
      g_log.paint = ps.rcPaint;
      EndPaint(window, &ps);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

InLoop g_callback = nullptr;
void* g_context = nullptr;

LRESULT CALLBACK LoopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER + 1 && g_callback) {
    InLoop callback = g_callback;
    g_callback = nullptr;
    callback(g_context);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

ATOM register_class(const char* name, WNDPROC proc, UINT style) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = name;
  return RegisterClassExA(&wc);
}

const char* logged_class(UINT style) {
  static const char* names[4] = {"ConfLogged", "ConfLoggedV", "ConfLoggedH", "ConfLoggedHV"};
  static bool registered[4];
  UINT i = style & 3;
  if (!registered[i]) registered[i] = register_class(names[i], LoggedProc, i) != 0;
  return names[i];
}

HWND logged_window(UINT classStyle, DWORD style, int x, int y, int width, int height) {
  HWND window = CreateWindowExA(0, logged_class(classStyle), "conf", style, x, y, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  pump();
  log_reset();
  return window;
}

void pump() {
  MSG msg;
  for (int i = 0; i < 200 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int width_of(const RECT& r) { return r.right - r.left; }
int height_of(const RECT& r) { return r.bottom - r.top; }

COLORREF pixel(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

int ink(HWND window, const RECT& box, COLORREF background) {
  HDC dc = GetDC(window);
  int count = 0;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      COLORREF c = GetPixel(dc, x, y);
      if (c != CLR_INVALID && c != background) ++count;
    }
  ReleaseDC(window, dc);
  return count;
}

HWND in_loop_window() {
  static HWND window = nullptr;
  if (!window) {
    register_class("ConfLoop", LoopProc);
    window = CreateWindowExA(0, "ConfLoop", "loop", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
  }
  return window;
}

void post_in_loop(InLoop callback, void* context) {
  g_callback = callback;
  g_context = context;
  PostMessageA(in_loop_window(), WM_USER + 1, 0, 0);
}
