// Scripted user actions and the watchdog around WinMain.
#include "script.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "queue.h"
#include "winapi/driver/session.h"

namespace winapi {
namespace {

struct Action {
  drv::Moment moment;
  std::string what;
  std::function<void()> run;
};

struct ScriptState {
  std::deque<Action> actions;
  std::mutex mutex;      // guards `pending` for the watchdog's thread
  std::string pending;   // what the next action is, for failure reports
  bool running = false;
};

ScriptState& S() {
  static ScriptState* state = new ScriptState;  // outlives a watchdog firing at exit
  return *state;
}

void UpdatePending() {
  ScriptState& s = S();
  std::string text = s.actions.empty() ? std::string("none") : s.actions.front().what;
  std::lock_guard<std::mutex> lock(s.mutex);
  s.pending = text;
}

std::string Pending() {
  std::lock_guard<std::mutex> lock(S().mutex);
  return S().pending.empty() ? std::string("none") : S().pending;
}

}  // namespace

bool RunDueAction(unsigned long fetch, bool idle, bool blocked) {
  ScriptState& s = S();
  // An action that reads the queue itself does not start the next one.
  if (s.actions.empty() || s.running) return false;
  const Action& next = s.actions.front();
  bool box = drv::TopMessageBox() != nullptr;
  bool due = false;
  switch (next.moment.when) {
    case drv::When::Idle: due = idle && !box; break;
    case drv::When::Fetch: due = fetch >= next.moment.fetch || blocked; break;
    case drv::When::MessageBox: due = box && idle; break;
  }
  if (!due) return false;
  Action action = std::move(s.actions.front());
  s.actions.pop_front();
  UpdatePending();
  s.running = true;
  action.run();
  s.running = false;
  return true;
}

void ReportWaitingForever() {
  std::fprintf(stderr,
               "The program waits for input that can never come (read %lu of its queue); "
               "next scripted action: %s\n",
               FetchCount(), Pending().c_str());
  std::fflush(stderr);
  _exit(1);
}

}  // namespace winapi

namespace drv {

void Script(Moment moment, const std::string& what, std::function<void()> action) {
  winapi::S().actions.push_back({moment, what, std::move(action)});
  winapi::UpdatePending();
}

std::size_t PendingActions() { return winapi::S().actions.size(); }

unsigned long Fetches() { return winapi::FetchCount(); }

int RunEntry(EntryPoint entry, int seconds) {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (finished.wait_for(lock, std::chrono::seconds(seconds), [&] { return done; })) return;
    std::fprintf(stderr, "WinMain still running after %d s; next scripted action: %s\n", seconds,
                 winapi::Pending().c_str());
    std::fflush(stderr);
    _exit(1);
  });
  static char commandLine[] = "";
  int code = entry(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
  {
    std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  finished.notify_all();
  watchdog.join();
  return code;
}

}  // namespace drv
