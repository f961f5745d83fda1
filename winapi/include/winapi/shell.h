// SHELL32 subset: opening a document with the program Windows associates with its kind.
#ifndef PIKON_WINAPI_SHELL_H
#define PIKON_WINAPI_SHELL_H

#include "winapi/types.h"

// ShellExecuteA's results up to 32 are errors; anything above means the document was handed on.
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_NOASSOC 31

HINSTANCE WINAPI ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand);
HINSTANCE WINAPI ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                               LPCWSTR directory, INT showCommand);

#endif
