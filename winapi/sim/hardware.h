// The simulated machine behind one COM port: what is plugged in, the lines as the device sees
// them, the module, the faults, and the adapter that carries the lines between them and the
// program (PortBehaviour). It answers the requests of the port's driver at the time given,
// on any clock that runs on: the native kernel's virtual clock, or real time under Wine. The
// caller asks how long a request takes (LineNs, StatusNs, BreakNs), lets that time pass, and
// then makes it.
#ifndef PIKON_WINAPI_HARDWARE_H
#define PIKON_WINAPI_HARDWARE_H

#include "portsim.h"
#include "simmodule.h"

#include <cstdint>
#include <deque>

namespace sim {

class PortHardware {
 public:
  PortHardware() { Restart(0); }

  PortKind Kind() const { return kind_; }
  bool HasModule() const { return kind_ == PortKind::Module; }
  winapi::SimModule& Module() { return module_; }
  bool Rts() const { return rts_; }
  bool Dtr() const { return dtr_; }
  bool Brk() const { return brk_; }
  bool PulledOut() const { return pulledOut_; }

  // The scene. A module plugged in sees the lines as they are (it powers up idle).
  void Plug(PortKind kind, std::uint64_t nowNs);
  // The adapter's driver knows the lines as they are now: no report is outstanding.
  void SetBehaviour(const PortBehaviour& behaviour, std::uint64_t nowNs);
  void SetFaults(const Faults& faults, std::uint64_t nowNs);
  // The adapter out of the machine: the lines drop, and with them the module's power.
  void PullOut();
  // Back in: the module behind it powers up idle.
  void PlugBack();
  // A new port: nothing plugged in, a 1 µs UART, no faults, the module reset.
  void Reset();

  // What the requests take.
  std::uint64_t LineNs() const { return behaviour_.lineNs; }
  std::uint64_t StatusNs() const { return behaviour_.statusNs; }
  std::uint64_t BreakNs(bool on, std::uint64_t nowNs) const;

  // The driver's requests, made at nowNs.
  void Open(std::uint64_t nowNs);
  void Close(std::uint64_t nowNs);
  void SetDtr(bool on, std::uint64_t nowNs);
  void WantRts(bool on, std::uint64_t nowNs);
  // Both, as opening the port or applying settings sets them: DTR first, then RTS.
  void SetLines(bool dtr, bool rts, std::uint64_t nowNs) {
    rtsWanted_ = rts;
    SetDtr(dtr, nowNs);
    WantRts(rts, nowNs);
  }
  // false: the adapter has no break, nothing changes.
  bool Break(bool on, std::uint64_t nowNs);
  bool BreakRefused() const { return behaviour_.brk == PortBehaviour::Break::Refused; }
  // SetCommBreak or ClearCommBreak gets through: the adapter has a break, and the faults do not
  // make the call fail.
  bool TakesBreakCall(bool on) const {
    return !BreakRefused() &&
           !(faulted_ && (on ? faults_.failSetBreak : faults_.failClearBreak));
  }
  // A status read begins: the faults may pull the module or the adapter out first, or fail it.
  enum class Read { Answers, Fails, PullsAdapter };
  Read BeginRead(std::uint64_t nowNs) { return faulted_ ? CountRead(nowNs) : Read::Answers; }
  // ... and the word it answers, as the driver reports it.
  DWORD Status(std::uint64_t nowNs) {
    if (plain_) return HasModule() ? module_.Status() : 0;
    return ReportedStatus(nowNs);
  }

 private:
  struct Report {
    std::uint64_t atNs;  // when the driver has it
    DWORD lines;
  };
  DWORD Inputs() const;
  void Changed(std::uint64_t nowNs) {
    if (!live_) Track(nowNs);
  }
  void Track(std::uint64_t nowNs);
  void Catch(std::uint64_t nowNs) {
    if (pulseEndNs_ != 0 && nowNs >= pulseEndNs_) EndPulse();
  }
  void EndPulse();
  DWORD ReportedStatus(std::uint64_t nowNs);
  // Line changes reach the module as they are made, and reads are its lines as they are:
  // live, CTS as the line has it, RTS on its own, no faults, no break pulse under way.
  void Replan() {
    plain_ = live_ && behaviour_.cts == PortBehaviour::Cts::FromLine &&
             !behaviour_.rtsOnlyWithDtr && !faulted_ && pulseEndNs_ == 0;
  }
  void Restart(std::uint64_t nowNs);
  void SetRts(bool on, std::uint64_t nowNs);
  void CarryRts(std::uint64_t nowNs);
  void CarryDtr(bool on, std::uint64_t nowNs);
  Read CountRead(std::uint64_t nowNs);

  PortKind kind_ = PortKind::Absent;
  PortBehaviour behaviour_ = LegacyUart(1);
  bool live_ = true;   // behaviour_.Live()
  bool plain_ = true;  // see Replan
  winapi::SimModule module_;
  Faults faults_;
  bool faulted_ = false;  // faults were set: reads take the long way
  int reads_ = 0;         // status reads since then
  bool rts_ = false, dtr_ = false, brk_ = false;  // as the device sees them
  bool rtsWanted_ = false;  // as the driver was last asked (the device may not have it yet)
  bool open_ = false;
  bool pulledOut_ = false;
  // The reports on their way to the driver, the first the one it has; never empty.
  std::deque<Report> reports_;
  std::uint64_t reportsMade_ = 0;  // numbers each report's jitter
  std::uint64_t breakOnNs_ = 0;    // when the break began
  std::uint64_t pulseEndNs_ = 0;   // when a break pulse ends by itself; 0: none under way
};

// A UART's line changes go straight to the module: they are most of what a sweep does.
inline void PortHardware::WantRts(bool on, std::uint64_t nowNs) {
  rtsWanted_ = on;
  if (!plain_) return CarryRts(nowNs);
  if (rts_ == on) return;
  rts_ = on;
  if (HasModule()) module_.Clock(on, nowNs);
}

inline void PortHardware::SetDtr(bool on, std::uint64_t nowNs) {
  if (!plain_) return CarryDtr(on, nowNs);
  if (dtr_ == on) return;
  dtr_ = on;
  if (HasModule()) module_.Data(on);
}

}  // namespace sim

#endif
