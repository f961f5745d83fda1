// A long run with faults mixed in: PIKON started by its own WinMain, the plot window shown,
// "Messen", and sweep after sweep with, every 500 reads of the queue, one of: noise on single
// status reads, CTS stuck off, a failing status read, reads failing for a stretch, the plot window
// resized, the zoom switched, the module pulled out and plugged back, a run nested by "Messen",
// "Stop/Reset" and a new run. Message boxes are answered with OK. The call ledger records
// throughout.
//
// Prints the process's resident memory, the windows, open ports, device contexts and GDI objects
// at the first sweep, after 1000 sweeps (when the ledger has filled to its limit) and at the end.
// All but the memory must be the same at the end as at the start, or the program exits with 1;
// the memory is printed for the reader to judge, not asserted.
//
//   build/native/bench/soak [sweeps]      (200000 by default; some minutes in a Debug build)
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "pikon.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/screen.h"
#include "winapi/driver/session.h"

namespace {

struct Snapshot {
  long rssKb = 0;
  std::size_t windows = 0, ports = 0, dcs = 0, gdi = 0, ledger = 0;
};

long ResidentKb() {
  std::ifstream statm("/proc/self/statm");
  long size = 0, resident = 0;
  statm >> size >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

Snapshot Take() {
  return {ResidentKb(),           drv::LiveWindows(),         drv::OpenPorts(),
          drv::LiveDeviceContexts(), drv::LiveGdiObjects(), drv::Ledger().size()};
}

void Print(const char* when, const Snapshot& s) {
  std::printf("%-22s RSS %7ld kB  windows %3zu  ports %zu  DCs %zu  GDI objects %zu  ledger %zu calls\n",
              when, s.rssKb, s.windows, s.ports, s.dcs, s.gdi, s.ledger);
  std::fflush(stdout);
}

unsigned long g_target = 200000;
unsigned long g_ticks = 0;
Snapshot g_start;
bool g_warm = false;

std::size_t Sweeps() { return drv::CountOf("PeekMessageA"); }

void Messen();

// One fault (or gesture) every 500 reads of the queue, in turn.
void Tick() {
  if (!g_warm && Sweeps() >= 1000) {
    g_warm = true;
    Print("after 1000 sweeps", Take());
  }
  if (Sweeps() >= g_target) {
    drv::SetFaults(1, {});
    drv::ClickItem(StopBox, IDC_STOP);
    drv::Script(drv::WhenIdle(), "the end", [] {
      Snapshot end = Take();
      Print(("after " + std::to_string(Sweeps()) + " sweeps").c_str(), end);
      bool flat = end.windows == g_start.windows && end.ports == g_start.ports &&
                  end.dcs == g_start.dcs && end.gdi == g_start.gdi;
      std::printf("message boxes answered: %zu; ledger calls dropped to keep its limit: %zu\n",
                  drv::CountOf("MessageBoxA"), drv::LedgerDropped());
      std::printf("windows, ports, DCs and GDI objects: %s\n", flat ? "flat" : "NOT FLAT");
      if (!flat) std::exit(1);
      drv::CloseWindow(drv::FindTopLevel(g_szClassName));
    });
    return;
  }
  drv::Faults faults;
  static bool pulled = false, big = false, zoomed = false, nested = false;
  if (pulled) {  // whatever comes next, the module is back first
    drv::PlugPort(1, drv::PortKind::Module);
    pulled = false;
  }
  switch (g_ticks++ % 9) {
    case 0:
      faults.noiseAtRead = {{7, MS_DSR_ON}, {20, MS_RING_ON}, {33, MS_RLSD_ON}};
      break;
    case 1:
      faults.stuckOff = MS_CTS_ON;
      break;
    case 2:
      faults.failStatusFrom = 30;
      faults.failStatusCount = 1;
      break;
    case 3:
      faults.failStatusFrom = 50;
      faults.failStatusCount = 3;
      break;
    case 4:
      big = !big;
      drv::ResizeWindow(Plotter, big ? 900 : 600, big ? 700 : 400);
      break;
    case 5:
      zoomed = !zoomed;
      drv::ChooseMenu(Plotter, zoomed ? IDM_ZOOM_10 : IDM_ZOOM_1);
      break;
    case 6:
      faults.unplugAtRead = 40;
      pulled = true;
      break;
    case 7:
      nested = !nested;
      if (nested) {
        drv::ClickItem(g_hToolbar, IDC_MESSEN);
      } else {
        drv::ClickItem(StopBox, IDC_STOP);
        drv::SetFaults(1, faults);
        drv::Script(drv::WhenIdle(), "Messen again", Messen);
        return;
      }
      break;
    case 8:
      break;  // a stretch without faults
  }
  drv::SetFaults(1, faults);
  drv::Script(drv::AtFetch(drv::Fetches() + 500), "the next fault", Tick);
}

void Messen() {
  drv::ClickItem(g_hToolbar, IDC_MESSEN);
  drv::Script(drv::AtFetch(drv::Fetches() + 500), "the next fault", Tick);
}

}  // namespace

int main(int argc, char** argv) {
  drv::Attach();
  if (argc > 1) g_target = std::strtoul(argv[1], nullptr, 10);
  drv::PlugPort(1, drv::PortKind::Module);
  drv::SetSignal(1, 1, drv::Ramp(0, 4095, 400));
  drv::SetSignal(1, 2, drv::Sine(500, 3500, 100));
  drv::SetSignal(1, 3, drv::Constant(1234));
  drv::SetSignal(1, 4, drv::Noise(0, 4095));
  drv::SetSignal(1, 5, drv::Square(1000, 3000, 50));
  drv::Script(drv::WhenIdle(), "show the plot window and Messen", [] {
    drv::ChooseMenu(drv::FindTopLevel(g_szClassName), IDM_PLOT_ANZEIGEN);
  });
  drv::Script(drv::WhenIdle(), "Messen", [] {
    g_start = Take();
    Print("at the first sweep", g_start);
    Messen();
  });
  // Hours of real time would mean a hang; a Debug build needs a few minutes for 200,000 sweeps.
  return drv::RunWinMain(3600);
}
