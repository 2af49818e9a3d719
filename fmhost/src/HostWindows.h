// The host's window structure, built with plain Win32 calls so that it is the
// same on Windows and on the simulated desktop: an application window with a
// menu bar, a toolbar strip across the top of its client area, an MDI client
// with a sunken edge below it, and document windows inside that.
#ifndef FMHOST_HOSTWINDOWS_H
#define FMHOST_HOSTWINDOWS_H

#include <windows.h>

#include <string>
#include <vector>

namespace fmhost {

struct HostLayout {
    int generation = 5;
    std::string appClass;  // empty: "FMPRO5APP" or "FMPRO3APP" by generation
    std::string title = "Host";
    int x = 0, y = 0, width = 800, height = 600;
    bool menuBar = true;  // File, Edit, View and Window, ids 1 to 4
    int toolbarHeight = 30;
    DWORD mdiStyle = MDIS_ALLCHILDSTYLES;  // documents keep the frame they are given
};

struct DocumentLayout {
    std::string title;
    int x = 10, y = 10, width = 300, height = 200;  // in the MDI client's client area
    std::string className;  // empty: "FMPRO5DOC" or "FMPRO3DOC" by generation
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    DWORD exStyle = 0;
};

struct HostWindows {
    HWND app = NULL;
    HWND toolbar = NULL;
    HWND mdiClient = NULL;
    HMENU menu = NULL;
};

// A document window of the title at the place in the MDI client.
DocumentLayout Document(const std::string &title, int x, int y, int width = 300, int height = 200);

// A desktop as a table: application windows, each with its documents.
struct ApplicationLayout {
    HostLayout window;
    std::vector<DocumentLayout> documents;
};

struct BuiltDesktop {
    std::vector<HostWindows> hosts;  // in the table's order
    std::vector<HWND> documents;     // every document, in the table's order
};

// Builds the table's windows in its order; on failure, what could not be
// made (the windows made so far stay).
std::string BuildDesktop(HINSTANCE instance, const std::vector<ApplicationLayout> &table,
                         BuiltDesktop *desktop);

// The second copy of the host that a script's peer command starts: an
// application window of the class with one document of the title.
std::vector<ApplicationLayout> PeerDesktop(const std::string &appClass,
                                           const std::string &documentTitle);

std::string DefaultAppClass(int generation);
std::string DefaultDocumentClass(int generation);

HostWindows CreateHostWindows(HINSTANCE instance, const HostLayout &layout);
HWND CreateDocument(HINSTANCE instance, const HostWindows &host, int generation,
                    const DocumentLayout &document);
// A window's outer rectangle in its parent's client area, or on the screen
// for a top-level window.
RECT RectInParent(HWND window);

// Lays the toolbar and the MDI client out in the application window's
// client area again, as the host does when that area changes.
void LayOutHostWindows(const HostWindows &host, int toolbarHeight);

}  // namespace fmhost

#endif
