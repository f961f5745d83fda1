// The plot window as its user meets it: shown and hidden by the toolbar, both menus and its close
// box; held at its minimum size however it is dragged or minimised; painted with and sized
// without the texts; the zoom menu with its grayed entries.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <functional>
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

// The plot window's drawing since ledger entry `from` must be `want` (made of the rows below):
// its fills, its "Volt" caption and its UpdateWindow calls tell what was drawn for which size.
using Rows = std::vector<testsupport::Row>;
::testing::AssertionResult Drew(const Rows& want, std::size_t from) {
  std::vector<drv::Call> out;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i) {
    const drv::Call& c = ledger[i];
    if (c.window == Plotter && (c.fn == "FillRect" || c.fn == "UpdateWindow" ||
                                (c.fn == "TextOutA" && c.text == "Volt")))
      out.push_back(c);
  }
  return testsupport::SameSequence(want, out);
}
// The white fill of the whole client area that begins ZeichneGrund.
const Rows Z = {{"FillRect", {}, 0, 0, std::intptr_t(kWhite)}};
// HinterGrund's fills of the plot area, whose corner (0.1 cx, 0.1 cy) tells the client size it
// was drawn for, and of the legend box beside it.
Rows H(int x, int y) {
  return {{"FillRect", {}, x, y, std::intptr_t(kBlack)},
          {"FillRect", {}, {}, y, std::intptr_t(kBlack)}};
}
// The "Volt" caption that Texte writes at (0.05 cx, 0.038 cy).
Rows T(int x, int y) { return {{"TextOutA", {}, x, y, {}, "Volt"}}; }
const Rows U = {{"UpdateWindow"}};

// The plot window's own calls to `fn` since ledger entry `from`.
std::vector<drv::Call> PlotCalls(const std::string& fn, std::size_t from) {
  std::vector<drv::Call> out;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    if (ledger[i].fn == fn && ledger[i].window == Plotter) out.push_back(ledger[i]);
  return out;
}

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Show(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

// Every way of showing and hiding the window, in a row, each with the ShowWindow calls it makes.
// The close box reaches the dialog as IDCANCEL, which only hides: the window lives on.
TEST(PlotWindow, CloseBoxHidesAndTheToolbarAndBothMenusShowAndHide) {
  drv::PlugPort(1, drv::PortKind::Module);
  struct Step {
    const char* what;
    std::function<void()> gesture;
    int shows;  // the one ShowWindow call the program makes on the plot window
  };
  static const std::vector<Step> steps = {
      {"Toggle Plotter (hidden)", [] { drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER); }, SW_SHOW},
      {"the close box", [] { drv::CloseWindow(Plotter); }, SW_HIDE},
      {"Toggle Plotter brings it back", [] { drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER); },
       SW_SHOW},
      {"Toggle Plotter (shown)", [] { drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER); }, SW_HIDE},
      {"&Plot anzeigen", [] { drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN); }, SW_SHOW},
      {"&Plot anzeigen again", [] { drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN); }, SW_SHOW},
      {"its own Plot &verbergen", [] { drv::ChooseMenu(Plotter, IDM_PLOT_HIDE); }, SW_HIDE},
      {"&Plot anzeigen", [] { drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN); }, SW_SHOW},
      {"Plot &verbergen", [] { drv::ChooseMenu(MainWindow(), IDM_PLOT_VERBERGEN); }, SW_HIDE},
      {"Plot &verbergen again", [] { drv::ChooseMenu(MainWindow(), IDM_PLOT_VERBERGEN); }, SW_HIDE},
  };
  static HWND plotter = nullptr;
  static std::size_t from = 0;
  drv::Script(drv::WhenIdle(), "look at the hidden plot window", [] {
    plotter = Plotter;
    ASSERT_NE(plotter, nullptr);
    EXPECT_FALSE(IsWindowVisible(plotter));
    EXPECT_EQ(drv::OwnerOf(plotter), nullptr) << "a top-level window of its own";
    EXPECT_EQ(drv::WindowText(plotter), "ZEQ Plotter");
  });
  for (const Step& s : steps) {
    drv::Script(drv::WhenIdle(), s.what, [&s] {
      from = drv::Ledger().size();
      s.gesture();
    });
    drv::Script(drv::WhenIdle(), std::string("after ") + s.what, [&s] {
      std::vector<drv::Call> shows = PlotCalls("ShowWindow", from);
      ASSERT_EQ(shows.size(), 1u) << s.what;
      EXPECT_EQ(shows[0].Code(), s.shows) << s.what;
      EXPECT_EQ(IsWindowVisible(plotter) != FALSE, s.shows == SW_SHOW) << s.what;
      EXPECT_TRUE(PlotCalls("DestroyWindow", from).empty()) << s.what;
      EXPECT_EQ(Plotter, plotter) << s.what << ": still the window made at the start";
      EXPECT_TRUE(IsWindow(plotter)) << s.what;
    });
  }
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// The first show delivers the first size message, which draws frame and plot area; the paint that
// follows draws them again with the texts and ends with an UpdateWindow that finds nothing left.
// A PNG of the result goes to $PIKON_SNAPSHOTS if that is set.
TEST(PlotWindow, ShowingPaintsFrameAndTextsWhereTheSizeMessageDrewNoTexts) {
  drv::PlugPort(1, drv::PortKind::Module);
  static std::size_t from = 0;
  drv::Script(drv::WhenIdle(), "Toggle Plotter", [] {
    EXPECT_EQ(cxPlotter, 0) << "no size message before the first show";
    EXPECT_EQ(cyPlotter, 0);
    from = drv::Ledger().size();
    drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER);
  });
  drv::Script(drv::WhenIdle(), "look at the plot window", [] {
    RECT client;
    GetClientRect(Plotter, &client);
    ASSERT_EQ(cxPlotter, client.right);
    ASSERT_EQ(cyPlotter, client.bottom);
    // 450 x 300 dialog units of client area: 675 x 488 pixels.
    ASSERT_EQ(cxPlotter, 675);
    ASSERT_EQ(cyPlotter, 488);
    EXPECT_TRUE(Drew(Z + H(67, 48) + H(67, 48) + Z + H(67, 48) + T(33, 18) + U, from));
    // What the paint left on the screen: white window, black plot area, legend and texts.
    EXPECT_EQ(drv::ClientPixel(Plotter, 5, 5), kWhite);
    EXPECT_EQ(drv::ClientPixel(Plotter, 67, 48), kBlack);
    EXPECT_EQ(drv::ClientPixel(Plotter, 606, 438), kBlack) << "last pixel of the plot area";
    EXPECT_EQ(drv::ClientPixel(Plotter, 607, 438), kWhite);
    EXPECT_EQ(drv::ClientPixel(Plotter, 606, 439), kWhite);
    int inked = 0;  // the title "PIKON Plotter" at (236, 9), 30 pixels high
    for (int y = 9; y < 39; ++y)
      for (int x = 236; x < 400; ++x) inked += drv::ClientPixel(Plotter, x, y) != kWhite;
    EXPECT_GT(inked, 200) << "the title was written";
    // The template puts the client area at (375, 16), x 250 and y 10 dialog units; the frame
    // around it would reach above the screen and past its right edge (1024), so the window is
    // moved to fit: its right edge a dialog frame (3) short of the screen's, its top at 0.
    RECT outer = drv::WindowRectOf(Plotter);
    EXPECT_EQ(outer.right, 1021);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(outer.right - outer.left, 675 + 8) << "sizing frame 4 on each side";
    EXPECT_EQ(outer.bottom - outer.top, 488 + 46) << "and caption 19 and menu bar 19";
    if (const char* dir = std::getenv("PIKON_SNAPSHOTS")) {
      EXPECT_TRUE(drv::SaveWindowPng(Plotter, std::string(dir) + "/plot_window.png"));
    }
  });
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// Another program's window, shown and active above everything, so that being brought to the top
// and activated is something the plot window must do itself.
HWND OtherProgramsWindow() {
  EXPECT_TRUE(testsupport::RegisterPlainClass("OtherProgram", DefWindowProcA));
  HWND other = CreateWindowExA(0, "OtherProgram", "other", WS_OVERLAPPEDWINDOW, 200, 200, 300,
                               200, nullptr, nullptr, nullptr, nullptr);
  ShowWindow(other, SW_SHOW);
  return other;
}

void BringToFront(HWND window) {
  SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

const RECT kSnapped = {10, 10, 610, 410};

// The program's forced move and size: exactly one call, to (10, 10), outer 600 x 400, shown; the
// window ends there, on top and active.
void ExpectSnapped(std::size_t from, const std::string& what) {
  std::vector<drv::Call> moves = PlotCalls("SetWindowPos", from);
  ASSERT_EQ(moves.size(), 1u) << what;
  EXPECT_EQ(moves[0].X(), 10) << what;
  EXPECT_EQ(moves[0].Y(), 10) << what;
  EXPECT_EQ(moves[0].Flags(), SWP_SHOWWINDOW) << what << ": the only flag";
  EXPECT_EQ(moves[0].text, "600 400") << what;
  EXPECT_TRUE(SameRect(drv::WindowRectOf(Plotter), kSnapped))
      << what << ": at " << Show(drv::WindowRectOf(Plotter));
  EXPECT_TRUE(IsWindowVisible(Plotter)) << what;
  EXPECT_EQ(drv::TopLevelOnTop(), Plotter) << what << ": on top";
  EXPECT_EQ(drv::ActiveTopLevel(), Plotter) << what << ": active";
}

// Ink above the plot area (whose top is 0.1 cy): the title and the mark, which only Texte writes.
int InkAbovePlotArea() {
  RECT client;
  GetClientRect(Plotter, &client);
  int inked = 0;
  for (int y = 0; y < client.bottom / 10; ++y)
    for (int x = 0; x < client.right; ++x) inked += drv::ClientPixel(Plotter, x, y) != kWhite;
  return inked;
}

void Snapshot(const char* name) {
  if (const char* dir = std::getenv("PIKON_SNAPSHOTS")) {
    EXPECT_TRUE(drv::SaveWindowPng(Plotter, std::string(dir) + "/" + name));
  }
}

// A size change repaints only what it newly exposes (the dialog class has neither CS_HREDRAW nor
// CS_VREDRAW), and the size message draws no texts: after a shrink the chart stands without its
// title, scales and captions until a paint brings them back. A forced resize that exposes a
// strip gets that paint at the next read of the queue; a plain shrink none at all. PNGs go to
// $PIKON_SNAPSHOTS if that is set.
TEST(PlotWindow, AfterAShrinkTheTextsAreGoneUntilTheNextPaint) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "show the plot window", [] {
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
  });
  drv::Script(drv::WhenIdle(), "drag it larger", [] { drv::ResizeWindow(Plotter, 900, 600); });
  drv::Script(drv::WhenIdle(), "the larger window was painted; shrink it", [] {
    EXPECT_GT(InkAbovePlotArea(), 200) << "title and mark after the paint";
    drv::ResizeWindow(Plotter, 700, 450);
    EXPECT_EQ(InkAbovePlotArea(), 0) << "the size message's white fill took the texts";
    Snapshot("plot_after_shrink.png");
  });
  drv::Script(drv::WhenIdle(), "nothing was painted; drag it too narrow", [] {
    EXPECT_EQ(InkAbovePlotArea(), 0) << "a plain shrink leaves nothing to paint";
    std::size_t from = drv::Ledger().size();
    drv::ResizeWindow(Plotter, 557, 450);
    ExpectSnapped(from, "forced from 557 x 450");
    EXPECT_TRUE(Drew(Z + H(59, 35) + H(59, 35) + Z + H(59, 35) + H(59, 35), from));
    EXPECT_EQ(InkAbovePlotArea(), 0) << "no texts until the paint";
    Snapshot("plot_after_forced_resize.png");
  });
  drv::Script(drv::WhenIdle(), "look after the next paint", [] {
    EXPECT_GT(InkAbovePlotArea(), 200) << "the paint for the exposed strip wrote the texts";
    Snapshot("plot_after_next_paint.png");
  });
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// Dragging a border: a client area narrower than 550 or lower than 350 snaps the window back to
// (10, 10), 600 x 400 (client 592 x 354), whose own nested size message draws the chart; the
// outer size message then draws it again at the new size. Sizes that are big enough are drawn
// as they come; a drag that changes nothing sends nothing. No size message draws texts.
TEST(PlotWindow, DraggedTooSmallItSnapsBackToItsMinimumAndDrawsTheChartForTheNewSize) {
  drv::PlugPort(1, drv::PortKind::Module);
  struct Drag {
    const char* what;
    int width, height;     // outer size dragged to
    bool snaps;
    int cx, cy;            // the client size the chart is then drawn for
    Rows drawing;          // what the size messages draw (see Drawing)
  };
  static const Drag drags[] = {
      {"wider and lower", 760, 560, false, 752, 514, Z + H(75, 51) + H(75, 51)},
      {"client 550 x 350, the smallest", 558, 396, false, 550, 350, Z + H(55, 35) + H(55, 35)},
      {"client 549 wide", 557, 395, true, 592, 354,
       Z + H(59, 35) + H(59, 35) + Z + H(59, 35) + H(59, 35)},
      {"client 349 high", 700, 395, true, 592, 354,
       Z + H(59, 35) + H(59, 35) + Z + H(59, 35) + H(59, 35)},
      {"both far too small", 300, 200, true, 592, 354,
       Z + H(59, 35) + H(59, 35) + Z + H(59, 35) + H(59, 35)},
      {"the size it has", 600, 400, false, 592, 354, {}},
  };
  static HWND other = nullptr;
  drv::Script(drv::WhenIdle(), "show the plot window, then another program's", [] {
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
  });
  drv::Script(drv::WhenIdle(), "another program's window on top", [] {
    other = OtherProgramsWindow();
  });
  for (const Drag& d : drags) {
    drv::Script(drv::WhenIdle(), d.what, [&d] {
      BringToFront(other);
      RECT before = drv::WindowRectOf(Plotter);
      std::size_t from = drv::Ledger().size();
      drv::ResizeWindow(Plotter, d.width, d.height);
      EXPECT_TRUE(Drew(d.drawing, from)) << d.what;
      EXPECT_EQ(cxPlotter, d.cx) << d.what;
      EXPECT_EQ(cyPlotter, d.cy) << d.what;
      RECT client;
      GetClientRect(Plotter, &client);
      EXPECT_EQ(client.right, d.cx) << d.what;
      EXPECT_EQ(client.bottom, d.cy) << d.what;
      if (d.snaps) {
        ExpectSnapped(from, d.what);
      } else {
        EXPECT_TRUE(PlotCalls("SetWindowPos", from).empty()) << d.what;
        RECT want = {before.left, before.top, before.left + d.width, before.top + d.height};
        EXPECT_TRUE(SameRect(drv::WindowRectOf(Plotter), want))
            << d.what << ": at " << Show(drv::WindowRectOf(Plotter));
        EXPECT_EQ(drv::ActiveTopLevel(), other) << d.what << ": a drag does not activate";
        EXPECT_EQ(drv::TopLevelOnTop(), other) << d.what;
      }
    });
  }
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// Minimising reports a client area of 0 x 0: the program asks for (10, 10), 600 x 400 at once.
// A minimised window keeps its empty client area, so no nested size message comes and the chart
// is drawn for 0 x 0; the window is active at (10, 10), and restoring it (the taskbar button)
// brings it back there at 600 x 400 with the chart drawn for 592 x 354.
TEST(PlotWindow, MinimisedItAsksForItsMinimumAndComesBackThere) {
  drv::PlugPort(1, drv::PortKind::Module);
  static HWND other = nullptr;
  static std::size_t from = 0;
  drv::Script(drv::WhenIdle(), "show the plot window", [] {
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
  });
  drv::Script(drv::WhenIdle(), "another program's window on top, then minimise", [] {
    other = OtherProgramsWindow();
    BringToFront(other);
    from = drv::Ledger().size();
    drv::MinimiseWindow(Plotter);
  });
  drv::Script(drv::WhenIdle(), "look at the minimised window, then restore it", [] {
    EXPECT_TRUE(Drew(Z + H(0, 0) + H(0, 0), from));
    EXPECT_EQ(cxPlotter, 0);
    EXPECT_EQ(cyPlotter, 0);
    ExpectSnapped(from, "minimised");
    from = drv::Ledger().size();
    ShowWindow(Plotter, SW_RESTORE);
    EXPECT_TRUE(Drew(Z + H(59, 35) + H(59, 35), from));
    EXPECT_EQ(cxPlotter, 592);
    EXPECT_EQ(cyPlotter, 354);
    EXPECT_TRUE(SameRect(drv::WindowRectOf(Plotter), kSnapped))
        << "at " << Show(drv::WindowRectOf(Plotter));
    EXPECT_TRUE(PlotCalls("SetWindowPos", from).empty()) << "big enough now";
    from = drv::Ledger().size();
  });
  drv::Script(drv::WhenIdle(), "look at the restored window", [] {
    EXPECT_TRUE(Drew(Z + H(59, 35) + T(29, 13) + U, from)) << "the paint of the restored window";
    EXPECT_EQ(drv::ClientPixel(Plotter, 59, 35), kBlack);
    EXPECT_EQ(drv::ClientPixel(Plotter, 532, 319), kBlack) << "0.9 x 592, 0.9 x 355, exclusive";
    EXPECT_EQ(drv::ClientPixel(Plotter, 533, 319), kWhite);
  });
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// A window dragged too small is set to the outer size that holds the chart's smallest client
// area, 550 x 350, under the display's frame metrics: 600 x 400 where that is enough (classic
// Windows), taller where frames, caption and menu bar take more (Windows 10 and 11: 8-pixel
// sizing frames, a 23-pixel caption, a 20-pixel menu bar; or large window titles). One call,
// and the chart is drawn for the client area it got, which is no longer too small.
struct ForcedSize {
  const char* display;
  drv::FrameMetrics metrics;
  int width, height;  // the outer size asked for
  int cx, cy;         // the client area it gives
};

void PrintTo(const ForcedSize& f, std::ostream* os) { *os << f.display; }

class PlotWindowOn : public ::testing::TestWithParam<ForcedSize> {};

TEST_P(PlotWindowOn, DraggedTooSmallItGetsAnOuterSizeThatHoldsTheChart) {
  static ForcedSize f;
  f = GetParam();
  drv::SetFrameMetrics(f.metrics);
  drv::PlugPort(1, drv::PortKind::Module);
  drv::Script(drv::WhenIdle(), "show the plot window", [] {
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
  });
  drv::Script(drv::WhenIdle(), "drag it too small", [] {
    std::size_t from = drv::Ledger().size();
    drv::ResizeWindow(Plotter, 300, 200);
    std::vector<drv::Call> moves = PlotCalls("SetWindowPos", from);
    ASSERT_EQ(moves.size(), 1u) << "a second call would mean the first did not fit";
    EXPECT_EQ(moves[0].X(), 10);
    EXPECT_EQ(moves[0].Y(), 10);
    EXPECT_EQ(moves[0].Flags(), SWP_SHOWWINDOW);
    EXPECT_EQ(moves[0].text, std::to_string(f.width) + " " + std::to_string(f.height));
    EXPECT_EQ(cxPlotter, f.cx);
    EXPECT_EQ(cyPlotter, f.cy);
    const Rows area = H(f.cx / 10, f.cy / 10);
    EXPECT_TRUE(Drew(Z + area + area + Z + area + area, from));
    EXPECT_EQ(drv::ClientPixel(Plotter, f.cx * 9 / 10 - 1, f.cy * 9 / 10 - 1), kBlack)
        << "the plot area's last pixel";
  });
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

INSTANTIATE_TEST_SUITE_P(
    Displays, PlotWindowOn,
    ::testing::Values(ForcedSize{"classic", {19, 4, 19}, 600, 400, 592, 354},
                      ForcedSize{"Windows 10 and 11", {23, 8, 20}, 600, 409, 584, 350},
                      ForcedSize{"large window titles", {70, 4, 19}, 600, 447, 592, 350}),
    [](const ::testing::TestParamInfo<ForcedSize>& info) {
      std::string name;
      for (const char* c = info.param.display; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
      return name;
    });

// "&d)   1/10" and "&a) direkt" set the sweep length and its label, restart the sweep and wipe
// the plot area at once, with no repaint; the grayed entries send nothing, and their ids, were
// they to arrive, would change nothing either.
TEST(PlotWindow, ZoomEntriesWipeAtOnceAndTheGrayedOnesChangeNothing) {
  drv::PlugPort(1, drv::PortKind::Module);
  struct Entry {
    const char* what;
    int id;
    bool enabled;
    int plm;            // the sweep length afterwards
    const char* label;  // the zoom label written, if any
  };
  static const Entry entries[] = {
      {"&d)   1/10", IDM_ZOOM_10, true, 1000, "X * 10  "},
      {"&b)    1/2", IDM_ZOOM_2, false, 1000, nullptr},
      {"&c)    1/5", IDM_ZOOM_5, false, 1000, nullptr},
      {"&e)   1/50", IDM_ZOOM_50, false, 1000, nullptr},
      {"&f)  1/100", IDM_ZOOM_100, false, 1000, nullptr},
      {"&a) direkt", IDM_ZOOM_1, true, 100, "X * 1   "},
      {"&d)   1/10 again", IDM_ZOOM_10, true, 1000, "X * 10  "},
  };
  const POINT dot = {300, 200};  // inside the plot area of the 675 x 488 client area
  static std::size_t from = 0;
  drv::Script(drv::WhenIdle(), "show the plot window", [] {
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
  });
  for (const Entry& e : entries) {
    drv::Script(drv::WhenIdle(), std::string("a dot, then choose ") + e.what, [&e, dot] {
      HDC dc = GetDC(Plotter);
      SetPixel(dc, dot.x, dot.y, col[3]);
      ReleaseDC(Plotter, dc);
      cent = 37;
      drv::ChooseMenu(Plotter, e.id);
      MSG msg;
      EXPECT_EQ(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) != FALSE, e.enabled)
          << e.what << ": a command is on its way only for an enabled entry";
      from = drv::Ledger().size();
    });
    drv::Script(drv::WhenIdle(), std::string("after ") + e.what, [&e, dot] {
      EXPECT_EQ(plm, e.plm) << e.what;
      EXPECT_EQ(cent, e.enabled ? 0 : 37) << e.what;
      EXPECT_TRUE(Drew(e.enabled ? H(67, 48) : Rows{}, from))
          << e.what << ": no repaint";
      EXPECT_EQ(drv::ClientPixel(Plotter, dot.x, dot.y), e.enabled ? kBlack : col[3]) << e.what;
      std::vector<drv::Call> labels;
      for (const drv::Call& c : PlotCalls("TextOutA", from))
        if (c.text.rfind("X * ", 0) == 0) labels.push_back(c);
      ASSERT_EQ(labels.size(), e.label ? 1u : 0u) << e.what;
      if (e.label) {
        EXPECT_EQ(labels[0].text, e.label) << e.what;
        EXPECT_EQ(labels[0].X(), 621) << e.what << ": 0.92 x 675";
        EXPECT_EQ(labels[0].Y(), 405) << e.what << ": 0.83 x 488";
      }
    });
  }
  drv::Script(drv::WhenIdle(), "the grayed ids sent straight to the window", [] {
    for (int id : {IDM_ZOOM_2, IDM_ZOOM_5, IDM_ZOOM_50, IDM_ZOOM_100}) {
      from = drv::Ledger().size();
      cent = 5;
      SendMessageA(Plotter, WM_COMMAND, MAKEWPARAM(id, 0), 0);
      EXPECT_EQ(plm, 1000) << id;
      EXPECT_EQ(cent, 5) << id;
      EXPECT_EQ(drv::Ledger().size(), from) << id << ": no call at all";
      EXPECT_TRUE(IsWindowVisible(Plotter)) << id;
    }
  });
  ScriptClose();
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

}  // namespace
