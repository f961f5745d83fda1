// Scripted user actions, the prepared answers of message boxes, and the watchdog around WinMain.
// The queue offers every read to the actions here and message boxes ask for their answers here,
// through the hooks this file installs (drv::Attach).
#include "attach.h"
#include "hooks.h"
#include "queue.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>
#include <unistd.h>

#include "winapi/driver/clock.h"
#include "winapi/driver/msgbox.h"
#include "winapi/driver/ports.h"
#include "winapi/driver/session.h"
#include "winapi/driver/system.h"

namespace winapi {
namespace {

struct Action {
  drv::Moment moment;
  std::string what;
  std::function<void()> run;
};

struct ScriptState {
  std::deque<Action> actions;
  std::deque<int> answers;  // for message boxes
  unsigned long failRead = 0;  // the read of the queue GetMessageA fails, if any
  std::mutex mutex;      // guards `pending` for the watchdog's thread
  std::string pending;   // what the next action is, for failure reports
  bool running = false;
};

ScriptState& TheScript() {
  static ScriptState* state = new ScriptState;  // outlives a watchdog firing at exit
  return *state;
}

void UpdatePending() {
  ScriptState& s = TheScript();
  std::string text = s.actions.empty() ? std::string("none") : s.actions.front().what;
  std::lock_guard<std::mutex> lock(s.mutex);
  s.pending = text;
}

std::string Pending() {
  std::lock_guard<std::mutex> lock(TheScript().mutex);
  return TheScript().pending.empty() ? std::string("none") : TheScript().pending;
}

int NextPreparedAnswer() {
  std::deque<int>& answers = TheScript().answers;
  int answer = IDOK;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  }
  return answer;
}

bool RunDueAction(unsigned long fetch, bool idle, bool blocked) {
  ScriptState& s = TheScript();
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

bool ReadFails(unsigned long fetch) {
  ScriptState& s = TheScript();
  if (s.failRead == 0 || fetch != s.failRead) return false;
  s.failRead = 0;
  return true;
}

void ReportWaitingForever(unsigned long fetches) {
  std::fprintf(stderr,
               "The program waits for input that can never come (read %lu of its queue); "
               "next scripted action: %s\n",
               fetches, Pending().c_str());
  std::fflush(stderr);
  _exit(1);
}

}  // namespace
}  // namespace winapi

namespace drv {

void Attach() {
  AttachLedger();
  winapi::SetUserHooks({winapi::RunDueAction, winapi::ReportWaitingForever,
                        winapi::NextPreparedAnswer, winapi::ReadFails});
}

void Script(Moment moment, const std::string& what, std::function<void()> action) {
  winapi::TheScript().actions.push_back({moment, what, std::move(action)});
  winapi::UpdatePending();
}

std::size_t PendingActions() { return winapi::TheScript().actions.size(); }

unsigned long Fetches() { return winapi::QueueReads(); }

void FailGetMessageAt(unsigned long fetch) { winapi::TheScript().failRead = fetch; }

void AnswerMessageBoxes(std::vector<int> answers) {
  winapi::TheScript().answers.assign(answers.begin(), answers.end());
}

void ResetScene() {
  ResetPorts();
  ResetClock();
  AnswerMessageBoxes({});
  ResetSystem();
}

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
