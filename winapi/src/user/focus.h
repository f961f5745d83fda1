// Keyboard focus, the active top-level window, and which windows are enabled.
#ifndef PIKON_WINAPI_FOCUS_H
#define PIKON_WINAPI_FOCUS_H

#include <windows.h>

namespace winapi {

HWND SetFocusImpl(HWND window);
HWND FocusWindow();
void ActivateWindow(HWND topLevel);
HWND ActiveWindow();
BOOL EnableWindowImpl(HWND window, BOOL enable);

}  // namespace winapi

#endif
