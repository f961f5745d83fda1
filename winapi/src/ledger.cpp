#include "winapi/driver/ledger.h"

#include <cstdint>
#include <map>

namespace drv {

// Constant-initialised: counting works from the first call on, with no guard.
counting::Site counting::sites[counting::kSites];
bool counting::recording = true;

namespace {

struct LedgerState {
  std::vector<Call> calls;
  // Calls recorded with a name built at run time, and those met once every site was taken.
  std::map<std::string, std::size_t> named;
  std::size_t limit = kDefaultLedgerLimit;
  std::size_t dropped = 0;
};

LedgerState& State() {
  static LedgerState state;
  return state;
}

std::size_t& FindCounter(const char* fn) {
  std::size_t slot = counting::SiteOf(fn);
  for (std::size_t probes = 0; probes < counting::kSites; ++probes) {
    counting::Site& site = counting::sites[slot];
    if (site.fn == fn) return site.count;
    if (!site.fn) {
      site.fn = fn;
      return site.count;
    }
    slot = (slot + 1) % counting::kSites;
  }
  return State().named[fn];  // every site taken: counted the slow way
}

void Append(LedgerState& s, Call&& call) {
  // A long run keeps its newest calls: at the limit the older half goes, all at once, so that
  // recording stays cheap and the entries a test has just looked at keep their places meanwhile.
  if (s.calls.size() >= s.limit) {
    std::size_t drop = s.calls.size() - s.limit / 2;
    s.calls.erase(s.calls.begin(), s.calls.begin() + std::ptrdiff_t(drop));
    s.dropped += drop;
  }
  s.calls.push_back(std::move(call));
}

template <typename Text>
void CountAndAppend(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c, Text text,
                    HWND window) {
  ++FindCounter(fn);
  if (counting::recording) Append(State(), Call{fn, a, b, c, std::string(text), window});
}

}  // namespace

void Record(Call call) {
  LedgerState& s = State();
  ++s.named[call.fn];
  if (counting::recording) Append(s, std::move(call));
}

void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    std::string_view text, HWND window) {
  CountAndAppend(fn, a, b, c, text, window);
}

void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    const char* text, HWND window) {
  CountAndAppend(fn, a, b, c, text, window);
}

const std::vector<Call>& Ledger() { return State().calls; }

void ClearLedger() {
  LedgerState& s = State();
  s.calls.clear();
  for (counting::Site& site : counting::sites) site.count = 0;
  s.named.clear();
  s.dropped = 0;
}

void SetLedgerRecording(bool on) { counting::recording = on; }

bool LedgerRecording() { return counting::recording; }

void SetLedgerLimit(std::size_t calls) { State().limit = calls < 2 ? 2 : calls; }

std::size_t LedgerDropped() { return State().dropped; }

std::size_t CountOf(const std::string& fn) {
  const LedgerState& s = State();
  auto it = s.named.find(fn);
  std::size_t count = it == s.named.end() ? 0 : it->second;
  for (const counting::Site& site : counting::sites)
    if (site.fn && fn == site.fn) count += site.count;
  return count;
}

std::vector<Call> CallsTo(const std::string& fn) {
  std::vector<Call> out;
  for (const Call& c : State().calls)
    if (c.fn == fn) out.push_back(c);
  return out;
}

}  // namespace drv
