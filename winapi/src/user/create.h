// Creating and destroying windows.
#ifndef PIKON_WINAPI_CREATE_H
#define PIKON_WINAPI_CREATE_H

#include <windows.h>

#include <string>

namespace winapi {

HWND CreateWindowImpl(DWORD exStyle, const std::string& className, const std::string& title,
                      DWORD style, int x, int y, int width, int height, HWND parent, HMENU menu,
                      HINSTANCE instance, LPVOID param);
// Two phases: mark the whole tree, send WM_DESTROY (parent first), then free it all.
BOOL DestroyWindowImpl(HWND window);

}  // namespace winapi

#endif
