// Dialogs: made from templates, the dialog class, the modal loop (which message boxes share),
// the items and Tab navigation; what a dialog keeps beside its window is in dialogstate.h.
#ifndef PIKON_WINAPI_DIALOG_H
#define PIKON_WINAPI_DIALOG_H

#include <windows.h>

#include "dialogstate.h"
#include "resources.h"

namespace winapi {

struct Window;

// Makes the window a dialog with this dialog procedure.
DialogState& MakeDialog(Window& w, DLGPROC proc);

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
HWND NextTabItem(HWND dialog, HWND from);

}  // namespace winapi

#endif
