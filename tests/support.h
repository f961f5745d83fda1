// Helpers the suites share: plain windows to draw into, the program's main window, a run with a
// module on COM1, running the program to its end, and expected sequences. An expected sequence is
// a list of Row: a call with its window, numbers and text as ledger.h lists them, or a message
// with its window, wParam and lParam; a field left out matches anything:
//   LedgerHas({{"GetDC", Plotter}, {"FillRect", Plotter, 60, 40, kBlack}, {"ReleaseDC", Plotter}});
//   LedgerHas(HinterGrundCalls(Plotter, kFrame600x400, "X * 1   "), from);  // a routine's calls
//   SameSequence({{WM_SIZE, w, SIZE_RESTORED, MAKELPARAM(80, 60)}}, AsCalls(messages));
#ifndef PIKON_TESTS_SUPPORT_H
#define PIKON_TESTS_SUPPORT_H

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <map>
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

// The messages the tests look for, by name.
inline std::string MessageName(UINT message) {
  static const std::map<UINT, const char*> names = {
      {WM_CREATE, "WM_CREATE"},   {WM_DESTROY, "WM_DESTROY"},   {WM_SIZE, "WM_SIZE"},
      {WM_PAINT, "WM_PAINT"},     {WM_CLOSE, "WM_CLOSE"},       {WM_ERASEBKGND, "WM_ERASEBKGND"},
      {WM_COMMAND, "WM_COMMAND"}, {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_USER, "WM_USER"}};
  auto it = names.find(message);
  return it != names.end() ? it->second : "message " + Hex(message);
}

// One row of an expected sequence: a call with its window, numbers and text as the ledger
// records them (ledger.h), or a message with its window, wParam and lParam. A field left out
// matches anything; `c` may be left out before a text.
struct Row {
  using Number = std::optional<std::intptr_t>;
  using Text = std::optional<std::string>;
  Row(std::string f, std::optional<HWND> w = {}, Number first = {}, Number second = {},
      Number third = {}, Text t = {})
      : fn(std::move(f)), window(w), a(first), b(second), c(third), text(std::move(t)) {}
  Row(std::string f, std::optional<HWND> w, Number first, Number second, Text t)
      : Row(std::move(f), w, first, second, {}, std::move(t)) {}
  Row(UINT message, HWND w, Number wParam = {}, Number lParam = {})
      : Row(MessageName(message), w, wParam, lParam) {}
  std::string fn;
  std::optional<HWND> window;
  Number a, b, c;
  Text text;
};

// Messages a window was given, as the ledger would record them, for the comparison with rows.
inline std::vector<drv::Call> AsCalls(const std::vector<MSG>& messages) {
  std::vector<drv::Call> calls;
  for (const MSG& m : messages)
    calls.push_back({MessageName(m.message), std::intptr_t(m.wParam), m.lParam, 0, "", m.hwnd});
  return calls;
}

// A ledger entry with every field; the window only where the call names one.
inline std::string Show(const drv::Call& c) {
  std::string shown = c.fn + "(" + std::to_string(c.a) + ", " + std::to_string(c.b) + ", " +
                      Hex(c.c) + ", \"" + c.text + "\")";
  if (c.window)
    shown += " on window " + std::to_string(reinterpret_cast<std::uintptr_t>(c.window));
  return shown;
}

inline bool Matches(const drv::Call& got, const Row& w) {
  return got.fn == w.fn && (!w.a || got.a == *w.a) && (!w.b || got.b == *w.b) &&
         (!w.c || got.c == *w.c) && (!w.text || got.text == *w.text) &&
         (!w.window || got.window == *w.window);
}

inline std::string Show(const Row& w) {
  const auto field = [](const auto& v) { return v ? std::to_string(*v) : std::string("_"); };
  std::string shown = w.fn + "(" + field(w.a) + ", " + field(w.b) + ", " +
                      (w.c ? Hex(*w.c) : "_") + ", " +
                      (w.text ? "\"" + *w.text + "\"" : "_") + ")";
  if (w.window)
    shown += " on window " + std::to_string(reinterpret_cast<std::uintptr_t>(*w.window));
  return shown;
}

// The ledger's entries from `from` on for the functions named in `want`, in order.
inline std::vector<drv::Call> CallsNamedIn(const std::vector<Row>& want, std::size_t from = 0) {
  std::vector<drv::Call> got;
  const std::vector<drv::Call>& ledger = drv::Ledger();
  for (std::size_t i = from; i < ledger.size(); ++i)
    for (const Row& w : want)
      if (ledger[i].fn == w.fn) {
        got.push_back(ledger[i]);
        break;
      }
  return got;
}

// The tests' one comparison of sequences, after Wine's ok_sequence: `got` must be the rows of
// `want`, entry for entry; otherwise the failure names the first difference with its index and
// the entries that came before it.
inline ::testing::AssertionResult SameSequence(const std::vector<Row>& want,
                                               const std::vector<drv::Call>& got) {
  const std::size_t kContext = 3;
  for (std::size_t i = 0; i < want.size() || i < got.size(); ++i) {
    if (i < want.size() && i < got.size() && Matches(got[i], want[i])) continue;
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    for (std::size_t k = i > kContext ? i - kContext : 0; k < i; ++k)
      failure << "  " << k << ": " << Show(got[k]) << "\n";
    if (i >= got.size()) return failure << "call " << i << " missing: " << Show(want[i]);
    if (i >= want.size()) return failure << "extra call " << i << ": " << Show(got[i]);
    return failure << "call " << i << ": expected " << Show(want[i]) << ", got " << Show(got[i]);
  }
  return ::testing::AssertionSuccess();
}

// The ledger's calls, from entry `from` on, to the functions `want` names must be `want`.
inline ::testing::AssertionResult LedgerHas(const std::vector<Row>& want, std::size_t from = 0) {
  return SameSequence(want, CallsNamedIn(want, from));
}

// Rows one after the other.
inline std::vector<Row> operator+(std::vector<Row> first, const std::vector<Row>& then) {
  first.insert(first.end(), then.begin(), then.end());
  return first;
}

// ---- The chart's frame -----------------------------------------------------------------------

// Where HinterGrund draws in a client area cx x cy, hand-computed (double products truncated
// once): the plot area, the legend box, the tops of its eight entries, the zoom label's column
// and its two rows.
struct Frame {
  int cx, cy;
  RECT plot, legend;
  int entryTop[8];
  int zoomX, zoomY, labelY;
};
inline constexpr Frame kFrame600x400 = {600, 400, {60, 40, 540, 360}, {552, 40, 582, 168},
                                        {40, 55, 70, 85, 100, 114, 129, 144}, 552, 316, 332};

// The calls HinterGrund makes on window w: the plot area and the legend box filled black, the
// eight legend entries in their colours on black, the zoom label in black on white.
inline std::vector<Row> HinterGrundCalls(HWND w, const Frame& f, const char* zoomLabel) {
  std::vector<Row> rows = {{"GetDC", w}};
  for (const RECT& r : {f.plot, f.legend})
    rows = rows + std::vector<Row>{{"CreateSolidBrush", nullptr, 0, 0, 0, ""},
                                   {"FillRect", w, r.left, r.top, 0, ""},
                                   {"DeleteObject", nullptr, 0, 0, 0, ""}};
  for (int i = 1; i <= 8; ++i)
    rows = rows + std::vector<Row>{{"SetTextColor", w, 0, 0, std::intptr_t(col[i]), ""},
                                   {"SetBkColor", w, 0, 0, std::intptr_t(col[0]), ""},
                                   {"DrawTextA", w, f.legend.left, f.entryTop[i - 1],
                                    std::intptr_t(col[i]), " - " + std::to_string(i) + " "}};
  return rows + std::vector<Row>{{"SetTextColor", w, 0, 0, 0, ""},
                                 {"SetBkColor", w, 0, 0, 0xFFFFFF, ""},
                                 {"TextOutA", w, f.zoomX, f.zoomY, 0, "Zoom"},
                                 {"TextOutA", w, f.zoomX, f.labelY, 0, zoomLabel},
                                 {"ReleaseDC", w}};
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
inline Row LineChange(int code, const char* port = "COM1") {
  return {"EscapeCommFunction", nullptr, code, 1, 0, port};
}
inline Row StatusRead(std::intptr_t word, const char* port = "COM1") {
  return {"GetCommModemStatus", nullptr, word, 1, 0, port};
}

// One conversion of channel k that yields `code`: the control word out on DTR with the RTS
// clock, then 13 bits in on CTS (on for a 0), a leading 0 and the code from its highest bit.
inline std::vector<Row> Conversion(int channel, int code) {
  std::vector<Row> calls = {LineChange(CLRDTR)};
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

}  // namespace testsupport

#endif
