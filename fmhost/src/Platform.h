// What the stand-in host does differently on Windows and on the simulated
// desktop: loading the plug-in, reading its strings, driving a modal dialog,
// the cursor counter, the task bar, pictures of the screen.
#ifndef FMHOST_PLATFORM_H
#define FMHOST_PLATFORM_H

#include "HostSession.h"
#include "HostWindows.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
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
    enum Kind { Type, Keys, Ok, Cancel, CloseBox, Command, Picture } kind;
    // Type: the new text of the preference field; Keys: the characters the
    // user types into it, its whole text selected; Picture: the file.
    std::string text;
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
// The Start button of Windows Vista and 7 beside it: a top-level window of
// the class "Button" on the task bar's thread.
HWND MakeStartButton(HWND taskBar);
// A task bar of a further monitor.
HWND MakeSecondaryTaskBar();
// The monitors, primary first, in virtual-screen coordinates. The simulated
// desktop is given them; Windows has its own, which must be these: the
// answer is what differs, or empty.
std::string UseMonitors(const std::vector<RECT> &monitors);

// The registry key below HKEY_CURRENT_USER, made if missing, grants
// whoever opens it these rights and no more, as a locked-down profile may:
// on Windows through its security descriptor. The answer is empty, or why
// it could not be done.
std::string LockRegistryKey(const std::string &path, DWORD rights);

// The ANSI code page, 1252 or 932 (Shift-JIS): the simulated desktop is
// given it; a Windows process has its own, which must be this one. The
// answer is what differs, or empty.
std::string UseCodePage(unsigned codePage);

// A second copy of the host, as a second process started by the same user:
// an application window of the class with a document window of the title.
// The answer is empty, or why it could not be started.
std::string StartPeerHost(const std::string &appClass, const std::string &documentTitle,
                          HostWindows *windows);
// Ends every peer host; done at the end of a script as well.
void StopPeerHosts();
// The peer host's side: makes its windows and handles their messages until
// its application window is closed. Answers the exit status.
int RunAsPeerHost(const std::string &appClass, const std::string &documentTitle);
// A click of the left mouse button at the point of the screen, which lies in
// the window (the simulated desktop takes the window for the point).
void ClickAt(HWND window, POINT at);
// Monitor index (1 is the primary) changes its resolution, keeping its
// corner, while the program runs: the display change reaches every window.
// The answer is empty, or why it could not be made.
std::string ChangeMonitorSize(int index, int width, int height);
// A task bar window of the shell's (another process on Windows) whose thread
// answers no message for sleepMs, then marks that it woke and carries out
// what it was sent. The answer is empty, or why it could not be started.
std::string StartHungShell(int sleepMs, HWND *bar);
bool HungShellAwake();
// Until the hung shell has woken and carried out what it was sent.
std::string WaitForHungShell();
// The hung shell's side.
int RunAsHungShell(int sleepMs, const std::string &eventName);
// What one window received in a traced span: how many messages of each id,
// and each WM_SIZE's type and size (its wParam and lParam).
struct WindowMessages {
    std::map<UINT, int> counts;
    std::vector<std::pair<WPARAM, LPARAM>> sizes;
};
// Subclasses the windows so that what each receives is counted, until
// StopTrace gives them their own procedures back and answers the counts in
// the windows' order. False where nothing is counted: the simulated desktop
// sends no messages of its own.
bool StartTrace(const std::vector<HWND> &windows);
std::vector<WindowMessages> StopTrace();
// By kind (Trace.cpp): a message's name ("nccalcsize"; its id in hex,
// "0x0281", for one without), WM_SIZE by its type ("size:maximized").
std::map<std::string, int> MessageKinds(const WindowMessages &messages);
// How many of a kind, or of "all", "size" (any type), "size:!TYPE" (any
// other type), "size:WIDTHxHEIGHT".
int CountMessages(const WindowMessages &messages, const std::string &kind);
// "nccalcsize 2, size:maximized 1 (788x520)", or "none".
std::string DescribeMessages(const WindowMessages &messages);
// What the process holds: its user objects (-1 where the system counts
// none), its windows with their children, its registered classes (-1
// where they cannot be listed).
struct ObjectCount {
    long userObjects = -1;
    long windows = 0;
    long classes = -1;

    bool operator==(const ObjectCount &o) const
    {
        return userObjects == o.userObjects && windows == o.windows && classes == o.classes;
    }
};
ObjectCount CountObjects();
// Whether the class is registered with the module's instance.
bool ClassRegistered(HINSTANCE instance, const char *className);
// Whether the module, known by its file name as the loader knows it, is
// still in the process once it is unloaded.
bool ModuleStillLoaded(const std::string &path);
// The process's committed private memory in KiB, or -1 where it is not known.
long PrivateKiB();
// The instance the host's own window classes are registered with: the
// program's. On the simulated desktop the plug-in is linked into the
// program, so the two are one.
HINSTANCE HostProgramInstance();
// The finest clock there is, in nanoseconds.
double NowNs();
// The stand-in's log of the calls made so far forgotten, between the cycles
// of a long run (Windows keeps none).
void ForgetCalls();
// While one exists, the Win32 calls are not logged and no fault is injected
// into them (the stand-in logs every call; Windows none).
class UnloggedCalls {
public:
    UnloggedCalls();
    ~UnloggedCalls();
    UnloggedCalls(const UnloggedCalls &) = delete;
    UnloggedCalls &operator=(const UnloggedCalls &) = delete;
};

// Lets the window manager catch up: pending messages are handled.
void Pump();
// The same, keeping the top-level windows in the order they had. Without a
// window manager, Wine puts a window it has just shown on top of the others
// once it handles that window's X events; Windows keeps the order that
// SetWindowPos gave. Pictures of the screen are taken after this.
void PumpKeepingZOrder();
bool Snapshot(const std::string &bmpFile);
void PrepareDesktop();

}  // namespace fmhost

#endif
