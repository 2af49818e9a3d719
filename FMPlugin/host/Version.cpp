// "Kwzr-Version": the plug-in's name and version, with the platform appended
// when the parameter begins with p or P.
#include "Plugin.h"

static const char kShortVersion[] = LOOMVANE_SHORT_VERSION;
static const char kLongVersion[] = LOOMVANE_LONG_VERSION;

void DoVersion(HostHandle parameter, HostHandle result)
{
    int32_t size = gFMExternCallPtr->cGetHandleSize(parameter);
    bool platform = size > 0 && ((*parameter)[0] == 'p' || (*parameter)[0] == 'P');
    if (platform)
        SetResultText(result, kLongVersion, sizeof kLongVersion - 1);
    else
        SetResultText(result, kShortVersion, sizeof kShortVersion - 1);
}
