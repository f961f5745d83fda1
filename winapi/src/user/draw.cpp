#include "draw.h"

#include <algorithm>

#include "metrics.h"

namespace winapi {
namespace {

void Row(Surface& s, int x0, int x1, int y, COLORREF c) { s.Fill(x0, y, x1, y + 1, c); }

void Column(Surface& s, int x, int y0, int y1, COLORREF c) { s.Fill(x, y0, x + 1, y1, c); }

// One ring: `topLeft` along the top and left, `bottomRight` along the bottom and right.
void Ring(Surface& s, const RECT& r, COLORREF topLeft, COLORREF bottomRight) {
  Row(s, r.left, r.right - 1, r.top, topLeft);
  Column(s, r.left, r.top, r.bottom - 1, topLeft);
  Row(s, r.left, r.right, r.bottom - 1, bottomRight);
  Column(s, r.right - 1, r.top, r.bottom, bottomRight);
}

}  // namespace

const FontRequest& ControlFont() {
  static const FontRequest font{"Liberation Sans Narrow", 13, FW_NORMAL};
  return font;
}

void FillBox(Surface& s, const RECT& r, COLORREF color) {
  s.Fill(r.left, r.top, r.right, r.bottom, color);
}

void RaisedEdge(Surface& s, const RECT& r) {
  Ring(s, r, metrics::kLight, metrics::kDarkShadow);
  Ring(s, Shrink(r, 1), metrics::kHighlight, metrics::kShadow);
}

void SunkenEdge(Surface& s, const RECT& r) {
  Ring(s, r, metrics::kShadow, metrics::kHighlight);
  Ring(s, Shrink(r, 1), metrics::kDarkShadow, metrics::kLight);
}

void FrameBox(Surface& s, const RECT& r, COLORREF color) { Ring(s, r, color, color); }

void FocusBox(Surface& s, const RECT& r) {
  for (int x = r.left; x < r.right; x += 2) {
    if (s.Contains(x, r.top)) s.At(x, r.top) = metrics::kText;
    if (s.Contains(x, r.bottom - 1)) s.At(x, r.bottom - 1) = metrics::kText;
  }
  for (int y = r.top; y < r.bottom; y += 2) {
    if (s.Contains(r.left, y)) s.At(r.left, y) = metrics::kText;
    if (s.Contains(r.right - 1, y)) s.At(r.right - 1, y) = metrics::kText;
  }
}

void DrawIcon(Surface& s, const res::IconImage& icon, int x, int y, int size) {
  for (int row = 0; row < size; ++row)
    for (int col = 0; col < size; ++col) {
      std::size_t i = std::size_t(row * icon.height / size) * std::size_t(icon.width) +
                      std::size_t(col * icon.width / size);
      if (i < icon.pixels.size() && !icon.transparent[i] && s.Contains(x + col, y + row))
        s.At(x + col, y + row) = icon.pixels[i];
    }
}

void DrawLabel(Surface& s, const std::string& utf8, const RECT& box, Align align, bool vcenter,
               COLORREF color, bool grayed, const FontRequest* font) {
  const FontRequest& wanted = font ? *font : ControlFont();
  TextSize size = MeasureText(wanted, utf8, true);
  int x = box.left;
  if (align == Align::Center) x = (box.left + box.right - size.width) / 2;
  if (align == Align::Right) x = box.right - size.width;
  int y = vcenter ? (box.top + box.bottom - size.height) / 2 : box.top;
  TextStyle style;
  style.prefix = true;
  if (grayed) {
    style.color = metrics::kHighlight;
    RECT shifted{box.left + 1, box.top + 1, box.right + 1, box.bottom + 1};
    DrawTextLine(s, wanted, utf8, x + 1, y + 1, style, &shifted);
    color = metrics::kGrayText;
  }
  style.color = color;
  DrawTextLine(s, wanted, utf8, x, y, style, &box);
}

void Blit(Surface& to, const Surface& from, int x, int y, const RECT& clip) {
  int top = std::max<int>({y, int(clip.top), 0});
  int bottom = std::min<int>({y + from.height, int(clip.bottom), to.height});
  int left = std::max<int>({x, int(clip.left), 0});
  int right = std::min<int>({x + from.width, int(clip.right), to.width});
  for (int row = top; row < bottom; ++row)
    for (int col = left; col < right; ++col) to.At(col, row) = from.At(col - x, row - y);
}

}  // namespace winapi
