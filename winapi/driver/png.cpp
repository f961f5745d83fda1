#include "pngfile.h"

#include <png.h>

#include <cstdio>
#include <vector>

#include "dc.h"
#include "gdiobj.h"
#include "metrics.h"
#include "window.h"
#include "winapi/driver/screen.h"

namespace winapi {
namespace {

// libpng reports errors by longjmp; nothing with a destructor may live in that frame.
bool WriteRows(std::FILE* file, int width, int height, png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, info ? &info : nullptr);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const Surface& surface, const std::string& path) {
  if (surface.width <= 0 || surface.height <= 0) return false;
  const std::size_t w = std::size_t(surface.width);
  std::vector<png_byte> bytes(w * std::size_t(surface.height) * 3);
  std::vector<png_bytep> rows(std::size_t(surface.height));
  for (int y = 0; y < surface.height; ++y) {
    png_bytep row = &bytes[std::size_t(y) * w * 3];
    rows[std::size_t(y)] = row;
    for (int x = 0; x < surface.width; ++x) {
      const COLORREF c = surface.At(x, y);
      row[x * 3 + 0] = GetRValue(c);
      row[x * 3 + 1] = GetGValue(c);
      row[x * 3 + 2] = GetBValue(c);
    }
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = WriteRows(file, surface.width, surface.height, rows.data());
  ok = std::fclose(file) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace winapi

namespace drv {
namespace {

const winapi::Surface* ClientSurface(HWND window) {
  const winapi::Window* w = winapi::Find(window);
  return w ? &w->surface : nullptr;
}

}  // namespace

COLORREF ClientPixel(HWND window, int x, int y) {
  const winapi::Surface* s = ClientSurface(window);
  return s && s->Contains(x, y) ? s->At(x, y) : CLR_INVALID;
}

bool SaveClientPng(HWND window, const std::string& path) {
  const winapi::Surface* s = ClientSurface(window);
  return s && winapi::WritePng(*s, path);
}

std::size_t LiveGdiObjects() { return winapi::LiveGdiObjectCount(); }

std::size_t LiveDeviceContexts() { return winapi::LiveDcCount(); }

void SetFrameMetrics(const FrameMetrics& m) {
  winapi::metrics::SetFrameMetrics(m.caption, m.sizingFrame, m.menuBar);
}

}  // namespace drv
