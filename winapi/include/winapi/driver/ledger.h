// The call ledger: every platform call the program makes, in order, for tests and the demo.
#ifndef PIKON_WINAPI_DRIVER_LEDGER_H
#define PIKON_WINAPI_DRIVER_LEDGER_H

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace drv {

struct Call {
  std::string fn;         // the platform function, e.g. "EscapeCommFunction"
  std::intptr_t a = 0;    // first numeric argument that matters (code, id, x, ...)
  std::intptr_t b = 0;    // second (y, style, ...)
  std::intptr_t c = 0;    // third (colour, ...)
  std::string text;       // text argument, or "text\ncaption" for message boxes
  HWND window = nullptr;  // the window the call is about (target, owner, parent)

  // The numbers by what they are for the calls that have them.
  std::intptr_t X() const { return a; }          // drawing calls, SetWindowPos: where
  std::intptr_t Y() const { return b; }
  COLORREF Colour() const { return COLORREF(c); }  // drawing calls, CreateSolidBrush
  std::intptr_t Item() const { return a; }       // the dialog-item calls: the item's id
  std::intptr_t Value() const { return b; }      // SetDlgItemInt, CheckDlgButton
  std::intptr_t Code() const { return a; }       // line code, status word, ShowWindow command
  std::intptr_t Style() const { return b; }      // MessageBoxA
  std::intptr_t Flags() const { return c; }      // SetWindowPos, CreateFileA
  bool Succeeded() const { return b != 0; }      // the port calls
};

void Record(Call call);

// Counting, which every call of the subset does, inline where the calls are: a call is counted
// by the address of the function-name literal it is recorded with, so that counting takes no
// string and no search. Open addressing; the names are a few dozen, and one name may come from
// literals at several addresses (a name's count is the sum over its sites).
namespace counting {
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
}  // namespace counting

// Everything but the common case: counts the call and, while recording, records it.
void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    std::string_view text, HWND window);
void CountAndRecord(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                    const char* text, HWND window);

// The subset's own calls name their function with a string literal: the call is counted without
// building anything, and the record is built only while recording.
inline void Record(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                   std::string_view text, HWND window) {
  if (!counting::CountedQuickly(fn)) CountAndRecord(fn, a, b, c, text, window);
}
// A text that is measured only when it is recorded.
inline void Record(const char* fn, std::intptr_t a, std::intptr_t b, std::intptr_t c,
                   const char* text, HWND window) {
  if (!counting::CountedQuickly(fn)) CountAndRecord(fn, a, b, c, text, window);
}
// The recorded calls, oldest first. A long run does not fill the memory: once the ledger holds
// its limit of calls, its older half is dropped (the newest calls stay), and entries move to the
// front; LedgerDropped says how many went since the last ClearLedger. The default limit holds
// about 300 sweeps of a run, some 30 MB.
const std::vector<Call>& Ledger();
constexpr std::size_t kDefaultLedgerLimit = std::size_t(1) << 18;
void SetLedgerLimit(std::size_t calls);
std::size_t LedgerDropped();
void ClearLedger();
// Recording costs time; benchmarks turn it off and read only the counts.
void SetLedgerRecording(bool on);
// Whether calls are recorded now: a caller whose text takes work to build builds it only then.
bool LedgerRecording();
// How often `fn` was called since the last ClearLedger, recorded or not.
std::size_t CountOf(const std::string& fn);

// Calls named `fn` only, in order.
std::vector<Call> CallsTo(const std::string& fn);

}  // namespace drv

#endif
