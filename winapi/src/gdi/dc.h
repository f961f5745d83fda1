// Device contexts onto a window's client surface, which the window manager hands out (windc.cpp).
// A context holds only its drawing state; the surface is looked up again at every drawing call,
// so a context whose window is gone draws nothing and fails.
#ifndef PIKON_WINAPI_DC_H
#define PIKON_WINAPI_DC_H

#include <windows.h>

#include <cstddef>

#include "surface.h"

namespace winapi {

struct DeviceContext {
  HWND window = nullptr;
  bool paint = false;  // from BeginPaint: ended by EndPaint, not by ReleaseDC
  // The selected objects; null while the stock ones a fresh context starts with are selected
  // (the system font and the white brush, gdiobj.h), so that contexts need not know objects.
  HFONT font = nullptr;
  HBRUSH brush = nullptr;
  COLORREF textColor = RGB(0, 0, 0);
  COLORREF bkColor = RGB(255, 255, 255);
  int bkMode = OPAQUE;
  POINT position{0, 0};
};

DeviceContext* LookupDc(HDC dc);

// The context and the surface it draws into now; false (both null) when either is gone.
struct DrawTarget {
  DeviceContext* dc = nullptr;
  Surface* surface = nullptr;
};
bool GetDrawTarget(HDC dc, DrawTarget& out);

// A fresh context onto a window's client surface (null if it has none), for the window manager's
// GetDC (`paint` false) and BeginPaint (true); DisposeDc frees one.
HDC NewDc(HWND window, bool paint);
void DisposeDc(HDC dc);

bool IsSelectedInAnyDc(HGDIOBJ object);
std::size_t LiveDcCount();

}  // namespace winapi

#endif
