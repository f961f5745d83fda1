// The one message queue of the one thread: posted messages, then input, then the quit message,
// then WM_PAINT for a visible window with an invalid region.
#ifndef PIKON_WINAPI_QUEUE_H
#define PIKON_WINAPI_QUEUE_H

#include <windows.h>

namespace winapi {

// One read of the queue, for GetMessageA (wait) and PeekMessageA. Returns 1 with a message,
// 0 for WM_QUIT (GetMessageA) or nothing waiting (PeekMessageA), -1 for an invalid window
// filter. Every read is offered to the client's hook (hooks.h).
int FetchMessage(MSG* msg, HWND window, UINT filterMin, UINT filterMax, UINT remove, bool wait);
bool PostImpl(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitImpl(int exitCode);
// Mouse and keyboard input, which comes after posted messages; a null window: the keyboard's
// (the focus window when the input is read).
void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Input reaches only a window its user can see and that is not disabled.
bool TakesInput(HWND window);
// A press and release of the left mouse button on a control that takes input.
void PostClick(HWND control);
// No message outlives its window: called as a window is freed.
void PurgeMessagesFor(HWND window);
// How often the queue was read.
unsigned long QueueReads();

}  // namespace winapi

#endif
