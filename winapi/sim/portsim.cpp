#include "portsim.h"

#include <cmath>

namespace sim {

PortBehaviour LegacyUart(double microsecondsPerCall) {
  PortBehaviour b;
  b.lineNs = b.statusNs = std::uint64_t(microsecondsPerCall * 1000.0 + 0.5);
  return b;
}

PortBehaviour UsbAdapter() { return LegacyUart(1000); }

// The status comes from the driver's copy of the last report, without a USB round trip.
PortBehaviour UsbAdapterLateStatus(double refreshMs) {
  PortBehaviour b = UsbAdapter();
  b.statusNs = 2000;
  b.statusRefreshNs = std::uint64_t(refreshMs * 1e6 + 0.5);
  return b;
}

PortBehaviour UsbCdcAcm() {
  PortBehaviour b = UsbAdapter();
  b.rtsOnlyWithDtr = true;
  return b;
}

PortBehaviour UsbAdapterWithoutBreak() {
  PortBehaviour b = UsbAdapter();
  b.breakNotHeld = true;
  return b;
}

}  // namespace sim

namespace sim {

Signal Constant(int mv) { return {Shape::Constant, mv, mv, 1}; }
Signal Ramp(int low, int high, int period) { return {Shape::Ramp, low, high, period}; }
Signal Sine(int low, int high, int period) { return {Shape::Sine, low, high, period}; }
Signal Square(int low, int high, int period) { return {Shape::Square, low, high, period}; }
Signal Noise(int low, int high) { return {Shape::Noise, low, high, 1}; }

namespace {

// splitmix64: a well-mixed hash of the step number, so noise needs no state.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

}  // namespace

int SignalAt(const Signal& s, std::uint64_t n) {
  const std::int64_t period = s.period > 0 ? s.period : 1;
  const std::int64_t step = std::int64_t(n % std::uint64_t(period));
  const std::int64_t span = std::int64_t(s.high) - s.low;
  std::int64_t v = s.low;
  switch (s.shape) {
    case Shape::Constant:
      break;
    case Shape::Ramp:
      v = period > 1 ? s.low + span * step / (period - 1) : s.high;
      break;
    case Shape::Sine: {
      const double angle = 6.283185307179586 * double(step) / double(period);
      v = std::int64_t(std::llround(double(s.low) + double(span) * (1.0 + std::sin(angle)) / 2.0));
      break;
    }
    case Shape::Square:
      v = step < period / 2 ? s.low : s.high;
      break;
    case Shape::Noise:
      v = span >= 0 ? s.low + std::int64_t(Mix(n) % std::uint64_t(span + 1)) : s.low;
      break;
  }
  return int(v < 0 ? 0 : v > 4095 ? 4095 : v);
}

}  // namespace sim
