// Helpers the suites share: plain windows to draw into, the program's main window, a run with a
// module on COM1, the ledger rows of the module link, running the program to its end, and the one
// comparison of recorded calls with an expected table.
#ifndef PIKON_TESTS_SUPPORT_H
#define PIKON_TESTS_SUPPORT_H

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "pikon.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/screen.h"
#include "winapi/driver/session.h"

namespace testsupport {

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// Registers a window class of `name` with nothing but its procedure; false if that fails.
inline bool RegisterPlainClass(const char* name, WNDPROC proc) {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  return RegisterClassExA(&wc) != 0;
}

// A borderless top-level window: its client area is exactly cx x cy.
inline HWND MakeWindow(int cx, int cy) {
  static const bool registered = RegisterPlainClass("PlainTestWindow", DefWindowProcA);
  EXPECT_TRUE(registered);
  HWND w = CreateWindowExA(0, "PlainTestWindow", "", WS_POPUP, 0, 0, cx, cy, nullptr, nullptr,
                           nullptr, nullptr);
  EXPECT_NE(w, nullptr);
  return w;
}

// The client area's pixels, row by row.
inline std::vector<COLORREF> ClientPixels(HWND w, int cx, int cy) {
  std::vector<COLORREF> pixels;
  for (int y = 0; y < cy; ++y)
    for (int x = 0; x < cx; ++x) pixels.push_back(drv::ClientPixel(w, x, y));
  return pixels;
}

inline HWND MainWindow() { return drv::FindTopLevel("myWindowClass"); }

// Ends the program the way its user does, with the close box, once it waits for input.
inline void ScriptClose() {
  drv::Script(drv::WhenIdle(), "close the main window", [] { drv::CloseWindow(MainWindow()); });
}

// ---- A run with a module on COM1 ------------------------------------------------------------

// What the module reads on each channel, what the field shows, and the row of its dot in a
// client area 400 pixels high: trunc((0.9 - 0.8 * code / 4095) * 400).
struct Channel {
  int code;
  const char* shown;
  int row;
};
inline constexpr Channel kChannels[8] = {
    {1234, "1.234", 263}, {0, "0.000", 360},   {2047, "2.047", 200}, {4095, "4.095", 39},
    {1, "0.001", 359},    {4094, "4.094", 40}, {2048, "2.048", 199}, {999, "0.999", 281},
};

// The module on COM1, its channels at the codes of kChannels.
inline void PlugModule() {
  drv::PlugPort(1, drv::PortKind::Module);
  for (int k = 1; k <= 8; ++k) drv::SetSignal(1, k, drv::Constant(kChannels[k - 1].code));
}

// Presses "Messen" and hands `then` the read of the queue at which the run's first sweep looks:
// the press is read now (button down) and at the next read (button up, which starts the run).
// Called from inside a scripted action, the actions `then` scripts come next.
using Then = void (*)(unsigned long firstSweepRead);
inline void PressMessen(Then then) {
  unsigned long now = drv::Fetches();
  drv::ClickItem(g_hToolbar, IDC_MESSEN);
  then(now + 2);
}

// ---- Ledger rows of the module link --------------------------------------------------------

// The control word that selects channel k (1 to 8), bit by bit as it is sent: the start bit, the
// channel select bits as the converter's data sheet gives them, unipolar, single-ended and the
// internal clock.
inline std::array<int, 8> ControlWord(int channel) {
  static const int sel[8][3] = {{0, 0, 0}, {1, 0, 0}, {0, 0, 1}, {1, 0, 1},
                                {0, 1, 0}, {1, 1, 0}, {0, 1, 1}, {1, 1, 1}};
  const int* s = sel[channel - 1];
  return {1, s[0], s[1], s[2], 1, 1, 1, 0};
}

// A change of an output line and a read of the status lines, as the ledger records them.
inline drv::Call LineChange(int code, const char* port = "COM1") {
  drv::Call c;
  c.fn = "EscapeCommFunction", c.a = code, c.b = 1, c.text = port;
  return c;
}
inline drv::Call StatusRead(std::intptr_t word, const char* port = "COM1") {
  drv::Call c;
  c.fn = "GetCommModemStatus", c.a = word, c.b = 1, c.text = port;
  return c;
}

// One conversion of channel k that yields `code`: the control word out on DTR with the RTS
// clock, then 13 bits in on CTS (on for a 0), a leading 0 and the code from its highest bit.
inline std::vector<drv::Call> Conversion(int channel, int code) {
  std::vector<drv::Call> calls = {LineChange(CLRDTR)};
  for (int bit : ControlWord(channel)) {
    calls.push_back(LineChange(bit ? SETDTR : CLRDTR));
    calls.push_back(LineChange(SETRTS));
    calls.push_back(LineChange(CLRRTS));
  }
  calls.push_back(LineChange(CLRDTR));
  for (int i = 12; i >= 0; --i) {
    bool one = i < 12 && ((code >> i) & 1);
    calls.push_back(LineChange(SETRTS));
    calls.push_back(StatusRead(one ? 0 : MS_CTS_ON));
    calls.push_back(LineChange(CLRRTS));
  }
  calls.push_back(LineChange(SETDTR));
  return calls;
}

// ---- Runs and expected calls --------------------------------------------------------------

// Runs WinMain to its end: it must return 0 having taken every scripted action.
inline ::testing::AssertionResult RunsToTheEnd() {
  int code = drv::RunWinMain();
  std::size_t pending = drv::PendingActions();
  if (code == 0 && pending == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "WinMain returned " << code << ", " << pending << " scripted actions not taken";
}

// The third number, mostly a colour, in hex.
inline std::string Hex(std::intptr_t c) {
  char shown[24];
  std::snprintf(shown, sizeof shown, "0x%llx", static_cast<unsigned long long>(c));
  return shown;
}

// A ledger entry with every field; the window only where the call names one.
inline std::string Show(const drv::Call& c) {
  std::string shown = c.fn + "(" + std::to_string(c.a) + ", " + std::to_string(c.b) + ", " +
                      Hex(c.c) + ", \"" + c.text + "\")";
  if (c.window)
    shown += " on window " + std::to_string(reinterpret_cast<std::uintptr_t>(c.window));
  return shown;
}

// One row of an expected sequence: the function and the fields that matter for it; a field
// left out matches anything.
struct Want {
  std::string fn;
  std::optional<std::intptr_t> a = {}, b = {}, c = {};
  std::optional<std::string> text = {};
  std::optional<HWND> window = {};
};

inline bool Matches(const drv::Call& got, const Want& w) {
  return got.fn == w.fn && (!w.a || got.a == *w.a) && (!w.b || got.b == *w.b) &&
         (!w.c || got.c == *w.c) && (!w.text || got.text == *w.text) &&
         (!w.window || got.window == *w.window);
}

inline std::string Show(const Want& w) {
  const auto field = [](const auto& v) { return v ? std::to_string(*v) : std::string("_"); };
  std::string shown = w.fn + "(" + field(w.a) + ", " + field(w.b) + ", " +
                      (w.c ? Hex(*w.c) : "_") + ", " +
                      (w.text ? "\"" + *w.text + "\"" : "_") + ")";
  if (w.window)
    shown += " on window " + std::to_string(reinterpret_cast<std::uintptr_t>(*w.window));
  return shown;
}

// The ledger's entries from `from` on for the functions named in `want`, in order.
template <class Row>
std::vector<drv::Call> CallsNamedIn(const std::vector<Row>& want, std::size_t from = 0) {
  std::vector<drv::Call> got;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    for (const Row& w : want)
      if (ledger[i].fn == Want(w).fn) {
        got.push_back(ledger[i]);
        break;
      }
  return got;
}

// The tests' one comparison of sequences, after Wine's ok_sequence: `got` must be the rows of
// `want` (each a Want or a suite's row that converts to one), entry for entry; otherwise the
// failure names the first difference with its index and the entries that came before it.
template <class Row>
::testing::AssertionResult SameSequence(const std::vector<Row>& want,
                                        const std::vector<drv::Call>& got) {
  const std::size_t kContext = 3;
  for (std::size_t i = 0; i < want.size() || i < got.size(); ++i) {
    if (i < want.size() && i < got.size() && Matches(got[i], Want(want[i]))) continue;
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (std::size_t k = i > kContext ? i - kContext : 0; k < i; ++k)
      failure << "  " << k << ": " << Show(got[k]) << "\n";
    if (i >= got.size()) return failure << "call " << i << " missing: " << Show(Want(want[i]));
    if (i >= want.size()) return failure << "extra call " << i << ": " << Show(got[i]);
    return failure << "call " << i << ": expected " << Show(Want(want[i])) << ", got "
                   << Show(got[i]);
  }
  return ::testing::AssertionSuccess();
}

// The ledger's calls, from entry `from` on, to the functions `want` names must be `want`.
template <class Row>
::testing::AssertionResult LedgerHas(const std::vector<Row>& want, std::size_t from = 0) {
  return SameSequence(want, CallsNamedIn(want, from));
}

}  // namespace testsupport

#endif
