// The virtual clock: Sleep waits for nothing, it moves this clock on.
#ifndef PIKON_WINAPI_DRIVER_CLOCK_H
#define PIKON_WINAPI_DRIVER_CLOCK_H

#include <cstdint>

namespace drv {

// Milliseconds passed in Sleep since process start (or ResetClock).
std::uint64_t ClockMs();
void ResetClock();

}  // namespace drv

#endif
