// Window classes: the system's own, registered first and named here with their procedures, and
// the program's, registered with RegisterClassExA.
#ifndef PIKON_WINAPI_CLASS_H
#define PIKON_WINAPI_CLASS_H

#include <windows.h>

#include <string>

#include "controlstate.h"
#include "resources.h"

namespace winapi {

struct WindowClass {
  std::string name;  // as registered, UTF-8; looked up without regard to case
  UINT style = 0;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  HICON icon = nullptr;
  HICON smallIcon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  res::NameOrId menu;
  bool hasMenu = false;
  ControlKind kind = ControlKind::None;  // what a window of a system class is
};

// Name compared without regard to case.
const WindowClass* FindClass(const std::string& utf8Name);
const WindowClass* AddClass(WindowClass cls);

// The system classes' procedures, each defined with the rest of its class: the controls in
// controls.cpp, the dialog class "#32770" in dialog.cpp. Adding a control class: its procedure
// there, a row in class.cpp, and a kind if anything treats it apart.
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi

#endif
