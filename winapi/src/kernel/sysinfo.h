// The Windows the program runs on (sysinfo.cpp): what the shell asks of the files there are, and
// how the test driver sets the scene (winapi/driver/system.h says what each does).
#ifndef PIKON_WINAPI_SYSINFO_H
#define PIKON_WINAPI_SYSINFO_H

#include <string>

namespace winapi {

// Whether a file (not a folder) lies at this Windows path, in UTF-8.
bool FileExists(const std::string& utf8Path);

void SetWindowsVersion(int major, int minor, int build);
void SetProgramPath(const std::string& path);
void PutFile(const std::string& path);
void RemoveFile(const std::string& path);
void ResetSystem();

}  // namespace winapi

#endif
