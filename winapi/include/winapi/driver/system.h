// The Windows the program runs on, as a test sets it: the version GetVersion reports, where the
// program's own file lies, and which files exist. Paths are Windows paths in UTF-8; they compare
// without regard to case, as on Windows.
// Its calls in the ledger: winapi/driver/ledger.h.
#ifndef PIKON_WINAPI_DRIVER_SYSTEM_H
#define PIKON_WINAPI_DRIVER_SYSTEM_H

#include <string>

namespace drv {

// Windows 10 (10.0, build 19045) until set; XP is 5.1, Vista 6.0.
void SetWindowsVersion(int major, int minor, int build);

// The program's file: C:\PIKON\PIKON.exe until set. Setting it moves nothing: the files that
// exist stay where they are.
void SetProgramPath(const std::string& path);

// The files that exist. At the start (and after ResetSystem) those of the unpacked package:
// PIKON.exe, PIKON.HLP and PIKON.html in C:\PIKON. A folder exists while a file lies in it.
// Files with the extension .htm or .html open in the browser; ShellExecute knows no other kind.
void PutFile(const std::string& path);
void RemoveFile(const std::string& path);

// Back to the start: Windows 10, the package in C:\PIKON (ResetScene calls it).
void ResetSystem();

}  // namespace drv

#endif
