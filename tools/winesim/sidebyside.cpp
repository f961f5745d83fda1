// The native side of the comparison with Wine: PIKON over the Win32 subset, with the same
// simulated module and the same session as tests/wine/e2e.sh up to its stop (plot window shown
// with a 600 x 400 client area, "Messen", "Stop/Reset", the answer, the completing sweep), then
// the plot window's client area is compared with Wine's screenshot of the same moment, and the
// windows' and controls' rectangles with the ones remote.exe read.
//
//   pikon_sidebyside WINE-PLOT.png WINE-RECTS.txt OUTDIR CODE1 ... CODE8
//
// Prints the share of identical pixels outside the chart's texts (which the two platforms draw
// with different fonts) and inside them, and every rectangle that differs. Exit code 1 when a
// pixel outside the texts differs: those are plain fills, lines and dots at computed places.
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "pikon.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/screen.h"
#include "winapi/driver/session.h"

namespace {

const int kWidth = 600, kHeight = 400;

struct Image {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  unsigned Pixel(int x, int y) const {
    const unsigned char* p = &rgb[3 * (std::size_t(y) * std::size_t(width) + std::size_t(x))];
    return unsigned(p[0]) << 16 | unsigned(p[1]) << 8 | p[2];
  }
};

bool ReadPng(const std::string& path, Image& image) {
  png_image info{};
  info.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&info, path.c_str())) return false;
  info.format = PNG_FORMAT_RGB;
  image.width = int(info.width);
  image.height = int(info.height);
  image.rgb.resize(PNG_IMAGE_SIZE(info));
  return png_image_finish_read(&info, nullptr, image.rgb.data(), 0, nullptr) != 0;
}

// Rectangles x, y, w, h by name, as remote.exe prints them.
using Rects = std::map<std::string, std::vector<long>>;

void Put(Rects& rects, const std::string& name, const RECT& r) {
  rects[name] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Rects ReadRects(const std::string& path) {
  Rects rects;
  std::ifstream in(path);
  std::string line, name;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::vector<long> v(4);
    if (fields >> name >> v[0] >> v[1] >> v[2] >> v[3]) rects[name] = v;
  }
  return rects;
}

// The same names for the native windows: top-level windows on the screen, panels and controls
// in the main window's client coordinates.
Rects NativeRects() {
  Rects rects;
  HWND main = drv::FindTopLevel(g_szClassName);
  for (auto [name, w] : {std::pair<const char*, HWND>{"main", main}, {"plot", Plotter}}) {
    Put(rects, std::string(name) + ".window", drv::WindowRectOf(w));
    RECT c = drv::ClientAreaOf(w);
    Put(rects, std::string(name) + ".client", RECT{0, 0, c.right - c.left, c.bottom - c.top});
  }
  // A panel is named by its first control, as remote.exe names it; controls by their ids
  // (the subset has no GetDlgCtrlID: the program never asks).
  static const int kFirst[] = {IDC_MESSEN, IDC_WERT_BASE + 1, IDC_SATZZAHL, IDC_STOP, IDC_COM1};
  std::vector<int> ids = {IDC_MESSEN, IDC_TOGGLE_PLOTTER, IDC_STOP, IDC_SATZZAHL,
                          IDC_SATZZAHL_LABEL, IDC_COM1, IDC_COM2, IDC_COM3, IDC_COM4};
  for (int ch = 1; ch <= 8; ++ch) {
    ids.push_back(IDC_WERT_BASE + ch);
    ids.push_back(IDC_KANAL_BASE + ch);
  }
  for (HWND panel : drv::ChildrenOf(main)) {
    for (int first : kFirst)
      if (GetDlgItem(panel, first))
        Put(rects, "main.panel-of-" + std::to_string(first), drv::WindowRectOf(panel));
    RECT client = drv::ClientAreaOf(panel);
    for (int id : ids) {
      HWND c = GetDlgItem(panel, id);
      if (!c) continue;
      RECT r = drv::WindowRectOf(c);
      Put(rects, "main.control-" + std::to_string(id),
          RECT{r.left + client.left, r.top + client.top, r.right + client.left,
               r.bottom + client.top});
    }
  }
  return rects;
}

// Where the chart has text (scales, captions, title, mark, legend, zoom label), generously:
// the boxes reach further than any of the fonts' glyphs on either platform.
std::vector<RECT> TextBoxes(int cx, int cy) {
  std::vector<RECT> boxes;
  auto box = [&](double fx, double fy, int w, int h) {
    int x = int(fx * cx), y = int(fy * cy);
    boxes.push_back(RECT{x - 2, y - 2, x + w, y + h});
  };
  for (double fy : {0.88, 0.685, 0.49, 0.295, 0.1}) box(0.06, fy, 14, 20);
  for (double fx : {0.095, 0.17, 0.25, 0.33, 0.41, 0.49, 0.57, 0.65, 0.73, 0.81, 0.89})
    box(fx, 0.94, 30, 20);
  box(0.05, 0.038, 60, 28);      // "Volt"
  box(0.915, 0.88, cx, 28);      // "Wert"
  box(0.35, 0.02, 240, 36);      // the title
  box(0.94, 0.02, cx, 18);       // the maker's mark
  for (int i = 1; i <= 8; ++i) box(0.92, 0.065 + 0.037 * i, cx, 20);  // legend
  box(0.92, 0.79, cx, 20);       // "Zoom"
  box(0.92, 0.83, cx, 20);       // "X * 1"
  return boxes;
}

bool InText(const std::vector<RECT>& boxes, int x, int y) {
  for (const RECT& r : boxes)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

// Each step scripts the next, so they run in this order.
void Session(const std::string& shot, const std::vector<int>& codes, Rects* native) {
  drv::PlugPort(2, drv::PortKind::Module);
  for (int ch = 1; ch <= 8; ++ch) drv::SetSignal(2, ch, drv::Constant(codes[ch - 1]));
  drv::Script(drv::WhenIdle(), "Toggle Plotter", [shot, native] {
    drv::ClickItem(g_hToolbar, IDC_TOGGLE_PLOTTER);
    drv::Script(drv::WhenIdle(), "size the plot window, Messen", [shot, native] {
      RECT outer = drv::WindowRectOf(Plotter), client = drv::ClientAreaOf(Plotter);
      drv::ResizeWindow(Plotter, kWidth + (outer.right - outer.left) - (client.right - client.left),
                        kHeight + (outer.bottom - outer.top) - (client.bottom - client.top));
      InvalidateRect(Plotter, nullptr, TRUE);  // painted whole, as remote.exe has it on Wine
      drv::ClickItem(g_hToolbar, IDC_MESSEN);
      drv::Script(drv::AtFetch(drv::Fetches() + 150), "Stop/Reset",
                  [] { drv::ClickItem(StopBox, IDC_STOP); });
      drv::Script(drv::WhenMessageBox(), "answer", [shot, native] {
        drv::AnswerMessageBox(IDOK);
        drv::Script(drv::WhenIdle(), "screenshot, rectangles, Beenden", [shot, native] {
          drv::SaveClientPng(Plotter, shot);
          *native = NativeRects();
          drv::ChooseMenu(drv::FindTopLevel(g_szClassName), IDM_BEENDEN);
        });
      });
    });
  });
}

}  // namespace

int main(int argc, char** argv) {
  drv::Attach();
  if (argc != 12) {
    std::fprintf(stderr, "usage: %s WINE-PLOT.png WINE-RECTS.txt OUTDIR CODE1..CODE8\n", argv[0]);
    return 2;
  }
  std::vector<int> codes;
  for (int i = 4; i < 12; ++i) codes.push_back(std::atoi(argv[i]));
  std::string shot = std::string(argv[3]) + "/native-plot-stopped.png";
  Rects native;
  Session(shot, codes, &native);
  if (drv::RunWinMain(60) != 0) {
    std::printf("side by side: the native session failed\n");
    return 1;
  }

  Image wine, mine;
  if (!ReadPng(argv[1], wine) || !ReadPng(shot, mine)) {
    std::printf("side by side: cannot read %s or %s\n", argv[1], shot.c_str());
    return 1;
  }
  if (wine.width != mine.width || wine.height != mine.height) {
    std::printf("side by side: Wine's chart is %dx%d, the native one %dx%d\n", wine.width,
                wine.height, mine.width, mine.height);
    return 1;
  }
  std::vector<RECT> boxes = TextBoxes(mine.width, mine.height);
  long same[2] = {0, 0}, all[2] = {0, 0};
  int firstX = -1, firstY = -1;
  for (int y = 0; y < mine.height; ++y)
    for (int x = 0; x < mine.width; ++x) {
      int text = InText(boxes, x, y) ? 1 : 0;
      bool equal = wine.Pixel(x, y) == mine.Pixel(x, y);
      ++all[text];
      same[text] += equal;
      if (!equal && !text && firstX < 0) firstX = x, firstY = y;
    }

  Rects theirs = ReadRects(argv[2]);
  int differing = 0;
  for (const auto& [name, r] : native) {
    auto it = theirs.find(name);
    if (it == theirs.end()) {
      std::printf("rectangle %s: not on Wine\n", name.c_str());
      ++differing;
    } else if (it->second != r) {
      const std::vector<long>& w = it->second;
      std::printf("rectangle %s: native %ld,%ld %ldx%ld, Wine %ld,%ld %ldx%ld\n", name.c_str(),
                  r[0], r[1], r[2], r[3], w[0], w[1], w[2], w[3]);
      ++differing;
    }
  }
  std::printf("side by side: %d of %zu window and control rectangles differ\n", differing,
              native.size());
  std::printf("side by side: chart %dx%d, text pixels identical %.1f %% (%ld of %ld)\n", mine.width,
              mine.height, 100.0 * double(same[1]) / double(all[1]), same[1], all[1]);
  std::printf("side by side: chart non-text pixels identical %.3f %% (%ld of %ld)%s\n",
              100.0 * double(same[0]) / double(all[0]), same[0], all[0],
              firstX < 0 ? "" : (" first difference at " + std::to_string(firstX) + "," +
                                 std::to_string(firstY)).c_str());
  return same[0] == all[0] ? 0 : 1;
}
