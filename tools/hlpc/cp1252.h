// The help file's text is Windows-1252 (the viewer reads it in the ANSI code page); the source
// is UTF-8.
#ifndef HLPC_CP1252_H
#define HLPC_CP1252_H

#include <string>
#include <string_view>

namespace hlpc {

// Converts `utf8` to Windows-1252 into `out`. On failure returns false and says why in
// `problem` (invalid UTF-8, a control character, or a character the code page lacks).
bool utf8_to_cp1252(std::string_view utf8, std::string& out, std::string& problem);

// Converts Windows-1252 text back to UTF-8; a byte in one of the code page's gaps becomes U+FFFD.
std::string cp1252_to_utf8(std::string_view cp1252);

}  // namespace hlpc

#endif
