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

// What one QueryPerformanceCounter call takes; 0.5 µs until set (why: the kernel's vclock.h).
void SetCounterReadNs(std::uint64_t ns);

}  // namespace drv

#endif
