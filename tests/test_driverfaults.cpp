// The platform under long use and broken hardware, as Win32 behaves: handle values that come
// back only after many reuses, a ledger that keeps a long run's newest calls in bounded memory,
// a border dragged no further than the maximum tracking size, and a serial adapter pulled out
// and plugged back.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "support.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/screen.h"
#include "winapi/driver/session.h"

namespace {

// A device context released and asked for again, 70,000 times: the first handle, long released,
// must keep failing, so that a program's stale handle shows up as a failing call here. A table
// that reused one slot would hand its value out again at the 65,537th, the 16-bit generation
// wrapped. (This is the subset's own promise, stricter than Windows, whose cache of common DCs
// hands the same few values out again at once; it is no conformance case.)
TEST(DriverFaults, AReleasedDcHandleDoesNotComeBackWithin70000NewOnes) {
  HWND w = testsupport::MakeWindow(20, 20);
  drv::SetLedgerRecording(false);
  HDC first = GetDC(w);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(ReleaseDC(w, first), 1);
  std::size_t again = 0;
  std::set<HDC> values;
  for (int i = 0; i < 70000; ++i) {
    HDC dc = GetDC(w);
    again += dc == first;
    values.insert(dc);
    SetPixel(dc, 1, 1, RGB(255, 0, 0));
    ReleaseDC(w, dc);
  }
  EXPECT_EQ(again, 0u);
  EXPECT_EQ(values.size(), 70000u) << "no value twice";
  EXPECT_EQ(ReleaseDC(w, first), 0) << "the stale handle still fails";
  EXPECT_EQ(SetPixel(first, 2, 2, RGB(0, 255, 0)), COLORREF(-1));
  EXPECT_EQ(drv::ClientPixel(w, 2, 2), testsupport::kWhite);
  EXPECT_EQ(drv::LiveDeviceContexts(), 0u);
}

// The ledger of a long run keeps its newest calls: at the limit the older half is dropped, the
// calls still counted; nothing of the newest is lost.
TEST(DriverFaults, TheLedgerKeepsTheNewestCallsWithinItsLimit) {
  HWND w = testsupport::MakeWindow(200, 20);
  HDC dc = GetDC(w);
  drv::ClearLedger();
  drv::SetLedgerLimit(1000);
  for (int i = 0; i < 5000; ++i) SetPixel(dc, i % 200, 0, RGB(0, 0, 255));
  const std::vector<drv::Call>& ledger = drv::Ledger();
  EXPECT_LE(ledger.size(), 1000u);
  EXPECT_GE(ledger.size(), 500u);
  EXPECT_EQ(ledger.size() + drv::LedgerDropped(), 5000u);
  EXPECT_EQ(drv::CountOf("SetPixel"), 5000u);
  for (std::size_t i = 0; i < ledger.size(); ++i)
    ASSERT_EQ(ledger[i].X(), std::intptr_t((5000 - ledger.size() + i) % 200)) << "entry " << i;
  ReleaseDC(w, dc);
  drv::ClearLedger();
  EXPECT_EQ(drv::LedgerDropped(), 0u);
}

// What the window is told of its size.
LPARAM g_size = 0;
LRESULT CALLBACK SizeProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) g_size = lParam;
  return DefWindowProcA(w, msg, wParam, lParam);
}

// A sizeable window dragged beyond the screen stops at the maximum tracking size (SM_CXMAXTRACK
// x SM_CYMAXTRACK: the 1024 x 768 screen plus 4 and two 4-pixel sizing frames); WM_SIZE carries
// the client size in two 16-bit words. A drag within the limit is taken as it is.
TEST(DriverFaults, ABorderIsDraggedNoFurtherThanTheMaximumTrackingSize) {
  ASSERT_TRUE(testsupport::RegisterPlainClass("SizeWindow", SizeProc));
  HWND w = CreateWindowExA(0, "SizeWindow", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300,
                           200, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  drv::ResizeWindow(w, 5000, 70000);
  RECT r = drv::WindowRectOf(w);
  EXPECT_EQ(r.right - r.left, 1036);
  EXPECT_EQ(r.bottom - r.top, 780);
  RECT client;
  ASSERT_TRUE(GetClientRect(w, &client));
  EXPECT_EQ(client.right, 1036 - 8);
  EXPECT_EQ(client.bottom, 780 - 8 - GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(g_size, MAKELPARAM(client.right, client.bottom));
  drv::ResizeWindow(w, 700, 500);
  r = drv::WindowRectOf(w);
  EXPECT_EQ(r.right - r.left, 700);
  EXPECT_EQ(r.bottom - r.top, 500);
  EXPECT_EQ(g_size, MAKELPARAM(700 - 8, 500 - 8 - GetSystemMetrics(SM_CYCAPTION)));
}

// A USB serial adapter pulled out while the port is open: every call on the open handle fails
// from then on, line changes included, and the port cannot be opened. Plugged back, the port
// opens again with the module behind it; the handle from before stays dead (its device is gone)
// and still closes.
TEST(DriverFaults, APulledOutAdapterFailsEveryCallOnItsOldHandle) {
  drv::PlugPort(1, drv::PortKind::Module);
  HANDLE old = CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
  ASSERT_NE(old, INVALID_HANDLE_VALUE);
  EXPECT_EQ(drv::OpenPorts(), 1u);
  drv::PullAdapter(1);
  EXPECT_EQ(drv::OpenPorts(), 0u);
  DWORD status = 0x1234;
  DCB dcb;
  EXPECT_FALSE(GetCommModemStatus(old, &status));
  EXPECT_EQ(status, 0x1234u) << "left as it was";
  EXPECT_FALSE(EscapeCommFunction(old, SETRTS));
  EXPECT_FALSE(EscapeCommFunction(old, CLRDTR));
  EXPECT_FALSE(SetCommBreak(old));
  EXPECT_FALSE(GetCommState(old, &dcb));
  EXPECT_FALSE(drv::PortLines(1).rts);
  EXPECT_EQ(CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                        FILE_FLAG_OVERLAPPED, nullptr),
            INVALID_HANDLE_VALUE);

  drv::PlugAdapterBack(1);
  EXPECT_FALSE(EscapeCommFunction(old, SETRTS)) << "the old handle stays dead";
  HANDLE fresh = CreateFileA("COM1", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OVERLAPPED, nullptr);
  ASSERT_NE(fresh, INVALID_HANDLE_VALUE);
  EXPECT_NE(fresh, old);
  EXPECT_TRUE(EscapeCommFunction(fresh, SETBREAK));
  EXPECT_TRUE(GetCommModemStatus(fresh, &status));
  EXPECT_EQ(status & (MS_RING_ON | MS_RLSD_ON), DWORD(MS_RING_ON | MS_RLSD_ON)) << "it answers";
  EXPECT_TRUE(CloseHandle(old));
  EXPECT_FALSE(CloseHandle(old));
  EXPECT_TRUE(CloseHandle(fresh));
  EXPECT_EQ(drv::OpenPorts(), 0u);
}

// Alt+F4 typed in a child window: the default procedure posts the system menu's close command to
// the top-level window; F4 without Alt does nothing.
TEST(DriverFaults, AltF4PostsTheCloseCommandToTheTopLevelWindow) {
  HWND top = testsupport::MakeWindow(100, 100);
  HWND child = CreateWindowExA(0, "PlainTestWindow", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top,
                               nullptr, nullptr, nullptr);
  ASSERT_NE(child, nullptr);
  MSG msg;
  DefWindowProcA(child, WM_SYSKEYDOWN, VK_F4, 1);
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "without Alt";
  DefWindowProcA(child, WM_SYSKEYDOWN, VK_F4, 1 | (LPARAM(KF_ALTDOWN) << 16));
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, top);
  EXPECT_EQ(msg.message, UINT(WM_SYSCOMMAND));
  EXPECT_EQ(msg.wParam, WPARAM(SC_CLOSE));
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
