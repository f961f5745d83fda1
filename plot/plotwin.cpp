/* The plot window: a sizeable top-level dialog that keeps the client size all plot drawing
 * uses, redraws the chart, keeps a minimum size, switches the zoom and hides itself instead
 * of closing. */
#include "pikon.h"

#define PLOT_MIN_CX 549 /* client sizes up to these are too small for the chart */
#define PLOT_MIN_CY 349

static void PlotGroesse(HWND hwnd, LPARAM lParam)
{
    cxPlotter = LOWORD(lParam);
    cyPlotter = HIWORD(lParam);
    if (cxPlotter <= PLOT_MIN_CX || cyPlotter <= PLOT_MIN_CY)
        SetWindowPos(hwnd, HWND_TOP, 10, 10, 600, 400, SWP_SHOWWINDOW);
    /* After a forced resize the nested size message has already stored the new size. */
    ZeichneGrund(hwnd, cxPlotter, cyPlotter);
    HinterGrund(hwnd, cxPlotter, cyPlotter);
}

static void PlotMalen(HWND hwnd)
{
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    ZeichneGrund(hwnd, cxPlotter, cyPlotter);
    Texte(hwnd, cxPlotter, cyPlotter);
    EndPaint(hwnd, &ps);
    UpdateWindow(hwnd);
}

static void Zoom(HWND hwnd, int laenge)
{
    plm = laenge;
    cent = 0;
    HinterGrund(hwnd, cxPlotter, cyPlotter);
}

static void PlotBefehl(HWND hwnd, WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDCANCEL:
    case IDM_PLOT_HIDE:
        ShowWindow(hwnd, SW_HIDE);
        break;
    case IDM_ZOOM_1:
        Zoom(hwnd, 100);
        break;
    case IDM_ZOOM_10:
        Zoom(hwnd, 1000);
        break;
    }
}

INT_PTR CALLBACK PlotProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SIZE:
        PlotGroesse(hwnd, lParam);
        break;
    case WM_PAINT:
        PlotMalen(hwnd);
        break;
    case WM_COMMAND:
        PlotBefehl(hwnd, wParam);
        break;
    }
    return FALSE;
}

void ZeigePlotter(void)
{
    ShowWindow(Plotter, SW_SHOW);
}

void VerbergePlotter(void)
{
    ShowWindow(Plotter, SW_HIDE);
}

void TogglePlotter(void)
{
    if (IsWindowVisible(Plotter))
        VerbergePlotter();
    else
        ZeigePlotter();
}

void ErzeugePlotter(void)
{
    /* A top-level window of its own: no owner, so it is not tied to the main window. */
    Plotter = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDD_PLOTTER), NULL,
                                 PlotProc, 0);
    ShowWindow(Plotter, SW_HIDE);
}
