// Static texts: SS_LEFT, SS_CENTER and SS_RIGHT break their text into lines between words and
// clip what does not fit; SS_LEFTNOWORDWRAP does not break. And the program's own static texts
// fit their controls on one line.
#include <cstring>
#include <initializer_list>

#include "harness.h"
#include "resource.h"
#include "support.h"

namespace {

struct Ink {
  int left = 1 << 20, right = -1, top = 1 << 20, bottom = -1;  // inclusive; right < 0: none
};

// Where the static's text put ink, within `box`; the bottom-right pixel is its background.
Ink InkBox(HWND control, const RECT& box) {
  RECT c{};
  GetClientRect(control, &c);
  COLORREF background = pixel(control, c.right - 1, c.bottom - 1);
  HDC dc = GetDC(control);
  Ink ink;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) {
      COLORREF p = GetPixel(dc, x, y);
      if (p == CLR_INVALID || p == background) continue;
      if (x < ink.left) ink.left = x;
      if (x > ink.right) ink.right = x;
      if (y < ink.top) ink.top = y;
      if (y > ink.bottom) ink.bottom = y;
    }
  ReleaseDC(control, dc);
  return ink;
}

struct Statics {
  HWND parent;
  int word;   // width of "Wwwww" in pixels
  int line;   // one line's ink bottom + 2
};

HWND Static(HWND parent, const char* text, DWORD style, int width, int height) {
  HWND s = CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | style, 10, 10, width,
                           height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
  UpdateWindow(parent);
  UpdateWindow(s);
  return s;
}

Statics Measure() {
  Statics st;
  st.parent = logged_window(0, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 10, 10, 400, 200);
  HWND one = Static(st.parent, "Wwwww", SS_LEFT, 300, 60);
  Ink ink = InkBox(one, RECT{0, 0, 300, 60});
  st.word = ink.right + 1;
  st.line = ink.bottom + 2;
  DestroyWindow(one);
  return st;
}

}  // namespace

CONF_CASE(static_text, left_wraps_between_words) {
  Statics st = Measure();
  ok(st.word > 10 && st.line > 8, "one word measured %d x %d", st.word, st.line);
  HWND s = Static(st.parent, "Wwwww Wwwww", SS_LEFT, st.word + 8, 3 * st.line);
  Ink first = InkBox(s, RECT{0, 0, st.word + 8, st.line});
  Ink second = InkBox(s, RECT{0, st.line, st.word + 8, 3 * st.line});
  ok(first.right >= 0 && first.right < st.word + 2, "first line ink up to %d (word %d)",
     first.right, st.word);
  ok(second.right >= 0, "no second line: the text was not broken between the words");
  ok(second.left <= 1, "second line starts at %d", second.left);
  DestroyWindow(st.parent);
}

CONF_CASE(static_text, center_wraps_and_centres_each_line) {
  Statics st = Measure();
  int width = st.word * 3 / 2;
  HWND s = Static(st.parent, "Wwwww Wwwww", SS_CENTER, width, 3 * st.line);
  Ink first = InkBox(s, RECT{0, 0, width, st.line});
  Ink second = InkBox(s, RECT{0, st.line, width, 3 * st.line});
  ok(second.right >= 0, "no second line");
  int mid1 = (first.left + first.right) / 2, mid2 = (second.left + second.right) / 2;
  ok(mid1 >= width / 2 - 3 && mid1 <= width / 2 + 3, "first line centred at %d of %d", mid1,
     width);
  ok(mid2 >= width / 2 - 3 && mid2 <= width / 2 + 3, "second line centred at %d of %d", mid2,
     width);
  DestroyWindow(st.parent);
}

CONF_CASE(static_text, right_wraps_and_aligns_right) {
  Statics st = Measure();
  int width = st.word * 3 / 2;
  HWND s = Static(st.parent, "Wwwww Wwwww", SS_RIGHT, width, 3 * st.line);
  Ink first = InkBox(s, RECT{0, 0, width, st.line});
  Ink second = InkBox(s, RECT{0, st.line, width, 3 * st.line});
  ok(second.right >= 0, "no second line");
  ok(first.right >= width - 4 && second.right >= width - 4, "lines end at %d and %d of %d",
     first.right, second.right, width);
  ok(first.left >= st.word / 3, "first line starts at %d", first.left);
  DestroyWindow(st.parent);
}

// A line may also be broken after a hyphen, as in "12-Bit-A/D-Wandler".
CONF_CASE(static_text, breaks_after_a_hyphen) {
  Statics st = Measure();
  int width = st.word * 3 / 2;
  HWND s = Static(st.parent, "Wwwww-Wwwww", SS_LEFT, width, 3 * st.line);
  Ink first = InkBox(s, RECT{0, 0, width, st.line});
  Ink second = InkBox(s, RECT{0, st.line, width, 3 * st.line});
  ok(second.right >= 0 && second.left <= 1, "no second line starting at the left (%d)",
     second.left);
  ok(first.right < width - 4, "the first line ran on to %d of %d", first.right, width);
  DestroyWindow(st.parent);
}

CONF_CASE(static_text, nowordwrap_stays_on_one_line) {
  Statics st = Measure();
  HWND s = Static(st.parent, "Wwwww Wwwww", SS_LEFTNOWORDWRAP, st.word + 8, 3 * st.line);
  Ink first = InkBox(s, RECT{0, 0, st.word + 8, st.line});
  Ink second = InkBox(s, RECT{0, st.line, st.word + 8, 3 * st.line});
  ok(second.right < 0, "SS_LEFTNOWORDWRAP broke the line");
  ok(first.right >= st.word + 4, "the second word's start is not drawn (ink up to %d)",
     first.right);
  DestroyWindow(st.parent);
}

// A word longer than the line is not broken: it is drawn on its line and clipped.
CONF_CASE(static_text, long_word_clipped) {
  Statics st = Measure();
  int width = st.word / 2;
  HWND s = Static(st.parent, "Wwwww", SS_LEFT, width, 3 * st.line);
  Ink first = InkBox(s, RECT{0, 0, width, st.line});
  Ink second = InkBox(s, RECT{0, st.line, width, 3 * st.line});
  ok(first.right >= width - 3, "first line ink ends at %d of %d", first.right, width);
  ok(second.right < 0, "the word was broken");
  DestroyWindow(st.parent);
}

// Broken lines that do not fit the control's height are clipped away.
CONF_CASE(static_text, lines_below_clipped) {
  Statics st = Measure();
  HWND s = Static(st.parent, "Wwwww Wwwww", SS_LEFT, st.word + 8, st.line);
  Ink first = InkBox(s, RECT{0, 0, st.word + 8, st.line});
  ok(first.right >= 0 && first.right < st.word + 2, "first line ink to %d (word %d)",
     first.right, st.word);
  DestroyWindow(st.parent);
}

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

// Every static text of that template, stretched to three times its height, keeps its text on
// one line: the dialog font's lines are at most 13 pixels apart.
void ExpectOneLine(int templateId, const char* name, HWND parent) {
  HWND d = CreateDialogParamA(GetModuleHandleA(nullptr),
                              templateId ? MAKEINTRESOURCEA(templateId) : name, parent, QuietProc,
                              0);
  ok(d != nullptr, "no dialog %d %s", templateId, templateId ? "" : name);
  ShowWindow(d, SW_SHOW);
  for (HWND c = GetWindow(d, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[16] = "";
    GetClassNameA(c, cls, sizeof cls);
    LONG style = GetWindowLongA(c, GWL_STYLE);
    if (std::strcmp(cls, "Static") != 0 || (style & SS_TYPEMASK) == SS_ICON) continue;
    RECT r{};
    GetClientRect(c, &r);
    SetWindowPos(c, HWND_TOP, 0, 0, r.right, 3 * 13, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(c);
    Ink ink = InkBox(c, RECT{0, 0, r.right, 3 * 13});
    char text[128] = "";
    GetWindowTextA(c, text, sizeof text);
    ok(ink.right >= 0, "\"%s\" shows nothing", text);
    if (std::strcmp(text, "Datens\xE4tze") == 0)
      wine_deviation("Wine's stand-in for MS Sans Serif 8 is wider than MS Sans Serif: "
                     "\"Datens\xC3\xA4tze\" overruns its 35-unit label and is broken");
    ok(ink.bottom < 15, "\"%s\" takes more than one line in %d pixels (ink %d-%d, %d-%d)",
       text, int(r.right), ink.left, ink.right, ink.top, ink.bottom);
  }
  DestroyWindow(d);
}

}  // namespace

CONF_CASE(static_text, program_panels_fit_one_line) {
  HWND parent = logged_window(0, WS_OVERLAPPEDWINDOW, 0, 0, 400, 400);
  for (int id : {IDD_TOOLBAR, IDD_ANZEIGE, IDD_SATZZAHL}) ExpectOneLine(id, nullptr, parent);
  DestroyWindow(parent);
}

CONF_CASE(static_text, about_box_fits_one_line) {
  HWND owner = logged_window(0, WS_OVERLAPPEDWINDOW, 0, 0, 400, 400);
  ExpectOneLine(0, "AboutBox", owner);
  DestroyWindow(owner);
}
