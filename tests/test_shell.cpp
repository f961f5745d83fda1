// The application shell driven as its user would: start-up with and without a module, the main
// menu, the About box, help, the panels and their procedure, and the end of the program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "pikon.h"
#include "support.h"
#include "version.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"
#include "winapi/driver/system.h"

namespace {

using testsupport::MainWindow;
using testsupport::ScriptClose;
using testsupport::Show;

using testsupport::Row;

void ExpectCalls(const std::vector<Row>& want, std::size_t from = 0) {
  EXPECT_TRUE(testsupport::LedgerHas(want, from));
}

// Saves the window's picture when PIKON_SNAPSHOTS names a folder.
void Snapshot(HWND window, const char* name) {
  if (const char* dir = std::getenv("PIKON_SNAPSHOTS")) {
    EXPECT_TRUE(drv::SaveWindowPng(window, std::string(dir) + "/" + name + ".png")) << name;
  }
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
        {"CreateDialogParamA", nullptr, IDD_PLOTTER},
        {"ShowWindow", Plotter, SW_HIDE},
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
    EXPECT_EQ(client.bottom, 274) << "caption 19, menu bar 19, frame 3, client edge 2";

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
  EXPECT_TRUE(testsupport::RunsToTheEnd());
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
    Snapshot(drv::TopMessageBox(), "not_found");
    drv::AnswerMessageBox(IDOK);
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
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

struct Placed {
  int id;
  RECT area;  // pixels, in the dialog's client area
  const char* text;
};

TEST(Shell, AboutBoxIsModalOwnedByTheMainWindowAndEndsByOkEscapeOrEnter) {
  drv::PlugPort(1, drv::PortKind::Module);
  struct Ending {
    const char* what;
    void (*gesture)(HWND about);
  } endings[] = {
      {"click OK", [](HWND about) { drv::ClickItem(about, IDOK); }},
      {"Escape", [](HWND) { drv::PressKey(VK_ESCAPE); }},
      {"Enter", [](HWND) { drv::PressKey(VK_RETURN); }},
  };
  // The template's dialog units in pixels: x * 6 / 4, y * 13 / 8, rounded.
  const std::vector<Placed> controls = {
      {IDOK, {120, 146, 195, 169}, "OK"},
      {IDC_ABOUT_ICON, {18, 20, 50, 52}, ""},  // an icon control takes the icon's size
      {-1, {75, 20, 240, 33}, "PIKON"},
      {-1, {75, 36, 240, 49}, "8-Kanal-Voltmeter/Schreiber"},
      {-1, {75, 52, 240, 65}, "für den 12-Bit-A/D-Wandler"},
      {-1, {75, 68, 240, 81}, PIKON_ABOUT_VERSION},  // the project's version
      {-1, {75, 85, 240, 98}, "Messtechnik Lindenau"},
      {-1, {75, 101, 240, 114}, "Am Kiesgrund 7"},
      {-1, {75, 125, 240, 138}, "D-29451 Lindenau"},
  };
  static HWND about = nullptr;
  static std::vector<HWND> abouts;
  for (const Ending& e : endings) {
    drv::Script(drv::WhenIdle(), "choose About", [] { drv::ChooseMenu(MainWindow(), IDM_ABOUT); });
    drv::Script(drv::WhenIdle(), std::string("look at the About box, then ") + e.what, [&] {
      HWND main = MainWindow();
      about = drv::ActiveTopLevel();
      abouts.push_back(about);
      ASSERT_NE(about, main);
      EXPECT_EQ(drv::OwnerOf(about), main);
      EXPECT_FALSE(IsWindowEnabled(main)) << "modal: its owner is disabled";
      RECT owner = drv::ClientAreaOf(main), client = drv::ClientAreaOf(about);
      EXPECT_EQ(client.left - owner.left, 48) << "32 units right of the owner's client area";
      EXPECT_EQ(client.top - owner.top, 52) << "32 units below it";
      EXPECT_EQ(client.right - client.left, 270);
      EXPECT_EQ(client.bottom - client.top, 179);
      EXPECT_EQ(client.left - drv::WindowRectOf(about).left, 3) << "modal frame, no caption";
      EXPECT_EQ(client.top - drv::WindowRectOf(about).top, 3);
      std::vector<HWND> children = drv::ChildrenOf(about);
      ASSERT_EQ(children.size(), controls.size());
      for (std::size_t i = 0; i < controls.size(); ++i) {
        RECT r = drv::WindowRectOf(children[i]);
        const Placed& want = controls[i];
        EXPECT_TRUE(r.left == want.area.left && r.top == want.area.top &&
                    r.right == want.area.right && r.bottom == want.area.bottom)
            << "control " << i << " at (" << r.left << ", " << r.top << ")-(" << r.right << ", "
            << r.bottom << ")";
        EXPECT_EQ(GetDlgItem(about, want.id) != nullptr, true) << "control " << i;
        EXPECT_EQ(drv::WindowText(children[i]), want.text) << "control " << i;
      }
      EXPECT_EQ(drv::WindowPixel(about, 3 + 18 + 16, 3 + 20 + 16), RGB(0, 0, 0))
          << "the program icon's plot area: the box runs with the program's module";
      EXPECT_EQ(GetFocus(), GetDlgItem(about, IDOK));
      EXPECT_TRUE(drv::IsDefaultButton(GetDlgItem(about, IDOK)));
      e.gesture(about);
    });
    drv::Script(drv::WhenIdle(), std::string("after ") + e.what, [] {
      EXPECT_FALSE(IsWindow(about));
      EXPECT_TRUE(IsWindowEnabled(MainWindow()));
      EXPECT_EQ(drv::ActiveTopLevel(), MainWindow());
    });
  }
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
  HWND main = drv::CallsTo("DialogBoxParamA").at(0).window;
  ASSERT_EQ(abouts.size(), 3u);
  ExpectCalls({
      {"DialogBoxParamA", main, 0, 0, "AboutBox"},
      {"EndDialog", abouts[0], 0},
      {"DialogBoxParamA", main, 0, 0, "AboutBox"},
      {"EndDialog", abouts[1], 0},
      {"DialogBoxParamA", main, 0, 0, "AboutBox"},
      {"EndDialog", abouts[2], 0},
  });
}

// The grayed entries do nothing at all.
TEST(Shell, MenuEntriesThatAreGrayed) {
  drv::PlugPort(1, drv::PortKind::Module);
  struct Entry {
    int id;
    std::vector<Row> calls;  // every call the entry makes
  };
  static const Entry entries[] = {
      {IDM_MESSPARAMETER, {}},
      {IDM_DATENFORMAT, {}},
  };
  static std::size_t from = 0;
  for (const Entry& e : entries) {
    drv::Script(drv::WhenIdle(), "choose " + std::to_string(e.id), [&e] {
      drv::ChooseMenu(MainWindow(), e.id);
      MSG msg;
      EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE), !e.calls.empty())
          << e.id << ": a command is on its way only for an enabled entry";
      from = drv::Ledger().size();
    });
    drv::Script(drv::WhenIdle(), "look at " + std::to_string(e.id), [&e] {
      const std::vector<drv::Call>& ledger = drv::Ledger();
      std::vector<Row> want = e.calls;
      for (Row& row : want) row.window = MainWindow();
      EXPECT_TRUE(testsupport::SameSequence(want, {ledger.begin() + from, ledger.end()})) << e.id;
    });
  }
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// "Kurzbeschreibung" opens the web page beside the program in the browser where Windows has no
// WinHelp viewer (Vista, 6.0, and later), from any folder, also one whose name the ANSI code page
// cannot spell. WinHelp is asked for the help file on older Windows, and where the page cannot be
// had on Windows that can have the viewer (up to 8.1, 6.3); Windows 10 and later have none, and
// there a message says where the page is.
TEST(Shell, HelpOpensThePageFromVistaOnAndTheHelpFileWhereWindowsHasItsViewer) {
  drv::PlugPort(1, drv::PortKind::Module);
  enum Help { kPage, kWinHelp, kMessage };
  struct Case {
    const char* what;
    int major, minor;
    std::string folder;  // of PIKON.exe
    bool page;           // PIKON.html lies beside it
    Help want;
  };
  const std::string root = "C:\\PIKON";
  // Folders whose PIKON.html has 259 characters, one more, and whose PIKON.exe has more than the
  // 260 characters of a path buffer; a user's folder with letters Windows-1252 lacks, and one
  // with a character beyond 16 bits (two UTF-16 units).
  const std::string fits = "C:\\" + std::string(245, 'd');
  const std::string over = "C:\\" + std::string(246, 'd');
  const std::string cut = "C:\\" + std::string(250, 'd');
  const std::string lodz = "C:\\Users\\Łódź\\PIKON";
  const std::string note = "C:\\Users\\\xF0\x9D\x84\x9E\\PIKON";  // U+1D11E
  static const std::vector<Case> cases = {
      {"Windows XP", 5, 1, root, true, kWinHelp},
      {"Windows Vista", 6, 0, root, true, kPage},
      {"Windows 11", 10, 0, root, true, kPage},
      {"Windows 11, in a folder the code page cannot spell", 10, 0, lodz, true, kPage},
      {"Windows 11, in a folder with a character of two UTF-16 units", 10, 0, note, true, kPage},
      {"Windows 8.1, no page", 6, 3, root, false, kWinHelp},
      {"Windows 11, no page", 10, 0, root, false, kMessage},
      {"Windows 11, a folder called PIKON.html", 10, 0, root, false, kMessage},
      {"Windows 11, the page's path of 259 characters", 10, 0, fits, true, kPage},
      {"Windows 11, the page's path of 260 characters", 10, 0, over, true, kMessage},
      {"Windows 11, the program's path cut short", 10, 0, cut, true, kMessage},
  };
  static std::size_t from = 0;
  for (const Case& c : cases) {
    drv::Script(drv::WhenIdle(), std::string("help on ") + c.what, [&c] {
      drv::ResetSystem();
      drv::SetWindowsVersion(c.major, c.minor, 0);
      drv::SetProgramPath(c.folder + "\\PIKON.exe");
      drv::RemoveFile(c.folder + "\\PIKON.html");
      if (c.page) drv::PutFile(c.folder + "\\PIKON.html");
      if (std::string(c.what).find("called") != std::string::npos)
        drv::PutFile(c.folder + "\\PIKON.html\\index.html");
      from = drv::Ledger().size();
      drv::ChooseMenu(MainWindow(), IDM_HILFE);
    });
    if (c.want == kMessage)
      drv::Script(drv::WhenMessageBox(), std::string("the message on ") + c.what, [] {
        EXPECT_EQ(drv::WindowText(drv::TopMessageBox()), "ZEQ-Info");
        drv::AnswerMessageBox(IDOK);
      });
    drv::Script(drv::WhenIdle(), std::string("look at ") + c.what, [&c] {
      HWND main = MainWindow();
      std::vector<Row> want;
      if (c.want == kPage)
        want.push_back(
            {"ShellExecuteW", main, SW_SHOWNORMAL, 42, "open\n" + c.folder + "\\PIKON.html"});
      if (c.want == kWinHelp) want.push_back({"WinHelpA", main, HELP_FORCEFILE, 0, "PIKON.HLP"});
      if (c.want == kMessage)
        want.push_back({"MessageBoxA", main, 0, MB_ICONEXCLAMATION | MB_OK,
                        "Hilfe nicht zu öffnen!\nBitte PIKON.html aus dem Ordner\nvon PIKON.exe im "
                        "Browser öffnen.\nZEQ-Info"});
      std::vector<Row> any = {{"ShellExecuteA", main}, {"ShellExecuteW", main}, {"WinHelpA", main},
                              {"MessageBoxA", main}};
      EXPECT_TRUE(testsupport::SameSequence(want, testsupport::CallsNamedIn(any, from))) << c.what;
    });
  }
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// At the start the toolbar panel has the focus on "Messen", but the panel has no default button
// and a focus given by SetFocus does not make one: Enter sends IDOK, which the panel leaves, and
// starts nothing. Once Tab has moved the focus, Enter presses the button it reached.
TEST(Shell, EnterAtTheStartPressesNothingAndAfterTabTheButtonReached) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "look at the toolbar, press Enter", [] {
    HWND messen = GetDlgItem(g_hToolbar, IDC_MESSEN);
    EXPECT_EQ(GetFocus(), messen);
    EXPECT_FALSE(drv::IsDefaultButton(messen));
    EXPECT_FALSE(drv::IsDefaultButton(GetDlgItem(g_hToolbar, IDC_TOGGLE_PLOTTER)));
    drv::PressKey(VK_RETURN);
  });
  drv::Script(drv::WhenIdle(), "nothing started; Tab, Enter", [] {
    EXPECT_FALSE(IsWindowVisible(Plotter));
    EXPECT_EQ(exeparam, 0) << "no run";
    drv::PressKey(VK_TAB);
    drv::PressKey(VK_RETURN);
  });
  drv::Script(drv::WhenIdle(), "Toggle Plotter was pressed", [] {
    EXPECT_TRUE(IsWindowVisible(Plotter));
    drv::CloseWindow(MainWindow());
  });
  EXPECT_EQ(drv::RunWinMain(), 0);
}

// A failing GetMessageA ends the loop at once, reporting the failure with exit code 1.
TEST(Shell, AFailingFetchEndsTheProgramWithExitCode1) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "break the queue", [] {
    drv::FailGetMessageAt(drv::Fetches() + 1);
    PostMessageA(MainWindow(), WM_NULL, 0, 0);  // what this read returns
  });
  EXPECT_EQ(drv::RunWinMain(), 1);
  EXPECT_TRUE(IsWindow(MainWindow())) << "nothing else happened on the way out";
}

// The main window as the screen shows it: frame, caption, menu bar, the client edge around the
// black client area, and the panels with their controls where the templates put them. The client
// area starts at (5, 42) in the window: frame 3 and client edge 2, caption 18 and menu bar 19.
TEST(Shell, MainWindowPicture) {
  drv::PlugPort(3, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "take the picture", [] {
    HWND main = MainWindow();
    Snapshot(main, "main_window");
    struct Spot {
      const char* what;
      int x, y;
      COLORREF color;
    } spots[] = {
        {"caption of the active window", 150, 10, RGB(0, 0, 128)},
        {"menu bar", 150, 30, RGB(192, 192, 192)},
        {"client edge, shadow", 3, 100, RGB(128, 128, 128)},
        {"client edge, dark inner line", 4, 100, RGB(0, 0, 0)},
        {"black client area right of the panels", 294, 142, RGB(0, 0, 0)},
        {"black client area below the toolbar", 150, 315, RGB(0, 0, 0)},
        {"port panel's frame, outer right line", 292, 50, RGB(0, 0, 0)},
        {"port panel's frame, inner right line", 291, 50, RGB(128, 128, 128)},
        {"port panel's face", 100, 44, RGB(192, 192, 192)},
        {"COM 1's empty circle", 12, 50, RGB(255, 255, 255)},
        {"COM 3's check dot", 147, 50, RGB(0, 0, 0)},
        {"inside the field of channel 1", 25, 79, RGB(255, 255, 255)},
        {"field of channel 1, sunken edge", 20, 75, RGB(128, 128, 128)},
    };
    for (const Spot& p : spots)
      EXPECT_EQ(drv::WindowPixel(main, p.x, p.y), p.color) << p.what << " at " << p.x << ", " << p.y;
    int ink = 0;  // the menu's "File" in black
    for (int y = 24; y < 40; ++y)
      for (int x = 5; x < 30; ++x) ink += drv::WindowPixel(main, x, y) == RGB(0, 0, 0);
    EXPECT_GT(ink, 10);
    EXPECT_EQ(drv::WindowPixel(main, 301, 0), CLR_INVALID);
    EXPECT_EQ(drv::WindowPixel(main, 0, 322), CLR_INVALID);

    drv::ChooseMenu(main, IDM_ABOUT);
  });
  drv::Script(drv::WhenIdle(), "the About box", [] {
    Snapshot(drv::ActiveTopLevel(), "about_box");
    drv::PressKey(VK_ESCAPE);
  });
  ScriptClose();
  EXPECT_EQ(drv::RunWinMain(), 0);
}

}  // namespace
