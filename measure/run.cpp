/* The measurement run: sweep after sweep over the eight channels, each value shown in volts,
 * counted and plotted. The run lives inside the "Messen" button's command and keeps the user
 * interface alive by dispatching one waiting message per sweep. */
#include <stdio.h>

#include "pikon.h"

/* Select bits SEL2, SEL1, SEL0 of the control word for channels 1 to 8 (CH0 to CH7). */
static const int kanalbits[8][3] = {
    {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 0}, {1, 1, 0}, {0, 1, 1}, {1, 1, 1}};

static void DispatchOneMessage(void)
{
    MSG msg;
    if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void SetControlWordDefaults(void)
{
    static const int defaults[8] = {1, 0, 0, 0, 1, 1, 1, 0}; /* START, unipolar, single-ended */
    int j;
    for (j = 0; j < 8; j++)
        inbin[j] = defaults[j];
}

static void MesseKanal(void)
{
    inbin[1] = kanalbits[kanal - 1][0];
    inbin[2] = kanalbits[kanal - 1][1];
    inbin[3] = kanalbits[kanal - 1][2];
    wandeln();
    sprintf(workstring, "%.3lf", Wert / 1000.0);
    Plotten(kanal, Wert);
    SetDlgItemTextA(Anzeigefenster, IDC_WERT_BASE + kanal, workstring);
    SetDlgItemInt(SatzZahl, IDC_SATZZAHL, (UINT)zaehler, TRUE);
    ShowWindow(Anzeigefenster, SW_SHOW);
    UpdateWindow(Anzeigefenster);
    UpdateWindow(SatzZahl);
}

void Durchlauf(void)
{
    DispatchOneMessage();
    zaehler = zaehler + 1;
    for (kanal = 1; kanal <= 8; kanal++)
        MesseKanal();
}

/* The flag is tested only here, so a sweep once begun always completes all eight channels. */
int DataProc(HWND hwnd)
{
    (void)hwnd;
    zaehler = 0;
    SetControlWordDefaults();
    while (exeparam == 1)
        Durchlauf();
    return 0;
}

void Messen(HWND hwnd)
{
    SetFocus(StopBox);
    exeparam = 1;
    DataProc(hwnd);
}

void StopReset(void)
{
    if (exeparam == 0)
        return;
    exeparam = 0;
    cent = 0;
    MessageBoxA(StopBox, "Messung angehalten", "ZEQ INFO", MB_ICONEXCLAMATION);
    HinterGrund(Plotter, cxPlotter, cyPlotter);
    zaehler = -1;
    UpdateWindow(SatzZahl);
    SetFocus(g_hToolbar);
}
