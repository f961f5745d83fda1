// Windows-1252 and UTF-8: the narrow strings of an ANSI Windows program and the UTF-8 that fonts,
// resources and the help source use.
#ifndef PIKON_COMMON_ENCODING_H
#define PIKON_COMMON_ENCODING_H

#include <cstddef>
#include <string>
#include <string_view>

namespace enc {

// The code point of a Windows-1252 byte; 0 for the five bytes the code page leaves unassigned
// (0x81, 0x8D, 0x8F, 0x90, 0x9D). Bytes below 0x80 and from 0xA0 are their own code points.
char32_t FromCp1252(unsigned char byte);

// The Windows-1252 byte of a code point; -1 when the code page lacks it.
int ToCp1252(char32_t cp);

// Appends `cp` (at most U+10FFFF) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// Decodes the code point at s[i] and moves i past it. Returns kInvalidUtf8, leaving i, for a
// bad or truncated sequence, an overlong form, a surrogate or a value beyond U+10FFFF.
constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;
char32_t DecodeUtf8(std::string_view s, std::size_t& i);

// ASCII letters in lower case, as Windows compares class and face names.
std::string Lower(std::string s);

}  // namespace enc

#endif
