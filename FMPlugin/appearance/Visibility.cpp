// "Kwzr-HideWindow", "Kwzr-ShowWindow", "Kwzr-DisableWindow" and
// "Kwzr-EnableWindow": one call on the document window each, answering "1"
// only when that call changed the window's state.
#include "Targeting.h"

// ShowWindow answers whether the window was visible before the call, and
// EnableWindow whether it was disabled before, so showing and disabling
// succeed on a zero answer.

void DoHideWindow(HostHandle parameter, HostHandle result)
{
    TargetWindows target;
    bool changed =
        ResolvePlainTarget(parameter, &target) && ShowWindow(target.document, SW_HIDE) != 0;
    SetResultFlag(result, changed);
}

void DoShowWindow(HostHandle parameter, HostHandle result)
{
    TargetWindows target;
    bool changed =
        ResolvePlainTarget(parameter, &target) && ShowWindow(target.document, SW_SHOWNORMAL) == 0;
    SetResultFlag(result, changed);
}

void DoDisableWindow(HostHandle parameter, HostHandle result)
{
    TargetWindows target;
    bool changed =
        ResolvePlainTarget(parameter, &target) && EnableWindow(target.document, FALSE) == 0;
    SetResultFlag(result, changed);
}

void DoEnableWindow(HostHandle parameter, HostHandle result)
{
    TargetWindows target;
    bool changed =
        ResolvePlainTarget(parameter, &target) && EnableWindow(target.document, TRUE) != 0;
    SetResultFlag(result, changed);
}
