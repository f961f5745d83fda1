// The driver's gestures and its view of the screen.
#include "winapi/driver/session.h"

#include <algorithm>

#include "controls.h"
#include "dialog.h"
#include "menu.h"
#include "pngfile.h"
#include "queue.h"
#include "window.h"
#include "winpos.h"
#include "focus.h"
#include "nonclient.h"

using namespace winapi;

namespace drv {

void Click(HWND control) { PostClick(control); }

void ChooseMenu(HWND window, int commandId) {
  WORD id = WORD(commandId);
  if (TakesInput(window) && IsCommandEnabled(Find(window)->menu, id))
    PostImpl(window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void CloseWindow(HWND window) {
  if (TakesInput(window)) PostInput(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void MinimiseWindow(HWND window) {
  if (TakesInput(window)) PostInput(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

// A border is dragged no further than the maximum tracking size.
void ResizeWindow(HWND window, int outerWidth, int outerHeight) {
  const int maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
  const int maxHeight = GetSystemMetrics(SM_CYMAXTRACK);
  if (TakesInput(window))
    SetWindowPosImpl(window, nullptr, 0, 0, std::min(outerWidth, maxWidth),
                     std::min(outerHeight, maxHeight), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void PressKey(int virtualKey) {
  PostInput(nullptr, WM_KEYDOWN, WPARAM(virtualKey), 1);
  PostInput(nullptr, WM_KEYUP, WPARAM(virtualKey), LPARAM(0xC0000001u));
}

void PressAltKey(int virtualKey) {
  // With Alt held a key comes as WM_SYSKEYDOWN/UP, the context bit (KF_ALTDOWN in the high word)
  // set. The Alt key's own messages are left out: alone, Alt would open the menu bar.
  const LPARAM alt = LPARAM(KF_ALTDOWN) << 16;
  PostInput(nullptr, WM_SYSKEYDOWN, WPARAM(virtualKey), 1 | alt);
  PostInput(nullptr, WM_SYSKEYUP, WPARAM(virtualKey), LPARAM(0xC0000001u) | alt);
}

std::size_t LiveWindows() {
  std::size_t n = 0;
  std::vector<HWND> pending = TopLevelWindows();
  while (!pending.empty()) {
    Window* w = Find(pending.back());
    pending.pop_back();
    if (!w) continue;
    ++n;
    pending.insert(pending.end(), w->children.begin(), w->children.end());
  }
  return n;
}

HWND TopMessageBox() {
  const std::vector<HWND>& windows = TopLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (Window* w = Find(*it); w && w->dialog && w->dialog->messageBox && !w->destroying)
      return *it;
  return nullptr;
}

HWND FindTopLevel(const std::string& className) {
  const WindowClass* cls = FindClass(className);
  for (HWND window : TopLevelWindows())
    if (Window* w = Find(window); w && cls && w->cls == cls) return window;
  return nullptr;
}

HWND OwnerOf(HWND window) {
  Window* w = Find(window);
  return w ? w->owner : nullptr;
}

HWND ActiveTopLevel() { return ActiveWindow(); }

HWND TopLevelOnTop() {
  const std::vector<HWND>& windows = TopLevelWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it)
    if (Window* w = Find(*it); w && !w->destroying) return *it;
  return nullptr;
}

std::vector<HWND> ChildrenOf(HWND window) {
  Window* w = Find(window);
  return w ? w->children : std::vector<HWND>();
}

std::string WindowText(HWND window) {
  Window* w = Find(window);
  return w ? w->text : std::string();
}

RECT WindowRectOf(HWND window) {
  Window* w = Find(window);
  return w ? w->rect : RECT{};
}

RECT ClientAreaOf(HWND window) {
  Window* w = Find(window);
  if (!w) return RECT{};
  RECT client = ClientRectInWindow(*w);
  return RECT{w->rect.left + client.left, w->rect.top + client.top, w->rect.left + client.right,
              w->rect.top + client.bottom};
}

void ClickItem(HWND dialog, int id) { Click(DlgItem(dialog, id)); }

void AnswerMessageBox(int buttonId) { Click(DlgItem(TopMessageBox(), buttonId)); }

std::string ItemText(HWND dialog, int id) { return WindowText(DlgItem(dialog, id)); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

bool IsDefaultButton(HWND control) {
  Window* w = Find(control);
  return w && winapi::IsDefaultButton(*w);
}

bool SaveWindowPng(HWND window, const std::string& path) {
  return Find(window) && WritePng(ComposeWindow(window), path);
}

COLORREF WindowPixel(HWND window, int x, int y) {
  Surface picture = ComposeWindow(window);
  return picture.Contains(x, y) ? picture.At(x, y) : CLR_INVALID;
}

}  // namespace drv
