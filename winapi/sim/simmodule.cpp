// The simulated converter module.
//
//   PC serial port                            module (MAX186, CS held low)
//   --------------                            --------------------------
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
//          START SEL2 ... PD0            lead  D11          D0
//   DTR  __/^^^^X====X ... ==\____________________________ ... _____/^^^^ rests on
//   RTS  ____/^\__/^\__ ... /^\__:wait:__/^\___/^\___ ... __/^\______
//   CTS  on ..........................[ 0 ][D11] ... [D0 ] on (DOUT low)
//                                    CTS on = 0, off = 1; read while RTS is high
//
// What it does, by the MAX186 data sheet (the page it is said on in brackets):
// - "Each rising edge on SCLK, with CS low, clocks a bit from DIN into the MAX186's internal
//   shift register. [...] the first arriving logic 1 bit defines the MSB of the control byte.
//   Until this first start bit arrives, any number of logic 0 bits can be clocked into DIN with
//   no effect." (How to Start a Conversion, p. 10). DIN is taken on rising edges only: a START
//   bit whose pulse began before the module was listening, or with the clock already high, is
//   lost, and the next 1 becomes START.
// - During an answer, the first 1 clocked in after bit 5 of the result is on DOUT starts the
//   next control byte (Data Framing); earlier ones are ignored, and noticed here.
// - A conversion starts on the falling edge after the eighth control bit. In internal clock
//   mode it runs up to 10 us ("conversion 10us max" in the internal clock timing figure),
//   DOUT low meanwhile; "all transitions of the SSTRB and DOUT outputs occur on the falling edge
//   of SCLK" (p. 10): the MSB appears with the first falling edge after the conversion has
//   ended, each further falling edge puts out the next bit, and after the LSB DOUT is "filled
//   with zeros". The conversion time is settable (SetConversionNs); the default is the
//   maximum, as a master must reckon with it.
// - The control byte: SEL2..SEL0 choose the input (single-ended) or the pair and its sense
//   (differential); UNI/BIP unipolar (straight binary, 0..4095) or bipolar (two's complement,
//   -2048..2047); PD1 PD0 10 internal clock, 11 external clock, 01 fast and 00 full power-down.
//   "When software shutdown is asserted, the ADC will continue to operate in the last specified
//   clock mode until the conversion is complete. Then the ADC powers down" (Software
//   Power-Down, p. 15).
//
// Where the data sheet leaves it to the board or is silent, this module chooses:
// - CS is tied low (the port has no line for it), and DOUT is low until a result goes out, so
//   CTS is on whenever no 1 is being put out.
// - A break on TXD returns the chip to idle, as taking CS high would: the probe leaves it idle
//   whatever came before. Raising RTS with DTR on, as opening the port does, takes a START bit
//   that the probe's break then discards.
// - A conversion asked for while the chip is in full power-down reads 0: its reference is off
//   and takes milliseconds to come back (the data sheet's power-up delays, p. 15), far longer
//   than the acquisition that begins at once. After fast power-down, which keeps the reference
//   up, it reads right.
// - The board runs the chip on its internal clock; a control byte asking for the external
//   clock is converted as on the internal one.
// - Each conversion advances the signal of every input it samples by one step.
//
// Protocol violations it notices (a correct master makes none): DTR changing while the clock
// is high inside a control word, a 1 clocked in while an answer's bit 5 is not yet out, a
// break in the middle of a transaction, clock or data changes during a break, and a control
// word other than unipolar, single-ended, internal clock (xxxx1110), the mode the program uses.

#include "simmodule.h"

#include <cstdio>

namespace winapi {

void SimModule::Attach(bool rts, bool dtr, bool brk) {
  rts_ = rts;
  dtr_ = dtr;
  brk_ = brk;
  GoIdle();
  power_ = Power::Up;
  violations_.clear();
  abandoned_ = 0;
}

void SimModule::Reset() {
  signals_.fill(sim::Signal{});
  conversions_.fill(0);
  breakAnswer_ = MS_RING_ON | MS_RLSD_ON;
  conversionNs_ = sim::kDefaultConversionNs;
  Attach(false, false, false);
}

void SimModule::SetSignal(int channel, const sim::Signal& signal) {
  signals_[channel - 1] = signal;
  conversions_[channel - 1] = 0;
}

DWORD SimModule::Status() const {
  return (dout_ ? 0 : MS_CTS_ON) | (brk_ ? breakAnswer_ : 0);
}

void SimModule::Data(bool on) {
  if (on == dtr_) return;
  dtr_ = on;
  if (brk_) {
    Violation("DTR changed during a break");
    return;
  }
  if (taking_ && rts_) {
    char text[64];
    std::snprintf(text, sizeof text, "DTR changed while the clock was high, control bit %d", bits_);
    Violation(text);
  }
}

void SimModule::Break(bool on) {
  if (on == brk_) return;
  brk_ = on;
  if (on && (answering_ || (taking_ && bits_ > 1)))
    Violation("break in the middle of a transaction");
  GoIdle();
}

// A START bit is taken while idle, or once bit 5 of the answer going out is on DOUT.
bool SimModule::TakesStart() const { return !answering_ || (!converting_ && shifted_ >= 7); }

void SimModule::RisingEdge() {
  if (taking_) {
    control_ = (control_ << 1) | (dtr_ ? 1u : 0u);
    ++bits_;
  } else if (dtr_) {
    if (!TakesStart()) return StrayStart();
    if (answering_) ++abandoned_;  // the rest of this answer will never be read
    taking_ = true;
    control_ = 1;
    bits_ = 1;
  }
}

void SimModule::FallingEdge(std::uint64_t nowNs) {
  if (taking_ && bits_ == 8) return StartConversion(nowNs);
  if (!answering_) return;
  if (converting_) {
    if (nowNs < doneAtNs_) return;  // still converting: DOUT stays low
    converting_ = false;
  }
  if (shifted_ == 12) {  // the LSB has been out for a clock: zeros follow, the chip is idle
    answering_ = false;
    dout_ = false;
    return;
  }
  dout_ = ((result_ >> (11 - shifted_)) & 1) != 0;
  ++shifted_;
}

void SimModule::StartConversion(std::uint64_t nowNs) {
  taking_ = false;
  if ((control_ & 0x0Fu) != 0x0Eu) {
    char text[80];
    std::snprintf(text, sizeof text, "control word 0x%02X: not unipolar single-ended internal clock",
                  control_);
    Violation(text);
  }
  result_ = Convert();
  const unsigned pd = control_ & 3u;
  power_ = pd == 0 ? Power::FullDown : pd == 1 ? Power::FastDown : Power::Up;
  answering_ = converting_ = true;
  doneAtNs_ = nowNs + conversionNs_;
  shifted_ = 0;
  dout_ = false;
}

// The code for the control byte taken, from the inputs as they are now.
int SimModule::Convert() {
  // SEL2 picks within a pair of inputs, SEL1 SEL0 the pair: CH0 CH1, CH2 CH3, CH4 CH5, CH6 CH7.
  const unsigned sel2 = (control_ >> 6) & 1u, sel1 = (control_ >> 5) & 1u, sel0 = (control_ >> 4) & 1u;
  const bool unipolar = (control_ >> 3) & 1u, singleEnded = (control_ >> 2) & 1u;
  const int plus = int(2 * (2 * sel1 + sel0) + sel2);
  int mv = Input(plus);
  if (!singleEnded) mv -= Input(plus ^ 1);  // the pair's other input is the minus side
  const bool wokeFromFullDown = power_ == Power::FullDown;
  if (wokeFromFullDown) return 0;
  if (unipolar) return mv < 0 ? 0 : mv > 4095 ? 4095 : mv;
  return (mv < -2048 ? -2048 : mv > 2047 ? 2047 : mv) & 0xFFF;
}

int SimModule::Input(int index) { return sim::SignalAt(signals_[index], conversions_[index]++); }

void SimModule::GoIdle() {
  taking_ = answering_ = converting_ = false;
  bits_ = shifted_ = 0;
  control_ = 0;
  dout_ = false;
}

void SimModule::Violation(const char* what) { violations_.emplace_back(what); }

void SimModule::StrayStart() {
  char text[64];
  std::snprintf(text, sizeof text, "a 1 clocked in with %d of the answer's bits out", shifted_);
  Violation(text);
}

}  // namespace winapi
