// MessageBoxA. For now the box is answered at once with what the driver scripted; it is
// recorded as {fn "MessageBoxA", window = owner, text = "<text>\n<caption>" in UTF-8 (the
// caption is what follows the last line break), b = style}.
#include "winapi/driver/ledger.h"
#include "winapi/driver/ports.h"

#include <deque>
#include <string>

namespace {

std::deque<int> g_answers;

// Windows-1252 to UTF-8. The five bytes 1252 leaves undefined map to the C1 controls of the
// same value, as Windows' own conversion does.
std::string FromAnsi(const char* text) {
  static const char16_t high[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  std::string out;
  for (const unsigned char* s = reinterpret_cast<const unsigned char*>(text); s && *s; ++s) {
    unsigned c = *s >= 0x80 && *s < 0xA0 ? high[*s - 0x80] : *s;
    if (c < 0x80) {
      out += char(c);
    } else if (c < 0x800) {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    } else {
      out += char(0xE0 | (c >> 12));
      out += char(0x80 | ((c >> 6) & 0x3F));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

}  // namespace

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
  drv::Call call;
  call.fn = "MessageBoxA";
  call.window = owner;
  call.text = FromAnsi(text) + "\n" + (caption ? FromAnsi(caption) : "Error");  // Windows' default
  call.b = std::intptr_t(type);
  drv::Record(std::move(call));
  if (g_answers.empty()) return IDOK;
  int answer = g_answers.front();
  g_answers.pop_front();
  return answer;
}

namespace drv {

void AnswerMessageBoxes(std::vector<int> answers) {
  g_answers.assign(answers.begin(), answers.end());
}

}  // namespace drv
