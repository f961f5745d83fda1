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

}  // namespace winapi::vclock

#endif
