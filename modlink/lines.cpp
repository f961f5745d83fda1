/* The four control-line primitives every transfer with the KMX12 is built from.
 *
 *   RTS  clock             hiclock / loclock
 *   DTR  data to the chip  hidata / lodata
 *   CTS  data from the chip, read with GetCommModemStatus (inverted: CTS off = 1)
 *
 * Each is one line change on hCom and returns its outcome: FALSE where the port refused it (a
 * line its driver keeps under handshake, a device gone).
 */
#include "pikon.h"

BOOL hiclock(void)
{
    return EscapeCommFunction(hCom, SETRTS);
}

BOOL loclock(void)
{
    return EscapeCommFunction(hCom, CLRRTS);
}

BOOL hidata(void)
{
    return EscapeCommFunction(hCom, SETDTR);
}

BOOL lodata(void)
{
    return EscapeCommFunction(hCom, CLRDTR);
}
