#include "winapi/driver/ledger.h"

#include <cstdint>

#include "attach.h"
#include "trace.h"

namespace drv {

namespace {

struct LedgerState {
  std::vector<Call> calls;
  std::size_t limit = kDefaultLedgerLimit;
  std::size_t dropped = 0;
};

LedgerState& State() {
  static LedgerState state;
  return state;
}

// The subset's recorder: a long run keeps its newest calls. At the limit the older half goes,
// all at once, so that recording stays cheap and the entries a test has just looked at keep
// their places meanwhile.
void Append(std::string_view fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
            std::string_view text, HWND window) {
  LedgerState& s = State();
  if (s.calls.size() >= s.limit) {
    std::size_t drop = s.calls.size() - s.limit / 2;
    s.calls.erase(s.calls.begin(), s.calls.begin() + std::ptrdiff_t(drop));
    s.dropped += drop;
  }
  s.calls.push_back(Call{std::string(fn), a, b, c, std::string(text), window});
}

}  // namespace

void AttachLedger() { winapi::trace::SetRecorder(Append); }

void Record(Call call) {
  winapi::trace::RecordNamed(call.fn, call.a, call.b, call.c, call.text, call.window);
}

const std::vector<Call>& Ledger() { return State().calls; }

void ClearLedger() {
  LedgerState& s = State();
  s.calls.clear();
  winapi::trace::ClearCounts();
  s.dropped = 0;
}

void SetLedgerRecording(bool on) { winapi::trace::SetRecording(on); }

void SetLedgerLimit(std::size_t calls) { State().limit = calls < 2 ? 2 : calls; }

std::size_t LedgerDropped() { return State().dropped; }

std::size_t CountOf(const std::string& fn) { return winapi::trace::CountOf(fn); }

std::vector<Call> CallsTo(const std::string& fn) {
  std::vector<Call> out;
  for (const Call& c : State().calls)
    if (c.fn == fn) out.push_back(c);
  return out;
}

}  // namespace drv
