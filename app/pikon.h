/* PIKON: eight-channel voltmeter and strip-chart recorder for the KMX12 A/D module
 * (a MAX186 on a serial port, driven through the port's control lines).
 *
 * One header for the whole program: the process-wide state and every routine.
 */
#ifndef PIKON_H
#define PIKON_H

#include <windows.h>

#include "resource.h"

/* Run state */
extern int exeparam;  /* 1 while a measurement run is to continue */
extern int zaehler;   /* number of the current sweep in the run; -1 after a stop */
extern int kanal;     /* channel being converted, 1 to 8 */
extern char workstring[16]; /* last value in volts, "%.3lf" */

/* Module link */
extern int inbin[8];   /* control word, element 0 sent first */
extern int ausbin[13]; /* received bits, element 12 received first */
extern float Wert;     /* last code, 0 to 4095 */
extern int gueltig;    /* 1 when Wert holds a code the last transaction read completely and
                          cleanly, else 0 */
extern HANDLE hCom;    /* the open serial port */
extern int ComNr;      /* port of the module, 1 to 4; KEIN_MODUL = none */
#define KEIN_MODUL 5   /* what IniKMX reports when no port answered; also its loop bound */
extern DWORD dwComStatus; /* last modem status word */
extern DCB dcborg;     /* port settings as read */
extern DCB dcb;        /* port settings as applied */
extern char hilfstext[1000]; /* port name */
extern LONGLONG nachlauf; /* counter ticks from raising the clock to reading CTS; 0 where reads are live */
extern int abgelehnt;  /* port whose module answered but whose status reads cannot carry its bits; 0 = none */

/* Plot */
extern int plm;        /* sweep length: 100 or 1000 positions */
extern int cent;       /* current sweep position, 0 to plm - 1 */
extern const COLORREF col[9]; /* legend background and the channel colours */
extern int cxPlotter;  /* plot window client width */
extern int cyPlotter;  /* plot window client height */

/* Windows */
extern const char g_szClassName[];
extern HWND g_hToolbar;
extern HWND Anzeigefenster;
extern HWND SatzZahl;
extern HWND StopBox;
extern HWND ComPort;
extern HWND Plotter;

/* app/ */
LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK ToolDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* modlink/ */
BOOL hiclock(void);
BOOL loclock(void);
BOOL hidata(void);
BOOL lodata(void);
int IniKMX(void);
BOOL clockout(void);
int getWandelWerte(BOOL geschaltet); /* 1 when every bit was read cleanly */
int todec(void);
void wandeln(void); /* one whole conversion transaction for the control word in inbin */
LONGLONG Ticks(LONGLONG mikrosekunden); /* performance-counter ticks, rounded up */
void Warte(LONGLONG ticks);  /* busy-waits at least this many ticks; no line call */
int Kalibrieren(void);       /* times the break's answer and sets nachlauf; 0 if it did not come */
int NachlaufBrauchbar(void); /* 1 when nachlauf is short enough to read sweeps at a useful pace */
void Steuerwort(int kanal); /* the whole control word for channel 1 to 8 into inbin */
int Pruefsweep(void);        /* 1 when a sweep of the eight channels read clean bits and CTS moved */
void MeldeUnlesbar(HWND besitzer); /* the message for the port in abgelehnt */

/* measure/ */
int DataProc(HWND hwnd);
void Durchlauf(void);      /* one sweep: one waiting message, then channels 1 to 8 */
void Messen(HWND hwnd);     /* "Messen": runs until stopped */
void StopReset(void);      /* "Stop/Reset": ends a run, nothing when idle */

/* plot/ */
void ZeichneGrund(HWND hwnd, int cx, int cy);
void HinterGrund(HWND hwnd, int cx, int cy);
void Texte(HWND hwnd, int cx, int cy);
void Plotten(int kanal, float wert);
void Linien(HWND hwnd, int cx, int cy, int position, int farbe);
INT_PTR CALLBACK PlotProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void ErzeugePlotter(void);  /* creates the hidden plot window */
void ZeigePlotter(void);
void VerbergePlotter(void);
void TogglePlotter(void);

#endif
