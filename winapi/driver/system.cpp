#include "winapi/driver/system.h"

#include "sysinfo.h"

namespace drv {

void SetWindowsVersion(int major, int minor, int build) {
  winapi::SetWindowsVersion(major, minor, build);
}

void SetProgramPath(const std::string& path) { winapi::SetProgramPath(path); }

void PutFile(const std::string& path) { winapi::PutFile(path); }

void RemoveFile(const std::string& path) { winapi::RemoveFile(path); }

void ResetSystem() { winapi::ResetSystem(); }

}  // namespace drv
