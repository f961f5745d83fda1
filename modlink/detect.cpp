/* Finding the KMX12: a break on TXD makes the module raise RING and RLSD. */
#include <stdio.h>

#include "pikon.h"

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

/* A port whose status comes late is a USB adapter, and some of those (the CDC-ACM class) carry
 * no CTS at all: there a sweep must show CTS moving, and clean framing, before any value is
 * believed. A live port needs no such proof, and its detection stays as short as it was. */
static int Lesbar(void)
{
    if (nachlauf == 0)
        return 1;
    return NachlaufBrauchbar() && Pruefsweep();
}

/* Returns the port of the module, 1 to 4, left open and configured in hCom; KEIN_MODUL if
 * none. A port that answers but cannot be configured is passed over like one without it; one
 * whose module answers but whose status reads cannot carry its bits is named in abgelehnt and
 * passed over. */
int IniKMX(void)
{
    int n;

    if (hCom != 0)
        CloseHandle(hCom);
    abgelehnt = 0;
    for (n = 1; n < KEIN_MODUL; n++) {
        sprintf(hilfstext, "COM%d", n);
        hCom = CreateFileA(hilfstext, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, NULL);
        if (hCom == INVALID_HANDLE_VALUE)
            continue;
        if (Kalibrieren() && configure()) {
            if (Lesbar())
                return n;
            abgelehnt = n;
        }
        CloseHandle(hCom);
    }
    return KEIN_MODUL;
}
