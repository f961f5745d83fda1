// The default window procedure.
#include <algorithm>
#include <cstring>

#include "queue.h"
#include "window.h"
#include "create.h"
#include "winpos.h"
#include "paint.h"

using namespace winapi;

namespace {

// Fills the whole client surface, as WM_ERASEBKGND does with the background.
void FillClient(Window& w, COLORREF color) {
  std::fill(w.surface.pixels.begin(), w.surface.pixels.end(), color);
}

}  // namespace

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(window);
  if (!w) return 0;
  switch (message) {
    case WM_CLOSE:
      DestroyWindowImpl(window);
      return 0;
    case WM_SYSKEYDOWN:
      // Alt+F4 closes the top-level window the key was typed in, by its system menu's command.
      if ((HIWORD(lParam) & KF_ALTDOWN) && wParam == VK_F4)
        PostImpl(TopLevelOf(window), WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == SC_CLOSE) Send(window, WM_CLOSE, 0, 0);
      if ((wParam & 0xFFF0) == SC_MINIMIZE) ShowWindowImpl(window, SW_MINIMIZE);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(window, &ps);
      EndPaint(window, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      FillClient(*w, w->background);
      return 1;
    case WM_SETTEXT:
      w->text = Utf8FromAnsi(reinterpret_cast<LPCSTR>(lParam));
      InvalidateWindow(*w, nullptr, true);
      return TRUE;
    case WM_GETTEXT: {
      if (wParam == 0 || !lParam) return 0;
      std::string ansi = AnsiFromUtf8(w->text);
      std::size_t n = std::min<std::size_t>(ansi.size(), wParam - 1);
      std::memcpy(reinterpret_cast<char*>(lParam), ansi.data(), n);
      reinterpret_cast<char*>(lParam)[n] = '\0';
      return LRESULT(n);
    }
  }
  return 0;
}
