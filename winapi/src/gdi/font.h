// The font engine: fonts found with fontconfig, glyphs rasterised with FreeType, drawn into a
// Surface. Used by the GDI text calls and by the window manager for captions, menus and controls.
#ifndef PIKON_WINAPI_FONT_H
#define PIKON_WINAPI_FONT_H

#include <windows.h>

#include <string>

#include "fontrequest.h"
#include "surface.h"

namespace winapi {

struct FontMetrics {
  int ascent = 0;   // cell top to baseline
  int descent = 0;  // baseline to cell bottom
  int height = 0;   // the cell: ascent + descent
};

// False when no font file could be found or loaded for the request.
bool MeasureFont(const FontRequest& font, FontMetrics& out);

// Width of one line of UTF-8 text (the sum of its glyphs' advances) and the cell height.
// With `prefix`, "&x" counts as x and "&&" as one "&", as a control's label is drawn.
struct TextSize {
  int width = 0;
  int height = 0;
};
TextSize MeasureText(const FontRequest& font, const std::string& utf8, bool prefix = false);

struct TextStyle {
  COLORREF color = 0;
  bool opaque = false;          // fill the text box with `background` first
  COLORREF background = 0xFFFFFF;
  bool prefix = false;          // "&x" draws x underlined, "&&" draws "&"
  // Every pixel inside the clip is `background` (the caller has just filled it): glyphs are
  // then copied in colours blended once, where they overlap nothing drawn before them.
  bool onBackground = false;
};

// Draws one line of UTF-8 text with its cell's top-left corner at (x, y), nothing outside
// `clip` (or outside the surface when clip is null). The opaque box is the text's extent:
// its width by the cell height. Glyphs are anti-aliased against the pixels beneath them.
// Returns false when the font cannot be loaded (nothing is drawn then).
bool DrawTextLine(Surface& surface, const FontRequest& font, const std::string& utf8, int x, int y,
                  const TextStyle& style, const RECT* clip = nullptr);

}  // namespace winapi

#endif
