// Whole measurement sweeps against the simulated module, with PIKON started by its own WinMain
// and the plot window shown. Reports sweeps per second and the platform calls per sweep.
//
//   build/native/bench/sweep_bench
#include <benchmark/benchmark.h>

#include "pikon.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

const char* const kCountedCalls[] = {"EscapeCommFunction", "GetCommModemStatus", "SetPixel",
                                     "UpdateWindow",       "SetDlgItemTextA",    "SetDlgItemInt",
                                     "ShowWindow",         "PeekMessageA",       "Sleep"};

void BM_Sweep(benchmark::State& state) {
  static const int defaults[8] = {1, 0, 0, 0, 1, 1, 1, 0};
  for (int j = 0; j < 8; ++j) inbin[j] = defaults[j];
  exeparam = 1;
  zaehler = 0;
  drv::SetLedgerRecording(false);
  drv::ClearLedger();
  for (auto _ : state) Durchlauf();
  exeparam = 0;
  state.counters["sweeps/s"] = benchmark::Counter(double(state.iterations()),
                                                  benchmark::Counter::kIsRate);
  for (const char* fn : kCountedCalls)
    state.counters[fn] = double(drv::CountOf(fn)) / double(state.iterations());
}
BENCHMARK(BM_Sweep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  drv::PlugPort(2, drv::PortKind::Module);
  drv::SetSignal(2, 1, drv::Ramp(0, 4095, 400));
  drv::SetSignal(2, 2, drv::Sine(500, 3500, 100));
  drv::SetSignal(2, 3, drv::Constant(1234));
  drv::Script(drv::WhenIdle(), "run the benchmarks", [] {
    ZeigePlotter();
    benchmark::RunSpecifiedBenchmarks();
    drv::CloseWindow(drv::FindTopLevel(g_szClassName));
  });
  int code = drv::RunWinMain(600);
  benchmark::Shutdown();
  return code;
}
