// Sleep and the performance counter on the virtual clock, and the module handle of the program.
#include "image.h"
#include "trace.h"
#include "vclock.h"

namespace {

constexpr LONGLONG kCounterHz = 10000000;  // one tick = 100 ns
std::uint64_t g_counterReadNs = winapi::vclock::kDefaultCounterReadNs;

}  // namespace

namespace winapi::vclock {

std::uint64_t nowNs = 0;

void SetCounterReadNs(std::uint64_t ns) { g_counterReadNs = ns; }

void Reset() {
  nowNs = 0;
  g_counterReadNs = kDefaultCounterReadNs;
}

}  // namespace winapi::vclock

// Nothing here waits: the pause is recorded and the virtual clock moves on.
void WINAPI Sleep(DWORD milliseconds) {
  winapi::vclock::Advance(std::uint64_t(milliseconds) * 1000000u);
  winapi::trace::Record("Sleep", std::intptr_t(milliseconds), 0, 0, "", nullptr);
}

// Neither recorded nor counted: a busy-wait reads the counter hundreds of times, and what it
// learns is the time, which drv::ClockNs tells.
BOOL WINAPI QueryPerformanceFrequency(LARGE_INTEGER* frequency) {
  if (!frequency) return FALSE;
  frequency->QuadPart = kCounterHz;
  return TRUE;
}

// The read itself takes time, so that a loop waiting on the counter comes to its end.
BOOL WINAPI QueryPerformanceCounter(LARGE_INTEGER* count) {
  if (!count) return FALSE;
  winapi::vclock::Advance(g_counterReadNs);
  count->QuadPart = LONGLONG(winapi::vclock::Now() / (1000000000u / kCounterHz));
  return TRUE;
}

// The program is the only module: NULL names it; any other name is not loaded.
HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
  HMODULE module = name ? nullptr : reinterpret_cast<HMODULE>(winapi::kImageBase);
  winapi::trace::Record("GetModuleHandleA", std::intptr_t(reinterpret_cast<std::uintptr_t>(module)),
                        0, 0, name ? name : "", nullptr);
  return module;
}
