/* One conversion with the MAX186 on the KMX12: the control word in inbin goes out on DTR
 * with eight RTS pulses, then thirteen RTS pulses clock the answer in from CTS: a leading
 * bit, then the 12-bit code, most significant first.
 *
 * What the chip requires of this, by the MAX186 data sheet:
 * - "Each rising edge on SCLK, with CS low, clocks a bit from DIN into the MAX186's internal
 *   shift register. [...] the first arriving logic 1 bit defines the MSB of the control byte"
 *   (How to Start a Conversion): the START bit needs a rising clock edge of its own.
 * - In internal clock mode (PD1 = 1, PD0 = 0) the conversion runs for up to 10 us from the
 *   falling edge after the eighth control bit ("conversion 10us max", "keep SCLK low during
 *   conversion" in the internal clock timing figure), and "all transitions of the SSTRB and
 *   DOUT outputs occur on the falling edge of SCLK": the MSB comes with the first falling edge
 *   after the conversion has ended. A result clocked earlier comes out shifted right.
 */
#include "pikon.h"

/* The conversion's 10 us and 2 us to spare for the counter's granularity and a chip at the
 * edge of its tolerance; the wait begins after the call that lowered the clock has returned,
 * so the edge lies behind it. */
#define WANDELZEIT_US 12

/* The data line is set while the clock is low; the clock then pulses once per bit. */
void clockout(void)
{
    int j;

    for (j = 0; j < 8; j++) {
        if (inbin[j])
            hidata();
        else
            lodata();
        hiclock();
        loclock();
    }
}

/* Busy-waits on the performance counter: Sleep's millisecond would cost a hundred times more
 * than the conversion. One tick more than the time asks for, as the first reading may fall
 * just before a tick. No line call. */
static void WarteWandlung(void)
{
    LARGE_INTEGER frequenz, start, jetzt;
    LONGLONG ticks;

    QueryPerformanceFrequency(&frequenz);
    ticks = (frequenz.QuadPart * WANDELZEIT_US + 999999) / 1000000 + 1;
    QueryPerformanceCounter(&start);
    do
        QueryPerformanceCounter(&jetzt);
    while (jetzt.QuadPart - start.QuadPart < ticks);
}

/* After a failed read the chip still holds the rest of its answer. It takes no START bit
 * until the answer has been clocked out (past bit 5, by the data sheet's Data Framing), so
 * the remaining pulses are given, unread, and the clock ends low: the next control word
 * begins with a rising edge and is framed right. */
static void Austakten(int rest)
{
    loclock();
    for (; rest > 0; rest--) {
        hiclock();
        loclock();
    }
}

/* Each bit is read while the clock is high. CTS off (word 0) is a 1, CTS alone on (0x10) a 0;
 * any other word leaves the bit as it was. A failed read ends the reading. */
void getWandelWerte(void)
{
    int i;

    lodata();
    WarteWandlung();
    for (i = 12; i >= 0; i--) {
        hiclock();
        if (!GetCommModemStatus(hCom, &dwComStatus)) {
            Austakten(i);
            MessageBoxA(NULL, "Fehler bei GetCommModemStatus!\nAnwendung schließen!", "ZEQ", 0);
            return;
        }
        if (dwComStatus == 0)
            ausbin[i] = 1;
        else if (dwComStatus == MS_CTS_ON)
            ausbin[i] = 0;
        loclock();
    }
}

/* ausbin[11] is the most significant bit, ausbin[0] the least; ausbin[12] is the leading bit. */
int todec(void)
{
    int code = 0;
    int k;

    for (k = 11; k >= 0; k--)
        code = code * 2 + ausbin[k];
    Wert = (float)code;
    return code;
}

void wandeln(void)
{
    lodata();
    clockout();
    getWandelWerte();
    hidata();
    todec();
}
