// The simulated converter module.
//
//   PC serial port                            module (MAX186)
//   --------------                            ---------------
//   RTS  out  -------- clock ---------------> SCLK   RTS on = clock high
//   DTR  out  -------- data to the chip ----> DIN    DTR on = 1
//   CTS  in   <------- data from the chip --- DOUT   inverted: 1 = CTS off, 0 = CTS on
//   TXD  out  -------- break = presence probe
//   RING in   <------- on while TXD is in break  \  the probe's answer; both off again
//   RLSD in   <------- on while TXD is in break  /  when the break clears
//   DSR  in            not driven (off)
//
// One transaction, seen from the module (time runs to the right; ^ = on, _ = off):
//
//          START SEL2 ... PD0         lead  D11         D0
//   DTR  __/^^^^X====X ... ==\_________________________ ... _____/^^^^ rests on
//   RTS  ____/^\__/^\__ ... /^\______/^\___/^\___ ... __/^\______
//   CTS  off ............................[ 0 ][D11] ... [D0 ] off
//                                    CTS on = 0, off = 1; read while RTS is high
//
// Framing. Idle, the module waits for the START bit, the first 1 on DTR: a clock pulse that
// ends (falling edge) with DTR on is the START bit, pulses ending with DTR off are leading
// zeros and are ignored. Judging the START bit at the end of its pulse rather than at its
// rising edge lets a pulse that began before the module was listening carry it: after
// detection the clock is already high (the applied settings raise RTS), and after a cut-short
// read the program leaves it high; in both cases the program's next control word begins
// with DTR set and the clock falling, without a rising edge. The seven bits after START
// (SEL2 SEL1 SEL0 UNI/BIP SGL/DIF PD1 PD0) are taken from DTR on rising edges, as the chip
// does; DTR may only change while the clock is low. With the eighth bit the module converts
// the selected input at once, and each of the next 13 rising edges puts one answer bit on
// CTS for the master to read while the clock is high: a leading 0, then the 12-bit code,
// most significant bit first. The falling edge after the 13th bit ends the answer and
// releases CTS (off).
//
// Recovery. The master holds DTR off while it clocks the answer in and raises it only when it
// is done. DTR going on before the answer has ended (the falling edge after its 13th bit)
// therefore means the master gave up reading (a failed status read, after which the clock
// stays high): the module abandons the answer and is idle again, ready for a START bit.
// A break also returns it to idle, so the presence probe leaves it idle whatever came before.
//
// Protocol violations it notices (a correct master makes none): DTR changing while the
// clock is high inside a control word, DTR on at a rising edge inside the answer, a break in
// the middle of a transaction, clock or data changes during a break, and a control word other
// than unipolar, single-ended, internal clock (xxxx1110): the board is wired for that mode
// only.

#include "simmodule.h"

#include <cmath>
#include <cstdio>

namespace winapi {

void SimModule::Attach(bool rts, bool dtr, bool brk) {
  rts_ = rts;
  dtr_ = dtr;
  brk_ = brk;
  GoIdle();
  violations_.clear();
  abandoned_ = 0;
}

void SimModule::Reset() {
  signals_.fill(drv::Signal{});
  conversions_.fill(0);
  breakAnswer_ = MS_RING_ON | MS_RLSD_ON;
  Attach(false, false, false);
}

void SimModule::SetSignal(int channel, const drv::Signal& signal) {
  signals_[channel - 1] = signal;
  conversions_[channel - 1] = 0;
}

DWORD SimModule::Status() const {
  return (cts_ ? MS_CTS_ON : 0) | (brk_ ? breakAnswer_ : 0);
}

void SimModule::Data(bool on) {
  if (on == dtr_) return;
  dtr_ = on;
  if (brk_) {
    Violation("DTR changed during a break");
    return;
  }
  if (phase_ == Phase::Control && rts_) {
    char text[64];
    std::snprintf(text, sizeof text, "DTR changed while the clock was high, control bit %d", bits_);
    Violation(text);
  }
  if (phase_ == Phase::Answer && on) {
    ++abandoned_;
    GoIdle();
  }
}

void SimModule::Break(bool on) {
  if (on == brk_) return;
  brk_ = on;
  if (on && phase_ != Phase::Idle) Violation("break in the middle of a transaction");
  GoIdle();
}

void SimModule::RisingEdge() {
  switch (phase_) {
    case Phase::Idle:
      break;  // the START bit is judged when the pulse ends
    case Phase::Control:
      control_ = (control_ << 1) | (dtr_ ? 1u : 0u);
      if (++bits_ == 8) Convert();
      break;
    case Phase::Answer:
      if (dtr_) Violation("DTR on while the answer is clocked out");
      cts_ = ((answer_ >> (12 - bits_)) & 1u) == 0;  // inverted: a 0 is CTS on
      ++bits_;
      break;
  }
}

void SimModule::FallingEdge() {
  if (phase_ == Phase::Idle && dtr_) {
    phase_ = Phase::Control;
    control_ = 1;
    bits_ = 1;
  } else if (phase_ == Phase::Answer && bits_ == 13) {
    GoIdle();
  }
}

void SimModule::Convert() {
  if ((control_ & 0x0Fu) != 0x0Eu) {
    char text[80];
    std::snprintf(text, sizeof text, "control word 0x%02X: not unipolar single-ended internal clock",
                  control_);
    Violation(text);
  }
  // The chip's select bits number the inputs in this odd order: SEL2 is worth 1, SEL0 2, SEL1 4.
  unsigned sel2 = (control_ >> 6) & 1u, sel1 = (control_ >> 5) & 1u, sel0 = (control_ >> 4) & 1u;
  int input = int(sel2 + 2 * sel0 + 4 * sel1);
  answer_ = unsigned(drv::SignalAt(signals_[input], conversions_[input]++));
  phase_ = Phase::Answer;
  bits_ = 0;
}

void SimModule::GoIdle() {
  phase_ = Phase::Idle;
  bits_ = 0;
  control_ = 0;
  cts_ = false;
}

void SimModule::Violation(const char* what) { violations_.emplace_back(what); }

}  // namespace winapi

namespace drv {

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

}  // namespace drv
