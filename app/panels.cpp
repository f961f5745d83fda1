/* The five panels of the main window share one dialog procedure. */
#include "pikon.h"

/* Every panel command is handled here and answered TRUE. "Messen", "Toggle Plotter" and
 * "Stop/Reset" get their actions with the measurement run and the plot window; the port
 * buttons only show the port, so clicking one changes nothing but its check mark. Everything
 * else, the init-dialog message included, is left to the dialog manager (FALSE). */
INT_PTR CALLBACK ToolDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)hwnd;
    (void)wParam;
    (void)lParam;
    return msg == WM_COMMAND ? TRUE : FALSE;
}
