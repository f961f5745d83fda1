// Helpers the suites share: plain windows to draw into, the program's main window, and
// comparing the call ledger with an expected table, reporting the first difference with its index.
#ifndef PIKON_TESTS_SUPPORT_H
#define PIKON_TESTS_SUPPORT_H

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "winapi/driver/ledger.h"
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

// A ledger entry with every field; the window only where the call names one.
inline std::string Show(const drv::Call& c) {
  char colour[24];
  std::snprintf(colour, sizeof colour, "0x%llx", static_cast<unsigned long long>(c.c));
  std::string shown = c.fn + "(" + std::to_string(c.a) + ", " + std::to_string(c.b) + ", " +
                      colour + ", \"" + c.text + "\")";
  if (c.window)
    shown += " on window " + std::to_string(reinterpret_cast<std::uintptr_t>(c.window));
  return shown;
}

// The ledger's entries from `from` on for the functions named in `want`, in order.
template <class Row>
std::vector<drv::Call> CallsNamedIn(const std::vector<Row>& want, std::size_t from = 0) {
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

// `got` must be `want`, entry for entry, as `same(call, row)` judges; otherwise the failure names
// the first difference with its index, the row written by `show(row)`.
template <class Row, class Same, class ShowRow>
::testing::AssertionResult SameCalls(const std::vector<Row>& want,
                                     const std::vector<drv::Call>& got, Same same, ShowRow show) {
  for (std::size_t i = 0; i < want.size() || i < got.size(); ++i) {
    if (i >= got.size())
      return ::testing::AssertionFailure() << "call " << i << " missing: " << show(want[i]);
    if (i >= want.size())
      return ::testing::AssertionFailure() << "extra call " << i << ": " << Show(got[i]);
    if (!same(got[i], want[i]))
      return ::testing::AssertionFailure()
             << "call " << i << ": expected " << show(want[i]) << ", got " << Show(got[i]);
  }
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport

#endif
