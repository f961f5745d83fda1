// The system's control classes: what the dialogs and templates ask of them. Their procedures are
// named with the other system classes in class.h.
#ifndef PIKON_WINAPI_CONTROLS_H
#define PIKON_WINAPI_CONTROLS_H

#include <windows.h>

#include "controlstate.h"

namespace winapi {

struct Window;

bool IsControl(const Window& w, ControlKind kind);
bool IsPushButton(const Window& w);  // a push or default push button
// The push button that Enter presses now: the focused push button if Tab brought the focus there
// (or it is a default push button itself), else the dialog's default.
bool IsDefaultButton(const Window& w);
HWND FocusedDefault(const Window& dialog);  // that focused push button, if it is the default
// The icon an SS_ICON static shows.
void SetStaticIcon(HWND control, HICON icon);

}  // namespace winapi

#endif
