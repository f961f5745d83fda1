// The driver's scripted user actions, as the queue and the message boxes see them.
#ifndef PIKON_WINAPI_SCRIPT_H
#define PIKON_WINAPI_SCRIPT_H

namespace winapi {

// Offered at every read of the queue: runs the next scripted action if it is due now. `idle`:
// nothing is waiting for this read; `blocked`: the read would have to wait. True if one ran.
bool RunDueAction(unsigned long fetch, bool idle, bool blocked);
// A read that must wait while no scripted action can ever come: says so, with the number of
// reads so far, and ends the process.
[[noreturn]] void ReportWaitingForever(unsigned long fetches);
// The answer a message box's user gives when the box waits with nothing to read and no action
// due: the next prepared one, IDOK once they are used up.
int NextPreparedAnswer();

}  // namespace winapi

#endif
