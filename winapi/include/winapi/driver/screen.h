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

// The display's window metrics, in pixels: by default classic Windows' (an 18-pixel caption bar
// and the line beneath it, 4-pixel sizing frames, 19-pixel menu bars). A user who chose large
// window titles has taller captions; Windows 10 and 11 have 8-pixel sizing frames (their
// SM_CXSIZEFRAME and SM_CXPADDEDBORDER), 23-pixel captions and 20-pixel menu bars. Either way
// the same outer size holds a smaller client area. Set them before the program creates its
// windows.
struct FrameMetrics {
  int caption = 19;
  int sizingFrame = 4;
  int menuBar = 19;
};
void SetFrameMetrics(const FrameMetrics& metrics);

// Brushes and fonts created and not yet deleted (stock objects are not counted).
std::size_t LiveGdiObjects();
// Device contexts handed out by GetDC or BeginPaint and not yet released.
std::size_t LiveDeviceContexts();

}  // namespace drv

#endif
