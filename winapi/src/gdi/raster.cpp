// Raster primitives on a device context: rectangles, lines with the one-pixel black pen, pixels.
#include <algorithm>
#include <cstdlib>

#include "dc.h"
#include "gdiobj.h"
#include "trace.h"

using namespace winapi;

BOOL WINAPI SetRect(LPRECT rect, int left, int top, int right, int bottom) {
  if (!rect) return FALSE;
  rect->left = left;
  rect->top = top;
  rect->right = right;
  rect->bottom = bottom;
  return TRUE;
}

// Covers the left column and top row, not the right column and bottom row.
int WINAPI FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  DrawTarget t;
  COLORREF color;
  if (!rect || !GetDrawTarget(dc, t) || !BrushColor(brush, color)) return 0;
  trace::Record("FillRect", rect->left, rect->top, std::intptr_t(color), "", t.dc->Window());
  t.surface->Fill(rect->left, rect->top, rect->right, rect->bottom, color);
  return 1;
}

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
  DeviceContext* context = LookupDc(dc);
  if (!context) return FALSE;
  trace::Record("MoveToEx", x, y, 0, "", context->Window());
  if (previous) *previous = context->position;
  context->position = POINT{x, y};
  return TRUE;
}

// Bresenham from the current position, which the line covers, to (x, y), which it leaves out
// (so lines drawn end to end set no pixel twice); (x, y) becomes the current position.
BOOL WINAPI LineTo(HDC dc, int x, int y) {
  DrawTarget t;
  if (!GetDrawTarget(dc, t)) return FALSE;
  trace::Record("LineTo", x, y, 0, "", t.dc->Window());
  Surface& s = *t.surface;
  const COLORREF pen = RGB(0, 0, 0);
  long long cx = t.dc->position.x, cy = t.dc->position.y;
  t.dc->position = POINT{x, y};
  // A line wholly to one side of the surface sets nothing.
  if ((cx < 0 && x < 0) || (cy < 0 && y < 0) || (cx >= s.width && x >= s.width) ||
      (cy >= s.height && y >= s.height))
    return TRUE;
  const long long dx = std::llabs(x - cx), dy = -std::llabs(y - cy);
  const int sx = cx < x ? 1 : -1, sy = cy < y ? 1 : -1;
  long long err = dx + dy;
  while (cx != x || cy != y) {
    if (s.Contains(int(cx), int(cy))) s.At(int(cx), int(cy)) = pen;
    const long long e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      cx += sx;
    }
    if (e2 <= dx) {
      err += dx;
      cy += sy;
    }
  }
  return TRUE;
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color) {
  DrawTarget t;
  if (!GetDrawTarget(dc, t)) return CLR_INVALID;
  trace::Record("SetPixel", x, y, std::intptr_t(color), "", t.dc->Window());
  if (!t.surface->Contains(x, y)) return CLR_INVALID;
  t.surface->At(x, y) = color & 0x00FFFFFF;
  return color & 0x00FFFFFF;
}

COLORREF WINAPI GetPixel(HDC dc, int x, int y) {
  DrawTarget t;
  if (!GetDrawTarget(dc, t) || !t.surface->Contains(x, y)) return CLR_INVALID;
  return t.surface->At(x, y);
}
