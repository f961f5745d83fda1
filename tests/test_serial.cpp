// The platform's serial ports and simulated module, driven through the Win32 calls alone.
#include <gtest/gtest.h>

#include <cstddef>
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

TEST(Serial, SettingsRecordHasTheWindowsLayoutAndPortsKeepIt) {
  DCB d;
  std::memset(&d, 0, sizeof d);
  d.fDtrControl = 3;
  EXPECT_EQ(FlagsWord(d), 0x30u);
  d.fDtrControl = 0;
  d.fRtsControl = 3;
  EXPECT_EQ(FlagsWord(d), 0x3000u);
  EXPECT_EQ(offsetof(DCB, XonLim), 14u);
  EXPECT_EQ(offsetof(DCB, ByteSize), 18u);
  EXPECT_EQ(offsetof(DCB, XonChar), 21u);
  EXPECT_EQ(offsetof(DCB, wReserved1), 26u);

  drv::PlugPort(1, drv::PortKind::Empty);
  HANDLE h = OpenPort("COM1");
  ASSERT_TRUE(GetCommState(h, &d));
  EXPECT_EQ(d.DCBlength, 28u);
  EXPECT_EQ(d.BaudRate, 9600u);
  EXPECT_EQ(FlagsWord(d), 0x1011u) << "binary, DTR and RTS control enabled";
  EXPECT_EQ(d.ByteSize, 8);
  EXPECT_EQ(d.Parity, NOPARITY);
  EXPECT_EQ(d.StopBits, ONESTOPBIT);

  d.BaudRate = 256000;
  d.XoffChar = d.XonChar;
  EXPECT_FALSE(SetCommState(h, &d)) << "XON equal to XOFF";
  d.XoffChar = 0x13;
  EXPECT_TRUE(SetCommState(h, &d));
  CloseHandle(h);
  h = OpenPort("COM1");
  DCB again;
  GetCommState(h, &again);
  EXPECT_EQ(again.BaudRate, 256000u) << "a port keeps its settings between opens";
}

TEST(Serial, OpensComPortsOnlyAndOnlyOnce) {
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::PlugPort(2, drv::PortKind::Module);
  drv::PlugPort(3, drv::PortKind::Busy);
  struct Case {
    const char* name;
    bool opens;
  } cases[] = {{"COM1", true},  {"\\\\.\\com2", true}, {"COM3", false}, {"COM4", false},
               {"COM5", false}, {"COM12", false},       {"COM1", false}, {"C:\\COM1", false}};
  for (const Case& c : cases) EXPECT_EQ(OpenPort(c.name) != INVALID_HANDLE_VALUE, c.opens) << c.name;
  EXPECT_EQ(drv::CallsTo("CreateFileA")[1].text, "\\\\.\\com2");

  drv::ResetPorts();
  drv::PlugPort(1, drv::PortKind::Empty);
  EXPECT_EQ(CreateFileA("COM1", GENERIC_READ, 1, nullptr, OPEN_EXISTING, 0, nullptr),
            INVALID_HANDLE_VALUE)
      << "shared for reading";
  EXPECT_EQ(CreateFileA("COM1", GENERIC_READ, 0, nullptr, 2, 0, nullptr), INVALID_HANDLE_VALUE)
      << "created";
  HANDLE first = OpenPort("COM1");
  ASSERT_TRUE(CloseHandle(first));
  HANDLE second = OpenPort("COM1");  // same slot, new generation
  ASSERT_NE(second, INVALID_HANDLE_VALUE);
  EXPECT_NE(first, second);
  DWORD status = 7;
  EXPECT_FALSE(CloseHandle(first));
  EXPECT_FALSE(EscapeCommFunction(first, CLRRTS));
  EXPECT_FALSE(GetCommModemStatus(first, &status));
  EXPECT_EQ(status, 7u);
  EXPECT_TRUE(drv::PortLines(1).rts) << "a dead handle reached the port";
  EXPECT_TRUE(CloseHandle(second));
  EXPECT_FALSE(CloseHandle(second));
  EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST(Serial, LinesFollowCallsAndSettings) {
  drv::PlugPort(1, drv::PortKind::Empty);
  HANDLE h = OpenPort("COM1");
  auto lines = [] {
    drv::Lines l = drv::PortLines(1);
    return std::string(l.rts ? "R" : "-") + (l.dtr ? "D" : "-") + (l.brk ? "B" : "-");
  };
  EXPECT_EQ(lines(), "RD-") << "a fresh port raises DTR and RTS when opened";
  EscapeCommFunction(h, CLRRTS);
  EXPECT_EQ(lines(), "-D-");
  EscapeCommFunction(h, CLRDTR);
  SetCommBreak(h);
  EXPECT_EQ(lines(), "--B");
  ClearCommBreak(h);
  EscapeCommFunction(h, SETRTS);
  EXPECT_EQ(lines(), "R--");
  DCB d;
  GetCommState(h, &d);
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_DISABLE;
  SetCommState(h, &d);
  EXPECT_EQ(lines(), "-D-") << "settings put the lines where their control modes want them";
  d.fRtsControl = RTS_CONTROL_HANDSHAKE;
  SetCommState(h, &d);
  EXPECT_FALSE(EscapeCommFunction(h, CLRRTS)) << "RTS belongs to the handshake";
  EXPECT_TRUE(EscapeCommFunction(h, CLRDTR));
  EXPECT_FALSE(EscapeCommFunction(h, 7));
  EXPECT_EQ(drv::CallsTo("EscapeCommFunction").back().a, 7);
  EXPECT_EQ(drv::CallsTo("EscapeCommFunction").back().b, FALSE);
  SetCommBreak(h);
  CloseHandle(h);
  EXPECT_EQ(lines(), "---") << "closing drops everything";
}

TEST(Serial, FaultModes) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::PlugPort(2, drv::PortKind::Empty);
  HANDLE h1 = OpenPort("COM1"), h2 = OpenPort("COM2");
  drv::Faults f;
  f.failStatusFrom = 3;
  f.failStatusCount = 2;
  f.unplugAtRead = 6;
  f.stuckOn = MS_DSR_ON;
  drv::SetFaults(1, f);
  SetCommBreak(h1);
  const struct {
    BOOL ok;
    DWORD word;
  } reads[] = {{TRUE, 0xE0}, {TRUE, 0xE0}, {FALSE, 0xE0}, {FALSE, 0xE0}, {TRUE, 0xE0}, {TRUE, 0x20}};
  for (int i = 0; i < 6; ++i) {
    DWORD word = 0xE0;  // a failed read leaves it alone
    EXPECT_EQ(GetCommModemStatus(h1, &word), reads[i].ok) << "read " << i + 1;
    EXPECT_EQ(word, reads[i].word) << "read " << i + 1;
    EXPECT_EQ(drv::CallsTo("GetCommModemStatus").back().a, reads[i].ok ? reads[i].word : 0);
  }

  drv::Faults ringOnly;
  ringOnly.breakAnswer = MS_RING_ON;
  drv::SetFaults(2, ringOnly);
  drv::PlugPort(2, drv::PortKind::Module);  // into the open port
  DWORD word = 0;
  SetCommBreak(h2);
  GetCommModemStatus(h2, &word);
  EXPECT_EQ(word, MS_RING_ON);
  ClearCommBreak(h2);
  GetCommModemStatus(h2, &word);
  EXPECT_EQ(word, 0u);
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
  void Word(int channelBits) {  // START, SEL2 SEL1 SEL0, unipolar, single-ended, PD1, PD0
    for (int i = 7; i >= 0; --i) Bit(((0x80 | channelBits << 4 | 0x0E) >> i) & 1);
  }
  int Read(int bits = 13) {
    int code = 0;
    Line(CLRDTR);
    for (int i = 0; i < bits; ++i) {
      DWORD w = 0;
      Line(SETRTS);
      GetCommModemStatus(h, &w);
      code = code << 1 | (w & MS_CTS_ON ? 0 : 1);
      if (i + 1 < bits) Line(CLRRTS);
    }
    if (bits == 13) Line(CLRRTS);
    Line(SETDTR);
    return code;
  }
};

TEST(Module, FramingAndRecovery) {
  drv::PlugPort(1, drv::PortKind::Module);
  for (int ch = 1; ch <= 8; ++ch) drv::SetSignal(1, ch, drv::Constant(500 * ch + 5));
  Master m{OpenPort("COM1")};
  m.Bit(0);  // leading zeros before START mean nothing
  m.Bit(0);
  m.Word(0b001);  // SEL0 alone: CH2, channel 3
  EXPECT_EQ(m.Read(), 1505) << "with the leading 0 on top";

  m.Line(SETRTS);  // the clock stays high through the probe
  SetCommBreak(m.h);
  ClearCommBreak(m.h);
  m.Line(CLRDTR);
  m.Line(SETDTR);  // START without a rising edge
  m.Line(CLRRTS);
  for (int bit : {1, 1, 1, 1, 1, 1, 0}) m.Bit(bit);  // CH7 (channel 8)
  EXPECT_EQ(m.Read(), 4005);

  m.Word(0b100);
  EXPECT_EQ(m.Read(5), 0b00011) << "channel 2, 1005 = 0011 1110 1101, cut short, clock high";
  EXPECT_EQ(drv::AbandonedAnswers(1), 1);
  m.Line(CLRDTR);
  m.Line(SETDTR);
  m.Line(CLRRTS);
  for (int bit : {0, 1, 0, 1, 1, 1, 0}) m.Bit(bit);  // CH4 (channel 5)
  EXPECT_EQ(m.Read(), 2505);
  EXPECT_TRUE(drv::ProtocolViolations(1).empty()) << drv::ProtocolViolations(1)[0];
  EXPECT_EQ(drv::Conversions(1, 2), 1u);
}

TEST(Module, NoticesProtocolViolations) {
  drv::PlugPort(1, drv::PortKind::Module);
  Master m{OpenPort("COM1")};
  m.Bit(0);
  m.Bit(1);  // START
  m.Line(CLRDTR);
  m.Line(SETRTS);
  m.Line(SETDTR);  // data changed with the clock high
  m.Line(CLRRTS);
  SetCommBreak(m.h);  // in the middle of the control word
  m.Line(SETRTS);     // clock edge during the break
  ClearCommBreak(m.h);
  m.Line(CLRDTR);
  m.Line(CLRRTS);
  for (int bit : {1, 0, 0, 0, 0, 1, 1, 0}) m.Bit(bit);  // bipolar
  m.Read();
  const std::vector<std::string> v = drv::ProtocolViolations(1);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_NE(v[0].find("clock was high"), std::string::npos) << v[0];
  EXPECT_NE(v[1].find("break"), std::string::npos) << v[1];
  EXPECT_NE(v[2].find("during a break"), std::string::npos) << v[2];
  EXPECT_NE(v[3].find("0x86"), std::string::npos) << v[3];
}

TEST(Module, SignalsAdvancePerConversion) {
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
  int distinct = 0;
  for (int n = 0; n < 50; ++n) {
    int v = drv::SignalAt(drv::Noise(100, 110), n);
    EXPECT_TRUE(v >= 100 && v <= 110) << v;
    EXPECT_EQ(v, drv::SignalAt(drv::Noise(100, 110), n));
    distinct += v != drv::SignalAt(drv::Noise(100, 110), n + 1);
  }
  EXPECT_GT(distinct, 25);

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

TEST(Kernel, SleepMessageBoxAndModule) {
  Sleep(20);
  Sleep(30);
  EXPECT_EQ(drv::ClockMs(), 50u);
  ASSERT_EQ(drv::CallsTo("Sleep").size(), 2u);
  EXPECT_EQ(drv::CallsTo("Sleep")[1].a, 30);
  HMODULE self = GetModuleHandleA(nullptr);
  EXPECT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), self);
  EXPECT_EQ(GetModuleHandleA("other.dll"), nullptr);

  drv::AnswerMessageBoxes({IDCANCEL, 7});
  HWND owner = reinterpret_cast<HWND>(std::uintptr_t(0x1234));
  EXPECT_EQ(MessageBoxA(owner, "Ma\xDF: 5 \x80\nZeile", "T\xEAte", MB_OKCANCEL), IDCANCEL);
  EXPECT_EQ(MessageBoxA(nullptr, "", "", 0), 7);
  EXPECT_EQ(MessageBoxA(nullptr, "", "", 0), IDOK);
  drv::Call box = drv::CallsTo("MessageBoxA")[0];
  EXPECT_EQ(box.text, "Maß: 5 €\nZeile\nTête");
  EXPECT_EQ(box.window, owner);
  EXPECT_EQ(box.b, MB_OKCANCEL);
}

}  // namespace
