// "Kwzr-HideTaskBar" and "Kwzr-ShowTaskBar": the shell's task bar window, the
// Start button that Windows Vista and 7 keep as a window of its own, and on a
// machine with several monitors the task bar of each further monitor. Both
// answer "0" when there is no task bar at all. A task bar the plug-in hid and
// did not show again is shown at shut-down.
#include "Targeting.h"

// No machine has anywhere near this many monitors or top-level buttons; it
// only bounds the searches.
enum { kMostSecondaryTaskBars = 64, kMostTopLevelButtons = 64 };

// The window title passed is the empty text: a null title would match any.
static HWND FindTaskBar(void)
{
    return FindWindowExA(NULL, NULL, "Shell_TrayWnd", "");
}

// The Start button of Windows Vista and 7: a top-level window of the class
// "Button" that the task bar's own thread made. Its title is translated, so
// it is known by its thread alone. Later versions have no such window.
static HWND FindStartButton(HWND taskBar)
{
    DWORD shellThread = GetWindowThreadProcessId(taskBar, NULL);
    if (shellThread == 0)
        return NULL;
    HWND button = NULL;
    for (int i = 0; i < kMostTopLevelButtons; ++i) {
        button = FindWindowExA(NULL, button, "Button", NULL);
        if (button == NULL || GetWindowThreadProcessId(button, NULL) == shellThread)
            return button;
    }
    return NULL;
}

// barCommand for the task bars, buttonCommand for the Start button; answers
// the Start button, or null where there is none.
static HWND ShowTaskBars(HWND primary, int barCommand, int buttonCommand)
{
    ShowWindow(primary, barCommand);
    HWND start = FindStartButton(primary);
    if (start != NULL)
        ShowWindow(start, buttonCommand);

    HWND secondary = NULL;
    for (int i = 0; i < kMostSecondaryTaskBars; ++i) {
        secondary = FindWindowExA(NULL, secondary, "Shell_SecondaryTrayWnd", "");
        if (secondary == NULL)
            break;
        ShowWindow(secondary, barCommand);
    }
    return start;
}

void DoHideTaskBar(HostHandle result)
{
    HWND primary = FindTaskBar();
    if (primary == NULL) {
        SetResultFlag(result, false);
        return;
    }
    ShowTaskBars(primary, SW_HIDE, SW_HIDE);
    gPluginState.taskBarHidden = true;
    SetResultFlag(result, true);
}

void DoShowTaskBar(HostHandle result)
{
    HWND primary = FindTaskBar();
    if (primary == NULL) {
        SetResultFlag(result, false);
        return;
    }
    ShowTaskBars(primary, SW_SHOWNORMAL, SW_SHOWNA);
    gPluginState.taskBarHidden = false;
    HWND application = FindApplicationWindow(DefaultApplicationClassName());
    if (application != NULL)
        BringWindowToTop(application);
    SetResultFlag(result, true);
}

// Shown without activation: the host, quitting or not, keeps the focus.
void GiveBackTaskBar(void)
{
    if (!gPluginState.taskBarHidden)
        return;
    HWND primary = FindTaskBar();
    if (primary == NULL)
        return;
    HWND start = ShowTaskBars(primary, SW_SHOWNA, SW_SHOWNA);
    if (IsWindowVisible(primary) && (start == NULL || IsWindowVisible(start)))
        gPluginState.taskBarHidden = false;
}
