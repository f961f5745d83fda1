// Serial ports COM1..COM4: the port table, CreateFileA/CloseHandle on them, settings, the
// control lines and the modem status word, as Win32 has them. Nothing here touches a real
// device; what is behind each port is simulated (sim::PortHardware: absent, busy, empty or the
// module, behind an adapter that behaves like the one it stands for). Each call on an open port
// takes the latency the hardware gives it on the virtual clock (vclock.h), then reaches it.
#include "serial.h"

#include "trace.h"
#include "vclock.h"

#include <array>
#include <cctype>
#include <cstring>

namespace winapi {

DCB FreshSettings() {
  DCB d;
  std::memset(&d, 0, sizeof d);
  d.DCBlength = sizeof(DCB);
  d.BaudRate = CBR_9600;
  d.fBinary = 1;
  d.fDtrControl = DTR_CONTROL_ENABLE;
  d.fRtsControl = RTS_CONTROL_ENABLE;
  d.XonLim = 2048;
  d.XoffLim = 512;
  d.ByteSize = 8;
  d.Parity = NOPARITY;
  d.StopBits = ONESTOPBIT;
  d.XonChar = 0x11;
  d.XoffChar = 0x13;
  return d;
}

namespace {

// Built on first use and kept for good. Only the program's thread reaches the ports, so the
// first use needs no guard, and every call on a port is spared one.
PortTable* table = nullptr;

[[gnu::noinline]] PortTable& MakeTable() {
  table = new PortTable;
  return *table;
}

}  // namespace

PortTable& Table() { return table ? *table : MakeTable(); }

Port& PortNo(int port) { return Table().ports.at(std::size_t(port - 1)); }

void PullOut(Port& p) {
  if (p.hw.PulledOut()) return;
  if (OpenPort* o = Table().handles.Get(p.open)) o->removed = true;
  p.open = nullptr;
  p.hw.PullOut();
}

namespace {

// The port a call on this handle reaches; nullptr when it is no open port, or when the port's
// adapter was pulled out since it was opened (the handle then fails every call for good).
// A port holds its handle while open, and lets go of it when closed or pulled out, so the four
// ports are asked directly rather than the handle table.
Port* FromHandle(HANDLE h) {
  if (!h) return nullptr;
  for (Port& p : Table().ports)
    if (p.open == h) return &p;
  return nullptr;
}

// The port's name for the ledger, also for a handle whose adapter is gone.
const char* NameOf(HANDLE h) {
  OpenPort* o = Table().handles.Get(h);
  return o ? Table().ports[std::size_t(o->index)].name : "";
}

void Log(const char* fn, HANDLE h, std::intptr_t a, std::intptr_t b, std::intptr_t c = 0) {
  trace::Record(fn, a, b, c, NameOf(h), nullptr);
}

// The same for a call that found its port open: its name is at hand.
void Log(const char* fn, const Port& p, std::intptr_t a, std::intptr_t b) {
  trace::Record(fn, a, b, 0, p.name, nullptr);
}

// A call on an open port: its latency passes.
inline std::uint64_t Takes(std::uint64_t ns) {
  vclock::Advance(ns);
  return vclock::Now();
}

// Opening a port and applying settings put DTR and RTS where their control modes want them:
// on when enabled (or when handshaking, the receiver being ready), off when disabled (or
// RTS toggling, nothing being sent).
void ApplyLineControl(Port& p) {
  p.hw.SetLines(p.settings.fDtrControl != DTR_CONTROL_DISABLE,
                p.settings.fRtsControl == RTS_CONTROL_ENABLE ||
                    p.settings.fRtsControl == RTS_CONTROL_HANDSHAKE,
                vclock::Now());
}

// "COM1".."COM9" or "\\.\COMn", any case; 0 for every other name.
int ComNumber(const char* name) {
  if (!name) return 0;
  if (std::strncmp(name, "\\\\.\\", 4) == 0) name += 4;
  if (std::strlen(name) != 4) return 0;
  if (std::toupper((unsigned char)name[0]) != 'C' || std::toupper((unsigned char)name[1]) != 'O' ||
      std::toupper((unsigned char)name[2]) != 'M' || name[3] < '1' || name[3] > '9')
    return 0;
  return name[3] - '0';
}

// SetCommBreak and ClearCommBreak: the break on or off, unless the call fails or the adapter
// has no break.
BOOL BreakCall(const char* fn, HANDLE port, bool on) {
  Port* p = FromHandle(port);
  bool ok = p && p->hw.TakesBreakCall(on);
  Log(fn, port, 0, ok);
  if (!ok) return FALSE;
  p->hw.Break(on, Takes(p->hw.BreakNs(on, vclock::Now())));
  return TRUE;
}

}  // namespace
}  // namespace winapi

using winapi::Port;

HANDLE WINAPI CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES,
                          DWORD disposition, DWORD flags, HANDLE templ) {
  winapi::trace::Record("CreateFileA", std::intptr_t(access), std::intptr_t(share),
                        std::intptr_t(flags), name ? name : "", nullptr);

  // Communications devices open only for exclusive use of an existing device, no template.
  int n = winapi::ComNumber(name);
  if (n < 1 || n > 4 || share != 0 || disposition != OPEN_EXISTING || templ != nullptr)
    return INVALID_HANDLE_VALUE;
  Port& p = winapi::PortNo(n);
  if (p.hw.Kind() == sim::PortKind::Absent || p.hw.Kind() == sim::PortKind::Busy || p.open ||
      p.hw.PulledOut())
    return INVALID_HANDLE_VALUE;
  p.open = winapi::Table().handles.Add<HANDLE>(std::make_unique<winapi::OpenPort>(
      winapi::OpenPort{n - 1}));
  p.hw.Open(winapi::vclock::Now());
  winapi::ApplyLineControl(p);
  return p.open;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
  Port* p = winapi::FromHandle(handle);
  // A handle whose device is gone still closes.
  bool closes = winapi::Table().handles.Get(handle) != nullptr;
  winapi::Log("CloseHandle", handle, 0, closes);
  if (!p) return closes ? winapi::Table().handles.Remove(handle) : FALSE;
  p->hw.Close(winapi::vclock::Now());
  winapi::Table().handles.Remove(handle);
  p->open = nullptr;
  return TRUE;
}

BOOL WINAPI GetCommState(HANDLE port, LPDCB dcb) {
  Port* p = winapi::FromHandle(port);
  bool ok = p && dcb;
  if (ok) *dcb = p->settings;
  winapi::Log("GetCommState", port, ok ? std::intptr_t(dcb->BaudRate) : 0, ok);
  return ok;
}

BOOL WINAPI SetCommState(HANDLE port, LPDCB dcb) {
  Port* p = winapi::FromHandle(port);
  DWORD flags = 0;
  if (dcb) std::memcpy(&flags, reinterpret_cast<const BYTE*>(dcb) + 8, sizeof flags);
  // Refused like the serial driver refuses them: no rate, a byte size it cannot send, and
  // equal XON and XOFF characters.
  bool ok = p && dcb && dcb->BaudRate != 0 && dcb->ByteSize >= 5 && dcb->ByteSize <= 8 &&
            dcb->XonChar != dcb->XoffChar;
  winapi::Log("SetCommState", port, dcb ? std::intptr_t(dcb->BaudRate) : 0, ok, std::intptr_t(flags));
  if (!ok) return FALSE;
  winapi::Takes(p->hw.LineNs());
  p->settings = *dcb;
  winapi::ApplyLineControl(*p);
  return TRUE;
}

BOOL WINAPI EscapeCommFunction(HANDLE port, DWORD func) {
  Port* p = winapi::FromHandle(port);
  bool ok = p != nullptr;
  if (ok) {
    const std::uint64_t now = winapi::Takes(p->hw.LineNs());
    // A line under handshake (or RTS toggle) control belongs to the driver, not the caller.
    bool dtrFree = p->settings.fDtrControl != DTR_CONTROL_HANDSHAKE;
    bool rtsFree = p->settings.fRtsControl == RTS_CONTROL_ENABLE ||
                   p->settings.fRtsControl == RTS_CONTROL_DISABLE;
    switch (func) {
      case SETXOFF:
      case SETXON:
        break;  // no data is ever sent, so there is no transmission to hold or resume
      case SETRTS:
      case CLRRTS:
        ok = rtsFree;
        if (ok) p->hw.WantRts(func == SETRTS, now);
        break;
      case SETDTR:
      case CLRDTR:
        ok = dtrFree;
        if (ok) p->hw.SetDtr(func == SETDTR, now);
        break;
      case SETBREAK:
      case CLRBREAK:
        ok = p->hw.Break(func == SETBREAK, now);
        break;
      default:
        ok = false;
    }
  }
  if (p)
    winapi::Log("EscapeCommFunction", *p, std::intptr_t(func), ok);
  else
    winapi::Log("EscapeCommFunction", port, std::intptr_t(func), ok);
  return ok;
}

BOOL WINAPI SetCommBreak(HANDLE port) { return winapi::BreakCall("SetCommBreak", port, true); }

BOOL WINAPI ClearCommBreak(HANDLE port) { return winapi::BreakCall("ClearCommBreak", port, false); }

BOOL WINAPI GetCommModemStatus(HANDLE port, LPDWORD status) {
  Port* p = winapi::FromHandle(port);
  if (!p || !status) {
    winapi::Log("GetCommModemStatus", port, 0, FALSE);
    return FALSE;
  }
  // A read that fails, or whose adapter is pulled out, takes no time.
  switch (p->hw.BeginRead(winapi::vclock::Now())) {
    case sim::PortHardware::Read::PullsAdapter:
      winapi::PullOut(*p);
      [[fallthrough]];
    case sim::PortHardware::Read::Fails:
      winapi::Log("GetCommModemStatus", port, 0, FALSE);
      return FALSE;
    case sim::PortHardware::Read::Answers:
      break;
  }
  *status = p->hw.Status(winapi::Takes(p->hw.StatusNs()));
  winapi::Log("GetCommModemStatus", *p, std::intptr_t(*status), TRUE);
  return TRUE;
}
