#include "winapi/driver/ledger.h"

#include <map>

namespace drv {
namespace {

struct LedgerState {
  std::vector<Call> calls;
  std::map<std::string, std::size_t> counts;
  bool recording = true;
  std::size_t limit = kDefaultLedgerLimit;
  std::size_t dropped = 0;
};

LedgerState& State() {
  static LedgerState state;
  return state;
}

}  // namespace

void Record(Call call) {
  LedgerState& s = State();
  ++s.counts[call.fn];
  if (!s.recording) return;
  // A long run keeps its newest calls: at the limit the older half goes, all at once, so that
  // recording stays cheap and the entries a test has just looked at keep their places meanwhile.
  if (s.calls.size() >= s.limit) {
    std::size_t drop = s.calls.size() - s.limit / 2;
    s.calls.erase(s.calls.begin(), s.calls.begin() + std::ptrdiff_t(drop));
    s.dropped += drop;
  }
  s.calls.push_back(std::move(call));
}

const std::vector<Call>& Ledger() { return State().calls; }

void ClearLedger() {
  State().calls.clear();
  State().counts.clear();
  State().dropped = 0;
}

void SetLedgerRecording(bool on) { State().recording = on; }

void SetLedgerLimit(std::size_t calls) { State().limit = calls < 2 ? 2 : calls; }

std::size_t LedgerDropped() { return State().dropped; }

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
