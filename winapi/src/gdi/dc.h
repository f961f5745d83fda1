// Device contexts onto a window's client surface, which the window manager hands out (windc.cpp):
// the surface a context draws into and its drawing state. When the window goes, the window
// manager takes its surface from every context on it: such a context draws nothing and fails.
#ifndef PIKON_WINAPI_DC_H
#define PIKON_WINAPI_DC_H

#include <windows.h>

#include <cstddef>

#include "surface.h"

namespace winapi {

struct DeviceContext {
  Surface* surface = nullptr;  // null once its window is gone
  // The selected objects; null while the stock ones a fresh context starts with are selected
  // (the system font and the white brush, gdiobj.h), so that contexts need not know objects.
  HFONT font = nullptr;
  HBRUSH brush = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  POINT position{0, 0};

  HWND Window() const { return surface ? surface->window : nullptr; }  // for the ledger
};

DeviceContext* LookupDc(HDC dc);

// The context and the surface it draws into now; false (both null) when either is gone.
struct DrawTarget {
  DeviceContext* dc = nullptr;
  Surface* surface = nullptr;
};
bool GetDrawTarget(HDC dc, DrawTarget& out);

// A fresh context onto a window's client surface, for the window manager's GetDC and BeginPaint;
// DisposeDc frees one. ForgetSurface leaves every context on the surface without one.
HDC NewDc(Surface* surface);
void DisposeDc(HDC dc);
void ForgetSurface(const Surface* surface);

bool IsSelectedInAnyDc(HGDIOBJ object);
std::size_t LiveDcCount();

}  // namespace winapi

#endif
