// The window tree: windows by their handles and the queries the other parts of the window
// manager share; each of those parts declares its own calls (create.h, winpos.h, focus.h,
// paint.h, nonclient.h). What makes a window a control or a dialog is kept beside it
// (controlstate.h, dialogstate.h). Public API functions trace themselves (trace.h); the internal
// ones do not, so the ledger shows what the program asked for, not what the platform did for it.
#ifndef PIKON_WINAPI_WINDOW_H
#define PIKON_WINAPI_WINDOW_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ansi.h"
#include "class.h"
#include "controlstate.h"
#include "handles.h"
#include "resources.h"
#include "surface.h"

namespace winapi {

// What CreateWindowExA hands to WM_CREATE in lParam (CREATESTRUCTA's layout).
struct CreateParams {
  LPVOID createParams;
  HINSTANCE instance;
  HMENU menu;
  HWND parent;
  int cy, cx, y, x;
  LONG style;
  LPCSTR name;
  LPCSTR className;
  DWORD exStyle;
};

struct DialogState;

struct Window {
  Window();
  ~Window();

  HWND handle = nullptr;
  const WindowClass* cls = nullptr;
  WNDPROC proc = nullptr;
  HINSTANCE instance = nullptr;
  std::string text;  // caption or control text, UTF-8
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = nullptr;        // WS_CHILD windows
  HWND owner = nullptr;         // top-level windows
  std::vector<HWND> children;   // bottom of the z-order first
  int id = 0;                   // control id of a child
  HMENU menu = nullptr;         // menu bar of a top-level window
  RECT rect{};                  // outer rectangle: parent's client coordinates, or the screen
  bool minimized = false;
  Surface surface;              // the client area, exactly its size
  COLORREF background = RGB(255, 255, 255);

  // Painting
  bool invalid = false;         // set and cleared only through InvalidateWindow, ValidateWindow
  int invalidBelow = 0;         // invalid windows in its subtree, itself included
  RECT update{};                // client coordinates
  bool erase = false;
  bool painting = false;        // between BeginPaint and EndPaint
  bool sized = false;           // has had a WM_SIZE
  bool destroying = false;

  std::unique_ptr<DialogState> dialog;    // a dialog or message box; else none
  std::unique_ptr<ControlState> control;  // a window of a system control class; else none
};

// Every window by its handle. Only window.cpp adds and removes; the table is here so that Find,
// the most frequent call of all, is inlined.
using WindowTable = HandleTable<Window, HandleKind::Window>;
extern WindowTable windowTable;

// The live (or being destroyed) window behind a handle; nullptr for a stale or foreign one.
inline Window* Find(HWND window) { return windowTable.Get(window); }
// Every top-level window, bottom of the z-order first.
const std::vector<HWND>& TopLevelWindows();
// The window's siblings list: its parent's children, or the top-level list.
std::vector<HWND>& Siblings(const Window& w);

// Calls the window's procedure at once: a sent message.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tree queries
bool IsVisibleOnScreen(const Window& w);  // it and every ancestor visible
bool IsEnabledForInput(const Window& w);  // it and every ancestor enabled
bool IsDescendant(HWND ancestor, HWND window);  // window is ancestor or below it
HWND TopLevelOf(HWND window);
bool HasMenuBar(const Window& w);
RECT ClientRectInWindow(const Window& w);  // client area in window coordinates
int ClientWidth(const Window& w);
int ClientHeight(const Window& w);
POINT ClientOriginOnScreen(const Window& w);
// Reallocates the client surface to the client size. What was drawn stays where it was; the
// area newly exposed is filled with the background.
void ResizeSurface(Window& w);

}  // namespace winapi

#endif
