// Update regions and WM_PAINT.
#ifndef PIKON_WINAPI_PAINT_H
#define PIKON_WINAPI_PAINT_H

#include <windows.h>

namespace winapi {

struct Window;

void InvalidateWindow(Window& w, const RECT* clientRect, bool erase);  // with its children
void ValidateWindow(Window& w);
void InvalidateParentArea(const Window& w);  // what the window covers in its parent
bool NextPaintWindow(HWND& out);             // a visible window with an invalid region
void PaintWithChildren(HWND window);         // UpdateWindow's work

}  // namespace winapi

#endif
