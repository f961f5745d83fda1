#include "trace.h"

#include <map>

namespace winapi::trace {

// Constant-initialised: counting works from the first call on, with no guard.
Site sites[kSites];
bool recording = true;

namespace {

Recorder g_recorder = nullptr;

// Calls named at run time, and those met once every site was taken.
std::map<std::string, std::size_t>& Named() {
  static std::map<std::string, std::size_t> named;
  return named;
}

std::size_t& FindCounter(const char* fn) {
  std::size_t slot = SiteOf(fn);
  for (std::size_t probes = 0; probes < kSites; ++probes) {
    Site& site = sites[slot];
    if (site.fn == fn) return site.count;
    if (!site.fn) {
      site.fn = fn;
      return site.count;
    }
    slot = (slot + 1) % kSites;
  }
  return Named()[fn];  // every site taken: counted the slow way
}

void Pass(std::string_view fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
          std::string_view text, HWND window) {
  if (recording && g_recorder) g_recorder(fn, a, b, c, text, window);
}

}  // namespace

void SetRecorder(Recorder recorder) { g_recorder = recorder; }

void SetRecording(bool on) { recording = on; }

bool Recording() { return recording; }

void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    std::string_view text, HWND window) {
  ++FindCounter(fn);
  Pass(fn, a, b, c, text, window);
}

void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    const char* text, HWND window) {
  ++FindCounter(fn);
  if (recording) Pass(fn, a, b, c, text, window);
}

void RecordNamed(const std::string& fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                 std::string_view text, HWND window) {
  ++Named()[fn];
  Pass(fn, a, b, c, text, window);
}

std::size_t CountOf(const std::string& fn) {
  auto it = Named().find(fn);
  std::size_t count = it == Named().end() ? 0 : it->second;
  for (const Site& site : sites)
    if (site.fn && fn == site.fn) count += site.count;
  return count;
}

void ClearCounts() {
  for (Site& site : sites) site.count = 0;
  Named().clear();
}

}  // namespace winapi::trace
