// The Windows the program runs on: its version, the program's own file, and the files there are.
#include <algorithm>
#include <cstring>
#include <set>

#include "ansi.h"
#include "encoding.h"
#include "image.h"
#include "sysinfo.h"
#include "trace.h"
#include "wide.h"

namespace {

struct System {
  DWORD version = 0;
  std::string programPath;      // UTF-8, as set
  std::set<std::string> files;  // keys: see Key
};

// Windows compares paths without regard to case and takes '/' for '\'.
std::string Key(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return enc::Lower(std::move(path));
}

DWORD VersionValue(int major, int minor, int build) {
  // Major in the low byte, minor in the next; the high word the build (bit 31 clear: NT).
  return DWORD(major & 0xFF) | (DWORD(minor & 0xFF) << 8) | (DWORD(build & 0x7FFF) << 16);
}

const char* const kDefaultProgramPath = "C:\\PIKON\\PIKON.exe";

System Fresh() {
  System s;
  s.version = VersionValue(10, 0, 19045);
  s.programPath = kDefaultProgramPath;
  for (const char* name : {"PIKON.exe", "PIKON.HLP", "PIKON.html"})
    s.files.insert(Key(std::string("C:\\PIKON\\") + name));
  return s;
}

System& TheSystem() {
  static System s = Fresh();
  return s;
}

}  // namespace

namespace winapi {

bool FileExists(const std::string& utf8Path) {
  return TheSystem().files.count(Key(utf8Path)) != 0;
}

}  // namespace winapi

// The version as Windows 8.1 and later give it to a program whose manifest names their ids.
DWORD WINAPI GetVersion(void) {
  DWORD version = TheSystem().version;
  winapi::trace::Record("GetVersion", std::intptr_t(version), 0, 0, "", nullptr);
  return version;
}

namespace {

// The program is the only module. A buffer too small gets as much of the path as fits with its
// terminating NUL, and the result is the buffer's size (Windows XP left out the NUL). `path` is
// in the call's own characters; sizes count them.
template <class Char>
DWORD ModuleFileName(const char* fn, HMODULE module, Char* fileName, DWORD size,
                     const std::basic_string<Char>& path) {
  DWORD result = 0;
  bool program = !module || module == reinterpret_cast<HMODULE>(winapi::kImageBase);
  if (program && fileName) {
    if (path.size() < size) {
      std::copy(path.begin(), path.end(), fileName);
      fileName[path.size()] = 0;
      result = DWORD(path.size());
    } else if (size > 0) {
      std::copy(path.begin(), path.begin() + (size - 1), fileName);
      fileName[size - 1] = 0;
      result = size;
    }
  }
  winapi::trace::Record(fn, std::intptr_t(size), std::intptr_t(result), 0,
                        TheSystem().programPath, nullptr);
  return result;
}

// A file, a folder (while a file lies in it), or nothing.
DWORD FileAttributes(const char* fn, const std::string& path) {
  std::string key = Key(path);
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  if (TheSystem().files.count(key)) {
    attributes = FILE_ATTRIBUTE_ARCHIVE;
  } else if (!key.empty()) {
    std::string folder = key.back() == '\\' ? key : key + '\\';
    for (const std::string& file : TheSystem().files)
      if (file.compare(0, folder.size(), folder) == 0) attributes = FILE_ATTRIBUTE_DIRECTORY;
  }
  winapi::trace::Record(fn, std::intptr_t(attributes), 0, 0, path, nullptr);
  return attributes;
}

}  // namespace

// The ANSI calls see the path through the code page: a character it lacks becomes '?'.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  return ModuleFileName("GetModuleFileNameA", module, fileName, size,
                        winapi::AnsiFromUtf8(TheSystem().programPath));
}

DWORD WINAPI GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  return ModuleFileName("GetModuleFileNameW", module, fileName, size,
                        winapi::WideFromUtf8(TheSystem().programPath));
}

DWORD WINAPI GetFileAttributesA(LPCSTR fileName) {
  return FileAttributes("GetFileAttributesA", winapi::Utf8FromAnsi(fileName));
}

DWORD WINAPI GetFileAttributesW(LPCWSTR fileName) {
  return FileAttributes("GetFileAttributesW", winapi::Utf8FromWide(fileName));
}

namespace winapi {

void SetWindowsVersion(int major, int minor, int build) {
  TheSystem().version = VersionValue(major, minor, build);
}

void SetProgramPath(const std::string& path) { TheSystem().programPath = path; }

void PutFile(const std::string& path) { TheSystem().files.insert(Key(path)); }

void RemoveFile(const std::string& path) { TheSystem().files.erase(Key(path)); }

void ResetSystem() { TheSystem() = Fresh(); }

}  // namespace winapi
