// The system's control classes: their procedures and what the dialogs and templates ask of
// them. Every system class is one row of the table in dialog.cpp: a new control class is its
// procedure, its row and, if the templates or the dialogs treat it apart, its kind.
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

// The system classes' procedures ("#32770", the dialog class, is in dialog.h).
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi

#endif
