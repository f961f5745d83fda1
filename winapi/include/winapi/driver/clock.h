// The virtual clock. Nothing waits for real time: Sleep, each call on a serial port (by the
// port's latency, winapi/driver/ports.h) and each read of the performance counter move it on.
#ifndef PIKON_WINAPI_DRIVER_CLOCK_H
#define PIKON_WINAPI_DRIVER_CLOCK_H

#include <cstdint>

namespace drv {

// Time passed since process start (or ResetClock).
std::uint64_t ClockNs();
inline std::uint64_t ClockMs() { return ClockNs() / 1000000u; }
void ResetClock();

// What one QueryPerformanceCounter call takes. The counter runs at 10 MHz, as Windows 10 and 11
// report it. The default, 0.5 µs, is a read of the HPET or the ACPI power-management timer,
// the counters of the PCs that still have a legacy serial port; a read of the processor's
// invariant TSC takes some 25 ns.
constexpr std::uint64_t kDefaultCounterReadNs = 500;
void SetCounterReadNs(std::uint64_t ns);

}  // namespace drv

#endif
