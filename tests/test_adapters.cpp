// The whole program on every kind of serial port people use, the module on COM1 with eight
// distinct inputs: start, "Messen", three sweeps, "Stop/Reset", end. On every kind the program
// either shows the module's values and nothing else, or refuses the port plainly (its message,
// once, and no value), or does not find the module. Each kind runs in a process of its own.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "pikon.h"
#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

using testsupport::kChannels;

const int kSweeps = 3;
const char* const kNotFound = "KMX12 nicht gefunden!";
const char* const kRefused =
    "KMX12 an COM1 gefunden, aber nicht lesbar:\nder Anschluss meldet CTS zu spät oder nie.\n"
    "Siehe LIESMICH.TXT, „Anschlüsse und Adapter“.\nZEQ-Info";

enum class Outcome { Right, Refused, NotFound };

struct Kind {
  const char* name;  // the test's name
  drv::PortBehaviour port;
  Outcome want;
  bool live;  // status read live: the sweep is the plain one, 424 line changes, 104 reads
};

const Kind kKinds[] = {
    {"UartOnAPcieCard", drv::LegacyUart(0.1), Outcome::Right, true},
    {"LegacyUart1us", drv::LegacyUart(1), Outcome::Right, true},
    {"LegacyUart5us", drv::LegacyUart(5), Outcome::Right, true},
    {"FtdiLinux", drv::FtdiLinux(), Outcome::Right, true},
    {"FtdiWindowsLatency16ms", drv::FtdiWindows(16), Outcome::Right, false},
    {"FtdiWindowsLatency1ms", drv::FtdiWindows(1), Outcome::Right, false},
    {"FtdiWindowsLatency64ms", drv::FtdiWindows(64), Outcome::Refused, false},
    {"StatusReported2msLate", drv::CachedUsbAdapter(2), Outcome::Right, false},
    {"Pl2303Linux", drv::Pl2303Linux(), Outcome::Right, false},
    {"Pl2303HxdClone", drv::Pl2303HxdClone(), Outcome::NotFound, false},
    {"Ch341Linux", drv::Ch341Linux(), Outcome::Right, false},
    {"Ch341Frozen", drv::Ch341Frozen(), Outcome::NotFound, false},
    {"Ch341SimulatedBreak", drv::Ch341SimulatedBreak(), Outcome::Right, false},
    {"Cp210xLinux", drv::Cp210xLinux(), Outcome::Right, true},
    {"Cp2105SecondPort", drv::Cp2105SecondPort(), Outcome::NotFound, false},
    {"CdcAcmLinux", drv::CdcAcmLinux(), Outcome::Refused, false},
    {"CdcAcmNoBreak", drv::CdcAcmNoBreak(), Outcome::NotFound, false},
    {"UsbserWindows", drv::UsbserWindows(), Outcome::Refused, false},
    {"BreakNotHeld", drv::UsbAdapterWithoutBreak(), Outcome::NotFound, false},
};

// Test names say what a row is; its bytes say nothing.
void PrintTo(const Kind& kind, std::ostream* os) { *os << kind.name; }

struct Seen {
  std::vector<std::string> messages;
  std::vector<std::string> values;  // every text a channel field was given, blanks left out
  unsigned long sweeps = 0;
  std::size_t lineChanges = 0, reads = 0;  // during the sweeps
};
Seen g_seen;

// The first read of the queue is the main loop's, or that of the message at start.
void ScriptSession() {
  drv::Script(drv::AtFetch(1), "Messen, or OK to the message at start", [] {
    if (drv::TopMessageBox()) return drv::AnswerMessageBox(IDOK);
    testsupport::PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first), "count from the first sweep on", [] {
        g_seen.lineChanges = drv::CountOf("EscapeCommFunction");
        g_seen.reads = drv::CountOf("GetCommModemStatus");
      });
      drv::Script(drv::AtFetch(first + kSweeps), "Stop/Reset", [] {
        g_seen.lineChanges = drv::CountOf("EscapeCommFunction") - g_seen.lineChanges;
        g_seen.reads = drv::CountOf("GetCommModemStatus") - g_seen.reads;
        g_seen.sweeps = kSweeps;
        drv::ClickItem(StopBox, IDC_STOP);
      });
      drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      testsupport::ScriptClose();
    });
  });
}

void Collect() {
  for (const drv::Call& c : drv::CallsTo("MessageBoxA")) g_seen.messages.push_back(c.text);
  for (const drv::Call& c : drv::CallsTo("SetDlgItemTextA")) {
    const int channel = int(c.Item()) - IDC_WERT_BASE;
    if (channel >= 1 && channel <= 8 && !c.text.empty()) g_seen.values.push_back(c.text);
  }
}

class OnEveryPort : public ::testing::TestWithParam<Kind> {};

TEST_P(OnEveryPort, TheModulesValuesOrAPlainNo) {
  const Kind& kind = GetParam();
  testsupport::PlugModule();
  drv::SetPortBehaviour(1, kind.port);
  ScriptSession();
  drv::RunWinMain(600);
  Collect();

  switch (kind.want) {
    case Outcome::Right: {
      EXPECT_EQ(ComNr, 1);
      std::vector<std::string> messages = {"Messung angehalten\nZEQ INFO"};
      EXPECT_EQ(g_seen.messages, messages);
      ASSERT_GE(g_seen.values.size(), 8u * kSweeps);
      std::vector<std::string> wrong;
      for (std::size_t i = 0; i < g_seen.values.size(); ++i)
        if (g_seen.values[i] != kChannels[i % 8].shown)
          wrong.push_back("channel " + std::to_string(i % 8 + 1) + " showed " + g_seen.values[i]);
      EXPECT_TRUE(wrong.empty()) << wrong.size() << " wrong, the first: " << wrong.front();
      if (kind.live) {
        EXPECT_EQ(g_seen.lineChanges, 424u * kSweeps);
        EXPECT_EQ(g_seen.reads, 104u * kSweeps);
      }
      break;
    }
    case Outcome::Refused:
      EXPECT_EQ(g_seen.messages, std::vector<std::string>{kRefused});
      EXPECT_TRUE(g_seen.values.empty()) << g_seen.values.size() << " values shown";
      break;
    case Outcome::NotFound:
      ASSERT_EQ(g_seen.messages.size(), 1u);
      EXPECT_EQ(g_seen.messages[0].rfind(kNotFound, 0), 0u) << g_seen.messages[0];
      EXPECT_TRUE(g_seen.values.empty());
      break;
  }
}

INSTANTIATE_TEST_SUITE_P(Adapters, OnEveryPort, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                           return std::string(info.param.name);
                         });

// A port that turns slower in the middle of a run, as a USB adapter may on a busy bus. The zeros
// that frame the chip's answer show a bit read too early where the bit before them is a 1: from
// channel 3 on (its LSB is 1; channel 1's stale frame, whose LSB is 0, cannot show it) the
// port's timing is learnt anew and every value is right. A port grown too
// slow to be of use is refused once, the run stops, and no value follows.
struct Slowdown {
  const char* name;
  double latencyMs;
  bool refused;
};
double g_latencyMs = 0;
void PrintTo(const Slowdown& slowdown, std::ostream* os) { *os << slowdown.name; }

class MidRun : public ::testing::TestWithParam<Slowdown> {};

TEST_P(MidRun, ASlowerPortIsLearntAnewOrRefused) {
  testsupport::PlugModule();
  drv::SetPortBehaviour(1, drv::FtdiWindows(1));
  g_latencyMs = GetParam().latencyMs;
  drv::Script(drv::AtFetch(1), "Messen", [] {
    testsupport::PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "the port slows down", [] {
        drv::SetPortBehaviour(1, drv::FtdiWindows(g_latencyMs));
        drv::ClearLedger();
      });
      drv::Script(drv::AtFetch(first + 4), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
      drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      testsupport::ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
  Collect();

  EXPECT_GT(drv::CountOf("SetCommBreak"), 0u) << "the port's timing learnt anew";
  if (GetParam().refused) {
    EXPECT_EQ(g_seen.messages, std::vector<std::string>{kRefused});
    EXPECT_LT(g_seen.values.size(), 8u) << "nothing after the refusal";
    return;
  }
  EXPECT_EQ(g_seen.messages, std::vector<std::string>{"Messung angehalten\nZEQ INFO"});
  ASSERT_EQ(g_seen.values.size(), 5u * 8u) << "the sweep that slowed, three more and the stop's";
  for (std::size_t i = 2; i < g_seen.values.size(); ++i)
    EXPECT_EQ(g_seen.values[i], kChannels[i % 8].shown) << "value " << i;
}

const Slowdown kSlowdowns[] = {{"To8ms", 8, false}, {"To64ms", 64, true}};
INSTANTIATE_TEST_SUITE_P(Adapters, MidRun, ::testing::ValuesIn(kSlowdowns),
                         [](const ::testing::TestParamInfo<Slowdown>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
