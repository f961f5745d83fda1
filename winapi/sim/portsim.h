// What sits behind a simulated COM port: the kind of device, the adapter's behaviour, the faults
// between the module and the program, and the module's input signals. The kernel's serial ports
// and the test driver speak of the hardware in these terms (the machine itself: hardware.h);
// the module (simmodule.h) and the library for Wine (tools/winesim) need nothing else of the
// subset.
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
// How the port's adapter and its driver behave: what each call costs, how the status lines
// reach the program, what becomes of RTS and of the break. Each call on an open port (line
// changes, break, status reads, settings) takes its latency, and the change reaches the
// device when the call returns. The knobs are independent; the named kinds below set them as
// each driver does.
struct PortBehaviour {
  std::uint64_t lineNs = 1000;    // a line change or break: a legacy UART, 1-5 µs
  std::uint64_t statusNs = 1000;  // a status read
  // Where the status read comes from. All zero and false: read live from the lines.
  // A change at the adapter's inputs reaches the driver's copy reportDelayNs later, plus up to
  // reportJitterNs more (pseudo-random, the same in every run); reports arrive in order.
  std::uint64_t reportDelayNs = 0;
  std::uint64_t reportJitterNs = 0;
  // Reports go out only when a timer of this period expires (0: as soon as they are due).
  std::uint64_t statusRefreshNs = 0;
  // The driver reads the status once when the port is opened and never again.
  bool statusFrozenAtOpen = false;
  // CTS as the driver reports it: from the line, or a constant the driver puts in.
  enum class Cts { FromLine, AlwaysOn, AlwaysOff };
  Cts cts = Cts::FromLine;
  // An RTS change reaches the device only with the next DTR change.
  bool rtsOnlyWithDtr = false;
  // The break: held until cleared; refused (SetCommBreak and ClearCommBreak fail, nothing is
  // sent); not held (the call succeeds, the break is over at once); or a pulse that ends by
  // itself breakPulseNs after it began, ClearCommBreak returning no sooner than breakEndNs
  // after the break began.
  enum class Break { Held, Refused, NotHeld, Pulse };
  Break brk = Break::Held;
  std::uint64_t breakPulseNs = 0;
  std::uint64_t breakEndNs = 0;

  bool Live() const {
    return reportDelayNs == 0 && reportJitterNs == 0 && statusRefreshNs == 0 &&
           !statusFrozenAtOpen;
  }
};
// The kinds of port the program meets (portsim.cpp: each with the driver code or document it
// follows), for tests and for measuring what each gives.
PortBehaviour LegacyUart(double microsecondsPerCall);  // live, each call this long
PortBehaviour UsbAdapter();              // live, each call a USB round trip of 1 ms
// A USB adapter (lines 1 ms, reads a few µs from the driver's copy) whose status reports come
// delayMs to delayMs + jitterMs after a change at its inputs.
PortBehaviour CachedUsbAdapter(double delayMs, double jitterMs = 0);
PortBehaviour UsbAdapterWithoutBreak();  // 1 ms, SetCommBreak succeeds, the break is not held
PortBehaviour FtdiLinux();
PortBehaviour FtdiWindows(double latencyMs = 16);
PortBehaviour Pl2303Linux();
PortBehaviour Pl2303HxdClone();
PortBehaviour Ch341Linux();
PortBehaviour Ch341Frozen();
PortBehaviour Ch341SimulatedBreak();
PortBehaviour Cp210xLinux();
PortBehaviour Cp2105SecondPort();
PortBehaviour CdcAcmLinux();
PortBehaviour CdcAcmNoBreak();
PortBehaviour UsbserWindows();
// Faults of a port. Status reads are counted from the SetFaults call on (1 = the next read).
// They sit between the module and the program: the module's own answer is worked out as
// without them. Lines stuck on or off sit at the adapter's inputs and reach the program the
// way the module's own lines do; noise, failures and pulls happen at a read.
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
