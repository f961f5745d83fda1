// A logical font as a program asks for it; kept apart from the font engine so that GDI objects
// can hold one without depending on how it is drawn.
#ifndef PIKON_WINAPI_FONTREQUEST_H
#define PIKON_WINAPI_FONTREQUEST_H

#include <windows.h>

#include <string>

namespace winapi {

// A logical font as CreateFontA describes it. `height` keeps Win32's meaning: positive is the
// character-cell height in pixels (internal leading included), negative the character (em)
// height, 0 a default cell of 16 pixels. An empty face is the system's default sans-serif;
// "Arial", "MS Sans Serif" and "System" (any case) are drawn with Liberation Sans.
struct FontRequest {
  std::string face;
  int height = 0;
  int weight = FW_NORMAL;
};

// The stock system font: a bold sans-serif with a 16-pixel cell.
FontRequest SystemFontRequest();
// The dialog font, "MS Sans Serif" 8 point: a 13-pixel cell.
FontRequest DialogFontRequest();

}  // namespace winapi

#endif
