// "Kwzr-SetWindowTitle": current title in field 1, application code in
// field 2, the new title in field 3; read in the order 1, 3, 2.
#include "Targeting.h"

void DoSetWindowTitle(HostHandle parameter, HostHandle result)
{
    char title[kTitleBufferSize];
    char newTitle[64];
    TargetWindows target;
    bool done = ReadTitleField(parameter, 1, title) && ReadTitleField(parameter, 3, newTitle) &&
                ResolveTargetWindow(parameter, title, 2, &target) &&
                SetWindowTextA(target.document, newTitle) != 0;
    SetResultFlag(result, done);
}
