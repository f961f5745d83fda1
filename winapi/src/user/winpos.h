// Showing, hiding, minimising, moving and sizing windows.
#ifndef PIKON_WINAPI_WINPOS_H
#define PIKON_WINAPI_WINPOS_H

#include <windows.h>

namespace winapi {

BOOL ShowWindowImpl(HWND window, int command);
BOOL SetWindowPosImpl(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

}  // namespace winapi

#endif
