#include "hardware.h"

namespace sim {

namespace {

// A report's jitter: the nth of a port's reports gets the same share of it in every run.
std::uint64_t Jitter(std::uint64_t n, std::uint64_t range) {
  if (range == 0) return 0;
  std::uint64_t z = (n + 1) * 0x9E3779B97F4A7C15ull;  // splitmix64
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return (z ^ (z >> 31)) % (range + 1);
}

}  // namespace

void PortHardware::SetRts(bool on, std::uint64_t nowNs) {
  if (rts_ == on) return;
  rts_ = on;
  if (HasModule()) {
    module_.Clock(on, nowNs);
    Changed(nowNs);
  }
}

// An adapter that passes RTS on only with DTR sends both whenever DTR is set.
void PortHardware::CarryRts(std::uint64_t nowNs) {
  Catch(nowNs);
  if (!behaviour_.rtsOnlyWithDtr) SetRts(rtsWanted_, nowNs);
}

void PortHardware::CarryDtr(bool on, std::uint64_t nowNs) {
  Catch(nowNs);
  if (dtr_ != on) {
    dtr_ = on;
    if (HasModule()) {
      module_.Data(on);
      Changed(nowNs);
    }
  }
  if (behaviour_.rtsOnlyWithDtr) SetRts(rtsWanted_, nowNs);
}

void PortHardware::Plug(PortKind kind, std::uint64_t nowNs) {
  kind_ = kind;
  if (kind == PortKind::Module) module_.Attach(rts_, dtr_, brk_);
  Changed(nowNs);
}

void PortHardware::SetBehaviour(const PortBehaviour& behaviour, std::uint64_t nowNs) {
  behaviour_ = behaviour;
  live_ = behaviour.Live();
  Replan();
  Restart(nowNs);
}

void PortHardware::SetFaults(const Faults& faults, std::uint64_t nowNs) {
  faults_ = faults;
  faulted_ = true;
  reads_ = 0;
  module_.SetBreakAnswer(faults.breakAnswer);
  Replan();
  Changed(nowNs);
}

void PortHardware::PullOut() {
  pulledOut_ = true;
  open_ = false;
  rts_ = dtr_ = brk_ = false;
  pulseEndNs_ = 0;
  Replan();
}

void PortHardware::PlugBack() {
  pulledOut_ = false;
  if (HasModule()) module_.Attach(false, false, false);
}

void PortHardware::Reset() {
  *this = PortHardware{};
  module_.Reset();
}

// The driver's copy starts out right: what is at the inputs now.
void PortHardware::Restart(std::uint64_t nowNs) {
  reports_.assign(1, Report{nowNs, Inputs()});
  reportsMade_ = 0;
}

DWORD PortHardware::Inputs() const {
  DWORD lines = HasModule() ? module_.Status() : 0;
  return faulted_ ? (lines | faults_.stuckOn) & ~faults_.stuckOff : lines;
}

// A change at the adapter's inputs goes into a report, due after the adapter's delay (on a
// timed adapter: at the first tick after that), and no sooner than the report before it.
void PortHardware::Track(std::uint64_t nowNs) {
  if (behaviour_.statusFrozenAtOpen && open_) return;
  const DWORD lines = Inputs();
  if (lines == reports_.back().lines) return;
  std::uint64_t at = nowNs + behaviour_.reportDelayNs +
                     Jitter(reportsMade_++, behaviour_.reportJitterNs);
  if (const std::uint64_t tick = behaviour_.statusRefreshNs) at = (at / tick + 1) * tick;
  if (at < reports_.back().atNs) at = reports_.back().atNs;
  reports_.push_back(Report{at, lines});
}

std::uint64_t PortHardware::BreakNs(bool on, std::uint64_t nowNs) const {
  if (on || behaviour_.brk != PortBehaviour::Break::Pulse) return LineNs();
  const std::uint64_t end = breakOnNs_ + behaviour_.breakEndNs;
  return (end > nowNs ? end - nowNs : 0) + LineNs();
}

// The status read at open is what a frozen driver keeps.
void PortHardware::Open(std::uint64_t nowNs) {
  Catch(nowNs);
  open_ = true;
  if (behaviour_.statusFrozenAtOpen) Restart(nowNs);
}

// Closing clears the break and drops DTR and RTS.
void PortHardware::Close(std::uint64_t nowNs) {
  Break(false, nowNs);
  rtsWanted_ = false;
  SetDtr(false, nowNs);
  SetRts(false, nowNs);
  open_ = false;
}

bool PortHardware::Break(bool on, std::uint64_t nowNs) {
  Catch(nowNs);
  using B = PortBehaviour::Break;
  if (behaviour_.brk == B::Refused) return false;
  if (on) breakOnNs_ = nowNs;
  if (brk_ == on) return true;
  if (on && behaviour_.brk == B::NotHeld) {
    if (HasModule()) module_.Break(true), module_.Break(false);
    Changed(nowNs);
    return true;
  }
  brk_ = on;
  if (HasModule()) module_.Break(on);
  if (on && behaviour_.brk == B::Pulse) pulseEndNs_ = nowNs + behaviour_.breakPulseNs;
  if (!on) pulseEndNs_ = 0;
  Replan();
  Changed(nowNs);
  return true;
}

void PortHardware::EndPulse() {
  const std::uint64_t at = pulseEndNs_;
  pulseEndNs_ = 0;
  Replan();
  brk_ = false;
  if (HasModule()) module_.Break(false);
  Changed(at);
}

PortHardware::Read PortHardware::CountRead(std::uint64_t nowNs) {
  const int read = ++reads_;
  if (faults_.unplugAtRead != 0 && read == faults_.unplugAtRead && HasModule()) {
    kind_ = PortKind::Empty;
    Changed(nowNs);
  }
  if (faults_.pullAdapterAtRead != 0 && read == faults_.pullAdapterAtRead) return Read::PullsAdapter;
  const bool fails = faults_.failStatusFrom != 0 && read >= faults_.failStatusFrom &&
                     (faults_.failStatusCount == 0 ||
                      read < faults_.failStatusFrom + faults_.failStatusCount);
  return fails ? Read::Fails : Read::Answers;
}

DWORD PortHardware::ReportedStatus(std::uint64_t nowNs) {
  Catch(nowNs);
  DWORD lines;
  if (live_) {
    lines = Inputs();
  } else {
    while (reports_.size() > 1 && reports_[1].atNs <= nowNs) reports_.pop_front();
    lines = reports_.front().lines;
  }
  switch (behaviour_.cts) {
    case PortBehaviour::Cts::FromLine: break;
    case PortBehaviour::Cts::AlwaysOn: lines |= MS_CTS_ON; break;
    case PortBehaviour::Cts::AlwaysOff: lines &= ~DWORD(MS_CTS_ON); break;
  }
  if (faulted_) {
    auto noise = faults_.noiseAtRead.find(reads_);
    if (noise != faults_.noiseAtRead.end()) lines = (lines | noise->second) & ~faults_.stuckOff;
  }
  return lines;
}

}  // namespace sim
