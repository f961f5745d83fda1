// A program's wide strings: UTF-16, as a Unicode Windows program has them. The subset keeps its
// texts in UTF-8 and converts at the calls.
#ifndef PIKON_WINAPI_WIDE_H
#define PIKON_WINAPI_WIDE_H

#include <windows.h>

#include <string>

namespace winapi {

// A wide string up to its terminating NUL as UTF-8; NULL gives an empty string. A surrogate
// without its pair becomes U+FFFD, as Windows converts it.
std::string Utf8FromWide(LPCWSTR text);
// The inverse, for valid UTF-8.
std::u16string WideFromUtf8(const std::string& utf8);

}  // namespace winapi

#endif
