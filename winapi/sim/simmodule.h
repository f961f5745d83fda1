// The simulated converter module: a MAX186 8-channel 12-bit converter behind a serial port's
// control lines, as its data sheet describes it. The port tells it every line change in the
// order the program makes them, each clock edge with the time it happened; it answers on the
// status lines.
#ifndef PIKON_WINAPI_SIMMODULE_H
#define PIKON_WINAPI_SIMMODULE_H

#include "portsim.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace winapi {

class SimModule {
 public:
  // Powers up idle, with the port's lines in the given state (plugged in, or power-on).
  void Attach(bool rts, bool dtr, bool brk);
  // Line changes; a call that does not change the line is no change. nowNs: when the clock
  // changed, on any clock that runs on (the conversion time is measured on it).
  void Clock(bool on, std::uint64_t nowNs);  // RTS
  void Data(bool on);                        // DTR
  void Break(bool on);                       // TXD held in break
  // The status lines it drives: CTS (DOUT, inverted), and during a break the break answer.
  DWORD Status() const;

  void SetBreakAnswer(DWORD lines) { breakAnswer_ = lines; }
  void SetConversionNs(std::uint64_t ns) { conversionNs_ = ns; }
  void SetSignal(int channel, const sim::Signal& signal);  // channel 1..8
  std::uint64_t Conversions(int channel) const { return conversions_[channel - 1]; }
  const std::vector<std::string>& Violations() const { return violations_; }
  int Abandoned() const { return abandoned_; }
  // Back to the state of a new module: idle, flat 0 mV inputs, nothing noticed.
  void Reset();

 private:
  enum class Power { Up, FastDown, FullDown };
  void RisingEdge();
  void FallingEdge(std::uint64_t nowNs);
  bool TakesStart() const;
  void StartConversion(std::uint64_t nowNs);
  int Convert();
  int Input(int index);
  void GoIdle();
  // Out of line and cold: the edges stay cheap.
  [[gnu::cold]] void Violation(const char* what);
  [[gnu::cold]] void StrayStart();

  bool rts_ = false, dtr_ = false, brk_ = false;
  // The control byte coming in on DIN.
  bool taking_ = false;
  int bits_ = 0;            // control bits taken, START included
  unsigned control_ = 0;
  // The result going out on DOUT.
  bool answering_ = false;  // from the conversion's start until its LSB is out
  bool converting_ = false; // the MSB is not out yet
  std::uint64_t doneAtNs_ = 0;
  int result_ = 0;          // 12 bits
  int shifted_ = 0;         // result bits put on DOUT so far
  bool dout_ = false;
  Power power_ = Power::Up;
  std::uint64_t conversionNs_ = sim::kDefaultConversionNs;
  DWORD breakAnswer_ = MS_RING_ON | MS_RLSD_ON;
  std::array<sim::Signal, 8> signals_{};
  std::array<std::uint64_t, 8> conversions_{};
  std::vector<std::string> violations_;
  int abandoned_ = 0;
};

// Every transaction clocks thirty-odd edges, so the edge itself is inlined where RTS changes.
inline void SimModule::Clock(bool on, std::uint64_t nowNs) {
  if (on == rts_) return;
  rts_ = on;
  if (brk_)
    Violation("clock edge during a break");
  else if (on)
    RisingEdge();
  else
    FallingEdge(nowNs);
}

}  // namespace winapi

#endif
