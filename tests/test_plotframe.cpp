// The chart's frame: plot area, legend, zoom label, ticks, scales and titles, at several client
// sizes, and that the drawing routines hold no device context and leave no object behind.
#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <vector>

#include "pikon.h"
#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/screen.h"

namespace {

using testsupport::ClientPixels;
using testsupport::kBlack;
using testsupport::kGrey;
using testsupport::kWhite;
using testsupport::MakeWindow;

void Fill(HWND w, int cx, int cy, COLORREF color) {
  HDC dc = GetDC(w);
  RECT r;
  SetRect(&r, 0, 0, cx, cy);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
  ReleaseDC(w, dc);
}

COLORREF Pixel(HWND w, int x, int y) { return drv::ClientPixel(w, x, y); }

// Hand-computed positions for three client sizes (double products, truncated once; tick
// lengths truncated before they are added).
struct Tick {
  int i;
  int pos;     // column of a time tick, row of a value tick
  int length;  // in pixels
};

struct Geometry : testsupport::Frame {
  std::vector<Tick> time;   // hang down from row plot.bottom
  std::vector<Tick> value;  // stick out left from column plot.left
};

const Geometry kSizes[] = {
    {testsupport::kFrame600x400,
     {{0, 60, 20}, {1, 64, 4}, {5, 84, 10}, {10, 108, 20}, {99, 535, 4}, {100, 540, 20}},
     // 0.9 x 400 - 0.0195 x 400 = 352.2, not 360 - 7 = 353; 60 - 7 = 53, not trunc(52.5)
     {{0, 360, 15}, {1, 352, 3}, {5, 321, 7}, {10, 282, 15}, {40, 48, 15}}},
    {{601, 405, {60, 40, 540, 364}, {552, 40, 582, 170}, {41, 56, 71, 86, 101, 116, 131, 146},
      552, 319, 336},
     // tick 99: 60.1 + 475.992 = 536.092, not 60 + 475
     {{0, 60, 20}, {1, 64, 4}, {5, 84, 10}, {10, 108, 20}, {99, 536, 4}, {100, 540, 20}},
     {{0, 364, 15}, {1, 356, 3}, {5, 325, 7}, {10, 285, 15}, {40, 48, 15}}},
    {{900, 600, {90, 60, 810, 540}, {828, 60, 873, 252}, {61, 83, 105, 127, 150, 172, 194, 216},
      828, 474, 498},
     {{0, 90, 30}, {1, 97, 6}, {5, 126, 15}, {10, 162, 30}, {99, 802, 6}, {100, 810, 30}},
     {{0, 540, 22}, {1, 528, 4}, {5, 481, 11}, {10, 423, 22}, {40, 72, 22}}},
};

std::string SizeName(const Geometry& g) {
  return std::to_string(g.cx) + " x " + std::to_string(g.cy);
}

// The ledger's calls to the functions named in `table` must be the table.
void ExpectCalls(const std::vector<testsupport::Row>& table) {
  ASSERT_TRUE(testsupport::LedgerHas(table));
}

class PlotFrame : public ::testing::Test {
 protected:
  HWND Open(int cx, int cy) {
    window = MakeWindow(cx, cy);
    return window;
  }
  void TearDown() override {
    if (HasFailure() && window) {
      const std::string path =
          std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png";
      if (drv::SaveClientPng(window, path)) std::cout << "client area saved as " << path << "\n";
    }
    if (window) DestroyWindow(window);
  }
  HWND window = nullptr;
};

// Counts the pixels of the ring just inside `r` that are not black and of the ring just outside
// it that are not white; with `whole`, every pixel inside must be black.
int WrongAround(HWND w, const RECT& r, bool whole) {
  int wrong = 0;
  for (int y = r.top - 1; y <= r.bottom; ++y)
    for (int x = r.left - 1; x <= r.right; ++x) {
      const bool outside = x < r.left || x >= r.right || y < r.top || y >= r.bottom;
      const bool edge = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
      if (outside)
        wrong += Pixel(w, x, y) != kWhite;
      else if (edge || whole)
        wrong += Pixel(w, x, y) != kBlack;
    }
  return wrong;
}

TEST_F(PlotFrame, PlotAreaAndLegendBoxCoverExactlyTheirRectangles) {
  for (const Geometry& g : kSizes) {
    SCOPED_TRACE(SizeName(g));
    if (window) DestroyWindow(window);
    HWND w = Open(g.cx, g.cy);
    Fill(w, g.cx, g.cy, kWhite);
    HinterGrund(w, g.cx, g.cy);
    EXPECT_EQ(WrongAround(w, g.plot, true), 0) << "plot area";
    // The legend entries lie inside the box, on black.
    EXPECT_EQ(WrongAround(w, g.legend, false), 0) << "legend box";
  }
}

TEST_F(PlotFrame, TicksHaveTheirPositionsAndLengths) {
  for (const Geometry& g : kSizes) {
    SCOPED_TRACE(SizeName(g));
    if (window) DestroyWindow(window);
    HWND w = Open(g.cx, g.cy);
    Fill(w, g.cx, g.cy, kGrey);
    drv::ClearLedger();
    ZeichneGrund(w, g.cx, g.cy);
    EXPECT_EQ(drv::CountOf("LineTo"), 101u + 41u);
    EXPECT_EQ(Pixel(w, 0, 0), kWhite);
    EXPECT_EQ(Pixel(w, g.cx - 1, g.cy - 1), kWhite);
    const int base = g.plot.bottom;
    for (const Tick& t : g.time) {
      SCOPED_TRACE("time tick " + std::to_string(t.i));
      for (int y = base; y < base + t.length; ++y) EXPECT_EQ(Pixel(w, t.pos, y), kBlack) << y;
      EXPECT_EQ(Pixel(w, t.pos, base + t.length), kWhite) << "one past the end";
      EXPECT_EQ(Pixel(w, t.pos - 1, base + 1), kWhite);
      EXPECT_EQ(Pixel(w, t.pos + 1, base + 1), kWhite);
    }
    const int left = g.plot.left;
    for (const Tick& t : g.value) {
      SCOPED_TRACE("value tick " + std::to_string(t.i));
      for (int x = left; x > left - t.length; --x) EXPECT_EQ(Pixel(w, x, t.pos), kBlack) << x;
      EXPECT_EQ(Pixel(w, left - t.length, t.pos), kWhite) << "one past the end";
      EXPECT_EQ(Pixel(w, left - 1, t.pos - 1), kWhite);
      EXPECT_EQ(Pixel(w, left - 1, t.pos + 1), kWhite);
    }
  }
}

TEST_F(PlotFrame, LegendAndZoomLabelAreDrawnWhereAndHowTheyBelong) {
  for (const Geometry& g : kSizes) {
    SCOPED_TRACE(SizeName(g));
    if (window) DestroyWindow(window);
    HWND w = Open(g.cx, g.cy);
    for (int length : {100, 1000}) {
      SCOPED_TRACE(length);
      plm = length;
      drv::ClearLedger();
      HinterGrund(w, g.cx, g.cy);
      ExpectCalls(testsupport::HinterGrundCalls(w, g, length == 100 ? "X * 1   " : "X * 10  "));
    }
  }
}

TEST_F(PlotFrame, LegendEntriesShowTheChannelColoursInTheirRows) {
  const Geometry& g = kSizes[0];
  HWND w = Open(g.cx, g.cy);
  Fill(w, g.cx, g.cy, kWhite);
  HinterGrund(w, g.cx, g.cy);
  for (int i = 1; i <= 8; ++i) {
    SCOPED_TRACE(i);
    const int top = g.entryTop[i - 1];
    int inRows = 0, elsewhere = 0;
    for (int y = 0; y < g.cy; ++y)
      for (int x = g.legend.left; x < g.cx; ++x)
        if (Pixel(w, x, y) == col[i]) ++(y >= top && y < top + 16 ? inRows : elsewhere);
    EXPECT_GT(inRows, 0);
    EXPECT_EQ(elsewhere, 0);
  }
}

TEST_F(PlotFrame, ZoomTextIsAnchoredAndTheShorterLabelBlanksTheLonger) {
  const Geometry& g = kSizes[0];
  HWND w = Open(g.cx, g.cy);
  // On grey, the opaque white boxes show where the texts are anchored.
  Fill(w, g.cx, g.cy, kGrey);
  plm = 100;
  HinterGrund(w, g.cx, g.cy);
  for (int top : {g.zoomY, g.labelY}) {
    EXPECT_EQ(Pixel(w, g.zoomX, top), kWhite) << top;
    EXPECT_EQ(Pixel(w, g.zoomX - 1, top), kGrey) << top;
  }
  EXPECT_EQ(Pixel(w, g.zoomX, g.zoomY - 1), kGrey);
  EXPECT_EQ(Pixel(w, g.zoomX, g.labelY + 16), kGrey);

  auto zoomArea = [&] {
    std::vector<COLORREF> pixels;
    for (int y = g.zoomY; y < g.labelY + 16; ++y)
      for (int x = g.zoomX; x < g.cx; ++x) pixels.push_back(Pixel(w, x, y));
    return pixels;
  };
  Fill(w, g.cx, g.cy, kWhite);
  HinterGrund(w, g.cx, g.cy);
  const std::vector<COLORREF> fresh = zoomArea();
  plm = 1000;
  HinterGrund(w, g.cx, g.cy);
  EXPECT_NE(zoomArea(), fresh);
  plm = 100;
  HinterGrund(w, g.cx, g.cy);
  EXPECT_EQ(zoomArea(), fresh) << "what is left of X * 10 after X * 1 was drawn over it";
}

TEST_F(PlotFrame, HinterGrundAloneBlanksOnlyPlotAreaLegendAndZoomLabel) {
  const Geometry& g = kSizes[0];
  HWND w = Open(g.cx, g.cy);
  ZeichneGrund(w, g.cx, g.cy);
  Texte(w, g.cx, g.cy);
  std::vector<COLORREF> expected = ClientPixels(w, g.cx, g.cy);

  struct Dot {
    int x, y;
    bool wiped;
  } dots[] = {
      {60, 40, true},    {539, 359, true},  {300, 200, true}, {560, 100, true},  // plot, legend
      {553, 317, true},  {553, 333, true},                                        // zoom texts
      {60, 360, false},  {300, 39, false},  {540, 200, false},                    // around
      {64, 362, false},  {37, 355, false},  {300, 20, false}, {40, 20, false},    // tick, scale,
      {570, 360, false}, {580, 10, false},                                        // titles, mark
  };
  HDC dc = GetDC(w);
  for (const Dot& d : dots) {
    SetPixel(dc, d.x, d.y, RGB(255, 0, 0));
    if (!d.wiped) expected[std::size_t(d.y) * std::size_t(g.cx) + std::size_t(d.x)] = RGB(255, 0, 0);
  }
  ReleaseDC(w, dc);

  HinterGrund(w, g.cx, g.cy);
  const std::vector<COLORREF> after = ClientPixels(w, g.cx, g.cy);
  for (std::size_t i = 0; i < after.size(); ++i)
    if (after[i] != expected[i]) {
      ADD_FAILURE() << "first difference at (" << i % std::size_t(g.cx) << ", "
                    << i / std::size_t(g.cx) << "): 0x" << std::hex << after[i] << " instead of 0x"
                    << expected[i];
      break;
    }
}

TEST_F(PlotFrame, TexteDrawsScalesCaptionsTitleAndMark) {
  const Geometry& g = kSizes[0];
  HWND w = Open(g.cx, g.cy);
  drv::ClearLedger();
  Texte(w, g.cx, g.cy);
  const std::string system = "System";  // the stock font, selected back before each delete
  ExpectCalls({
      {"TextOutA", w, 36, 352, 0, "0"},
      {"TextOutA", w, 36, 274, 0, "1"},
      {"TextOutA", w, 36, 196, 0, "2"},
      {"TextOutA", w, 36, 118, 0, "3"},
      {"TextOutA", w, 36, 40, 0, "4"},
      {"TextOutA", w, 57, 376, 0, "0"},
      {"TextOutA", w, 102, 376, 0, "10"},
      {"TextOutA", w, 150, 376, 0, "20"},
      {"TextOutA", w, 198, 376, 0, "30"},
      {"TextOutA", w, 245, 376, 0, "40"},  // 0.41 x 600 is 245.99999999999997 in double
      {"TextOutA", w, 294, 376, 0, "50"},
      {"TextOutA", w, 341, 376, 0, "60"},  // 0.57 x 600 is 341.99999999999994
      {"TextOutA", w, 390, 376, 0, "70"},
      {"TextOutA", w, 438, 376, 0, "80"},
      {"TextOutA", w, 486, 376, 0, "90"},
      {"TextOutA", w, 534, 376, 0, "100"},
      {"CreateFontA", nullptr, 22, FW_NORMAL, 0, ""},
      {"SelectObject", w, 22, FW_NORMAL, 0, ""},
      {"TextOutA", w, 30, 15, 0, "Volt"},
      {"TextOutA", w, 549, 352, 0, "Wert"},
      {"SelectObject", w, 16, FW_BOLD, 0, system},
      {"DeleteObject", nullptr, 0, 0, 0, ""},
      {"CreateFontA", nullptr, 30, FW_MEDIUM, 0, "ARIAL"},
      {"SelectObject", w, 30, FW_MEDIUM, 0, "ARIAL"},
      {"TextOutA", w, 210, 8, 0, "PIKON Plotter"},
      {"SelectObject", w, 16, FW_BOLD, 0, system},
      {"DeleteObject", nullptr, 0, 0, 0, ""},
      {"CreateFontA", nullptr, 12, FW_NORMAL, 0, ""},
      {"SelectObject", w, 12, FW_NORMAL, 0, ""},
      {"TextOutA", w, 564, 8, 0, "\xC2\xA9 MTL"},  // the maker's mark, in UTF-8
      {"SelectObject", w, 16, FW_BOLD, 0, system},
      {"DeleteObject", nullptr, 0, 0, 0, ""},
  });

  // Black on opaque white in a fresh context: on grey, each text's box starts at its anchor.
  Fill(w, g.cx, g.cy, kGrey);
  Texte(w, g.cx, g.cy);
  const POINT anchors[] = {{36, 352}, {57, 376}, {534, 376}, {30, 15}, {549, 352}, {210, 8}, {564, 8}};
  for (const POINT& p : anchors) {
    EXPECT_EQ(Pixel(w, p.x, p.y), kWhite) << p.x << ", " << p.y;
    EXPECT_EQ(Pixel(w, p.x - 1, p.y), kGrey) << p.x << ", " << p.y;
    EXPECT_EQ(Pixel(w, p.x, p.y - 1), kGrey) << p.x << ", " << p.y;
  }
}

TEST_F(PlotFrame, EveryRoutineReleasesItsContextsAndDeletesItsObjects) {
  const Geometry& g = kSizes[0];
  HWND w = Open(g.cx, g.cy);
  const struct {
    const char* name;
    void (*routine)(HWND, int, int);
    std::size_t contexts;  // each routine gets its own; ZeichneGrund's HinterGrund one more
  } routines[] = {{"ZeichneGrund", ZeichneGrund, 2}, {"HinterGrund", HinterGrund, 1},
                  {"Texte", Texte, 1}};
  for (const auto& r : routines) {
    SCOPED_TRACE(r.name);
    drv::ClearLedger();
    r.routine(w, g.cx, g.cy);
    EXPECT_EQ(drv::LiveDeviceContexts(), 0u);
    EXPECT_EQ(drv::LiveGdiObjects(), 0u);
    EXPECT_EQ(drv::CountOf("GetDC"), r.contexts);
    EXPECT_EQ(drv::CountOf("ReleaseDC"), r.contexts);
    EXPECT_EQ(drv::CountOf("CreateSolidBrush") + drv::CountOf("CreateFontA"),
              drv::CountOf("DeleteObject"));
    for (const drv::Call& c : drv::CallsTo("GetDC")) EXPECT_EQ(c.window, w);
  }
}

}  // namespace
