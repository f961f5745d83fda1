// The system's window classes and the state of its controls. Every system class is one row of
// SystemClasses(): a new control class is its procedure, its row and, if the templates or the
// dialogs treat it apart, its kind.
#ifndef PIKON_WINAPI_CONTROLS_H
#define PIKON_WINAPI_CONTROLS_H

#include <windows.h>

#include <string>
#include <vector>

namespace winapi {

struct Window;
struct WindowClass;

// What a window of a system class is; None for the dialog class and the program's own classes.
enum class ControlKind { None, Button, Edit, Static };

struct SystemClass {
  const char* name;      // as Windows spells it; looked up without regard to case
  ControlKind kind;
  WNDPROC proc;
  int background;        // COLOR_* index of its class brush
};
// Registered before any class of the program's own, in this order.
const std::vector<SystemClass>& SystemClasses();
// The kind of a window of this registered class.
ControlKind KindOf(const WindowClass& cls);

// A control's own state, kept beside its window (Window::control).
struct ControlState {
  ControlKind kind = ControlKind::None;
  UINT check = BST_UNCHECKED;
  bool pushed = false;          // button held down
  HICON icon = nullptr;         // SS_ICON
};

bool IsControl(const Window& w, ControlKind kind);
bool IsPushButton(const Window& w);  // a push or default push button
// The icon an SS_ICON static shows.
void SetStaticIcon(HWND control, HICON icon);

// The system classes' procedures ("#32770", the dialog class, is in dialog.h).
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi

#endif
