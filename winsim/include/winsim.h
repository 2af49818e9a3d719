// The control side of winsim, for tests and the stand-in host only: reset the
// simulated desktop, inspect it without touching the call log, inject
// failures into any Win32 function, read the call log, script dialogs, and
// reach the registry directly. The plug-in never includes this header.
#ifndef WINSIM_WINSIM_H
#define WINSIM_WINSIM_H

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace winsim {

namespace detail {
struct State;
}

// ---- The whole simulation ----

// A fresh desktop: a 1024 by 768 screen, no windows, no task bar, the cursor
// counter at 0, no registered classes, an empty registry, no faults, an empty
// call log, no beeps, no dialog templates.
void Reset();

// All of the simulation at one moment: windows, classes, menus, the message
// queue, the registry and its open keys, the cursor, faults, the call log,
// dialog templates, scripts and the last run. RestoreState puts all of it
// back, as often as wanted: cheaper than building the same desktop again.
// A saved state never changes; an empty one restores as Reset does.
class SavedState {
public:
    SavedState();
    ~SavedState();
    SavedState(const SavedState &);
    SavedState &operator=(const SavedState &);

private:
    friend SavedState SaveState();
    friend void RestoreState(const SavedState &saved);
    std::shared_ptr<const detail::State> state_;
};
SavedState SaveState();
void RestoreState(const SavedState &saved);

// The primary monitor's size; it lies at (0, 0) of the virtual screen.
void SetScreenSize(int width, int height);
// Monitors beside the primary one, in virtual-screen coordinates (a monitor
// left of or above the primary one has negative coordinates). Empty: the
// primary monitor alone.
void SetOtherMonitors(const std::vector<RECT> &monitors);
// The displays change while the program runs: the primary monitor's new size
// and the other monitors, then WM_DISPLAYCHANGE to every top-level window.
void ChangeDisplays(int width, int height, const std::vector<RECT> &otherMonitors);

// ---- Processes and threads ----

// The process and thread that the plug-in and the stand-in host run in:
// GetCurrentProcessId answers kOwnProcess, and every window belongs to them
// unless made while an OtherThread is in scope.
constexpr DWORD kOwnProcess = 0x20;
constexpr DWORD kOwnThread = 0x24;
// The shell's process and the thread of its task bars.
constexpr DWORD kShellProcess = 0x30;
constexpr DWORD kShellThread = 0x34;

// While one of these exists, the windows made belong to that process and
// thread: a second copy of the host, or the shell.
class OtherThread {
public:
    OtherThread(DWORD process, DWORD thread);
    ~OtherThread();
    OtherThread(const OtherThread &) = delete;
    OtherThread &operator=(const OtherThread &) = delete;

private:
    DWORD process_;
    DWORD thread_;
};

// A thread that answers no message until it wakes, as a hung program's. A
// synchronous call on one of its windows (ShowWindow, SetWindowPos without
// SWP_ASYNCWINDOWPOS, BringWindowToTop, SendMessageA) waits for it, so the
// thread has woken by the time the call goes on; ShowWindowAsync leaves its
// request with the thread, which carries it out when it wakes.
void HangThread(DWORD thread);
void WakeThread(DWORD thread);
bool ThreadHung(DWORD thread);

// ---- Code pages ----

// The ANSI code page's lead-byte ranges (each first to last, inclusive) for
// IsDBCSLeadByte; empty for a single-byte code page, the default.
void SetLeadByteRanges(const std::vector<std::pair<BYTE, BYTE>> &ranges);

// ---- Fault injection ----

// The nth call to function from now fails (1 = the next one); with persistent,
// every later call fails too. A failed call changes nothing and returns the
// function's failure value: 0, FALSE or NULL; -1 for DialogBoxParamA; for the
// registry functions errorCode. function "*" counts calls to every function.
// A name that is no function of the stand-in throws std::invalid_argument,
// as it does for CountCalls and CallsTo.
void FailCall(const std::string &function, int nth = 1, bool persistent = false,
              LSTATUS errorCode = ERROR_ACCESS_DENIED);
void ClearFaults();
// How many calls have been failed since the last Reset or ClearFaults.
int FaultsInjected();

// ---- Call log ----

// One logged Win32 call. Arguments are formatted as text: handles and flags in
// hex ("0x10004"), null handles and pointers as "NULL", strings quoted
// ("\"MDIClient\""), integer atoms and resource ids as "#22310", numbers in
// decimal, out-parameters by what they point at ("&" for a buffer). The log
// records the values when the call is made and writes the text when it is
// read; a reference from CallLog shows the calls made before it was taken.
struct Call {
    std::string function;
    std::vector<std::string> args;
    std::string result;
    bool failed;  // an injected failure
};
const std::vector<Call> &CallLog();
void ClearCallLog();
// The log without its text, for looking at every call often: how many it
// holds, and of the one at index (0 is the first) the function and whether
// it was made to fail.
size_t CallLogSize();
const char *CallFunction(size_t index);
bool CallFailed(size_t index);
size_t CountCalls(const std::string &function);
std::vector<Call> CallsTo(const std::string &function);
// "SetWindowPos(0x10004, 0xfffffffe, 16, 75, 300, 200, 0x4216) = 1"
std::string Format(const Call &call);
// The formatting used for a handle in the log.
std::string Str(const void *handle);

// While one of these exists, nothing is logged and no fault fires; for set-up
// and inspection by tests and the stand-in host.
class Quiet {
public:
    Quiet();
    ~Quiet();
    Quiet(const Quiet &) = delete;
    Quiet &operator=(const Quiet &) = delete;
};

// ---- Windows ----

struct WindowInfo {
    bool exists = false;
    std::string className;
    std::string title;
    HWND parent = NULL;
    LONG style = 0;
    LONG exStyle = 0;
    DWORD classStyle = 0;
    RECT rect = {0, 0, 0, 0};    // outer rectangle, screen coordinates
    RECT client = {0, 0, 0, 0};  // client area, screen coordinates
    bool visible = false;
    bool enabled = false;
    HMENU menu = NULL;
    HINSTANCE instance = NULL;
    HWND owner = NULL;
    DWORD process = 0;
    DWORD thread = 0;
    WNDPROC proc = nullptr;  // the window's own procedure; null: the default one
};
WindowInfo Inspect(HWND window);
// Every window of the tree (the top-level windows and all below them), by
// handle, with what Inspect tells of each, into a list that is filled again
// in place so that its strings keep their room: for looking at the whole
// desktop often.
void InspectAll(std::vector<std::pair<HWND, WindowInfo>> *windows);
// Direct children of parent (null: the top-level windows), top of the Z
// order first.
std::vector<HWND> Children(HWND parent);
size_t WindowCount();
std::vector<std::string> RegisteredClasses();
HWND ActiveWindow();
HWND FocusWindow();
// A click of the left mouse button on the window, as Wine handles it without
// a window manager: the top-level window is activated unless it is disabled,
// and it is not brought to the top. (Wine 8 activates a WS_EX_NOACTIVATE
// window on a click too; Windows does not.)
void ClickWindow(HWND window);

// Creates the shell's task bar: a visible top-level window of the class
// across the bottom of the screen, on the shell's thread.
HWND CreateTaskBar(const char *className = "Shell_TrayWnd");
// Creates the Start button as the shell of Windows Vista and 7 has it: a
// visible top-level window of the class "Button" on the shell's thread, at
// the task bar's left end.
HWND CreateStartButton(const char *title = "Start");

// ---- Cursor and sound ----

int CursorCount();
void SetCursorCount(int count);
std::vector<UINT> Beeps();

// ---- Registry (HKEY_CURRENT_USER only; paths relative to it) ----

bool KeyExists(const std::string &path);
void CreateKey(const std::string &path);
void DeleteKey(const std::string &path);
bool GetValue(const std::string &path, const std::string &name, std::string *data,
              DWORD *type = nullptr);
void SetValue(const std::string &path, const std::string &name, DWORD type,
              const std::string &data);
void DeleteValue(const std::string &path, const std::string &name);
// After the next size query (no data buffer) of this value, its data becomes
// later: a value that changes between a size query and the read.
void ReplaceValueAfterSizeQuery(const std::string &path, const std::string &name,
                                const std::string &later);
// The rights the key (made if missing) grants whoever opens it, as its
// security descriptor would on Windows: opening it with rights beyond them
// is refused with ERROR_ACCESS_DENIED. A key grants every right unless set.
void SetKeyRights(const std::string &path, REGSAM granted);
// Registry keys opened and not yet closed.
int OpenKeyCount();

// ---- Dialogs ----

struct DialogControl {
    int id;
    std::string className;  // "EDIT", "BUTTON", "STATIC"
    std::string text;
    DWORD style;
};
// The controls of a dialog template; DialogBoxParamA with an unknown template
// fails with -1.
void DefineDialog(int templateId, const std::vector<DialogControl> &controls);

// What the user does once the dialog is open, in order.
struct DialogAction {
    enum Kind { Type, Keys, Command, CloseBox, Message } kind;
    int control = 0;    // Type, Keys: the control whose text the user replaces
    std::string text;   // Type, Keys: the new text
    WPARAM wParam = 0;  // Command: the WM_COMMAND wParam; Message: wParam
    UINT message = 0;   // Message: any message sent to the dialog procedure
    LPARAM lParam = 0;  // Message: lParam
};
DialogAction TypeText(int control, const std::string &text);
// The user selects the whole text of the control and types the text, a
// character at a time, as far as the control's limit allows.
DialogAction TypeKeys(int control, const std::string &text);
DialogAction Click(int control);  // WM_COMMAND with MAKEWPARAM(control, BN_CLICKED)
DialogAction Command(WPARAM wParam);
DialogAction CloseBox();
// The actions for the next DialogBoxParamA. Once they are used up without
// EndDialog, DialogBoxParamA returns -1 and the run is marked left open.
void ScriptDialog(const std::vector<DialogAction> &actions);

struct DialogRun {
    bool ran = false;
    bool ended = false;  // EndDialog was called
    INT_PTR endValue = 0;
    int actionsUsed = 0;
    HWND owner = NULL;
    bool ownerDisabledDuring = false;
    // Text of each control when the dialog ended or was left open.
    std::vector<std::pair<int, std::string>> controlTexts;
    int focusControl = 0;  // id of the control with the focus at the end, 0 if none
    INT_PTR initDialogReturn = 0;
};
DialogRun LastDialog();

}  // namespace winsim

#endif
