// The whole program on each kind of serial port, with the simulated module on COM1: start-up
// and detection, "Messen", 40 sweeps, "Stop/Reset", end. Prints one Markdown table row a kind:
// what the user was shown (every value right, how many wrong, the port refused, no module
// found), sweeps per second on the virtual clock (what the port calls and waits take, not this
// machine's speed), and the most any program could get from the port (FloorSeconds).
// Each kind runs in a process of its own, as the program's state is process-wide.
//
//   port_table            (tools/port-table.sh builds and runs it)
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "pikon.h"
#include "winapi/driver/clock.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

const int kSweeps = 40;
const int kCodes[8] = {1234, 0, 4095, 2047, 2048, 1365, 2730, 1};

struct Kind {
  const char* what;
  drv::PortBehaviour port;
};

struct Outcome {
  std::uint64_t startNs = 0, stopNs = 0;
};
Outcome g_outcome;

// The first read of the queue is the main loop's, or the not-found message's.
void ScriptRun() {
  drv::Script(drv::AtFetch(1), "Messen, or OK to the not-found message", [] {
    if (drv::TopMessageBox()) return drv::AnswerMessageBox(IDOK);
    drv::ClickItem(g_hToolbar, IDC_MESSEN);
    const unsigned long start = drv::Fetches();
    drv::Script(drv::AtFetch(start + 2), "time the first sweep",
                [] { g_outcome.startNs = drv::ClockNs(); });
    drv::Script(drv::AtFetch(start + 2 + kSweeps), "Stop/Reset", [] {
      g_outcome.stopNs = drv::ClockNs();
      drv::ClickItem(StopBox, IDC_STOP);
    });
    drv::Script(drv::WhenMessageBox(), "OK", [] { drv::AnswerMessageBox(IDOK); });
    drv::Script(drv::WhenIdle(), "end", [] { drv::CloseWindow(drv::FindTopLevel(g_szClassName)); });
  });
}

// What the user was shown: "right" when every value was its channel's code in volts, else how
// many were not; a refusal or "not found" by its message.
std::string Values() {
  for (const drv::Call& c : drv::CallsTo("MessageBoxA")) {
    if (c.text.rfind("KMX12 nicht gefunden!", 0) == 0) return "not found";
    if (c.text.rfind("KMX12 an COM1 gefunden, aber nicht lesbar", 0) == 0) return "refused";
  }
  int shown = 0, wrong = 0;
  for (const drv::Call& c : drv::CallsTo("SetDlgItemTextA")) {
    const int channel = int(c.Item()) - IDC_WERT_BASE;
    if (channel < 1 || channel > 8 || c.text.empty()) continue;
    char want[16];
    std::snprintf(want, sizeof want, "%.3f", kCodes[channel - 1] / 1000.0);
    ++shown;
    wrong += c.text != want;
  }
  return wrong == 0 ? "right" : "wrong: " + std::to_string(wrong) + " of " + std::to_string(shown);
}

// The least time a sweep can take on this port: its 424 line changes and 104 status reads, and
// before each read the part of the adapter's slowest report of a bit that the clock's rising
// call (one line change) does not already cover.
double FloorSeconds(const drv::PortBehaviour& port) {
  const std::uint64_t slowest =
      std::max(port.reportDelayNs + port.reportJitterNs, port.statusRefreshNs);
  const std::uint64_t wait = slowest > port.lineNs ? slowest - port.lineNs : 0;
  return double(424 * port.lineNs + 104 * (port.statusNs + wait)) / 1e9;
}

// Runs the program on this kind of port; the child's verdict comes back as one line:
// what was shown, then sweeps per second where a run was made.
std::string RunOn(const Kind& kind) {
  drv::PlugPort(1, drv::PortKind::Module);
  drv::SetPortBehaviour(1, kind.port);
  for (int ch = 1; ch <= 8; ++ch) drv::SetSignal(1, ch, drv::Constant(kCodes[ch - 1]));
  ScriptRun();
  drv::RunWinMain(600);
  const std::string shown = Values();
  char row[200];
  if (g_outcome.stopNs == 0) {
    std::snprintf(row, sizeof row, "| %s | %s | - | - |", kind.what, shown.c_str());
    return row;
  }
  const double seconds = double(g_outcome.stopNs - g_outcome.startNs) / 1e9;
  const double rate = kSweeps / seconds;
  const double floor = 1 / FloorSeconds(kind.port);
  std::snprintf(row, sizeof row, "| %s | %s | %.*f | %.*f |", kind.what, shown.c_str(),
                rate < 10 ? 2 : 0, rate, floor < 10 ? 2 : 0, floor);
  return row;
}

}  // namespace

int main() {
  drv::Attach();
  const Kind kinds[] = {
      {"UART on a PCIe card, 0.1 µs a call", drv::LegacyUart(0.1)},
      {"legacy UART, 1 µs a call", drv::LegacyUart(1)},
      {"legacy UART, 2.5 µs a call", drv::LegacyUart(2.5)},
      {"legacy UART, 5 µs a call", drv::LegacyUart(5)},
      {"FTDI, Linux ftdi_sio (live, 1 ms a call)", drv::FtdiLinux()},
      {"FTDI, Windows VCP, latency timer 16 ms (default)", drv::FtdiWindows(16)},
      {"FTDI, Windows VCP, latency timer 1 ms", drv::FtdiWindows(1)},
      {"FTDI, Windows VCP, latency timer 64 ms", drv::FtdiWindows(64)},
      {"USB adapter reporting its status 2 ms late", drv::CachedUsbAdapter(2)},
      {"PL2303, Linux pl2303 (status 1-3 ms late)", drv::Pl2303Linux()},
      {"PL2303 HXD clone, Linux (no break)", drv::Pl2303HxdClone()},
      {"CH340/CH341, Linux ch341 (status 1-3 ms late)", drv::Ch341Linux()},
      {"CH340/CH341 whose status freezes after open", drv::Ch341Frozen()},
      {"CH340/CH341 with a simulated 196 ms break", drv::Ch341SimulatedBreak()},
      {"CP210x, Linux cp210x (live, 1 ms a call)", drv::Cp210xLinux()},
      {"CP2105, second port (no break)", drv::Cp2105SecondPort()},
      {"CDC-ACM device, Linux cdc-acm (CTS always on)", drv::CdcAcmLinux()},
      {"CDC-ACM device without break, Linux", drv::CdcAcmNoBreak()},
      {"CDC-ACM device, Windows usbser.sys (no CTS, RTS only with DTR)", drv::UsbserWindows()},
  };
  std::printf("| port | shown | sweeps/s | at most |\n|---|---|---|---|\n");
  for (const Kind& kind : kinds) {
    int pipe_fd[2];
    if (pipe(pipe_fd) != 0) return 1;
    const pid_t child = fork();
    if (child == 0) {
      close(pipe_fd[0]);
      const std::string row = RunOn(kind) + "\n";
      if (write(pipe_fd[1], row.data(), row.size()) < 0) _exit(1);
      _exit(0);
    }
    close(pipe_fd[1]);
    char buffer[256];
    const ssize_t n = read(pipe_fd[0], buffer, sizeof buffer - 1);
    close(pipe_fd[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (n <= 0) std::printf("| %s | (the run failed) | | |\n", kind.what);
    else std::fwrite(buffer, 1, std::size_t(n), stdout);
  }
  return 0;
}
