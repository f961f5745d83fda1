#include "class.h"

#include <memory>
#include <vector>

#include "ansi.h"
#include "encoding.h"
#include "trace.h"

namespace winapi {
namespace {

struct SystemClass {
  const char* name;  // as Windows spells it
  ControlKind kind;
  WNDPROC proc;
  int background;    // COLOR_* index of its class brush
};

const SystemClass kSystemClasses[] = {
    {"Button", ControlKind::Button, ButtonProc, COLOR_BTNFACE},
    {"Edit", ControlKind::Edit, EditProc, COLOR_WINDOW},
    {"Static", ControlKind::Static, StaticProc, COLOR_BTNFACE},
    {"#32770", ControlKind::None, DialogWindowProc, COLOR_BTNFACE},
};

// The registered classes, the system's own first.
std::vector<std::unique_ptr<WindowClass>>& Classes() {
  static std::vector<std::unique_ptr<WindowClass>> classes;
  if (classes.empty())
    for (const SystemClass& system : kSystemClasses) {
      auto cls = std::make_unique<WindowClass>();
      cls->name = system.name;
      cls->proc = system.proc;
      cls->background = reinterpret_cast<HBRUSH>(std::intptr_t(system.background + 1));
      cls->kind = system.kind;
      classes.push_back(std::move(cls));
    }
  return classes;
}

}  // namespace

const WindowClass* FindClass(const std::string& utf8Name) {
  std::string key = enc::Lower(utf8Name);
  for (const auto& cls : Classes())
    if (enc::Lower(cls->name) == key) return cls.get();
  return nullptr;
}

const WindowClass* AddClass(WindowClass cls) {
  if (cls.name.empty() || !cls.proc || FindClass(cls.name)) return nullptr;
  Classes().push_back(std::make_unique<WindowClass>(std::move(cls)));
  return Classes().back().get();
}

}  // namespace winapi

using namespace winapi;

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc) {
  if (!wc || wc->cbSize != sizeof(WNDCLASSEXA) || !wc->lpszClassName) return 0;
  WindowClass cls;
  cls.name = Utf8FromAnsi(wc->lpszClassName);
  cls.style = wc->style;
  cls.proc = wc->lpfnWndProc;
  cls.instance = wc->hInstance;
  cls.icon = wc->hIcon;
  cls.smallIcon = wc->hIconSm;
  cls.cursor = wc->hCursor;
  cls.background = wc->hbrBackground;
  if (wc->lpszMenuName) {
    cls.menu = res::FromArg(wc->lpszMenuName);
    cls.hasMenu = true;
  }
  trace::Record("RegisterClassExA", 0, 0, 0, cls.name, nullptr);
  if (!AddClass(std::move(cls))) return 0;
  static ATOM next = 0xC000;
  return next++;
}
