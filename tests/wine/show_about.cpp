// Shows PIKON's About box as the program runs it: the template "AboutBox" from the program's own
// resources (linked in), with the program's module. Prints the box's outer rectangle on the
// screen, for tests/wine/about.sh to take its picture; ends when the box is answered.
#include <windows.h>

#include <cstdio>

namespace {

INT_PTR CALLBACK AboutProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    RECT r;
    GetWindowRect(box, &r);
    std::printf("about %d %d %d %d\n", int(r.left), int(r.top), int(r.right - r.left),
                int(r.bottom - r.top));
    std::fflush(stdout);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(box, 0);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int main() {
  return int(DialogBoxParamA(GetModuleHandleA(nullptr), "AboutBox", nullptr, AboutProc, 0));
}
