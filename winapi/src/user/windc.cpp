#include "windc.h"

#include <algorithm>
#include <vector>

#include "dc.h"
#include "trace.h"
#include "window.h"

namespace winapi {
namespace {

// BeginPaint's contexts, which EndPaint frees and ReleaseDC does not.
std::vector<HDC>& PaintDcs() {
  static std::vector<HDC> dcs;
  return dcs;
}

HDC NewWindowDc(HWND window) {
  Window* w = Find(window);
  return w ? NewDc(&w->surface) : nullptr;
}

}  // namespace

HDC CreateWindowDc(HWND window) {
  HDC dc = NewWindowDc(window);
  if (dc) PaintDcs().push_back(dc);
  return dc;
}

void FreeWindowDc(HDC dc) {
  std::vector<HDC>& paint = PaintDcs();
  auto it = std::find(paint.begin(), paint.end(), dc);
  if (it == paint.end()) return;
  paint.erase(it);
  DisposeDc(dc);
}

}  // namespace winapi

using namespace winapi;

HDC WINAPI GetDC(HWND window) {
  trace::Record("GetDC", 0, 0, 0, "", window);
  return NewWindowDc(window);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
  trace::Record("ReleaseDC", 0, 0, 0, "", window);
  const std::vector<HDC>& paint = PaintDcs();
  if (!LookupDc(dc) || std::find(paint.begin(), paint.end(), dc) != paint.end()) return 0;
  DisposeDc(dc);
  return 1;
}
