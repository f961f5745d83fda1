// The window manager's own semantics, as Win32 documents them: handles of destroyed windows,
// size messages, destruction order, the queue's order, painting, dialogs and menus.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "resource.h"
#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/msgbox.h"
#include "winapi/driver/session.h"

namespace {

// Every message the test windows get, and what a test wants them to do on the way.
std::vector<MSG> g_seen;
std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool&)> g_react;

LRESULT CALLBACK TestProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_seen.push_back({window, message, wParam, lParam, 0, {}});
  bool handled = false;
  if (g_react) {
    LRESULT result = g_react(window, message, wParam, lParam, handled);
    if (handled) return result;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass() {
  static const bool registered = testsupport::RegisterPlainClass("TestWindow", TestProc);
  ASSERT_TRUE(registered);
}

HWND Make(DWORD style, int x, int y, int width, int height, HWND parent = nullptr) {
  return CreateWindowExA(0, "testwindow", "", style, x, y, width, height, parent, nullptr,
                         nullptr, nullptr);
}

std::vector<MSG> Only(std::initializer_list<UINT> messages) {
  std::vector<MSG> out;
  for (const MSG& s : g_seen)
    for (UINT m : messages)
      if (s.message == m) out.push_back(s);
  return out;
}

// The messages of interest must be `want`, message for message.
void ExpectSequence(const std::vector<testsupport::Row>& want, const std::vector<MSG>& seen) {
  ASSERT_TRUE(testsupport::SameSequence(want, testsupport::AsCalls(seen)));
}

class Windows : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClass();
    g_seen.clear();
    g_react = nullptr;
  }
};

TEST_F(Windows, HandleOfADestroyedWindowFailsInEveryCall) {
  HWND gone = Make(WS_POPUP, 0, 0, 50, 40);
  ASSERT_TRUE(DestroyWindow(gone));
  HWND reused = Make(WS_POPUP | WS_VISIBLE, 0, 0, 50, 40);  // takes the freed slot
  ASSERT_NE(reused, gone);
  g_seen.clear();

  RECT r = {1, 2, 3, 4};
  MSG msg;
  EXPECT_FALSE(IsWindow(gone));
  EXPECT_FALSE(ShowWindow(gone, SW_HIDE));
  EXPECT_FALSE(SetWindowPos(gone, HWND_TOP, 0, 0, 10, 10, 0));
  EXPECT_FALSE(GetClientRect(gone, &r));
  EXPECT_FALSE(GetWindowRect(gone, &r));
  EXPECT_FALSE(UpdateWindow(gone));
  EXPECT_FALSE(InvalidateRect(gone, nullptr, TRUE));
  EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
  EXPECT_EQ(SendMessageA(gone, WM_USER, 0, 0), 0);
  EXPECT_EQ(SetFocus(gone), nullptr);
  EXPECT_EQ(GetParent(gone), nullptr);
  EXPECT_FALSE(IsWindowVisible(gone));
  EXPECT_FALSE(DestroyWindow(gone));
  EXPECT_EQ(GetDC(gone), nullptr);
  EXPECT_EQ(GetMessageA(&msg, gone, 0, 0), -1);
  EXPECT_EQ(r.left, 1) << "a failing call leaves its output alone";

  EXPECT_TRUE(g_seen.empty()) << "no call on the stale handle reached the new window";
  EXPECT_TRUE(IsWindowVisible(reused));
  EXPECT_TRUE(GetClientRect(reused, &r));
  EXPECT_EQ(r.right, 50);
}

TEST_F(Windows, SizeChangesSendNestedSizeMessagesAndNoChangeSendsNothing) {
  HWND w = Make(WS_POPUP, 10, 10, 200, 100);
  // Like a window that enforces a minimum: too small a client area forces 300 x 150.
  int depth = 0, deepest = 0;
  g_react = [&](HWND window, UINT message, WPARAM, LPARAM lParam, bool&) -> LRESULT {
    if (message != WM_SIZE) return 0;
    deepest = std::max(deepest, ++depth);
    if (LOWORD(lParam) < 300) SetWindowPos(window, HWND_TOP, 10, 10, 300, 150, SWP_SHOWWINDOW);
    --depth;
    return 0;
  };

  ASSERT_TRUE(SetWindowPos(w, HWND_TOP, 0, 0, 250, 120, SWP_NOMOVE));
  ExpectSequence({{WM_SIZE, w, {}, MAKELPARAM(250, 120)}, {WM_SIZE, w, {}, MAKELPARAM(300, 150)}},
                 Only({WM_SIZE}));
  EXPECT_EQ(deepest, 2) << "the forced size arrived before the outer SetWindowPos returned";
  EXPECT_TRUE(IsWindowVisible(w));

  g_seen.clear();
  SetWindowPos(w, HWND_TOP, 10, 10, 300, 150, SWP_SHOWWINDOW);  // same place, same size
  SetWindowPos(w, HWND_TOP, 40, 50, 0, 0, SWP_NOSIZE);          // a move alone
  EXPECT_TRUE(g_seen.empty());
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 40);
  EXPECT_EQ(r.bottom, 200);
}

TEST_F(Windows, FirstShowSizesAHiddenWindowAndEveryShowInvalidatesIt) {
  HWND w = Make(WS_POPUP, 0, 0, 80, 60);
  EXPECT_TRUE(Only({WM_SIZE}).empty()) << "creation sends no size message";
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "a hidden window is not painted";

  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  ExpectSequence({{WM_SIZE, w, {}, MAKELPARAM(80, 60)}}, Only({WM_SIZE}));
  EXPECT_TRUE(ShowWindow(w, SW_HIDE));
  EXPECT_FALSE(ShowWindow(w, SW_SHOW));
  EXPECT_EQ(Only({WM_SIZE}).size(), 1u) << "only the first show sizes";

  g_seen.clear();
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_PAINT));
  DispatchMessageA(&msg);  // the default procedure validates
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  UpdateWindow(w);  // nothing is invalid: nothing is painted
  InvalidateRect(w, nullptr, TRUE);
  UpdateWindow(w);
  UpdateWindow(w);
  ExpectSequence({{WM_PAINT, w}, {WM_ERASEBKGND, w}, {WM_PAINT, w}, {WM_ERASEBKGND, w}},
                 Only({WM_PAINT, WM_ERASEBKGND}));
}

TEST_F(Windows, DestroyGoesParentFirstAndTakesQueuedMessagesAlong) {
  HWND parent = Make(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
  HWND first = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
  HWND second = Make(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, parent);
  HWND grandchild = Make(WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, first);
  HWND other = Make(WS_POPUP, 0, 0, 10, 10);
  PostMessageA(second, WM_USER, 1, 0);
  PostMessageA(other, WM_USER, 2, 0);
  PostMessageA(parent, WM_USER, 3, 0);
  // Destroying a child from the parent's WM_DESTROY, as a main window destroys its toolbar.
  g_react = [&](HWND window, UINT message, WPARAM, LPARAM, bool&) -> LRESULT {
    if (window == parent && message == WM_DESTROY) {
      EXPECT_TRUE(DestroyWindow(second));
    }
    if (message == WM_DESTROY) {
      EXPECT_TRUE(IsWindow(window)) << "alive while told";
    }
    return 0;
  };
  g_seen.clear();

  ASSERT_TRUE(DestroyWindow(parent));
  ExpectSequence({{WM_DESTROY, parent}, {WM_DESTROY, first}, {WM_DESTROY, grandchild},
                  {WM_DESTROY, second}},
                 Only({WM_DESTROY}));
  for (HWND w : {parent, first, second, grandchild}) EXPECT_FALSE(IsWindow(w));
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, other);
  EXPECT_EQ(msg.wParam, 2u);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "the others' messages are gone";
}

TEST_F(Windows, AWindowDestroyedInItsOwnCreationIsNotCreated) {
  HWND seenInCreate = nullptr;
  g_react = [&](HWND window, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
    if (message != WM_CREATE) return 0;
    seenInCreate = window;
    DestroyWindow(window);
    handled = true;
    return 0;
  };
  EXPECT_EQ(Make(WS_POPUP, 0, 0, 10, 10), nullptr);
  EXPECT_FALSE(IsWindow(seenInCreate));
  ExpectSequence({{WM_CREATE, seenInCreate}, {WM_DESTROY, seenInCreate}},
                 Only({WM_CREATE, WM_DESTROY}));

  g_seen.clear();
  g_react = [&](HWND window, UINT message, WPARAM, LPARAM, bool& handled) -> LRESULT {
    seenInCreate = window;
    handled = message == WM_CREATE;
    return -1;  // refuses to be created
  };
  EXPECT_EQ(Make(WS_POPUP, 0, 0, 10, 10), nullptr);
  EXPECT_FALSE(IsWindow(seenInCreate));
  ExpectSequence({{WM_CREATE, seenInCreate}, {WM_DESTROY, seenInCreate}},
                 Only({WM_CREATE, WM_DESTROY}));
}

TEST_F(Windows, QueueGivesPostedThenQuitThenPaintOneAtATime) {
  HWND w = Make(WS_POPUP | WS_VISIBLE, 0, 0, 30, 30);  // invalid from its show
  PostMessageA(w, WM_USER + 1, 0, 0);
  PostMessageA(w, WM_USER + 2, 0, 0);
  PostQuitMessage(7);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, UINT(WM_USER + 1));
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, UINT(WM_USER + 2));
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), 0);
  EXPECT_EQ(msg.message, UINT(WM_QUIT));
  EXPECT_EQ(msg.wParam, 7u);
  ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), 1);
  EXPECT_EQ(msg.message, UINT(WM_PAINT));
  EXPECT_EQ(msg.hwnd, w);
  DispatchMessageA(&msg);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

// ---- Dialogs, controls, menus -----------------------------------------------------------------

std::vector<int> g_commands;  // WM_COMMAND ids a test dialog got
std::function<void(HWND, int)> g_onCommand;

INT_PTR CALLBACK TestDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_COMMAND) return FALSE;
  g_commands.push_back(LOWORD(wParam));
  if (g_onCommand) g_onCommand(dialog, LOWORD(wParam));
  return TRUE;
}

// The main loop of a program whose dialog gets keyboard handling.
void Pump(HWND dialog) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    if (!IsDialogMessageA(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
}

HINSTANCE Program() { return GetModuleHandleA(nullptr); }

class Dialogs : public Windows {
 protected:
  void SetUp() override {
    Windows::SetUp();
    g_commands.clear();
    g_onCommand = nullptr;
    owner = Make(WS_POPUP | WS_VISIBLE, 100, 100, 400, 300);
  }
  HWND owner = nullptr;
};

// The toolbar panel's template, which has no default button: the focus the panel hands to its
// first tab stop does not make "Messen" the default, so Enter sends IDOK; a push button Tab
// moves the focus to is the default while it has it; Escape sends IDCANCEL.
TEST_F(Dialogs, EnterTabAndEscapeInTheToolbarPanel) {
  HWND panel = CreateDialogParamA(Program(), MAKEINTRESOURCEA(IDD_TOOLBAR), owner, TestDlgProc, 0);
  ASSERT_NE(panel, nullptr);
  ShowWindow(panel, SW_SHOW);
  SetFocus(panel);
  HWND messen = GetDlgItem(panel, IDC_MESSEN), toggle = GetDlgItem(panel, IDC_TOGGLE_PLOTTER);
  EXPECT_EQ(GetFocus(), messen) << "a dialog hands the focus to its first tab stop";
  struct Step {
    int key;
    std::vector<int> commands;
    HWND focus;
  } steps[] = {
      {VK_RETURN, {IDOK}, messen},
      {VK_TAB, {}, toggle},
      {VK_RETURN, {IDC_TOGGLE_PLOTTER}, toggle},
      {VK_TAB, {}, messen},
      {VK_RETURN, {IDC_MESSEN}, messen},
      {VK_ESCAPE, {IDCANCEL}, messen},
      {'5', {}, messen},  // a character key is left to the control
  };
  for (std::size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
    g_commands.clear();
    drv::PressKey(steps[i].key);
    Pump(panel);
    EXPECT_EQ(g_commands, steps[i].commands) << "step " << i;
    EXPECT_EQ(GetFocus(), steps[i].focus) << "step " << i;
  }
  MSG msg;
  PostMessageA(owner, WM_USER, 0, 0);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_FALSE(IsDialogMessageA(panel, &msg)) << "a message for another window is not the dialog's";
}

// A modal dialog disables its owner, dispatches messages while it runs, is ended by EndDialog
// (which only marks it) and returns its result; the close box reaches it as IDCANCEL.
TEST_F(Dialogs, ModalDialogDisablesItsOwnerAndDispatchesMeanwhile) {
  bool stillThere = false;
  g_onCommand = [&](HWND dialog, int id) {
    if (id != IDCANCEL) return;
    EndDialog(dialog, 42);
    stillThere = IsWindow(dialog) && IsWindowVisible(dialog);
  };
  HWND dialog = nullptr;
  drv::Script(drv::WhenIdle(), "while the dialog is open", [&] {
    dialog = drv::ActiveTopLevel();
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(drv::OwnerOf(dialog), owner);
    g_seen.clear();
    PostMessageA(owner, WM_USER, 7, 0);
    drv::CloseWindow(owner);  // lost: the owner is disabled
    drv::CloseWindow(dialog);
  });
  EXPECT_EQ(DialogBoxParamA(nullptr, "aboutbox", owner, TestDlgProc, 0), 42);
  EXPECT_EQ(g_commands, std::vector<int>{IDCANCEL});
  EXPECT_TRUE(stillThere) << "EndDialog only marks the dialog";
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_TRUE(IsWindowEnabled(owner));
  ExpectSequence({{WM_USER, owner}}, Only({WM_USER, WM_SYSCOMMAND, WM_CLOSE}));
  EXPECT_EQ(DialogBoxParamA(nullptr, "NoSuchDialog", owner, TestDlgProc, 0), -1);
}

// A message box is modal too: its owner's top-level window is disabled, messages go on being
// dispatched, and the user's answer (or Escape, or the prepared answer) is its result.
TEST_F(Dialogs, MessageBoxesAreModalAndAnsweredByTheUser) {
  HWND button = CreateWindowExA(0, "Button", "x", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, owner,
                                nullptr, nullptr, nullptr);
  drv::Script(drv::WhenMessageBox(), "answer Cancel", [&] {
    HWND box = drv::TopMessageBox();
    EXPECT_EQ(drv::OwnerOf(box), owner);
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(drv::WindowText(box), "Frage");
    g_seen.clear();
    PostMessageA(owner, WM_USER, 1, 0);
    drv::AnswerMessageBox(IDCANCEL);
  });
  EXPECT_EQ(MessageBoxA(button, "Weiter?", "Frage", MB_OKCANCEL | MB_ICONQUESTION), IDCANCEL);
  ExpectSequence({{WM_USER, owner}}, Only({WM_USER}));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(drv::TopMessageBox(), nullptr);

  drv::Script(drv::WhenMessageBox(), "Escape", [] { drv::PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageBoxA(nullptr, "Nur OK", "Hinweis", MB_OK), IDOK) << "Escape without Cancel";
  drv::AnswerMessageBoxes({IDCANCEL});
  EXPECT_EQ(MessageBoxA(owner, "Vorbereitet", "", MB_OKCANCEL), IDCANCEL) << "the prepared answer";
  EXPECT_EQ(MessageBoxA(owner, "Sonst OK", "", MB_OKCANCEL), IDOK);
}

// A message box records its text and caption in UTF-8 beside the owner as given, and takes the
// prepared answers in turn, then OK.
TEST(MessageBoxes, RecordTheirTextAndTakeThePreparedAnswers) {
  drv::AnswerMessageBoxes({IDCANCEL, 7});
  HWND owner = reinterpret_cast<HWND>(std::uintptr_t(0x1234));
  EXPECT_EQ(MessageBoxA(owner, "Ma\xDF: 5 \x80\nZeile", "T\xEAte", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "", "", 0), 7);
  EXPECT_EQ(MessageBoxA(nullptr, "", "", 0), IDOK);
  drv::Call box = drv::CallsTo("MessageBoxA")[0];
  EXPECT_EQ(box.text, "Maß: 5 €\nZeile\nTête");
  EXPECT_EQ(box.window, owner);
  EXPECT_EQ(box.Style(), MB_OKCANCEL);
}

// Clicking an auto radio button checks it and clears the others of its group only; setting a
// check by program sends nothing.
TEST_F(Dialogs, AutoRadioButtonsMoveTheCheckWithinTheirGroup) {
  auto radio = [&](int id, DWORD group) {
    return CreateWindowExA(0, "Button", "r", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON | group,
                           0, id * 20, 60, 18, owner, reinterpret_cast<HMENU>(std::intptr_t(id)),
                           nullptr, nullptr);
  };
  HWND r[4] = {radio(1, WS_GROUP), radio(2, 0), radio(3, WS_GROUP), radio(4, 0)};
  CheckDlgButton(owner, 1, BST_CHECKED);
  CheckDlgButton(owner, 4, BST_CHECKED);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  g_seen.clear();
  drv::Click(r[1]);
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  bool want[4] = {false, true, false, true};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(drv::IsChecked(owner, i + 1), want[i]) << "radio " << i + 1;
  std::vector<MSG> commands = Only({WM_COMMAND});
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, MAKEWPARAM(2, BN_CLICKED));
  EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(r[1]));
}

// The plot window's menu: enabled entries send their command, grayed ones nothing.
TEST_F(Dialogs, GrayedMenuEntriesSendNothing) {
  HWND plot = CreateDialogParamA(Program(), MAKEINTRESOURCEA(IDD_PLOTTER), nullptr, TestDlgProc, 0);
  ASSERT_NE(plot, nullptr);
  ShowWindow(plot, SW_SHOW);
  for (int id : {IDM_ZOOM_2, IDM_ZOOM_10, IDM_ZOOM_100, IDM_ZOOM_1, 12345}) {
    drv::ChooseMenu(plot, id);
    Pump(plot);
  }
  EXPECT_EQ(g_commands, (std::vector<int>{IDM_ZOOM_10, IDM_ZOOM_1}));
}

// WM_PAINT comes for a parent before its children, and never for a hidden window.
TEST_F(Windows, PaintGoesParentFirstAndOnlyToVisibleWindows) {
  HWND parent = Make(WS_POPUP, 0, 0, 100, 100);
  HWND first = Make(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent);
  HWND hidden = Make(WS_CHILD, 20, 0, 10, 10, parent);
  HWND last = Make(WS_CHILD | WS_VISIBLE, 40, 0, 10, 10, parent);
  ShowWindow(parent, SW_SHOW);
  g_seen.clear();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  ExpectSequence({{WM_PAINT, parent}, {WM_PAINT, first}, {WM_PAINT, last}}, Only({WM_PAINT}));
  (void)hidden;
}

// Field texts and numbers go through the Windows-1252 boundary and tell the dialog (EN_CHANGE);
// a digits-only field takes digits from the keyboard and nothing else.
TEST_F(Dialogs, FieldTextsNumbersAndTyping) {
  HWND panel = CreateDialogParamA(Program(), MAKEINTRESOURCEA(IDD_SATZZAHL), owner, TestDlgProc, 0);
  ASSERT_NE(panel, nullptr);
  ShowWindow(panel, SW_SHOW);
  struct Case {
    const char* what;
    std::function<BOOL()> set;
    std::string shown;  // UTF-8
  } cases[] = {
      {"text", [&] { return SetDlgItemTextA(panel, IDC_SATZZAHL, "Ma\xDF 4.095"); }, "Maß 4.095"},
      {"signed", [&] { return SetDlgItemInt(panel, IDC_SATZZAHL, UINT(-1), TRUE); }, "-1"},
      {"unsigned", [&] { return SetDlgItemInt(panel, IDC_SATZZAHL, UINT(-1), FALSE); }, "4294967295"},
      {"zero", [&] { return SetDlgItemInt(panel, IDC_SATZZAHL, 0, TRUE); }, "0"},
  };
  for (const Case& c : cases) {
    g_commands.clear();
    EXPECT_TRUE(c.set()) << c.what;
    EXPECT_EQ(drv::ItemText(panel, IDC_SATZZAHL), c.shown) << c.what;
    EXPECT_EQ(g_commands, std::vector<int>{IDC_SATZZAHL}) << c.what << ": EN_CHANGE";
  }
  SetDlgItemTextA(panel, IDC_SATZZAHL, "Ma\xDF");
  char text[8] = "xxxxxxx";
  EXPECT_EQ(GetDlgItemTextA(panel, IDC_SATZZAHL, text, 3), 2u);
  EXPECT_STREQ(text, "Ma") << "cut to the buffer, terminated";
  EXPECT_EQ(GetDlgItemTextA(panel, IDC_SATZZAHL, text, 8), 3u);
  EXPECT_STREQ(text, "Ma\xDF") << "Windows-1252 again";
  EXPECT_FALSE(SetDlgItemTextA(panel, 999, "x")) << "no such control";
  EXPECT_EQ(GetDlgItemTextA(panel, 999, text, 8), 0u);
  EXPECT_STREQ(text, "");

  SetDlgItemTextA(panel, IDC_SATZZAHL, "1");
  drv::Click(GetDlgItem(panel, IDC_SATZZAHL));  // the field takes the focus
  for (int key : {int('2'), int('A'), VK_SPACE, int('3')}) drv::PressKey(key);
  Pump(panel);
  EXPECT_EQ(drv::ItemText(panel, IDC_SATZZAHL), "123");
}

// The minimise box sends WM_SIZE with an empty client area; a move or size while minimised
// waits for the restore, which reports the new size. The close box closes: WM_CLOSE, then the
// default procedure destroys.
TEST_F(Windows, MinimiseAndCloseBoxes) {
  HWND w = Make(WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 150);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 200 - 8) << "sizing frame 4 on each side";
  EXPECT_EQ(client.bottom, 150 - 8 - 19) << "and the caption";
  g_seen.clear();
  drv::MinimiseWindow(w);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  ExpectSequence({{WM_SIZE, w, SIZE_MINIMIZED, MAKELPARAM(0, 0)}}, Only({WM_SIZE}));
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 0);

  g_seen.clear();
  SetWindowPos(w, HWND_TOP, 10, 10, 600, 400, SWP_SHOWWINDOW);
  EXPECT_TRUE(Only({WM_SIZE}).empty()) << "still minimised: no new client size";
  ShowWindow(w, SW_RESTORE);
  ExpectSequence({{WM_SIZE, w, {}, MAKELPARAM(600 - 8, 400 - 8 - 19)}}, Only({WM_SIZE}));

  g_seen.clear();
  drv::CloseWindow(w);
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  ExpectSequence({{WM_SYSCOMMAND, w}, {WM_CLOSE, w}, {WM_DESTROY, w}},
                 Only({WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY}));
  EXPECT_FALSE(IsWindow(w));
}

// A read that would have to wait while nothing scripted can come ends the process at once,
// naming the action that was waiting for its moment.
TEST_F(Windows, AReadThatWouldWaitForEverEndsTheProcess) {
  drv::Script(drv::WhenMessageBox(), "answer a box that never opens", [] {});
  MSG msg;
  EXPECT_EXIT(GetMessageA(&msg, nullptr, 0, 0), ::testing::ExitedWithCode(1),
              "answer a box that never opens");
}

}  // namespace
