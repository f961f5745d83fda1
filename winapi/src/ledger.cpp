#include "winapi/driver/ledger.h"

#include <cstdint>
#include <map>

namespace drv {
namespace {

struct LedgerState {
  std::vector<Call> calls;
  // Calls are counted by the address of the function-name literal they are recorded with:
  // counting then takes no string and no search, and the count sits beside its key. Open
  // addressing; the names are a few dozen. One name may come from literals at several
  // addresses, so a name's count is the sum over its sites.
  struct Site {
    const char* fn = nullptr;
    std::size_t count = 0;
  };
  static constexpr std::size_t kSites = 512;
  Site sites[kSites];
  // Calls recorded with a name built at run time, and those met once every site was taken.
  std::map<std::string, std::size_t> named;
  bool recording = true;
  std::size_t limit = kDefaultLedgerLimit;
  std::size_t dropped = 0;
};

// A plain static, not one built on first use: Record then needs no guard. Nothing calls the
// platform before main.
LedgerState state;

LedgerState& State() { return state; }

// Fibonacci hashing: the top nine bits of the address times 2^64 / golden ratio.
std::size_t SiteOf(const char* fn) {
  return std::size_t((std::uint64_t(reinterpret_cast<std::uintptr_t>(fn)) * 0x9E3779B97F4A7C15u) >>
                     55);
}

std::size_t& FindCounter(LedgerState& s, const char* fn) {
  std::size_t slot = SiteOf(fn);
  for (std::size_t probes = 0; probes < LedgerState::kSites; ++probes) {
    LedgerState::Site& site = s.sites[slot];
    if (site.fn == fn) return site.count;
    if (!site.fn) {
      site.fn = fn;
      return site.count;
    }
    slot = (slot + 1) % LedgerState::kSites;
  }
  return s.named[fn];  // every site taken: counted the slow way
}

// The names are few and the table large, so the first slot holds the name nearly always.
std::size_t& CounterFor(LedgerState& s, const char* fn) {
  LedgerState::Site& site = s.sites[SiteOf(fn)];
  return site.fn == fn ? site.count : FindCounter(s, fn);
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

// Counts the call and, while recording, records it. `Text`: a string_view or a C string (whose
// length is then measured only here).
template <typename Text>
[[gnu::noinline]] void CountAndAppend(LedgerState& s, const char* fn, std::intptr_t a,
                                      std::intptr_t b, std::intptr_t c, Text text, HWND window) {
  ++CounterFor(s, fn);
  if (s.recording) Append(s, Call{fn, a, b, c, std::string(text), window});
}

// The common case, a name whose counter is in its first slot and nothing recorded, in a few
// instructions; false for everything else.
bool CountedQuickly(LedgerState& s, const char* fn) {
  LedgerState::Site& site = s.sites[SiteOf(fn)];
  if (site.fn != fn || s.recording) return false;
  ++site.count;
  return true;
}

}  // namespace

void Record(Call call) {
  LedgerState& s = State();
  ++s.named[call.fn];
  if (s.recording) Append(s, std::move(call));
}

void Record(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
            std::string_view text, HWND window) {
  LedgerState& s = State();
  if (!CountedQuickly(s, fn)) CountAndAppend(s, fn, a, b, c, text, window);
}

void Record(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c, const char* text,
            HWND window) {
  LedgerState& s = State();
  if (!CountedQuickly(s, fn)) CountAndAppend(s, fn, a, b, c, text, window);
}

const std::vector<Call>& Ledger() { return State().calls; }

void ClearLedger() {
  LedgerState& s = State();
  s.calls.clear();
  for (LedgerState::Site& site : s.sites) site.count = 0;
  s.named.clear();
  s.dropped = 0;
}

void SetLedgerRecording(bool on) { State().recording = on; }

bool LedgerRecording() { return State().recording; }

void SetLedgerLimit(std::size_t calls) { State().limit = calls < 2 ? 2 : calls; }

std::size_t LedgerDropped() { return State().dropped; }

std::size_t CountOf(const std::string& fn) {
  const LedgerState& s = State();
  auto it = s.named.find(fn);
  std::size_t count = it == s.named.end() ? 0 : it->second;
  for (const LedgerState::Site& site : s.sites)
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
