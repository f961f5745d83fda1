// The GDI text calls: TextOutA and DrawTextA, drawn with the font engine (font.cpp).
#include <string>
#include <vector>

#include "ansi.h"
#include "dc.h"
#include "font.h"
#include "gdiobj.h"
#include "trace.h"

using namespace winapi;

namespace {

// The font and text style a context draws with now.
bool ContextText(const DeviceContext& dc, FontRequest& font, TextStyle& style) {
  const GdiObject* o = LookupGdi(dc.font ? dc.font : StockSystemFont(), GdiKind::Font);
  if (!o) return false;
  font = o->font;
  style.color = dc.textColor;
  style.opaque = dc.bkMode == OPAQUE;
  style.background = dc.bkColor;
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  DrawTarget t;
  FontRequest font;
  TextStyle style;
  if (!text || count < 0 || !GetDrawTarget(dc, t) || !ContextText(*t.dc, font, style))
    return FALSE;
  const std::string utf8 = Utf8FromAnsi(text, count);
  trace::Record("TextOutA", x, y, std::intptr_t(style.color), utf8, t.dc->Window());
  return DrawTextLine(*t.surface, font, utf8, x, y, style) ? TRUE : FALSE;
}

// Lines break at CR, LF and CR LF unless DT_SINGLELINE; no word wrapping. Everything is
// clipped to the rectangle. Returns the height of the text drawn; 0 for empty text or failure.
int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  DrawTarget t;
  FontRequest font;
  TextStyle style;
  FontMetrics metrics;
  if (!text || !rect || !GetDrawTarget(dc, t) || !ContextText(*t.dc, font, style) ||
      !MeasureFont(font, metrics))
    return 0;
  const std::string utf8 = Utf8FromAnsi(text, count);
  trace::Record("DrawTextA", rect->left, rect->top, std::intptr_t(style.color), utf8, t.dc->Window());
  if (utf8.empty()) return 0;  // nothing drawn, not even an opaque box
  style.prefix = !(format & DT_NOPREFIX);
  const bool single = format & DT_SINGLELINE;
  const std::vector<std::string> lines = single ? std::vector<std::string>{utf8} : SplitLines(utf8);

  int y = rect->top;
  if (single && (format & DT_VCENTER)) y += (rect->bottom - rect->top - metrics.height) / 2;
  for (const std::string& line : lines) {
    const int width = MeasureText(font, line, style.prefix).width;
    int x = rect->left;
    if (format & DT_CENTER)
      x += (rect->right - rect->left - width) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - width;
    DrawTextLine(*t.surface, font, line, x, y, style, rect);
    y += metrics.height;
  }
  return y - rect->top;
}
