// Finding the host's application window, its MDI client and a document
// window from a command's parameter fields.
#ifndef FMPLUGIN_TARGETING_TARGETING_H
#define FMPLUGIN_TARGETING_TARGETING_H

#include "Plugin.h"

struct TargetWindows {
    HWND application;
    HWND mdiClient;
    HWND document;
};

// Room for a title of kTitleLimit characters, the extra byte that marks a
// longer field, and a terminator.
enum { kTitleBufferSize = kTitleLimit + 2 };

// Room for "FMPRO5." and a code of three characters, or "FMPRO5APP".
enum { kClassNameBufferSize = 16 };

// Reads a title field (at most kTitleLimit characters) zero-terminated into
// title; false when the field is longer or holds a zero byte.
bool ReadTitleField(HostHandle parameter, int16_t fieldNumber, char *title);

// The application window class named by the code in codeField: "FMPRO5."
// (or "FMPRO3.") and a code of 1 to 3 characters, or "FMPRO5APP" otherwise.
// False for a code of 1 to 3 characters that holds a zero byte: it names no
// window.
bool ReadApplicationClassName(HostHandle parameter, int16_t codeField, char *className);

// The default application window class of the host generation.
const char *DefaultApplicationClassName(void);

// The top-level window of the class, the host's own process's first, or
// null when there is none.
HWND FindApplicationWindow(const char *className);
// The host's own process's top-level window of the class, or null; first
// gets the first window of the class, whatever its process, or null.
HWND FindOwnApplicationWindow(const char *className, HWND *first);

// The MDI client's maximized document, shown or hidden, or null. Told by the
// documents' own state, without a message to the client or its documents.
HWND FindMaximizedDocument(HWND mdiClient);

bool ResolveTargetWindow(HostHandle parameter, const char *title, int16_t codeField,
                         TargetWindows *target);

// The shape most commands share: title in field 1, application code in
// field 2, no further fields.
bool ResolvePlainTarget(HostHandle parameter, TargetWindows *target);

#endif
