// The non-client area, drawn like classic Windows: frames, caption with its icon, title and
// boxes, the menu bar and the client edge; and the whole window put together from it.
#include "nonclient.h"

#include <algorithm>

#include "draw.h"
#include "icons.h"
#include "menu.h"
#include "metrics.h"
#include "window.h"
#include "focus.h"

namespace winapi {
namespace {

constexpr int kBoxWidth = 16;  // caption buttons
constexpr int kBoxHeight = 14;

// A caption button; the box a window lacks beside one it has is drawn grayed.
void CaptionBox(Surface& s, const RECT& r, int glyph, bool enabled) {
  FillBox(s, r, metrics::kFace);
  RaisedEdge(s, r);
  COLORREF ink = enabled ? metrics::kText : metrics::kGrayText;
  int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  for (int i = -3; i <= 3 && glyph == SC_CLOSE; ++i) {
    FillBox(s, RECT{cx - 1 + i, cy + i - 1, cx + 1 + i, cy + i}, ink);
    FillBox(s, RECT{cx - 1 + i, cy - i - 1, cx + 1 + i, cy - i}, ink);
  }
  if (glyph == SC_MINIMIZE) FillBox(s, RECT{cx - 4, cy + 2, cx + 2, cy + 4}, ink);
  if (glyph == 0) {  // maximise
    FrameBox(s, RECT{cx - 5, cy - 5, cx + 4, cy + 4}, ink);
    FillBox(s, RECT{cx - 5, cy - 4, cx + 4, cy - 3}, ink);
  }
}

// The caption bar, one pixel shorter than its band (the line below it is the frame's face).
void DrawCaption(Surface& s, const Window& w, const RECT& band) {
  bool active = ActiveWindow() == w.handle;
  RECT bar{band.left, band.top, band.right, band.bottom - 1};
  FillBox(s, bar, active ? metrics::kActiveCaption : metrics::kInactiveCaption);
  int right = bar.right - 2, top = bar.top + (bar.bottom - bar.top - kBoxHeight) / 2;
  if (w.style & WS_SYSMENU) {
    CaptionBox(s, RECT{right - kBoxWidth, top, right, top + kBoxHeight}, SC_CLOSE, true);
    right -= kBoxWidth + 2;
    if (w.style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) {
      CaptionBox(s, RECT{right - kBoxWidth, top, right, top + kBoxHeight}, 0,
                 (w.style & WS_MAXIMIZEBOX) != 0);
      CaptionBox(s, RECT{right - 2 * kBoxWidth, top, right - kBoxWidth, top + kBoxHeight},
                 SC_MINIMIZE, (w.style & WS_MINIMIZEBOX) != 0);
      right -= 2 * kBoxWidth;
    }
  }
  int left = bar.left + 2;
  const res::IconImage* icon = w.cls ? IconImageOf(w.cls->smallIcon ? w.cls->smallIcon : w.cls->icon)
                                     : nullptr;
  if (icon && (w.style & WS_SYSMENU) && !w.dialog) {
    DrawIcon(s, *icon, left, bar.top + (bar.bottom - bar.top - 16) / 2, 16);
    left += 18;
  }
  FontRequest bold{"MS Sans Serif", 13, FW_BOLD};
  DrawLabel(s, w.text, RECT{left, bar.top, right - 2, bar.bottom}, Align::Left, true,
            active ? metrics::kCaptionText : metrics::kInactiveCaptionText, false, &bold);
}

void DrawMenuBar(Surface& s, const Window& w, const RECT& band) {
  FillBox(s, band, metrics::kFace);
  const std::vector<res::MenuItem>* items = MenuItems(w.menu);
  if (!items) return;
  int x = band.left;
  for (const res::MenuItem& item : *items) {
    int width = MeasureText(ControlFont(), item.text, true).width + 12;
    bool grayed = (item.flags & (kMenuGrayed | kMenuDisabled)) != 0;
    DrawLabel(s, item.text, RECT{x, band.top, x + width, band.bottom - 1}, Align::Center, true,
              metrics::kText, grayed);
    x += width;
  }
}

void DrawNonClient(Surface& s, const Window& w) {
  RECT r{0, 0, s.width, s.height};
  FillBox(s, r, metrics::kFace);
  metrics::Frame frame = metrics::FrameOf(w.style, w.exStyle);
  if (frame == metrics::Frame::Border)
    FrameBox(s, r, metrics::kText);
  else if (frame != metrics::Frame::None)
    RaisedEdge(s, r);
  r = Shrink(r, metrics::FrameWidth(frame));
  if (int height = metrics::CaptionBarHeight(w.style, w.exStyle)) {
    DrawCaption(s, w, RECT{r.left, r.top, r.right, r.top + height});
    r.top += height;
  }
  if (HasMenuBar(w)) {
    DrawMenuBar(s, w, RECT{r.left, r.top, r.right, r.top + metrics::MenuBarHeight()});
    r.top += metrics::MenuBarHeight();
  }
  if (w.exStyle & WS_EX_CLIENTEDGE) SunkenEdge(s, r);
}

}  // namespace

Surface ComposeWindow(HWND window) {
  Surface s;
  Window* w = Find(window);
  if (!w) return s;
  s.width = std::max<int>(0, w->rect.right - w->rect.left);
  s.height = std::max<int>(0, w->rect.bottom - w->rect.top);
  s.pixels.assign(std::size_t(s.width) * std::size_t(s.height), metrics::kFace);
  DrawNonClient(s, *w);
  RECT client = ClientRectInWindow(*w);
  Blit(s, w->surface, client.left, client.top, client);
  for (HWND child : w->children) {
    Window* c = Find(child);
    if (!c || !(c->style & WS_VISIBLE)) continue;
    Blit(s, ComposeWindow(child), client.left + c->rect.left, client.top + c->rect.top, client);
  }
  return s;
}

}  // namespace winapi

int WINAPI GetSystemMetrics(int index) {
  using namespace winapi::metrics;
  switch (index) {
    case SM_CXSCREEN: return kScreenWidth;
    case SM_CYSCREEN: return kScreenHeight;
    case SM_CYCAPTION: return CaptionHeight();
    case SM_CXBORDER:
    case SM_CYBORDER: return kBorder;
    case SM_CXFIXEDFRAME:
    case SM_CYFIXEDFRAME: return kFixedFrame;
    case SM_CYMENU: return MenuBarHeight();
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME: return SizingFrame();
    case SM_CXEDGE:
    case SM_CYEDGE: return kClientEdge;
    case SM_CXMAXTRACK: return kScreenWidth + 4 + 2 * SizingFrame();
    case SM_CYMAXTRACK: return kScreenHeight + 4 + 2 * SizingFrame();
  }
  return 0;
}

// The frame, caption, menu bar and client edge that the styles give, around the client rectangle;
// a menu bar of one line, as Win32 assumes too.
BOOL WINAPI AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rect) return FALSE;
  winapi::metrics::Insets in = winapi::metrics::NonClient(style, exStyle, menu != FALSE);
  rect->left -= in.left;
  rect->top -= in.top;
  rect->right += in.right;
  rect->bottom += in.bottom;
  return TRUE;
}
