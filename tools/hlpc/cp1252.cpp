#include "hlpc/cp1252.h"

#include <cstdint>
#include <cstdio>

namespace hlpc {
namespace {

// Unicode code points of Windows-1252 bytes 0x80 to 0x9F; 0 where the code page has a gap.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one code point starting at s[i]; advances i. Returns -1 for invalid UTF-8.
long decode(std::string_view s, std::size_t& i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned lead = byte(i);
  int extra;
  long cp;
  long min;
  if (lead < 0x80) {
    ++i;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    return -1;
  }
  if (s.size() - i <= static_cast<std::size_t>(extra)) return -1;
  for (int k = 1; k <= extra; ++k) {
    unsigned b = byte(i + static_cast<std::size_t>(k));
    if ((b & 0xC0) != 0x80) return -1;
    cp = cp << 6 | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  i += static_cast<std::size_t>(extra) + 1;
  return cp;
}

int encode(long cp) {
  if (cp >= 0x20 && cp < 0x7F) return static_cast<int>(cp);
  if (cp >= 0xA0 && cp <= 0xFF) return static_cast<int>(cp);
  for (int k = 0; k < 32; ++k)
    if (kHighControls[k] != 0 && kHighControls[k] == cp) return 0x80 + k;
  return -1;
}

void append_utf8(std::string& out, long cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | cp >> 6));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | cp >> 12));
    out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

}  // namespace

bool utf8_to_cp1252(std::string_view utf8, std::string& out, std::string& problem) {
  out.clear();
  for (std::size_t i = 0; i < utf8.size();) {
    long cp = decode(utf8, i);
    if (cp < 0) {
      problem = "invalid UTF-8";
      return false;
    }
    int b = encode(cp);
    if (b < 0) {
      char name[24];
      std::snprintf(name, sizeof name, "U+%04lX", cp);
      problem = cp < 0x20 || (cp >= 0x7F && cp < 0xA0)
                    ? std::string("control character ") + name + " in the text"
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
    unsigned b = static_cast<unsigned char>(c);
    long cp = b;
    if (b >= 0x80 && b < 0xA0) cp = kHighControls[b - 0x80] ? kHighControls[b - 0x80] : 0xFFFD;
    append_utf8(out, cp);
  }
  return out;
}

}  // namespace hlpc
