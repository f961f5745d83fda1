/* The five panels of the main window share one dialog procedure. */
#include "pikon.h"

/* Every panel command is handled here and answered TRUE; the port buttons only show the port,
 * so clicking one changes nothing but its check mark. Everything else, the init-dialog
 * message included, is left to the dialog manager (FALSE). */
INT_PTR CALLBACK ToolDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (msg != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_MESSEN:
        Messen(hwnd); /* returns when the run has ended */
        break;
    case IDC_TOGGLE_PLOTTER:
        TogglePlotter();
        break;
    case IDC_STOP:
        StopReset();
        break;
    }
    return TRUE;
}
