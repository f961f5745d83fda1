// Every call of the subset is traced where it is made: counted, and handed to the recorder while
// one records. The recorder is the seam through which a client (the test driver's ledger) sees
// the calls; without one, calls are only counted.
#ifndef PIKON_WINAPI_TRACE_H
#define PIKON_WINAPI_TRACE_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace winapi::trace {

// A call's name and the fields that matter for it, as the ledger keeps them.
using Recorder = void (*)(std::string_view fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                          std::string_view text, HWND window);
void SetRecorder(Recorder recorder);
void SetRecording(bool on);
// Whether calls are recorded now: a caller whose text takes work to build builds it only then.
bool Recording();

// Counting, inline where the calls are: a call is counted by the address of the function-name
// literal it is traced with, so that counting takes no string and no search. Open addressing;
// the names are a few dozen, and one name may come from literals at several addresses (a name's
// count is the sum over its sites).
struct Site {
  const char* fn = nullptr;
  std::size_t count = 0;
};
constexpr std::size_t kSites = 512;
extern Site sites[kSites];
extern bool recording;

// Fibonacci hashing: the top nine bits of the address times 2^64 / golden ratio.
inline std::size_t SiteOf(const char* fn) {
  return std::size_t((std::uint64_t(reinterpret_cast<std::uintptr_t>(fn)) * 0x9E3779B97F4A7C15u) >>
                     55);
}

// The common case, a name in the first slot of its site and nothing being recorded; false for
// everything else.
inline bool CountedQuickly(const char* fn) {
  Site& site = sites[SiteOf(fn)];
  if (site.fn != fn || recording) return false;
  ++site.count;
  return true;
}

// Everything but the common case: counts the call and, while recording, records it.
void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    std::string_view text, HWND window);
void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    const char* text, HWND window);

// The subset's own calls name their function with a string literal: the call is counted without
// building anything, and the record is built only while recording.
inline void Record(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                   std::string_view text, HWND window) {
  if (!CountedQuickly(fn)) CountAndRecord(fn, a, b, c, text, window);
}
// A text that is measured only when it is recorded.
inline void Record(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                   const char* text, HWND window) {
  if (!CountedQuickly(fn)) CountAndRecord(fn, a, b, c, text, window);
}
// A call named at run time, counted by its name.
void RecordNamed(const std::string& fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                 std::string_view text, HWND window);

// How often `fn` was traced since the last ClearCounts, recorded or not.
std::size_t CountOf(const std::string& fn);
void ClearCounts();

}  // namespace winapi::trace

#endif
