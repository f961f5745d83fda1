// The non-client area and the whole window put together from it.
#ifndef PIKON_WINAPI_NONCLIENT_H
#define PIKON_WINAPI_NONCLIENT_H

#include <windows.h>

#include "surface.h"

namespace winapi {

// The window as the screen shows it: frame, caption, menu bar, the client surface, and every
// visible child drawn the same way over it.
Surface ComposeWindow(HWND window);

}  // namespace winapi

#endif
