// The simulated converter module: a MAX186-style 8-channel 12-bit converter behind a serial
// port's control lines. The port tells it every line change in the order the program makes
// them; it answers on the status lines.
#ifndef PIKON_WINAPI_SIMMODULE_H
#define PIKON_WINAPI_SIMMODULE_H

#include "winapi/driver/ports.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace winapi {

class SimModule {
 public:
  // Powers up idle, with the port's lines in the given state (plugged in, or power-on).
  void Attach(bool rts, bool dtr, bool brk);
  // Line changes; a call that does not change the line is no change.
  void Clock(bool on);   // RTS
  void Data(bool on);    // DTR
  void Break(bool on);   // TXD held in break
  // The status lines it drives: MS_CTS_ON, and during a break the break answer.
  DWORD Status() const;

  void SetBreakAnswer(DWORD lines) { breakAnswer_ = lines; }
  void SetSignal(int channel, const drv::Signal& signal);  // channel 1..8
  std::uint64_t Conversions(int channel) const { return conversions_[channel - 1]; }
  const std::vector<std::string>& Violations() const { return violations_; }
  int Abandoned() const { return abandoned_; }
  // Back to the state of a new module: idle, flat 0 mV inputs, nothing noticed.
  void Reset();

 private:
  enum class Phase { Idle, Control, Answer };
  void RisingEdge();
  void FallingEdge();
  void Convert();
  void GoIdle();
  // Out of line and cold: the edges stay cheap.
  [[gnu::cold]] void Violation(const char* what);

  bool rts_ = false, dtr_ = false, brk_ = false;
  Phase phase_ = Phase::Idle;
  int bits_ = 0;            // control bits taken, or answer bits put out
  unsigned control_ = 0;    // the control word as taken so far
  unsigned answer_ = 0;     // 13 bits: a leading 0, then the 12-bit code
  bool cts_ = false;
  DWORD breakAnswer_ = MS_RING_ON | MS_RLSD_ON;
  std::array<drv::Signal, 8> signals_{};
  std::array<std::uint64_t, 8> conversions_{};
  std::vector<std::string> violations_;
  int abandoned_ = 0;
};

// Every transaction clocks thirty-odd edges, so the edge itself is inlined where RTS changes.
inline void SimModule::Clock(bool on) {
  if (on == rts_) return;
  rts_ = on;
  if (brk_)
    Violation("clock edge during a break");
  else if (on)
    RisingEdge();
  else
    FallingEdge();
}

}  // namespace winapi

#endif
