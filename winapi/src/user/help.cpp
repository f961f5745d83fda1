// WinHelpA: there is no help viewer here; the request is recorded for tests and the demo.
#include "window.h"
#include "trace.h"

using namespace winapi;

BOOL WINAPI WinHelpA(HWND window, LPCSTR helpFile, UINT command, UINT_PTR data) {
  trace::Record("WinHelpA", std::intptr_t(command), std::intptr_t(data), 0, Utf8FromAnsi(helpFile),
               window);
  return Find(window) || !window ? TRUE : FALSE;
}
