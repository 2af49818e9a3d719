// What the Windows side of the stand-in host shares between its files.
#ifndef FMHOST_PLATFORMWIN_H
#define FMHOST_PLATFORMWIN_H

#include "Platform.h"

#include <windows.h>

#include <string>

namespace fmhost {

// The primary task bar across the bottom of the primary monitor, made on the
// calling thread.
HWND MakePrimaryBar(DWORD exStyle);
// Handles the thread's messages until the window is gone, a minute at most,
// should the host that started this process never close it.
void HandleMessagesWhile(HWND window);
// This program started again with the arguments, as a process of its own.
// The answer is empty, or why it could not be started.
std::string StartSelf(const std::string &arguments, PROCESS_INFORMATION *process);
// Ends the hung shell, if one runs.
void StopHungShell();
// The top-level window of the class (and the title, unless null) that the
// process made, or null.
HWND FindWindowOfProcess(const char *className, const char *title, DWORD processId);

// A click of the left mouse button at the point of the screen, as the user
// makes it: the cursor goes there, and the button goes down and up.
inline void SendLeftClick(POINT at)
{
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

}  // namespace fmhost

#endif
