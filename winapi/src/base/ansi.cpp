#include "ansi.h"

#include <algorithm>
#include <cstring>

#include "encoding.h"

namespace winapi {

std::string Utf8FromAnsi(LPCSTR text, int count) {
  std::string out;
  if (!text) return out;
  const int length = count < 0 ? int(std::strlen(text)) : count;
  // Most texts are plain ASCII, the same in both.
  int ascii = 0;
  while (ascii < length && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  out.assign(text, std::size_t(ascii));
  for (int i = ascii; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const char32_t cp = enc::FromCp1252(c);
    enc::AppendUtf8(out, cp != 0 || c == 0 ? cp : char32_t(c));
  }
  return out;
}

std::string AnsiFromUtf8(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const unsigned char lead = static_cast<unsigned char>(utf8[i]);
    const char32_t cp = enc::DecodeUtf8(utf8, i);
    if (cp == enc::kInvalidUtf8) {
      out += '?';
      const std::size_t len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0x80 ? 2 : 1;
      i = std::min(utf8.size(), i + len);
      continue;
    }
    int b = enc::ToCp1252(cp);
    // The unassigned bytes came in as their own code points and go back out as such.
    if (b < 0 && cp >= 0x80 && cp < 0xA0 && enc::FromCp1252(static_cast<unsigned char>(cp)) == 0)
      b = int(cp);
    out += b < 0 ? '?' : char(b);
  }
  return out;
}

}  // namespace winapi
