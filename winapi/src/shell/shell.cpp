// ShellExecuteA and ShellExecuteW: a document handed to the program Windows associates with its
// kind. Web pages (.htm, .html) go to the default browser, which here is the call ledger; no
// other kind has a program. The subset has no current folder: a file is found by its full path only.
#include "ansi.h"
#include "encoding.h"
#include "sysinfo.h"
#include "trace.h"
#include "wide.h"

namespace {

bool IsWebPage(const std::string& path) {
  std::string lower = enc::Lower(path);
  std::size_t dot = lower.rfind('.');
  if (dot == std::string::npos || lower.find('\\', dot) != std::string::npos) return false;
  std::string extension = lower.substr(dot);
  return extension == ".htm" || extension == ".html";
}

// The default verb of a web page is "open".
bool Opens(const std::string& verb) { return verb.empty() || enc::Lower(verb) == "open"; }

// Errors are the values up to 32; a document handed on gives 42, as Windows commonly returns.
HINSTANCE Execute(const char* fn, HWND window, const std::string& verb, const std::string& path,
                  INT showCommand) {
  std::intptr_t result = 42;
  if (!winapi::FileExists(path))
    result = SE_ERR_FNF;
  else if (!IsWebPage(path) || !Opens(verb))
    result = SE_ERR_NOASSOC;
  winapi::trace::Record(fn, std::intptr_t(showCommand), result, 0, verb + "\n" + path, window);
  return reinterpret_cast<HINSTANCE>(result);
}

}  // namespace

HINSTANCE WINAPI ShellExecuteA(HWND window, LPCSTR verb, LPCSTR file, LPCSTR, LPCSTR,
                               INT showCommand) {
  return Execute("ShellExecuteA", window, winapi::Utf8FromAnsi(verb), winapi::Utf8FromAnsi(file),
                 showCommand);
}

HINSTANCE WINAPI ShellExecuteW(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR,
                               INT showCommand) {
  return Execute("ShellExecuteW", window, winapi::Utf8FromWide(verb), winapi::Utf8FromWide(file),
                 showCommand);
}
