// Dialogs: their state beside the window, creation from templates, the modal loop, the default
// push button and Tab navigation; and the waiting of message boxes.
#ifndef PIKON_WINAPI_DIALOG_H
#define PIKON_WINAPI_DIALOG_H

#include <windows.h>

#include "resources.h"

namespace winapi {

struct Window;

// A dialog's own state, kept beside its window (Window::dialog).
struct DialogState {
  DLGPROC proc = nullptr;
  HWND focus = nullptr;         // the control to give the focus back to
  int defId = 0;                // the default push button's id, 0 for none
  HWND tabbedButton = nullptr;  // a push button Tab moved the focus to: the default meanwhile
  bool ended = false;           // EndDialog was called
  INT_PTR result = 0;
  bool messageBox = false;      // a MessageBoxA window
};

// Makes the window a dialog with this dialog procedure.
DialogState& MakeDialog(Window& w, DLGPROC proc);

// The procedure of the dialog class "#32770".
LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Fails, saying why on stderr, when the template is missing or names a class that is not
// registered (Windows fails the same way, but silently).
HWND CreateDialogImpl(HINSTANCE instance, const res::NameOrId& name, HWND parent, DLGPROC proc,
                      LPARAM param);
// A modal loop: the owner (a top-level window or none) is disabled until the dialog is marked
// ended; messages are read and dispatched meanwhile. `waitForInput` false: when nothing is
// waiting, `whenIdle` is called instead of waiting.
INT_PTR RunModal(HWND dialog, HWND owner, bool waitForInput, void (*whenIdle)(HWND dialog));
// EndDialog's work: marks the dialog ended with its result; false for a window that is none.
bool EndDialogImpl(HWND dialog, INT_PTR result);
HWND DlgItem(HWND dialog, int id);
// The push button that Enter presses now: the focused push button if Tab brought the focus there
// (or it is a default push button itself), else the dialog's default.
bool IsDefaultButton(const Window& w);
HWND FocusedDefault(const Window& dialog);  // that focused push button, if it is the default
HWND NextTabItem(HWND dialog, HWND from);

}  // namespace winapi

#endif
