// MessageBoxA: a modal box of its own, with icon, text and buttons, laid out like the classic
// one. Its owner (the top-level window of the window given) is disabled while it is open, and
// messages are dispatched meanwhile. It is recorded as {fn "MessageBoxA", window = owner as
// given, text = "<text>\n<caption>" in UTF-8 (the caption follows the last line break),
// b = style}. Its user answers it by clicking a button or with a key; when the box waits with
// nothing to read, it gives the driver's next prepared answer.
#include <algorithm>
#include <string>

#include "controls.h"
#include "dialog.h"
#include "draw.h"
#include "font.h"
#include "hooks.h"
#include "metrics.h"
#include "queue.h"
#include "trace.h"
#include "window.h"
#include "create.h"

using namespace winapi;

namespace {

constexpr int kMargin = 11;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;   // 50 x 14 dialog units
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

// The system icon for the MB_ICON* bits, 0 for none (IDI_HAND, IDI_QUESTION, ...).
WORD IconFor(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONHAND: return 32513;
    case MB_ICONQUESTION: return 32514;
    case MB_ICONEXCLAMATION: return 32515;
    case MB_ICONASTERISK: return 32516;
  }
  return 0;
}

INT_PTR CALLBACK BoxProc(HWND box, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND) return FALSE;
  int id = LOWORD(wParam);
  // Escape in a box without "Cancel" is taken as OK.
  if (id == IDCANCEL && !DlgItem(box, IDCANCEL)) id = IDOK;
  if (DlgItem(box, id)) EndDialogImpl(box, id);
  return TRUE;
}

// The box waits with nothing to read and no scripted action due: its user gives the prepared
// answer, as a click on that button, or ends the box with it if it has no such button.
void AnswerAsPrepared(HWND box) {
  int answer = Hooks().modalIdle ? Hooks().modalIdle() : IDOK;
  if (HWND button = DlgItem(box, answer))
    PostClick(button);
  else
    EndDialogImpl(box, answer);
}

struct Layout {
  int width = 0, height = 0;  // client area
  RECT icon{}, text{};
  int buttonsTop = 0, buttonsLeft = 0;
};

Layout Arrange(const std::string& text, const std::string& caption, bool icon, int buttons) {
  const FontRequest& font = ControlFont();
  int lines = 1, textWidth = 0;
  std::size_t start = 0;
  for (std::size_t end = 0; end <= text.size(); ++end)
    if (end == text.size() || text[end] == '\n') {
      textWidth = std::max(textWidth, MeasureText(font, text.substr(start, end - start)).width);
      lines += end < text.size() ? 1 : 0;
      start = end + 1;
    }
  FontMetrics m;
  MeasureFont(font, m);
  int textHeight = lines * std::max(m.height, 1);
  Layout l;
  int left = kMargin;
  if (icon) {
    l.icon = RECT{kMargin, kMargin, kMargin + kIconSize, kMargin + kIconSize};
    left += kIconSize + kMargin;
  }
  int textTop = kMargin + (icon ? std::max(0, (kIconSize - textHeight) / 2) : 0);
  l.text = RECT{left, textTop, left + textWidth + 2, textTop + textHeight};
  int buttonsWidth = buttons * kButtonWidth + (buttons - 1) * kButtonGap;
  int captionWidth = MeasureText(FontRequest{"MS Sans Serif", 13, FW_BOLD}, caption).width + 40;
  l.width = std::max({int(l.text.right) + kMargin, buttonsWidth + 2 * kMargin, captionWidth});
  l.buttonsTop = std::max(l.text.bottom, l.icon.bottom) + kMargin;
  l.buttonsLeft = (l.width - buttonsWidth) / 2;
  l.height = l.buttonsTop + kButtonHeight + kMargin;
  return l;
}

HWND CreateBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  WORD iconId = IconFor(type);
  bool cancel = (type & 0xF) == MB_OKCANCEL;
  Layout l = Arrange(text, caption, iconId != 0, cancel ? 2 : 1);
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  metrics::Insets in = metrics::NonClient(style, exStyle, false);
  int width = l.width + in.left + in.right, height = l.height + in.top + in.bottom;
  // Centred on the screen (the work area), owner or not: centring on the owner would take a
  // hook of the program's own.
  int x = std::max(0, (metrics::kScreenWidth - width) / 2);
  int y = std::max(0, (metrics::kScreenHeight - height) / 2);
  HWND box = CreateWindowImpl(exStyle, "#32770", caption, style, x, y, width, height, owner,
                              nullptr, nullptr, nullptr);
  Window* w = Find(box);
  if (!w) return nullptr;
  DialogState& d = MakeDialog(*w, BoxProc);
  d.messageBox = true;
  d.defId = IDOK;
  auto control = [box](const char* cls, const std::string& label, DWORD s, const RECT& r, int id) {
    return CreateWindowImpl(0, cls, label, s | WS_CHILD | WS_VISIBLE, r.left, r.top,
                            r.right - r.left, r.bottom - r.top, box,
                            reinterpret_cast<HMENU>(std::intptr_t(id)), nullptr, nullptr);
  };
  if (iconId) {
    HWND icon = control("Static", "", SS_ICON, l.icon, -1);
    SetStaticIcon(icon, LoadIconA(nullptr, MAKEINTRESOURCEA(iconId)));
  }
  control("Static", text, SS_LEFT, l.text, 0xFFFF);
  RECT button{l.buttonsLeft, l.buttonsTop, l.buttonsLeft + kButtonWidth,
              l.buttonsTop + kButtonHeight};
  control("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, button, IDOK);
  if (cancel) {
    button.left += kButtonWidth + kButtonGap;
    button.right += kButtonWidth + kButtonGap;
    control("Button", "Abbrechen", BS_PUSHBUTTON | WS_TABSTOP, button, IDCANCEL);
  }
  return box;
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  std::string body = Utf8FromAnsi(text);
  std::string title = caption ? Utf8FromAnsi(caption) : "Error";  // Windows' default caption
  trace::Record("MessageBoxA", 0, std::intptr_t(type), 0, body + "\n" + title, owner);
  HWND top = TopLevelOf(owner);  // an owner that is no window leaves the box without one
  HWND box = CreateBox(top, body, title, type);
  if (!box) return 0;
  return int(RunModal(box, top, false, AnswerAsPrepared));
}
