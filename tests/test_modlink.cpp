// The module link against the simulated ports and module: the line sequence of a transaction,
// the codes it yields, the status-word decoding, detection, and failing status reads.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "pikon.h"
#include "support.h"
#include "winapi/driver/clock.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

using testsupport::Row;

// The ledger must be `want`, call for call.
void ExpectLedger(const std::vector<Row>& want) {
  EXPECT_TRUE(testsupport::SameSequence(want, drv::Ledger()));
}

// A port call: its port and first two numbers.
Row PortCall(const char* fn, const char* port, std::intptr_t a, std::intptr_t b) {
  return {fn, {}, a, b, {}, port};
}
const std::intptr_t kReadWrite = std::intptr_t(GENERIC_READ | GENERIC_WRITE);
Row Open(const char* port) { return PortCall("CreateFileA", port, kReadWrite, 0); }
Row Close(const char* port) { return PortCall("CloseHandle", port, 0, 1); }
Row Brk(const char* port) { return PortCall("SetCommBreak", port, 0, 1); }
Row Clear(const char* port) { return PortCall("ClearCommBreak", port, 0, 1); }
Row Status(std::intptr_t word, const char* port = "COM1") {
  return testsupport::StatusRead(word, port);
}
Row Esc(int code, const char* port = "COM1") { return testsupport::LineChange(code, port); }

void Select(int channel) {
  std::array<int, 8> word = testsupport::ControlWord(channel);
  std::copy(word.begin(), word.end(), inbin);
}

int Convert(int channel) {
  Select(channel);
  wandeln();
  return int(Wert);
}

const std::intptr_t C = MS_CTS_ON;  // a 0 from the module

// The ledger with each run of one call repeated alike (a status word polled) as one call.
std::vector<drv::Call> RepeatsAsOne(const std::vector<drv::Call>& ledger) {
  std::vector<drv::Call> out;
  for (const drv::Call& c : ledger)
    if (out.empty() || c.fn != out.back().fn || c.text != out.back().text ||
        c.Code() != out.back().Code() || c.Succeeded() != out.back().Succeeded())
      out.push_back(c);
  return out;
}

TEST(Transaction, MakesTheExactLineSequence) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::SetSignal(1, 4, drv::Constant(0x5A3));  // 0101 1010 0011
  ASSERT_EQ(IniKMX(), 1);
  drv::ClearLedger();
  Convert(4);  // the first after detection
  ExpectLedger({
      Esc(CLRDTR),
      Esc(SETDTR), Esc(SETRTS), Esc(CLRRTS),  // START
      Esc(SETDTR), Esc(SETRTS), Esc(CLRRTS),  // SEL2
      Esc(CLRDTR), Esc(SETRTS), Esc(CLRRTS),  // SEL1
      Esc(SETDTR), Esc(SETRTS), Esc(CLRRTS),  // SEL0
      Esc(SETDTR), Esc(SETRTS), Esc(CLRRTS),  // unipolar
      Esc(SETDTR), Esc(SETRTS), Esc(CLRRTS),  // single-ended
      Esc(SETDTR), Esc(SETRTS), Esc(CLRRTS),  // PD1
      Esc(CLRDTR), Esc(SETRTS), Esc(CLRRTS),  // PD0
      Esc(CLRDTR),
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // leading bit
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // bit 11: 0
      Esc(SETRTS), Status(0), Esc(CLRRTS),  // 1
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // 0
      Esc(SETRTS), Status(0), Esc(CLRRTS),  // 1
      Esc(SETRTS), Status(0), Esc(CLRRTS),  // bit 7: 1
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // 0
      Esc(SETRTS), Status(0), Esc(CLRRTS),  // 1
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // 0
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // bit 3: 0
      Esc(SETRTS), Status(C), Esc(CLRRTS),  // 0
      Esc(SETRTS), Status(0), Esc(CLRRTS),  // 1
      Esc(SETRTS), Status(0), Esc(CLRRTS),  // bit 0: 1
      Esc(SETDTR),
  });
  EXPECT_EQ(drv::CountOf("EscapeCommFunction"), 53u);
  EXPECT_EQ(drv::CallsTo("GetCommModemStatus").size(), 13u);
  EXPECT_EQ(Wert, float(0x5A3));
  drv::Lines lines = drv::PortLines(1);
  EXPECT_TRUE(lines.dtr);
  EXPECT_FALSE(lines.rts);
  EXPECT_TRUE(drv::ProtocolViolations(1).empty());
}

TEST(Transaction, EveryChannelYieldsItsCode) {
  const int codes[8] = {1234, 0, 1, 2047, 4095, 2048, 0x555, 0xAAA};
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::PlugPort(2, drv::PortKind::Module);
  for (int ch = 1; ch <= 8; ++ch) drv::SetSignal(2, ch, drv::Constant(codes[ch - 1]));
  ASSERT_EQ(IniKMX(), 2);
  for (int sweep = 1; sweep <= 2; ++sweep)  // channel 1 of sweep 1: the first after detection
    for (int ch = 1; ch <= 8; ++ch)
      EXPECT_EQ(Convert(ch), codes[ch - 1]) << "sweep " << sweep << ", channel " << ch;
  for (int ch = 1; ch <= 8; ++ch) EXPECT_EQ(drv::Conversions(2, ch), 2u) << "channel " << ch;
  EXPECT_TRUE(drv::ProtocolViolations(2).empty());
  EXPECT_EQ(drv::AbandonedAnswers(2), 0);
}

// Only the words 0 and CTS alone are bits. Any other word is read again, twice at most, and one
// that stays unclean costs the conversion its value: the message, the rest of the answer clocked
// out unread (53 line changes as always), no value.
TEST(Transaction, DecodesOnlyTheTwoDataWords) {
  const int kNone = -1;
  struct Case {
    const char* what;
    drv::PortKind kind;
    int mv;         // the module's input
    DWORD stuckOn;  // lines stuck on besides what the module drives
    int want;       // the code, or kNone
  } cases[] = {
      {"DSR on, nothing plugged", drv::PortKind::Empty, 0, MS_DSR_ON, kNone},
      {"word 0 on every read: 4095, the leading bit not counted", drv::PortKind::Empty, 0, 0, 4095},
      {"RING on", drv::PortKind::Empty, 0, MS_RING_ON, kNone},
      {"word 0x10 on every read: 0", drv::PortKind::Empty, 0, MS_CTS_ON, 0},
      {"CTS with RLSD on", drv::PortKind::Empty, 0, MS_CTS_ON | MS_RLSD_ON, kNone},
      {"the module's answer", drv::PortKind::Module, 1234, 0, 1234},
      {"DSR on with the module", drv::PortKind::Module, 99, MS_DSR_ON, kNone},
      {"RING and RLSD on with the module", drv::PortKind::Module, 99, MS_RING_ON | MS_RLSD_ON,
       kNone},
      {"clean again", drv::PortKind::Module, 99, 0, 99},
  };
  drv::PlugPort(1, drv::PortKind::Empty);
  hCom = CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
  ASSERT_NE(hCom, INVALID_HANDLE_VALUE);
  for (const Case& c : cases) {
    drv::PlugPort(1, c.kind);
    drv::SetSignal(1, 1, drv::Constant(c.mv));
    drv::Faults f;
    f.stuckOn = c.stuckOn;
    drv::SetFaults(1, f);
    drv::ClearLedger();
    int code = Convert(1);
    EXPECT_EQ(gueltig, c.want != kNone) << c.what;
    if (c.want != kNone) {
      EXPECT_EQ(code, c.want) << c.what;
    }
    std::vector<drv::Call> boxes = drv::CallsTo("MessageBoxA");
    EXPECT_EQ(boxes.size(), c.want == kNone ? 1u : 0u) << c.what;
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].text,
                "Fehler bei GetCommModemStatus!\nDSR, RING oder RLSD ist an: Kabel prüfen!\nZEQ")
          << c.what;
    }
    EXPECT_EQ(drv::CountOf("GetCommModemStatus"), c.want == kNone ? 3u : 13u) << c.what;
    EXPECT_EQ(drv::CountOf("EscapeCommFunction"), 53u) << c.what;
  }
}

TEST(Detection, FindsTheModuleOnCom3AndConfiguresIt) {
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::PlugPort(2, drv::PortKind::Empty);
  drv::PlugPort(3, drv::PortKind::Module);
  drv::PlugPort(4, drv::PortKind::Module);
  DCB asRead;  // every byte different, so that one lost or moved shows
  for (std::size_t i = 0; i < sizeof asRead; ++i)
    reinterpret_cast<BYTE*>(&asRead)[i] = BYTE(7 * i + 3);
  asRead.ByteSize = 7;  // one the driver accepts
  drv::SetPortSettings(3, asRead);

  EXPECT_EQ(IniKMX(), 3);
  const intptr_t ringRlsd = MS_RING_ON | MS_RLSD_ON;
  // An empty port is polled until the answer's time is up; COM3 answers at the first read of
  // each of the four rounds, so its reads are live and there is nothing more to learn.
  std::vector<Row> calls;
  for (const char* empty : {"COM1", "COM2"})
    calls.insert(calls.end(), {Open(empty), Brk(empty), Status(0, empty), Clear(empty), Close(empty)});
  calls.push_back(Open("COM3"));
  for (int round = 0; round < 4; ++round)
    calls.insert(calls.end(), {Brk("COM3"), Status(ringRlsd | C, "COM3"), Clear("COM3"),
                               Status(C, "COM3")});  // CTS: the chip's DOUT rests low
  calls.insert(calls.end(), {PortCall("GetCommState", "COM3", std::intptr_t(asRead.BaudRate), 1),
                             PortCall("SetCommState", "COM3", 256000, 1), Esc(SETDTR, "COM3"),
                             Esc(CLRRTS, "COM3")});
  EXPECT_TRUE(testsupport::SameSequence(calls, RepeatsAsOne(drv::Ledger())));
  EXPECT_GT(drv::CountOf("GetCommModemStatus"), 2u * 50u) << "the empty ports were polled";
  EXPECT_EQ(nachlauf, 0);
  for (const drv::Call& c : drv::CallsTo("CreateFileA"))
    EXPECT_EQ(c.Flags(), std::intptr_t(FILE_FLAG_OVERLAPPED)) << c.text;

  EXPECT_EQ(std::memcmp(&dcborg, &asRead, sizeof(DCB)), 0) << "settings as read";
  DCB want = asRead;
  want.BaudRate = 256000;
  want.fDtrControl = DTR_CONTROL_ENABLE;
  want.fRtsControl = RTS_CONTROL_ENABLE;
  DCB applied = drv::PortSettings(3);
  EXPECT_EQ(std::memcmp(&applied, &want, sizeof(DCB)), 0) << "settings applied";
  drv::Lines lines = drv::PortLines(3);
  EXPECT_TRUE(lines.open && lines.dtr && !lines.rts && !lines.brk)
      << "the settings raised the clock; it rests low, ready for a rising START edge";
  EXPECT_NEAR(double(drv::ClockMs()), 2 * 300.0, 2 * 300.0 / 16 + 1)
      << "each empty port waited for its answer as long as the slowest adapter may take";
  EXPECT_TRUE(drv::ProtocolViolations(3).empty());
}

TEST(Detection, Scenarios) {
  using K = drv::PortKind;
  drv::Faults ok, ringOnly, rlsdOnly, stuck, secondReadFails, firstReadFails, breakFails,
      clearFails;
  ringOnly.breakAnswer = MS_RING_ON;
  rlsdOnly.breakAnswer = MS_RLSD_ON;
  stuck.stuckOn = MS_RING_ON | MS_RLSD_ON;
  secondReadFails.failStatusFrom = 2;
  firstReadFails.failStatusFrom = 1;
  firstReadFails.failStatusCount = 1;
  // Lines that happen to look like the answer (RING and RLSD on the first read only) on a port
  // whose break cannot be set, or cannot be cleared.
  breakFails.noiseAtRead = {{1, MS_RING_ON | MS_RLSD_ON}};
  breakFails.failSetBreak = true;
  clearFails.noiseAtRead = {{1, MS_RING_ON | MS_RLSD_ON}};
  clearFails.failClearBreak = true;
  struct Scenario {
    const char* what;
    K kinds[4];
    drv::Faults faults[4];
    bool openBefore;  // hCom holds an open COM1 when detection starts
    int want;
    const char* trace;
  } scenarios[] = {
      {"two modules: the lower port wins", {K::Absent, K::Module, K::Busy, K::Module},
       {ok, ok, ok, ok}, false, 2, "open COM1, open COM2, probe COM2, set COM2"},
      {"RING without RLSD, and the reverse, is not the module",
       {K::Module, K::Module, K::Empty, K::Module}, {ringOnly, rlsdOnly, ok, ok}, false, 4,
       "open COM1, probe COM1, close COM1, open COM2, probe COM2, close COM2, "
       "open COM3, probe COM3, close COM3, open COM4, probe COM4, set COM4"},
      {"RING and RLSD still on after the break: not accepted", {K::Module, K::Module},
       {stuck, ok}, false, 2,
       "open COM1, probe COM1, close COM1, open COM2, probe COM2, set COM2"},
      {"second status read failing: not accepted", {K::Module, K::Module},
       {secondReadFails, ok}, false, 2,
       "open COM1, probe COM1, close COM1, open COM2, probe COM2, set COM2"},
      {"first status read failing after a port with RING and RLSD on: not accepted",
       {K::Empty, K::Empty, K::Module}, {stuck, firstReadFails, ok}, false, 3,
       "open COM1, probe COM1, close COM1, open COM2, probe COM2, close COM2, "
       "open COM3, probe COM3, set COM3"},
      {"break failing: not accepted", {K::Empty, K::Module}, {breakFails, ok}, false, 2,
       "open COM1, probe COM1, close COM1, open COM2, probe COM2, set COM2"},
      {"clearing the break failing: not accepted", {K::Empty, K::Module}, {clearFails, ok}, false,
       2, "open COM1, probe COM1, close COM1, open COM2, probe COM2, set COM2"},
      {"busy and absent ports are skipped", {K::Busy, K::Absent, K::Busy, K::Module},
       {ok, ok, ok, ok}, false, 4, "open COM1, open COM2, open COM3, open COM4, probe COM4, set COM4"},
      {"no ports at all", {K::Absent, K::Absent, K::Absent, K::Absent}, {ok, ok, ok, ok}, false, 5,
       "open COM1, open COM2, open COM3, open COM4"},
      {"a port left open is closed first", {K::Module}, {ok}, true, 1,
       "close COM1, open COM1, probe COM1, set COM1"},
  };
  const char* shortName[][2] = {{"CreateFileA", "open"}, {"SetCommBreak", "probe"},
                                {"CloseHandle", "close"}, {"SetCommState", "set"}};
  for (const Scenario& s : scenarios) {
    drv::ResetScene();
    hCom = 0;
    for (int n = 1; n <= 4; ++n) {
      drv::PlugPort(n, s.kinds[n - 1]);
      drv::SetFaults(n, s.faults[n - 1]);
    }
    if (s.openBefore)
      hCom = CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL);
    drv::ClearLedger();
    EXPECT_EQ(IniKMX(), s.want) << s.what;
    std::string trace;
    for (const drv::Call& c : drv::Ledger())
      for (const auto& name : shortName)
        if (c.fn == name[0]) {
          // The four rounds of the probe on one port read as one probe.
          const std::string entry = std::string(name[1]) + " " + c.text;
          if (trace.size() < entry.size() ||
              trace.compare(trace.size() - entry.size(), entry.size(), entry) != 0)
            trace += (trace.empty() ? "" : ", ") + entry;
        }
    EXPECT_EQ(trace, s.trace) << s.what;
    EXPECT_EQ(drv::CountOf("MessageBoxA"), 0u) << s.what;
    if (s.want == 5) {
      EXPECT_EQ(drv::Ledger().size(), 4u) << s.what << ": nothing but the opens";
    }
  }
}

TEST(Transaction, FailingStatusReadShowsTheMessageAndKeepsTheBits) {
  const int a = 0xAAA, b = 0x555;  // complementary: every bit taken from either shows
  drv::PlugPort(1, drv::PortKind::Module);
  drv::SetSignal(1, 1, drv::Constant(a));
  ASSERT_EQ(IniKMX(), 1);
  ASSERT_EQ(Convert(1), a);
  int previous = a;
  for (int k = 1; k <= 13; ++k) {  // the kth read of the transaction fails
    const int next = previous == a ? b : a;
    drv::SetSignal(1, 1, drv::Constant(next));
    drv::Faults f;
    f.failStatusFrom = k;
    f.failStatusCount = 1;
    drv::SetFaults(1, f);
    drv::ClearLedger();
    // Reads 2..k-1 delivered code bits 11 down to 14-k; the rest are the previous code's.
    const int fresh = 0xFFF & ~((1 << (14 - k)) - 1);
    EXPECT_EQ(Convert(1), (next & fresh) | (previous & ~fresh & 0xFFF)) << "read " << k;
    EXPECT_EQ(gueltig, 0) << "no value to show, read " << k;

    std::vector<drv::Call> boxes = drv::CallsTo("MessageBoxA");
    ASSERT_EQ(boxes.size(), 1u) << "read " << k;
    EXPECT_EQ(boxes[0].window, nullptr);
    EXPECT_EQ(boxes[0].text, "Fehler bei GetCommModemStatus!\nAnwendung schließen!\nZEQ");
    EXPECT_EQ(boxes[0].Style(), 0);
    EXPECT_EQ(drv::CallsTo("GetCommModemStatus").size(), std::size_t(k)) << "read " << k;
    // The rest of the answer is clocked out unread, the clock ends low: still 53 line calls.
    EXPECT_EQ(drv::CountOf("EscapeCommFunction"), 53u) << "read " << k;
    const std::vector<drv::Call>& l = drv::Ledger();  // ... CLRRTS, the box, then DTR on
    ASSERT_GE(l.size(), 3u);
    EXPECT_EQ(l[l.size() - 3].Code(), CLRRTS) << "read " << k;
    EXPECT_EQ(l[l.size() - 2].fn, "MessageBoxA") << "read " << k;
    EXPECT_EQ(l.back().Code(), SETDTR);
    EXPECT_FALSE(drv::PortLines(1).rts) << "the clock rests low, read " << k;

    drv::SetFaults(1, drv::Faults{});
    EXPECT_EQ(Convert(1), next) << "the transaction after a failure at read " << k;
    EXPECT_EQ(gueltig, 1) << "read " << k;
    previous = next;
  }
  EXPECT_TRUE(drv::ProtocolViolations(1).empty());
  EXPECT_EQ(drv::AbandonedAnswers(1), 0);

  drv::Faults twice;  // the last read of one transaction and the first of the next
  twice.failStatusFrom = 13;
  twice.failStatusCount = 2;
  drv::SetFaults(1, twice);
  drv::ClearLedger();
  Convert(1);
  Convert(1);
  EXPECT_EQ(drv::CountOf("MessageBoxA"), 2u);
  EXPECT_EQ(Convert(1), previous);
  EXPECT_EQ(drv::CountOf("MessageBoxA"), 2u);
}

}  // namespace
