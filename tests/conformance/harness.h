// A small harness in the manner of Wine's own tests. A case is a function of ok() checks that
// uses nothing but <windows.h>; the same sources run on our Win32 layer and, built with
// MinGW-w64, on Wine, so a case says what a real Win32 does. Where Wine is known to differ from
// Windows, the case says so with wine_deviation(reason): its failures on Wine are reported as a
// known deviation (like Wine's todo_wine), and a case so marked that passes on Wine fails, so the
// list of deviations stays true.
#ifndef PIKON_CONFORMANCE_HARNESS_H
#define PIKON_CONFORMANCE_HARNESS_H

#include <windows.h>

struct ConfCase {
  const char* group;
  const char* name;
  void (*run)();
  ConfCase* next;
};
int conf_register(ConfCase* c);

#define CONF_CASE(group, name)                                                      \
  static void conf_##group##_##name();                                              \
  static ConfCase conf_case_##group##_##name{#group, #name, conf_##group##_##name,  \
                                            nullptr};                               \
  static const int conf_reg_##group##_##name = conf_register(&conf_case_##group##_##name); \
  static void conf_##group##_##name()

void conf_ok(bool condition, const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
#define ok(condition, ...) conf_ok((condition), __FILE__, __LINE__, __VA_ARGS__)

// The checks of this case that follow fail on Wine for the reason given, not on Windows.
void wine_deviation(const char* reason);
bool on_wine();

#endif
