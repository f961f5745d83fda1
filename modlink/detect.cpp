/* Finding the KMX12: a break on TXD makes the module raise RING and RLSD. */
#include <stdio.h>

#include "pikon.h"

#define RING_RLSD (MS_RING_ON | MS_RLSD_ON)

/* Break for 20 ms: RING and RLSD must both come on. Break cleared, 30 ms later they must
 * both have gone off again. The second test keeps out a port whose lines are on anyway,
 * such as a modem holding carrier and ringing.
 * A read that fails leaves dwComStatus as the last good read left it, perhaps on the port
 * probed before (a modem's RING and RLSD, say), and with a break that was never set, or never
 * cleared, the words read say nothing about the module: so a port on which any of these four
 * calls fails has not answered, whatever the words say. Every call is still made, in the same
 * order (each call stands before the &&), so that a break set is always cleared again and an
 * answering port sees exactly the sequence it always did. */
static int probe(void)
{
    BOOL ok;
    int answered;

    ok = SetCommBreak(hCom);
    Sleep(20);
    ok = GetCommModemStatus(hCom, &dwComStatus) && ok;
    answered = (dwComStatus & RING_RLSD) == RING_RLSD;
    ok = ClearCommBreak(hCom) && ok;
    Sleep(30);
    ok = GetCommModemStatus(hCom, &dwComStatus) && ok;
    return ok && answered && (dwComStatus & RING_RLSD) == 0;
}

/* XON and XOFF mean nothing here (no data is sent), but some drivers report them equal, and a
 * driver refuses to have equal characters written back: such a port gets the usual ones. */
static void XonXoff(DCB *d)
{
    if (d->XonChar == d->XoffChar) {
        d->XonChar = 0x11;
        d->XoffChar = 0x13;
    }
}

/* 256000 baud, DTR and RTS enabled, everything else as the port had it; DTR rests on. The
 * settings raise RTS, the clock; it is lowered again, so that the first control word's START
 * bit gets the rising edge the chip takes it on. A port that refuses the settings or these line
 * changes keeps the lines under its driver's control: it cannot carry the module's transfers.
 * Returns 1 when all went through. */
static int configure(void)
{
    if (!GetCommState(hCom, &dcborg))
        return 0;
    dcb = dcborg;
    dcb.BaudRate = CBR_256000;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    XonXoff(&dcb);
    if (!SetCommState(hCom, &dcb))
        return 0;
    return hidata() && loclock();
}

/* Returns the port of the module, 1 to 4, left open and configured in hCom; KEIN_MODUL if
 * none. A port that answers but cannot be configured is passed over like one without it. */
int IniKMX(void)
{
    int n;

    if (hCom != 0)
        CloseHandle(hCom);
    for (n = 1; n < KEIN_MODUL; n++) {
        sprintf(hilfstext, "COM%d", n);
        hCom = CreateFileA(hilfstext, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, NULL);
        if (hCom == INVALID_HANDLE_VALUE)
            continue;
        if (probe() && configure())
            return n;
        CloseHandle(hCom);
    }
    return KEIN_MODUL;
}
