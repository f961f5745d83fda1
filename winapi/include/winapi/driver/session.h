// Driving the program as its user would: scripted user actions, what the screen shows, and a
// run of WinMain that cannot hang a test.
//
// A scripted action runs when the program reads its queue (GetMessageA, PeekMessageA, or the
// loop of a modal dialog or message box) and its moment has come. Actions run in the order they
// were scripted, one per read (more only while the program would otherwise wait). The gestures
// below are meant to be called from inside an action; each does what the user's gesture does:
// it queues the input the window would get, or carries out the drag of a border at once.
#ifndef PIKON_WINAPI_DRIVER_SESSION_H
#define PIKON_WINAPI_DRIVER_SESSION_H

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace drv {

// ---- When an action runs --------------------------------------------------------------------
enum class When {
  Idle,        // the program waits for input: nothing is waiting and no message box is open
  Fetch,       // from the program's nth read of its queue on (or sooner, if it waits first)
  MessageBox,  // a message box is open, painted, and waits for its answer
};
struct Moment {
  When when = When::Idle;
  unsigned long fetch = 0;
};
inline Moment WhenIdle() { return {When::Idle, 0}; }
inline Moment AtFetch(unsigned long n) { return {When::Fetch, n}; }
inline Moment WhenMessageBox() { return {When::MessageBox, 0}; }

// `what` names the action in failure reports (the watchdog, a program waiting for ever).
void Script(Moment moment, const std::string& what, std::function<void()> action);
std::size_t PendingActions();
// Reads of the queue so far.
unsigned long Fetches();

// ---- Gestures ------------------------------------------------------------------------------
// Input to a window that is disabled, or inside a disabled one, is lost, as on the screen.
void Click(HWND control);                      // press and release the mouse button on it
void ClickItem(HWND dialog, int id);           // the same on a dialog's control
void ChooseMenu(HWND window, int commandId);   // an enabled entry sends WM_COMMAND; grayed: nothing
void CloseWindow(HWND window);                 // the close box
void MinimiseWindow(HWND window);              // the minimise box
// Dragging the border; no further than the maximum tracking size (the screen, 1024 x 768, plus
// 4 and both sizing frames: 1036 x 780).
void ResizeWindow(HWND window, int outerWidth, int outerHeight);
void PressKey(int virtualKey);                 // down and up, to the focus window of the moment
void AnswerMessageBox(int buttonId);           // clicks that button of the message box on top
void PressAltKey(int virtualKey);              // with Alt held, e.g. Alt+F4 (VK_F4)

// ---- Faults ---------------------------------------------------------------------------------
// GetMessageA returns -1, as on a broken queue, if it is the program's read number `fetch` of
// its queue (Fetches() + 1 is the next read).
void FailGetMessageAt(unsigned long fetch);

// ---- What the screen shows -----------------------------------------------------------------
HWND TopMessageBox();                          // nullptr when none is open
std::size_t LiveWindows();                     // every window, top-level and child
// A live top-level window of that class (case-insensitive), the bottom-most if there are more.
HWND FindTopLevel(const std::string& className);
HWND OwnerOf(HWND window);
HWND ActiveTopLevel();                         // the active top-level window
HWND TopLevelOnTop();                          // the top-level window highest in the z-order
std::vector<HWND> ChildrenOf(HWND window);     // in creation (z-) order
std::string WindowText(HWND window);           // UTF-8
std::string ItemText(HWND dialog, int id);     // UTF-8
bool IsChecked(HWND dialog, int id);
bool IsDefaultButton(HWND control);
// Outer rectangle and client area: in the parent's client coordinates for a child window, on
// the screen for a top-level one. Empty for a stale handle.
RECT WindowRectOf(HWND window);
RECT ClientAreaOf(HWND window);
// The whole window as it looks on the screen: frame, caption, menu bar, client area and every
// visible child. False for a stale handle or a file that cannot be written.
bool SaveWindowPng(HWND window, const std::string& path);
// A pixel of that picture (window coordinates, frame included); CLR_INVALID outside it.
COLORREF WindowPixel(HWND window, int x, int y);

// ---- Attaching ------------------------------------------------------------------------------
// Connects the driver to the subset before anything else runs: the ledger records every call,
// scripted actions are offered every read of the queue, message boxes take prepared answers.
// Called once, first, by every program that drives the subset (the tests' main, the demo, the
// benchmarks); without it the subset runs as a program's own platform, unwatched.
void Attach();

// ---- Setting the scene afresh --------------------------------------------------------------
// Every port absent and closed, modules reset (ResetPorts), the virtual clock at 0, no prepared
// message-box answers, the system as at the start (ResetSystem). Windows and scripted actions
// stay as they are.
void ResetScene();

// ---- Running the program -------------------------------------------------------------------
// Calls WinMain as the process start-up does (the module handle, no previous instance, an empty
// command line, SW_SHOWNORMAL) and returns its result. A watchdog ends the process with exit
// code 1, naming the pending action, if WinMain has not returned after `seconds` of real time.
typedef int(WINAPI* EntryPoint)(HINSTANCE, HINSTANCE, LPSTR, int);
int RunEntry(EntryPoint entry, int seconds);
// (Inline, so that the reference to WinMain is the caller's, resolved from the program.)
inline int RunWinMain(int seconds = 60) { return RunEntry(&WinMain, seconds); }

}  // namespace drv

#endif
