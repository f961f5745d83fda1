// Runs under stress: a run started inside the status-read error message, more "Messen" presses
// than the stack can hold runs, a sweep count at its limit, and the faults a real port gives
// (one failing read, reads failing for good, the adapter pulled out and plugged back, a stop
// given inside the error message, CTS stuck off; conversions that yield no value: a read failing
// halfway, noise, lines held on by a cable, line changes refused), each driven through the whole
// program; and at start, a port whose status read fails, or whose settings or line changes are
// refused, while the module is looked for.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "pikon.h"
#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/screen.h"
#include "winapi/driver/session.h"

namespace {

using testsupport::kChannels;
using testsupport::MainWindow;
using testsupport::PlugModule;
using testsupport::PressMessen;
using testsupport::ScriptClose;

// The messages of a conversion that yields no value, as the ledger records them with their caption.
const char* const kErrorText = "Fehler bei GetCommModemStatus!\nAnwendung schließen!\nZEQ";
const char* const kWordText =
    "Fehler bei GetCommModemStatus!\nDSR, RING oder RLSD ist an: Kabel prüfen!\nZEQ";
const char* const kLineText = "Fehler bei EscapeCommFunction!\nAnwendung schließen!\nZEQ";

std::size_t g_from = 0;

// What `field` reads of the calls named `fn` from ledger entry `from` on.
template <class Field>
std::vector<std::intptr_t> Values(const std::string& fn, std::size_t from, Field field) {
  std::vector<std::intptr_t> out;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    if (ledger[i].fn == fn) out.push_back(std::intptr_t((ledger[i].*field)()));
  return out;
}

std::size_t Count(const std::string& fn, std::size_t from, HWND window = nullptr) {
  std::size_t n = 0;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    n += ledger[i].fn == fn && (!window || ledger[i].window == window);
  return n;
}

// ---- The run's own faults -------------------------------------------------------------------

// A status read of channel 4 fails in the 2nd sweep; with its message open the user presses
// "Messen" (a run inside the interrupted transaction), stops that run and closes both messages.
// The interrupted sweep then goes on where it was: channel 4 without a value (an empty field, no
// dot), then channels 5 to 8, each in its own field and colour, with the control word of its own
// channel.
TEST(RunFaults, ARunStartedInsideTheErrorMessageLeavesTheInterruptedSweepAsItWas) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "make a read of channel 4 fail", [] {
        drv::Faults faults;
        faults.failStatusFrom = 3 * 13 + 5;
        faults.failStatusCount = 1;
        drv::SetFaults(1, faults);
      });
      drv::Script(drv::WhenMessageBox(), "the error message: Messen", [] {
        ASSERT_EQ(kanal, 4);
        PressMessen([](unsigned long inner) {
          drv::Script(drv::AtFetch(inner + 1), "Stop/Reset in the inner run", [] {
            drv::ClickItem(StopBox, IDC_STOP);
          });
          drv::Script(drv::WhenMessageBox(), "the stop message: OK", [] {
            EXPECT_EQ(drv::WindowText(drv::TopMessageBox()), "ZEQ INFO");
            drv::AnswerMessageBox(IDOK);
          });
          drv::Script(drv::WhenMessageBox(), "the error message again: OK", [] {
            EXPECT_EQ(drv::WindowText(drv::TopMessageBox()), "ZEQ");
            EXPECT_EQ(kanal, 4) << "the inner run has ended and left the channel";
            const std::array<int, 8> word = testsupport::ControlWord(4);
            for (int j = 0; j < 8; ++j) EXPECT_EQ(inbin[j], word[j]) << "control word bit " << j;
            g_from = drv::Ledger().size();
            drv::AnswerMessageBox(IDOK);
          });
          drv::Script(drv::WhenIdle(), "look at the rest of the sweep", [] {
            std::vector<std::intptr_t> fields = Values("SetDlgItemTextA", g_from, &drv::Call::Item);
            EXPECT_EQ(fields, (std::vector<std::intptr_t>{134, 135, 136, 137, 138}));
            std::vector<std::intptr_t> colours = Values("SetPixel", g_from, &drv::Call::Colour);
            std::vector<std::intptr_t> want;
            for (int k = 5; k <= 8; ++k) want.push_back(std::intptr_t(col[k]));
            EXPECT_EQ(colours, want);
            EXPECT_EQ(drv::ItemText(Anzeigefenster, IDC_WERT_BASE + 4), "");
            for (int k = 5; k <= 8; ++k)
              EXPECT_EQ(drv::ItemText(Anzeigefenster, IDC_WERT_BASE + k), kChannels[k - 1].shown)
                  << "channel " << k;
            EXPECT_TRUE(drv::ProtocolViolations(1).empty());
            EXPECT_EQ(exeparam, 0);
          });
          ScriptClose();
        });
      });
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// Every press of "Messen" during a run starts a run inside it, each on the stack of the one
// before: a user who keeps pressing would overflow it. Up to 32 runs nest as before (each counts
// from 1 again, and one stop ends them all, each completing one sweep); a press beyond does
// nothing, and the innermost run counts on.
TEST(RunFaults, PressingMessenOverAndOverNestsAtMost32Runs) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      for (int press = 0; press < 40; ++press)
        drv::Script(drv::AtFetch(first + 1 + 2 * press), "Messen again", [] {
          drv::ClickItem(g_hToolbar, IDC_MESSEN);
        });
      drv::Script(drv::AtFetch(first + 90), "Stop/Reset", [] {
        EXPECT_EQ(Count("SetFocus", g_from, StopBox), 32u) << "runs started";
        EXPECT_GT(zaehler, 10) << "the last presses did not start the count again";
        drv::ClickItem(StopBox, IDC_STOP);
      });
      drv::Script(drv::WhenMessageBox(), "OK", [] {
        g_from = drv::Ledger().size();
        drv::AnswerMessageBox(IDOK);
      });
      drv::Script(drv::WhenIdle(), "look", [] {
        EXPECT_EQ(Count("SetDlgItemInt", g_from), 32u * 8u) << "one completing sweep per run";
        EXPECT_EQ(Count("PeekMessageA", g_from), 0u) << "each only completes the sweep it is in";
        EXPECT_EQ(exeparam, 0);
      });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// After sweep 2147483647 the count starts again at 1, as at the start of a run, instead of
// overflowing into negative numbers (which the stop's -1 and 0 would be confused with).
TEST(RunFaults, TheSweepCountStartsAgainAt1AfterItsLargestValue) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "days later", [] { zaehler = INT_MAX - 2; });
      drv::Script(drv::AtFetch(first + 4), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
      drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look", [] {
        std::vector<std::intptr_t> counts = Values("SetDlgItemInt", g_from, &drv::Call::Value);
        std::vector<std::intptr_t> want;
        for (std::intptr_t sweep : {1, INT_MAX - 1, INT_MAX, 1, 2, 0})
          for (int k = 0; k < 8; ++k) want.push_back(sweep);
        EXPECT_EQ(counts, want);
        EXPECT_EQ(drv::ItemText(SatzZahl, IDC_SATZZAHL), "0");
      });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// ---- Faults of the port, through the whole program ------------------------------------------

std::vector<std::string> Texts(std::size_t from) {
  std::vector<std::string> out;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    if (ledger[i].fn == "SetDlgItemTextA") out.push_back(ledger[i].text);
  return out;
}

// What the fields showed in sweep n (1 for the first) of the run whose calls start at `from`.
std::vector<std::string> Sweep(std::size_t from, int n) {
  std::vector<std::string> all = Texts(from);
  std::size_t at = std::size_t(n - 1) * 8;
  if (all.size() < at + 8) return {};
  return std::vector<std::string>(all.begin() + std::ptrdiff_t(at),
                                  all.begin() + std::ptrdiff_t(at + 8));
}

std::vector<std::string> Right() {
  std::vector<std::string> shown;
  for (const testsupport::Channel& c : kChannels) shown.push_back(c.shown);
  return shown;
}

// What the eight channel fields show now.
std::vector<std::string> Fields() {
  std::vector<std::string> shown;
  for (int k = 1; k <= 8; ++k) shown.push_back(drv::ItemText(Anzeigefenster, IDC_WERT_BASE + k));
  return shown;
}

std::size_t ErrorBoxes(std::size_t from = 0, const char* text = kErrorText) {
  std::size_t n = 0;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    n += ledger[i].fn == "MessageBoxA" && ledger[i].text == text;
  return n;
}

drv::Faults g_faults;
void (*g_look)() = nullptr;

// Runs the program: "Messen", `g_faults` set as the 2nd sweep begins, "Stop/Reset" when the 4th
// begins, then `g_look` once the program is idle again, and the close box.
void RunWithFaultsInTheSecondSweep(void (*look)()) {
  PlugModule();
  g_look = look;
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "the faults", [] { drv::SetFaults(1, g_faults); });
      drv::Script(drv::AtFetch(first + 2), "the faults gone", [] { drv::SetFaults(1, {}); });
      drv::Script(drv::AtFetch(first + 3), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
      drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look", [] { g_look(); });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// CTS stuck off (a broken wire): every bit reads as 1, every channel shows 4.095; with the wire
// mended the next sweep is right.
TEST(RunFaults, CtsStuckOffReadsEveryChannelAsFullScale) {
  g_faults = {};
  g_faults.stuckOff = MS_CTS_ON;
  RunWithFaultsInTheSecondSweep([] {
    EXPECT_EQ(Sweep(g_from, 1), Right());
    EXPECT_EQ(Sweep(g_from, 2), std::vector<std::string>(8, "4.095"));
    EXPECT_EQ(Sweep(g_from, 3), Right());
    EXPECT_EQ(ErrorBoxes(), 0u);
  });
}

// One failing read (channel 2's first code bit): one message; channel 2 shows no value; the rest
// of the answer is clocked out unread, so every later conversion is right.
TEST(RunFaults, OneFailingReadShowsOneMessageAndTheRunGoesOnRight) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "a read of channel 2 fails", [] {
        drv::Faults faults;
        faults.failStatusFrom = 13 + 2;
        faults.failStatusCount = 1;
        drv::SetFaults(1, faults);
      });
      drv::Script(drv::WhenMessageBox(), "OK", [] {
        EXPECT_EQ(drv::OwnerOf(drv::TopMessageBox()), nullptr);
        unsigned long now = drv::Fetches();
        drv::AnswerMessageBox(IDOK);
        drv::Script(drv::AtFetch(now + 3), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
        drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
        drv::Script(drv::WhenIdle(), "look", [] {
          EXPECT_EQ(ErrorBoxes(), 1u);
          std::vector<std::string> second = Right();
          second[1] = "";
          EXPECT_EQ(Sweep(g_from, 2), second);
          EXPECT_EQ(Sweep(g_from, 3), Right());
          EXPECT_EQ(Sweep(g_from, 4), Right());
          EXPECT_EQ(drv::AbandonedAnswers(1), 0);
          EXPECT_TRUE(drv::ProtocolViolations(1).empty());
        });
        ScriptClose();
      });
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// Reads failing for good from the 2nd sweep on: a message for every channel. The user presses
// "Stop/Reset" in the first; then the sweep completes, each of its eight channels with its own
// message: eight error messages and the stop's to answer, and the program is idle again and
// closes as usual.
TEST(RunFaults, ReadsFailingForGoodNeedNineAnswersToStopAndTheProgramStillCloses) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "reads fail for good", [] {
        drv::Faults faults;
        faults.failStatusFrom = 1;
        drv::SetFaults(1, faults);
      });
      drv::Script(drv::WhenMessageBox(), "the first error message: Stop/Reset", [] {
        drv::ClickItem(StopBox, IDC_STOP);
      });
      for (int answer = 1; answer <= 9; ++answer)
        drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look", [] {
        EXPECT_EQ(ErrorBoxes(), 8u);
        EXPECT_EQ(drv::CountOf("MessageBoxA"), 9u);
        EXPECT_EQ(exeparam, 0);
        EXPECT_EQ(drv::TopMessageBox(), nullptr);
      });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// The adapter pulled out during channel 2 of the 2nd sweep: from then on every call on the port
// fails, line changes included, and every channel left shows no value and a message: channel 2
// the failed read's, channels 3 to 8 the failed line change's (a stop given in the first). The sweep had been counted already; as after any stop, the count
// it completes with is 0, on every channel left. Plugged back in, the port's handle that the
// program holds stays dead, as on Windows: the next run fails the same way, until the program is
// started again.
TEST(RunFaults, AnAdapterPulledOutMidRunFailsEveryCallAndPluggingItBackDoesNotRevive) {
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "pull the adapter at channel 2", [] {
        drv::Faults faults;
        faults.pullAdapterAtRead = 13 + 5;
        drv::SetFaults(1, faults);
      });
      drv::Script(drv::WhenMessageBox(), "the first error message: Stop/Reset", [] {
        EXPECT_EQ(drv::ItemText(SatzZahl, IDC_SATZZAHL), "2");
        drv::ClickItem(StopBox, IDC_STOP);
      });
      for (int answer = 1; answer <= 8; ++answer)
        drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look, plug it back and Messen", [] {
        EXPECT_EQ(ErrorBoxes(), 1u);
        EXPECT_EQ(ErrorBoxes(0, kLineText), 6u);
        std::vector<std::string> fields(8, "");
        fields[0] = kChannels[0].shown;
        EXPECT_EQ(Fields(), fields);
        EXPECT_EQ(drv::ItemText(SatzZahl, IDC_SATZZAHL), "0");
        std::vector<std::intptr_t> counts(8, 1);  // sweep 1
        counts.push_back(2);                      // sweep 2, channel 1
        counts.insert(counts.end(), 7, 0);        // channels 2 to 8, after the stop
        EXPECT_EQ(Values("SetDlgItemInt", g_from, &drv::Call::Value), counts);
        std::size_t lineCalls = 0, failed = 0;
        bool pulled = false;
        for (const drv::Call& c : drv::Ledger()) {
          pulled = pulled || (c.fn == "GetCommModemStatus" && !c.Succeeded());
          if (!pulled || (c.fn != "EscapeCommFunction" && c.fn != "GetCommModemStatus")) continue;
          ++lineCalls;
          failed += !c.Succeeded();
        }
        EXPECT_GT(lineCalls, 7u * 10u);
        EXPECT_EQ(failed, lineCalls) << "every port call after the pull fails";
        EXPECT_EQ(drv::OpenPorts(), 0u);
        drv::PlugAdapterBack(1);
        g_from = drv::Ledger().size();
        drv::ClickItem(g_hToolbar, IDC_MESSEN);
      });
      drv::Script(drv::WhenMessageBox(), "the error message again: Stop/Reset", [] {
        drv::ClickItem(StopBox, IDC_STOP);
      });
      for (int answer = 1; answer <= 9; ++answer)
        drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look", [] {
        EXPECT_EQ(ErrorBoxes(g_from, kLineText), 8u);
        EXPECT_EQ(drv::PortLines(1).open, false);
      });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// Alt+F4 in the middle of a run closes the main window as its close box does: the sweep
// completes, the run ends and so does the program.
TEST(RunFaults, AltF4DuringARunEndsItAndTheProgram) {
  PlugModule();
  static HWND main = nullptr;
  drv::Script(drv::WhenIdle(), "Messen", [] {
    main = MainWindow();
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), "Alt+F4", [] { drv::PressAltKey(VK_F4); });
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
  EXPECT_FALSE(IsWindow(main));
  EXPECT_EQ(Count("DestroyWindow", g_from, main), 1u);
  EXPECT_EQ(Count("SetDlgItemInt", g_from), 3u * 8u) << "the sweep in which it came completed";
}

// ---- Conversions that yield no value --------------------------------------------------------

// COM1's settings with RTS, the clock, left under handshake by a program before: the driver
// refuses the program's changes of that line.
void RtsUnderHandshake() {
  DCB d = drv::PortSettings(1);
  d.fRtsControl = RTS_CONTROL_HANDSHAKE;
  drv::SetPortSettings(1, d);
}

drv::Faults Noise(std::map<int, DWORD> reads) {
  drv::Faults f;
  f.noiseAtRead = std::move(reads);
  return f;
}

// A fault that comes with the 2nd sweep and goes in its last error message.
struct NoValue {
  const char* what;
  void (*fault)();
  const char* message;  // each of the fault's error messages, with its caption
  std::size_t messages;
  int lost;  // bit k-1 set: channel k shows no value in the 2nd sweep
};

const NoValue kNoValue[] = {
    {"a status read failing halfway through channel 1",
     [] {
       drv::Faults f;
       f.failStatusFrom = 7;
       f.failStatusCount = 1;
       drv::SetFaults(1, f);
     },
     kErrorText, 1, 0x01},
    // Reads counted from the sweep's first; an unclean word is read again, up to twice.
    {"noise on one read (channel 3's last bit), on two (channel 4's first code bit, and its "
     "re-read), and on three (channel 6's bit 9, and both re-reads)",
     [] {
       drv::SetFaults(1, Noise({{39, MS_DSR_ON},
                                {42, MS_RING_ON | MS_RLSD_ON}, {43, MS_RING_ON},
                                {72, MS_DSR_ON}, {73, MS_DSR_ON}, {74, MS_RLSD_ON}}));
     },
     kWordText, 1, 0x20},
    {"DSR held on by a cable",
     [] {
       drv::Faults f;
       f.stuckOn = MS_DSR_ON;
       drv::SetFaults(1, f);
     },
     kWordText, 8, 0xFF},
    {"RTS left under handshake: every change of the clock refused", RtsUnderHandshake,
     kLineText, 8, 0xFF},
};

void PrintTo(const NoValue& row, std::ostream* os) { *os << row.what; }

const NoValue* g_row = nullptr;
DCB g_settings;

// The colours of the dots set in sweep n of the run whose calls start at `from`.
std::vector<std::intptr_t> Dots(std::size_t from, int n) {
  std::vector<std::intptr_t> out;
  int counted = 0;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i) {
    counted += ledger[i].fn == "SetDlgItemInt";
    if (ledger[i].fn == "SetPixel" && counted / 8 == n - 1) out.push_back(ledger[i].Colour());
  }
  return out;
}

void LookAtTheSweeps() {
  std::vector<std::string> second = Right();
  std::vector<std::intptr_t> dots;
  for (int k = 1; k <= 8; ++k)
    if (g_row->lost >> (k - 1) & 1)
      second[std::size_t(k - 1)] = "";
    else
      dots.push_back(std::intptr_t(col[k]));
  EXPECT_EQ(Sweep(g_from, 1), Right());
  EXPECT_EQ(Sweep(g_from, 2), second) << "an empty field for each conversion without a value";
  EXPECT_EQ(Dots(g_from, 2), dots) << "no dot without a value";
  EXPECT_EQ(Sweep(g_from, 3), Right()) << "the transactions after are framed right";
  std::vector<std::intptr_t> counts = Values("SetDlgItemInt", g_from, &drv::Call::Value);
  ASSERT_GE(counts.size(), 24u);
  for (std::size_t i = 0; i < 24; ++i)
    EXPECT_EQ(counts[i], std::intptr_t(i / 8 + 1)) << "the count is written for each channel";
  EXPECT_EQ(ErrorBoxes(0, g_row->message), g_row->messages);
  EXPECT_EQ(drv::CountOf("MessageBoxA"), g_row->messages + 1) << "and the stop's";
  EXPECT_FALSE(drv::PortLines(1).rts) << "the clock rests low";
}

class RunWithoutAValue : public ::testing::TestWithParam<NoValue> {};

// Each fault comes as the 2nd sweep begins and goes in its last error message. Every conversion
// it spoils shows an empty field and no dot, with a message (no owner, as a failed read's); the
// count is written as always, and the sweep after is right.
TEST_P(RunWithoutAValue, ShowsAnEmptyFieldAndNoDotAndTheSweepAfterIsRight) {
  g_row = &GetParam();
  PlugModule();
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_from = drv::Ledger().size();
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 1), g_row->what, [] {
        g_settings = drv::PortSettings(1);
        g_row->fault();
      });
      for (std::size_t n = 1; n <= g_row->messages; ++n)
        drv::Script(drv::WhenMessageBox(), "an error message: OK", [n] {
          EXPECT_EQ(drv::OwnerOf(drv::TopMessageBox()), nullptr);
          if (n < g_row->messages) return drv::AnswerMessageBox(IDOK);
          drv::SetFaults(1, {});
          drv::SetPortSettings(1, g_settings);
          unsigned long now = drv::Fetches();
          drv::AnswerMessageBox(IDOK);
          drv::Script(drv::AtFetch(now + 3), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
          drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
          drv::Script(drv::WhenIdle(), "look", LookAtTheSweeps);
          ScriptClose();
        });
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

INSTANTIATE_TEST_SUITE_P(Faults, RunWithoutAValue, ::testing::ValuesIn(kNoValue),
                         [](const ::testing::TestParamInfo<NoValue>& info) {
                           return "Case" + std::to_string(info.index);
                         });

// ---- Faults of the ports at start ----------------------------------------------------------

// COM1 holds a device with RING and RLSD on (a modem, say); COM2 is there, but its first status
// read fails (its driver refuses the call). The word COM1 left is no answer from COM2: COM2 is
// probed and closed, the module on COM3 is found and marked, and a run shows its values.
TEST(StartFaults, APortWhoseFirstStatusReadFailsIsNotTakenForTheModule) {
  drv::PlugPort(1, drv::PortKind::Empty);
  drv::Faults modem;
  modem.stuckOn = MS_RING_ON | MS_RLSD_ON;
  drv::SetFaults(1, modem);
  drv::PlugPort(2, drv::PortKind::Empty);
  drv::Faults refused;
  refused.failStatusFrom = 1;
  refused.failStatusCount = 1;
  drv::SetFaults(2, refused);
  drv::PlugPort(3, drv::PortKind::Module);
  for (int k = 1; k <= 8; ++k) drv::SetSignal(3, k, drv::Constant(kChannels[k - 1].code));
  drv::Script(drv::WhenIdle(), "look at the port panel, then Messen", [] {
    for (int n = 1; n <= 4; ++n)
      EXPECT_EQ(drv::IsChecked(ComPort, IDC_COM_BASE + n), n == 3) << "COM " << n;
    EXPECT_FALSE(drv::PortLines(2).open) << "COM2 probed and closed";
    EXPECT_TRUE(drv::PortLines(3).open);
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 2), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
      drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look", [] {
        EXPECT_EQ(Fields(), Right()) << "the module's values";
        EXPECT_EQ(ErrorBoxes(), 0u);
        EXPECT_TRUE(drv::ProtocolViolations(3).empty());
      });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

// COM1 holds the module, its settings as a program before left them: RTS under handshake, and
// XON and XOFF equal (as some drivers report them), or a byte size the driver refuses.
struct Settings {
  const char* what;
  bool xonIsXoff;
  BYTE byteSize;
  bool moduleOnCom2;
  int port;  // where the module is found
};

void PrintTo(const Settings& row, std::ostream* os) { *os << row.what; }

const Settings kSettings[] = {
    {"XON equal to XOFF: the usual characters let the settings through", true, 8, false, 1},
    {"a byte size of 9: COM1 is passed over for the module on COM2", false, 9, true, 2},
};

class StartWithSettings : public ::testing::TestWithParam<Settings> {};

TEST_P(StartWithSettings, TakesAPortOnlyWhereItsLinesCanBeSet) {
  static const Settings* row = nullptr;
  row = &GetParam();
  PlugModule();
  DCB d = drv::PortSettings(1);
  d.fRtsControl = RTS_CONTROL_HANDSHAKE;
  if (row->xonIsXoff) d.XonChar = d.XoffChar = 0;
  d.ByteSize = row->byteSize;
  drv::SetPortSettings(1, d);
  if (row->moduleOnCom2) {
    drv::PlugPort(2, drv::PortKind::Module);
    for (int k = 1; k <= 8; ++k) drv::SetSignal(2, k, drv::Constant(kChannels[k - 1].code));
  }
  drv::Script(drv::WhenIdle(), "look at the port panel, then Messen", [] {
    for (int n = 1; n <= 4; ++n)
      EXPECT_EQ(drv::IsChecked(ComPort, IDC_COM_BASE + n), n == row->port) << "COM " << n;
    EXPECT_EQ(drv::OpenPorts(), 1u) << "a port passed over is closed";
    DCB applied = drv::PortSettings(row->port);
    EXPECT_EQ(applied.fRtsControl, DWORD(RTS_CONTROL_ENABLE));
    EXPECT_NE(applied.XonChar, applied.XoffChar);
    PressMessen([](unsigned long first) {
      drv::Script(drv::AtFetch(first + 2), "Stop/Reset", [] { drv::ClickItem(StopBox, IDC_STOP); });
      drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
      drv::Script(drv::WhenIdle(), "look", [] {
        EXPECT_EQ(Fields(), Right()) << "the module's values";
        EXPECT_EQ(drv::CountOf("MessageBoxA"), 1u) << "the stop's only";
        EXPECT_TRUE(drv::ProtocolViolations(row->port).empty());
      });
      ScriptClose();
    });
  });
  EXPECT_TRUE(testsupport::RunsToTheEnd());
}

INSTANTIATE_TEST_SUITE_P(Ports, StartWithSettings, ::testing::ValuesIn(kSettings),
                         [](const ::testing::TestParamInfo<Settings>& info) {
                           return "Case" + std::to_string(info.index);
                         });

}  // namespace
