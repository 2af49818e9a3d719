// "Kwzr-HideTaskBar" and "Kwzr-ShowTaskBar": the shell's task bar window,
// and on a machine with several monitors its window on each further monitor.
// Both answer "1" whatever they find.
#include "Targeting.h"

// No machine has anywhere near this many monitors; it only bounds the search.
enum { kMostSecondaryTaskBars = 64 };

// The window title passed is the empty text: a null title would match any.
static void ShowTaskBars(int command)
{
    HWND primary = FindWindowExA(NULL, NULL, "Shell_TrayWnd", "");
    ShowWindow(primary, command);

    HWND secondary = NULL;
    for (int i = 0; i < kMostSecondaryTaskBars; ++i) {
        secondary = FindWindowExA(NULL, secondary, "Shell_SecondaryTrayWnd", "");
        if (secondary == NULL)
            break;
        ShowWindow(secondary, command);
    }
}

void DoHideTaskBar(HostHandle result)
{
    ShowTaskBars(SW_HIDE);
    SetResultFlag(result, true);
}

void DoShowTaskBar(HostHandle result)
{
    ShowTaskBars(SW_SHOWNORMAL);
    HWND application = FindApplicationWindow(DefaultApplicationClassName());
    if (application != NULL)
        BringWindowToTop(application);
    SetResultFlag(result, true);
}
