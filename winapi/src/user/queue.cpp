// The message queue of the one thread and the calls that read, translate and dispatch it.
#include "queue.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>

#include "hooks.h"
#include "trace.h"
#include "window.h"
#include "focus.h"
#include "paint.h"

namespace winapi {
namespace {

struct Queue {
  std::deque<MSG> posted;
  std::deque<MSG> input;
  bool quit = false;
  int quitCode = 0;
  unsigned long fetches = 0;
};

Queue& TheQueue() {
  static Queue q;
  return q;
}

UserHooks g_hooks;

MSG Make(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{};
  m.hwnd = window;
  m.message = message;
  m.wParam = wParam;
  m.lParam = lParam;
  return m;
}

bool Matches(const MSG& m, HWND window, UINT min, UINT max) {
  if (window && m.hwnd != window && !IsDescendant(window, m.hwnd)) return false;
  return (min == 0 && max == 0) || (m.message >= min && m.message <= max);
}

bool TakeFrom(std::deque<MSG>& list, MSG* out, HWND window, UINT min, UINT max, bool remove) {
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const MSG& m) { return Matches(m, window, min, max); });
  if (it == list.end()) return false;
  *out = *it;
  if (remove) list.erase(it);
  return true;
}

bool TakePaint(MSG* out, HWND window, UINT min, UINT max) {
  HWND target = nullptr;
  if (!NextPaintWindow(target)) return false;
  MSG m = Make(target, WM_PAINT, 0, 0);
  if (!Matches(m, window, min, max)) return false;
  *out = m;
  return true;
}

// Keys go to the window that has the focus when they are read (or the active window); to none
// if that window cannot take input. Input is read in the order it came.
bool TakeInput(MSG* out, HWND window, UINT min, UINT max, bool remove) {
  std::deque<MSG>& input = TheQueue().input;
  while (!input.empty() && !input.front().hwnd) {
    HWND target = FocusWindow() ? FocusWindow() : ActiveWindow();
    Window* w = Find(target);
    if (w && IsVisibleOnScreen(*w) && IsEnabledForInput(*w)) {
      input.front().hwnd = target;
    } else {
      input.pop_front();
    }
  }
  if (input.empty() || !Matches(input.front(), window, min, max)) return false;
  *out = input.front();
  if (remove) input.pop_front();
  return true;
}

// Posted messages, input, the quit message, then paint: the order Windows keeps.
int Take(MSG* out, HWND window, UINT min, UINT max, bool remove) {
  Queue& q = TheQueue();
  if (TakeFrom(q.posted, out, window, min, max, remove)) return 1;
  if (TakeInput(out, window, min, max, remove)) return 1;
  if (q.quit) {
    *out = Make(nullptr, WM_QUIT, WPARAM(q.quitCode), 0);
    if (remove) q.quit = false;
    return 0;
  }
  if (TakePaint(out, window, min, max)) return 1;
  return -1;
}

bool Waiting(HWND window, UINT min, UINT max) {
  MSG probe;
  return Take(&probe, window, min, max, false) != -1;
}

}  // namespace

void PurgeMessagesFor(HWND window) {
  auto gone = [window](const MSG& m) { return m.hwnd == window; };
  Queue& q = TheQueue();
  q.posted.erase(std::remove_if(q.posted.begin(), q.posted.end(), gone), q.posted.end());
  q.input.erase(std::remove_if(q.input.begin(), q.input.end(), gone), q.input.end());
}

void SetUserHooks(const UserHooks& hooks) { g_hooks = hooks; }

const UserHooks& Hooks() { return g_hooks; }

unsigned long QueueReads() { return TheQueue().fetches; }

int FetchMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT remove, bool wait) {
  if (!msg || (window && !Find(window))) return -1;
  unsigned long fetch = ++TheQueue().fetches;
  bool actionRan = false;
  for (;;) {
    bool waiting = Waiting(window, filterMin, filterMax);
    // One scripted action per read; more only while the read would otherwise wait.
    if ((!actionRan || (!waiting && wait)) && g_hooks.queueRead &&
        g_hooks.queueRead(fetch, !waiting, !waiting && wait)) {
      actionRan = true;
      continue;
    }
    int got = Take(msg, window, filterMin, filterMax, (remove & PM_REMOVE) != 0);
    if (got == 1) return 1;
    if (got == 0) return wait ? 0 : 1;  // PeekMessageA reports WM_QUIT as a message
    if (!wait) return 0;
    if (g_hooks.waitingForever) g_hooks.waitingForever(TheQueue().fetches);
    std::fputs("The program waits for input that can never come\n", stderr);
    std::_Exit(1);
  }
}

bool PostImpl(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window && !Find(window)) return false;
  TheQueue().posted.push_back(Make(window, message, wParam, lParam));
  return true;
}

void PostQuitImpl(int exitCode) {
  TheQueue().quit = true;
  TheQueue().quitCode = exitCode;
}

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TheQueue().input.push_back(Make(window, message, wParam, lParam));
}

bool TakesInput(HWND window) {
  Window* w = Find(window);
  return w && IsVisibleOnScreen(*w) && IsEnabledForInput(*w);
}

void PostClick(HWND control) {
  if (!TakesInput(control)) return;
  PostInput(control, WM_LBUTTONDOWN, 1, MAKELPARAM(1, 1));
  PostInput(control, WM_LBUTTONUP, 0, MAKELPARAM(1, 1));
}

}  // namespace winapi

using namespace winapi;

BOOL WINAPI GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
  Queue& q = TheQueue();
  if (g_hooks.readFails && g_hooks.readFails(q.fetches + 1)) {
    ++q.fetches;
    return -1;
  }
  return FetchMessage(msg, window, filterMin, filterMax, PM_REMOVE, true);
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT remove) {
  trace::Record("PeekMessageA", std::intptr_t(remove), 0, 0, "", window);
  return FetchMessage(msg, window, filterMin, filterMax, remove, false) == 1 ? TRUE : FALSE;
}

// Key presses that stand for characters become WM_CHAR, the next message to be read.
BOOL WINAPI TranslateMessage(const MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN) return FALSE;
  WPARAM key = msg->wParam;
  WPARAM ch = 0;
  if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_RETURN || key == VK_ESCAPE ||
      key == VK_TAB || key == VK_BACK)
    ch = key;
  else if (key >= 'A' && key <= 'Z')
    ch = key - 'A' + 'a';
  if (!ch) return FALSE;
  TheQueue().posted.push_front(Make(msg->hwnd, WM_CHAR, ch, msg->lParam));
  return TRUE;
}

// The target is looked up again: a message for a window destroyed since it was queued is lost.
LRESULT WINAPI DispatchMessageA(const MSG* msg) {
  if (!msg || !msg->hwnd || !Find(msg->hwnd)) return 0;
  return Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  trace::Record("PostMessageA", std::intptr_t(message), std::intptr_t(wParam), lParam, "", window);
  return PostImpl(window, message, wParam, lParam) ? TRUE : FALSE;
}

void WINAPI PostQuitMessage(int exitCode) {
  trace::Record("PostQuitMessage", exitCode, 0, 0, "", nullptr);
  PostQuitImpl(exitCode);
}
