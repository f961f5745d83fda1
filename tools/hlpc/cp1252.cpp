#include "hlpc/cp1252.h"

#include <cstdio>

#include "encoding.h"

namespace hlpc {

bool utf8_to_cp1252(std::string_view utf8, std::string& out, std::string& problem) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t cp = enc::DecodeUtf8(utf8, i);
    if (cp == enc::kInvalidUtf8) {
      problem = "invalid UTF-8";
      return false;
    }
    const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0);
    const int b = control ? -1 : enc::ToCp1252(cp);
    if (b < 0) {
      char name[24];
      std::snprintf(name, sizeof name, "U+%04lX", static_cast<unsigned long>(cp));
      problem = control ? std::string("control character ") + name + " in the text"
                        : std::string("character ") + name + " is not in the help file's code page (Windows-1252)";
      return false;
    }
    out.push_back(static_cast<char>(b));
  }
  return true;
}

std::string cp1252_to_utf8(std::string_view cp1252) {
  std::string out;
  for (char c : cp1252) {
    const char32_t cp = enc::FromCp1252(static_cast<unsigned char>(c));
    enc::AppendUtf8(out, cp != 0 || c == '\0' ? cp : 0xFFFD);
  }
  return out;
}

}  // namespace hlpc
