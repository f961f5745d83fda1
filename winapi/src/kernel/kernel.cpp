// Sleep on a virtual clock, and the module handle of the program.
#include "winapi/driver/clock.h"
#include "trace.h"

namespace {

std::uint64_t g_clockMs = 0;

// Where a 32-bit Windows program's image is loaded by default; never 0.
const std::uintptr_t kImageBase = 0x00400000;

}  // namespace

// Nothing here waits: the pause is recorded and the virtual clock moves on.
void WINAPI Sleep(DWORD milliseconds) {
  g_clockMs += milliseconds;
  winapi::trace::Record("Sleep", std::intptr_t(milliseconds), 0, 0, "", nullptr);
}

// The program is the only module: NULL names it; any other name is not loaded.
HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  HMODULE module = name ? nullptr : reinterpret_cast<HMODULE>(kImageBase);
  winapi::trace::Record("GetModuleHandleA", std::intptr_t(reinterpret_cast<std::uintptr_t>(module)),
                        0, 0, name ? name : "", nullptr);
  return module;
}

namespace drv {

std::uint64_t ClockMs() { return g_clockMs; }

void ResetClock() { g_clockMs = 0; }

}  // namespace drv
