// What sits behind a simulated COM port: the kind of device, the adapter's behaviour, the faults
// between the module and the program, and the module's input signals. The kernel's serial ports
// and the test driver speak of the hardware in these terms; the module itself (simmodule.h) and
// the library for Wine (tools/winesim) need nothing else of the subset.
#ifndef PIKON_WINAPI_PORTSIM_H
#define PIKON_WINAPI_PORTSIM_H

#include <windows.h>

#include <cstdint>
#include <map>

namespace sim {

// What sits behind COM1..COM4. All ports are Absent at process start.
//   Absent  CreateFileA fails (no such device)
//   Busy    CreateFileA fails (another program holds the port)
//   Empty   the port opens; nothing is connected, every status line is off
//   Module  the port opens and the simulated converter module hangs on its lines
enum class PortKind { Absent, Busy, Empty, Module };

// A channel's input in millivolts (= the 12-bit code), advanced by one step per conversion of
// that channel. Values outside 0..4095 are clipped, as the converter's input range does.
enum class Shape { Constant, Ramp, Sine, Square, Noise };
struct Signal {
  Shape shape = Shape::Constant;
  int low = 0;      // Constant: the level; otherwise the lowest value
  int high = 0;     // the highest value (unused by Constant)
  int period = 1;   // conversions per cycle (Ramp, Sine, Square)
};
Signal Constant(int mv);
Signal Ramp(int low, int high, int period);    // low, rising evenly to high at the last step
Signal Sine(int low, int high, int period);    // starts at the middle, rising
Signal Square(int low, int high, int period);  // low for the first half of a period, then high
Signal Noise(int low, int high);               // pseudo-random, the same for every run
// The code the nth conversion (n = 0 for the first) of a channel with this signal yields.
int SignalAt(const Signal& signal, std::uint64_t n);

// The converter's conversion time in internal clock mode. The MAX186 data sheet gives 10 µs
// as the maximum; a master must wait that long, so that is what the module takes unless a test
// says otherwise.
constexpr std::uint64_t kDefaultConversionNs = 10000;
// How the port's hardware and driver behave. Each call on an open port (line changes, break,
// status reads, settings) moves the virtual clock (winapi/driver/clock.h) on by its latency,
// and the change reaches the module when the call returns.
struct PortBehaviour {
  std::uint64_t lineNs = 1000;    // a line change or break: a legacy UART, 1-5 µs
  std::uint64_t statusNs = 1000;  // a status read
  // The status read returns what the adapter last reported, refreshed every this many ns
  // (0: read live). FTDI chips report their modem status in a header that "is always sent when
  // the [latency] timer expires", "the device default of 16 ms" (Linux kernel commit
  // c6dce2626606, drivers/usb/serial/ftdi_sio.c); their driver answers from the last report.
  std::uint64_t statusRefreshNs = 0;
  // An RTS change reaches the device only with the next DTR change: Windows' CDC-ACM driver
  // usbser.sys sends SET_CONTROL_LINE_STATE only when DTR is updated, and then with RTS too
  // (WICG/serial issue 173; r2axz/bluepill-serial-monster issue 23).
  bool rtsOnlyWithDtr = false;
  // The break is not held: the adapter has no break, or ends it at once (CP2102, Ezurio/
  // UwTerminalX pull request 23; CDC-ACM devices without the SEND_BREAK capability,
  // raspberrypi/debugprobe issue 127). SetCommBreak still succeeds.
  bool breakNotHeld = false;
};
// The kinds of port the program meets, for tests and for measuring what each gives.
PortBehaviour LegacyUart(double microsecondsPerCall);
PortBehaviour UsbAdapter();             // each call a USB round trip, about 1 ms
PortBehaviour UsbAdapterLateStatus(double refreshMs);  // FTDI-like: status cached, lines 1 ms
PortBehaviour UsbCdcAcm();              // usbser.sys: 1 ms, RTS only with DTR
PortBehaviour UsbAdapterWithoutBreak(); // 1 ms, the break not held
// Faults of a port. Status reads are counted from the SetFaults call on (1 = the next read).
// They sit between the module and the program: the module's own answer is worked out as
// without them.
struct Faults {
  int failStatusFrom = 0;   // GetCommModemStatus fails from this read on; 0 = never
  int failStatusCount = 0;  // ... for this many reads, then works again; 0 = for good
  DWORD stuckOn = 0;        // status lines stuck on, e.g. MS_DSR_ON, MS_RING_ON, MS_RLSD_ON
  DWORD stuckOff = 0;       // status lines stuck off, e.g. MS_CTS_ON (a broken wire)
  std::map<int, DWORD> noiseAtRead;  // lines that come on for single reads: {read, lines}
  DWORD breakAnswer = MS_RING_ON | MS_RLSD_ON;  // what the module raises during a break
  int unplugAtRead = 0;     // the module is pulled out just before this read; 0 = never
  int pullAdapterAtRead = 0;  // PullAdapter just before this read, which fails; 0 = never
  bool failSetBreak = false;    // SetCommBreak fails and the break stays off
  bool failClearBreak = false;  // ClearCommBreak fails and a break set stays on
};
}  // namespace sim

#endif
