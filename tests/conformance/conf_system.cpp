// What the program asks of Windows to find its help: the version, its own file's path, whether a
// file is there, and ShellExecute's answer for a file that is not; in ANSI and in UTF-16.
#include <algorithm>
#include <cstring>
#include <string>

#include "harness.h"

namespace {

// The program's path, as GetModuleFileNameA gives it with room to spare; its length in *length.
void OwnPath(char (&path)[MAX_PATH], DWORD* length) {
  *length = GetModuleFileNameA(nullptr, path, MAX_PATH);
}

typedef std::basic_string<WCHAR> Wide;

// The program's path as GetModuleFileNameW gives it with room to spare.
Wide OwnWidePath() {
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Wide(path, length < MAX_PATH ? length : 0);
}

// The folder of the program's file, with its backslash, and `name` after it.
Wide Beside(const Wide& path, const Wide& name) {
  return path.substr(0, path.rfind(WCHAR('\\')) + 1) + name;
}

Wide FromAscii(const char* text) { return Wide(text, text + std::strlen(text)); }

// "Łódź", whose letters Windows-1252 lacks but for the ó, and U+1D11E, in two UTF-16 units.
const WCHAR kLodz[] = {0x141, 0xF3, 0x64, 0x17A, 0};
const WCHAR kClef[] = {0xD834, 0xDD1E, 0};

// For a failure report: the ASCII of a wide string, anything else as '?'.
std::string Shown(const Wide& text) {
  std::string shown;
  for (WCHAR c : text) shown += c < 0x80 ? char(c) : '?';
  return shown;
}

}  // namespace

// Major version in the low byte, minor in the next, the build in the high word; bit 31 clear
// on every Windows NT.
CONF_CASE(system, version_fields) {
  DWORD version = GetVersion();
  ok((version & 0x80000000u) == 0, "GetVersion %#lx: not NT", (unsigned long)version);
  ok(LOBYTE(LOWORD(version)) >= 5 && LOBYTE(LOWORD(version)) <= 10, "major version %d",
     LOBYTE(LOWORD(version)));
  ok((LOWORD(version) >> 8) <= 3, "minor version %d", LOWORD(version) >> 8);
  ok(HIWORD(version) > 0, "build %d", HIWORD(version));
}

// The program's full path: drive, folders, the .exe; its length returned without the NUL. NULL
// and the program's own module handle name the same file; an unknown handle names none.
CONF_CASE(system, module_file_name) {
  char path[MAX_PATH];
  DWORD length = 0;
  OwnPath(path, &length);
  ok(length > 7 && length < MAX_PATH && std::strlen(path) == length, "length %lu of [%s]",
     (unsigned long)length, path);
  ok(path[1] == ':' && path[2] == '\\', "[%s] starts with a drive", path);
  bool exe = length > 4;
  for (int i = 0; exe && i < 4; ++i) exe = (path[length - 4 + i] | 0x20) == ".exe"[i];
  ok(exe, "[%s] ends in .exe", path);
  char same[MAX_PATH];
  ok(GetModuleFileNameA(GetModuleHandleA(nullptr), same, MAX_PATH) == length &&
         std::strcmp(same, path) == 0,
     "the module handle names [%s]", same);
  char none[MAX_PATH] = "untouched";
  ok(GetModuleFileNameA(reinterpret_cast<HMODULE>(0x7FFF0000), none, MAX_PATH) == 0,
     "an unknown module gives a path: [%s]", none);
}

// A buffer that holds the path but not its NUL: the result is the buffer's size, which a caller
// must take as "cut short". Windows from Vista on still ends the buffer with a NUL.
CONF_CASE(system, module_file_name_cut_short) {
  char path[MAX_PATH];
  DWORD length = 0;
  OwnPath(path, &length);
  char cut[MAX_PATH];
  std::memset(cut, 'x', sizeof cut);
  ok(GetModuleFileNameA(nullptr, cut, length) == length, "a buffer of %lu: result %lu",
     (unsigned long)length, (unsigned long)GetModuleFileNameA(nullptr, cut, length));
  ok(std::strncmp(cut, path, length - 1) == 0, "the start of the path: [%.*s]", int(length - 1),
     cut);
  wine_deviation("Wine's GetModuleFileNameA leaves a cut path without its NUL, as Windows XP did");
  ok(cut[length - 1] == '\0', "the last byte of the buffer is %#x, not NUL", cut[length - 1] & 0xFF);
}

// The program's file is a file, its folder a folder, a name beside it that is not there is
// nothing; the case of the letters does not matter.
CONF_CASE(system, file_attributes) {
  char path[MAX_PATH];
  DWORD length = 0;
  OwnPath(path, &length);
  DWORD file = GetFileAttributesA(path);
  ok(file != INVALID_FILE_ATTRIBUTES && !(file & FILE_ATTRIBUTE_DIRECTORY), "[%s]: %#lx", path,
     (unsigned long)file);
  char upper[MAX_PATH];
  for (DWORD i = 0; i <= length; ++i)
    upper[i] = path[i] >= 'a' && path[i] <= 'z' ? char(path[i] - 'a' + 'A') : path[i];
  ok(GetFileAttributesA(upper) == file, "[%s]: %#lx", upper,
     (unsigned long)GetFileAttributesA(upper));
  char folder[MAX_PATH];
  std::memcpy(folder, path, length + 1);
  *std::strrchr(folder, '\\') = '\0';
  DWORD attributes = GetFileAttributesA(folder);
  ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
     "[%s]: %#lx", folder, (unsigned long)attributes);
  char missing[MAX_PATH + 16];
  std::memcpy(missing, folder, std::strlen(folder));
  std::strcpy(missing + std::strlen(folder), "\\not-here.html");
  ok(GetFileAttributesA(missing) == INVALID_FILE_ATTRIBUTES, "[%s]: %#lx", missing,
     (unsigned long)GetFileAttributesA(missing));
}

// A web page that is not there opens in nothing: "file not found", an error (32 or less).
CONF_CASE(system, shell_execute_missing_file) {
  char path[MAX_PATH + 16];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::strcpy(std::strrchr(path, '\\') + 1, "not-here.html");
  INT_PTR result = (INT_PTR)ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
  ok(result == SE_ERR_FNF, "ShellExecuteA [%s] (from a path of %lu): %ld", path,
     (unsigned long)length, (long)result);
}

// The same path in UTF-16 as in ANSI (the cases run from an ASCII folder), of the same length,
// with its NUL; the program's own handle names it too, an unknown handle nothing.
CONF_CASE(system, module_file_name_wide) {
  char narrow[MAX_PATH];
  DWORD length = 0;
  OwnPath(narrow, &length);
  WCHAR path[MAX_PATH];
  std::fill(path, path + MAX_PATH, WCHAR('x'));
  DWORD units = GetModuleFileNameW(nullptr, path, MAX_PATH);
  ok(units == length && path[units] == 0 && Wide(path, units) == FromAscii(narrow),
     "%lu units [%s] for the %lu bytes of [%s]", (unsigned long)units,
     Shown(Wide(path, units < MAX_PATH ? units : 0)).c_str(), (unsigned long)length, narrow);
  WCHAR same[MAX_PATH];
  ok(GetModuleFileNameW(GetModuleHandleA(nullptr), same, MAX_PATH) == units &&
         Wide(same) == Wide(path, units),
     "the module handle names [%s]", Shown(same).c_str());
  WCHAR none[MAX_PATH] = {'u', 0};
  ok(GetModuleFileNameW(reinterpret_cast<HMODULE>(0x7FFF0000), none, MAX_PATH) == 0,
     "an unknown module gives a path: [%s]", Shown(none).c_str());
}

// A buffer that holds the path but not its NUL: the result is the buffer's size, in units;
// nothing is written past it, and from Vista on the buffer ends with a NUL.
CONF_CASE(system, module_file_name_wide_cut_short) {
  Wide path = OwnWidePath();
  DWORD units = DWORD(path.size());
  WCHAR cut[MAX_PATH];
  std::fill(cut, cut + MAX_PATH, WCHAR('x'));
  DWORD result = GetModuleFileNameW(nullptr, cut, units);
  ok(result == units, "a buffer of %lu: result %lu", (unsigned long)units, (unsigned long)result);
  ok(Wide(cut, units - 1) == path.substr(0, units - 1), "the start of the path: [%s]",
     Shown(Wide(cut, units - 1)).c_str());
  ok(cut[units] == 'x', "a unit after the buffer was written");
  wine_deviation("Wine's GetModuleFileNameW leaves a cut path without its NUL, as Windows XP did");
  ok(cut[units - 1] == 0, "the last unit of the buffer is %#x, not NUL", unsigned(cut[units - 1]));
}

// The program's file is a file, its folder a folder, in any case of the letters; names beside it
// that are not there, also ones the ANSI code page cannot spell, are nothing.
CONF_CASE(system, file_attributes_wide) {
  Wide path = OwnWidePath();
  DWORD file = GetFileAttributesW(path.c_str());
  ok(file != INVALID_FILE_ATTRIBUTES && !(file & FILE_ATTRIBUTE_DIRECTORY), "[%s]: %#lx",
     Shown(path).c_str(), (unsigned long)file);
  Wide upper = path;
  for (WCHAR& c : upper)
    if (c >= 'a' && c <= 'z') c = WCHAR(c - 'a' + 'A');
  ok(GetFileAttributesW(upper.c_str()) == file, "[%s]: %#lx", Shown(upper).c_str(),
     (unsigned long)GetFileAttributesW(upper.c_str()));
  Wide folder = path.substr(0, path.rfind(WCHAR('\\')));
  DWORD attributes = GetFileAttributesW(folder.c_str());
  ok(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY),
     "[%s]: %#lx", Shown(folder).c_str(), (unsigned long)attributes);
  for (const Wide& name : {FromAscii("not-here.html"), Wide(kLodz) + FromAscii(".html"),
                           Wide(kClef) + FromAscii(".html")}) {
    Wide missing = Beside(path, name);
    ok(GetFileAttributesW(missing.c_str()) == INVALID_FILE_ATTRIBUTES, "[%s]: %#lx",
       Shown(missing).c_str(), (unsigned long)GetFileAttributesW(missing.c_str()));
  }
}

// Web pages that are not there open in nothing: "file not found", whatever their names spell.
CONF_CASE(system, shell_execute_wide_missing_file) {
  const Wide open = FromAscii("open");
  Wide path = OwnWidePath();
  for (const Wide& name : {FromAscii("not-here.html"), Wide(kLodz) + FromAscii(".html"),
                           Wide(kClef) + FromAscii(".html")}) {
    Wide missing = Beside(path, name);
    INT_PTR result = (INT_PTR)ShellExecuteW(nullptr, open.c_str(), missing.c_str(), nullptr,
                                            nullptr, SW_SHOWNORMAL);
    ok(result == SE_ERR_FNF, "ShellExecuteW [%s]: %ld", Shown(missing).c_str(), (long)result);
  }
}
