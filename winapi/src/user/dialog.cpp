// Dialogs built from templates: modeless and modal creation, the dialog class's default
// handling, keyboard navigation, and the item calls.
#include "dialog.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "controls.h"
#include "icons.h"
#include "menu.h"
#include "metrics.h"
#include "queue.h"
#include "window.h"
#include "trace.h"
#include "create.h"
#include "winpos.h"
#include "focus.h"

namespace winapi {
namespace {

constexpr WORD kHasDefId = 0x534B;  // DC_HASDEFID

// The kind of control a template's class makes; false, saying so, for a class not registered.
bool ClassOfItem(const res::DialogItem& item, ControlKind& kind) {
  const WindowClass* cls = FindClass(item.windowClass.name);
  if (!cls) {
    std::fprintf(stderr,
                 "CreateDialog: the template's control %d names the window class \"%s\", which is "
                 "not registered; no dialog is created\n",
                 item.id, item.windowClass.name.c_str());
    return false;
  }
  kind = cls->kind;
  return true;
}

bool CreateControl(HWND dialog, HINSTANCE instance, const res::DialogItem& item) {
  ControlKind kind = ControlKind::None;
  if (!ClassOfItem(item, kind)) return false;
  DWORD style = item.style | WS_CHILD, exStyle = item.exStyle;
  // Bordered edit fields get the sunken 3-D edge in a dialog.
  if (kind == ControlKind::Edit && (style & WS_BORDER)) {
    style &= ~DWORD(WS_BORDER);
    exStyle |= WS_EX_CLIENTEDGE;
  }
  HWND control = CreateWindowImpl(
      exStyle, item.windowClass.name, item.text.isId ? std::string() : item.text.name, style,
      metrics::DialogX(item.x), metrics::DialogY(item.y), metrics::DialogX(item.cx),
      metrics::DialogY(item.cy), dialog, reinterpret_cast<HMENU>(std::intptr_t(item.id)), instance,
      nullptr);
  if (!control) return false;
  // An icon control names its icon by ordinal and loads it from the instance the dialog was
  // created with, then from the system's icons: a null instance finds only those. It takes the
  // size of the icon it found.
  if (item.text.isId && kind == ControlKind::Static) {
    HICON icon = instance ? LoadIconA(instance, MAKEINTRESOURCEA(item.text.id)) : nullptr;
    if (!icon) icon = LoadIconA(nullptr, MAKEINTRESOURCEA(item.text.id));
    SetStaticIcon(control, icon);
    if (icon)
      SetWindowPosImpl(control, nullptr, 0, 0, 32, 32, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  Window* d = Find(dialog);
  if (d && d->dialog->defId == 0 && kind == ControlKind::Button &&
      (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
    d->dialog->defId = item.id;
  return true;
}

bool Tabbable(const Window& w) {
  return (w.style & WS_TABSTOP) && (w.style & WS_VISIBLE) && !(w.style & WS_DISABLED);
}

void Command(HWND dialog, int id, WORD code, HWND control) {
  Send(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

// Enter: the focused push button if it is the default now, else the default button, else IDOK.
void PressDefault(HWND dialog) {
  Window* focus = Find(FocusWindow());
  Window* d = Find(dialog);
  if (HWND button = d ? FocusedDefault(*d) : nullptr) {
    Command(dialog, Find(button)->id, BN_CLICKED, button);
  } else if (d && d->dialog && d->dialog->defId) {
    int defId = d->dialog->defId;
    HWND button = DlgItem(dialog, defId);
    Window* b = Find(button);
    if (!b || !(b->style & WS_DISABLED)) Command(dialog, defId, BN_CLICKED, button);
  } else {
    Command(dialog, IDOK, BN_CLICKED, focus ? focus->handle : nullptr);
  }
}

}  // namespace

DialogState& MakeDialog(Window& w, DLGPROC proc) {
  w.dialog = std::make_unique<DialogState>();
  w.dialog->proc = proc;
  return *w.dialog;
}

HWND CreateDialogImpl(HINSTANCE instance, const res::NameOrId& name, HWND parent, DLGPROC proc,
                      LPARAM param) {
  res::DialogTemplate t;
  if (!res::LoadDialog(name, t)) {
    std::fprintf(stderr, "CreateDialog: no dialog template %s\n",
                 name.isId ? std::to_string(name.id).c_str() : ("\"" + name.name + "\"").c_str());
    return nullptr;
  }
  DWORD style = t.style, exStyle = t.exStyle;
  if (style & DS_MODALFRAME) exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION | WS_CLIPSIBLINGS;
  bool hasMenu = !t.menu.name.empty() || t.menu.isId;
  HMENU menu = hasMenu && !(style & WS_CHILD) ? LoadMenuBar(t.menu) : nullptr;
  // The template gives the client area; the frame goes around it.
  metrics::Insets in = metrics::NonClient(style, exStyle, menu != nullptr);
  int x = metrics::DialogX(t.x) - in.left, y = metrics::DialogY(t.y) - in.top;
  int width = metrics::DialogX(t.cx) + in.left + in.right;
  int height = metrics::DialogY(t.cy) + in.top + in.bottom;
  // A pop-up's position counts from its owner's client area. Windows then moves a top-level
  // dialog left and up until it fits on the screen (a dialog frame's width short of the right
  // and bottom edges), but never past the top-left corner.
  if (!(style & WS_CHILD)) {
    if (Window* owner = Find(parent)) {
      POINT origin = ClientOriginOnScreen(*owner);
      x += origin.x;
      y += origin.y;
    }
    x = std::max(0, std::min(x, metrics::kScreenWidth - metrics::kFixedFrame - width));
    y = std::max(0, std::min(y, metrics::kScreenHeight - metrics::kFixedFrame - height));
  }
  std::string cls = t.windowClass.name.empty() ? "#32770" : t.windowClass.name;
  HWND dialog = CreateWindowImpl(exStyle, cls, t.caption, style & ~DWORD(WS_VISIBLE), x, y, width,
                                 height, parent, menu, instance, nullptr);
  Window* d = Find(dialog);
  if (!d) return nullptr;
  MakeDialog(*d, proc);
  for (const res::DialogItem& item : t.items)
    if (!CreateControl(dialog, instance, item)) {
      DestroyWindowImpl(dialog);
      return nullptr;
    }
  HWND first = NextTabItem(dialog, nullptr);
  if (Send(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && Find(dialog) && first)
    SetFocusImpl(NextTabItem(dialog, nullptr));
  if (!Find(dialog)) return nullptr;
  if (style & WS_VISIBLE) ShowWindowImpl(dialog, SW_SHOWNORMAL);
  return Find(dialog) ? dialog : nullptr;
}

INT_PTR RunModal(HWND dialog, HWND owner, bool waitForInput, void (*whenIdle)(HWND dialog)) {
  Window* o = Find(owner);
  bool disabledOwner = o && !(o->style & WS_DISABLED);
  if (disabledOwner) EnableWindowImpl(owner, FALSE);
  ShowWindowImpl(dialog, SW_SHOWNORMAL);
  for (Window* d = Find(dialog); d && !d->dialog->ended; d = Find(dialog)) {
    MSG msg;
    int got = FetchMessage(&msg, nullptr, 0, 0, PM_REMOVE, waitForInput);
    if ((got == 0 && waitForInput) || (got == 1 && msg.message == WM_QUIT)) {
      PostQuitImpl(int(msg.wParam));  // the quit is for the loop outside
      break;
    }
    if (got == 1) {
      if (!IsDialogMessageA(dialog, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    } else if (whenIdle) {
      whenIdle(dialog);
    }
  }
  Window* d = Find(dialog);
  INT_PTR result = d && d->dialog->ended ? d->dialog->result : 0;
  // The owner is enabled again first, so that it becomes active when the dialog goes.
  if (disabledOwner) EnableWindowImpl(owner, TRUE);
  DestroyWindowImpl(dialog);
  return result;
}

HWND DlgItem(HWND dialog, int id) {
  Window* d = Find(dialog);
  if (!d) return nullptr;
  for (HWND child : d->children)
    if (Window* c = Find(child); c && c->id == id) return child;
  return nullptr;
}

bool EndDialogImpl(HWND dialog, INT_PTR result) {
  Window* d = Find(dialog);
  if (!d || !d->dialog) return false;
  d->dialog->ended = true;
  d->dialog->result = result;
  return true;
}

// The next control after `from` that takes Tab, wrapping round; the first one for nullptr.
HWND NextTabItem(HWND dialog, HWND from) {
  Window* d = Find(dialog);
  if (!d) return nullptr;
  const std::vector<HWND>& items = d->children;
  std::size_t n = items.size(), start = n - 1;  // not found: begin with the first
  for (std::size_t i = 0; i < n; ++i)
    if (items[i] == from) start = i;
  for (std::size_t k = 1; k <= n; ++k)
    if (Window* c = Find(items[(start + k) % n]); c && Tabbable(*c)) return c->handle;
  return nullptr;
}

// The dialog class: the dialog procedure first; what it leaves (returns FALSE) gets the
// default handling.
LRESULT CALLBACK DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Window* d = Find(window);
  if (!d) return 0;
  if (DLGPROC proc = d->dialog ? d->dialog->proc : nullptr) {
    INT_PTR handled = proc(window, message, wParam, lParam);
    if (handled) return message == WM_INITDIALOG ? handled : 0;
    d = Find(window);
    if (!d) return 0;
  }
  switch (message) {
    case WM_SETFOCUS: {
      HWND saved = d->dialog ? d->dialog->focus : nullptr;
      HWND back = IsDescendant(window, saved) && saved != window ? saved
                                                                 : NextTabItem(window, nullptr);
      if (back) SetFocusImpl(back);
      return 0;
    }
    case WM_CLOSE:
      PostImpl(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
               reinterpret_cast<LPARAM>(DlgItem(window, IDCANCEL)));
      return 0;
    case DM_GETDEFID:
      return d->dialog && d->dialog->defId ? LRESULT(MAKELONG(d->dialog->defId, kHasDefId)) : 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace winapi

using namespace winapi;

namespace {

void RecordItem(const char* fn, HWND dialog, int id, std::intptr_t b, std::intptr_t c,
                const std::string& text) {
  trace::Record(fn, id, b, c, text, dialog);
}

std::intptr_t TemplateId(LPCSTR name) {
  return IS_INTRESOURCE(name) ? std::intptr_t(reinterpret_cast<std::uintptr_t>(name)) : 0;
}

std::string TemplateName(LPCSTR name) { return IS_INTRESOURCE(name) ? "" : Utf8FromAnsi(name); }

}  // namespace

HWND WINAPI CreateDialogParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                               LPARAM param) {
  trace::Record("CreateDialogParamA", TemplateId(templateName), 0, 0,
                TemplateName(templateName), parent);
  return CreateDialogImpl(instance, res::FromArg(templateName), parent, proc, param);
}

// A null module is the program's own file. The dialog's owner is the parent's top-level window,
// disabled while the dialog is open; the result is what EndDialog gave, -1 if none was created.
INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND parent, DLGPROC proc,
                               LPARAM param) {
  trace::Record("DialogBoxParamA", TemplateId(templateName), 0, 0,
                TemplateName(templateName), parent);
  HWND owner = TopLevelOf(parent);
  HWND dialog = CreateDialogImpl(instance, res::FromArg(templateName), owner, proc, param);
  if (!dialog) return -1;
  return RunModal(dialog, owner, true, nullptr);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
  trace::Record("EndDialog", result, 0, 0, "", dialog);
  return EndDialogImpl(dialog, result) ? TRUE : FALSE;
}

// Keys for the dialog: Tab moves the focus, Enter presses the default button, Escape cancels.
// Every other message for the dialog or its controls is translated and dispatched here.
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
  if (!msg || !Find(dialog) || (msg->hwnd != dialog && !IsDescendant(dialog, msg->hwnd)))
    return FALSE;
  if (msg->message == WM_KEYDOWN) {
    switch (msg->wParam) {
      case VK_TAB:
        if (HWND next = NextTabItem(dialog, FocusWindow())) {
          Window* n = Find(next);
          if (Window* d = Find(dialog); d && d->dialog)
            d->dialog->tabbedButton = n && IsPushButton(*n) ? next : nullptr;
          SetFocusImpl(next);
        }
        return TRUE;
      case VK_RETURN:
        PressDefault(dialog);
        return TRUE;
      case VK_ESCAPE:
        Command(dialog, IDCANCEL, BN_CLICKED, DlgItem(dialog, IDCANCEL));
        return TRUE;
    }
  }
  bool navigationChar = msg->message == WM_CHAR &&
                        (msg->wParam == '\t' || msg->wParam == '\r' || msg->wParam == 0x1B);
  if (!navigationChar) {
    TranslateMessage(msg);
    DispatchMessageA(msg);
  }
  return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) { return DlgItem(dialog, id); }

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
  RecordItem("SetDlgItemTextA", dialog, id, 0, 0,
             trace::Recording() ? Utf8FromAnsi(text) : std::string());
  HWND item = DlgItem(dialog, id);
  return item ? BOOL(Send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""))) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int max) {
  HWND item = DlgItem(dialog, id);
  if (!item) {
    if (text && max > 0) text[0] = '\0';
    return 0;
  }
  return UINT(Send(item, WM_GETTEXT, WPARAM(max > 0 ? max : 0), reinterpret_cast<LPARAM>(text)));
}

BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  RecordItem("SetDlgItemInt", dialog, id,
             isSigned ? std::intptr_t(int(value)) : std::intptr_t(value), isSigned, "");
  char text[16] = {};
  if (isSigned)
    std::to_chars(text, text + sizeof text - 1, int(value));
  else
    std::to_chars(text, text + sizeof text - 1, value);
  HWND item = DlgItem(dialog, id);
  return item ? BOOL(Send(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text))) : FALSE;
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check) {
  RecordItem("CheckDlgButton", dialog, id, std::intptr_t(check), 0, "");
  HWND item = DlgItem(dialog, id);
  if (!item) return FALSE;
  Send(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id) {
  HWND item = DlgItem(dialog, id);
  return item ? UINT(Send(item, BM_GETCHECK, 0, 0)) : 0;
}
