/* The chart's frame: white background, black plot area, legend, zoom label, tick marks,
 * scales, captions and title. Every position is a fraction of the client size, computed in
 * double precision and truncated once; a tick length is truncated before it is added. */
#include <stdio.h>
#include <string.h>

#include "pikon.h"

#define MARKE "\xA9 MTL" /* the maker's mark: Messtechnik Lindenau */

static void Rechteck(HDC hdc, int links, int oben, int rechts, int unten, COLORREF farbe)
{
    RECT r;
    HBRUSH pinsel = CreateSolidBrush(farbe);
    SetRect(&r, links, oben, rechts, unten);
    FillRect(hdc, &r, pinsel);
    DeleteObject(pinsel);
}

static void Legende(HDC hdc, int cx, int cy)
{
    char text[16];
    RECT r;
    int i;
    for (i = 1; i <= 8; i++) {
        sprintf(text, " - %d ", i);
        SetTextColor(hdc, col[i]);
        SetBkColor(hdc, col[0]);
        SetRect(&r, (int)(0.92 * cx), (int)(0.065 * cy + 0.037 * i * cy), cx, cy);
        DrawTextA(hdc, text, 5, &r, 0);
    }
}

static void ZoomText(HDC hdc, int cx, int cy)
{
    char text[32];
    double faktor = (double)(plm / 100);
    /* Eight characters either way, so the longer label is blanked by the shorter one. */
    if (plm <= 999)
        sprintf(text, "X * %.0lf   ", faktor);
    else
        sprintf(text, "X * %.0lf  ", faktor);
    SetTextColor(hdc, RGB(0, 0, 0));
    SetBkColor(hdc, RGB(255, 255, 255));
    TextOutA(hdc, (int)(0.92 * cx), (int)(0.79 * cy), "Zoom", 4);
    TextOutA(hdc, (int)(0.92 * cx), (int)(0.83 * cy), text, 8);
}

void HinterGrund(HWND hwnd, int cx, int cy)
{
    HDC hdc = GetDC(hwnd);
    Rechteck(hdc, (int)(0.1 * cx), (int)(0.1 * cy), (int)(0.9 * cx), (int)(0.9 * cy), RGB(0, 0, 0));
    Rechteck(hdc, (int)(0.92 * cx), (int)(0.1 * cy), (int)(0.97 * cx), (int)(0.42 * cy),
             RGB(0, 0, 0));
    Legende(hdc, cx, cy);
    ZoomText(hdc, cx, cy);
    ReleaseDC(hwnd, hdc);
}

/* 101 ticks below the plot area, one per 0.008cx; every fifth and tenth longer. */
static void ZeitTicks(HDC hdc, int cx, int cy)
{
    int i, x, l;
    for (i = 0; i <= 100; i++) {
        x = (int)(0.1 * cx + 0.008 * i * cx);
        if (i % 10 == 0)
            l = (int)(0.05 * cy);
        else if (i % 5 == 0)
            l = (int)(0.025 * cy);
        else
            l = (int)(0.01 * cy);
        MoveToEx(hdc, x, (int)(0.9 * cy), NULL);
        LineTo(hdc, x, (int)(0.9 * cy + l));
    }
}

/* 41 ticks left of the plot area, 0.0195cy apart: ten steps make one volt. */
static void WertTicks(HDC hdc, int cx, int cy)
{
    int i, y, l;
    for (i = 0; i <= 40; i++) {
        y = (int)(0.9 * cy - 0.0195 * i * cy);
        if (i % 10 == 0)
            l = (int)(0.025 * cx);
        else if (i % 5 == 0)
            l = (int)(0.0125 * cx);
        else
            l = (int)(0.005 * cx);
        MoveToEx(hdc, (int)(0.1 * cx), y, NULL);
        LineTo(hdc, (int)(0.1 * cx - l), y);
    }
}

void ZeichneGrund(HWND hwnd, int cx, int cy)
{
    HDC hdc = GetDC(hwnd);
    Rechteck(hdc, 0, 0, cx, cy, RGB(255, 255, 255));
    HinterGrund(hwnd, cx, cy);
    ZeitTicks(hdc, cx, cy);
    WertTicks(hdc, cx, cy);
    ReleaseDC(hwnd, hdc);
}

static void Skalen(HDC hdc, int cx, int cy)
{
    static const char *zeit[11] = {"0", "10", "20", "30", "40", "50",
                                   "60", "70", "80", "90", "100"};
    static const double zeitx[11] = {0.095, 0.17, 0.25, 0.33, 0.41, 0.49,
                                     0.57, 0.65, 0.73, 0.81, 0.89};
    static const double werty[5] = {0.88, 0.685, 0.49, 0.295, 0.1};
    char ziffer[2];
    int i;
    for (i = 0; i < 5; i++) {
        ziffer[0] = (char)('0' + i);
        ziffer[1] = 0;
        TextOutA(hdc, (int)(0.06 * cx), (int)(werty[i] * cy), ziffer, 1);
    }
    for (i = 0; i < 11; i++)
        TextOutA(hdc, (int)(zeitx[i] * cx), (int)(0.94 * cy), zeit[i], (int)strlen(zeit[i]));
}

static HFONT Schrift(int hoehe, int gewicht, LPCSTR name)
{
    return CreateFontA(hoehe, 0, 0, 0, gewicht, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, name);
}

/* Selects the stock font back before the font is deleted: a selected font cannot go. */
static void SchriftLoeschen(HDC hdc, HFONT schrift)
{
    SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    DeleteObject(schrift);
}

void Texte(HWND hwnd, int cx, int cy)
{
    HDC hdc = GetDC(hwnd);
    HFONT schrift;
    Skalen(hdc, cx, cy);

    schrift = Schrift(22, FW_NORMAL, NULL);
    SelectObject(hdc, schrift);
    TextOutA(hdc, (int)(0.05 * cx), (int)(0.038 * cy), "Volt", 4);
    TextOutA(hdc, (int)(0.915 * cx), (int)(0.88 * cy), "Wert", 4);
    SchriftLoeschen(hdc, schrift);

    schrift = Schrift(30, FW_MEDIUM, "ARIAL");
    SelectObject(hdc, schrift);
    TextOutA(hdc, (int)(0.35 * cx), (int)(0.02 * cy), "PIKON Plotter", 13);
    SchriftLoeschen(hdc, schrift);

    schrift = Schrift(12, FW_NORMAL, NULL);
    SelectObject(hdc, schrift);
    TextOutA(hdc, (int)(0.94 * cx), (int)(0.02 * cy), MARKE, 5);
    SchriftLoeschen(hdc, schrift);

    ReleaseDC(hwnd, hdc);
}
