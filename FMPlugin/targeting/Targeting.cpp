// Every document-window command turns its title and application code into
// window handles here, afresh on every call. A failed search is detected only
// by IsWindow; the last-error value is never consulted.
#include "Targeting.h"

static bool IsGeneration3(void)
{
    return gPluginState.HostVersion == kHostGeneration3;
}

bool ReadTitleField(HostHandle parameter, int16_t fieldNumber, char *title)
{
    uint32_t length = 0;
    GetParameterField(parameter, fieldNumber, kTitleLimit, title, &length);
    if (length > kTitleLimit)
        return false;
    title[length] = '\0';
    return true;
}

const char *DefaultApplicationClassName(void)
{
    return IsGeneration3() ? "FMPRO3APP" : "FMPRO5APP";
}

void ReadApplicationClassName(HostHandle parameter, int16_t codeField, char *className)
{
    char code[kApplicationCodeLimit + 2];
    uint32_t length = 0;
    GetParameterField(parameter, codeField, kApplicationCodeLimit, code, &length);
    if (length < 1 || length > 3) {
        lstrcpyA(className, DefaultApplicationClassName());
        return;
    }
    code[length] = '\0';
    lstrcpyA(className, IsGeneration3() ? "FMPRO3." : "FMPRO5.");
    lstrcpyA(className + 7, code);
}

HWND FindApplicationWindow(const char *className)
{
    HWND application = FindWindowA(className, NULL);
    return IsWindow(application) ? application : NULL;
}

bool ResolveTargetWindow(HostHandle parameter, const char *title, int16_t codeField,
                         TargetWindows *target)
{
    char className[kClassNameBufferSize];
    ReadApplicationClassName(parameter, codeField, className);

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
