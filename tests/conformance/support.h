// What the cases share: a window class that logs what its procedure is sent, a message pump,
// and pixel counts read back through a device context.
#ifndef PIKON_CONFORMANCE_SUPPORT_H
#define PIKON_CONFORMANCE_SUPPORT_H

#include <windows.h>

// What the logging window class's procedure saw since the last log_reset().
struct Log {
  int sizes;           // WM_SIZE
  int cx, cy;          // the last one's client size
  int paints;          // WM_PAINT (each validated with BeginPaint/EndPaint)
  RECT paint;          // the last paint's rcPaint
  int creates, destroys;
  int posted;          // the test's own posted message, WM_USER + 1
};
extern Log g_log;
void log_reset();

// A window class of this program's: the arrow cursor, the window colour as background.
ATOM register_class(const char* name, WNDPROC proc, UINT style = 0);

// A class logged into g_log; `style` is the class style (CS_HREDRAW, CS_VREDRAW).
const char* logged_class(UINT style);
// A visible top-level window of that class, painted and validated, with no message waiting.
HWND logged_window(UINT classStyle, DWORD style, int x, int y, int width, int height);

// Dispatches everything waiting (at most 200 messages).
void pump();

int width_of(const RECT& r);
int height_of(const RECT& r);

// Pixels of the window's client area within `box` that differ from `background`.
int ink(HWND window, const RECT& box, COLORREF background);
COLORREF pixel(HWND window, int x, int y);

// The procedure called for WM_USER + 1, posted to a helper window before a modal call: it runs
// inside the modal loop.
typedef void (*InLoop)(void* context);
HWND in_loop_window();
void post_in_loop(InLoop callback, void* context);

#endif
