// "Kwzr-HideTaskBar" and "Kwzr-ShowTaskBar": the shell's task bar window, the
// Start button that Windows Vista and 7 keep as a window of its own, and on a
// machine with several monitors the task bar of each further monitor. Both
// answer "0" when there is no task bar at all. A task bar the plug-in hid and
// did not show again is shown at shut-down.
//
// The bars are windows of the shell's process. ShowWindow on a window of
// another thread is sent and waited for, so a shell that hangs (a network
// drive timing out, a stuck extension) would freeze the host inside a
// calculation or at quit: the requests are posted with ShowWindowAsync
// instead, and the bars are shown without taking the activation.
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

// True when the request was posted to the window's thread, or the window is
// visible: on a window of this thread ShowWindowAsync acts at once and
// answers, as ShowWindow does, whether the window was visible before.
static bool ShowAsync(HWND window, int command)
{
    return ShowWindowAsync(window, command) != FALSE || IsWindowVisible(window);
}

// SW_HIDE or SW_SHOWNA for every bar and the Start button. For SW_SHOWNA,
// answers whether the task bar and its Start button are shown or asked to
// be.
static bool ShowTaskBars(HWND primary, int command)
{
    bool accepted = ShowAsync(primary, command);
    HWND start = FindStartButton(primary);
    if (start != NULL && !ShowAsync(start, command))
        accepted = false;

    HWND secondary = NULL;
    for (int i = 0; i < kMostSecondaryTaskBars; ++i) {
        secondary = FindWindowExA(NULL, secondary, "Shell_SecondaryTrayWnd", "");
        if (secondary == NULL)
            break;
        ShowWindowAsync(secondary, command);
    }
    return accepted;
}

// Whether bringing the host's own window to the top would change what the
// user sees: the host is the active program, and a window that the host's
// window does not own lies above it. From behind another program the host
// would take that one's activation, and on top already the raise changes
// nothing but costs the host a pass of its frame's code. Topmost windows,
// the shell's bars among them, stay above it either way.
static bool ActiveButCovered(HWND application)
{
    if (GetActiveWindow() == NULL)
        return false;
    for (HWND above = GetWindow(application, GW_HWNDPREV); above != NULL;
         above = GetWindow(above, GW_HWNDPREV))
        if (IsWindowVisible(above) && !(GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
            GetAncestor(above, GA_ROOTOWNER) != application)
            return true;
    return false;
}

void DoHideTaskBar(HostHandle result)
{
    HWND primary = FindTaskBar();
    if (primary == NULL) {
        SetResultFlag(result, false);
        return;
    }
    ShowTaskBars(primary, SW_HIDE);
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
    ShowTaskBars(primary, SW_SHOWNA);
    gPluginState.taskBarHidden = false;
    HWND first = NULL;
    HWND application = FindOwnApplicationWindow(DefaultApplicationClassName(), &first);
    if (application != NULL && ActiveButCovered(application))
        BringWindowToTop(application);
    SetResultFlag(result, true);
}

// Given back once the shell has accepted the requests; it is not waited for.
void GiveBackTaskBar(void)
{
    if (!gPluginState.taskBarHidden)
        return;
    HWND primary = FindTaskBar();
    if (primary == NULL)
        return;
    if (ShowTaskBars(primary, SW_SHOWNA))
        gPluginState.taskBarHidden = false;
}
