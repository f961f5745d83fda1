// The application shell driven as its user would: start-up with and without a module, the main
// menu, the About box, help, the panels and their procedure, and the end of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pikon.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

// One expected platform call; `text` is compared only where given.
struct Row {
  Row(std::string f, HWND w, std::intptr_t first = 0, std::intptr_t second = 0,
      std::string t = "")
      : fn(std::move(f)), window(w), a(first), b(second), text(std::move(t)) {}
  std::string fn;
  HWND window;
  std::intptr_t a, b;
  std::string text;
};

std::string Show(const drv::Call& c) {
  return c.fn + "(window " + std::to_string(reinterpret_cast<std::uintptr_t>(c.window)) + ", " +
         std::to_string(c.a) + ", " + std::to_string(c.b) + ", \"" + c.text + "\")";
}

// The calls to the functions named in `want`, from ledger entry `from` on, must be `want`
// exactly; reports the first difference and its index.
void ExpectCalls(const std::vector<Row>& want, std::size_t from = 0) {
  std::vector<std::string> names;
  for (const Row& r : want) names.push_back(r.fn);
  std::vector<drv::Call> got;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    for (const std::string& n : names)
      if (ledger[i].fn == n) {
        got.push_back(ledger[i]);
        break;
      }
  for (std::size_t i = 0; i < want.size() || i < got.size(); ++i) {
    if (i >= got.size()) return ADD_FAILURE() << "call " << i << " missing: " << want[i].fn;
    if (i >= want.size()) return ADD_FAILURE() << "extra call " << i << ": " << Show(got[i]);
    const Row& w = want[i];
    bool same = got[i].fn == w.fn && got[i].window == w.window && got[i].a == w.a &&
                got[i].b == w.b && (w.text.empty() || got[i].text == w.text);
    if (!same) return ADD_FAILURE() << "call " << i << ": expected " << w.fn << ", got " << Show(got[i]);
  }
}

HWND MainWindow() { return drv::FindTopLevel("myWindowClass"); }

// Ends the program the way its user does, with the close box.
void ScriptClose() {
  drv::Script(drv::WhenIdle(), "close the main window", [] { drv::CloseWindow(MainWindow()); });
}

TEST(Shell, StartsWithTheModuleOnCom2) {
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::PlugPort(2, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "look at the started program", [] {
    HWND main = MainWindow();
    ASSERT_NE(main, nullptr);
    ExpectCalls({
        {"RegisterClassExA", nullptr, 0, 0, "myWindowClass"},
        {"CreateWindowExA", nullptr, WS_SYSMENU | WS_MINIMIZEBOX, WS_EX_CLIENTEDGE,
         "myWindowClass\nPIKON"},
        {"CreateDialogParamA", main, 100},
        {"ShowWindow", g_hToolbar, SW_SHOW},
        {"CreateDialogParamA", main, 200},
        {"ShowWindow", Anzeigefenster, SW_SHOW},
        {"CreateDialogParamA", main, 300},
        {"ShowWindow", SatzZahl, SW_SHOW},
        {"CreateDialogParamA", main, 400},
        {"ShowWindow", StopBox, SW_SHOW},
        {"CreateDialogParamA", main, 500},
        {"ShowWindow", ComPort, SW_SHOW},
        {"CheckDlgButton", ComPort, IDC_COM2, BST_CHECKED},
        {"CheckDlgButton", ComPort, IDC_COM1, BST_UNCHECKED},
        {"CheckDlgButton", ComPort, IDC_COM3, BST_UNCHECKED},
        {"CheckDlgButton", ComPort, IDC_COM4, BST_UNCHECKED},
        {"SetFocus", g_hToolbar},
        {"ShowWindow", main, SW_SHOWNORMAL},
        {"UpdateWindow", main},
    });
    EXPECT_EQ(ComNr, 2);
    for (int id : {IDC_COM1, IDC_COM2, IDC_COM3, IDC_COM4})
      EXPECT_EQ(drv::IsChecked(ComPort, id), id == IDC_COM2) << "button " << id;
    EXPECT_EQ(GetParent(GetFocus()), g_hToolbar) << "the focus is in the toolbar panel";

    RECT outer = drv::WindowRectOf(main), client;
    GetClientRect(main, &client);
    EXPECT_EQ(outer.right - outer.left, 301);
    EXPECT_EQ(outer.bottom - outer.top, 322);
    EXPECT_EQ(client.right, 291) << "frame 3 and client edge 2 on each side";
    EXPECT_EQ(client.bottom, 275) << "caption 18, menu bar 19, frame 3, client edge 2";

    // Client areas in the main window's client coordinates: the templates' dialog units in
    // pixels (x * 6 / 4, y * 13 / 8, rounded), each inside the main window's client area.
    struct Panel {
      const char* what;
      HWND window;
      RECT area;
    } panels[] = {
        {"port indicator (500)", ComPort, {0, 0, 285, 18}},
        {"channel values (200)", Anzeigefenster, {0, 24, 285, 122}},
        {"stop button (400)", StopBox, {0, 128, 141, 182}},
        {"record count (300)", SatzZahl, {147, 128, 285, 182}},
        {"toolbar (100)", g_hToolbar, {0, 187, 285, 268}},
    };
    for (const Panel& p : panels) {
      RECT got = drv::ClientAreaOf(p.window), frame = drv::WindowRectOf(p.window);
      EXPECT_TRUE(got.left == p.area.left && got.top == p.area.top && got.right == p.area.right &&
                  got.bottom == p.area.bottom)
          << p.what << ": (" << got.left << ", " << got.top << ")-(" << got.right << ", "
          << got.bottom << ")";
      EXPECT_EQ(got.left - frame.left, 3) << p.what << ": raised dialog frame";
      EXPECT_LE(frame.right, client.right) << p.what;
      EXPECT_LE(frame.bottom, client.bottom) << p.what;
      EXPECT_TRUE(IsWindowVisible(p.window)) << p.what;
    }
  });
  ScriptClose();
  EXPECT_EQ(drv::RunWinMain(), 0);
  EXPECT_EQ(drv::PendingActions(), 0u);
}

TEST(Shell, ClickingAnotherPortButtonMovesOnlyItsCheck) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::PlugPort(3, drv::PortKind::Empty);
  drv::SetSignal(1, 1, drv::Constant(1234));
  std::size_t before = 0;
  HANDLE port = nullptr;
  drv::Script(drv::WhenIdle(), "click COM 3", [&] {
    before = drv::Ledger().size();
    port = hCom;
    drv::ClickItem(ComPort, IDC_COM3);
  });
  drv::Script(drv::WhenIdle(), "look, then convert channel 1", [&] {
    for (int id : {IDC_COM1, IDC_COM2, IDC_COM3, IDC_COM4})
      EXPECT_EQ(drv::IsChecked(ComPort, id), id == IDC_COM3) << "button " << id;
    for (std::size_t i = before; i < drv::Ledger().size(); ++i)
      ADD_FAILURE() << "the click made the program call " << Show(drv::Ledger()[i]);
    EXPECT_EQ(ComNr, 1);
    EXPECT_EQ(hCom, port);

    const int kanal1[8] = {1, 0, 0, 0, 1, 1, 1, 0};  // start, channel 1, unipolar, single-ended
    for (int i = 0; i < 8; ++i) inbin[i] = kanal1[i];
    std::uint64_t conversions = drv::Conversions(1, 1);
    wandeln();
    EXPECT_EQ(Wert, 1234.0f);
    EXPECT_EQ(drv::Conversions(1, 1), conversions + 1) << "the conversion went to COM1";
    for (std::size_t i = before; i < drv::Ledger().size(); ++i)
      EXPECT_NE(drv::Ledger()[i].fn, "CreateFileA") << "no other port is opened";
    drv::CloseWindow(MainWindow());
  });
  EXPECT_EQ(drv::RunWinMain(), 0);
}

TEST(Shell, WithoutAModuleSaysSoOwnedByTheMainWindowAndEnds) {
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::PlugPort(4, drv::PortKind::Busy);
  HWND main = nullptr;
  std::size_t boxAt = 0;
  drv::Script(drv::WhenMessageBox(), "look at the message, then OK", [&] {
    main = MainWindow();
    EXPECT_EQ(drv::OwnerOf(drv::TopMessageBox()), main);
    EXPECT_FALSE(IsWindowEnabled(main)) << "its owner is disabled while it is open";
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window was never shown";
    boxAt = drv::Ledger().size() - 1;
    drv::AnswerMessageBox(IDOK);
  });
  EXPECT_EQ(drv::RunWinMain(), 0);
  EXPECT_EQ(drv::PendingActions(), 0u);
  EXPECT_EQ(ComNr, 5);
  ExpectCalls(
      {
          {"MessageBoxA", main, 0, MB_ICONHAND | MB_OK,
           "KMX12 nicht gefunden!\nBitte Modul anschließen\nund Anwendung erneut starten.\n"
           "ZEQ-Info"},
          {"DestroyWindow", main},
          {"DestroyWindow", g_hToolbar},
          {"PostQuitMessage", nullptr, 0},
          {"SetFocus", g_hToolbar},
      },
      boxAt);
  // Nothing more is shown: no other message, no window shown, nothing created.
  EXPECT_EQ(drv::CountOf("MessageBoxA"), 1u);
  for (const drv::Call& c : drv::CallsTo("ShowWindow")) EXPECT_NE(c.window, main);
  for (const char* fn : {"UpdateWindow", "DialogBoxParamA"}) EXPECT_EQ(drv::CountOf(fn), 0u) << fn;
  EXPECT_FALSE(IsWindow(main));
}

// "&Beenden" posts the close message; the close message destroys the main window; its destroy
// message destroys the toolbar panel and posts the quit message; WinMain returns its code, 0.
void ExpectEndBy(void (*gesture)(HWND main), bool postsClose) {
  drv::PlugPort(1, drv::PortKind::Module);
  HWND main = nullptr;
  std::size_t from = 0;
  drv::Script(drv::WhenIdle(), "end the program", [&] {
    main = MainWindow();
    from = drv::Ledger().size();
    exeparam = 1;  // as if a run were going on: ending clears the flag
    gesture(main);
  });
  EXPECT_EQ(drv::RunWinMain(), 0);
  std::vector<Row> want = {{"DestroyWindow", main}, {"DestroyWindow", g_hToolbar},
                           {"PostQuitMessage", nullptr, 0}};
  if (postsClose) want.insert(want.begin(), Row{"PostMessageA", main, WM_CLOSE, 0});
  ExpectCalls(want, from);
  EXPECT_EQ(exeparam, 0);
  EXPECT_FALSE(IsWindow(main));
  EXPECT_FALSE(IsWindow(ComPort)) << "the panels go with their parent";
}

TEST(Shell, BeendenPostsTheCloseThatEndsTheProgram) {
  ExpectEndBy([](HWND main) { drv::ChooseMenu(main, IDM_BEENDEN); }, true);
}

TEST(Shell, TheCloseBoxEndsTheProgram) {
  ExpectEndBy([](HWND main) { drv::CloseWindow(main); }, false);
}

}  // namespace

namespace {

// The main window as the screen shows it. With PIKON_SNAPSHOTS set, the picture is saved there.
TEST(Shell, MainWindowPicture) {
  drv::PlugPort(3, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "take the picture", [] {
    HWND main = MainWindow();
    if (const char* dir = std::getenv("PIKON_SNAPSHOTS")) {
      EXPECT_TRUE(drv::SaveWindowPng(main, std::string(dir) + "/main_window.png"));
    }
    drv::CloseWindow(main);
  });
  EXPECT_EQ(drv::RunWinMain(), 0);
}

}  // namespace
