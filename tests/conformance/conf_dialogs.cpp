// Dialog controls, dialog keyboard handling, modal loops and message boxes.
#include <cstring>

#include "conformance_ids.h"
#include "harness.h"
#include "resource.h"
#include "support.h"

namespace {

int g_commands[8];
int g_commandCount = 0;

INT_PTR CALLBACK KeysProc(HWND, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && g_commandCount < 8)
    g_commands[g_commandCount++] = LOWORD(wParam);
  return message == WM_COMMAND;
}

HWND KeysDialog() {
  g_commandCount = 0;
  HWND d = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONF_KEYS), nullptr,
                              KeysProc, 0);
  ShowWindow(d, SW_SHOW);
  UpdateWindow(d);
  pump();
  g_commandCount = 0;
  return d;
}

// A key as the message loop hands it to IsDialogMessageA: to the focus window.
BOOL Key(HWND dialog, int key) {
  MSG msg{};
  msg.hwnd = GetFocus();
  msg.message = WM_KEYDOWN;
  msg.wParam = WPARAM(key);
  BOOL taken = IsDialogMessageA(dialog, &msg);
  msg.message = WM_KEYUP;
  IsDialogMessageA(dialog, &msg);
  return taken;
}

}  // namespace

CONF_CASE(dlgitems, text) {
  HWND d = KeysDialog();
  ok(SetDlgItemTextA(d, IDC_CONF_EDIT, "1.234") != FALSE, "SetDlgItemTextA failed");
  char text[32] = "";
  UINT n = GetDlgItemTextA(d, IDC_CONF_EDIT, text, sizeof text);
  ok(n == 5 && std::strcmp(text, "1.234") == 0, "read back %u \"%s\"", n, text);
  ok(SetDlgItemTextA(d, 4711, "x") == FALSE, "a missing item took text");
  DestroyWindow(d);
}

CONF_CASE(dlgitems, int_signed_and_unsigned) {
  HWND d = KeysDialog();
  char text[32] = "";
  SetDlgItemInt(d, IDC_CONF_EDIT, UINT(-5), TRUE);
  GetDlgItemTextA(d, IDC_CONF_EDIT, text, sizeof text);
  ok(std::strcmp(text, "-5") == 0, "signed -5 shows \"%s\"", text);
  SetDlgItemInt(d, IDC_CONF_EDIT, UINT(-5), FALSE);
  GetDlgItemTextA(d, IDC_CONF_EDIT, text, sizeof text);
  ok(std::strcmp(text, "4294967291") == 0, "unsigned -5 shows \"%s\"", text);
  SetDlgItemInt(d, IDC_CONF_EDIT, 0, TRUE);
  GetDlgItemTextA(d, IDC_CONF_EDIT, text, sizeof text);
  ok(std::strcmp(text, "0") == 0, "0 shows \"%s\"", text);
  DestroyWindow(d);
}

CONF_CASE(dlgitems, check_buttons) {
  HWND d = KeysDialog();
  ok(IsDlgButtonChecked(d, IDC_CONF_RADIO_A) == BST_UNCHECKED, "checked at start");
  CheckDlgButton(d, IDC_CONF_RADIO_A, BST_CHECKED);
  ok(IsDlgButtonChecked(d, IDC_CONF_RADIO_A) == BST_CHECKED, "not checked");
  CheckDlgButton(d, IDC_CONF_RADIO_B, BST_CHECKED);
  ok(IsDlgButtonChecked(d, IDC_CONF_RADIO_A) == BST_CHECKED,
     "CheckDlgButton is no click: it leaves the group's other button alone");
  SendMessageA(GetDlgItem(d, IDC_CONF_RADIO_A), BM_CLICK, 0, 0);
  ok(IsDlgButtonChecked(d, IDC_CONF_RADIO_A) == BST_CHECKED &&
         IsDlgButtonChecked(d, IDC_CONF_RADIO_B) == BST_UNCHECKED,
     "a click on an auto radio button moves the check within its group");
  ok(g_commandCount == 1 && g_commands[0] == IDC_CONF_RADIO_A, "%d notifications",
     g_commandCount);
  DestroyWindow(d);
}

CONF_CASE(dlgkeys, tab_moves_between_tab_stops) {
  HWND d = KeysDialog();
  SetFocus(GetDlgItem(d, IDC_CONF_EDIT));
  ok(Key(d, VK_TAB) != FALSE, "Tab not taken");
  ok(GetFocus() == GetDlgItem(d, IDOK), "Tab from the field: focus on %p", (void*)GetFocus());
  Key(d, VK_TAB);
  ok(GetFocus() == GetDlgItem(d, IDC_CONF_OTHER), "then %p", (void*)GetFocus());
  Key(d, VK_TAB);
  ok(GetFocus() == GetDlgItem(d, IDCANCEL), "the button without tab stop is skipped");
  Key(d, VK_TAB);
  ok(GetFocus() == GetDlgItem(d, IDC_CONF_EDIT),
     "Tab wraps round to the first, past controls without tab stop");
  ok(g_commandCount == 0, "Tab sent %d commands", g_commandCount);
  DestroyWindow(d);
}

CONF_CASE(dlgkeys, enter_presses_default) {
  HWND d = KeysDialog();
  SetFocus(GetDlgItem(d, IDC_CONF_EDIT));
  ok(Key(d, VK_RETURN) != FALSE, "Enter not taken");
  ok(g_commandCount == 1 && g_commands[0] == IDOK, "Enter in the field: %d commands, first %d",
     g_commandCount, g_commands[0]);
  DestroyWindow(d);
}

// Tabbing onto a push button makes it the default one for the time it has the focus.
CONF_CASE(dlgkeys, enter_on_tabbed_button) {
  HWND d = KeysDialog();
  SetFocus(GetDlgItem(d, IDOK));
  Key(d, VK_TAB);
  ok(GetFocus() == GetDlgItem(d, IDC_CONF_OTHER), "Tab did not reach the button");
  Key(d, VK_RETURN);
  ok(g_commandCount == 1 && g_commands[0] == IDC_CONF_OTHER,
     "Enter on a push button tabbed to: %d commands, first %d", g_commandCount, g_commands[0]);
  DestroyWindow(d);
}

// SetFocus alone does not make a push button the default: Enter still presses the default one.
CONF_CASE(dlgkeys, enter_after_setfocus_on_button) {
  HWND d = KeysDialog();
  SetFocus(GetDlgItem(d, IDC_CONF_OTHER));
  Key(d, VK_RETURN);
  ok(g_commandCount == 1 && g_commands[0] == IDOK,
     "Enter on a push button given the focus by SetFocus: %d commands, first %d",
     g_commandCount, g_commands[0]);
  DestroyWindow(d);
}

// The program's toolbar panel has no default button: when it takes the focus, its first button
// gets it, and Enter presses nothing but IDOK, which the panel leaves alone.
CONF_CASE(dlgkeys, toolbar_panel_enter_at_start) {
  HWND parent = logged_window(0, WS_OVERLAPPEDWINDOW, 10, 10, 400, 300);
  g_commandCount = 0;
  HWND panel = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TOOLBAR),
                                  parent, KeysProc, 0);
  ShowWindow(panel, SW_SHOW);
  SetFocus(panel);
  ok(GetFocus() == GetDlgItem(panel, IDC_MESSEN), "focus on %p, not on \"Messen\"",
     (void*)GetFocus());
  Key(panel, VK_RETURN);
  ok(g_commandCount == 1 && g_commands[0] == IDOK, "Enter: %d commands, first %d",
     g_commandCount, g_commands[0]);
  Key(panel, VK_TAB);
  Key(panel, VK_RETURN);
  ok(g_commandCount == 2 && g_commands[1] == IDC_TOGGLE_PLOTTER, "Tab, Enter: %d, then %d",
     g_commandCount, g_commands[1]);
  DestroyWindow(parent);
}

CONF_CASE(dlgkeys, escape_is_cancel) {
  HWND d = KeysDialog();
  SetFocus(GetDlgItem(d, IDC_CONF_EDIT));
  ok(Key(d, VK_ESCAPE) != FALSE, "Escape not taken");
  ok(g_commandCount == 1 && g_commands[0] == IDCANCEL, "%d commands, first %d", g_commandCount,
     g_commands[0]);
  DestroyWindow(d);
}

CONF_CASE(dlgkeys, other_dialogs_keys_untouched) {
  HWND d = KeysDialog();
  HWND w = logged_window(0, WS_OVERLAPPEDWINDOW, 300, 300, 200, 150);
  MSG msg{};
  msg.hwnd = w;
  msg.message = WM_KEYDOWN;
  msg.wParam = VK_RETURN;
  ok(IsDialogMessageA(d, &msg) == FALSE, "a key of another window was taken");
  ok(g_commandCount == 0, "%d commands", g_commandCount);
  DestroyWindow(w);
  DestroyWindow(d);
}

namespace {

struct ModalSeen {
  HWND owner = nullptr, other = nullptr;
  BOOL ownerEnabled = TRUE, otherEnabled = FALSE;
  HWND box = nullptr;
  RECT boxRect{}, okRect{}, client{};
  bool okFound = false;
};

void EndBox(ModalSeen& seen) {
  seen.box = GetActiveWindow();
  GetWindowRect(seen.box, &seen.boxRect);
  GetClientRect(seen.box, &seen.client);
  HWND button = GetDlgItem(seen.box, IDOK);
  seen.okFound = button != nullptr;
  GetWindowRect(button, &seen.okRect);
  PostMessageA(seen.box, WM_COMMAND, IDOK, 0);
}

void LookThenEndBox(void* context) {
  ModalSeen& seen = *static_cast<ModalSeen*>(context);
  seen.ownerEnabled = seen.owner ? IsWindowEnabled(seen.owner) : TRUE;
  seen.otherEnabled = IsWindowEnabled(seen.other);
  EndBox(seen);
}

ModalSeen* g_dialogSeen = nullptr;

void LookThenEndDialog(void* context) {
  ModalSeen& seen = *static_cast<ModalSeen*>(context);
  seen.ownerEnabled = IsWindowEnabled(seen.owner);
  EndDialog(seen.box, 42);
}

INT_PTR CALLBACK ModalProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) {
    g_dialogSeen->box = dialog;
    post_in_loop(LookThenEndDialog, g_dialogSeen);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

CONF_CASE(modal, dialogbox_disables_owner) {
  ModalSeen seen;
  seen.owner = logged_window(0, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
  g_dialogSeen = &seen;
  INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_CONF_KEYS),
                                   seen.owner, ModalProc, 0);
  ok(result == 42, "DialogBoxParamA returned %d", int(result));
  ok(seen.ownerEnabled == FALSE, "the owner was enabled during the modal loop");
  ok(IsWindowEnabled(seen.owner) != FALSE, "the owner stays disabled");
  ok(!IsWindow(seen.box), "the dialog outlived its modal loop");
  DestroyWindow(seen.owner);
}

CONF_CASE(modal, messagebox_without_owner_disables_nothing) {
  ModalSeen seen;
  seen.other = logged_window(0, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
  post_in_loop(LookThenEndBox, &seen);
  int answer = MessageBoxA(nullptr, "Text", "Caption", MB_OK);
  ok(answer == IDOK, "answer %d", answer);
  ok(seen.otherEnabled != FALSE, "a box without owner disabled another window");
  ok(seen.okFound, "no OK button in the box");
  DestroyWindow(seen.other);
}

CONF_CASE(modal, messagebox_disables_owner) {
  ModalSeen seen;
  seen.owner = logged_window(0, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200);
  seen.other = seen.owner;
  post_in_loop(LookThenEndBox, &seen);
  MessageBoxA(seen.owner, "Text", "Caption", MB_OK | MB_ICONHAND);
  ok(seen.ownerEnabled == FALSE, "the owner was enabled while its box was open");
  ok(IsWindowEnabled(seen.owner) != FALSE, "the owner stays disabled");
  DestroyWindow(seen.owner);
}

// A message box is centred on the screen, not on its owner.
CONF_CASE(msgbox, centred_on_screen) {
  ModalSeen seen;
  seen.owner = logged_window(0, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
  seen.other = seen.owner;
  post_in_loop(LookThenEndBox, &seen);
  MessageBoxA(seen.owner, "Messung angehalten", "ZEQ-Info", MB_OK | MB_ICONASTERISK);
  int cx = (seen.boxRect.left + seen.boxRect.right) / 2;
  int cy = (seen.boxRect.top + seen.boxRect.bottom) / 2;
  int sx = GetSystemMetrics(SM_CXSCREEN) / 2, sy = GetSystemMetrics(SM_CYSCREEN) / 2;
  ok(cx >= sx - 1 && cx <= sx + 1 && cy >= sy - 1 && cy <= sy + 1,
     "box centre %d,%d, screen centre %d,%d", cx, cy, sx, sy);
  DestroyWindow(seen.owner);
}

// The layout: a caption, the button centred beneath the text, all within the screen.
CONF_CASE(msgbox, layout) {
  ModalSeen seen;
  seen.other = logged_window(0, WS_OVERLAPPEDWINDOW, 0, 0, 300, 200);
  post_in_loop(LookThenEndBox, &seen);
  MessageBoxA(nullptr, "KMX12 nicht gefunden!\nBitte Modul anschlie\xDF" "en\nund Anwendung erneut starten.",
              "ZEQ-Info", MB_OK | MB_ICONHAND);
  RECT b = seen.boxRect, o = seen.okRect;
  ok(b.left >= 0 && b.top >= 0 && b.right <= 1024 && b.bottom <= 768, "box off the screen");
  int boxMid = (b.left + b.right) / 2, okMid = (o.left + o.right) / 2;
  ok(okMid >= boxMid - 4 && okMid <= boxMid + 4, "OK centred at %d, box at %d", okMid, boxMid);
  ok(b.bottom - o.bottom > 4 && b.bottom - o.bottom < 30, "OK %d above the box's bottom",
     int(b.bottom - o.bottom));
  ok(height_of(b) - height_of(seen.client) >= 19 + 2, "no caption: outer %d, client %d",
     height_of(b), height_of(seen.client));
  DestroyWindow(seen.other);
}

namespace {

INT_PTR CALLBACK IconDlgProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

struct IconControls {
  HICON program, system;
  RECT programSize;
};

IconControls IconsOf(HINSTANCE instance) {
  IconControls seen{};
  HWND d = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CONF_ICON), nullptr, IconDlgProc, 0);
  ok(d != nullptr, "no dialog from the program's template with module %p", (void*)instance);
  HWND program = GetDlgItem(d, IDC_CONF_ICON);
  seen.program = reinterpret_cast<HICON>(SendMessageA(program, STM_GETICON, 0, 0));
  seen.system =
      reinterpret_cast<HICON>(SendMessageA(GetDlgItem(d, IDC_CONF_SYSICON), STM_GETICON, 0, 0));
  GetClientRect(program, &seen.programSize);
  DestroyWindow(d);
  return seen;
}

}  // namespace

// A dialog created with a null module still comes from the program's template, but its
// controls get the null instance, and an icon control then finds only the system's icons.
CONF_CASE(dialog_module, null_module_finds_only_system_icons) {
  IconControls seen = IconsOf(nullptr);
  ok(seen.program == nullptr, "a null instance loaded the program's icon");
  ok(width_of(seen.programSize) == 0, "the empty icon control is %d wide",
     width_of(seen.programSize));
  ok(seen.system != nullptr, "no system icon IDI_APPLICATION");
}

CONF_CASE(dialog_module, program_module_finds_its_icon) {
  IconControls seen = IconsOf(GetModuleHandleA(nullptr));
  ok(seen.program != nullptr, "the program's icon was not found");
  ok(width_of(seen.programSize) == 32 && height_of(seen.programSize) == 32, "icon control %d x %d",
     width_of(seen.programSize), height_of(seen.programSize));
  ok(seen.system != nullptr, "no system icon IDI_APPLICATION");
}

namespace {

int g_unknownInits = 0;

INT_PTR CALLBACK UnknownClassProc(HWND, UINT message, WPARAM, LPARAM) {
  if (message == WM_INITDIALOG) ++g_unknownInits;
  return FALSE;
}

}  // namespace

// A template naming a control class nobody registered fails the whole dialog: its controls are
// made before WM_INITDIALOG, and the one that cannot be made ends it there.
CONF_CASE(dialog_template, an_unregistered_control_class_fails_the_dialog) {
  HINSTANCE module = GetModuleHandleA(nullptr);
  HWND d = CreateDialogParamA(module, MAKEINTRESOURCEA(IDD_CONF_UNKNOWN), nullptr,
                              UnknownClassProc, 0);
  ok(d == nullptr, "CreateDialogParamA made %p", (void*)d);
  INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_CONF_UNKNOWN), nullptr,
                                   UnknownClassProc, 0);
  ok(result == -1, "DialogBoxParamA gave %ld", (long)result);
  ok(g_unknownInits == 0, "WM_INITDIALOG came %d times", g_unknownInits);
}
