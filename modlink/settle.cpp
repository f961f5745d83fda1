/* How long this port takes to show a line change in its status word, learnt from the module's
 * answer to the break, and the port refused where its status reads cannot carry the module's
 * bits.
 *
 * A UART's status read reports the lines as they are. Most USB serial adapters answer it from a
 * copy that the adapter refreshes later: an interrupt report 1 to 3 ms after a change (PL2303,
 * CH340, CDC-ACM devices), or the status bytes of the next packet, sent when the latency timer
 * runs out (FTDI's driver on Windows, 16 ms unless set otherwise). A bit on CTS read before the
 * copy is refreshed is the previous bit. The module answers the break on RING and RLSD, which
 * every such adapter carries in the same status report as CTS: the time from setting or
 * clearing the break to the first read that shows the answer is the time a data bit takes to
 * become readable.
 */
#include <stdio.h>

#include "pikon.h"

#define RING_RLSD (MS_RING_ON | MS_RLSD_ON)

/* The longest wait for the answer. FTDI's latency timer can be set up to 255 ms: an adapter set
 * that slow still answers within this, and is told it is too slow rather than that there is no
 * module. */
#define ECHOGRENZE_MS 300

/* The longest wait per bit worth making: a sweep reads 104 bits, so 40 ms is 4 s a sweep. FTDI's
 * default 16 ms and anything set faster stays below it. */
#define NACHLAUFGRENZE_MS 40

/* Rounds of break on and off. The end of an answer timed right after its start was seen shows
 * a latency timer's whole period, the slowest case; the rounds give eight samples of a report's
 * jittering delay. */
#define RUNDEN 4

/* Polls are this far apart at least, and a sixteenth of the time waited so far: a fine reading
 * of fast answers without thousands of reads for slow ones. */
#define ABSTAND_US 20

LONGLONG Ticks(LONGLONG mikrosekunden)
{
    LARGE_INTEGER frequenz;

    QueryPerformanceFrequency(&frequenz);
    return (frequenz.QuadPart * mikrosekunden + 999999) / 1000000;
}

static LONGLONG Jetzt(void)
{
    LARGE_INTEGER jetzt;

    QueryPerformanceCounter(&jetzt);
    return jetzt.QuadPart;
}

/* Sleep's millisecond would be far too coarse. One tick more than asked, as the first reading
 * may fall just before a tick. */
void Warte(LONGLONG ticks)
{
    LONGLONG start = Jetzt();

    ticks = ticks + 1;
    while (Jetzt() - start < ticks)
        ;
}

/* Reads the status until RING and RLSD are both as wanted. Returns the ticks from the call to
 * the read that showed them, 0 when the first read did; -1 when a read fails or they do not
 * come within ECHOGRENZE_MS. */
static LONGLONG Echozeit(DWORD gewollt)
{
    LONGLONG start = Jetzt();
    LONGLONG grenze = Ticks(ECHOGRENZE_MS * 1000LL);
    LONGLONG abstand = Ticks(ABSTAND_US);
    LONGLONG vergangen;
    int erste = 1;

    for (;;) {
        if (!GetCommModemStatus(hCom, &dwComStatus))
            return -1;
        vergangen = Jetzt() - start;
        if ((dwComStatus & RING_RLSD) == gewollt)
            return erste ? 0 : vergangen;
        if (vergangen > grenze)
            return -1;
        Warte(vergangen / 16 > abstand ? vergangen / 16 : abstand);
        erste = 0;
    }
}

/* One round: the break set and its answer timed, the break cleared and the answer's end timed.
 * The break is cleared whatever came before, so that a break set never stays on. Returns the
 * longer of the two times, or -1 where the port did not answer as the module does: both lines
 * on during the break, both off after it (which keeps out a modem holding carrier and ringing).
 * A failing call makes the words read say nothing about the module. */
static LONGLONG Runde(void)
{
    BOOL ok;
    LONGLONG an, aus;

    ok = SetCommBreak(hCom);
    an = ok ? Echozeit(RING_RLSD) : -1;
    ok = ClearCommBreak(hCom) && ok;
    aus = ok && an >= 0 ? Echozeit(0) : -1;
    if (an < 0 || aus < 0)
        return -1;
    return an > aus ? an : aus;
}

/* The wait is a quarter longer than the slowest answer: the answer's end is seen up to a poll
 * step (a sixteenth) late or early, and the slowest of eight jittering delays falls short of
 * the adapter's slowest. Where every answer was there at the first read, the reads are live and
 * there is nothing to wait for. */
int Kalibrieren(void)
{
    LONGLONG langste = 0;
    LONGLONG zeit;
    int runde;

    for (runde = 0; runde < RUNDEN; runde++) {
        zeit = Runde();
        if (zeit < 0)
            return 0;
        if (zeit > langste)
            langste = zeit;
    }
    nachlauf = langste + langste / 4;
    return 1;
}

int NachlaufBrauchbar(void)
{
    return nachlauf <= Ticks(NACHLAUFGRENZE_MS * 1000LL);
}

void MeldeUnlesbar(HWND besitzer)
{
    char text[200];

    sprintf(text,
            "KMX12 an COM%d gefunden, aber nicht lesbar:\nder Anschluss meldet CTS zu spät oder "
            "nie.\nSiehe LIESMICH.TXT, „Anschlüsse und Adapter“.",
            abgelehnt);
    MessageBoxA(besitzer, text, "ZEQ-Info", MB_ICONHAND | MB_OK);
}
