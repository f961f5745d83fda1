/* PIKON's frame: the graphical entry, the main window with its menu and five panels, the
 * module detection at start, the About box and the help file. */
#include "pikon.h"

#define HILFESEITE "PIKON.html"

static HWND Panel(HWND hwnd, int vorlage)
{
    HWND panel = CreateDialogParamA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(vorlage), hwnd,
                                    ToolDlgProc, 0);
    ShowWindow(panel, SW_SHOW);
    return panel;
}

static void MarkierePort(void)
{
    int n;
    CheckDlgButton(ComPort, IDC_COM_BASE + ComNr, BST_CHECKED);
    for (n = 1; n <= 4; n++)
        if (n != ComNr)
            CheckDlgButton(ComPort, IDC_COM_BASE + n, BST_UNCHECKED);
}

/* The creation sequence: panels, plot window, detection, then the port or the end. */
static void Erzeugen(HWND hwnd)
{
    g_hToolbar = Panel(hwnd, IDD_TOOLBAR);
    Anzeigefenster = Panel(hwnd, IDD_ANZEIGE);
    SatzZahl = Panel(hwnd, IDD_SATZZAHL);
    StopBox = Panel(hwnd, IDD_STOPBOX);
    ComPort = Panel(hwnd, IDD_COMPORT);

    ErzeugePlotter();

    ComNr = IniKMX();
    if (ComNr == KEIN_MODUL) {
        if (abgelehnt)
            MeldeUnlesbar(hwnd);
        else
            MessageBoxA(hwnd,
                        "KMX12 nicht gefunden!\nBitte Modul anschließen\n"
                        "und Anwendung erneut starten.",
                        "ZEQ-Info", MB_ICONHAND | MB_OK);
        exeparam = 0;
        DestroyWindow(hwnd);
    } else {
        MarkierePort();
    }
    SetFocus(g_hToolbar); /* after a destroy this does nothing */
}

/* The web page beside the program, in UTF-16: the ANSI calls would turn a folder's characters
 * that the code page lacks into '?' and miss it. FALSE where that is not to be had (a path too
 * long, no page, no browser). */
static BOOL HilfeImBrowser(HWND hwnd)
{
    static const WCHAR oeffnen[] = {'o', 'p', 'e', 'n', 0};
    WCHAR pfad[MAX_PATH];
    DWORD n, name, k;
    DWORD attribute;

    n = GetModuleFileNameW(NULL, pfad, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) /* failed, or cut short */
        return FALSE;
    for (name = n; name > 0 && pfad[name - 1] != '\\'; name--)
        ;
    if (name + sizeof(HILFESEITE) > MAX_PATH)
        return FALSE;
    for (k = 0; k < sizeof(HILFESEITE); k++) /* the name and its NUL */
        pfad[name + k] = (WCHAR)HILFESEITE[k];
    attribute = GetFileAttributesW(pfad);
    if (attribute == INVALID_FILE_ATTRIBUTES || (attribute & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    return (INT_PTR)ShellExecuteW(hwnd, oeffnen, pfad, NULL, NULL, SW_SHOWNORMAL) > 32;
}

/* Windows Vista (version 6.0) and later ship no WinHelp viewer: there the help is the web page,
 * in the default browser. WinHelp came with Windows up to XP, and Vista to 8.1 can have it
 * installed; Windows 10 and later have none at all, so there the user is told where the page
 * is to be found. */
static void Hilfe(HWND hwnd)
{
    BYTE version = LOBYTE(LOWORD(GetVersion()));

    if (version >= 6 && HilfeImBrowser(hwnd))
        return;
    if (version < 10)
        WinHelpA(hwnd, "PIKON.HLP", HELP_FORCEFILE, 0);
    else
        MessageBoxA(hwnd,
                    "Hilfe nicht zu öffnen!\nBitte PIKON.html aus dem Ordner\n"
                    "von PIKON.exe im Browser öffnen.",
                    "ZEQ-Info", MB_ICONEXCLAMATION | MB_OK);
}

static void Befehl(HWND hwnd, int id)
{
    switch (id) {
    case IDM_BEENDEN:
        exeparam = 0;
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
        break;
    case IDM_PLOT_ANZEIGEN:
        ZeigePlotter();
        break;
    case IDM_PLOT_VERBERGEN:
        VerbergePlotter();
        break;
    case IDM_ABOUT:
        /* With the program's module, not NULL: the template would be found either way, but
           the box's controls get the module given, and only it holds the icon. */
        DialogBoxParamA(GetModuleHandleA(NULL), "AboutBox", hwnd, AboutDlgProc, 0);
        break;
    case IDM_HILFE:
        Hilfe(hwnd);
        break;
    }
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        Erzeugen(hwnd);
        return 0;
    case WM_CLOSE:
        exeparam = 0;
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        exeparam = 0;
        DestroyWindow(g_hToolbar);
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        Befehl(hwnd, LOWORD(wParam));
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK AboutDlgProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (msg) {
    case WM_INITDIALOG:
        return TRUE; /* the focus goes to "OK" */
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

static BOOL Registrieren(HINSTANCE hInstance)
{
    WNDCLASSEXA wc;
    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = 0;
    wc.lpfnWndProc = WndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_PIKON));
    wc.hCursor = LoadCursorA(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(INT_PTR)(COLOR_MENUTEXT + 1); /* the menu text colour */
    wc.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    wc.lpszClassName = g_szClassName;
    wc.hIconSm = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_PIKON));
    return RegisterClassExA(&wc) != 0;
}

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    HWND hwnd;
    MSG Msg;
    BOOL ret;
    (void)hPrevInstance;
    (void)lpCmdLine;

    if (!Registrieren(hInstance)) {
        MessageBoxA(NULL, "Window Registration Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }
    hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, g_szClassName, "PIKON", WS_SYSMENU | WS_MINIMIZEBOX,
                           CW_USEDEFAULT, CW_USEDEFAULT, 301, 322, NULL, NULL, hInstance, NULL);
    if (hwnd == NULL) {
        /* Without a module the window went in its own creation, after the not-found
         * message: there is nothing more to say. */
        if (ComNr != KEIN_MODUL)
            MessageBoxA(NULL, "Window Creation Failed!", "Error!", MB_ICONEXCLAMATION | MB_OK);
        return 0;
    }
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);

    while ((ret = GetMessageA(&Msg, NULL, 0, 0)) != 0) {
        /* A failing fetch leaves no message to act on, and would fail again at once: leave
         * the loop and report the failure to whoever started the program (exit code 1; the
         * regular end, by the quit message, gives 0). */
        if (ret == -1)
            return 1;
        if (!IsDialogMessageA(g_hToolbar, &Msg)) {
            TranslateMessage(&Msg);
            DispatchMessageA(&Msg);
        }
    }
    return (int)Msg.wParam;
}
