// The platform's painting semantics: rectangles, lines, pixels, text, device contexts and GDI
// objects, and what happens to handles that are gone.
#include <gtest/gtest.h>
#include <png.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/screen.h"

namespace {

using testsupport::ClientPixels;
using testsupport::kBlack;
using testsupport::kGrey;
using testsupport::kWhite;
using testsupport::MakeWindow;

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  RECT r;
  SetRect(&r, left, top, right, bottom);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// The smallest rectangle holding every pixel that is not `background`; empty if none.
RECT ChangedBox(HWND w, int width, int height, COLORREF background) {
  RECT box = {width, height, 0, 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (drv::ClientPixel(w, x, y) != background) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

struct PixelCase {
  const char* what;
  int x, y;
  COLORREF color;
};

void ExpectPixels(HWND w, const std::vector<PixelCase>& cases) {
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(drv::ClientPixel(w, cases[i].x, cases[i].y), cases[i].color)
        << "case " << i << ": " << cases[i].what << " at (" << cases[i].x << ", " << cases[i].y
        << ")";
}

class Gdi : public ::testing::Test {
 protected:
  void SetUp() override {
    window = MakeWindow(40, 30);
    dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
    Fill(dc, 0, 0, 40, 30, kGrey);
  }
  void TearDown() override {
    if (dc) ReleaseDC(window, dc);
    if (HasFailure()) {
      const std::string path = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".png";
      if (drv::SaveClientPng(window, path)) std::cout << "client area saved as " << path << "\n";
    }
    DestroyWindow(window);
  }
  HWND window = nullptr;
  HDC dc = nullptr;
};

TEST_F(Gdi, FillRectCoversLeftAndTopButNotRightAndBottomAndClips) {
  RECT r;
  EXPECT_FALSE(SetRect(nullptr, 10, 5, 20, 15));
  SetRect(&r, 10, 5, 20, 15);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_NE(FillRect(dc, &r, red), 0);
  SetRect(&r, -5, -5, 3, 2);  // partly outside the client area
  EXPECT_NE(FillRect(dc, &r, red), 0);
  SetRect(&r, 35, 25, 80, 90);
  EXPECT_NE(FillRect(dc, &r, red), 0);
  SetRect(&r, 30, 10, 25, 20);  // right of left: nothing
  FillRect(dc, &r, red);
  DeleteObject(red);
  SetRect(&r, 0, 20, 2, 22);
  EXPECT_NE(FillRect(dc, &r, (HBRUSH)(COLOR_WINDOW + 1)), 0);  // a system colour as brush

  ExpectPixels(window, {
      {"top-left corner", 10, 5, RGB(255, 0, 0)},
      {"last column and row inside", 19, 14, RGB(255, 0, 0)},
      {"right edge is left out", 20, 10, kGrey},
      {"bottom edge is left out", 15, 15, kGrey},
      {"left of the rectangle", 9, 10, kGrey},
      {"above the rectangle", 15, 4, kGrey},
      {"clipped rectangle at the origin", 0, 0, RGB(255, 0, 0)},
      {"clipped rectangle, last column", 2, 1, RGB(255, 0, 0)},
      {"clipped rectangle, right edge", 3, 1, kGrey},
      {"clipped rectangle, bottom edge", 2, 2, kGrey},
      {"rectangle running off the far corner", 39, 29, RGB(255, 0, 0)},
      {"rectangle running off, its left edge", 34, 29, kGrey},
      {"inverted rectangle fills nothing", 27, 15, kGrey},
      {"COLOR_WINDOW + 1 paints white", 1, 21, kWhite},
  });
}

TEST_F(Gdi, LineToCoversItsStartButNotItsEndAndMovesTheCurrentPosition) {
  POINT previous = {-1, -1};
  EXPECT_TRUE(MoveToEx(dc, 2, 3, &previous));
  EXPECT_EQ(previous.x, 0);  // a fresh context starts at (0, 0)
  EXPECT_EQ(previous.y, 0);
  EXPECT_TRUE(LineTo(dc, 8, 3));   // horizontal
  EXPECT_TRUE(LineTo(dc, 8, 10));  // continues from (8, 3) downwards
  MoveToEx(dc, 20, 20, nullptr);
  LineTo(dc, 15, 15);  // diagonal, up and left
  MoveToEx(dc, 5, 25, nullptr);
  LineTo(dc, -10, 25);  // runs off the left edge
  MoveToEx(dc, 30, 5, &previous);
  EXPECT_EQ(previous.x, -10);
  EXPECT_EQ(previous.y, 25);

  ExpectPixels(window, {
      {"start point", 2, 3, kBlack},
      {"inside the horizontal line", 7, 3, kBlack},
      {"the corner: end of the first line, start of the second", 8, 3, kBlack},
      {"before the start", 1, 3, kGrey},
      {"last pixel of the vertical line", 8, 9, kBlack},
      {"end of the vertical line is left out", 8, 10, kGrey},
      {"diagonal start", 20, 20, kBlack},
      {"diagonal middle", 17, 17, kBlack},
      {"diagonal last pixel", 16, 16, kBlack},
      {"diagonal end is left out", 15, 15, kGrey},
      {"clipped line, start", 5, 25, kBlack},
      {"clipped line, at the edge", 0, 25, kBlack},
  });
}

TEST_F(Gdi, SetPixelReturnsTheColourSetAndClips) {
  EXPECT_EQ(SetPixel(dc, 3, 4, RGB(1, 2, 3)), RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 3, 4), RGB(1, 2, 3));
  EXPECT_EQ(SetPixel(dc, 39, 29, RGB(9, 9, 9)), RGB(9, 9, 9));
  const std::vector<COLORREF> before = ClientPixels(window, 40, 30);
  const struct {
    int x, y;
  } outside[] = {{-1, 0}, {0, -1}, {40, 0}, {0, 30}, {40, 30}, {-100000, 100000}};
  for (const auto& p : outside) {
    EXPECT_EQ(SetPixel(dc, p.x, p.y, RGB(255, 0, 0)), CLR_INVALID) << p.x << ", " << p.y;
    EXPECT_EQ(GetPixel(dc, p.x, p.y), CLR_INVALID) << p.x << ", " << p.y;
  }
  EXPECT_EQ(ClientPixels(window, 40, 30), before);
  EXPECT_EQ(drv::ClientPixel(window, 40, 0), CLR_INVALID);
}

TEST_F(Gdi, EveryContextStartsWithTheDocumentedDefaults) {
  // Change everything in one context; the next one starts fresh all the same.
  HFONT font = CreateFontA(22, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    EXPECT_EQ(SetTextColor(dc, RGB(255, 0, 0)), kBlack);
    EXPECT_EQ(SetBkColor(dc, RGB(0, 0, 255)), kWhite);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    POINT previous = {-1, -1};
    MoveToEx(dc, 7, 7, &previous);
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
    ASSERT_EQ(ReleaseDC(window, dc), 1);
    dc = GetDC(window);
    ASSERT_NE(dc, nullptr);
  }
  EXPECT_TRUE(DeleteObject(font));

  // The defaults at work: black on an opaque white box, one cell of the system font high.
  TextOutA(dc, 4, 6, "Mi", 2);
  const RECT box = ChangedBox(window, 40, 30, kGrey);
  EXPECT_EQ(box.left, 4);
  EXPECT_EQ(box.top, 6);
  EXPECT_EQ(box.bottom - box.top, 16);
  EXPECT_EQ(drv::ClientPixel(window, 4, 6), kWhite);
  bool black = false;
  for (int y = box.top; y < box.bottom; ++y)
    for (int x = box.left; x < box.right; ++x) black = black || drv::ClientPixel(window, x, y) == kBlack;
  EXPECT_TRUE(black);
}

TEST_F(Gdi, TextIsAnchoredAtItsCellsTopLeftAndTheCellHeightIsHonoured) {
  HWND big = MakeWindow(200, 60);
  HDC bigDc = GetDC(big);
  struct {
    const char* what;
    int height;
    const char* face;
    int minCell, maxCell;
  } fonts[] = {
      {"system font", 0, nullptr, 16, 16},
      {"cell height 22", 22, nullptr, 22, 22},
      {"cell height 30, ARIAL", 30, "ARIAL", 30, 30},
      {"cell height 12", 12, nullptr, 12, 12},
      {"character height 22: the cell adds the internal leading", -22, "Arial", 23, 30},
  };
  for (const auto& f : fonts) {
    SCOPED_TRACE(f.what);
    Fill(bigDc, 0, 0, 200, 60, kGrey);
    HFONT font = f.height ? CreateFontA(f.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0,
                                        0, 0, 0, f.face)
                          : nullptr;
    if (font) SelectObject(bigDc, font);
    SetBkColor(bigDc, RGB(0, 0, 255));
    EXPECT_TRUE(TextOutA(bigDc, 11, 7, "Volt", 4));
    const RECT box = ChangedBox(big, 200, 60, kGrey);
    EXPECT_EQ(box.left, 11);
    EXPECT_EQ(box.top, 7);
    EXPECT_GE(box.bottom - box.top, f.minCell);
    EXPECT_LE(box.bottom - box.top, f.maxCell);
    EXPECT_EQ(drv::ClientPixel(big, 11, 7), RGB(0, 0, 255));  // the box's corner: background
    EXPECT_EQ(drv::ClientPixel(big, box.right - 1, box.bottom - 1), RGB(0, 0, 255));
    if (font) {
      SelectObject(bigDc, GetStockObject(SYSTEM_FONT));
      DeleteObject(font);
    }
  }
  ReleaseDC(big, bigDc);
  DestroyWindow(big);
}

TEST_F(Gdi, ArialAndMsSansSerifAreDrawnWithLiberationSansAndWeightCounts) {
  HWND big = MakeWindow(200, 40);
  HDC bigDc = GetDC(big);
  auto render = [&](const char* face, int weight) {
    Fill(bigDc, 0, 0, 200, 40, kWhite);
    HFONT font = CreateFontA(20, 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    SelectObject(bigDc, font);
    TextOutA(bigDc, 2, 2, "Plotter 0123", 12);
    SelectObject(bigDc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    return ClientPixels(big, 200, 40);
  };
  const std::vector<COLORREF> liberation = render("Liberation Sans", FW_NORMAL);
  EXPECT_EQ(render("ARIAL", FW_NORMAL), liberation);
  EXPECT_EQ(render("Arial", FW_MEDIUM), liberation);  // no medium face: the regular one
  EXPECT_EQ(render("MS Sans Serif", FW_NORMAL), liberation);
  const std::vector<COLORREF> bold = render("Arial", FW_BOLD);
  EXPECT_NE(bold, liberation);
  EXPECT_EQ(render("Liberation Sans", FW_BOLD), bold);
  ReleaseDC(big, bigDc);
  DestroyWindow(big);
}

TEST_F(Gdi, TransparentTextLeavesTheBoxAndOpaqueTextFillsIt) {
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 0));
  TextOutA(dc, 2, 2, "W", 1);
  const RECT glyph = ChangedBox(window, 40, 30, kGrey);
  EXPECT_GT(glyph.top, 2);  // the internal leading stays untouched
  EXPECT_EQ(drv::ClientPixel(window, 2, 2), kGrey);
  bool yellow = false;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) yellow = yellow || drv::ClientPixel(window, x, y) == RGB(255, 255, 0);
  EXPECT_TRUE(yellow) << "fully covered pixels take the text colour itself";
}

// Text on its opaque box is drawn from colours blended once per colour pair; it must come out
// as the same text blended transparently onto that colour, for every pair in turn (more pairs
// than a glyph keeps at hand) and where neighbouring glyphs overlap ("fj", "/W").
TEST_F(Gdi, OpaqueTextHasThePixelsOfTransparentTextOnTheSameColour) {
  HWND wide = MakeWindow(300, 80);
  HDC wideDc = GetDC(wide);
  const char text[] = "fj/Wq 0.123 4567 89-";
  const struct {
    COLORREF fg, bg;
  } pairs[] = {{kBlack, kWhite},
               {kBlack, RGB(255, 255, 0)},
               {RGB(255, 0, 0), kWhite},
               {RGB(0, 0, 255), RGB(255, 255, 0)},
               {RGB(0, 128, 0), RGB(40, 40, 40)},
               {kBlack, kWhite}};
  for (const auto& pair : pairs) {
    SCOPED_TRACE(testing::Message() << std::hex << "text " << pair.fg << " on " << pair.bg);
    Fill(wideDc, 0, 0, 300, 80, pair.bg);
    SetTextColor(wideDc, pair.fg);
    SetBkColor(wideDc, pair.bg);
    SetBkMode(wideDc, OPAQUE);
    TextOutA(wideDc, 3, 2, text, int(sizeof text - 1));
    SetBkMode(wideDc, TRANSPARENT);
    TextOutA(wideDc, 3, 42, text, int(sizeof text - 1));
    int differing = 0, inked = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 300; ++x) {
        const COLORREF top = drv::ClientPixel(wide, x, y);
        differing += top != drv::ClientPixel(wide, x, y + 40) ? 1 : 0;
        inked += top != pair.bg ? 1 : 0;
      }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(inked, 100) << "no text was drawn";
  }
  ReleaseDC(wide, wideDc);
  DestroyWindow(wide);
}

TEST_F(Gdi, DrawTextClipsToItsRectangleAndBreaksLines) {
  SetBkColor(dc, RGB(0, 0, 255));
  RECT r;
  SetRect(&r, 5, 3, 25, 12);
  EXPECT_EQ(DrawTextA(dc, "WWWWWWWW", -1, &r, 0), 16);
  EXPECT_EQ(DrawTextA(dc, "", -1, &r, 0), 0);
  const RECT box = ChangedBox(window, 40, 30, kGrey);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 3);
  EXPECT_EQ(box.right, 25);
  EXPECT_EQ(box.bottom, 12);

  HWND big = MakeWindow(100, 80);
  HDC bigDc = GetDC(big);
  Fill(bigDc, 0, 0, 100, 80, kGrey);
  SetRect(&r, 0, 0, 100, 80);
  EXPECT_EQ(DrawTextA(bigDc, "A\r\nB\nC", -1, &r, 0), 48);
  EXPECT_EQ(ChangedBox(big, 100, 80, kGrey).bottom, 48);
  Fill(bigDc, 0, 0, 100, 80, kGrey);
  EXPECT_EQ(DrawTextA(bigDc, "A\nB", 3, &r, DT_SINGLELINE), 16);
  EXPECT_EQ(ChangedBox(big, 100, 80, kGrey).bottom, 16);

  // "&&" stands for "&"; a single "&" underlines the next character.
  Fill(bigDc, 0, 0, 100, 80, kGrey);
  TextOutA(bigDc, 3, 3, "a&b", 3);
  const std::vector<COLORREF> plain = ClientPixels(big, 100, 80);
  Fill(bigDc, 0, 0, 100, 80, kGrey);
  SetRect(&r, 3, 3, 100, 80);
  DrawTextA(bigDc, "a&&b", 4, &r, 0);
  EXPECT_EQ(ClientPixels(big, 100, 80), plain);
  Fill(bigDc, 0, 0, 100, 80, kGrey);
  DrawTextA(bigDc, "a&&b", 4, &r, DT_NOPREFIX);
  EXPECT_NE(ClientPixels(big, 100, 80), plain);

  Fill(bigDc, 0, 0, 100, 80, kGrey);
  TextOutA(bigDc, 3, 3, "ab", 2);
  const std::vector<COLORREF> ab = ClientPixels(big, 100, 80);
  Fill(bigDc, 0, 0, 100, 80, kGrey);
  DrawTextA(bigDc, "&ab", 3, &r, 0);
  const std::vector<COLORREF> underlined = ClientPixels(big, 100, 80);
  std::vector<int> rows;
  for (std::size_t i = 0; i < ab.size(); ++i)
    if (ab[i] != underlined[i] && (rows.empty() || rows.back() != int(i / 100))) rows.push_back(int(i / 100));
  EXPECT_EQ(rows.size(), 1u) << "the underline is one row";

  ReleaseDC(big, bigDc);
  DestroyWindow(big);
}

TEST_F(Gdi, NarrowTextIsWindows1252) {
  drv::ClearLedger();
  TextOutA(dc, 0, 0, "\x80\xE4\xDF\x9F x", 6);
  const std::vector<drv::Call> calls = drv::CallsTo("TextOutA");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].text, "\xE2\x82\xAC\xC3\xA4\xC3\x9F\xC5\xB8 x");  // "€äßŸ x" in UTF-8
}

TEST_F(Gdi, GoneHandlesFailHarmlessly) {
  // A deleted brush, also once its slot has been reused.
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_FALSE(DeleteObject(red));
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  EXPECT_NE(green, red);
  RECT r;
  SetRect(&r, 0, 0, 40, 30);
  EXPECT_EQ(FillRect(dc, &r, red), 0);
  EXPECT_EQ(drv::ClientPixel(window, 5, 5), kGrey);
  EXPECT_TRUE(DeleteObject(green));

  // A font cannot be deleted while a context has it selected.
  HFONT font = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
  EXPECT_EQ(SelectObject(dc, font), GetStockObject(SYSTEM_FONT));
  EXPECT_FALSE(DeleteObject(font));
  EXPECT_EQ(drv::LiveGdiObjects(), 1u);
  EXPECT_TRUE(TextOutA(dc, 0, 0, "x", 1));
  EXPECT_EQ(SelectObject(dc, GetStockObject(SYSTEM_FONT)), font);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(SelectObject(dc, font), nullptr);
  EXPECT_EQ(drv::LiveGdiObjects(), 0u);

  // Stock objects are never deleted.
  EXPECT_TRUE(DeleteObject(GetStockObject(SYSTEM_FONT)));
  EXPECT_NE(SelectObject(dc, GetStockObject(SYSTEM_FONT)), nullptr);

  // A released context.
  HDC second = GetDC(window);
  EXPECT_EQ(drv::LiveDeviceContexts(), 2u);
  EXPECT_EQ(ReleaseDC(window, second), 1);
  EXPECT_EQ(ReleaseDC(window, second), 0);
  EXPECT_EQ(SetPixel(second, 35, 25, kBlack), CLR_INVALID);
  EXPECT_FALSE(TextOutA(second, 0, 0, "x", 1));
  EXPECT_FALSE(MoveToEx(second, 0, 0, nullptr));
  EXPECT_FALSE(LineTo(second, 5, 5));
  EXPECT_EQ(SetTextColor(second, kBlack), CLR_INVALID);
  EXPECT_EQ(SelectObject(second, GetStockObject(SYSTEM_FONT)), nullptr);
  EXPECT_EQ(drv::ClientPixel(window, 35, 25), kGrey);

  // A context whose window was destroyed draws nothing, and can still be released.
  HWND other = MakeWindow(10, 10);
  HDC orphan = GetDC(other);
  ASSERT_NE(orphan, nullptr);
  ASSERT_TRUE(DestroyWindow(other));
  EXPECT_EQ(SetPixel(orphan, 1, 1, kBlack), CLR_INVALID);
  EXPECT_EQ(FillRect(orphan, &r, (HBRUSH)(COLOR_WINDOW + 1)), 0);
  EXPECT_FALSE(TextOutA(orphan, 0, 0, "x", 1));
  SetRect(&r, 0, 0, 10, 10);
  EXPECT_EQ(DrawTextA(orphan, "x", 1, &r, 0), 0);
  EXPECT_FALSE(LineTo(orphan, 5, 5));
  EXPECT_EQ(GetDC(other), nullptr);
  EXPECT_EQ(ReleaseDC(other, orphan), 1);
  EXPECT_EQ(drv::LiveDeviceContexts(), 1u);
  EXPECT_EQ(drv::ClientPixel(other, 1, 1), CLR_INVALID);
  EXPECT_FALSE(drv::SaveClientPng(other, "gone.png"));
}

TEST_F(Gdi, LiveCountsFollowCreationAndDeletion) {
  EXPECT_EQ(drv::LiveDeviceContexts(), 1u);  // the fixture's
  EXPECT_EQ(drv::LiveGdiObjects(), 0u);
  HBRUSH brush = CreateSolidBrush(kBlack);
  HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, nullptr);
  GetStockObject(SYSTEM_FONT);
  EXPECT_EQ(drv::LiveGdiObjects(), 2u);
  HDC second = GetDC(window);
  EXPECT_EQ(drv::LiveDeviceContexts(), 2u);
  DeleteObject(brush);
  EXPECT_EQ(drv::LiveGdiObjects(), 1u);
  DeleteObject(font);
  ReleaseDC(window, second);
  EXPECT_EQ(drv::LiveGdiObjects(), 0u);
  EXPECT_EQ(drv::LiveDeviceContexts(), 1u);
}

TEST_F(Gdi, SavedPngHoldsTheClientPixels) {
  SetPixel(dc, 0, 0, RGB(1, 2, 3));
  SetPixel(dc, 39, 29, RGB(250, 128, 7));
  Fill(dc, 10, 10, 20, 12, RGB(0, 200, 100));
  const std::string path = ::testing::TempDir() + "gdi_snapshot.png";
  ASSERT_TRUE(drv::SaveClientPng(window, path));

  png_image image = {};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  EXPECT_EQ(image.width, 40u);
  EXPECT_EQ(image.height, 30u);
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
  std::remove(path.c_str());
  int wrong = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const png_byte* p = &rgb[std::size_t(y * 40 + x) * 3];
      wrong += RGB(p[0], p[1], p[2]) != drv::ClientPixel(window, x, y);
    }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(rgb[0], 1);  // red first, as the file format has it
  EXPECT_FALSE(drv::SaveClientPng(window, ::testing::TempDir() + "no such folder/x.png"));
}

}  // namespace
