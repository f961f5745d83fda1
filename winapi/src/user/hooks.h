// The seams through which a client of the subset, the test driver, plays the desktop's user: it
// is offered every read of the queue, hears of a read that would wait for ever, answers a
// message box that waits with nothing to read, and may make a read fail. The subset never calls the driver otherwise.
#ifndef PIKON_WINAPI_HOOKS_H
#define PIKON_WINAPI_HOOKS_H

namespace winapi {

struct UserHooks {
  // Offered at every read of the queue: runs the client's next action if it is due now. `idle`:
  // nothing is waiting for this read; `blocked`: the read would have to wait. True if one ran.
  bool (*queueRead)(unsigned long fetch, bool idle, bool blocked) = nullptr;
  // A read that must wait while no action can ever come, with the number of reads so far; it
  // does not return. Without it the process says so and ends.
  void (*waitingForever)(unsigned long fetches) = nullptr;
  // The answer a message box's user gives when the box waits with nothing to read and no
  // action due. Without it, IDOK.
  int (*modalIdle)() = nullptr;
  // Whether GetMessageA's read number `fetch` fails with -1, as a broken queue's would: the
  // client's fault to inject. Without it, no read fails.
  bool (*readFails)(unsigned long fetch) = nullptr;
};
void SetUserHooks(const UserHooks& hooks);
const UserHooks& Hooks();

}  // namespace winapi

#endif
