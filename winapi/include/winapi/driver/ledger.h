// The call ledger: every platform call the program makes, in order, for tests and the demo.
#ifndef PIKON_WINAPI_DRIVER_LEDGER_H
#define PIKON_WINAPI_DRIVER_LEDGER_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace drv {

// One recorded call. Its kinds, recorded when the program makes the call (before anything the
// call itself causes), texts in UTF-8; a field not named is 0 or empty:
//   window manager
//   RegisterClassExA    text = class name
//   CreateWindowExA     window = parent, a = style, b = extended style, text = "class\ntitle"
//   CreateDialogParamA  window = parent, a = template id (0 for a named one), text = its name
//   DialogBoxParamA     the same; EndDialog: window = dialog, a = result
//   DestroyWindow, UpdateWindow, SetFocus, GetDC, ReleaseDC: window
//   ShowWindow          window, a = show command
//   SetWindowPos        window, a = x, b = y, c = flags, text = "cx cy"
//   SetDlgItemTextA     window = dialog, a = id, text
//   SetDlgItemInt       window = dialog, a = id, b = value (signed if c), c = signed
//   CheckDlgButton      window = dialog, a = id, b = check state
//   PeekMessageA        window = filter, a = remove flags (GetMessageA is not recorded)
//   PostMessageA        window, a = message, b = wParam, c = lParam
//   PostQuitMessage     a = exit code
//   MessageBoxA         window = owner as given, b = style, text = "text\ncaption"
//   WinHelpA            window, a = command, b = data, text = help file
//   drawing, on a window's device context (window = the context's window)
//   FillRect, SetPixel, TextOutA, DrawTextA: a = x, b = y (the rectangle's top left), c = colour,
//                       text = the text drawn
//   MoveToEx, LineTo    a = x, b = y
//   SetTextColor, SetBkColor: c = colour; SetBkMode: a = mode
//   SelectObject        a font: a = height, b = weight, text = face; a brush: c = colour
//   CreateFontA         a = height, b = weight, text = face; CreateSolidBrush: c = colour
//   DeleteObject        nothing
//   ports, text = the port ("COM1"), b = whether the call succeeded
//   CreateFileA         a = access, b = share mode, c = flags
//   EscapeCommFunction  a = the function (SETDTR ...); GetCommModemStatus: a = the status word
//   SetCommBreak, ClearCommBreak, CloseHandle; GetCommState, SetCommState: a = baud rate
//   the system
//   Sleep               a = milliseconds
//   GetModuleHandleA    a = the handle returned, text = the name asked for
//   GetVersion          a = the value returned
//   GetModuleFileNameA  a = buffer size, b = the value returned, text = the program's path
//   GetFileAttributesA  a = the value returned, text = the path asked for
//   ShellExecuteA       window, a = show command, b = the value returned,
//                       text = "verb\nfile" (an empty verb for NULL)
//   GetModuleFileNameW, GetFileAttributesW, ShellExecuteW: as their ANSI twins (sizes in WCHARs)
// Read the numbers through the accessors, which name them by what they are.
struct Call {
  std::string fn;         // the platform function, e.g. "EscapeCommFunction"
  std::intptr_t a = 0;    // first numeric argument that matters (code, id, x, ...)
  std::intptr_t b = 0;    // second (y, style, ...)
  std::intptr_t c = 0;    // third (colour, ...)
  std::string text;       // text argument, or "text\ncaption" for message boxes
  HWND window = nullptr;  // the window the call is about (target, owner, parent)

  // The numbers by what they are for the calls that have them.
  std::intptr_t X() const { return a; }          // drawing calls, SetWindowPos: where
  std::intptr_t Y() const { return b; }
  COLORREF Colour() const { return COLORREF(c); }  // drawing calls, CreateSolidBrush
  std::intptr_t Item() const { return a; }       // the dialog-item calls: the item's id
  std::intptr_t Value() const { return b; }      // SetDlgItemInt, CheckDlgButton
  std::intptr_t Code() const { return a; }       // line code, status word, ShowWindow command
  std::intptr_t Style() const { return b; }      // MessageBoxA
  std::intptr_t Flags() const { return c; }      // SetWindowPos, CreateFileA
  bool Succeeded() const { return b != 0; }      // the port calls
};

// Records a call made elsewhere than in the subset (a test's own window, say), counted by name.
void Record(Call call);

// The recorded calls, oldest first. A long run does not fill the memory: once the ledger holds
// its limit of calls, its older half is dropped (the newest calls stay), and entries move to the
// front; LedgerDropped says how many went since the last ClearLedger. The default limit holds
// about 300 sweeps of a run, some 30 MB.
const std::vector<Call>& Ledger();
constexpr std::size_t kDefaultLedgerLimit = std::size_t(1) << 18;
void SetLedgerLimit(std::size_t calls);
std::size_t LedgerDropped();
void ClearLedger();
// Recording costs time; benchmarks turn it off and read only the counts.
void SetLedgerRecording(bool on);
// How often `fn` was called since the last ClearLedger, recorded or not.
std::size_t CountOf(const std::string& fn);

// Calls named `fn` only, in order.
std::vector<Call> CallsTo(const std::string& fn);

}  // namespace drv

#endif
