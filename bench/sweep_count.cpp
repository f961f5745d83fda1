// A fixed number of measurement sweeps, set up as sweep_bench sets them up, for counting
// instructions with callgrind (tools/bench.sh): sweep_count [sweeps]
#include <cstdlib>

#include "scene.h"
#include "winapi/driver/session.h"

namespace {

// The sweeps counted (tools/bench.sh collects only inside this function, by name): the first
// sweeps load fonts and glyphs and are left out.
void MeasuredSweeps(int sweeps) {
  for (int i = 0; i < sweeps; ++i) Durchlauf();
}

}  // namespace

int main(int argc, char** argv) {
  drv::Attach();
  const int sweeps = argc > 1 ? std::atoi(argv[1]) : 200;
  bench::PlugModule();
  drv::Script(drv::WhenIdle(), "run the sweeps", [sweeps] {
    ZeigePlotter();
    bench::StartRun();
    for (int i = 0; i < 20; ++i) Durchlauf();
    void (*volatile measured)(int) = MeasuredSweeps;  // kept a function of its own
    measured(sweeps);
    bench::EndRun();
    drv::CloseWindow(drv::FindTopLevel(g_szClassName));
  });
  return drv::RunWinMain(600);
}
