// "Kwzr-HideCursor" and "Kwzr-ShowCursor": the platform's cursor display
// counter, read by a hide-and-show probe each time. The cursor is drawn while
// the counter is 0 or more; hiding drives it down to -8, showing back to 0,
// each in at most 19 steps. A cursor the plug-in hid and did not show again
// is shown at shut-down.
#include "Plugin.h"

enum { kMostCursorSteps = 19, kHiddenFloor = -8 };

// ShowCursor answers the counter's new value, so a step down and up again
// leaves it where it was and tells its value.
static int ProbeCursorCount(void)
{
    ShowCursor(FALSE);
    return ShowCursor(TRUE);
}

void DoHideCursor(HostHandle result)
{
    int count = ProbeCursorCount();
    if (count < 0) {
        SetResultFlag(result, false);
        return;
    }
    for (int step = 1; step <= kMostCursorSteps && count > kHiddenFloor; ++step)
        count = ShowCursor(FALSE);
    if (count < 0)
        gPluginState.cursorHidden = true;
    SetResultFlag(result, count < 0);
}

// Drives a negative counter back up to 0 in at most 19 steps; true when the
// cursor is drawn afterwards.
static bool ShowHiddenCursor(int count)
{
    for (int step = 1; step <= kMostCursorSteps && count < 0; ++step)
        count = ShowCursor(TRUE);
    if (count >= 0)
        gPluginState.cursorHidden = false;
    return count >= 0;
}

void DoShowCursor(HostHandle result)
{
    int count = ProbeCursorCount();
    if (count >= 0) {
        SetResultFlag(result, false);
        return;
    }
    SetResultFlag(result, ShowHiddenCursor(count));
}

void GiveBackCursor(void)
{
    if (!gPluginState.cursorHidden)
        return;
    int count = ProbeCursorCount();
    if (count >= 0)
        gPluginState.cursorHidden = false;
    else
        ShowHiddenCursor(count);
}
