// What the stand-in host does differently on Windows and on the simulated
// desktop: loading the plug-in, reading its strings, driving a modal dialog,
// the cursor counter, the task bar, pictures of the screen.
#ifndef FMHOST_PLATFORM_H
#define FMHOST_PLATFORM_H

#include "HostSession.h"

#include <string>
#include <vector>

namespace fmhost {

struct PluginModule {
    EntryPoint entry = nullptr;
    HINSTANCE instance = NULL;
    std::string name;                        // string 128
    std::string options;                     // string 131
    std::vector<std::string> functionNames;  // strings 144 and on, by id
    std::string error;                       // why loading failed
};

// A user's action in an open dialog.
struct DialogStep {
    enum Kind { Type, Ok, Cancel, CloseBox, Command, Picture } kind;
    std::string text;          // Type: the new text of the preference field; Picture: the file
    unsigned long wParam = 0;  // Command: the WM_COMMAND wParam
};

struct DialogReport {
    bool opened = false;
    bool endedByItself = false;  // false: still open after the last step
    std::string fieldText;       // the preference field's text at the end
    int beeps = -1;              // beeps heard, where the platform can tell
    // Where the platform lays the dialog out: "" when every control lies
    // inside the client area and none overlaps another, else what is wrong.
    std::string layoutFault;
    bool layoutMeasured = false;
    bool pictureFailed = false;  // a Picture step could not write its file
};

bool LoadPlugin(const std::string &path, PluginModule *module);
void UnloadPlugin(PluginModule *module);

// Sends the preferences message while the steps are carried out in the
// dialog that it opens.
DialogReport RunPreferences(HostSession &session, const std::vector<DialogStep> &steps);

int CursorCount();
void SetCursorCount(int count);
// The primary task bar window, made if the desktop has none.
HWND EnsureTaskBar();
// Lets the window manager catch up: pending messages are handled.
void Pump();
bool Snapshot(const std::string &bmpFile);
void PrepareDesktop();

}  // namespace fmhost

#endif
