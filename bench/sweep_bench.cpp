// Whole measurement sweeps against the simulated module, with PIKON started by its own WinMain
// and the plot window shown. Reports sweeps per second and the platform calls per sweep.
//
//   build/native/bench/sweep_bench
#include <benchmark/benchmark.h>

#include "scene.h"
#include "winapi/driver/session.h"

namespace {

const char* const kCountedCalls[] = {"EscapeCommFunction", "GetCommModemStatus", "SetPixel",
                                     "UpdateWindow",       "SetDlgItemTextA",    "SetDlgItemInt",
                                     "ShowWindow",         "PeekMessageA",       "Sleep"};

void BM_Sweep(benchmark::State& state) {
  bench::StartRun();
  for (auto _ : state) Durchlauf();
  bench::EndRun();
  state.counters["sweeps/s"] = benchmark::Counter(double(state.iterations()),
                                                  benchmark::Counter::kIsRate);
  for (const char* fn : kCountedCalls)
    state.counters[fn] = double(drv::CountOf(fn)) / double(state.iterations());
}
BENCHMARK(BM_Sweep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  drv::Attach();
  benchmark::Initialize(&argc, argv);
  bench::PlugModule();
  drv::Script(drv::WhenIdle(), "run the benchmarks", [] {
    ZeigePlotter();
    benchmark::RunSpecifiedBenchmarks();
    drv::CloseWindow(drv::FindTopLevel(g_szClassName));
  });
  int code = drv::RunWinMain(600);
  benchmark::Shutdown();
  return code;
}
