// What is on the screen: a window's client pixels, PNG snapshots, and the GDI resources held.
#ifndef PIKON_WINAPI_DRIVER_SCREEN_H
#define PIKON_WINAPI_DRIVER_SCREEN_H

#include <windows.h>

#include <cstddef>
#include <string>

namespace drv {

// The client-area pixel (x, y) of a window as COLORREF; CLR_INVALID outside it or when the
// handle is not a live window.
COLORREF ClientPixel(HWND window, int x, int y);

// Writes the window's client area as an 8-bit RGB PNG. False when the handle is not a live
// window or the file cannot be written.
bool SaveClientPng(HWND window, const std::string& path);

// The display setting for the height of caption bars: 18 pixels, as classic Windows has it; a
// user who chose large window titles has taller ones, and smaller client areas in the same outer
// sizes. Set it before the program creates its windows.
void SetCaptionHeight(int pixels);

// Brushes and fonts created and not yet deleted (stock objects are not counted).
std::size_t LiveGdiObjects();
// Device contexts handed out by GetDC or BeginPaint and not yet released.
std::size_t LiveDeviceContexts();

}  // namespace drv

#endif
