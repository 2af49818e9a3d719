// The shell's windows on Windows: task bars made on this host's own thread,
// and a shell in a process of its own whose thread answers nothing for a
// while, as a hung shell's.
#include "PlatformWin.h"

#include <string>

namespace fmhost {

// Wine's explorer has a task bar window of its own; this host makes its own
// one all the same, on its own thread, so that a Start button can be made on
// that thread too. Made last, it is above explorer's in the Z order, where
// the plug-in finds it first.
namespace {

// A task bar window of the class, 30 pixels high, with an empty title, as a
// shell makes one; its class is registered on first use.
HWND MakeBar(const char *className, DWORD exStyle, int x, int bottom, int width)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // already registered is fine
    return CreateWindowExA(exStyle, className, "", WS_POPUP | WS_VISIBLE, x, bottom - 30, width, 30,
                           NULL, NULL, wc.hInstance, NULL);
}

}  // namespace

HWND MakePrimaryBar(DWORD exStyle)
{
    return MakeBar("Shell_TrayWnd", exStyle, 0, GetSystemMetrics(SM_CYSCREEN),
                   GetSystemMetrics(SM_CXSCREEN));
}

void HandleMessagesWhile(HWND window)
{
    for (int tick = 0; tick < 3000 && IsWindow(window); ++tick) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

HWND EnsureTaskBar()
{
    static HWND own = NULL;
    if (own != NULL && IsWindow(own))
        return own;
    own = MakePrimaryBar(WS_EX_TOOLWINDOW);
    return own;
}

HWND MakeStartButton(HWND taskBar)
{
    RECT bar;
    GetWindowRect(taskBar, &bar);
    HWND button = CreateWindowExA(WS_EX_TOOLWINDOW | 0x08000000 /* WS_EX_NOACTIVATE */, "Button",
                                  "Start", WS_POPUP | WS_VISIBLE, bar.left, bar.top, 48,
                                  bar.bottom - bar.top, NULL, NULL, GetModuleHandleA(NULL), NULL);
    Pump();
    return button;
}

HWND MakeSecondaryTaskBar()
{
    int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int bottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HWND bar = MakeBar("Shell_SecondaryTrayWnd", WS_EX_TOOLWINDOW, right - 300, bottom, 300);
    Pump();
    return bar;
}

namespace {

// The hung shell: its process, the event it sets when it wakes, its bar.
struct HungShellProcess {
    PROCESS_INFORMATION process = {};
    HANDLE woke = NULL;
    HWND bar = NULL;
} gHungShell;

}  // namespace

void StopHungShell()
{
    if (gHungShell.process.hProcess != NULL) {
        TerminateProcess(gHungShell.process.hProcess, 1);
        WaitForSingleObject(gHungShell.process.hProcess, 5000);
        CloseHandle(gHungShell.process.hThread);
        CloseHandle(gHungShell.process.hProcess);
    }
    if (gHungShell.woke != NULL)
        CloseHandle(gHungShell.woke);
    gHungShell = HungShellProcess();
}

std::string StartHungShell(int sleepMs, HWND *bar)
{
    StopHungShell();
    std::string eventName = "LoomvaneHungShellWoke" + std::to_string(GetCurrentProcessId());
    gHungShell.woke = CreateEventA(NULL, TRUE, FALSE, eventName.c_str());
    if (gHungShell.woke == NULL)
        return "CreateEvent failed with error " + std::to_string(GetLastError());
    std::string failed =
        StartSelf("--hung-shell " + std::to_string(sleepMs) + " " + eventName, &gHungShell.process);
    if (!failed.empty())
        return failed;
    // Ten seconds for its task bar to appear; it hangs once the bar is there.
    for (int wait = 0; wait < 200 && gHungShell.bar == NULL; ++wait) {
        Pump();
        gHungShell.bar = FindWindowOfProcess("Shell_TrayWnd", NULL, gHungShell.process.dwProcessId);
    }
    if (gHungShell.bar == NULL)
        return "it made no task bar";
    if (HungShellAwake())
        return "it woke before the script went on: give it a longer sleep";
    *bar = gHungShell.bar;
    return std::string();
}

bool HungShellAwake()
{
    return gHungShell.woke != NULL && WaitForSingleObject(gHungShell.woke, 0) == WAIT_OBJECT_0;
}

// A message sent after the requests returns once the shell has handled
// them: sent messages are handled in the order they come.
std::string WaitForHungShell()
{
    if (gHungShell.woke == NULL)
        return "there is none";
    if (WaitForSingleObject(gHungShell.woke, 60000) != WAIT_OBJECT_0)
        return "it did not wake within a minute";
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(gHungShell.bar, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
        return "it does not answer after waking";
    return std::string();
}

// Its bar is made and shown, and then the thread answers nothing: it sleeps.
// Once awake it says so, and handles its messages until it is ended.
int RunAsHungShell(int sleepMs, const std::string &eventName)
{
    HANDLE woke = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName.c_str());
    if (woke == NULL)
        return 1;
    HWND bar = MakePrimaryBar(WS_EX_TOOLWINDOW | 0x08000000 /* WS_EX_NOACTIVATE */);
    if (bar == NULL)
        return 1;
    Pump();
    Sleep(static_cast<DWORD>(sleepMs));
    SetEvent(woke);
    HandleMessagesWhile(bar);
    CloseHandle(woke);
    return 0;
}

}  // namespace fmhost
