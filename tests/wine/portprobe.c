/* portprobe TAG: opens COM1 to COM4 the way PIKON does, writes "<TAG COMn>" to each port that
   opens and says on stdout, one line a port, what each call did:
     COMn open=<error code>   or   COMn open=ok state=ok|ERROR write=<bytes>|ERROR
   A port that leads to a device takes the bytes; the test reads them on the device's side. */
#include <stdio.h>
#include <windows.h>

int main(int argc, char **argv)
{
    const char *tag = argc > 1 ? argv[1] : "probe";
    for (int n = 1; n <= 4; n++) {
        char name[16], text[64];
        DCB dcb = {0};
        DWORD written = 0;
        HANDLE port;

        snprintf(name, sizeof name, "COM%d", n);
        port = CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
        if (port == INVALID_HANDLE_VALUE) {
            printf("COM%d open=%lu\n", n, GetLastError());
            continue;
        }
        dcb.DCBlength = sizeof dcb;
        BOOL state = GetCommState(port, &dcb);
        int length = snprintf(text, sizeof text, "<%s COM%d>", tag, n);
        BOOL wrote = WriteFile(port, text, (DWORD)length, &written, NULL);
        printf("COM%d open=ok state=%s write=", n, state ? "ok" : "ERROR");
        if (wrote) printf("%lu\n", written);
        else printf("ERROR\n");
        CloseHandle(port);
    }
    return 0;
}
