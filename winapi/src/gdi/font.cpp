#include "font.h"

#include "encoding.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <unordered_map>
#include <vector>

namespace winapi {
namespace {

constexpr COLORREF kNoColour = 0xFFFFFFFF;  // no COLORREF has its top byte set

// A rendered glyph: 8-bit coverage, placed relative to the pen on the baseline.
struct Glyph {
  int left = 0;     // pen to the bitmap's left column
  int top = 0;      // baseline to the bitmap's top row (upwards)
  int width = 0;
  int rows = 0;
  int advance = 0;  // whole pixels, as GDI advances the pen
  std::vector<std::uint8_t> coverage;
  // The runs of covered pixels, row by row: drawing skips the blank ones without looking.
  struct Span {
    int row, left, right;
  };
  std::vector<Span> spans;
  // The bitmap blended for the last colour pairs it was copied in (text onto a plain
  // background), row-major like `coverage`.
  struct Tint {
    COLORREF fg = 0, bg = kNoColour;
    std::vector<COLORREF> pixels;
  };
  Tint tints[2];
  unsigned nextTint = 0;
};

struct Font {
  FT_Face face = nullptr;
  FontMetrics metrics;
  std::unordered_map<char32_t, Glyph> glyphs;
  Glyph* latin[256] = {};  // the glyphs of the first 256 code points, once rendered
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

// The fontconfig family that stands in for a Windows face name.
std::string FamilyFor(const std::string& face) {
  std::string lower = enc::Lower(face);
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

Font* LoadFont(const FontRequest& wanted) {
  FontCache& cache = Cache();
  if (!cache.ready) return nullptr;
  std::string key = enc::Lower(wanted.face) + "|" + std::to_string(wanted.height) + "|" +
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

// A window draws with a few fonts over and over, so the last ones asked for are kept at hand.
Font* GetFont(const FontRequest& wanted) {
  struct Recent {
    FontRequest asked;
    Font* font = nullptr;
    bool known = false;
  };
  static Recent recent[4];
  static unsigned next = 0;
  for (const Recent& r : recent)
    if (r.known && wanted.height == r.asked.height && wanted.weight == r.asked.weight &&
        wanted.face == r.asked.face)
      return r.font;
  Recent& r = recent[next++ % 4];
  r = Recent{wanted, LoadFont(wanted), true};
  return r.font;
}

void FindSpans(Glyph& g) {
  for (int y = 0; y < g.rows; ++y) {
    const std::uint8_t* row = &g.coverage[std::size_t(y) * std::size_t(g.width)];
    for (int x = 0; x < g.width;) {
      if (row[x] == 0) {
        ++x;
        continue;
      }
      const int left = x;
      while (x < g.width && row[x] != 0) ++x;
      g.spans.push_back({y, left, x});
    }
  }
}

Glyph& RenderGlyph(Font& font, char32_t cp) {
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
  FindSpans(g);
  return font.glyphs.emplace(cp, std::move(g)).first->second;
}

// Glyphs stay where they are once rendered (the map's nodes do not move).
Glyph& GetGlyph(Font& font, char32_t cp) {
  if (cp >= 256) return RenderGlyph(font, cp);
  if (!font.latin[cp]) font.latin[cp] = &RenderGlyph(font, cp);
  return *font.latin[cp];
}

// Calls f(code point, underlined) for each character to draw; with prefix processing a lone "&"
// underlines the next character and "&&" stands for one "&". Invalid UTF-8 draws U+FFFD a byte.
template <typename F>
void ForEachChar(const std::string& utf8, bool prefix, F f) {
  auto next = [&utf8](std::size_t& i) {
    const unsigned char byte = static_cast<unsigned char>(utf8[i]);
    if (byte < 0x80) {  // most text is ASCII: no call for it
      ++i;
      return char32_t(byte);
    }
    const char32_t cp = enc::DecodeUtf8(utf8, i);
    if (cp != enc::kInvalidUtf8) return cp;
    ++i;
    return char32_t(0xFFFD);
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = next(i);
    if (prefix && cp == U'&') {
      if (i == utf8.size()) break;
      const char32_t marked = next(i);
      f(marked, marked != U'&');
      continue;
    }
    f(cp, false);
  }
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

RECT Bounds(const Surface& s, const RECT* clip) {
  RECT b{0, 0, s.width, s.height};
  if (clip) {
    b.left = std::max<int>(b.left, clip->left);
    b.top = std::max<int>(b.top, clip->top);
    b.right = std::min<int>(b.right, clip->right);
    b.bottom = std::min<int>(b.bottom, clip->bottom);
  }
  return b;
}

bool Inside(const RECT& b, int x, int y) {
  return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

// Coverage levels blended for one pair of colours, each worked out when first needed. Text is
// mostly drawn in one colour onto one background, so a few recent pairs are kept and a glyph's
// pixels are looked up rather than mixed; a pixel where glyphs overlap starts a pair of its own.
struct BlendTable {
  COLORREF fg = 0, bg = kNoColour;
  COLORREF mixed[256];

  COLORREF Mix(unsigned a) {
    if (mixed[a] == kNoColour) mixed[a] = Blend(fg, bg, a);
    return mixed[a];
  }
};

BlendTable& BlendFor(COLORREF fg, COLORREF bg) {
  static BlendTable tables[8];
  static unsigned next = 0;
  for (BlendTable& t : tables)
    if (t.fg == fg && t.bg == bg) return t;
  BlendTable& t = tables[next++ % 8];
  t.fg = fg;
  t.bg = bg;
  std::fill(std::begin(t.mixed), std::end(t.mixed), kNoColour);
  return t;
}

// One run of a glyph's pixels onto a row, blended against what is there.
void DrawRun(COLORREF* row, const std::uint8_t* coverage, int count, COLORREF color,
             BlendTable*& table) {
  for (int i = 0; i < count; ++i) {
    if (row[i] != table->bg) table = &BlendFor(color, row[i]);
    row[i] = table->Mix(coverage[i]);
  }
}

// One glyph with its top-left bitmap pixel at (x, y); clipped to `b` run by run only when it
// reaches over an edge.
void DrawGlyph(Surface& surface, const Glyph& g, int x, int y, COLORREF color, const RECT& b) {
  if (g.spans.empty()) return;
  const bool inside = x >= b.left && y >= b.top && x + g.width <= b.right && y + g.rows <= b.bottom;
  BlendTable* table = nullptr;
  for (const Glyph::Span& span : g.spans) {
    const int py = y + span.row;
    int left = x + span.left, right = x + span.right;
    if (!inside) {
      if (py < b.top || py >= b.bottom) continue;
      left = std::max(left, b.left);
      right = std::min(right, b.right);
      if (left >= right) continue;
    }
    COLORREF* row = &surface.At(left, py);
    if (!table) table = &BlendFor(color, *row);
    DrawRun(row, &g.coverage[std::size_t(span.row) * std::size_t(g.width) + std::size_t(left - x)],
            right - left, color, table);
  }
}

const COLORREF* TintedPixels(Glyph& g, COLORREF fg, COLORREF bg) {
  for (const Glyph::Tint& t : g.tints)
    if (t.fg == fg && t.bg == bg) return t.pixels.data();
  Glyph::Tint& t = g.tints[g.nextTint++ % std::size(g.tints)];
  t.fg = fg;
  t.bg = bg;
  BlendTable& table = BlendFor(fg, bg);
  t.pixels.resize(g.coverage.size());
  for (std::size_t i = 0; i < g.coverage.size(); ++i) t.pixels[i] = table.Mix(g.coverage[i]);
  return t.pixels.data();
}

// A glyph whose whole bitmap lies on pixels of the colour `bg`: its blended rows are copied
// (a blank pixel blends to `bg`, which is what is there). Most glyphs are four to eight pixels
// wide, and their rows are copied in two overlapping moves of four pixels, not a library call.
void CopyGlyph(Surface& surface, Glyph& g, int x, int y, COLORREF fg, COLORREF bg) {
  const COLORREF* from = TintedPixels(g, fg, bg);
  COLORREF* to = &surface.At(x, y);
  const std::size_t width = std::size_t(g.width), stride = std::size_t(surface.width);
  constexpr std::size_t kFour = 4 * sizeof(COLORREF);
  if (width >= 4 && width <= 8) {
    for (int row = 0; row < g.rows; ++row, from += width, to += stride) {
      std::memcpy(to, from, kFour);
      std::memcpy(to + width - 4, from + width - 4, kFour);
    }
    return;
  }
  for (int row = 0; row < g.rows; ++row, from += width, to += stride) std::copy_n(from, width, to);
}

bool Holds(const RECT& b, int x, int y, int width, int rows) {
  return x >= b.left && y >= b.top && x + width <= b.right && y + rows <= b.bottom;
}

}  // namespace

FontRequest SystemFontRequest() { return FontRequest{"System", 16, FW_BOLD}; }

FontRequest DialogFontRequest() { return FontRequest{"MS Sans Serif", 13, FW_NORMAL}; }

bool MeasureFont(const FontRequest& wanted, FontMetrics& out) {
  Font* font = GetFont(wanted);
  if (!font) return false;
  out = font->metrics;
  return true;
}

TextSize MeasureText(const FontRequest& wanted, const std::string& utf8, bool prefix) {
  TextSize size;
  Font* font = GetFont(wanted);
  if (!font) return size;
  ForEachChar(utf8, prefix, [&](char32_t cp, bool) { size.width += GetGlyph(*font, cp).advance; });
  size.height = font->metrics.height;
  return size;
}

bool DrawTextLine(Surface& surface, const FontRequest& wanted, const std::string& utf8, int x, int y,
                  const TextStyle& style, const RECT* clip) {
  Font* font = GetFont(wanted);
  if (!font) return false;
  const RECT bounds = Bounds(surface, clip);

  // Where every pixel is the background: the opaque box once filled, or the caller's clip.
  RECT plain{0, 0, 0, 0};
  if (style.opaque) {
    long long width = 0;
    ForEachChar(utf8, style.prefix,
                [&](char32_t cp, bool) { width += GetGlyph(*font, cp).advance; });
    int right = int(std::min<long long>(x + width, bounds.right));
    int bottom = int(std::min<long long>((long long)y + font->metrics.height, bounds.bottom));
    plain = RECT{std::max(x, bounds.left), std::max(y, bounds.top), right, bottom};
    surface.Fill(plain.left, plain.top, plain.right, plain.bottom, style.background);
  } else if (style.onBackground) {
    plain = bounds;
  }

  const int baseline = y + font->metrics.ascent;
  int pen = x;
  int drawnRight = INT_MIN;  // every pixel drawn so far lies left of this column
  ForEachChar(utf8, style.prefix, [&](char32_t cp, bool underline) {
    Glyph& g = GetGlyph(*font, cp);
    const int gx = pen + g.left, gy = baseline - g.top;
    if (!g.spans.empty()) {
      if (gx >= drawnRight && Holds(plain, gx, gy, g.width, g.rows))
        CopyGlyph(surface, g, gx, gy, style.color, style.background);
      else
        DrawGlyph(surface, g, gx, gy, style.color, bounds);
      drawnRight = std::max(drawnRight, gx + g.width);
    }
    if (underline) {
      for (int px = pen; px < pen + g.advance; ++px)
        if (Inside(bounds, px, baseline + 1)) surface.At(px, baseline + 1) = style.color;
      drawnRight = std::max(drawnRight, pen + g.advance);
    }
    pen += g.advance;
  });
  return true;
}

}  // namespace winapi
