// SelectObject with handles it cannot select: NULL (HGDI_ERROR is for regions only, which the
// program never selects), and the context keeps what it had.
#include "harness.h"
#include "support.h"

CONF_CASE(selectobject, refuses_what_is_no_live_gdi_object) {
  HWND window = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 200, 150);
  HDC dc = GetDC(window);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ original = SelectObject(dc, red);
  ok(original != nullptr, "selecting a brush returned NULL");

  ok(SelectObject(dc, nullptr) == nullptr, "NULL was selected");
  ok(SelectObject(dc, dc) == nullptr, "a device context was selected into itself");
  HDC other = GetDC(window);
  ok(SelectObject(dc, other) == nullptr, "another device context was selected");
  ReleaseDC(window, other);
  HBRUSH gone = CreateSolidBrush(RGB(0, 0, 255));
  DeleteObject(gone);
  ok(SelectObject(dc, gone) == nullptr, "a deleted brush was selected");

  // The refused calls changed nothing: the red brush is still the one selected.
  ok(SelectObject(dc, original) == red, "the selected brush changed");
  DeleteObject(red);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}

CONF_CASE(selectobject, keeps_the_font_after_a_refusal) {
  HWND window = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 200, 150);
  HDC dc = GetDC(window);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HGDIOBJ original = SelectObject(dc, font);
  ok(original != nullptr, "selecting a font returned NULL");
  HFONT gone = CreateFontA(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  DeleteObject(gone);
  ok(SelectObject(dc, gone) == nullptr, "a deleted font was selected");
  ok(SelectObject(dc, original) == font, "the selected font changed");
  DeleteObject(font);
  ReleaseDC(window, dc);
  DestroyWindow(window);
}
