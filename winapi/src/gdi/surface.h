// A window's client-area framebuffer, shared by the window manager (which owns and sizes it)
// and GDI (which draws into it through device contexts).
#ifndef PIKON_WINAPI_SURFACE_H
#define PIKON_WINAPI_SURFACE_H

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace winapi {

// Pixels are COLORREF values (0x00BBGGRR), row-major, top row first.
struct Surface {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;
  HWND window = nullptr;  // whose client area it is: the ledger names drawing calls by it

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  COLORREF& At(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
  COLORREF At(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }

  // Sets the pixels of [left, right) x [top, bottom) that lie on the surface: clipped once,
  // filled a row at a time.
  void Fill(int left, int top, int right, int bottom, COLORREF color);
};

}  // namespace winapi

#endif
