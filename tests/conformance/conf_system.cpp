// What the program asks of Windows to find its help: the version, its own file's path, whether a
// file is there, and ShellExecuteA's answer for a file that is not.
#include <cstring>

#include "harness.h"

namespace {

// The program's path, as GetModuleFileNameA gives it with room to spare; its length in *length.
void OwnPath(char (&path)[MAX_PATH], DWORD* length) {
  *length = GetModuleFileNameA(nullptr, path, MAX_PATH);
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
