/* The process-wide state of PIKON. */
#include "pikon.h"

int exeparam = 0;
int zaehler = 0;
int kanal = 0;
char workstring[16] = "";

int inbin[8] = {0};
int ausbin[13] = {0};
float Wert = 0;
int gueltig = 0;
HANDLE hCom = 0;
int ComNr = 0;
DWORD dwComStatus = 0;
DCB dcborg;
DCB dcb;
char hilfstext[1000] = "";
LONGLONG nachlauf = 0;
int abgelehnt = 0;

int plm = 100;
int cent = 0;
const COLORREF col[9] = {0x000000, 0x0000FF, 0x00FF00, 0xFF6464, 0x00FFFF,
                         0xFF00FF, 0xFFFF00, 0x96AAAA, 0xE6E6D2};
int cxPlotter = 0;
int cyPlotter = 0;

const char g_szClassName[] = "myWindowClass";
HWND g_hToolbar = 0;
HWND Anzeigefenster = 0;
HWND SatzZahl = 0;
HWND StopBox = 0;
HWND ComPort = 0;
HWND Plotter = 0;
