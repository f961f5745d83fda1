// A dialog's own state, kept beside its window (Window::dialog). A header of its own: the window
// tree owns and frees it, and the controls read which push button is the default, without
// either reaching into the dialog manager.
#ifndef PIKON_WINAPI_DIALOGSTATE_H
#define PIKON_WINAPI_DIALOGSTATE_H

#include <windows.h>

namespace winapi {

struct DialogState {
  DLGPROC proc = nullptr;
  HWND focus = nullptr;         // the control to give the focus back to
  int defId = 0;                // the default push button's id, 0 for none
  HWND tabbedButton = nullptr;  // a push button Tab moved the focus to: the default meanwhile
  bool ended = false;           // EndDialog was called
  INT_PTR result = 0;
  bool messageBox = false;      // a MessageBoxA window
};

}  // namespace winapi

#endif
