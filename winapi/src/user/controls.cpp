// The controls the templates use: push and default push buttons, auto radio buttons, edit
// fields, static texts and icons. Each paints itself into its client surface.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "controls.h"

#include "dc.h"
#include "dialogstate.h"
#include "draw.h"
#include "icons.h"
#include "metrics.h"
#include "window.h"
#include "focus.h"
#include "paint.h"

namespace winapi {
namespace {

constexpr WORD kEnChange = 0x0300;

DWORD TypeOf(const Window& w) { return w.style & BS_TYPEMASK; }

void Notify(const Window& w, WORD code) {
  Send(w.parent, WM_COMMAND, MAKEWPARAM(w.id, code), reinterpret_cast<LPARAM>(w.handle));
}

// The auto radio buttons of one group: from the last WS_GROUP control up to the next.
void CheckInGroup(const Window& button) {
  Window* parent = Find(button.parent);
  if (!parent) return;
  std::vector<HWND> group;
  bool mine = false;
  for (HWND child : parent->children) {
    Window* c = Find(child);
    if (!c) continue;
    if (c->style & WS_GROUP) {
      if (mine) break;
      group.clear();
    }
    group.push_back(child);
    mine = mine || child == button.handle;
  }
  for (HWND member : group) {
    Window* m = Find(member);
    if (m && IsControl(*m, ControlKind::Button) && TypeOf(*m) == BS_AUTORADIOBUTTON)
      Send(member, BM_SETCHECK, member == button.handle ? BST_CHECKED : BST_UNCHECKED, 0);
  }
}

void Clicked(HWND window) {
  Window* w = Find(window);
  if (!w) return;
  if (TypeOf(*w) == BS_AUTORADIOBUTTON) CheckInGroup(*w);
  if ((w = Find(window))) Notify(*w, BN_CLICKED);
}

void PaintPushButton(Window& w, Surface& s) {
  RECT r{0, 0, s.width, s.height};
  FillBox(s, r, metrics::kFace);
  bool focused = FocusWindow() == w.handle;
  if (IsDefaultButton(w) || w.control->pushed) {
    FrameBox(s, r, metrics::kDarkShadow);
    r = RECT{1, 1, s.width - 1, s.height - 1};
  }
  if (w.control->pushed)
    FrameBox(s, r, metrics::kShadow);
  else
    RaisedEdge(s, r);
  int shift = w.control->pushed ? 1 : 0;
  RECT text{r.left + 2 + shift, r.top + 2 + shift, r.right - 2 + shift, r.bottom - 2 + shift};
  DrawLabel(s, w.text, text, Align::Center, true, metrics::kText, (w.style & WS_DISABLED) != 0);
  if (focused) FocusBox(s, RECT{4, 4, s.width - 4, s.height - 4});
}

void PaintRadioButton(Window& w, Surface& s) {
  FillBox(s, RECT{0, 0, s.width, s.height}, metrics::kFace);
  int top = (s.height - 12) / 2;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      double dx = x - 5.5, dy = y - 5.5, d = std::sqrt(dx * dx + dy * dy);
      if (d > 6.0 || !s.Contains(x, top + y)) continue;
      bool upperLeft = dx + dy < 0;
      COLORREF c = metrics::kWindow;
      if (d > 5.0)
        c = upperLeft ? metrics::kShadow : metrics::kHighlight;
      else if (d > 4.0)
        c = upperLeft ? metrics::kDarkShadow : metrics::kLight;
      else if (w.control->check == BST_CHECKED && d < 2.0)
        c = metrics::kText;
      s.At(x, top + y) = c;
    }
  RECT text{16, 0, s.width, s.height};
  DrawLabel(s, w.text, text, Align::Left, true, metrics::kText, (w.style & WS_DISABLED) != 0);
  if (FocusWindow() == w.handle) FocusBox(s, RECT{15, 0, s.width, s.height});
}

// Where a line may be broken: after a run of spaces, or after a hyphen that does not stand
// before a digit (Unicode line breaking, as Win32's word break follows it). Each piece keeps
// its trailing spaces.
std::vector<std::string> BreakablePieces(const std::string& paragraph) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t i = 0; i < paragraph.size(); ++i) {
    char next = i + 1 < paragraph.size() ? paragraph[i + 1] : '\0';
    bool afterSpaces = paragraph[i] == ' ' && next != ' ';
    bool afterHyphen = paragraph[i] == '-' && next != '\0' && next != ' ' &&
                       !(next >= '0' && next <= '9');
    if (afterSpaces || afterHyphen) {
      pieces.push_back(paragraph.substr(start, i + 1 - start));
      start = i + 1;
    }
  }
  if (start < paragraph.size()) pieces.push_back(paragraph.substr(start));
  return pieces;
}

std::string TrimRight(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The lines a static text shows: its own line breaks and, with word wrap, a break wherever the
// next piece would run past `width`. A piece wider than the line stays whole and is clipped.
std::vector<std::string> StaticLines(const std::string& text, const FontRequest& font, int width,
                                     bool wrap) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = 0; end <= text.size(); ++end) {
    if (end < text.size() && text[end] != '\n') continue;
    std::string paragraph = text.substr(start, end - start);
    start = end + 1;
    if (!wrap) {
      lines.push_back(paragraph);
      continue;
    }
    std::string line;
    for (const std::string& piece : BreakablePieces(paragraph)) {
      if (!line.empty() && MeasureText(font, TrimRight(line + piece), true).width > width) {
        lines.push_back(TrimRight(line));
        line.clear();
      }
      line += piece;
    }
    lines.push_back(TrimRight(line));
  }
  return lines;
}

void PaintStatic(Window& w, Surface& s) {
  FillBox(s, RECT{0, 0, s.width, s.height}, metrics::kFace);
  DWORD type = w.style & SS_TYPEMASK;
  if (type == SS_ICON) {
    if (const res::IconImage* icon = IconImageOf(w.control->icon)) DrawIcon(s, *icon, 0, 0, 32);
    return;
  }
  Align align = type == SS_CENTER ? Align::Center : type == SS_RIGHT ? Align::Right : Align::Left;
  bool wrap = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
  const FontRequest& font = ControlFont();
  FontMetrics m;
  MeasureFont(font, m);
  int top = 0;
  for (const std::string& line : StaticLines(w.text, font, s.width, wrap)) {
    if (top >= s.height) break;  // the lines that do not fit are clipped away
    DrawLabel(s, line, RECT{0, top, s.width, s.height}, align, false, metrics::kText,
              (w.style & WS_DISABLED) != 0);
    top += std::max(m.height, 1);
  }
}

void PaintEdit(Window& w, Surface& s) {
  bool disabled = (w.style & WS_DISABLED) != 0;
  TextStyle style;
  style.background = disabled ? metrics::kFace : metrics::kWindow;
  style.onBackground = true;
  FillBox(s, RECT{0, 0, s.width, s.height}, style.background);
  DWORD align = w.style & 0x3;
  Align a = align == ES_CENTER ? Align::Center : align == ES_RIGHT ? Align::Right : Align::Left;
  const FontRequest& font = ControlFont();
  style.color = disabled ? metrics::kGrayText : metrics::kText;
  TextSize size = MeasureText(font, w.text);
  int x = a == Align::Left ? 1 : a == Align::Right ? s.width - 1 - size.width
                                                    : (s.width - size.width) / 2;
  RECT clip{1, 0, s.width - 1, s.height};
  DrawTextLine(s, font, w.text, x, (s.height - size.height) / 2, style, &clip);
}

// WM_PAINT for every control: validate, then draw the whole client area.
void Paint(HWND window, void (*draw)(Window&, Surface&)) {
  PAINTSTRUCT ps;
  BeginPaint(window, &ps);
  if (Window* w = Find(window)) draw(*w, w->surface);
  EndPaint(window, &ps);
}

// The painting messages, which every control handles alike; false for the messages left to
// the control itself.
bool HandlePaint(HWND window, UINT message, void (*draw)(Window&, Surface&), LRESULT& result) {
  switch (message) {
    case WM_PAINT:
      Paint(window, draw);
      result = 0;
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the paint covers everything
      return true;
  }
  return false;
}

}  // namespace

bool IsControl(const Window& w, ControlKind kind) { return w.control && w.control->kind == kind; }

bool IsPushButton(const Window& w) {
  if (!IsControl(w, ControlKind::Button)) return false;
  DWORD type = w.style & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// SetFocus alone does not make a push button the default; the dialog's own Tab navigation does.
HWND FocusedDefault(const Window& dialog) {
  Window* focus = Find(FocusWindow());
  if (!focus || focus->parent != dialog.handle || !IsPushButton(*focus)) return nullptr;
  bool own = (focus->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  bool tabbed = dialog.dialog && dialog.dialog->tabbedButton == focus->handle;
  return own || tabbed ? focus->handle : nullptr;
}

bool IsDefaultButton(const Window& w) {
  if (!IsPushButton(w)) return false;
  Window* d = Find(w.parent);
  if (!d) return false;
  if (HWND focused = FocusedDefault(*d)) return focused == w.handle;
  return d->dialog && d->dialog->defId != 0 && d->dialog->defId == w.id;
}

void SetStaticIcon(HWND control, HICON icon) {
  if (Window* w = Find(control); w && IsControl(*w, ControlKind::Static)) w->control->icon = icon;
}

LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w || !w->control) return 0;
  bool push = TypeOf(*w) == BS_PUSHBUTTON || TypeOf(*w) == BS_DEFPUSHBUTTON;
  LRESULT result = 0;
  if (HandlePaint(window, message, push ? PaintPushButton : PaintRadioButton, result))
    return result;
  switch (message) {
    case BM_GETCHECK:
      return w->control->check;
    case BM_SETCHECK:
      if (!push && w->control->check != UINT(wParam)) {
        w->control->check = UINT(wParam);
        InvalidateWindow(*w, nullptr, true);
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetFocusImpl(window);
      if ((w = Find(window))) {
        w->control->pushed = true;
        InvalidateWindow(*w, nullptr, true);
      }
      return 0;
    case WM_LBUTTONUP:
      if (!w->control->pushed) return 0;
      w->control->pushed = false;
      InvalidateWindow(*w, nullptr, true);
      Clicked(window);
      return 0;
    case BM_CLICK:
      Send(window, WM_LBUTTONDOWN, 0, 0);
      Send(window, WM_LBUTTONUP, 0, 0);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // The default look moves with the focus among the dialog's push buttons.
      if (Window* parent = Find(w->parent)) InvalidateWindow(*parent, nullptr, true);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w || !w->control) return 0;
  LRESULT result = 0;
  if (HandlePaint(window, message, PaintEdit, result)) return result;
  switch (message) {
    case WM_SETTEXT:
      DefWindowProcA(window, message, wParam, lParam);
      if ((w = Find(window))) Notify(*w, kEnChange);
      return TRUE;
    case WM_LBUTTONDOWN:
      SetFocusImpl(window);
      return 0;
    case WM_CHAR: {
      // Typing appends at the end; ES_NUMBER takes digits only; backspace takes one back.
      char c = char(wParam);
      if (c == VK_BACK) {
        if (w->text.empty()) return 0;
        std::string ansi = AnsiFromUtf8(w->text);
        ansi.pop_back();
        w->text = Utf8FromAnsi(ansi.c_str());
      } else if ((w->style & ES_NUMBER) ? (c >= '0' && c <= '9') : (unsigned char)c >= 0x20) {
        char one[2] = {c, '\0'};
        w->text += Utf8FromAnsi(one);
      } else {
        return 0;
      }
      InvalidateWindow(*w, nullptr, true);
      Notify(*w, kEnChange);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w || !w->control) return 0;
  LRESULT result = 0;
  if (HandlePaint(window, message, PaintStatic, result)) return result;
  if (message == STM_GETICON) return reinterpret_cast<LRESULT>(w->control->icon);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winapi
