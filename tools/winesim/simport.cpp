// A simulated converter module for PIKON.exe under Wine: an LD_PRELOAD library that puts the
// same module and adapter the native build talks to (winapi/sim) behind a pseudo-terminal.
//
// Wine carries the serial control calls of a COM port to the Unix device as ioctls:
//   EscapeCommFunction SETRTS/CLRRTS/SETDTR/CLRDTR  TIOCMGET, then TIOCMSET with one bit changed
//   SetCommBreak / ClearCommBreak                   TIOCSBRK / TIOCCBRK
//   GetCommModemStatus                              TIOCMGET
//   GetCommState (DTR and RTS control)              TIOCMGET
//   SetCommState, 256000 baud                       TIOCGSERIAL, TIOCSSERIAL (custom divisor)
// A pty has no modem lines, so this library answers exactly these requests, and only for the
// one file descriptor that is the pty named by PIKON_SIM_TTY (same device number); every other
// descriptor and request goes to the real ioctl untouched. Nothing here opens a device.
// Behind the pty is the same simulated machine as behind the native build's ports
// (sim::PortHardware), on real time: a request that takes a USB adapter a millisecond sleeps
// that long before it is answered.
//
// Environment:
//   PIKON_SIM_TTY      the pty slave that the prefix's COM port leads to (required)
//   PIKON_SIM_LOG      where the transaction log goes (required)
//   PIKON_SIM_SIGNALS  eight channel inputs separated by commas, each a constant code in mV
//                      (e.g. 1234) or ramp:LOW:HIGH:PERIOD, sine:..., square:..., noise:LOW:HIGH
//   PIKON_SIM_ADAPTER  what carries the lines (portsim.h): uart (the default, live), cached (a
//                      USB adapter whose status reports come 2 ms after a change, each line
//                      change 1 ms), cdcacm (Linux's cdc-acm: CTS always reported on, reports
//                      1 to 3 ms late, line changes 1 ms); anything else: no simulated port
//
// The log, one line per event:
//   attach                                   first request on the pty; DTR and RTS on, as
//                                            Linux leaves a serial port it has opened
//   break on | break off
//   status 0xWWWW                            a status read outside a transaction (word as
//                                            GetCommModemStatus reports it)
//   serial get | serial set divisor N        the baud rate's custom divisor
//   T n ch C ctrl 0xCC code V reads R got G  transaction n: control byte CC selected channel C
//                                            (1..8), the module answered V, the master made R
//                                            status reads in the answer and assembled G from
//                                            them (CTS inverted, the leading bit dropped)
//   VIOLATION text                           what a correct master never does
// A transaction is logged when its 13th status read is made, or, if the master never makes
// it, when the next one starts.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <mutex>
#include <string>

#include "hardware.h"

namespace {

using IoctlFn = int (*)(int, unsigned long, ...);

struct Sim {
  bool ready = false;
  dev_t tty = 0;
  int log = -1;
  sim::PortHardware hw;
  sim::PortBehaviour adapter;
  sim::Signal signals[8];
  bool rts = false, dtr = false, brk = false;  // as the program set them
  std::size_t violationsLogged = 0;
  // A TIOCMGET is a status read unless a TIOCMSET follows it (a line change reads first).
  bool pendingRead = false;
  DWORD pendingWord = 0;
  // The transaction in progress.
  unsigned long transactions = 0;
  bool inAnswer = false, logged = true;
  int channel = 0, code = 0, reads = 0;
  unsigned edges = 0;    // DTR at the last rising edges of the clock, the latest lowest
  unsigned control = 0;  // the transaction's control byte
  unsigned sampled = 0;  // the bits the master read, CTS inverted
  std::uint64_t conversions[8] = {};
};

Sim& State() {
  static Sim sim;
  return sim;
}

std::mutex& Lock() {
  static std::mutex lock;
  return lock;
}

IoctlFn RealIoctl() {
  static IoctlFn real = reinterpret_cast<IoctlFn>(dlsym(RTLD_NEXT, "ioctl"));
  return real;
}

void Log(Sim& s, const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
  if (n < 0) return;
  if (n > int(sizeof line) - 2) n = int(sizeof line) - 2;
  line[n++] = '\n';
  // One write per line, so the log is whole up to the moment the process ends; a line that
  // cannot be written is lost, and the module goes on.
  if (s.log >= 0) {
    ssize_t written = write(s.log, line, std::size_t(n));
    (void)written;
  }
}

sim::Signal ParseSignal(const std::string& text) {
  int a = 0, b = 0, c = 1;
  if (std::sscanf(text.c_str(), "ramp:%d:%d:%d", &a, &b, &c) == 3) return sim::Ramp(a, b, c);
  if (std::sscanf(text.c_str(), "sine:%d:%d:%d", &a, &b, &c) == 3) return sim::Sine(a, b, c);
  if (std::sscanf(text.c_str(), "square:%d:%d:%d", &a, &b, &c) == 3) return sim::Square(a, b, c);
  if (std::sscanf(text.c_str(), "noise:%d:%d", &a, &b) == 2) return sim::Noise(a, b);
  return sim::Constant(std::atoi(text.c_str()));
}

// Unix 98 pseudo-terminal slaves: majors 136 to 143.
bool IsPty(const struct stat& st) {
  return S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 && major(st.st_rdev) <= 143;
}

// The adapter named by PIKON_SIM_ADAPTER; false for a name it does not know.
bool Adapter(const char* name, sim::PortBehaviour& b) {
  const std::string n = name ? name : "uart";
  if (n == "uart") b = sim::LegacyUart(1);
  else if (n == "cached") b = sim::CachedUsbAdapter(2);
  else if (n == "cdcacm") b = sim::CdcAcmLinux();
  else return false;
  return true;
}

// Reads the environment once; false if this process has no simulated port. Only a pty can be
// one: the module stands in for the modem lines a pty lacks, never for a device that has them.
bool Setup(Sim& s) {
  static bool tried = false;
  if (tried) return s.ready;
  tried = true;
  const char* tty = std::getenv("PIKON_SIM_TTY");
  const char* log = std::getenv("PIKON_SIM_LOG");
  struct stat st;
  if (!tty || !log || stat(tty, &st) != 0 || !IsPty(st)) return false;
  if (!Adapter(std::getenv("PIKON_SIM_ADAPTER"), s.adapter)) return false;
  s.tty = st.st_rdev;
  s.log = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  std::string list = std::getenv("PIKON_SIM_SIGNALS") ? std::getenv("PIKON_SIM_SIGNALS") : "";
  for (int ch = 0; ch < 8; ++ch) {
    std::size_t comma = list.find(',');
    s.signals[ch] = ParseSignal(list.substr(0, comma));
    list = comma == std::string::npos ? "" : list.substr(comma + 1);
    s.hw.Module().SetSignal(ch + 1, s.signals[ch]);
  }
  s.ready = true;
  return true;
}

// The module measures its conversion time in real time, and the adapter its delays: under
// Wine, the port calls take what they take.
std::uint64_t NowNs() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return std::uint64_t(t.tv_sec) * 1000000000u + std::uint64_t(t.tv_nsec);
}

// A request that takes the adapter this long returns that much later; the time at which it
// takes effect. A UART's few µs are less than Wine's own way to the ioctl, and are not added.
std::uint64_t Takes(std::uint64_t ns) {
  const std::uint64_t start = NowNs();
  if (ns < 100000) return start;
  const std::uint64_t end = start + ns;
  const timespec until{time_t(end / 1000000000u), long(end % 1000000000u)};
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
  return NowNs();
}

bool IsSimPort(Sim& s, int fd) {
  struct stat st;
  return Setup(s) && fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && st.st_rdev == s.tty;
}

int ModemBits(const Sim& s, DWORD w) {
  return (s.rts ? TIOCM_RTS : 0) | (s.dtr ? TIOCM_DTR : 0) | ((w & MS_CTS_ON) ? TIOCM_CTS : 0) |
         ((w & MS_DSR_ON) ? TIOCM_DSR : 0) | ((w & MS_RING_ON) ? TIOCM_RNG : 0) |
         ((w & MS_RLSD_ON) ? TIOCM_CAR : 0);
}

void LogViolations(Sim& s) {
  const auto& v = s.hw.Module().Violations();
  for (; s.violationsLogged < v.size(); ++s.violationsLogged)
    Log(s, "VIOLATION %s", v[s.violationsLogged].c_str());
}

void LogTransaction(Sim& s) {
  if (s.logged) return;
  s.logged = true;
  // The master's bits: the first read is the leading bit, then the code, most significant first.
  unsigned got = s.sampled & 0xFFFu;
  Log(s, "T %lu ch %d ctrl 0x%02X code %d reads %d got %u", s.transactions, s.channel, s.control,
      s.code, s.reads, got);
}

// A conversion is noticed by the module's counters; which input moved is the channel.
void NoticeConversion(Sim& s) {
  for (int ch = 0; ch < 8; ++ch) {
    std::uint64_t n = s.hw.Module().Conversions(ch + 1);
    if (n == s.conversions[ch]) continue;
    LogTransaction(s);
    s.code = sim::SignalAt(s.signals[ch], s.conversions[ch]);
    s.conversions[ch] = n;
    s.channel = ch + 1;
    ++s.transactions;
    s.inAnswer = true;
    s.logged = false;
    s.reads = 0;
    s.sampled = 0;
    // The conversion starts on the falling edge after the eighth control bit: the byte is the
    // eight rising edges just seen.
    s.control = s.edges;
  }
}

void StatusRead(Sim& s, DWORD word) {
  if (s.inAnswer && !s.logged) {
    s.sampled = (s.sampled << 1) | ((word & MS_CTS_ON) ? 0u : 1u);
    if (++s.reads == 13) {
      LogTransaction(s);
      s.inAnswer = false;
    }
    return;
  }
  Log(s, "status 0x%04X", unsigned(word));
}

void FlushRead(Sim& s) {
  if (!s.pendingRead) return;
  s.pendingRead = false;
  StatusRead(s, s.pendingWord);
}

// One line change request: the adapter takes it, then the device has it.
void SetLines(Sim& s, bool dtr, bool rts) {
  if (dtr == s.dtr && rts == s.rts) return;
  const std::uint64_t now = Takes(s.hw.LineNs());
  if (dtr != s.dtr) {
    s.dtr = dtr;
    s.hw.SetDtr(dtr, now);
    if (dtr && s.inAnswer) s.inAnswer = false;  // the master gave up reading
  }
  if (rts != s.rts) {
    s.rts = rts;
    if (rts) s.edges = ((s.edges << 1) | (s.dtr ? 1u : 0u)) & 0xFFu;
    s.hw.WantRts(rts, now);
    NoticeConversion(s);
  }
  LogViolations(s);
}

void Attach(Sim& s) {
  static bool attached = false;
  if (attached) return;
  attached = true;
  // A real serial port comes out of open() with DTR and RTS raised (the tty layer raises them
  // unless the baud rate is 0); a pty has no such lines, so the module is plugged in as if.
  const std::uint64_t now = NowNs();
  s.dtr = s.rts = true;
  s.hw.Open(now);
  s.hw.SetDtr(true, now);
  s.hw.WantRts(true, now);
  s.hw.Plug(sim::PortKind::Module, now);
  s.hw.SetBehaviour(s.adapter, now);
  Log(s, "attach");
}

// Answers one modem request on the simulated port. Returns the ioctl result.
int Answer(Sim& s, unsigned long request, void* arg) {
  Attach(s);
  if (request != TIOCMSET) FlushRead(s);
  switch (request) {
    case TIOCMGET: {
      const DWORD word = s.hw.Status(Takes(s.hw.StatusNs()));
      *static_cast<int*>(arg) = ModemBits(s, word);
      s.pendingRead = true;
      s.pendingWord = word;
      return 0;
    }
    case TIOCMSET: {
      s.pendingRead = false;  // that read belonged to this change
      int bits = *static_cast<int*>(arg);
      SetLines(s, bits & TIOCM_DTR, bits & TIOCM_RTS);
      return 0;
    }
    case TIOCMBIS:
    case TIOCMBIC: {
      int bits = *static_cast<int*>(arg);
      bool on = request == TIOCMBIS;
      SetLines(s, (bits & TIOCM_DTR) ? on : s.dtr, (bits & TIOCM_RTS) ? on : s.rts);
      return 0;
    }
    case TIOCSBRK:
    case TIOCCBRK: {
      const bool on = request == TIOCSBRK;
      if (s.hw.BreakRefused()) {
        errno = ENOTTY;  // the driver's break_ctl refuses it
        return -1;
      }
      s.brk = on;
      s.hw.Break(on, Takes(s.hw.BreakNs(on, NowNs())));
      Log(s, s.brk ? "break on" : "break off");
      LogViolations(s);
      return 0;
    }
    case TIOCGSERIAL: {
      serial_struct* ss = static_cast<serial_struct*>(arg);
      std::memset(ss, 0, sizeof *ss);
      ss->type = PORT_16550A;
      ss->baud_base = 115200;
      Log(s, "serial get");
      return 0;
    }
    case TIOCSSERIAL:
      Log(s, "serial set divisor %d", static_cast<serial_struct*>(arg)->custom_divisor);
      return 0;
  }
  return -1;
}

bool IsModemRequest(unsigned long request) {
  switch (request) {
    case TIOCMGET: case TIOCMSET: case TIOCMBIS: case TIOCMBIC:
    case TIOCSBRK: case TIOCCBRK: case TIOCGSERIAL: case TIOCSSERIAL:
      return true;
  }
  return false;
}

int Dispatch(int fd, unsigned long request, void* arg) {
  if (IsModemRequest(request)) {
    std::lock_guard<std::mutex> hold(Lock());
    Sim& s = State();
    if (IsSimPort(s, fd)) return Answer(s, request, arg);
  }
  return RealIoctl()(fd, request, arg);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int ioctl(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  return Dispatch(fd, request, arg);
}

// The name 32-bit glibc gives ioctl when time_t is 64 bits wide (Debian's i386 Wine uses it).
__attribute__((visibility("default"))) int __ioctl_time64(int fd, unsigned long request, ...) {
  va_list args;
  va_start(args, request);
  void* arg = va_arg(args, void*);
  va_end(args);
  return Dispatch(fd, request, arg);
}

}  // extern "C"
