// GDI32 subset: device contexts onto client framebuffers, brushes, fonts, text, lines, pixels.
#ifndef PIKON_WINAPI_GDI_H
#define PIKON_WINAPI_GDI_H

#include "winapi/types.h"

#define SYSTEM_FONT 13
#define DEFAULT_CHARSET 1
#define ANSI_CHARSET 0
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_BOLD 700
#define OPAQUE 2
#define TRANSPARENT 1
#define CLR_INVALID 0xFFFFFFFFu

#define DT_TOP 0x0000
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_VCENTER 0x0004
#define DT_SINGLELINE 0x0020
#define DT_NOPREFIX 0x0800

HBRUSH WINAPI CreateSolidBrush(COLORREF color);
HFONT WINAPI CreateFontA(int height, int width, int escapement, int orientation, int weight,
                         DWORD italic, DWORD underline, DWORD strikeout, DWORD charset,
                         DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                         DWORD pitchAndFamily, LPCSTR face);
HGDIOBJ WINAPI GetStockObject(int object);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI DeleteObject(HGDIOBJ object);
COLORREF WINAPI SetTextColor(HDC dc, COLORREF color);
COLORREF WINAPI SetBkColor(HDC dc, COLORREF color);
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL WINAPI LineTo(HDC dc, int x, int y);
COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF color);

// For the tests and the conformance programs: the program itself calls neither.
int WINAPI SetBkMode(HDC dc, int mode);
COLORREF WINAPI GetPixel(HDC dc, int x, int y);

#endif
