#include "portsim.h"

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
