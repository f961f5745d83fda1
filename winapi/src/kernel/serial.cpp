// Serial ports COM1..COM4: the port table, CreateFileA/CloseHandle on them, settings, the
// control lines and the modem status word. Nothing here touches a real device; each port is
// absent, busy, empty or holds the simulated module (simmodule.cpp). Each call on an open port
// takes its latency on the virtual clock (vclock.h), and the port behaves like the hardware it
// stands for (sim::PortBehaviour: late status reports, RTS passed on only with DTR, no break).
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

DWORD LiveStatus(const Port& p) { return p.HasModule() ? p.module.Status() : 0; }

void PullOut(Port& p) {
  if (p.pulledOut) return;
  if (OpenPort* o = Table().handles.Get(p.open)) o->removed = true;
  p.open = nullptr;
  p.pulledOut = true;
  // The module loses its lines with the adapter, and with them its power.
  p.rts = p.dtr = p.brk = false;
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

// An adapter that reports its status now and then: the reports due since the last call carry
// the lines as they were up to now, unchanged since the last line change.
void CatchUpReports(Port& p) {
  const std::uint64_t every = p.behaviour.statusRefreshNs;
  if (every == 0) return;
  const std::uint64_t due = vclock::Now() / every;
  if (due == p.reportDue) return;
  p.reportDue = due;
  p.reported = LiveStatus(p);
}

// A call on an open port: its latency passes, then what it does happens.
void Takes(Port& p, std::uint64_t ns) {
  vclock::Advance(ns);
  CatchUpReports(p);
}

// The status lines as the program gets to read them.
DWORD ReadStatus(Port& p) {
  Takes(p, p.behaviour.statusNs);
  return p.behaviour.statusRefreshNs ? p.reported : LiveStatus(p);
}

// Line changes reach the module one at a time, in the order they happen.
void SetRts(Port& p, bool on) {
  if (p.rts == on) return;
  p.rts = on;
  if (p.HasModule()) p.module.Clock(on, vclock::Now());
}

// An adapter that passes RTS on only with DTR sends both whenever DTR is set.
void SetDtr(Port& p, bool on) {
  if (p.dtr != on) {
    p.dtr = on;
    if (p.HasModule()) p.module.Data(on);
  }
  if (p.behaviour.rtsOnlyWithDtr) SetRts(p, p.rtsWanted);
}

void WantRts(Port& p, bool on) {
  p.rtsWanted = on;
  if (!p.behaviour.rtsOnlyWithDtr) SetRts(p, on);
}

// A break the adapter does not hold is over before anything can read the answer to it.
void SetBreak(Port& p, bool on) {
  if (p.brk == on) return;
  if (on && p.behaviour.breakNotHeld) {
    if (p.HasModule()) p.module.Break(true), p.module.Break(false);
    return;
  }
  p.brk = on;
  if (p.HasModule()) p.module.Break(on);
}

// Opening a port and applying settings put DTR and RTS where their control modes want them:
// on when enabled (or when handshaking, the receiver being ready), off when disabled (or
// RTS toggling, nothing being sent).
void ApplyLineControl(Port& p) {
  p.rtsWanted = p.settings.fRtsControl == RTS_CONTROL_ENABLE ||
                p.settings.fRtsControl == RTS_CONTROL_HANDSHAKE;
  SetDtr(p, p.settings.fDtrControl != DTR_CONTROL_DISABLE);
  SetRts(p, p.rtsWanted);
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

// A status read on a port whose faults were set: it may pull the module or the adapter out,
// fail, or bring noise and stuck lines.
BOOL ReadWithFaults(Port& p, HANDLE port, LPDWORD status) {
  const sim::Faults& f = p.faults;
  int read = ++p.reads;
  if (f.unplugAtRead != 0 && read == f.unplugAtRead && p.HasModule())
    p.kind = sim::PortKind::Empty;
  if (f.pullAdapterAtRead != 0 && read == f.pullAdapterAtRead) {
    PullOut(p);
    Log("GetCommModemStatus", port, 0, FALSE);
    return FALSE;
  }
  bool fails = f.failStatusFrom != 0 && read >= f.failStatusFrom &&
               (f.failStatusCount == 0 || read < f.failStatusFrom + f.failStatusCount);
  if (fails) {
    Log("GetCommModemStatus", port, 0, FALSE);
    return FALSE;
  }
  DWORD lines = ReadStatus(p);
  auto noise = f.noiseAtRead.find(read);
  if (noise != f.noiseAtRead.end()) lines |= noise->second;
  *status = (lines | f.stuckOn) & ~f.stuckOff;
  Log("GetCommModemStatus", p, std::intptr_t(*status), TRUE);
  return TRUE;
}

// SetCommBreak and ClearCommBreak: the break on or off, unless the call fails.
BOOL BreakCall(const char* fn, HANDLE port, bool on) {
  Port* p = FromHandle(port);
  bool ok = p && !(p->faulted && (on ? p->faults.failSetBreak : p->faults.failClearBreak));
  Log(fn, port, 0, ok);
  if (!ok) return FALSE;
  Takes(*p, p->behaviour.lineNs);
  SetBreak(*p, on);
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
  if (p.kind == sim::PortKind::Absent || p.kind == sim::PortKind::Busy || p.open || p.pulledOut)
    return INVALID_HANDLE_VALUE;
  p.open = winapi::Table().handles.Add<HANDLE>(std::make_unique<winapi::OpenPort>(
      winapi::OpenPort{n - 1}));
  winapi::ApplyLineControl(p);
  return p.open;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
  Port* p = winapi::FromHandle(handle);
  // A handle whose device is gone still closes.
  bool closes = winapi::Table().handles.Get(handle) != nullptr;
  winapi::Log("CloseHandle", handle, 0, closes);
  if (!p) return closes ? winapi::Table().handles.Remove(handle) : FALSE;
  // Closing a port clears the break and drops DTR and RTS.
  winapi::SetBreak(*p, false);
  p->rtsWanted = false;
  winapi::SetDtr(*p, false);
  winapi::SetRts(*p, false);
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
  winapi::Takes(*p, p->behaviour.lineNs);
  p->settings = *dcb;
  winapi::ApplyLineControl(*p);
  return TRUE;
}

BOOL WINAPI EscapeCommFunction(HANDLE port, DWORD func) {
  Port* p = winapi::FromHandle(port);
  bool ok = p != nullptr;
  if (ok) {
    winapi::Takes(*p, p->behaviour.lineNs);
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
        if (ok) winapi::WantRts(*p, func == SETRTS);
        break;
      case SETDTR:
      case CLRDTR:
        ok = dtrFree;
        if (ok) winapi::SetDtr(*p, func == SETDTR);
        break;
      case SETBREAK:
      case CLRBREAK:
        winapi::SetBreak(*p, func == SETBREAK);
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
  if (p->faulted) return winapi::ReadWithFaults(*p, port, status);
  *status = winapi::ReadStatus(*p);
  winapi::Log("GetCommModemStatus", *p, std::intptr_t(*status), TRUE);
  return TRUE;
}
