// The raster and text calls the chart is drawn with, on a window's device context, and the objects
// selected into it.
#include "harness.h"
#include "support.h"

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

struct Canvas {
  HWND window;
  HDC dc;
};

Canvas Open() {
  Canvas c;
  c.window = logged_window(0, WS_OVERLAPPEDWINDOW, 20, 20, 400, 300);
  c.dc = GetDC(c.window);
  HBRUSH white = CreateSolidBrush(kWhite);
  RECT all{0, 0, 392, 273};
  FillRect(c.dc, &all, white);
  DeleteObject(white);
  return c;
}

void Close(Canvas& c) {
  ReleaseDC(c.window, c.dc);
  DestroyWindow(c.window);
}

// Height of the opaque box TextOutA fills behind blanks at (x, y), in the DC's current font.
int OpaqueBoxHeight(HDC dc, int x, int y) {
  SetBkColor(dc, kRed);
  TextOutA(dc, x, y, "  ", 2);
  int h = 0;
  while (h < 100 && GetPixel(dc, x, y + h) == kRed) ++h;
  return h;
}

}  // namespace

CONF_CASE(gdi, fillrect_excludes_right_and_bottom) {
  Canvas c = Open();
  HBRUSH red = CreateSolidBrush(kRed);
  RECT r{10, 10, 20, 15};
  ok(FillRect(c.dc, &r, red) != 0, "FillRect failed");
  ok(GetPixel(c.dc, 10, 10) == kRed && GetPixel(c.dc, 19, 14) == kRed, "corners not filled");
  ok(GetPixel(c.dc, 20, 10) == kWhite && GetPixel(c.dc, 10, 15) == kWhite,
     "right column or bottom row filled");
  ok(GetPixel(c.dc, 9, 10) == kWhite && GetPixel(c.dc, 10, 9) == kWhite, "filled outside");
  DeleteObject(red);
  Close(c);
}

CONF_CASE(gdi, fillrect_with_system_colour_index) {
  Canvas c = Open();
  RECT r{30, 30, 40, 40};
  FillRect(c.dc, &r, reinterpret_cast<HBRUSH>(COLOR_MENUTEXT + 1));
  ok(GetPixel(c.dc, 35, 35) == RGB(0, 0, 0), "COLOR_MENUTEXT + 1 filled %06lx",
     static_cast<unsigned long>(GetPixel(c.dc, 35, 35)));
  Close(c);
}

CONF_CASE(gdi, lineto_leaves_out_end_point) {
  Canvas c = Open();
  MoveToEx(c.dc, 20, 50, nullptr);
  ok(LineTo(c.dc, 40, 50) != FALSE, "LineTo failed");
  ok(GetPixel(c.dc, 20, 50) == 0 && GetPixel(c.dc, 39, 50) == 0, "line not drawn in black");
  ok(GetPixel(c.dc, 40, 50) == kWhite, "end point drawn");
  LineTo(c.dc, 40, 70);
  ok(GetPixel(c.dc, 40, 50) == 0 && GetPixel(c.dc, 40, 69) == 0, "vertical line not drawn");
  ok(GetPixel(c.dc, 40, 70) == kWhite, "vertical end point drawn");
  POINT previous{};
  MoveToEx(c.dc, 5, 5, &previous);
  ok(previous.x == 40 && previous.y == 70, "LineTo left the position at %d,%d", int(previous.x),
     int(previous.y));
  Close(c);
}

CONF_CASE(gdi, setpixel_sets_within_client) {
  Canvas c = Open();
  ok(SetPixel(c.dc, 5, 6, RGB(0, 255, 0)) == RGB(0, 255, 0), "SetPixel's result");
  ok(GetPixel(c.dc, 5, 6) == RGB(0, 255, 0), "pixel not set");
  SetPixel(c.dc, 392, 6, kRed);
  ok(GetPixel(c.dc, 392, 6) == CLR_INVALID, "read beyond the client area");
  Close(c);
}

CONF_CASE(gdi, dc_defaults) {
  Canvas c = Open();
  ok(SetTextColor(c.dc, kRed) == RGB(0, 0, 0), "default text colour");
  ok(SetBkColor(c.dc, kRed) == kWhite, "default background colour");
  ok(SetBkMode(c.dc, TRANSPARENT) == OPAQUE, "default background mode");
  HGDIOBJ font = SelectObject(c.dc, GetStockObject(SYSTEM_FONT));
  ok(font == GetStockObject(SYSTEM_FONT), "default font %p", font);
  Close(c);
}

// The stock system font's cell is 16 pixels; TextOutA fills it behind the text when opaque.
CONF_CASE(gdi, textout_opaque_box) {
  Canvas c = Open();
  int h = OpaqueBoxHeight(c.dc, 50, 50);
  ok(h == 16, "opaque box %d pixels high", h);
  ok(GetPixel(c.dc, 49, 50) == kWhite && GetPixel(c.dc, 50, 49) == kWhite,
     "filled left of or above the anchor");
  int w = 0;
  while (w < 100 && GetPixel(c.dc, 50 + w, 50) == kRed) ++w;
  ok(w >= 4 && w <= 20, "two blanks fill %d pixels", w);
  Close(c);
}

CONF_CASE(gdi, textout_transparent) {
  Canvas c = Open();
  SetBkMode(c.dc, TRANSPARENT);
  SetBkColor(c.dc, kRed);
  TextOutA(c.dc, 50, 50, "  ", 2);
  ok(GetPixel(c.dc, 51, 51) == kWhite, "a transparent TextOutA filled its box");
  SetTextColor(c.dc, kRed);
  TextOutA(c.dc, 50, 80, "WW", 2);
  ok(ink(c.window, RECT{50, 80, 90, 96}, kWhite) > 0, "no ink");
  Close(c);
}

// DrawTextA with flags 0: one line at the rectangle's top-left; returns the text's height.
CONF_CASE(gdi, drawtext_flags_zero) {
  Canvas c = Open();
  SetBkColor(c.dc, kRed);
  RECT r{100, 100, 300, 200};
  int h = DrawTextA(c.dc, "  ", -1, &r, 0);
  ok(h == 16, "DrawTextA returned %d", h);
  ok(GetPixel(c.dc, 100, 100) == kRed, "not drawn at the top-left");
  ok(GetPixel(c.dc, 100, 116) == kWhite, "drawn below the line");
  ok(r.left == 100 && r.top == 100 && r.right == 300 && r.bottom == 200, "rectangle changed");
  Close(c);
}

CONF_CASE(gdi, drawtext_centred_single_line) {
  Canvas c = Open();
  SetBkColor(c.dc, kRed);
  RECT r{100, 100, 300, 200};
  DrawTextA(c.dc, "  ", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  ok(GetPixel(c.dc, 200, 150) == kRed, "not around the centre");
  ok(GetPixel(c.dc, 100, 100) == kWhite, "drawn at the top-left");
  Close(c);
}

// A positive height asks for the cell (internal leading included), a negative one for the
// character height, so its cell is taller.
CONF_CASE(gdi, createfont_heights) {
  Canvas c = Open();
  HFONT cell = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  HFONT em = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  ok(cell && em, "CreateFontA failed");
  HGDIOBJ old = SelectObject(c.dc, cell);
  int h1 = OpaqueBoxHeight(c.dc, 10, 10);
  SelectObject(c.dc, em);
  int h2 = OpaqueBoxHeight(c.dc, 10, 40);
  SelectObject(c.dc, old);
  ok(h1 == 20, "height 20: cell %d", h1);
  ok(h2 >= 22 && h2 <= 24, "height -20: cell %d", h2);
  ok(DeleteObject(cell) && DeleteObject(em), "DeleteObject failed");
  Close(c);
}

CONF_CASE(gdi, stock_objects) {
  Canvas c = Open();
  HGDIOBJ a = GetStockObject(SYSTEM_FONT), b = GetStockObject(SYSTEM_FONT);
  ok(a != nullptr && a == b, "SYSTEM_FONT %p %p", a, b);
  HFONT mine = CreateFontA(12, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
  ok(SelectObject(c.dc, mine) == a, "selecting a font did not return the stock one");
  ok(SelectObject(c.dc, a) == mine, "selecting back did not return mine");
  ok(DeleteObject(mine) != FALSE, "a font no longer selected cannot be deleted");
  ok(DeleteObject(a) != FALSE, "DeleteObject of a stock object reports failure");
  ok(GetStockObject(SYSTEM_FONT) == a, "the stock font went away");
  Close(c);
}

CONF_CASE(gdi, solid_brush_colour) {
  Canvas c = Open();
  HBRUSH b = CreateSolidBrush(RGB(100, 100, 255));
  RECT r{0, 0, 5, 5};
  FillRect(c.dc, &r, b);
  ok(GetPixel(c.dc, 2, 2) == RGB(100, 100, 255), "brush colour %06lx",
     static_cast<unsigned long>(GetPixel(c.dc, 2, 2)));
  ok(DeleteObject(b) != FALSE, "DeleteObject failed");
  Close(c);
}

// SelectObject with handles it cannot select: NULL (HGDI_ERROR is for regions only, which the
// program never selects), and the context keeps what it had.
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
