// The performance counter the module link times the converter with.
#include "harness.h"

// The frequency is fixed at boot; the count never goes back, and a wait on it comes to its end
// with at least the ticks asked for passed.
CONF_CASE(counter, frequency_fixed_and_a_wait_ends) {
  LARGE_INTEGER first{}, second{}, start{}, now{};
  const BOOL known = QueryPerformanceFrequency(&first);
  ok(known && first.QuadPart > 0, "frequency %lld", (long long)first.QuadPart);
  QueryPerformanceFrequency(&second);
  ok(second.QuadPart == first.QuadPart, "frequency %lld, then %lld", (long long)first.QuadPart,
     (long long)second.QuadPart);

  const LONGLONG ticks = first.QuadPart * 50 / 1000000 + 1;  // 50 µs
  const BOOL counted = QueryPerformanceCounter(&start);
  ok(counted, "QueryPerformanceCounter failed");
  LONGLONG last = start.QuadPart;
  bool backwards = false;
  long reads = 0;
  do {
    QueryPerformanceCounter(&now);
    backwards = backwards || now.QuadPart < last;
    last = now.QuadPart;
  } while (now.QuadPart - start.QuadPart < ticks && ++reads < 100000000);
  ok(now.QuadPart - start.QuadPart >= ticks, "after %ld reads, %lld of %lld ticks", reads,
     (long long)(now.QuadPart - start.QuadPart), (long long)ticks);
  ok(!backwards, "the count went back");
}
