// A scripted PIKON session with a simulated module on COM2, for a first look without hardware:
// start, show the plot window, "Messen", a few hundred sweeps, zoom 1/10 and back,
// "Stop/Reset", answer the message, end. Writes screenshots and says what it did.
//
//   pikon_demo [output folder]
#include <cstdio>
#include <filesystem>
#include <string>

#include "pikon.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

std::string g_out = "out/demo";

HWND MainWindow() { return drv::FindTopLevel(g_szClassName); }

void Shot(HWND window, const std::string& name, const std::string& what) {
  std::string path = g_out + "/" + name + ".png";
  if (drv::SaveWindowPng(window, path))
    std::printf("  screenshot: %s (%s)\n", path.c_str(), what.c_str());
  else
    std::printf("  could not write %s\n", path.c_str());
}

void Say(const char* text) { std::printf("%s\n", text); }

void PlugModule() {
  drv::PlugPort(2, drv::PortKind::Module);
  drv::SetSignal(2, 1, drv::Ramp(0, 4095, 120));        // sawtooth
  drv::SetSignal(2, 2, drv::Sine(300, 3700, 80));       // sine
  drv::SetSignal(2, 3, drv::Square(800, 2200, 60));     // square wave
  drv::SetSignal(2, 4, drv::Constant(1234));            // 1.234 V
  drv::SetSignal(2, 5, drv::Noise(2600, 3000));         // noise
  drv::SetSignal(2, 6, drv::Sine(1500, 2500, 200));     // slow sine
  drv::SetSignal(2, 7, drv::Ramp(3000, 4000, 50));      // fast sawtooth
  drv::SetSignal(2, 8, drv::Constant(500));             // 0.500 V
  Say("Simulated KMX12 on COM2: ch1 sawtooth, ch2 sine, ch3 square, ch4 1.234 V, ch5 noise,\n"
      "  ch6 slow sine, ch7 fast sawtooth, ch8 0.500 V");
}

// Sweeps are counted by the run's own reads of the queue: one per sweep.
void ScriptSession() {
  drv::Script(drv::WhenIdle(), "show the plot window and press Messen", [] {
    Say("PIKON started; the port panel shows COM 2.");
    Shot(MainWindow(), "1-main-started", "main window after start");
    Say("Choosing Daten > Plot anzeigen, then pressing Messen.");
    drv::ChooseMenu(MainWindow(), IDM_PLOT_ANZEIGEN);
    drv::ClickItem(g_hToolbar, IDC_MESSEN);
    unsigned long start = drv::Fetches();
    drv::Script(drv::AtFetch(start + 295), "screenshots after 295 sweeps", [] {
      Say("295 sweeps done.");
      Shot(MainWindow(), "2-main-running", "values in volts and the sweep count");
      Shot(Plotter, "3-plot-x1", "eight traces, 100 sweeps across");
      Say("Choosing Zoomfaktor > d) 1/10.");
      drv::ChooseMenu(Plotter, IDM_ZOOM_10);
    });
    drv::Script(drv::AtFetch(start + 1250), "screenshot at zoom 1/10", [] {
      Say("955 more sweeps at zoom 1/10.");
      Shot(Plotter, "4-plot-x10", "eight traces, 1000 sweeps across");
      Say("Choosing Zoomfaktor > a) direkt.");
      drv::ChooseMenu(Plotter, IDM_ZOOM_1);
    });
    drv::Script(drv::AtFetch(start + 1300), "press Stop/Reset", [] {
      Say("Pressing Stop/Reset.");
      drv::ClickItem(StopBox, IDC_STOP);
    });
    drv::Script(drv::WhenMessageBox(), "answer the stop message", [] {
      Shot(drv::TopMessageBox(), "5-stop-message", "the stop message");
      Say("Answering \"Messung angehalten\" with OK.");
      drv::AnswerMessageBox(IDOK);
    });
    drv::Script(drv::WhenIdle(), "end the program", [] {
      Shot(MainWindow(), "6-main-stopped", "after the stop: the completing sweep counted 0");
      Shot(Plotter, "7-plot-stopped", "the completing sweep at the left edge");
      Say("Choosing File > Beenden.");
      drv::ChooseMenu(MainWindow(), IDM_BEENDEN);
    });
  });
}

}  // namespace

int main(int argc, char** argv) {
  drv::Attach();
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // the watchdog may end the process abruptly
  if (argc > 1) g_out = argv[1];
  std::filesystem::create_directories(g_out);
  PlugModule();
  ScriptSession();
  int code = drv::RunWinMain(120);
  std::printf("PIKON ended with exit code %d. Screenshots are in %s/\n", code, g_out.c_str());
  return code;
}
