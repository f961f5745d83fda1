// The driver's calls on the serial ports: what sits behind each, the module's signals, faults,
// the adapter's behaviour, and the lines as the device sees them.
#include "winapi/driver/ports.h"

#include "serial.h"

using winapi::Port;

namespace drv {

void PlugPort(int port, PortKind kind) {
  Port& p = winapi::PortNo(port);
  p.kind = kind;
  if (kind == PortKind::Module) p.module.Attach(p.rts, p.dtr, p.brk);
}

void PullAdapter(int port) { winapi::PullOut(winapi::PortNo(port)); }

void PlugAdapterBack(int port) {
  Port& p = winapi::PortNo(port);
  if (!p.pulledOut) return;
  p.pulledOut = false;
  if (p.HasModule()) p.module.Attach(false, false, false);
}

std::size_t OpenPorts() {
  std::size_t n = 0;
  for (const Port& p : winapi::Table().ports) n += p.open != nullptr;
  return n;
}

void SetSignal(int port, int channel, const Signal& signal) {
  winapi::PortNo(port).module.SetSignal(channel, signal);
}

std::uint64_t Conversions(int port, int channel) {
  return winapi::PortNo(port).module.Conversions(channel);
}

void SetFaults(int port, const Faults& faults) {
  Port& p = winapi::PortNo(port);
  p.faults = faults;
  p.faulted = true;
  p.reads = 0;
  p.module.SetBreakAnswer(faults.breakAnswer);
}

void SetConversionTime(int port, std::uint64_t ns) { winapi::PortNo(port).module.SetConversionNs(ns); }

void SetPortBehaviour(int port, const PortBehaviour& behaviour) {
  Port& p = winapi::PortNo(port);
  p.behaviour = behaviour;
  p.reportDue = 0;
  p.reported = winapi::LiveStatus(p);
}

void SetPortSettings(int port, const DCB& settings) { winapi::PortNo(port).settings = settings; }

DCB PortSettings(int port) { return winapi::PortNo(port).settings; }

Lines PortLines(int port) {
  const Port& p = winapi::PortNo(port);
  return {p.open != nullptr, p.rts, p.dtr, p.brk};
}

std::vector<std::string> ProtocolViolations(int port) {
  return winapi::PortNo(port).module.Violations();
}

int AbandonedAnswers(int port) { return winapi::PortNo(port).module.Abandoned(); }

void ResetPorts() {
  for (Port& p : winapi::Table().ports) {
    if (p.open) winapi::Table().handles.Remove(p.open);
    const char* name = p.name;
    p = Port{};
    p.name = name;
    p.module.Reset();
  }
}

}  // namespace drv
