// The driver's calls on the serial ports: what sits behind each, the module's signals, faults,
// the adapter's behaviour, and the lines as the device sees them.
#include "winapi/driver/ports.h"

#include "serial.h"
#include "vclock.h"

using winapi::Port;

namespace drv {

void PlugPort(int port, PortKind kind) { winapi::PortNo(port).hw.Plug(kind, winapi::vclock::Now()); }

void PullAdapter(int port) { winapi::PullOut(winapi::PortNo(port)); }

void PlugAdapterBack(int port) {
  Port& p = winapi::PortNo(port);
  if (p.hw.PulledOut()) p.hw.PlugBack();
}

std::size_t OpenPorts() {
  std::size_t n = 0;
  for (const Port& p : winapi::Table().ports) n += p.open != nullptr;
  return n;
}

void SetSignal(int port, int channel, const Signal& signal) {
  winapi::PortNo(port).hw.Module().SetSignal(channel, signal);
}

std::uint64_t Conversions(int port, int channel) {
  return winapi::PortNo(port).hw.Module().Conversions(channel);
}

void SetFaults(int port, const Faults& faults) {
  winapi::PortNo(port).hw.SetFaults(faults, winapi::vclock::Now());
}

void SetConversionTime(int port, std::uint64_t ns) {
  winapi::PortNo(port).hw.Module().SetConversionNs(ns);
}

void SetPortBehaviour(int port, const PortBehaviour& behaviour) {
  winapi::PortNo(port).hw.SetBehaviour(behaviour, winapi::vclock::Now());
}

void SetPortSettings(int port, const DCB& settings) { winapi::PortNo(port).settings = settings; }

DCB PortSettings(int port) { return winapi::PortNo(port).settings; }

Lines PortLines(int port) {
  const Port& p = winapi::PortNo(port);
  return {p.open != nullptr, p.hw.Rts(), p.hw.Dtr(), p.hw.Brk()};
}

std::vector<std::string> ProtocolViolations(int port) {
  return winapi::PortNo(port).hw.Module().Violations();
}

int AbandonedAnswers(int port) { return winapi::PortNo(port).hw.Module().Abandoned(); }

void ResetPorts() {
  for (Port& p : winapi::Table().ports) {
    if (p.open) winapi::Table().handles.Remove(p.open);
    const char* name = p.name;
    p = Port{};
    p.name = name;
    p.hw.Reset();
  }
}

}  // namespace drv
