#include "winapi/driver/clock.h"

#include "vclock.h"

namespace drv {

std::uint64_t ClockNs() { return winapi::vclock::Now(); }

void ResetClock() { winapi::vclock::Reset(); }

void SetCounterReadNs(std::uint64_t ns) { winapi::vclock::SetCounterReadNs(ns); }

}  // namespace drv
