// A control's own state, kept beside its window (Window::control). A header of its own: the
// window tree gives a window of a control class its state and frees it without reaching up
// into the controls.
#ifndef PIKON_WINAPI_CONTROLSTATE_H
#define PIKON_WINAPI_CONTROLSTATE_H

#include <windows.h>

namespace winapi {

// What a window of a system class is; None for the dialog class and the program's own classes.
enum class ControlKind { None, Button, Edit, Static };

struct ControlState {
  ControlKind kind = ControlKind::None;
  UINT check = BST_UNCHECKED;
  bool pushed = false;          // button held down
  HICON icon = nullptr;         // SS_ICON
};

}  // namespace winapi

#endif
