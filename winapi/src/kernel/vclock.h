// The virtual clock, in nanoseconds: nothing in the subset waits for real time. Sleep, every
// call on a serial port and every read of the performance counter move it on by what the call
// takes, so that the simulated module sees the spacing a real port would give its edges.
#ifndef PIKON_WINAPI_VCLOCK_H
#define PIKON_WINAPI_VCLOCK_H

#include <cstdint>

namespace winapi::vclock {

extern std::uint64_t nowNs;

inline std::uint64_t Now() { return nowNs; }
inline void Advance(std::uint64_t ns) { nowNs += ns; }

// What one QueryPerformanceCounter call takes. The counter runs at 10 MHz, as Windows 10 and 11
// report it. The default, 0.5 µs, is a read of the HPET or the ACPI power-management timer,
// the counters of the PCs that still have a legacy serial port; a read of the processor's
// invariant TSC takes some 25 ns.
constexpr std::uint64_t kDefaultCounterReadNs = 500;
void SetCounterReadNs(std::uint64_t ns);
// Back to time 0 and the default counter read.
void Reset();

}  // namespace winapi::vclock

#endif
