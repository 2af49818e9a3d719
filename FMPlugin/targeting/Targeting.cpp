// Every document-window command turns its title and application code into
// window handles here, afresh on every call. A failed search is detected by
// IsWindow (for the application window, by the query of its process, which
// answers nothing for a handle that names no window); the last-error value is
// never consulted.
#include "Targeting.h"

static bool IsGeneration3(void)
{
    return gPluginState.HostVersion == kHostGeneration3;
}

// A zero byte would cut the text short where Win32 reads it as a string, so
// that it named another window or set another title than the field holds.
static bool HoldsZeroByte(const char *text, uint32_t length)
{
    for (uint32_t i = 0; i < length; ++i)
        if (text[i] == '\0')
            return true;
    return false;
}

bool ReadTitleField(HostHandle parameter, int16_t fieldNumber, char *title)
{
    uint32_t length = 0;
    GetParameterField(parameter, fieldNumber, kTitleLimit, title, &length);
    if (length > kTitleLimit || HoldsZeroByte(title, length))
        return false;
    title[length] = '\0';
    return true;
}

const char *DefaultApplicationClassName(void)
{
    return IsGeneration3() ? "FMPRO3APP" : "FMPRO5APP";
}

bool ReadApplicationClassName(HostHandle parameter, int16_t codeField, char *className)
{
    char code[kApplicationCodeLimit + 2];
    uint32_t length = 0;
    GetParameterField(parameter, codeField, kApplicationCodeLimit, code, &length);
    if (length < 1 || length > 3) {
        lstrcpyA(className, DefaultApplicationClassName());
        return true;
    }
    if (HoldsZeroByte(code, length))
        return false;
    code[length] = '\0';
    lstrcpyA(className, IsGeneration3() ? "FMPRO3." : "FMPRO5.");
    lstrcpyA(className + 7, code);
    return true;
}

// The process the plug-in runs in: the host's. It never changes, so start-up
// asks for it once.
static DWORD OwnProcess(void)
{
    return gPluginState.ownProcess != 0 ? gPluginState.ownProcess : GetCurrentProcessId();
}

// True when the window exists and belongs to the host's own process. The
// thread id is zero only for a handle that names no window, so this is also
// the test that the window exists.
static bool IsOwnWindow(HWND window, bool *exists)
{
    DWORD process = 0;
    *exists = GetWindowThreadProcessId(window, &process) != 0;
    return *exists && process == OwnProcess();
}

// No desktop has anywhere near this many copies of the host; it only bounds
// the search.
enum { kMostApplicationWindows = 64 };

// FindWindowA searches every top-level window of the desktop, so a second
// copy of the host, started by the same user, may be found first.
HWND FindOwnApplicationWindow(const char *className, HWND *first)
{
    *first = FindWindowA(className, NULL);
    bool exists = false;
    if (IsOwnWindow(*first, &exists))
        return *first;
    if (!exists) {
        *first = NULL;
        return NULL;
    }
    HWND candidate = *first;
    for (int i = 0; i < kMostApplicationWindows; ++i) {
        candidate = FindWindowExA(NULL, candidate, className, NULL);
        if (candidate == NULL)
            break;
        if (IsOwnWindow(candidate, &exists))
            return candidate;
    }
    return NULL;
}

// The host's own window of the class; only when it has none, the first one
// found, whatever its process.
HWND FindApplicationWindow(const char *className)
{
    HWND first = NULL;
    HWND own = FindOwnApplicationWindow(className, &first);
    return own != NULL ? own : first;
}

HWND FindMaximizedDocument(HWND mdiClient)
{
    for (HWND document = GetWindow(mdiClient, GW_CHILD); document != NULL;
         document = GetWindow(document, GW_HWNDNEXT))
        if (IsZoomed(document))
            return document;
    return NULL;
}

bool ResolveTargetWindow(HostHandle parameter, const char *title, int16_t codeField,
                         TargetWindows *target)
{
    char className[kClassNameBufferSize];
    if (!ReadApplicationClassName(parameter, codeField, className))
        return false;

    HWND application = FindApplicationWindow(className);
    if (application == NULL)
        return false;

    HWND mdiClient = FindWindowExA(application, NULL, "MDIClient", NULL);
    if (!IsWindow(mdiClient))
        return false;

    // The title is always a window name, the empty one included: an empty
    // title names a window whose text is empty, never any window.
    const char *documentClass = IsGeneration3() ? "FMPRO3DOC" : NULL;
    HWND document = FindWindowExA(mdiClient, NULL, documentClass, title);
    if (!IsWindow(document))
        return false;

    target->application = application;
    target->mdiClient = mdiClient;
    target->document = document;
    return true;
}

bool ResolvePlainTarget(HostHandle parameter, TargetWindows *target)
{
    char title[kTitleBufferSize];
    if (!ReadTitleField(parameter, 1, title))
        return false;
    return ResolveTargetWindow(parameter, title, 2, target);
}
