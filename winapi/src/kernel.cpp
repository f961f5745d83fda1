// Sleep on a virtual clock, and the module handle of the program.
#include "winapi/driver/clock.h"
#include "winapi/driver/ledger.h"

#include "image.h"

namespace {

std::uint64_t g_clockMs = 0;

}  // namespace

// Nothing here waits: the pause is recorded and the virtual clock moves on.
void WINAPI Sleep(DWORD milliseconds) {
  g_clockMs += milliseconds;
  drv::Record("Sleep", std::intptr_t(milliseconds), 0, 0, "", nullptr);
}

// The program is the only module: NULL names it; any other name is not loaded.
HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  HMODULE module = name ? nullptr : reinterpret_cast<HMODULE>(winapi::kImageBase);
  drv::Call call;
  call.fn = "GetModuleHandleA";
  call.text = name ? name : "";
  call.a = std::intptr_t(reinterpret_cast<std::uintptr_t>(module));
  drv::Record(std::move(call));
  return module;
}

namespace drv {

std::uint64_t ClockMs() { return g_clockMs; }

void ResetClock() { g_clockMs = 0; }

}  // namespace drv
