// The Win32 subset that PIKON needs on hosts without Windows.
// Declarations only; each concern lives in its own header and source file.
#ifndef PIKON_WINAPI_WINDOWS_H
#define PIKON_WINAPI_WINDOWS_H

#include "winapi/types.h"
#include "winapi/kernel.h"
#include "winapi/gdi.h"
#include "winapi/user.h"
#include "winapi/shell.h"

#endif
