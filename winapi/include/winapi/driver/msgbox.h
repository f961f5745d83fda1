// Prepared answers of message boxes. A box open with nothing to read and no scripted action due
// is answered by its user with the next of them, as a click on that button (or, if the box has
// no such button, by ending it with that answer).
#ifndef PIKON_WINAPI_DRIVER_MSGBOX_H
#define PIKON_WINAPI_DRIVER_MSGBOX_H

#include <vector>

namespace drv {

// The answers the next message boxes give, in order; once used up, every box answers IDOK.
// Replaces answers not yet given.
void AnswerMessageBoxes(std::vector<int> answers);

}  // namespace drv

#endif
