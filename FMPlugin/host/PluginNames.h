/* The names and texts that the plug-in shares with whatever looks at it: the
   stand-in host, the tests, the fuzzer. Each is defined here once. Plain
   preprocessor text, like the function list. */
#ifndef FMPLUGIN_HOST_PLUGINNAMES_H
#define FMPLUGIN_HOST_PLUGINNAMES_H

#include "LoomvaneRes.h"

/* The stored preference text: one value under the current user's key. */
#define LOOMVANE_SETTINGS_KEY "Software\\Quenmark Software\\Loomvane Plugin\\" LOOMVANE_VERSION
#define LOOMVANE_PREFS_VALUE "prefs"

/* The cover window's class bears the name of the function that makes it. */
#define LOOMVANE_COVER_CLASS "Kwzr-HideBackground"
#define LOOMVANE_COVER_TITLE "Background (" LOOMVANE_NAME ")"

/* The platform the module is built for. The shipped module is the 32-bit
   one (x86), and so is the plug-in linked into the stand-in host; the 64-bit
   module, built only to run the tests under 64-bit Wine, says so (x64). */
#if defined(_WIN64)
#define LOOMVANE_PLATFORM "x64"
#else
#define LOOMVANE_PLATFORM "x86"
#endif

/* What "Kwzr-Version" answers. */
#define LOOMVANE_SHORT_VERSION LOOMVANE_NAME " " LOOMVANE_VERSION
#define LOOMVANE_LONG_VERSION LOOMVANE_SHORT_VERSION " " LOOMVANE_PLATFORM

/* SetWindowPos flags under which only the size takes effect: the position
   and the insert-after window are ignored, nothing is activated, and a window
   of another thread is sent the request without waiting. */
#define LOOMVANE_SIZE_ONLY_FLAGS \
    (SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_ASYNCWINDOWPOS)

#endif
