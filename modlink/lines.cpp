/* The four control-line primitives every transfer with the KMX12 is built from.
 *
 *   RTS  clock             hiclock / loclock
 *   DTR  data to the chip  hidata / lodata
 *   CTS  data from the chip, read with GetCommModemStatus (inverted: CTS off = 1)
 *
 * Each is one line change on hCom; the outcome is not looked at.
 */
#include "pikon.h"

void hiclock(void)
{
    EscapeCommFunction(hCom, SETRTS);
}

void loclock(void)
{
    EscapeCommFunction(hCom, CLRRTS);
}

void hidata(void)
{
    EscapeCommFunction(hCom, SETDTR);
}

void lodata(void)
{
    EscapeCommFunction(hCom, CLRDTR);
}
