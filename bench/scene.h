// What the sweep benchmarks measure, set up once for both (sweep_bench times it, sweep_count
// counts its instructions): the module on COM2 with three signals, then a run in progress on
// the program's default channels with nothing recorded, only counted.
#ifndef PIKON_BENCH_SCENE_H
#define PIKON_BENCH_SCENE_H

#include "pikon.h"
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"

namespace bench {

inline void PlugModule() {
  drv::PlugPort(2, drv::PortKind::Module);
  drv::SetSignal(2, 1, drv::Ramp(0, 4095, 400));
  drv::SetSignal(2, 2, drv::Sine(500, 3500, 100));
  drv::SetSignal(2, 3, drv::Constant(1234));
}

// As "Messen" leaves things before its first sweep; EndRun clears what it set.
inline void StartRun() {
  static const int defaults[8] = {1, 0, 0, 0, 1, 1, 1, 0};
  for (int j = 0; j < 8; ++j) inbin[j] = defaults[j];
  exeparam = 1;
  zaehler = 0;
  drv::SetLedgerRecording(false);
  drv::ClearLedger();
}

inline void EndRun() { exeparam = 0; }

}  // namespace bench

#endif
