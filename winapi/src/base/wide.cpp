#include "wide.h"

#include "encoding.h"

namespace winapi {

std::string Utf8FromWide(LPCWSTR text) {
  std::string out;
  for (; text && *text; ++text) {
    char32_t cp = *text;
    const bool high = cp >= 0xD800 && cp < 0xDC00;
    if (high && text[1] >= 0xDC00 && text[1] < 0xE000)
      cp = 0x10000 + ((cp - 0xD800) << 10) + (char32_t(*++text) - 0xDC00);
    else if (cp >= 0xD800 && cp < 0xE000)
      cp = 0xFFFD;
    enc::AppendUtf8(out, cp);
  }
  return out;
}

std::u16string WideFromUtf8(const std::string& utf8) {
  std::u16string out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = enc::DecodeUtf8(utf8, i);
    if (cp == enc::kInvalidUtf8) cp = 0xFFFD, ++i;
    if (cp < 0x10000) {
      out += char16_t(cp);
    } else {
      out += char16_t(0xD800 + ((cp - 0x10000) >> 10));
      out += char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return out;
}

}  // namespace winapi
