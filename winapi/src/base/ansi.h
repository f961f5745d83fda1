// A program's narrow strings: Windows-1252, as an ANSI Windows program has them. The subset keeps
// its texts in UTF-8 and converts at the calls.
#ifndef PIKON_WINAPI_ANSI_H
#define PIKON_WINAPI_ANSI_H

#include <windows.h>

#include <string>

namespace winapi {

// A narrow string as UTF-8; count -1 reads up to the terminating NUL, and NULL is empty. The
// five bytes the code page leaves unassigned pass through as the same code points, as Windows
// converts them.
std::string Utf8FromAnsi(LPCSTR text, int count = -1);
// The inverse; characters outside the code page become '?'.
std::string AnsiFromUtf8(const std::string& utf8);

}  // namespace winapi

#endif
