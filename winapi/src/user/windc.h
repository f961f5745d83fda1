// The device contexts of windows, kept with the window manager as Win32 keeps them: GetDC's and
// BeginPaint's, each onto the window's client surface; which of them are BeginPaint's.
#ifndef PIKON_WINAPI_WINDC_H
#define PIKON_WINAPI_WINDC_H

#include <windows.h>

namespace winapi {

// For BeginPaint/EndPaint: a fresh context with the same defaults as GetDC's.
HDC CreateWindowDc(HWND window);
void FreeWindowDc(HDC dc);

}  // namespace winapi

#endif
