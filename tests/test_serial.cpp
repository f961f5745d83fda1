// The platform's serial ports and simulated module, driven through the Win32 calls alone.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include <windows.h>

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
  } reads[] = {{TRUE, 0x60}, {TRUE, 0x60}, {FALSE, 0}, {FALSE, 0}, {TRUE, 0x60}, {TRUE, 0x20}};
  for (int i = 0; i < 6; ++i) {
    DWORD word = 0;  // a failed read leaves it alone
    EXPECT_EQ(GetCommModemStatus(h, &word), reads[i].ok) << "read " << i + 1;
    EXPECT_EQ(word, reads[i].word) << "read " << i + 1;
    EXPECT_EQ(drv::CallsTo("GetCommModemStatus").back().Code(), std::intptr_t(word));
  }
  drv::PlugPort(1, drv::PortKind::Module);  // back into the open port, break still on
  DWORD word = 0;
  GetCommModemStatus(h, &word);
  EXPECT_EQ(word, 0x60u);
}

// A master written from the converter's data sheet, bit by bit.
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
  void Word(int sel) {  // START, SEL2 SEL1 SEL0, unipolar, single-ended, PD1, PD0
    for (int i = 7; i >= 0; --i) Bit(((0x8E | sel << 4) >> i) & 1);
  }
  int Read(int bits = 13) {  // cut short: the clock stays high, then DTR goes on
    int code = 0;
    Line(CLRDTR);
    for (int i = 0; i < bits; ++i) {
      DWORD w = 0;
      Line(SETRTS);
      GetCommModemStatus(h, &w);
      code = code << 1 | (w & MS_CTS_ON ? 0 : 1);
      if (i + 1 < bits || bits == 13) Line(CLRRTS);
    }
    Line(SETDTR);
    return code;
  }
  void StartWithClockHigh() {
    Line(CLRDTR);
    Line(SETDTR);
    Line(CLRRTS);
  }
};

TEST(Module, FramingAndRecovery) {
  drv::PlugPort(1, drv::PortKind::Module);
  for (int ch = 1; ch <= 8; ++ch) drv::SetSignal(1, ch, drv::Constant(500 * ch + 5));
  Master m{OpenPort("COM1")};  // opening raised both lines
  m.Bits({0, 0});              // leading zeros before START mean nothing
  m.Word(0b001);               // SEL0 alone: CH2, channel 3
  EXPECT_EQ(m.Read(), 1505) << "with the leading 0 on top";

  m.Line(SETRTS);  // the clock stays high through the probe
  SetCommBreak(m.h);
  ClearCommBreak(m.h);
  m.StartWithClockHigh();
  m.Bits({1, 1, 1, 1, 1, 1, 0});  // CH7, channel 8
  EXPECT_EQ(m.Read(), 4005);

  m.Word(0b100);
  EXPECT_EQ(m.Read(5), 0b00011) << "channel 2, 1005 = 0011 1110 1101";
  EXPECT_EQ(drv::AbandonedAnswers(1), 1);
  m.StartWithClockHigh();
  m.Bits({0, 1, 0, 1, 1, 1, 0});  // CH4, channel 5
  EXPECT_EQ(m.Read(), 2505);
  EXPECT_TRUE(drv::ProtocolViolations(1).empty()) << drv::ProtocolViolations(1)[0];
}

TEST(Module, NoticesProtocolViolations) {
  drv::PlugPort(1, drv::PortKind::Module);
  Master m{OpenPort("COM1")};
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
  m.Bit(0);
  for (int want : {7, 8, 9, 10, 7}) {
    m.Word(0b010);  // channel 5 in between does not move channel 3's ramp
    m.Read();
    m.Word(0b001);
    EXPECT_EQ(m.Read(), want);
  }
}

}  // namespace
