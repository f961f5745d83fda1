// Drawing for the window manager itself: frames, buttons, fields, icons and labels, straight into
// a Surface (the program's own drawing goes through GDI and device contexts instead).
#ifndef PIKON_WINAPI_DRAW_H
#define PIKON_WINAPI_DRAW_H

#include <windows.h>

#include <string>

#include "resources.h"
#include "surface.h"
#include "font.h"

namespace winapi {

// `r` with `by` pixels taken off each side.
inline RECT Shrink(const RECT& r, int by) {
  return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by};
}

void FillBox(Surface& s, const RECT& r, COLORREF color);
// Classic 3-D edges, drawn just inside `r`.
void RaisedEdge(Surface& s, const RECT& r);    // two pixels: buttons, window and dialog frames
void SunkenEdge(Surface& s, const RECT& r);    // two pixels: client edges, edit fields
void FrameBox(Surface& s, const RECT& r, COLORREF color);  // one pixel
// A dotted focus rectangle.
void FocusBox(Surface& s, const RECT& r);
// An icon at (x, y), scaled to size x size by picking pixels; transparent pixels stay.
void DrawIcon(Surface& s, const res::IconImage& icon, int x, int y, int size);

// The font controls are drawn with, standing in for "MS Sans Serif" 8 point. Liberation Sans has
// Arial's widths, about a fifth wider than MS Sans Serif's, so texts that fit their controls on
// Windows would overflow them; its narrow cut has nearly MS Sans Serif's widths.
const FontRequest& ControlFont();

enum class Align { Left, Center, Right };
// One line of label text in the control font (or `font`), "&" marking the accelerator, placed in
// `box` and clipped to it; grayed text is drawn etched, as disabled controls show it.
void DrawLabel(Surface& s, const std::string& utf8, const RECT& box, Align align, bool vcenter,
               COLORREF color, bool grayed = false, const FontRequest* font = nullptr);

// Copies `from` onto `to` with its top-left corner at (x, y), nothing outside `clip`.
void Blit(Surface& to, const Surface& from, int x, int y, const RECT& clip);

}  // namespace winapi

#endif
