#include "icons.h"

#include <cstdlib>
#include <map>
#include <memory>

#include "handles.h"

namespace winapi {
namespace {

struct Icon {
  res::IconImage image;  // empty for a cursor
};

struct IconCache {
  HandleTable<Icon, HandleKind::Icon> table;
  std::map<WORD, HICON> byId;  // resource icons, shared like LR_SHARED ones
  std::map<WORD, HICON> system;  // IDI_APPLICATION, IDI_HAND, ...
  HCURSOR arrow = nullptr;
};

IconCache& Cache() {
  static IconCache cache;
  return cache;
}

HICON AddIcon(res::IconImage image) {
  return Cache().table.Add<HICON>(std::make_unique<Icon>(Icon{std::move(image)}));
}

// A 32 x 32 picture from a function giving each pixel's colour, or CLR_INVALID for none.
template <typename F>
res::IconImage Picture(F pixel) {
  res::IconImage image;
  image.width = image.height = 32;
  image.bitCount = 8;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      COLORREF c = pixel(x, y);
      image.pixels.push_back(c == CLR_INVALID ? 0 : c);
      image.transparent.push_back(c == CLR_INVALID);
    }
  return image;
}

bool InDisc(int x, int y) { return (x - 15) * (x - 15) + (y - 15) * (y - 15) <= 14 * 14; }

// The system's icons, drawn in the classic manner: the application's window, the hand (a red
// disc with a white cross), the question and the information (blue discs with a white mark),
// and the exclamation (a yellow triangle with a black mark).
bool SystemImage(WORD id, res::IconImage& out) {
  const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), blue = RGB(0, 0, 255);
  switch (id) {
    case 32512:
      out = Picture([=](int x, int y) {
        if (x < 2 || x > 29 || y < 4 || y > 27) return CLR_INVALID;
        if (x == 2 || x == 29 || y == 4 || y == 27) return black;
        return y < 9 ? RGB(0, 0, 128) : white;
      });
      return true;
    case 32513:
      out = Picture([=](int x, int y) {
        if (!InDisc(x, y)) return CLR_INVALID;
        bool cross = (std::abs(x - y) <= 2 || std::abs(x + y - 30) <= 2) && std::abs(x - 15) < 8 &&
                     std::abs(y - 15) < 8;
        return cross ? white : RGB(255, 0, 0);
      });
      return true;
    case 32514:
    case 32516: {
      bool question = id == 32514;
      out = Picture([=](int x, int y) {
        if (!InDisc(x, y)) return CLR_INVALID;
        bool dot = x >= 14 && x <= 17 && y >= 6 && y <= 9;
        bool bar = x >= 14 && x <= 17 && y >= 12 && y <= 24;
        bool hook = question && y >= 6 && y <= 9 && x >= 10 && x <= 20;
        if (question) dot = x >= 14 && x <= 17 && y >= 21 && y <= 24;
        if (question) bar = (x >= 18 && x <= 20 && y >= 6 && y <= 13) ||
                            (x >= 14 && x <= 17 && y >= 13 && y <= 18);
        return dot || bar || hook ? white : blue;
      });
      return true;
    }
    case 32515:
      out = Picture([=](int x, int y) {
        if (y < 3 || y > 29 || std::abs(x - 15) * 2 > (y - 3)) return CLR_INVALID;
        bool mark = x >= 14 && x <= 17 && ((y >= 10 && y <= 21) || (y >= 24 && y <= 27));
        return mark ? black : RGB(255, 255, 0);
      });
      return true;
  }
  return false;
}

}  // namespace

HICON ProgramIcon(const res::NameOrId& name) {
  IconCache& cache = Cache();
  if (name.isId) {
    auto it = cache.byId.find(name.id);
    if (it != cache.byId.end()) return it->second;
  }
  res::IconImage image;
  if (!res::LoadIcon(name, image)) return nullptr;
  HICON icon = AddIcon(std::move(image));
  if (name.isId) cache.byId[name.id] = icon;
  return icon;
}

const res::IconImage* IconImageOf(HICON icon) {
  const Icon* i = Cache().table.Get(icon);
  return i && i->image.width > 0 ? &i->image : nullptr;
}

}  // namespace winapi

using namespace winapi;

// A null instance asks for a system icon; otherwise the program's icon resource of that name.
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
  IconCache& cache = Cache();
  res::NameOrId id = res::FromArg(name);
  if (!instance) {
    if (!id.isId) return nullptr;
    auto it = cache.system.find(id.id);
    if (it != cache.system.end()) return it->second;
    res::IconImage image;
    if (!SystemImage(id.id, image)) return nullptr;
    return cache.system[id.id] = AddIcon(std::move(image));
  }
  return ProgramIcon(id);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
  IconCache& cache = Cache();
  res::NameOrId id = res::FromArg(name);
  if (instance || !id.isId || id.id != 32512) return nullptr;  // only the system's arrow
  if (!cache.arrow) cache.arrow = AddIcon(res::IconImage{});
  return cache.arrow;
}
