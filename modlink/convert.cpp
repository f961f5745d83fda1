/* One conversion with the MAX186 on the KMX12: the control word in inbin goes out on DTR
 * with eight RTS pulses, then thirteen RTS pulses clock the answer in from CTS: a leading
 * bit, then the 12-bit code, most significant first. */
#include "pikon.h"

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

/* Each bit is read while the clock is high. CTS off (word 0) is a 1, CTS alone on (0x10) a 0;
 * any other word leaves the bit as it was. A failed read ends the reading with the clock
 * left high. */
void getWandelWerte(void)
{
    int i;

    lodata();
    for (i = 12; i >= 0; i--) {
        hiclock();
        if (!GetCommModemStatus(hCom, &dwComStatus)) {
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
