#include "text.h"

#include "dc.h"
#include "gdiobj.h"
#include "winapi/driver/ledger.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace winapi {
namespace {

// A rendered glyph: 8-bit coverage, placed relative to the pen on the baseline.
struct Glyph {
  int left = 0;     // pen to the bitmap's left column
  int top = 0;      // baseline to the bitmap's top row (upwards)
  int width = 0;
  int rows = 0;
  int advance = 0;  // whole pixels, as GDI advances the pen
  std::vector<std::uint8_t> coverage;
};

struct Font {
  FT_Face face = nullptr;
  FontMetrics metrics;
  std::unordered_map<char32_t, Glyph> glyphs;
};

// One FreeType library, fontconfig, and every font opened so far. Created on first use and
// kept until the process ends (fonts are few; glyphs are cached per font).
struct FontCache {
  FT_Library library = nullptr;
  bool ready = false;
  std::map<std::string, std::unique_ptr<Font>> fonts;  // by face|height|weight
};

FontCache& Cache() {
  static FontCache* cache = [] {
    auto* c = new FontCache;
    c->ready = FcInit() && FT_Init_FreeType(&c->library) == 0;
    // fontconfig keeps caches of its own; hand them back at exit so leak checkers stay quiet.
    std::atexit([] { FcFini(); });
    return c;
  }();
  return *cache;
}

std::string Lower(const std::string& s) {
  std::string out = s;
  for (char& ch : out)
    if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
  return out;
}

// The fontconfig family that stands in for a Windows face name.
std::string FamilyFor(const std::string& face) {
  std::string lower = Lower(face);
  if (lower.empty()) return "sans-serif";
  if (lower == "arial" || lower == "ms sans serif" || lower == "system") return "Liberation Sans";
  return face;
}

bool FindFontFile(const std::string& family, int weight, std::string& file, int& index) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight > 0 ? weight : FW_NORMAL));
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;
  FcChar8* path = nullptr;
  bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
  if (found) {
    file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  }
  FcPatternDestroy(match);
  return found;
}

// Sizes the face so that its cell (Windows' ascent + descent, from the OS/2 table) has the
// requested height, with a whole-pixel em as GDI uses for outline fonts.
bool SizeFace(FT_Face face, int height, FontMetrics& m) {
  if (face->units_per_EM == 0) return false;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  double ascent = face->ascender, descent = -face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascent = os2->usWinAscent;
    descent = os2->usWinDescent;
  }
  const double em = face->units_per_EM;
  if (height == 0) height = 16;
  int ppem;
  if (height > 0) {
    ppem = std::max(1, int(std::lround(height * em / (ascent + descent))));
    m.ascent = int(std::lround(ascent * height / (ascent + descent)));
    m.descent = height - m.ascent;
  } else {
    ppem = -height;
    m.ascent = int(std::lround(ascent * ppem / em));
    m.descent = int(std::lround(descent * ppem / em));
  }
  m.height = m.ascent + m.descent;
  return FT_Set_Pixel_Sizes(face, 0, FT_UInt(ppem)) == 0;
}

Font* LoadFont(const FontSpec& wanted) {
  FontCache& cache = Cache();
  if (!cache.ready) return nullptr;
  std::string key = Lower(wanted.face) + "|" + std::to_string(wanted.height) + "|" +
                    std::to_string(wanted.weight);
  auto it = cache.fonts.find(key);
  if (it != cache.fonts.end()) return it->second.get();

  std::unique_ptr<Font> font;
  std::string file;
  int index = 0;
  FT_Face face = nullptr;
  if (FindFontFile(FamilyFor(wanted.face), wanted.weight, file, index) &&
      FT_New_Face(cache.library, file.c_str(), index, &face) == 0) {
    font = std::make_unique<Font>();
    font->face = face;
    if (!SizeFace(face, wanted.height, font->metrics)) {
      FT_Done_Face(face);
      font.reset();
    }
  }
  // A font that cannot be loaded is remembered as such, so it is not looked up again.
  Font* result = font.get();
  cache.fonts[key] = std::move(font);
  return result;
}

// Text is drawn in runs with one font, so the last one asked for is kept at hand.
Font* GetFont(const FontSpec& wanted) {
  static FontSpec lastSpec;
  static Font* last = nullptr;
  static bool known = false;
  if (known && wanted.height == lastSpec.height && wanted.weight == lastSpec.weight &&
      wanted.face == lastSpec.face)
    return last;
  last = LoadFont(wanted);
  lastSpec = wanted;
  known = true;
  return last;
}

const Glyph& GetGlyph(Font& font, char32_t cp) {
  auto it = font.glyphs.find(cp);
  if (it != font.glyphs.end()) return it->second;
  Glyph g;
  FT_Face face = font.face;
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) == 0) {
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = int(bm.width);
    g.rows = int(bm.rows);
    g.advance = int((slot->advance.x + 32) >> 6);
    g.coverage.resize(std::size_t(g.width) * std::size_t(g.rows));
    for (int y = 0; y < g.rows; ++y) {
      const unsigned char* row = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
      for (int x = 0; x < g.width; ++x) {
        std::uint8_t a = 0;
        if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
          a = std::uint8_t(bm.num_grays == 256 ? row[x] : row[x] * 255 / (bm.num_grays - 1));
        else if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
          a = (row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0;
        g.coverage[std::size_t(y) * std::size_t(g.width) + std::size_t(x)] = a;
      }
    }
  }
  return font.glyphs.emplace(cp, std::move(g)).first->second;
}

std::vector<char32_t> DecodeUtf8(const std::string& s) {
  std::vector<char32_t> out;
  std::size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
    char32_t cp = extra == 0 ? c : extra == 1 ? (c & 0x1F) : extra == 2 ? (c & 0x0F) : (c & 0x07);
    bool ok = extra >= 0 && i + std::size_t(extra) < s.size();
    for (int k = 1; ok && k <= extra; ++k) {
      unsigned char next = static_cast<unsigned char>(s[i + std::size_t(k)]);
      if ((next & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (next & 0x3F);
    }
    if (!ok) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    out.push_back(cp);
    i += std::size_t(extra) + 1;
  }
  return out;
}

struct Shaped {
  char32_t cp;
  bool underline;
};

// The characters to draw; with prefix processing a lone "&" underlines the next character
// and "&&" stands for one "&".
std::vector<Shaped> Shape(const std::string& utf8, bool prefix) {
  std::vector<Shaped> out;
  std::vector<char32_t> cps = DecodeUtf8(utf8);
  for (std::size_t i = 0; i < cps.size(); ++i) {
    if (prefix && cps[i] == U'&') {
      if (i + 1 < cps.size() && cps[i + 1] == U'&') {
        out.push_back({U'&', false});
        ++i;
      } else if (i + 1 < cps.size()) {
        out.push_back({cps[i + 1], true});
        ++i;
      }
      continue;
    }
    out.push_back({cps[i], false});
  }
  return out;
}

COLORREF Blend(COLORREF fg, COLORREF bg, unsigned a) {
  if (a >= 255) return fg;
  if (a == 0) return bg;
  COLORREF out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    unsigned f = (fg >> shift) & 0xFF, b = (bg >> shift) & 0xFF;
    out |= COLORREF((f * a + b * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

struct Box {
  int left, top, right, bottom;
};

Box Bounds(const Surface& s, const RECT* clip) {
  Box b{0, 0, s.width, s.height};
  if (clip) {
    b.left = std::max<int>(b.left, clip->left);
    b.top = std::max<int>(b.top, clip->top);
    b.right = std::min<int>(b.right, clip->right);
    b.bottom = std::min<int>(b.bottom, clip->bottom);
  }
  return b;
}

bool Inside(const Box& b, int x, int y) {
  return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

// Every coverage level blended for one pair of colours. Text is mostly drawn in one colour onto
// one background, so a few recent pairs are kept and a glyph's pixels are looked up, not mixed.
struct BlendTable {
  COLORREF fg = 0, bg = 0;
  bool ready = false;
  COLORREF mixed[256];
};

const BlendTable& BlendFor(COLORREF fg, COLORREF bg) {
  static BlendTable tables[4];
  static unsigned next = 0;
  for (const BlendTable& t : tables)
    if (t.ready && t.fg == fg && t.bg == bg) return t;
  BlendTable& t = tables[next++ % 4];
  t.fg = fg;
  t.bg = bg;
  t.ready = true;
  for (unsigned a = 0; a < 256; ++a) t.mixed[a] = Blend(fg, bg, a);
  return t;
}

// One glyph with its top-left bitmap pixel at (x, y), clipped to `b` once.
void DrawGlyph(Surface& surface, const Glyph& g, int x, int y, COLORREF color, const Box& b) {
  const int top = std::max(0, b.top - y), bottom = std::min(g.rows, b.bottom - y);
  const int left = std::max(0, b.left - x), right = std::min(g.width, b.right - x);
  const BlendTable* table = nullptr;
  if (left >= right) return;
  for (int gy = top; gy < bottom; ++gy) {
    const std::uint8_t* coverage = &g.coverage[std::size_t(gy) * std::size_t(g.width)];
    COLORREF* row = &surface.At(x + left, y + gy);
    for (int gx = left; gx < right; ++gx) {
      const unsigned a = coverage[gx];
      if (a == 0) continue;
      COLORREF& pixel = row[gx - left];
      if (!table || table->bg != pixel) table = &BlendFor(color, pixel);
      pixel = table->mixed[a];
    }
  }
}

}  // namespace

FontSpec SystemFontSpec() { return FontSpec{"System", 16, FW_BOLD}; }

FontSpec DialogFontSpec() { return FontSpec{"MS Sans Serif", 13, FW_NORMAL}; }

bool MeasureFont(const FontSpec& wanted, FontMetrics& out) {
  Font* font = GetFont(wanted);
  if (!font) return false;
  out = font->metrics;
  return true;
}

TextSize MeasureText(const FontSpec& wanted, const std::string& utf8, bool prefix) {
  TextSize size;
  Font* font = GetFont(wanted);
  if (!font) return size;
  for (const Shaped& ch : Shape(utf8, prefix)) size.width += GetGlyph(*font, ch.cp).advance;
  size.height = font->metrics.height;
  return size;
}

bool DrawTextLine(Surface& surface, const FontSpec& wanted, const std::string& utf8, int x, int y,
                  const TextStyle& style, const RECT* clip) {
  Font* font = GetFont(wanted);
  if (!font) return false;
  const Box bounds = Bounds(surface, clip);
  const std::vector<Shaped> chars = Shape(utf8, style.prefix);

  if (style.opaque) {
    long long width = 0;
    for (const Shaped& ch : chars) width += GetGlyph(*font, ch.cp).advance;
    int right = int(std::min<long long>(x + width, bounds.right));
    int bottom = int(std::min<long long>((long long)y + font->metrics.height, bounds.bottom));
    surface.Fill(std::max(x, bounds.left), std::max(y, bounds.top), right, bottom,
                 style.background);
  }

  const int baseline = y + font->metrics.ascent;
  int pen = x;
  for (const Shaped& ch : chars) {
    const Glyph& g = GetGlyph(*font, ch.cp);
    DrawGlyph(surface, g, pen + g.left, baseline - g.top, style.color, bounds);
    if (ch.underline)
      for (int px = pen; px < pen + g.advance; ++px)
        if (Inside(bounds, px, baseline + 1)) surface.At(px, baseline + 1) = style.color;
    pen += g.advance;
  }
  return true;
}

std::string Cp1252ToUtf8(const char* text, int count) {
  // 0x80 to 0x9F differ from Latin-1; the five unassigned codes pass through unchanged.
  static const char16_t high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  if (!text) return out;
  for (int i = 0; count < 0 ? text[i] != '\0' : i < count; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    char32_t cp = (c >= 0x80 && c < 0xA0) ? high[c - 0x80] : c;
    if (cp < 0x80) {
      out += char(cp);
    } else if (cp < 0x800) {
      out += char(0xC0 | (cp >> 6));
      out += char(0x80 | (cp & 0x3F));
    } else {
      out += char(0xE0 | (cp >> 12));
      out += char(0x80 | ((cp >> 6) & 0x3F));
      out += char(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

}  // namespace winapi

using namespace winapi;

namespace {

// The font and text style a context draws with now.
bool ContextText(const DeviceContext& dc, FontSpec& font, TextStyle& style) {
  const GdiObject* o = LookupGdi(dc.font, GdiKind::Font);
  if (!o) return false;
  font = o->font;
  style.color = dc.textColor;
  style.opaque = dc.bkMode == OPAQUE;
  style.background = dc.bkColor;
  return true;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

}  // namespace

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count) {
  DrawTarget t;
  FontSpec font;
  TextStyle style;
  if (!text || count < 0 || !GetDrawTarget(dc, t) || !ContextText(*t.dc, font, style))
    return FALSE;
  const std::string utf8 = Cp1252ToUtf8(text, count);
  drv::Record("TextOutA", x, y, std::intptr_t(style.color), utf8, t.dc->window);
  return DrawTextLine(*t.surface, font, utf8, x, y, style) ? TRUE : FALSE;
}

// Lines break at CR, LF and CR LF unless DT_SINGLELINE; no word wrapping. Everything is
// clipped to the rectangle. Returns the height of the text drawn; 0 for empty text or failure.
int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format) {
  DrawTarget t;
  FontSpec font;
  TextStyle style;
  FontMetrics metrics;
  if (!text || !rect || !GetDrawTarget(dc, t) || !ContextText(*t.dc, font, style) ||
      !MeasureFont(font, metrics))
    return 0;
  const std::string utf8 = Cp1252ToUtf8(text, count);
  drv::Record("DrawTextA", rect->left, rect->top, std::intptr_t(style.color), utf8, t.dc->window);
  if (utf8.empty()) return 0;  // nothing drawn, not even an opaque box
  style.prefix = !(format & DT_NOPREFIX);
  const bool single = format & DT_SINGLELINE;
  const std::vector<std::string> lines = single ? std::vector<std::string>{utf8} : SplitLines(utf8);

  int y = rect->top;
  if (single && (format & DT_VCENTER)) y += (rect->bottom - rect->top - metrics.height) / 2;
  for (const std::string& line : lines) {
    const int width = MeasureText(font, line, style.prefix).width;
    int x = rect->left;
    if (format & DT_CENTER)
      x += (rect->right - rect->left - width) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - width;
    DrawTextLine(*t.surface, font, line, x, y, style, rect);
    y += metrics.height;
  }
  return y - rect->top;
}
