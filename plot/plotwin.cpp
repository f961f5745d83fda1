/* The plot window: a sizeable top-level dialog that keeps the client size all plot drawing
 * uses, redraws the chart, keeps a minimum size, switches the zoom and hides itself instead
 * of closing. */
#include "pikon.h"

#define PLOT_MIN_CX 549 /* client sizes up to these are too small for the chart */
#define PLOT_MIN_CY 349
#define PLOT_CX 600 /* the outer size a window too small is set to, where it holds the chart */
#define PLOT_CY 400

/* The outer size that holds the smallest client area the chart takes: 600 x 400 with classic
 * frames, more where frames, caption or menu bar are thicker (Windows 10 and 11, large window
 * titles); otherwise the forced size would itself be too small. */
static void PlotMindestens(HWND hwnd, int *breite, int *hoehe)
{
    RECT r;
    SetRect(&r, 0, 0, PLOT_MIN_CX + 1, PLOT_MIN_CY + 1);
    AdjustWindowRectEx(&r, (DWORD)GetWindowLongA(hwnd, GWL_STYLE), TRUE,
                       (DWORD)GetWindowLongA(hwnd, GWL_EXSTYLE));
    *breite = r.right - r.left > PLOT_CX ? r.right - r.left : PLOT_CX;
    *hoehe = r.bottom - r.top > PLOT_CY ? r.bottom - r.top : PLOT_CY;
}

static void PlotGroesse(HWND hwnd, LPARAM lParam)
{
    int breite, hoehe;
    cxPlotter = LOWORD(lParam);
    cyPlotter = HIWORD(lParam);
    if (cxPlotter <= PLOT_MIN_CX || cyPlotter <= PLOT_MIN_CY) {
        PlotMindestens(hwnd, &breite, &hoehe);
        SetWindowPos(hwnd, HWND_TOP, 10, 10, breite, hoehe, SWP_SHOWWINDOW);
    }
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
