// The platform's serial ports and simulated module, driven through the Win32 calls alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include <windows.h>

#include "winapi/driver/clock.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"

namespace {

HANDLE OpenPort(const char* name) {
  return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

DWORD FlagsWord(const DCB& d) {
  DWORD w;
  std::memcpy(&w, reinterpret_cast<const char*>(&d) + 8, sizeof w);
  return w;
}

std::string Lines(int port) {
  drv::Lines l = drv::PortLines(port);
  return std::string(l.rts ? "R" : "-") + (l.dtr ? "D" : "-") + (l.brk ? "B" : "-");
}

TEST(Serial, SettingsHaveTheWindowsLayoutAndDriveTheLines) {
  DCB d{};
  d.fDtrControl = 3;
  EXPECT_EQ(FlagsWord(d), 0x30u);
  d.fDtrControl = 0;
  d.fRtsControl = 3;
  EXPECT_EQ(FlagsWord(d), 0x3000u);

  drv::PlugPort(1, drv::PortKind::Empty);
  HANDLE h = OpenPort("COM1");
  ASSERT_TRUE(GetCommState(h, &d));
  EXPECT_EQ(d.DCBlength, 28u);
  EXPECT_EQ(d.BaudRate, 9600u);
  EXPECT_EQ(FlagsWord(d), 0x1011u) << "binary, DTR and RTS control enabled";
  EXPECT_EQ(d.ByteSize * 100 + d.Parity * 10 + d.StopBits, 800) << "8N1";
  EXPECT_EQ(Lines(1), "RD-") << "opening raises the enabled lines";

  d.fRtsControl = RTS_CONTROL_DISABLE;
  d.XoffChar = d.XonChar;
  EXPECT_FALSE(SetCommState(h, &d)) << "XON equal to XOFF";
  EXPECT_EQ(Lines(1), "RD-");
  d.XoffChar = 0x13;
  EXPECT_TRUE(SetCommState(h, &d));
  EXPECT_EQ(Lines(1), "-D-");
  EscapeCommFunction(h, CLRDTR);
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_HANDSHAKE;
  SetCommState(h, &d);
  EXPECT_EQ(Lines(1), "RD-") << "applying enabled DTR raises it again";
  EXPECT_FALSE(EscapeCommFunction(h, CLRRTS)) << "RTS belongs to the handshake";
  EXPECT_FALSE(EscapeCommFunction(h, 7));
  EXPECT_EQ(drv::CallsTo("EscapeCommFunction").back().Code(), 7);
  SetCommBreak(h);
  EXPECT_EQ(Lines(1), "RDB");
  CloseHandle(h);
  EXPECT_EQ(Lines(1), "---") << "closing drops everything";
  h = OpenPort("COM1");
  GetCommState(h, &d);
  EXPECT_EQ(d.fRtsControl, unsigned(RTS_CONTROL_HANDSHAKE)) << "the port kept its settings";
}

TEST(Serial, OpensComPortsOnlyAndOnlyOnce) {
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::PlugPort(2, drv::PortKind::Module);
  drv::PlugPort(3, drv::PortKind::Busy);
  const struct {
    const char* name;
    bool opens;
  } cases[] = {{"COM1", true},  {"\\\\.\\com2", true}, {"COM3", false}, {"COM4", false},
               {"COM5", false}, {"COM12", false},       {"COM1", false}, {"C:\\COM1", false}};
  for (const auto& c : cases) EXPECT_EQ(OpenPort(c.name) != INVALID_HANDLE_VALUE, c.opens) << c.name;
  drv::ResetPorts();
  drv::PlugPort(1, drv::PortKind::Empty);
  EXPECT_EQ(CreateFileA("COM1", GENERIC_READ, 1, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE) << "shared";
  EXPECT_EQ(CreateFileA("COM1", GENERIC_READ, 0, nullptr, 2, 0, nullptr), INVALID_HANDLE_VALUE)
      << "created";

  HANDLE first = OpenPort("COM1");
  ASSERT_TRUE(CloseHandle(first));
  HANDLE second = OpenPort("COM1");  // same slot, next generation
  ASSERT_NE(second, first);
  DWORD status = 7;
  EXPECT_FALSE(CloseHandle(first));
  EXPECT_FALSE(EscapeCommFunction(first, CLRRTS));
  EXPECT_FALSE(GetCommModemStatus(first, &status));
  EXPECT_EQ(status, 7u);
  EXPECT_EQ(Lines(1), "RD-") << "a dead handle reached the port";
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_FALSE(CloseHandle(second));
}

TEST(Serial, FaultModes) {
  drv::PlugPort(1, drv::PortKind::Module);
  HANDLE h = OpenPort("COM1");
  drv::Faults f;
  f.failStatusFrom = 3;
  f.failStatusCount = 2;
  f.unplugAtRead = 6;
  f.stuckOn = MS_DSR_ON;
  f.breakAnswer = MS_RING_ON;
  drv::SetFaults(1, f);
  SetCommBreak(h);
  const struct {
    BOOL ok;
    DWORD word;
  } reads[] = {{TRUE, 0x70}, {TRUE, 0x70}, {FALSE, 0}, {FALSE, 0}, {TRUE, 0x70}, {TRUE, 0x20}};
  for (int i = 0; i < 6; ++i) {
    DWORD word = 0;  // a failed read leaves it alone
    EXPECT_EQ(GetCommModemStatus(h, &word), reads[i].ok) << "read " << i + 1;
    EXPECT_EQ(word, reads[i].word) << "read " << i + 1;
    EXPECT_EQ(drv::CallsTo("GetCommModemStatus").back().Code(), std::intptr_t(word));
  }
  drv::PlugPort(1, drv::PortKind::Module);  // back into the open port, break still on
  DWORD word = 0;
  GetCommModemStatus(h, &word);
  EXPECT_EQ(word, 0x70u) << "CTS on: the chip's DOUT is low while idle";
}

// A master written from the converter's data sheet, bit by bit, on a port of 1 µs per call.
struct Master {
  HANDLE h;
  void Line(DWORD code) { EscapeCommFunction(h, code); }
  void Bit(int bit) {
    Line(bit ? SETDTR : CLRDTR);
    Line(SETRTS);
    Line(CLRRTS);
  }
  void Bits(std::initializer_list<int> bits) {
    for (int b : bits) Bit(b);
  }
  // START, SEL2 SEL1 SEL0, then UNI/BIP SGL/DIF PD1 PD0 (unipolar, single-ended, internal clock).
  void Word(int sel, int mode = 0b1110) {
    for (int i = 7; i >= 0; --i) Bit(((0x80 | sel << 4 | mode) >> i) & 1);
  }
  // Waits out the conversion (a millisecond) unless told not to, then clocks `bits` bits in;
  // the clock ends low, DTR on.
  int Read(int bits = 13, bool wait = true) {
    int code = 0;
    Line(CLRDTR);
    if (wait) Sleep(1);
    for (int i = 0; i < bits; ++i) {
      DWORD w = 0;
      Line(SETRTS);
      GetCommModemStatus(h, &w);
      code = code << 1 | (w & MS_CTS_ON ? 0 : 1);
      Line(CLRRTS);
    }
    Line(SETDTR);
    return code;
  }
  // As the program's probe: the break leaves the chip idle.
  void Probe() {
    SetCommBreak(h);
    ClearCommBreak(h);
  }
};

// What the chip does, by its data sheet, step by step on one module.
TEST(Module, FollowsTheDataSheet) {
  drv::PlugPort(1, drv::PortKind::Module);
  for (int ch = 1; ch <= 8; ++ch) drv::SetSignal(1, ch, drv::Constant(500 * ch + 5));
  Master m{OpenPort("COM1")};  // opening raised both lines
  m.Probe();
  m.Line(CLRRTS);
  m.Bits({0, 0});  // zeros before START mean nothing
  m.Word(0b001);   // SEL0 alone: CH2, channel 3
  EXPECT_EQ(m.Read(), 1505) << "with the leading 0 on top";

  m.Word(0b111);
  EXPECT_EQ(m.Read(13, false), 4005 >> 2)
      << "read at once: the MSB came with the third falling edge, 10 µs after the conversion began";
  drv::SetConversionTime(1, 3000);
  m.Word(0b111);
  EXPECT_EQ(m.Read(13, false), 4005) << "a 3 µs conversion is over by the first falling edge";
  drv::SetConversionTime(1, drv::kDefaultConversionNs);

  m.Line(CLRDTR);
  m.Line(SETRTS);
  m.Line(SETDTR);  // START set with the clock already high: it has no rising edge
  m.Line(CLRRTS);
  m.Bits({1, 1, 1, 1, 1, 1, 0});  // SEL2 becomes START: 1111 1100, its eighth bit a read clock
  EXPECT_EQ(m.Read(), 4005 >> 4) << "byte 0xFC: CH7 converted a clock late, then full power-down";
  m.Word(0b111);
  EXPECT_EQ(m.Read(), 0) << "the first conversion out of full power-down";
  m.Word(0b111, 0b1101);
  EXPECT_EQ(m.Read(), 4005) << "a word asking for fast power-down still converts";
  m.Word(0b111);
  EXPECT_EQ(m.Read(), 4005) << "out of fast power-down, the reference is still up";

  m.Word(0b100, 0b0010);  // CH1 minus CH0, bipolar: 1005 - 505
  EXPECT_EQ(m.Read(), 500);
  m.Word(0b000, 0b0010);  // CH0 minus CH1: two's complement
  EXPECT_EQ(m.Read(), 4096 - 500);
  m.Word(0b100, 0b0110);  // CH1 bipolar single-ended
  EXPECT_EQ(m.Read(), 1005);
  m.Word(0b111, 0b0110);  // above +2.047 V it clips
  EXPECT_EQ(m.Read(), 2047);

  m.Word(0b100);
  m.Read(6);  // B11..B6 are out
  const std::size_t before = drv::ProtocolViolations(1).size();
  m.Bit(1);  // too early for a START: ignored, and noticed
  EXPECT_EQ(drv::ProtocolViolations(1).size(), before + 1);
  m.Bit(1);  // B5 is out: this one starts the next byte
  m.Bits({1, 1, 0, 1, 1, 1, 0});  // CH5, channel 6
  EXPECT_EQ(m.Read(), 3005);
  EXPECT_EQ(drv::AbandonedAnswers(1), 3)
      << "this answer, and the two read at once, whose last bits were never clocked out";
  EXPECT_EQ(drv::ProtocolViolations(1).size(), 7u)
      << "the stray START and the six words not unipolar single-ended internal clock";
}

TEST(Module, NoticesProtocolViolations) {
  drv::PlugPort(1, drv::PortKind::Module);
  Master m{OpenPort("COM1")};
  m.Probe();
  m.Bits({0, 1});  // START
  m.Line(CLRDTR);
  m.Line(SETRTS);
  m.Line(SETDTR);     // data changed with the clock high
  m.Line(CLRRTS);
  SetCommBreak(m.h);  // in the middle of the control word
  m.Line(SETRTS);     // clock edge during the break
  ClearCommBreak(m.h);
  m.Line(CLRDTR);
  m.Line(CLRRTS);
  m.Bits({1, 0, 0, 0, 0, 1, 1, 0});  // bipolar
  m.Read();
  const std::vector<std::string> v = drv::ProtocolViolations(1);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_NE(v[0].find("clock was high"), std::string::npos) << v[0];
  EXPECT_NE(v[1].find("break in the middle"), std::string::npos) << v[1];
  EXPECT_NE(v[2].find("clock edge during a break"), std::string::npos) << v[2];
  EXPECT_NE(v[3].find("0x86"), std::string::npos) << v[3];
}

TEST(Module, SignalsAdvancePerConversionOfTheirChannel) {
  const struct {
    const char* what;
    drv::Signal s;
    int want[5];
  } cases[] = {
      {"constant above the range", drv::Constant(5000), {4095, 4095, 4095, 4095, 4095}},
      {"constant below the range", drv::Constant(-3), {0, 0, 0, 0, 0}},
      {"ramp", drv::Ramp(0, 300, 4), {0, 100, 200, 300, 0}},
      {"square", drv::Square(10, 20, 4), {10, 10, 20, 20, 10}},
      {"sine", drv::Sine(0, 4000, 4), {2000, 4000, 2000, 0, 2000}},
  };
  for (const auto& c : cases)
    for (int n = 0; n < 5; ++n) EXPECT_EQ(drv::SignalAt(c.s, n), c.want[n]) << c.what << " " << n;
  int changes = 0;
  for (int n = 0; n < 50; ++n) {
    int v = drv::SignalAt(drv::Noise(100, 110), n);
    EXPECT_TRUE(v >= 100 && v <= 110) << v;
    changes += v != drv::SignalAt(drv::Noise(100, 110), n + 1);
  }
  EXPECT_GT(changes, 25);

  drv::PlugPort(1, drv::PortKind::Module);
  drv::SetSignal(1, 3, drv::Ramp(7, 10, 4));
  Master m{OpenPort("COM1")};
  m.Probe();
  m.Line(CLRRTS);
  for (int want : {7, 8, 9, 10, 7}) {
    m.Word(0b010);  // channel 5 in between does not move channel 3's ramp
    m.Read();
    m.Word(0b001);
    EXPECT_EQ(m.Read(), want);
  }
}

// Microseconds from now until a status read shows `line` in the state `on`, reading as fast as
// the port lets; kNever if not within 40 ms.
constexpr long kNever = -1;
long UsUntilRead(HANDLE h, DWORD line, bool on) {
  const std::uint64_t from = drv::ClockNs();
  DWORD w = 0;
  while (drv::ClockNs() - from < 40000000u)
    if (GetCommModemStatus(h, &w) && ((w & line) != 0) == on)
      return long((drv::ClockNs() - from) / 1000);
  return kNever;
}

// Microseconds from now until the status reads show `line` off for good, over 40 ms of reads.
long UsUntilSettledOff(HANDLE h, DWORD line) {
  const std::uint64_t from = drv::ClockNs();
  std::uint64_t settled = 0;
  bool on = true;  // as the last read had it; before the first, as if on
  DWORD w = 0;
  while (drv::ClockNs() - from < 40000000u) {
    GetCommModemStatus(h, &w);
    if (on && (w & line) == 0) settled = drv::ClockNs();
    on = (w & line) != 0;
  }
  return long((settled - from) / 1000);
}

// Each kind of adapter, driven through the Win32 calls: how late a change at its inputs (a line
// stuck on, then off again, four times; once off again before the first change was reported)
// reaches a status read, what CTS reads with the line
// off, whether RTS waits for DTR, and what becomes of the break.
TEST(Adapters, EachKindCarriesTheLinesAsItsDriverDoes) {
  enum Brk { Held, Refused, NotHeld, Pulse };
  const struct {
    const char* what;
    drv::PortBehaviour port;
    long minUs, maxUs;  // the delays seen, kNever for none
    bool jitters;       // the delays differ
    bool ctsOff;        // CTS reads off when the line is off
    bool rtsWaits;      // an RTS change waits for DTR
    Brk brk;
  } kinds[] = {
      {"UART, 1 µs", drv::LegacyUart(1), 1, 1, false, true, false, Held},
      {"FTDI, Linux", drv::FtdiLinux(), 1000, 1000, false, true, false, Held},
      {"FTDI, Windows 16 ms", drv::FtdiWindows(), 1, 16000, true, true, false, Held},
      {"FTDI, Windows 1 ms", drv::FtdiWindows(1), 1, 1000, false, true, false, Held},
      {"PL2303", drv::Pl2303Linux(), 1000, 3002, true, true, false, Held},
      {"PL2303 HXD clone", drv::Pl2303HxdClone(), 1000, 3002, true, true, false, Refused},
      {"CH341", drv::Ch341Linux(), 1000, 3002, true, true, false, Held},
      {"CH341, frozen", drv::Ch341Frozen(), kNever, kNever, false, true, false, Held},
      {"CH341, simulated break", drv::Ch341SimulatedBreak(), 1000, 3002, true, true, false, Pulse},
      {"CP210x", drv::Cp210xLinux(), 1000, 1000, false, true, false, Held},
      {"CP2105, second port", drv::Cp2105SecondPort(), 1000, 1000, false, true, false, Refused},
      {"CDC-ACM, Linux", drv::CdcAcmLinux(), 1000, 3002, true, false, false, Held},
      {"CDC-ACM without break", drv::CdcAcmNoBreak(), 1000, 3002, true, false, false, Refused},
      {"usbser.sys", drv::UsbserWindows(), 1000, 3002, true, true, true, Held},
      {"no break held", drv::UsbAdapterWithoutBreak(), 1000, 1000, false, true, false, NotHeld},
      {"cached, 2 ms", drv::CachedUsbAdapter(2), 2000, 2002, false, true, false, Held},
  };
  for (const auto& k : kinds) {
    drv::ResetPorts();
    drv::ResetClock();
    drv::PlugPort(1, drv::PortKind::Module);
    drv::SetPortBehaviour(1, k.port);
    drv::Faults ctsCut;
    ctsCut.stuckOff = MS_CTS_ON;
    drv::SetFaults(1, ctsCut);
    HANDLE h = OpenPort("COM1");
    Sleep(40);
    DWORD w = 0;
    GetCommModemStatus(h, &w);
    EXPECT_EQ((w & MS_CTS_ON) == 0, k.ctsOff) << k.what;

    long minUs = 1 << 30, maxUs = 0;
    bool never = false;
    for (int i = 0; i < 8; ++i) {
      drv::Faults dsr;
      dsr.stuckOn = i % 2 == 0 ? MS_DSR_ON : 0;
      drv::SetFaults(1, dsr);
      if (i == 4) {  // the next change comes before this one is reported
        Sleep(1);
        continue;
      }
      const long us = i == 5 ? UsUntilSettledOff(h, MS_DSR_ON) : UsUntilRead(h, MS_DSR_ON, i % 2 == 0);
      never = never || us == kNever;
      minUs = std::min(minUs, us);
      maxUs = std::max(maxUs, us);
      Sleep(20);
    }
    EXPECT_EQ(never, k.minUs == kNever) << k.what;
    if (!never) {
      EXPECT_GE(minUs, k.minUs) << k.what;
      EXPECT_LE(maxUs, k.maxUs) << k.what;
      EXPECT_EQ(maxUs - minUs > 200, k.jitters) << k.what << " " << minUs << ".." << maxUs;
    }

    EscapeCommFunction(h, CLRRTS);
    EXPECT_EQ(Lines(1), k.rtsWaits ? "RD-" : "-D-") << k.what;
    EscapeCommFunction(h, SETDTR);
    EXPECT_EQ(Lines(1), "-D-") << k.what << ": DTR carries RTS along";

    const std::uint64_t set = drv::ClockNs();
    EXPECT_EQ(SetCommBreak(h), k.brk != Refused) << k.what;
    EXPECT_EQ(Lines(1), k.brk == Held || k.brk == Pulse ? "-DB" : "-D-") << k.what;
    Sleep(195);
    EXPECT_EQ(Lines(1), k.brk == Held || k.brk == Pulse ? "-DB" : "-D-") << k.what;
    Sleep(1);
    GetCommModemStatus(h, &w);
    EXPECT_EQ(Lines(1), k.brk == Held ? "-DB" : "-D-") << k.what << ": 9 bits at 46 baud are out";
    const std::uint64_t clear = drv::ClockNs();
    EXPECT_EQ(ClearCommBreak(h), k.brk != Refused) << k.what;
    if (k.brk == Pulse)
      EXPECT_EQ((drv::ClockNs() - set) / 1000, 1000 + 239130 + 1000u)
          << k.what << ": clearing waits until 11 bit times after the break began";
    else
      EXPECT_LE(drv::ClockNs() - clear, 1000000u) << k.what;
    CloseHandle(h);
  }
}

}  // namespace
