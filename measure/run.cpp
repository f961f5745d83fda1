/* The measurement run: sweep after sweep over the eight channels, each value shown in volts,
 * counted and plotted. The run lives inside the "Messen" button's command and keeps the user
 * interface alive by dispatching one waiting message per sweep. */
#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "pikon.h"

/* Runs in progress: the one started from idle and those started by "Messen" inside it, each on
 * the stack of the one before. Windows gives the program a 1 MB stack; one nested run costs the
 * run's own frames plus a dispatch through the window manager and, when it was started from a
 * message box, that box's modal loop: a few kB, under 16 kB even generously counted. 32 runs
 * stay within half of the stack; nobody needs more, and a press beyond them does nothing. */
#define MAXLAEUFE 32
static int laeufe = 0;

static void DispatchOneMessage(void)
{
    MSG msg;
    if (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

static void MesseKanal(void)
{
    Steuerwort(kanal);
    wandeln();
    /* A conversion without a value shows an empty field: no number that was not measured. */
    if (gueltig)
        sprintf(workstring, "%.3lf", Wert / 1000.0);
    else
        workstring[0] = '\0';
    Plotten(kanal, Wert);
    SetDlgItemTextA(Anzeigefenster, IDC_WERT_BASE + kanal, workstring);
    /* The stop's -1 is meant for the count at the top of the next sweep, which makes the sweep
     * completing after a stop 0. A stop given inside a conversion (from the panels, while the
     * status-read message is open) comes after this sweep was counted, and its channels still
     * to be shown would show -1: this sweep, too, completes as 0. */
    if (zaehler < 0)
        zaehler = 0;
    SetDlgItemInt(SatzZahl, IDC_SATZZAHL, (UINT)zaehler, TRUE);
    ShowWindow(Anzeigefenster, SW_SHOW);
    UpdateWindow(Anzeigefenster);
    UpdateWindow(SatzZahl);
}

void Durchlauf(void)
{
    DispatchOneMessage();
    /* After days of running the count starts again at 1 rather than overflowing into the
     * negative numbers, which a stop's -1 and 0 would be confused with. */
    if (zaehler == INT_MAX)
        zaehler = 1;
    else
        zaehler = zaehler + 1;
    for (kanal = 1; kanal <= 8; kanal++)
        MesseKanal();
}

/* The flag is tested only here, so a sweep once begun always completes all eight channels. */
int DataProc(HWND hwnd)
{
    (void)hwnd;
    zaehler = 0;
    while (exeparam == 1)
        Durchlauf();
    return 0;
}

/* A run started while another is in progress runs inside that run's sweep, perhaps in the middle
 * of a transaction (a "Messen" given while the status-read error message is open): it hands the
 * channel, the control word and the bits read so far back as it found them, so that the
 * interrupted sweep goes on where it was. */
static void VerschachtelterLauf(HWND hwnd)
{
    int kanalvorher = kanal;
    int inbinvorher[8];
    int ausbinvorher[13];

    memcpy(inbinvorher, inbin, sizeof inbin);
    memcpy(ausbinvorher, ausbin, sizeof ausbin);
    DataProc(hwnd);
    /* Stopped, the nested run ended on a sweep counted 0; the run around it completes its own
     * sweep after the stop as well, and that one counts 0 too, not on from the nested run's. */
    if (exeparam == 0)
        zaehler = -1;
    kanal = kanalvorher;
    memcpy(inbin, inbinvorher, sizeof inbin);
    memcpy(ausbin, ausbinvorher, sizeof ausbin);
}

void Messen(HWND hwnd)
{
    if (laeufe >= MAXLAEUFE)
        return;
    SetFocus(StopBox);
    exeparam = 1;
    laeufe = laeufe + 1;
    if (laeufe == 1)
        DataProc(hwnd);
    else
        VerschachtelterLauf(hwnd);
    laeufe = laeufe - 1;
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
