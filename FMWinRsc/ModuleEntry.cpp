// The module's entry point. The plug-in needs nothing of the C runtime's
// start-up code (it has no static constructors, no atexit handlers and no
// thread-local data: its one state record is constant-initialised), so the
// module is linked without it and the loader calls this directly. Leaving the
// start-up code out keeps the module within its 64 KiB.
#include <windows.h>

extern "C" BOOL WINAPI LoomvaneModuleEntry(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    (void)module;
    (void)reason;
    (void)reserved;
    return TRUE;
}
