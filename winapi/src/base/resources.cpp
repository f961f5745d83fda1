// Reads the compiled resources (.res) the way Windows reads them: a run of RESOURCEHEADER
// records, each followed by its data, both DWORD-aligned.
#include "resources.h"

#include <cstring>

#include "ansi.h"
#include "encoding.h"

extern const unsigned char g_winapi_resources[];
extern const std::size_t g_winapi_resources_size;

namespace winapi {
namespace res {
namespace {

constexpr WORD kRtIcon = 3;
constexpr WORD kRtDialog = 5;
constexpr WORD kRtMenu = 4;
constexpr WORD kRtGroupIcon = 14;

// A little-endian reader over a byte range; every read past the end fails and sticks.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  std::size_t pos() const { return pos_; }
  void Seek(std::size_t pos) { pos <= size_ ? void(pos_ = pos) : void(ok_ = false); }
  void Align(std::size_t n) { Seek((pos_ + n - 1) / n * n); }
  std::uint8_t Byte() { return Need(1) ? data_[pos_++] : 0; }
  WORD Word() {
    if (!Need(2)) return 0;
    WORD v = WORD(data_[pos_] | (data_[pos_ + 1] << 8));
    pos_ += 2;
    return v;
  }
  DWORD Dword() {
    WORD lo = Word();
    return DWORD(lo) | (DWORD(Word()) << 16);
  }
  short Short() { return static_cast<short>(Word()); }
  // A NUL-terminated UTF-16 string, as UTF-8.
  std::string String() {
    std::string out;
    for (;;) {
      char32_t c = Word();
      if (!ok_ || c == 0) return out;
      if (c >= 0xD800 && c < 0xDC00) c = 0x10000 + ((c - 0xD800) << 10) + (Word() - 0xDC00);
      enc::AppendUtf8(out, c);
    }
  }
  // sz_Or_Ord: 0 for none, 0xFFFF and an ordinal, or a string.
  NameOrId NameOrOrdinal() {
    NameOrId n;
    WORD first = Word();
    if (first == 0xFFFF) {
      n.isId = true;
      n.id = Word();
    } else if (first != 0) {
      pos_ -= 2;
      n.name = String();
    }
    return n;
  }

 private:
  bool Need(std::size_t n) {
    if (ok_ && pos_ + n <= size_) return true;
    ok_ = false;
    return false;
  }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

std::string Upper(std::string s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return s;
}

// Resource names compare without regard to case, as Windows compares them.
bool SameName(const NameOrId& a, const NameOrId& b) {
  if (a.isId != b.isId) return false;
  return a.isId ? a.id == b.id : Upper(a.name) == Upper(b.name);
}

NameOrId Ordinal(WORD id) {
  NameOrId n;
  n.isId = true;
  n.id = id;
  return n;
}

// The predefined control classes come as ordinals.
NameOrId ControlClass(NameOrId cls) {
  static const char* const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar",
                                      "ComboBox"};
  if (cls.isId && cls.id >= 0x80 && cls.id <= 0x85) {
    cls.name = names[cls.id - 0x80];
    cls.isId = false;
    cls.id = 0;
  }
  return cls;
}

bool ParseMenuItems(Reader& r, std::vector<MenuItem>& out) {
  for (;;) {
    MenuItem item;
    item.flags = r.Word();
    bool popup = (item.flags & 0x10) != 0;
    if (!popup) item.id = r.Word();
    item.text = r.String();
    if (!r.ok()) return false;
    if (popup && !ParseMenuItems(r, item.children)) return false;
    bool last = (item.flags & 0x80) != 0;
    out.push_back(std::move(item));
    if (last) return true;
  }
}

}  // namespace

NameOrId FromArg(LPCSTR nameOrIntResource) {
  if (IS_INTRESOURCE(nameOrIntResource))
    return Ordinal(WORD(reinterpret_cast<std::uintptr_t>(nameOrIntResource)));
  NameOrId n;
  n.name = Utf8FromAnsi(nameOrIntResource);
  // "#123" names the ordinal 123.
  if (n.name.size() > 1 && n.name[0] == '#') {
    unsigned value = 0;
    bool digits = true;
    for (std::size_t i = 1; i < n.name.size(); ++i) {
      digits = digits && n.name[i] >= '0' && n.name[i] <= '9';
      value = value * 10 + unsigned(n.name[i] - '0');
    }
    if (digits && value <= 0xFFFF) return Ordinal(WORD(value));
  }
  return n;
}

bool FindRaw(WORD type, const NameOrId& name, std::vector<std::uint8_t>& out) {
  Reader r(g_winapi_resources, g_winapi_resources_size);
  while (r.ok() && r.pos() + 8 <= g_winapi_resources_size) {
    std::size_t start = r.pos();
    DWORD dataSize = r.Dword();
    DWORD headerSize = r.Dword();
    NameOrId resType = r.NameOrOrdinal();
    NameOrId resName = r.NameOrOrdinal();
    if (!r.ok() || headerSize < 8) return false;
    std::size_t data = start + headerSize;
    if (data + dataSize > g_winapi_resources_size) return false;
    if (resType.isId && resType.id == type && SameName(resName, name)) {
      out.assign(g_winapi_resources + data, g_winapi_resources + data + dataSize);
      return true;
    }
    r.Seek(data + dataSize);
    r.Align(4);
  }
  return false;
}

bool ParseDialog(const std::uint8_t* data, std::size_t size, DialogTemplate& out) {
  Reader r(data, size);
  out = DialogTemplate{};
  if (r.Word() != 1 || r.Word() != 0xFFFF) return false;  // only DLGTEMPLATEEX
  out.helpId = r.Dword();
  out.exStyle = r.Dword();
  out.style = r.Dword();
  WORD count = r.Word();
  out.x = r.Short();
  out.y = r.Short();
  out.cx = r.Short();
  out.cy = r.Short();
  out.menu = r.NameOrOrdinal();
  out.windowClass = r.NameOrOrdinal();
  out.caption = r.String();
  if (out.style & DS_SETFONT) {
    out.pointSize = r.Word();
    out.weight = r.Word();
    out.italic = r.Byte() != 0;
    r.Byte();  // character set
    out.face = r.String();
  }
  for (WORD i = 0; i < count && r.ok(); ++i) {
    r.Align(4);
    DialogItem item;
    item.helpId = r.Dword();
    item.exStyle = r.Dword();
    item.style = r.Dword();
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = static_cast<int>(static_cast<std::int32_t>(r.Dword()));
    item.windowClass = ControlClass(r.NameOrOrdinal());
    item.text = r.NameOrOrdinal();
    WORD extra = r.Word();
    r.Seek(r.pos() + extra);
    out.items.push_back(std::move(item));
  }
  return r.ok();
}

bool ParseMenu(const std::uint8_t* data, std::size_t size, std::vector<MenuItem>& out) {
  Reader r(data, size);
  out.clear();
  WORD version = r.Word();
  WORD offset = r.Word();
  if (!r.ok() || version != 0) return false;  // only the standard MENU format
  r.Seek(r.pos() + offset);
  return ParseMenuItems(r, out);
}

bool LoadDialog(const NameOrId& name, DialogTemplate& out) {
  std::vector<std::uint8_t> raw;
  return FindRaw(kRtDialog, name, raw) && ParseDialog(raw.data(), raw.size(), out);
}

bool LoadMenu(const NameOrId& name, std::vector<MenuItem>& out) {
  std::vector<std::uint8_t> raw;
  return FindRaw(kRtMenu, name, raw) && ParseMenu(raw.data(), raw.size(), out);
}

// The first image of an icon group: a BITMAPINFOHEADER, the palette, the colour rows and the
// transparency mask, rows bottom-up and each padded to a DWORD.
bool LoadIcon(const NameOrId& name, IconImage& out) {
  std::vector<std::uint8_t> group, image;
  if (!FindRaw(kRtGroupIcon, name, group)) return false;
  Reader g(group.data(), group.size());
  g.Seek(4);
  if (g.Word() < 1) return false;
  g.Seek(6 + 12);  // the first entry's icon id
  WORD iconId = g.Word();
  if (!g.ok() || !FindRaw(kRtIcon, Ordinal(iconId), image)) return false;

  Reader r(image.data(), image.size());
  DWORD headerSize = r.Dword();
  int width = static_cast<std::int32_t>(r.Dword());
  int height = static_cast<std::int32_t>(r.Dword()) / 2;
  r.Word();  // planes
  int bits = r.Word();
  r.Seek(32);
  DWORD used = r.Dword();
  if (!r.ok() || bits != 8 || width <= 0 || height <= 0 || width > 256 || height > 256)
    return false;
  int colors = used ? int(used) : 256;
  r.Seek(headerSize);
  std::vector<COLORREF> palette(std::size_t(colors), 0);
  for (COLORREF& c : palette) {
    BYTE b = r.Byte(), gr = r.Byte(), red = r.Byte();
    r.Byte();
    c = RGB(red, gr, b);
  }
  std::size_t xorStart = r.pos(), xorStride = std::size_t(width + 3) / 4 * 4;
  std::size_t andStart = xorStart + xorStride * std::size_t(height);
  std::size_t andStride = std::size_t((width + 31) / 32) * 4;
  if (!r.ok() || andStart + andStride * std::size_t(height) > image.size()) return false;

  out = IconImage{};
  out.width = width;
  out.height = height;
  out.bitCount = bits;
  out.colorsUsed = colors;
  for (int y = 0; y < height; ++y) {
    std::size_t row = std::size_t(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      std::uint8_t index = image[xorStart + row * xorStride + std::size_t(x)];
      std::uint8_t mask = image[andStart + row * andStride + std::size_t(x / 8)];
      out.pixels.push_back(index < colors ? palette[index] : 0);
      out.transparent.push_back(((mask >> (7 - x % 8)) & 1) != 0);
    }
  }
  return true;
}

}  // namespace res
}  // namespace winapi
