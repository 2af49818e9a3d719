// What the plug-in's parts share: the one global state record, the handlers
// of the external functions, and the helpers for parameter and result text.
#ifndef FMPLUGIN_HOST_PLUGIN_H
#define FMPLUGIN_HOST_PLUGIN_H

#include "FMExtern.h"
#include "FunctionList.h"
#include "PluginNames.h"

#include <windows.h>

#include <stdint.h>

// Host generations, told apart at start-up by the interface version.
enum { kHostGeneration3 = 3, kHostGeneration5 = 5 };

// Every member has its value at load in the definition, so that the record
// is initialised by the loader, without code: no menu bar detached, no cover.
struct PluginState {
    int HostVersion = 0;        // kHostGeneration3 or kHostGeneration5 once started
    bool menuBarShown = true;   // false while the menu bar is detached
    HMENU savedMenu = NULL;     // the menu taken off by the last successful hide
    HWND menuSource = NULL;     // the window it was taken from
    bool coverAbsent = true;    // true while no cover window is shown
    HWND coverWindow = NULL;    // the last cover window created, or null
    WNDCLASSA coverClass = {};  // the cover window's class, filled in at start-up
    ATOM coverClassAtom = 0;    // what the class registration gave
    bool coverClassRegistered = false;
    char prefText[22] = {};      // the stored preference text, zero-terminated
    bool taskBarHidden = false;  // hidden by the plug-in and not shown since
    bool cursorHidden = false;   // likewise the mouse cursor
    DWORD ownProcess = 0;        // the host's process id, from start-up
};

extern PluginState gPluginState;

// Field limits the commands read with.
enum { kTitleLimit = 58, kApplicationCodeLimit = 10, kModeLimit = 4, kNumberLimit = 8 };

static const UINT kSizeOnlyFlags = LOOMVANE_SIZE_ONLY_FLAGS;

// Declarations by the file that defines them. The handlers of the external
// functions are declared below, from the function list.

// host/Entry.cpp: the entry point (FMExtern.h) and the state record above.

// host/Dispatch.cpp
void DispatchExternalCall(intptr_t functionId, HostHandle parameter, HostHandle result);

// host/Fields.cpp: parameter and result text.
void GetParameterField(HostHandle parameter, int16_t fieldNumber, uint32_t maxLength,
                       char *destination, uint32_t *length);
void CopyBytes(const void *source, void *destination, uint32_t count);
void SetResultText(HostHandle result, const char *bytes, uint32_t count);
void SetResultFlag(HostHandle result, bool success);

// host/NumberText.cpp
uint32_t IntPower(uint32_t base, uint32_t exponent);
void FormatDecimal(uint32_t value, char *destination, uint8_t *length);
int32_t ParseCoordinate(char c1, char c2, char c3, char c4, char c5);
// Holds a computed coordinate within the -16000 to 16000 that a number
// field can give.
int32_t LimitCoordinate(int32_t value);

// host/Lifecycle.cpp: the start-up and shut-down messages.
int StartUp(int16_t extnVersion);
void ShutDown(void);

// desktop/CoverWindow.cpp
LRESULT CALLBACK BngdWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The cover window's class, registered at start-up (false when that fails)
// and unregistered at shut-down.
bool RegisterCoverClass(void);
void UnregisterCoverClass(void);
// Destroys a shown cover window; false when it outlives a refused
// destruction. A cover window that no longer exists counts as destroyed.
bool DestroyCoverWindow(void);
// At shut-down, as Kwzr-ShowBackground; a cover that outlives it is let go.
void RemoveCoverAtShutDown(void);

// desktop/MenuBar.cpp, desktop/TaskBar.cpp, desktop/Cursor.cpp: at shut-down,
// what only the plug-in could give back. A failing call leaves the record as
// it was, so that a later shut-down can try again.
void GiveBackMenuBar(void);
void GiveBackTaskBar(void);
void GiveBackCursor(void);

// prefs/PrefStore.cpp: the stored preference text.
bool LoadPrefText(void);
bool StorePrefText(const char *text, DWORD length);

// prefs/PrefDialog.cpp: the preferences message and its dialog.
void OpenPreferences(void);
INT_PTR CALLBACK prefProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The handlers, one per external function.
#define LOOMVANE_HANDLER_ARGS_FN_PARAM HostHandle parameter, HostHandle result
#define LOOMVANE_HANDLER_ARGS_FN_RESULT_ONLY HostHandle result
#define LOOMVANE_DECLARE_HANDLER(id, name, handler, kind) \
    void handler(LOOMVANE_HANDLER_ARGS_##kind);
LOOMVANE_FUNCTIONS(LOOMVANE_DECLARE_HANDLER)
#undef LOOMVANE_DECLARE_HANDLER

#endif
