// The kinds of port, each as its driver behaves by the driver's own code (Linux: the file and
// functions named; Windows: the maker's document or the reports cited). A USB adapter's line
// change or break is a control transfer, a millisecond with the bus's 1 ms frames; a status read
// answered from the driver's copy is an ioctl and a spinlock, a few µs.
#include "portsim.h"

#include <cmath>

namespace sim {

namespace {

constexpr std::uint64_t kUsbTransferNs = 1000000;
constexpr std::uint64_t kCachedReadNs = 2000;

std::uint64_t Ns(double ms) { return std::uint64_t(ms * 1e6 + 0.5); }

// The status from the driver's copy, refreshed by reports from the adapter's interrupt endpoint
// 1 to 3 ms after a change at its inputs (the endpoint is polled every millisecond or so, and
// the chip reports a change at its next poll, the host's completion handler after that).
PortBehaviour InterruptReports() { return CachedUsbAdapter(1, 2); }

PortBehaviour Refusing(PortBehaviour b) {
  b.brk = PortBehaviour::Break::Refused;
  return b;
}

}  // namespace

PortBehaviour LegacyUart(double microsecondsPerCall) {
  PortBehaviour b;
  b.lineNs = b.statusNs = std::uint64_t(microsecondsPerCall * 1000.0 + 0.5);
  return b;
}

PortBehaviour UsbAdapter() { return LegacyUart(1000); }

PortBehaviour CachedUsbAdapter(double delayMs, double jitterMs) {
  PortBehaviour b;
  b.lineNs = kUsbTransferNs;
  b.statusNs = kCachedReadNs;
  b.reportDelayNs = Ns(delayMs);
  b.reportJitterNs = Ns(jitterMs);
  return b;
}

// An adapter that takes the break request and holds no break: SetCommBreak succeeds and the
// line sees at most a blip. CDC-ACM devices without the SEND_BREAK capability on Linux before
// 6.7, whose acm_tty_break_ctl sent the request anyway and only logged the device's refusal
// (mended by commit 66aad7d8d3ec, "usb: cdc-acm: return correct error code on unsupported
// break"; CdcAcmNoBreak is the kernel after it).
PortBehaviour UsbAdapterWithoutBreak() {
  PortBehaviour b = UsbAdapter();
  b.brk = PortBehaviour::Break::NotHeld;
  return b;
}

// ftdi_sio (drivers/usb/serial/ftdi_sio.c): ftdi_tiocmget calls ftdi_get_modem_status, a
// control request to the chip for every read; ftdi_break_ctl sets the break until cleared.
PortBehaviour FtdiLinux() { return UsbAdapter(); }

// FTDI's VCP driver on Windows answers from the two status bytes that head every bulk-IN
// packet; with no data to send the chip sends such a packet when its latency timer expires,
// 16 ms by default, 1 to 255 ms as set (FTDI AN232B-04, "Buffers and the Latency Timer"; Linux
// commit c6dce2626606: the header "is always sent when the timer expires").
PortBehaviour FtdiWindows(double latencyMs) {
  PortBehaviour b = CachedUsbAdapter(0);
  b.statusRefreshNs = Ns(latencyMs);
  return b;
}

// pl2303 (drivers/usb/serial/pl2303.c): pl2303_tiocmget answers from priv->line_status, which
// pl2303_update_line_status sets from the interrupt endpoint's UART-state byte.
PortBehaviour Pl2303Linux() { return InterruptReports(); }

// HXD clones: pl2303_startup sets PL2303_QUIRK_NO_BREAK_GETLINE when pl2303_is_hxd_clone, and
// pl2303_set_break then returns -ENOTTY (Wine's SetCommBreak fails with it).
PortBehaviour Pl2303HxdClone() { return Refusing(Pl2303Linux()); }

// ch341 (drivers/usb/serial/ch341.c): ch341_tiocmget answers from priv->msr, which
// ch341_update_status sets from the interrupt endpoint's status byte.
PortBehaviour Ch341Linux() { return InterruptReports(); }

// Chips whose interrupt endpoint never reports a change: priv->msr keeps what ch341_get_status
// read in ch341_open (WCHSoftGroup/ch341ser_linux issue 23).
PortBehaviour Ch341Frozen() {
  PortBehaviour b = InterruptReports();
  b.statusFrozenAtOpen = true;
  return b;
}

// Chips without a break register (CH341_QUIRK_SIMULATE_BREAK): ch341_simulate_break sets the
// rate to CH341_MIN_BPS, 46 baud, and sends one NUL, so TXD is low for the start bit and eight
// data bits, 9/46 s = 196 ms, and then high again whatever the program does. Clearing the
// break waits for break_end, 11 bit times after it began (239 ms), before it restores the rate.
PortBehaviour Ch341SimulatedBreak() {
  PortBehaviour b = Ch341Linux();
  b.brk = PortBehaviour::Break::Pulse;
  b.breakPulseNs = 9 * 1000000000ull / 46;
  b.breakEndNs = 11 * 1000000000ull / 46;
  return b;
}

// cp210x (drivers/usb/serial/cp210x.c): cp210x_tiocmget reads CP210X_GET_MDMSTS from the chip
// for every read; cp210x_break_ctl sets CP210X_SET_BREAK until cleared.
PortBehaviour Cp210xLinux() { return UsbAdapter(); }

// cp210x_break_ctl returns -ENOTTY for the CP2105's interface 1, the SCI, which has no break
// (commit "USB: serial: cp210x: disable break signalling on CP2105 SCI", 2023).
PortBehaviour Cp2105SecondPort() { return Refusing(Cp210xLinux()); }

// cdc-acm (drivers/usb/class/cdc-acm.c): acm_tty_tiocmget always reports TIOCM_CTS, as the
// class's SERIAL_STATE notification (CDC PSTN 1.2, 6.5.4) carries DCD, DSR and RING but no CTS;
// those three come from that notification on the interrupt endpoint. acm_tty_break_ctl sends
// SEND_BREAK, held until cleared, on a device with USB_CDC_CAP_BRK.
PortBehaviour CdcAcmLinux() {
  PortBehaviour b = InterruptReports();
  b.cts = PortBehaviour::Cts::AlwaysOn;
  return b;
}

// Without USB_CDC_CAP_BRK acm_tty_break_ctl returns -EOPNOTSUPP.
PortBehaviour CdcAcmNoBreak() { return Refusing(CdcAcmLinux()); }

// Windows' CDC-ACM driver usbser.sys sends SET_CONTROL_LINE_STATE only when DTR is updated, and
// RTS with it (WICG/serial issue 173; r2axz/bluepill-serial-monster issue 23; the dummy DTR
// write after each RTS write in esptool pull request 290). Its modem status comes from the
// SERIAL_STATE notification, which has no CTS bit, so nothing in the class can set MS_CTS_ON:
// CTS is taken to read off. (Linux's CTS on is a stand-in it adds of its own, so that hardware
// flow control does not stall; off is the word a driver gives that adds nothing.)
PortBehaviour UsbserWindows() {
  PortBehaviour b = InterruptReports();
  b.rtsOnlyWithDtr = true;
  b.cts = PortBehaviour::Cts::AlwaysOff;
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
