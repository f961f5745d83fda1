// Driver API for the serial ports and the simulated converter module. Tests and the demo set the
// scene through these calls, in the terms of the simulated hardware (portsim.h); the program
// itself only ever sees the Win32 calls.
#ifndef PIKON_WINAPI_DRIVER_PORTS_H
#define PIKON_WINAPI_DRIVER_PORTS_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "portsim.h"

namespace drv {

using sim::Faults;
using sim::PortBehaviour;
using sim::PortKind;
using sim::Shape;
using sim::Signal;
using sim::Constant, sim::Ramp, sim::Sine, sim::Square, sim::Noise, sim::SignalAt;
using sim::kDefaultConversionNs;
using sim::LegacyUart, sim::UsbAdapter, sim::CachedUsbAdapter, sim::UsbAdapterWithoutBreak;
using sim::FtdiLinux, sim::FtdiWindows, sim::Pl2303Linux, sim::Pl2303HxdClone;
using sim::Ch341Linux, sim::Ch341Frozen, sim::Ch341SimulatedBreak;
using sim::Cp210xLinux, sim::Cp2105SecondPort, sim::CdcAcmLinux, sim::CdcAcmNoBreak;
using sim::UsbserWindows;

// Changes what a later CreateFileA finds on port 1..4. A port that is open stays open and
// its handle keeps working: a module plugged into an open port sees its lines at once (it
// powers up idle), a module pulled out of one stops answering. Plugging a module resets it
// (idle, no protocol violations) but keeps its signals.
void PlugPort(int port, PortKind kind);

// channel = the program's channel number 1..8 (converter inputs CH0..CH7). Restarts the
// channel's signal at its first step.
void SetSignal(int port, int channel, const Signal& signal);
// Conversions the module on `port` made of `channel` since its signal was set.
std::uint64_t Conversions(int port, int channel);

// The module's conversion time, kDefaultConversionNs unless set.
void SetConversionTime(int port, std::uint64_t ns);

// Applies to the port from now on, open or not: the adapter's driver then knows the lines as
// they are, and later changes reach it the new way. A fresh port is LegacyUart(1).
void SetPortBehaviour(int port, const PortBehaviour& behaviour);
// The port's faults from now on; its status reads are counted afresh.
void SetFaults(int port, const Faults& faults);

// The port's adapter (a USB serial adapter, say) pulled out of the machine: from now on every
// call on a handle opened before fails (settings, line changes, break, status reads; closing it
// still works), and the port cannot be opened. Plugged back, the port opens again with the
// module behind it powered up idle; a handle opened before the pull stays dead, as the
// device it was opened on is gone for good.
void PullAdapter(int port);
void PlugAdapterBack(int port);
// Ports open now.
std::size_t OpenPorts();

// The port's serial settings, as GetCommState reads them. A fresh port has 9600 baud, 8N1,
// binary mode, DTR and RTS control enabled.
void SetPortSettings(int port, const DCB& settings);
DCB PortSettings(int port);

// The port's output lines as the device behind it sees them.
struct Lines {
  bool open = false;
  bool rts = false;  // the module's clock
  bool dtr = false;  // data to the module
  bool brk = false;  // break on TXD
};
Lines PortLines(int port);

// What the module on `port` noticed that a correct master never does (a data change while
// the clock is high, a clock edge during a break, a control word it is not wired for...).
std::vector<std::string> ProtocolViolations(int port);
// Answers the master cut short (DTR raised before all 13 bits were clocked out).
int AbandonedAnswers(int port);

// Every port absent and closed (their handles die), modules reset with flat 0 mV signals,
// no faults, fresh settings.
void ResetPorts();

}  // namespace drv

#endif
