#include "winapi/driver/ledger.h"

#include <map>

namespace drv {
namespace {

struct LedgerState {
  std::vector<Call> calls;
  std::map<std::string, std::size_t> counts;
  bool recording = true;
};

LedgerState& State() {
  static LedgerState state;
  return state;
}

}  // namespace

void Record(Call call) {
  LedgerState& s = State();
  ++s.counts[call.fn];
  if (s.recording) s.calls.push_back(std::move(call));
}

const std::vector<Call>& Ledger() { return State().calls; }

void ClearLedger() {
  State().calls.clear();
  State().counts.clear();
}

void SetLedgerRecording(bool on) { State().recording = on; }

std::size_t CountOf(const std::string& fn) {
  auto it = State().counts.find(fn);
  return it == State().counts.end() ? 0 : it->second;
}

std::vector<Call> CallsTo(const std::string& fn) {
  std::vector<Call> out;
  for (const Call& c : State().calls)
    if (c.fn == fn) out.push_back(c);
  return out;
}

}  // namespace drv
