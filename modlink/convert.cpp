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

/* SEL2, SEL1, SEL0 for channels 1 to 8 (CH0 to CH7). */
static const int kanalwahl[8][3] = {
    {0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1}, {0, 1, 0}, {1, 1, 0}, {0, 1, 1}, {1, 1, 1}};

/* The whole control word for a channel: START, its select bits, unipolar, single-ended,
 * internal clock. */
void Steuerwort(int k)
{
    static const int vorgabe[8] = {1, 0, 0, 0, 1, 1, 1, 0};
    int j;

    for (j = 0; j < 8; j++)
        inbin[j] = vorgabe[j];
    for (j = 0; j < 3; j++)
        inbin[1 + j] = kanalwahl[k - 1][j];
}

/* The data line is set while the clock is low; the clock then pulses once per bit. FALSE if a
 * line change failed; the others are still made. */
BOOL clockout(void)
{
    int j;
    BOOL geschaltet = TRUE;

    for (j = 0; j < 8; j++) {
        if (inbin[j])
            geschaltet = hidata() && geschaltet;
        else
            geschaltet = lodata() && geschaltet;
        geschaltet = hiclock() && geschaltet;
        geschaltet = loclock() && geschaltet;
    }
    return geschaltet;
}

/* Sleep's millisecond would cost a hundred times more than the conversion. The wait begins
 * after the call that lowered the clock has returned, so the edge lies behind it. */
static void WarteWandlung(void)
{
    Warte(Ticks(WANDELZEIT_US));
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

/* A word with DSR, RING or RLSD on is no bit: the module drives only CTS. It is read again while
 * the clock stays high (the chip changes its output on falling edges only, so each re-read sees
 * the same bit). A glitch, or an adapter's status report caught mid-change, is gone by the next
 * read or the one after, even where the adapter answers reads from a report refreshed every
 * millisecond or so; a line held on by a cable or a modem stays on through any number of reads,
 * and more would only delay the message. Two re-reads tell the one from the other. */
#define NEULESEN 2

#define FEHLER_LESEN "Fehler bei GetCommModemStatus!\nAnwendung schließen!"
#define FEHLER_WORT "Fehler bei GetCommModemStatus!\nDSR, RING oder RLSD ist an: Kabel prüfen!"
#define FEHLER_LEITUNG "Fehler bei EscapeCommFunction!\nAnwendung schließen!"

/* The bit read after the chip's LSB on a port whose status comes late: the chip puts out zeros
 * there, so a 1 is a bit read before the port showed it. */
static int schlussbit;

/* The bit under the high clock: CTS off (word 0) is a 1, CTS alone on (0x10) a 0. NULL, or the
 * message when the bit cannot be had. */
static const char *LiesBit(int *bit)
{
    int lesung;

    for (lesung = 0; lesung <= NEULESEN; lesung++) {
        if (!GetCommModemStatus(hCom, &dwComStatus))
            return FEHLER_LESEN;
        if (dwComStatus == 0 || dwComStatus == MS_CTS_ON) {
            *bit = dwComStatus == 0;
            return NULL;
        }
    }
    return FEHLER_WORT;
}

/* A transaction that yields no value ends with the answer's remaining pulses and the clock low,
 * then says why. */
static int Abbruch(int rest, const char *text)
{
    Austakten(rest);
    MessageBoxA(NULL, text, "ZEQ", 0);
    return 0;
}

/* Each bit is read while the clock is high, on a port whose status comes late only once the
 * time it takes has passed; there one bit more is read, the zero after the LSB. `geschaltet`:
 * whether the line changes before went through. A failed line change, a failed read or an
 * unclean word ends the reading; 1 when every bit was read. */
int getWandelWerte(BOOL geschaltet)
{
    int letztes = nachlauf > 0 ? -1 : 0;
    int i;
    const char *fehler;

    schlussbit = 0;
    geschaltet = lodata() && geschaltet;
    WarteWandlung();
    for (i = 12; i >= letztes; i--) {
        geschaltet = hiclock() && geschaltet;
        if (nachlauf > 0)
            Warte(nachlauf);
        fehler = geschaltet ? LiesBit(i >= 0 ? &ausbin[i] : &schlussbit) : FEHLER_LEITUNG;
        if (fehler)
            return Abbruch(i - letztes, fehler);
        geschaltet = loclock();
    }
    if (!geschaltet)
        return Abbruch(0, FEHLER_LEITUNG);
    return 1;
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

/* gueltig is set only once the transaction is over: a run started inside its message makes
 * conversions of its own. The closing DTR change comes after the last bit was read and does not
 * count against the value. */
static void Transaktion(void)
{
    BOOL geschaltet;

    geschaltet = lodata();
    geschaltet = clockout() && geschaltet;
    gueltig = getWandelWerte(geschaltet);
    hidata();
    todec();
}

/* The chip's answer is framed by zeros: the leading bit before the MSB, and on a late port the
 * bit after the LSB. A 1 in either is a bit read before the port showed it, or CTS stuck off. */
static int Verspaetet(void)
{
    return nachlauf > 0 && (ausbin[12] != 0 || schlussbit != 0);
}

/* The port's timing learnt anew and the conversion made again: 1 when it then reads clean. */
static int Nachmessen(void)
{
    if (!Kalibrieren() || !NachlaufBrauchbar())
        return 0;
    Transaktion();
    return gueltig && !Verspaetet();
}

/* A conversion found read too early is made again after the port's timing has been learnt
 * anew; read too early again, or on a port refused before, it has no value, and the port is
 * refused: the run stops, and the message comes once a run. */
void wandeln(void)
{
    if (abgelehnt == 0) {
        Transaktion();
        if (!gueltig || !Verspaetet() || Nachmessen())
            return;
        abgelehnt = ComNr;
    }
    gueltig = 0;
    if (exeparam) {
        exeparam = 0;
        MeldeUnlesbar(NULL);
    }
}

/* A sweep of the eight channels at detection, shown nowhere: every answer framed by its zeros,
 * and some bit a 1, so that CTS was seen to move. */
int Pruefsweep(void)
{
    int bewegt = 0;
    int k;

    for (k = 1; k <= 8; k++) {
        Steuerwort(k);
        Transaktion();
        if (!gueltig || Verspaetet())
            return 0;
        bewegt = bewegt || Wert != 0;
    }
    return bewegt;
}
