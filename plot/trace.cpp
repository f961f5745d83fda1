/* Trace plotting: one dot per converted value at the current sweep position; the position
 * advances after channel 8 and wraps with a wipe of the plot area at the sweep length. */
#include "pikon.h"

void Linien(HWND hwnd, int cx, int cy, int position, int farbe)
{
    int x = (int)((0.8 * position / plm + 0.1) * cx);
    int y = (int)((0.9 - 0.8 * Wert / 4095.0) * cy);
    HDC hdc = GetDC(hwnd);
    SetPixel(hdc, x, y, col[farbe]);
    /* Setting a pixel marks nothing for repainting; this only carries out a repaint that
     * is already pending, e.g. right after the window was shown. */
    UpdateWindow(Plotter);
    ReleaseDC(hwnd, hdc);
}

void Plotten(int kanal, float wert)
{
    (void)wert; /* the sample is taken from Wert */
    /* A conversion without a value leaves no dot; the position still moves with the sweep. */
    if (gueltig)
        Linien(Plotter, cxPlotter, cyPlotter, cent, kanal);
    if (kanal == 8)
        cent = cent + 1;
    if (cent == plm) {
        cent = 0;
        HinterGrund(Plotter, cxPlotter, cyPlotter);
    }
}
