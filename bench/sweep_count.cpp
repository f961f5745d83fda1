// A fixed number of measurement sweeps, set up as sweep_bench sets them up, for counting
// instructions with callgrind (tools/bench.sh): sweep_count [sweeps]
#include <cstdlib>

#include "pikon.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"

namespace {

// The sweeps counted (tools/bench.sh collects only inside this function, by name): the first
// sweeps load fonts and glyphs and are left out.
void MeasuredSweeps(int sweeps) {
  for (int i = 0; i < sweeps; ++i) Durchlauf();
}

}  // namespace

int main(int argc, char** argv) {
  const int sweeps = argc > 1 ? std::atoi(argv[1]) : 200;
  drv::PlugPort(2, drv::PortKind::Module);
  drv::SetSignal(2, 1, drv::Ramp(0, 4095, 400));
  drv::SetSignal(2, 2, drv::Sine(500, 3500, 100));
  drv::SetSignal(2, 3, drv::Constant(1234));
  drv::Script(drv::WhenIdle(), "run the sweeps", [sweeps] {
    ZeigePlotter();
    static const int defaults[8] = {1, 0, 0, 0, 1, 1, 1, 0};
    for (int j = 0; j < 8; ++j) inbin[j] = defaults[j];
    exeparam = 1;
    zaehler = 0;
    drv::SetLedgerRecording(false);
    drv::ClearLedger();
    for (int i = 0; i < 20; ++i) Durchlauf();
    void (*volatile measured)(int) = MeasuredSweeps;  // kept a function of its own
    measured(sweeps);
    exeparam = 0;
    drv::CloseWindow(drv::FindTopLevel(g_szClassName));
  });
  return drv::RunWinMain(600);
}
