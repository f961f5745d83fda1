// Measurement runs driven as the user drives them: "Messen", sweeps of the eight channels with
// their values, counts and dots, "Stop/Reset", the wrap of the plot, ending the program during a
// run, a nested run, a failing status read, and a run before the plot window was ever shown.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pikon.h"
#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/screen.h"
#include "winapi/driver/session.h"

namespace {

using testsupport::kBlack;
using testsupport::kWhite;
using testsupport::MainWindow;
using testsupport::ScriptClose;
using testsupport::Row;
using testsupport::Show;

using testsupport::kChannels;
using testsupport::PlugModule;
using testsupport::PressMessen;

// The column of sweep position 0, 1, 2... in a client area 600 pixels wide with plm = 100:
// trunc((0.8 * position / 100 + 0.1) * 600).
const int kColumn[] = {60, 64, 69, 74, 79, 84};

// ---- Expected ledgers ----------------------------------------------------------------------

// The ledger from entry `from` on must begin with `want`; returns where the match ended.
std::size_t ExpectLedger(const std::vector<Row>& want, std::size_t from) {
  const std::vector<drv::Call>& ledger = drv::Ledger();
  const std::size_t end = std::min(ledger.size(), from + want.size());
  EXPECT_TRUE(testsupport::SameSequence(want, {ledger.begin() + std::ptrdiff_t(from),
                                               ledger.begin() + std::ptrdiff_t(end)}));
  return end;
}

// One conversion of channel k (1 to 8) that yields `code`.
void Transaction(std::vector<Row>& rows, int k, int code) {
  rows = rows + testsupport::Conversion(k, code);
}

// The dot of channel k at `column`, in a client area 600 x 400.
void Dot(std::vector<Row>& rows, int k, int column) {
  rows.push_back({"GetDC", Plotter});
  rows.push_back({"SetPixel", Plotter, column, kChannels[k - 1].row, std::intptr_t(col[k])});
  rows.push_back({"UpdateWindow", Plotter});
  rows.push_back({"ReleaseDC", Plotter});
}

std::vector<Row> Wipe600x400() {
  return testsupport::HinterGrundCalls(Plotter, testsupport::kFrame600x400, "X * 1   ");
}

void Shown(std::vector<Row>& rows, int k, int count) {
  rows.push_back(
      {"SetDlgItemTextA", Anzeigefenster, IDC_WERT_BASE + k, 0, 0, kChannels[k - 1].shown});
  rows.push_back({"SetDlgItemInt", SatzZahl, IDC_SATZZAHL, count, TRUE, ""});
  rows.push_back({"ShowWindow", Anzeigefenster, SW_SHOW});
  rows.push_back({"UpdateWindow", Anzeigefenster});
  rows.push_back({"UpdateWindow", SatzZahl});
}

// The eight channels of one sweep after its look at the queue: the record count `count`, the
// dots in `column`.
void Channels(std::vector<Row>& rows, int count, int column) {
  for (int k = 1; k <= 8; ++k) {
    Transaction(rows, k, kChannels[k - 1].code);
    Dot(rows, k, column);
    Shown(rows, k, count);
  }
}

Row Peek() { return {"PeekMessageA", nullptr, PM_REMOVE}; }

// What the test's own window notes in the ledger for each message it is given.
const char* const kDispatched = "(dispatched to the test's window)";

// The ledger's entries for the functions named in `want`, from entry `from` on, must be `want`;
// reports the first difference with its index.
void ExpectOnly(const std::vector<Row>& want, std::size_t from) {
  EXPECT_TRUE(testsupport::LedgerHas(want, from));
}

// The record counts written during the sweeps, eight per sweep, as one list.
std::vector<Row> Counts(const std::vector<int>& sweeps) {
  std::vector<Row> rows;
  for (int count : sweeps)
    for (int k = 1; k <= 8; ++k)
      rows.push_back({"SetDlgItemInt", SatzZahl, IDC_SATZZAHL, count, TRUE});
  return rows;
}

// What each sweep between ledger entries `from` and `to` costs, counted by kind. A sweep is what
// follows one look at the queue up to the next.
void ExpectSweepCounts(std::size_t from, std::size_t to) {
  struct Cost {
    int lines = 0, pulses = 0, reads = 0, pixels = 0, plotRepaints = 0, fields = 0, shows = 0,
        panelRepaints = 0, dispatched = 0, pauses = 0;
  };
  std::vector<Cost> sweeps;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < to; ++i) {
    const drv::Call& c = ledger[i];
    if (c.fn == "PeekMessageA") sweeps.emplace_back();
    if (sweeps.empty()) continue;
    Cost& s = sweeps.back();
    s.lines += c.fn == "EscapeCommFunction";
    s.pulses += c.fn == "EscapeCommFunction" && c.Code() == SETRTS;
    s.reads += c.fn == "GetCommModemStatus";
    s.pixels += c.fn == "SetPixel";
    s.plotRepaints += c.fn == "UpdateWindow" && c.window == Plotter;
    s.fields += c.fn == "SetDlgItemTextA" || c.fn == "SetDlgItemInt";
    s.shows += c.fn == "ShowWindow" && c.window == Anzeigefenster;
    s.panelRepaints +=
        c.fn == "UpdateWindow" && (c.window == Anzeigefenster || c.window == SatzZahl);
    s.dispatched += c.fn == kDispatched;
    s.pauses += c.fn == "Sleep";
  }
  ASSERT_FALSE(sweeps.empty());
  sweeps.pop_back();  // the completing sweep after a stop also repaints for the stop itself
  for (std::size_t n = 0; n < sweeps.size(); ++n) {
    const Cost& s = sweeps[n];
    std::string sweep = "sweep " + std::to_string(n + 1);
    EXPECT_EQ(s.lines, 424) << sweep;
    EXPECT_EQ(s.pulses, 168) << sweep;
    EXPECT_EQ(s.reads, 104) << sweep;
    EXPECT_EQ(s.pixels, 8) << sweep;
    EXPECT_EQ(s.plotRepaints, 8) << sweep;
    EXPECT_EQ(s.fields, 16) << sweep;
    EXPECT_EQ(s.shows, 8) << sweep;
    EXPECT_EQ(s.panelRepaints, 16) << sweep;
    EXPECT_LE(s.dispatched, 1) << sweep;
    EXPECT_EQ(s.pauses, 0) << sweep;
  }
}

// ---- A window of the test's own that notes each message it is given -----------------------

LRESULT CALLBACK NoteProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_USER) {
    drv::Record({kDispatched, std::intptr_t(wParam), 0, 0, "", window});
    return 0;
  }
  return DefWindowProcA(window, msg, wParam, lParam);
}

HWND NoteWindow() {
  EXPECT_TRUE(testsupport::RegisterPlainClass("NoteWindow", NoteProc));
  return CreateWindowExA(0, "NoteWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                         nullptr);
}

void AnswerOk() { drv::AnswerMessageBox(IDOK); }

// Shows the plot window and drags it to a client area of 600 x 400 pixels.
void ScriptPlotWindow600x400() {
  drv::Script(drv::WhenIdle(), "show the plot window", [] {
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
  });
  drv::Script(drv::WhenIdle(), "drag it to a client area of 600 x 400", [] {
    drv::ResizeWindow(Plotter, 608, 446);
    ASSERT_EQ(cxPlotter, 600);
    ASSERT_EQ(cyPlotter, 400);
  });
}

HWND g_note = nullptr;
std::size_t g_from = 0;

// ---- A whole run, call for call ----------------------------------------------------------------

namespace whole_run {

void FourMessagesAndStop() {
  ASSERT_EQ(exeparam, 1) << "the run's first look at the queue";
  ASSERT_EQ(zaehler, 0);
  for (int m = 1; m <= 4; ++m) PostMessageA(g_note, WM_USER, WPARAM(m), 0);
  drv::ClickItem(StopBox, IDC_STOP);
}

void LookAtTheStopMessageThenOk() {
  EXPECT_EQ(exeparam, 0);
  EXPECT_EQ(cent, 0);
  EXPECT_EQ(drv::ClientPixel(Plotter, kColumn[1], kChannels[0].row), col[1])
      << "the dots are wiped only after the message";
  drv::AnswerMessageBox(IDOK);
}

std::vector<Row> ExpectedRun() {
  std::vector<Row> want = {{"SetFocus", StopBox}};
  for (int sweep = 1; sweep <= 5; ++sweep) {
    want.push_back(Peek());
    if (sweep == 1)
      for (int m = 1; m <= 4; ++m) want.push_back({"PostMessageA", g_note, WM_USER, m});
    if (sweep <= 4) want.push_back({kDispatched, g_note, sweep});
    Channels(want, sweep, kColumn[sweep - 1]);
  }
  want.push_back(Peek());
  want.push_back({"MessageBoxA", StopBox, 0, MB_ICONEXCLAMATION | MB_OK, 0,
                  "Messung angehalten\nZEQ INFO"});
  want = want + Wipe600x400();
  want.push_back({"UpdateWindow", SatzZahl});
  want.push_back({"SetFocus", g_hToolbar});
  Channels(want, 0, kColumn[0]);
  return want;
}

void LookAtTheRun() {
  std::size_t end = ExpectLedger(ExpectedRun(), g_from);
  if (::testing::Test::HasFailure()) return;
  ExpectSweepCounts(g_from, end);
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = end; i < ledger.size(); ++i) {
    EXPECT_NE(ledger[i].fn, "EscapeCommFunction") << "ledger " << i << ": the run has ended";
    EXPECT_NE(ledger[i].fn, "PeekMessageA") << "ledger " << i;
  }
  EXPECT_EQ(exeparam, 0);
  EXPECT_EQ(cent, 1);
  EXPECT_EQ(drv::ItemText(SatzZahl, IDC_SATZZAHL), "0");
  for (int k = 1; k <= 8; ++k) {
    const testsupport::Channel& ch = kChannels[k - 1];
    EXPECT_EQ(drv::ItemText(Anzeigefenster, IDC_WERT_BASE + k), ch.shown) << "channel " << k;
    EXPECT_EQ(drv::ClientPixel(Plotter, kColumn[0], ch.row), col[k])
        << "channel " << k << ": the completing sweep at the left edge";
    bool inside = ch.row >= 40 && ch.row < 360;
    for (int c = 1; c <= 4 && inside; ++c)
      EXPECT_EQ(drv::ClientPixel(Plotter, kColumn[c], ch.row), kBlack)
          << "channel " << k << ", sweep " << c + 1 << ": wiped";
  }
}

void AfterMessen(unsigned long first) {
  drv::Script(drv::AtFetch(first), "four messages and Stop/Reset", FourMessagesAndStop);
  drv::Script(drv::WhenMessageBox(), "look at the stop message, then OK",
              LookAtTheStopMessageThenOk);
  drv::Script(drv::WhenIdle(), "look at the run", LookAtTheRun);
  ScriptClose();
}

void Messen() {
  g_note = NoteWindow();
  g_from = drv::Ledger().size();
  PressMessen(AfterMessen);
}

}  // namespace whole_run

// A whole run, call for call: "Messen", five sweeps that each dispatch one of the waiting
// messages (four of the test's window, then the press of "Stop/Reset"), the stop with its
// message, its wipe and the completing sweep with count 0 at the left edge; then nothing more.
TEST(Run, EveryCallOfARunFromMessenToTheSweepThatCompletesAfterTheStop) {
  PlugModule();
  ScriptPlotWindow600x400();
  drv::Script(drv::WhenIdle(), "Messen", whole_run::Messen);
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// ---- Stop while idle -------------------------------------------------------------------------

namespace stop_idle {

void StopReset() {
  cent = 5;
  g_from = drv::Ledger().size();
  drv::ClickItem(StopBox, IDC_STOP);
}

void Look() {
  for (std::size_t i = g_from; i < drv::Ledger().size(); ++i)
    ADD_FAILURE() << "the stop made the program call " << Show(drv::Ledger()[i]);
  EXPECT_EQ(cent, 5);
  EXPECT_EQ(exeparam, 0);
  EXPECT_EQ(drv::TopMessageBox(), nullptr);
}

}  // namespace stop_idle

// Pressing "Stop/Reset" with no run going: no message, no wipe, no call at all.
TEST(Run, StopWhileIdleDoesNothing) {
  PlugModule();
  ScriptPlotWindow600x400();
  drv::Script(drv::WhenIdle(), "Stop/Reset", stop_idle::StopReset);
  drv::Script(drv::WhenIdle(), "look", stop_idle::Look);
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// ---- A hundred sweeps and the wipe ---------------------------------------------------------

namespace hundred_sweeps {

void LookAtTheFirstSweep() {
  EXPECT_EQ(drv::ClientPixel(Plotter, 60, 200), col[3]) << "channel 3 reading 2047";
  std::vector<drv::Call> dots = drv::CallsTo("SetPixel");
  ASSERT_EQ(dots.size(), 8u);
  for (int k = 1; k <= 8; ++k) {
    EXPECT_EQ(dots[k - 1].X(), 60) << "channel " << k;
    EXPECT_EQ(dots[k - 1].Y(), kChannels[k - 1].row) << "channel " << k;
    EXPECT_EQ(dots[k - 1].Colour(), col[k]) << "channel " << k;
  }
}

void LookAfterThe101stSweepThenStop() {
  std::vector<drv::Call> dots = drv::CallsTo("SetPixel");
  ASSERT_EQ(dots.size(), 101u * 8u);
  int last = 0;
  for (std::size_t sweep = 1; sweep <= 100; ++sweep) {
    int column = int(dots[(sweep - 1) * 8].X());
    EXPECT_GT(column, last) << "sweep " << sweep << " is right of the one before";
    last = column;
    for (std::size_t k = 1; k <= 8; ++k)
      EXPECT_EQ(dots[(sweep - 1) * 8 + k - 1].X(), column) << "sweep " << sweep << ", ch. " << k;
  }
  EXPECT_EQ(last, 535) << "position 99";
  for (std::size_t k = 1; k <= 8; ++k) EXPECT_EQ(dots[800 + k - 1].X(), 60) << "sweep 101";

  // The wipe comes right after the 100th sweep's last dot, before its field is written.
  std::size_t lastDot = 0, wipes = 0;
  for (std::size_t i = g_from, n = 0; i < drv::Ledger().size(); ++i) {
    const drv::Call& c = drv::Ledger()[i];
    if (c.fn == "SetPixel" && ++n == 800) lastDot = i;
    wipes += c.fn == "FillRect" && c.window == Plotter && c.X() == 60 && c.Y() == 40;
  }
  EXPECT_EQ(wipes, 1u);
  ExpectLedger(std::vector<Row>{{"SetPixel", Plotter, 535, 281, std::intptr_t(col[8])},
                                {"UpdateWindow", Plotter},
                                {"ReleaseDC", Plotter}} +
                   Wipe600x400() +
                   std::vector<Row>{
                       {"SetDlgItemTextA", Anzeigefenster, IDC_WERT_BASE + 8, 0, 0, "0.999"},
                       {"SetDlgItemInt", SatzZahl, IDC_SATZZAHL, 100, TRUE}},
               lastDot);

  for (int k = 1; k <= 8; ++k) {
    const testsupport::Channel& ch = kChannels[k - 1];
    EXPECT_EQ(drv::ClientPixel(Plotter, 60, ch.row), col[k]) << "channel " << k;
    if (ch.row >= 40 && ch.row < 360) {
      EXPECT_EQ(drv::ClientPixel(Plotter, 535, ch.row), kBlack) << "channel " << k;
    }
  }
  EXPECT_EQ(drv::ClientPixel(Plotter, 64, 39), col[4]) << "4095 of the 2nd sweep survived";
  EXPECT_EQ(drv::ClientPixel(Plotter, 535, 39), col[4]) << "and of the 100th";
  EXPECT_EQ(drv::ClientPixel(Plotter, 64, 360), col[2]) << "0 of the 2nd sweep survived";
  if (const char* dir = std::getenv("PIKON_SNAPSHOTS")) {
    EXPECT_TRUE(drv::SaveWindowPng(Plotter, std::string(dir) + "/plot_window_run.png"));
  }
  drv::ClickItem(StopBox, IDC_STOP);
}

void AfterTheStopToggleThePlotterTwice() {
  EXPECT_EQ(drv::ClientPixel(Plotter, 64, 39), col[4]) << "the stop's wipe left it too";
  EXPECT_EQ(drv::ClientPixel(Plotter, 64, 100), kBlack);
  drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER);
  drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER);
}

void LookAfterTheRepaint() {
  EXPECT_TRUE(IsWindowVisible(Plotter));
  EXPECT_EQ(drv::ClientPixel(Plotter, 64, 39), kWhite) << "gone with the repaint";
  EXPECT_EQ(drv::ClientPixel(Plotter, 535, 39), kWhite);
  EXPECT_EQ(drv::ClientPixel(Plotter, 64, 360), kBlack) << "the time tick it covered";
  EXPECT_EQ(drv::ClientPixel(Plotter, 60, 200), kBlack);
}

void AfterMessen(unsigned long first) {
  drv::Script(drv::AtFetch(first + 1), "look at the first sweep", LookAtTheFirstSweep);
  drv::Script(drv::AtFetch(first + 101), "look after the 101st sweep, then stop",
              LookAfterThe101stSweepThenStop);
  drv::Script(drv::WhenMessageBox(), "OK", AnswerOk);
  drv::Script(drv::WhenIdle(), "after the stop: Toggle Plotter twice",
              AfterTheStopToggleThePlotterTwice);
  drv::Script(drv::WhenIdle(), "after the repaint", LookAfterTheRepaint);
  ScriptClose();
}

void Messen() {
  g_from = drv::Ledger().size();
  PressMessen(AfterMessen);
}

}  // namespace hundred_sweeps

// With a 600 x 400 client area and plm = 100 the dots of a sweep share a column, one step right
// per sweep; the 100th sweep is drawn at column 535, then the plot area is wiped at once and the
// 101st sweep starts at column 60. Dots on the white rows just outside the black area (4095 on
// row 39, 0 on row 360) survive the wipe and the stop, until the window is repainted.
TEST(Run, SweepsAdvanceAColumnAndTheHundredthIsFollowedByAWipe) {
  PlugModule();
  ScriptPlotWindow600x400();
  drv::Script(drv::WhenIdle(), "Messen", hundred_sweeps::Messen);
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// ---- Ending the program during a run -------------------------------------------------------

namespace end_in_run {

HWND g_main = nullptr;
void (*g_gesture)(HWND main) = nullptr;

void EndTheProgram() { g_gesture(g_main); }

void AfterMessen(unsigned long first) {
  drv::Script(drv::AtFetch(first + 1), "end the program", EndTheProgram);
}

void Messen() {
  g_main = MainWindow();
  g_from = drv::Ledger().size();
  PressMessen(AfterMessen);
}

}  // namespace end_in_run

// Runs the program with a module, presses "Messen" and makes `gesture` on the main window when
// the run looks at the queue in its second sweep. Returns the main window.
HWND EndInTheSecondSweep(void (*gesture)(HWND main)) {
  PlugModule();
  end_in_run::g_gesture = gesture;
  drv::Script(drv::WhenIdle(), "Messen", end_in_run::Messen);
  EXPECT_TRUE(testsupport::RunsToTheEnd());
  EXPECT_FALSE(IsWindow(end_in_run::g_main));
  return end_in_run::g_main;
}

void ChooseBeenden(HWND main) { drv::ChooseMenu(main, IDM_BEENDEN); }

// "&Beenden" in the second sweep: the command clears the run flag and posts the close; the sweep
// completes, the run ends, and the close ends the program with exit code 0.
TEST(Run, BeendenDuringARunEndsItAfterTheSweepAndThenTheProgram) {
  HWND main = EndInTheSecondSweep(ChooseBeenden);
  ExpectOnly(std::vector<Row>{Peek()} + Counts({1}) +
                 std::vector<Row>{Peek(), {"PostMessageA", main, WM_CLOSE, 0}} + Counts({2}) +
                 std::vector<Row>{{"DestroyWindow", main},
                                  {"DestroyWindow", g_hToolbar},
                                  {"PostQuitMessage", nullptr, 0}},
             g_from);
}

// The close box in the second sweep destroys the main window and its panels at once, from inside
// the run; the sweep still completes, writing into the panels that are gone, and the run ends.
TEST(Run, TheCloseBoxDuringARunEndsItAfterTheSweepAndThenTheProgram) {
  HWND main = EndInTheSecondSweep(drv::CloseWindow);
  ExpectOnly(std::vector<Row>{Peek()} + Counts({1}) +
                 std::vector<Row>{Peek(),
                                  {"DestroyWindow", main},
                                  {"DestroyWindow", g_hToolbar},
                                  {"PostQuitMessage", nullptr, 0}} +
                 Counts({2}),
             g_from);
  EXPECT_FALSE(IsWindow(SatzZahl));
}

// ---- A run inside a run --------------------------------------------------------------------

namespace nested_run {

void MessenAgain() {
  drv::ClickItem(g_hToolbar, IDC_MESSEN);  // down now, up (the command) in sweep 3
}

void StopInTheInnerRunsThirdSweep() {
  EXPECT_EQ(zaehler, 2);
  drv::ClickItem(StopBox, IDC_STOP);
}

void Look() {
  std::vector<Row> focus = {{"SetFocus", StopBox}};
  ExpectOnly(focus + std::vector<Row>{Peek()} + Counts({1}) + std::vector<Row>{Peek()} +
                 Counts({2}) + std::vector<Row>{Peek()} +  // outer sweep 3 dispatches ...
                 focus + std::vector<Row>{Peek()} + Counts({1}) +  // ... the inner run
                 std::vector<Row>{Peek()} + Counts({2}) + std::vector<Row>{Peek()} + Counts({3}) +
                 std::vector<Row>{Peek(), {"SetFocus", g_hToolbar}} +
                 Counts({0}) +  // the inner run's completing sweep
                 Counts({0}),   // the rest of the outer run's sweep 3
             g_from);
  EXPECT_EQ(drv::CountOf("MessageBoxA"), 1u);
  EXPECT_EQ(exeparam, 0);
  EXPECT_EQ(drv::ItemText(SatzZahl, IDC_SATZZAHL), "0");
}

void AfterMessen(unsigned long first) {
  drv::Script(drv::AtFetch(first + 1), "Messen again", MessenAgain);
  drv::Script(drv::AtFetch(first + 5), "Stop/Reset in the inner run's 3rd sweep",
              StopInTheInnerRunsThirdSweep);
  drv::Script(drv::WhenMessageBox(), "OK", AnswerOk);
  drv::Script(drv::WhenIdle(), "look", Look);
  ScriptClose();
}

void Messen() {
  g_from = drv::Ledger().size();
  PressMessen(AfterMessen);
}

}  // namespace nested_run

// "Messen" pressed in the second sweep starts a run inside the run: its count starts from 1.
// Stopped in its third sweep, it completes that sweep with count 0 and returns into the outer
// run's sweep, which completes, also as 0 (as every sweep after a stop), and ends as well.
TEST(Run, MessenDuringARunNestsASecondRunThatOneStopEndsBoth) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", nested_run::Messen);
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// ---- A failing status read -----------------------------------------------------------------

namespace failing_read {

void MakeAStatusReadFail() {
  drv::Faults faults;
  faults.failStatusFrom = 3 * 13 + 5;
  faults.failStatusCount = 1;
  drv::SetFaults(1, faults);
}

void InTheErrorMessagePressStop() {
  HWND box = drv::TopMessageBox();
  EXPECT_EQ(drv::OwnerOf(box), nullptr);
  EXPECT_TRUE(IsWindowEnabled(MainWindow())) << "nothing is disabled";
  EXPECT_EQ(kanal, 4);
  drv::ClickItem(StopBox, IDC_STOP);
}

void TheStopMessageOnTopThenOk() {
  EXPECT_EQ(exeparam, 0);
  // Centred on the 1024 x 768 screen, not on the main window that owns it.
  RECT r = drv::WindowRectOf(drv::TopMessageBox());
  EXPECT_NEAR((r.left + r.right) / 2, 512, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, 384, 1);
  drv::AnswerMessageBox(IDOK);
}

void Look() {
  ExpectOnly(std::vector<Row>{{"MessageBoxA", nullptr, 0, 0, 0,
                               "Fehler bei GetCommModemStatus!\nAnwendung schließen!\nZEQ"},
                              {"MessageBoxA", StopBox, 0, MB_ICONEXCLAMATION | MB_OK, 0,
                               "Messung angehalten\nZEQ INFO"}},
             g_from);
  std::vector<Row> counts = Counts({1});
  for (int count : {2, 2, 2, 0, 0, 0, 0, 0})
    counts.push_back({"SetDlgItemInt", SatzZahl, IDC_SATZZAHL, count, TRUE});
  ExpectOnly(counts, g_from);
  EXPECT_EQ(exeparam, 0);
  EXPECT_EQ(drv::ItemText(SatzZahl, IDC_SATZZAHL), "0");
}

void AfterMessen(unsigned long first) {
  drv::Script(drv::AtFetch(first + 1), "make a status read fail", MakeAStatusReadFail);
  drv::Script(drv::WhenMessageBox(), "the error message: press Stop/Reset",
              InTheErrorMessagePressStop);
  drv::Script(drv::WhenMessageBox(), "the stop message on top of it: OK",
              TheStopMessageOnTopThenOk);
  drv::Script(drv::WhenMessageBox(), "the error message again: OK", AnswerOk);
  drv::Script(drv::WhenIdle(), "look", Look);
  ScriptClose();
}

void Messen() {
  g_from = drv::Ledger().size();
  PressMessen(AfterMessen);
}

}  // namespace failing_read

// A status read fails in the 2nd sweep (channel 4, 5th bit): its message has no owner, so the
// panels stay usable while it is open. "Stop/Reset" pressed meanwhile shows its own message;
// once both are closed the interrupted sweep completes, channels 4 to 8 with the count 0 that
// a sweep completing after a stop has, and the run ends.
TEST(Run, AFailingStatusReadShowsItsMessageWhileThePanelsStayUsable) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", failing_read::Messen);
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// ---- A run before the plot window was shown ------------------------------------------------

namespace unshown_plot {

void StopReset() { drv::ClickItem(StopBox, IDC_STOP); }

void LookThenTogglePlotter() {
  std::vector<drv::Call> dots = drv::CallsTo("SetPixel");
  ASSERT_EQ(dots.size(), 4u * 8u);
  for (const drv::Call& d : dots) {
    EXPECT_EQ(d.window, Plotter);
    EXPECT_EQ(d.X(), 0);
    EXPECT_EQ(d.Y(), 0);
  }
  std::vector<drv::Call> fills = drv::CallsTo("FillRect");
  ASSERT_EQ(fills.size(), 2u) << "the stop's wipe: plot area and legend box";
  for (const drv::Call& f : fills) {
    EXPECT_EQ(f.window, Plotter);
    EXPECT_EQ(f.X(), 0);
    EXPECT_EQ(f.Y(), 0);
  }
  EXPECT_EQ(cxPlotter, 0);
  EXPECT_EQ(cyPlotter, 0);
  drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER);
}

void LookAtTheChart() {
  ASSERT_GT(cxPlotter, 0);
  int coloured = 0;
  for (int y = 0; y < cyPlotter; ++y)
    for (int x = 0; x < cxPlotter; ++x) {
      COLORREF p = drv::ClientPixel(Plotter, x, y);
      for (int k = 1; k <= 8; ++k) coloured += p == col[k] && (x < 0.92 * cxPlotter);
    }
  EXPECT_EQ(coloured, 0) << "no dot anywhere left of the legend";
  EXPECT_EQ(drv::ClientPixel(Plotter, 0, 0), kWhite);
  EXPECT_EQ(drv::ClientPixel(Plotter, cxPlotter / 2, cyPlotter / 2), kBlack);
}

void AfterMessen(unsigned long first) {
  drv::Script(drv::AtFetch(first + 2), "Stop/Reset", StopReset);
  drv::Script(drv::WhenMessageBox(), "OK", AnswerOk);
  drv::Script(drv::WhenIdle(), "look, then Toggle Plotter", LookThenTogglePlotter);
  drv::Script(drv::WhenIdle(), "look at the chart", LookAtTheChart);
  ScriptClose();
}

void Messen() {
  g_from = drv::Ledger().size();
  PressMessen(AfterMessen);
}

}  // namespace unshown_plot

// Before the plot window was ever shown its client size is 0 x 0: every dot and the stop's wipe
// go to its corner, and showing it afterwards gives an empty chart.
TEST(Run, ARunBeforeThePlotWindowWasShownDrawsIntoItsCornerAndLeavesNothing) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", unshown_plot::Messen);
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

}  // namespace
