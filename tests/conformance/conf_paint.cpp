// What becomes invalid when a window is sized or moved, with and without the redraw class
// styles; UpdateWindow, BeginPaint and EndPaint; drawing through GetDC; where WM_PAINT comes
// among the queue's messages.
#include "harness.h"
#include "support.h"

namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Sizes a shown, validated 300 x 200 window (292 x 173 client) to width x height and reports
// the paints that follow.
void Resize(UINT classStyle, int width, int height) {
  HWND w = logged_window(classStyle, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  SetWindowPos(w, HWND_TOP, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(w);
  DestroyWindow(w);
}

// The same with a child window of that class inside a parent.
void ResizeChild(UINT classStyle, int width, int height) {
  HWND parent = logged_window(0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 400, 300);
  HWND child = CreateWindowExA(0, logged_class(classStyle), "child", WS_CHILD | WS_VISIBLE, 10,
                               10, 200, 100, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(parent);
  pump();
  log_reset();
  SetWindowPos(child, HWND_TOP, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  UpdateWindow(child);
  DestroyWindow(parent);
}

}  // namespace

// Without CS_HREDRAW and CS_VREDRAW a pure shrink leaves nothing to paint.
CONF_CASE(invalidate, shrink_plain) {
  Resize(0, 250, 150);
  ok(g_log.paints == 0, "%d paints after a shrink", g_log.paints);
}

CONF_CASE(invalidate, grow_width_plain) {
  Resize(0, 350, 200);
  ok(g_log.paints == 1, "%d paints", g_log.paints);
  ok(Same(g_log.paint, RECT{292, 0, 342, 173}), "rcPaint %d,%d-%d,%d: only the new strip",
     int(g_log.paint.left), int(g_log.paint.top), int(g_log.paint.right), int(g_log.paint.bottom));
}

CONF_CASE(invalidate, grow_height_plain) {
  Resize(0, 300, 260);
  ok(g_log.paints == 1, "%d paints", g_log.paints);
  ok(Same(g_log.paint, RECT{0, 173, 292, 233}), "rcPaint %d,%d-%d,%d: only the new strip",
     int(g_log.paint.left), int(g_log.paint.top), int(g_log.paint.right), int(g_log.paint.bottom));
}

CONF_CASE(invalidate, shrink_with_redraw_styles) {
  Resize(CS_HREDRAW | CS_VREDRAW, 250, 150);
  ok(g_log.paints == 1, "%d paints after a shrink", g_log.paints);
  ok(Same(g_log.paint, RECT{0, 0, 242, 123}), "rcPaint %d,%d-%d,%d: the whole client",
     int(g_log.paint.left), int(g_log.paint.top), int(g_log.paint.right), int(g_log.paint.bottom));
}

CONF_CASE(invalidate, hredraw_only_for_width) {
  Resize(CS_HREDRAW, 300, 150);
  ok(g_log.paints == 0, "CS_HREDRAW, height shrunk: %d paints", g_log.paints);
  Resize(CS_HREDRAW, 250, 200);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{0, 0, 242, 173}),
     "CS_HREDRAW, width shrunk: %d paints, rcPaint right %d", g_log.paints, int(g_log.paint.right));
}

CONF_CASE(invalidate, vredraw_only_for_height) {
  Resize(CS_VREDRAW, 250, 200);
  ok(g_log.paints == 0, "CS_VREDRAW, width shrunk: %d paints", g_log.paints);
  Resize(CS_VREDRAW, 300, 250);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{0, 0, 292, 223}),
     "CS_VREDRAW, height grown: %d paints, rcPaint bottom %d", g_log.paints, int(g_log.paint.bottom));
}

CONF_CASE(invalidate, grow_with_redraw_styles) {
  Resize(CS_HREDRAW | CS_VREDRAW, 350, 260);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{0, 0, 342, 233}),
     "%d paints, rcPaint %d,%d-%d,%d", g_log.paints, int(g_log.paint.left), int(g_log.paint.top),
     int(g_log.paint.right), int(g_log.paint.bottom));
}

CONF_CASE(invalidate, move_plain) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  SetWindowPos(w, HWND_TOP, 60, 70, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(w);
  ok(g_log.paints == 0, "%d paints after a move", g_log.paints);
  DestroyWindow(w);
}

CONF_CASE(invalidate, child_shrink_and_grow) {
  ResizeChild(0, 150, 80);
  ok(g_log.paints == 0, "child shrunk: %d paints", g_log.paints);
  ResizeChild(0, 240, 100);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{200, 0, 240, 100}),
     "child grown: %d paints, rcPaint %d,%d-%d,%d", g_log.paints, int(g_log.paint.left),
     int(g_log.paint.top), int(g_log.paint.right), int(g_log.paint.bottom));
  ResizeChild(CS_HREDRAW | CS_VREDRAW, 150, 80);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{0, 0, 150, 80}),
     "redraw child shrunk: %d paints", g_log.paints);
}

// What stays on the screen after a shrink is what was drawn before it.
CONF_CASE(invalidate, shrink_keeps_pixels) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  HDC dc = GetDC(w);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{10, 10, 100, 60};
  FillRect(dc, &r, red);
  ReleaseDC(w, dc);
  DeleteObject(red);
  SetWindowPos(w, HWND_TOP, 0, 0, 250, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  UpdateWindow(w);
  ok(pixel(w, 50, 30) == RGB(255, 0, 0), "pixel %06lx after the shrink",
     static_cast<unsigned long>(pixel(w, 50, 30)));
  DestroyWindow(w);
}

CONF_CASE(update, only_when_invalid) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  UpdateWindow(w);
  ok(g_log.paints == 0, "UpdateWindow with nothing invalid: %d paints", g_log.paints);
  RECT r{10, 20, 30, 40};
  InvalidateRect(w, &r, TRUE);
  UpdateWindow(w);
  ok(g_log.paints == 1 && Same(g_log.paint, r), "%d paints, rcPaint %d,%d-%d,%d",
     g_log.paints, int(g_log.paint.left), int(g_log.paint.top), int(g_log.paint.right), int(g_log.paint.bottom));
  UpdateWindow(w);
  ok(g_log.paints == 1, "the paint did not validate: %d paints", g_log.paints);
  DestroyWindow(w);
}

CONF_CASE(update, invalid_regions_add_up) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  RECT a{10, 10, 20, 20}, b{50, 60, 70, 80};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  UpdateWindow(w);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{10, 10, 70, 80}),
     "%d paints, rcPaint %d,%d-%d,%d", g_log.paints, int(g_log.paint.left), int(g_log.paint.top),
     int(g_log.paint.right), int(g_log.paint.bottom));
  DestroyWindow(w);
}

CONF_CASE(update, hidden_window_not_painted) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  ShowWindow(w, SW_HIDE);
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  pump();
  ok(g_log.paints == 0, "a hidden window was painted %d times", g_log.paints);
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  ok(g_log.paints == 1 && Same(g_log.paint, RECT{0, 0, 292, 173}),
     "after showing: %d paints, rcPaint right %d", g_log.paints, int(g_log.paint.right));
  DestroyWindow(w);
}

// UpdateWindow reaches an invalid window however deep beneath the one given, also after an
// invalid sibling was destroyed before its paint; the destroyed child's area is the parent's.
CONF_CASE(update, reaches_grandchild_after_invalid_sibling_destroyed) {
  HWND top = logged_window(0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 20, 20, 400, 300);
  const char* cls = logged_class(0);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HWND doomed = CreateWindowExA(0, cls, "doomed", WS_CHILD | WS_VISIBLE, 10, 10, 50, 40, top,
                                nullptr, instance, nullptr);
  HWND middle = CreateWindowExA(0, cls, "middle", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                                10, 200, 150, top, nullptr, instance, nullptr);
  HWND inner = CreateWindowExA(0, cls, "inner", WS_CHILD | WS_VISIBLE, 5, 5, 37, 23, middle,
                               nullptr, instance, nullptr);
  UpdateWindow(top);
  pump();
  log_reset();
  InvalidateRect(doomed, nullptr, TRUE);
  DestroyWindow(doomed);
  InvalidateRect(inner, nullptr, TRUE);
  UpdateWindow(top);
  ok(g_log.paints == 2 && Same(g_log.paint, RECT{0, 0, 37, 23}),
     "%d paints (want the parent's, then the grandchild's), last rcPaint %d,%d-%d,%d",
     g_log.paints, int(g_log.paint.left), int(g_log.paint.top), int(g_log.paint.right),
     int(g_log.paint.bottom));
  UpdateWindow(top);
  ok(g_log.paints == 2, "%d paints after a second UpdateWindow", g_log.paints);
  DestroyWindow(top);
}

namespace {

int g_unvalidated = 0;

LRESULT CALLBACK NoPaintProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    ++g_unvalidated;
    return 0;  // neither BeginPaint nor the default procedure: the window stays invalid
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

// WM_PAINT keeps coming until the window is validated; DefWindowProc validates.
CONF_CASE(paint, until_validated) {
  register_class("ConfNoPaint", NoPaintProc);
  HWND w = CreateWindowExA(0, "ConfNoPaint", "np", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                           150, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  g_unvalidated = 0;
  MSG msg;
  int paints = 0;
  for (int i = 0; i < 5 && PeekMessageA(&msg, w, WM_PAINT, WM_PAINT, PM_REMOVE); ++i) {
    ++paints;
    DispatchMessageA(&msg);
  }
  ok(paints == 5 && g_unvalidated == 5, "%d WM_PAINT fetched for an unvalidated window", paints);
  DefWindowProcA(w, WM_PAINT, 0, 0);
  ok(!PeekMessageA(&msg, w, WM_PAINT, WM_PAINT, PM_NOREMOVE), "still invalid after DefWindowProc");
  DestroyWindow(w);
}

CONF_CASE(paint, beginpaint_validates_and_reports) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  RECT r{5, 6, 50, 60};
  InvalidateRect(w, &r, TRUE);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(w, &ps);
  ok(dc != nullptr, "no DC");
  ok(Same(ps.rcPaint, r), "rcPaint %d,%d-%d,%d", int(ps.rcPaint.left), int(ps.rcPaint.top),
     int(ps.rcPaint.right), int(ps.rcPaint.bottom));
  ok(ps.fErase == FALSE, "fErase: the class background was not erased");
  EndPaint(w, &ps);
  MSG msg;
  ok(!PeekMessageA(&msg, w, WM_PAINT, WM_PAINT, PM_NOREMOVE), "still invalid after EndPaint");
  dc = BeginPaint(w, &ps);
  ok(ps.rcPaint.right <= ps.rcPaint.left, "valid window: rcPaint %d,%d-%d,%d",
     int(ps.rcPaint.left), int(ps.rcPaint.top), int(ps.rcPaint.right), int(ps.rcPaint.bottom));
  EndPaint(w, &ps);
  DestroyWindow(w);
}

// Drawing through GetDC lands in the client area and validates nothing.
CONF_CASE(paint, getdc_outside_paint) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  InvalidateRect(w, nullptr, FALSE);
  HDC dc = GetDC(w);
  ok(dc != nullptr, "no DC");
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT r{0, 0, 20, 10};
  FillRect(dc, &r, blue);
  ok(GetPixel(dc, 19, 9) == RGB(0, 0, 255), "pixel read back %06lx",
     static_cast<unsigned long>(GetPixel(dc, 19, 9)));
  ReleaseDC(w, dc);
  DeleteObject(blue);
  UpdateWindow(w);
  ok(g_log.paints == 1, "GetDC validated: %d paints", g_log.paints);
  DestroyWindow(w);
}

// Posted messages first, WM_PAINT only when nothing is posted, WM_QUIT after posted messages.
CONF_CASE(queue, paint_after_posted_peek) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  InvalidateRect(w, nullptr, FALSE);
  PostMessageA(w, WM_USER + 5, 1, 0);
  PostMessageA(w, WM_USER + 6, 2, 0);
  MSG msg;
  UINT order[3] = {};
  for (int i = 0; i < 3 && PeekMessageA(&msg, w, 0, 0, PM_REMOVE); ++i) {
    order[i] = msg.message;
    DispatchMessageA(&msg);
  }
  ok(order[0] == WM_USER + 5 && order[1] == WM_USER + 6 && order[2] == WM_PAINT,
     "order %x %x %x", order[0], order[1], order[2]);
  ok(!PeekMessageA(&msg, w, 0, 0, PM_REMOVE), "message %x left", msg.message);
  DestroyWindow(w);
}

CONF_CASE(queue, paint_after_posted_get) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  InvalidateRect(w, nullptr, FALSE);
  PostMessageA(w, WM_USER + 7, 0, 0);
  MSG msg;
  GetMessageA(&msg, w, 0, 0);
  ok(msg.message == WM_USER + 7, "first %x", msg.message);
  GetMessageA(&msg, w, 0, 0);
  ok(msg.message == WM_PAINT, "second %x", msg.message);
  DispatchMessageA(&msg);
  DestroyWindow(w);
}

CONF_CASE(queue, quit_after_posted) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  PostQuitMessage(3);
  PostMessageA(w, WM_USER + 8, 0, 0);
  MSG msg;
  BOOL r1 = GetMessageA(&msg, nullptr, 0, 0);
  ok(r1 && msg.message == WM_USER + 8, "first %d %x", r1, msg.message);
  BOOL r2 = GetMessageA(&msg, nullptr, 0, 0);
  ok(r2 == 0 && msg.message == WM_QUIT && msg.wParam == 3, "second %d %x %d", r2, msg.message,
     int(msg.wParam));
  DestroyWindow(w);
}

CONF_CASE(queue, peek_noremove_keeps) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  PostMessageA(w, WM_USER + 9, 0, 0);
  MSG msg;
  ok(PeekMessageA(&msg, w, 0, 0, PM_NOREMOVE) && msg.message == WM_USER + 9, "peek %x",
     msg.message);
  ok(PeekMessageA(&msg, w, 0, 0, PM_REMOVE) && msg.message == WM_USER + 9, "remove %x",
     msg.message);
  ok(!PeekMessageA(&msg, w, 0, 0, PM_REMOVE), "removed twice");
  DestroyWindow(w);
}

CONF_CASE(queue, destroy_purges_posted) {
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 300, 200);
  PostMessageA(w, WM_USER + 10, 0, 0);
  DestroyWindow(w);
  MSG msg;
  bool left = false;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) left = left || msg.message == WM_USER + 10;
  ok(!left, "a message of a destroyed window was still read");
}

