// The plug-in's one way in: every host message arrives here and is branched
// on its code.
#include "Plugin.h"

ExternCallBlock *gFMExternCallPtr;
PluginState gPluginState;

FMX_ENTRY FMExternCallProc(ExternCallBlock *block)
{
    gFMExternCallPtr = block;
    switch (block->whichCall) {
    case kFMXInit:
        block->result = StartUp(block->extnVersion);
        break;
    case kFMXExternal:
        DispatchExternalCall(block->parm2, block->parm3, (HostHandle)block->result);
        break;
    case kFMXShutdown:
        ShutDown();
        break;
    case kFMXDoAppPreferences:
        OpenPreferences();
        break;
    default:  // idle and every unknown code: nothing
        break;
    }
}
