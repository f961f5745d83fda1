// Runs every case and reports each with its result; the last line sums them up for the runner.
// The platform tells the harness it is Wine as Wine's own harness is told: WINETEST_PLATFORM.
#include "harness.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

ConfCase* g_first = nullptr;
ConfCase** g_last = &g_first;
int g_failures = 0;
int g_deviated = 0;
bool g_marked = false;  // the case marked some of its checks
const char* g_reason = nullptr;
const char* g_deviation = nullptr;  // the reason of the first check that failed as known

}  // namespace

int conf_register(ConfCase* c) {
  *g_last = c;
  g_last = &c->next;
  return 0;
}

bool on_wine() {
  const char* platform = std::getenv("WINETEST_PLATFORM");
  return platform && std::strcmp(platform, "wine") == 0;
}

void wine_deviation(const char* reason) {
  g_reason = reason;
  if (reason) g_marked = true;
}

void conf_ok(bool condition, const char* file, int line, const char* format, ...) {
  if (condition) return;
  const char* base = std::strrchr(file, '/');
  bool deviation = g_reason && on_wine();
  std::printf("  %s:%d: %s", base ? base + 1 : file, line, deviation ? "(Wine) " : "");
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::printf("\n");
  ++(deviation ? g_deviated : g_failures);
  if (deviation && !g_deviation) g_deviation = g_reason;
}

int main(int argc, char** argv) {
  const char* only = argc > 1 ? argv[1] : nullptr;  // a group, or group.name
  const char* platform = on_wine() ? "wine" : "subset";
  int cases = 0, passed = 0, known = 0, failed = 0;
  for (ConfCase* c = g_first; c; c = c->next) {
    char full[128];
    std::snprintf(full, sizeof full, "%s.%s", c->group, c->name);
    if (only && std::strcmp(only, c->group) != 0 && std::strcmp(only, full) != 0) continue;
    g_failures = g_deviated = 0;
    g_reason = g_deviation = nullptr;
    g_marked = false;
    c->run();
    ++cases;
    if (g_failures == 0 && g_deviated > 0) {
      ++known;
      std::printf("%s: known Wine deviation: %s\n", full, g_deviation);
    } else if (g_failures == 0 && g_marked && on_wine()) {
      ++failed;
      std::printf("%s: FAIL: the known Wine deviation did not show\n", full);
    } else if (g_failures == 0) {
      ++passed;
      std::printf("%s: ok\n", full);
    } else {
      ++failed;
      std::printf("%s: FAIL\n", full);
    }
    std::fflush(stdout);
  }
  std::printf("conformance on %s: %d cases, %d passed, %d known deviations, %d failed\n", platform,
              cases, passed, known, failed);
  return failed == 0 && cases > 0 ? 0 : 1;
}
