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

}  // namespace fmhost

#endif
