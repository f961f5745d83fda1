#include "windc.h"

#include "dc.h"
#include "trace.h"

namespace winapi {

HDC CreateWindowDc(HWND window) { return NewDc(window, true); }

void FreeWindowDc(HDC dc) {
  const DeviceContext* context = LookupDc(dc);
  if (context && context->paint) DisposeDc(dc);
}

}  // namespace winapi

using namespace winapi;

HDC WINAPI GetDC(HWND window) {
  trace::Record("GetDC", 0, 0, 0, "", window);
  return NewDc(window, false);
}

int WINAPI ReleaseDC(HWND window, HDC dc) {
  trace::Record("ReleaseDC", 0, 0, 0, "", window);
  const DeviceContext* context = LookupDc(dc);
  if (!context || context->paint) return 0;
  DisposeDc(dc);
  return 1;
}
