// The simulated desktop's state and the helpers that the winsim sources share.
// The public functions log and fault-check their calls and then use these.
//
// What serves only the control side (winsim.h: the call log, faults, saved
// states, inspection, scripted dialogs, the registry's and the threads'
// control) is marked for gcovr, a block from ..._EXCL_START to _EXCL_STOP
// or a line with _EXCL_LINE; CallLog.cpp and Desktop.cpp are all control
// side. The conformance tests, which hold the rest to Wine, leave it out of
// their coverage (cmake/Coverage.cmake).
#ifndef WINSIM_SRC_INTERNAL_H
#define WINSIM_SRC_INTERNAL_H

#include "Functions.h"

#include <windows.h>
#include <winsim.h>

#include <cstring>
#include <deque>
#include <initializer_list>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace winsim {
namespace detail {

// The module that a null instance stands for: the program itself.
inline HINSTANCE MainModule()
{
    return reinterpret_cast<HINSTANCE>(0x400000);
}

// An owning pointer that copies what it points at when it is copied, so that
// a copy of the state has windows and classes of its own.
template <typename T>
class Owned : public std::unique_ptr<T> {
public:
    Owned() = default;
    Owned(std::unique_ptr<T> &&owned) noexcept : std::unique_ptr<T>(std::move(owned)) {}
    // Copies for saved states. GCOVR_EXCL_START
    Owned(const Owned &other) : std::unique_ptr<T>(other ? new T(*other) : nullptr) {}
    Owned &operator=(const Owned &other)
    {
        this->reset(other ? new T(*other) : nullptr);
        return *this;
    }
    // GCOVR_EXCL_STOP
    Owned(Owned &&) noexcept = default;
    Owned &operator=(Owned &&) noexcept = default;
    ~Owned() = default;
};
// Moved, never copied, when a vector of them grows: a copy would leave the
// windows' class pointers behind.
static_assert(std::is_nothrow_move_constructible<Owned<int>>::value, "Owned moves");

// Built-in window behaviour behind a class.
enum class ClassKind { Plain, Dialog, MdiClient, Edit };

struct WindowClass {
    std::string name;  // as registered
    HINSTANCE instance = NULL;
    UINT style = 0;
    WNDPROC proc = nullptr;  // null: the default window procedure
    HBRUSH background = NULL;
    ATOM atom = 0;
    bool system = false;  // built in, or made by winsim; not listed by RegisteredClasses
    ClassKind kind = ClassKind::Plain;
    int windows = 0;
};

// An edit control's limit before EM_LIMITTEXT, as on Windows NT.
constexpr UINT kDefaultTextLimit = 0x7FFFFFFE;

struct Window {
    HWND handle = NULL;
    WindowClass *cls = nullptr;
    WNDPROC proc = nullptr;
    std::string title;
    HWND parent = NULL;  // null for a top-level window
    HWND owner = NULL;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT_PTR menuOrId = 0;  // the menu of a top-level window, the id of a child
    HINSTANCE instance = NULL;
    DWORD process = 0;  // the process and thread that made the window
    DWORD thread = 0;
    RECT rect = {0, 0, 0, 0};    // in the parent's client coordinates
    RECT client = {0, 0, 0, 0};  // the same coordinates; recalculated only on demand
    std::vector<HWND> children;  // top of the Z order first
    bool needSize = false;       // WM_SIZE and WM_MOVE wait for the first showing
    bool destroying = false;
    bool mdiClient = false;
    UINT mdiFirstChild = 0;
    bool mdiChild = false;
    // Modal dialogs.
    DLGPROC dlgProc = nullptr;
    bool dlgEnded = false;
    INT_PTR dlgResult = 0;
    HWND savedFocus = NULL;
    // Edit controls: the most characters the user can type.
    UINT textLimit = kDefaultTextLimit;
    bool allSelected = false;  // the whole text is selected: a character replaces it
    // A minimized or maximized child window: the rectangle it is restored
    // to, and whether a minimized one goes back to maximized.
    RECT normalRect = {0, 0, 0, 0};
    bool restoreToMaximized = false;
    HMENU sysMenu = NULL;  // its window menu, made when first asked for
    // An MDI client: its active document, and the maximized one whose
    // buttons it has put into the frame's menu bar.
    HWND mdiActive = NULL;
    HWND mdiMaximized = NULL;
    HMENU mdiFrameMenu = NULL;  // the frame menu it was made with or last handed
};

// CREATESTRUCTA as WM_NCCREATE and WM_CREATE carry it.
struct CreateStruct {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct MenuItem {
    UINT flags;
    UINT_PTR id;
    std::string text;
    HBITMAP bitmap = NULL;  // a picture of the item's own, a GDI object
};

struct RegValue {
    std::string name;  // as first written
    DWORD type = REG_NONE;
    std::string data;
};

// The rights a key grants whoever opens it: all of them, unless a test has
// locked the key down.
constexpr REGSAM kAllKeyRights = 0xFFFFFFFF;

struct RegKey {
    std::string name;                                        // as created
    std::map<std::string, std::shared_ptr<RegKey>> subkeys;  // by lower-case name
    std::map<std::string, RegValue> values;                  // by lower-case name
    bool deleted = false;
    REGSAM granted = kAllKeyRights;
};

// ---- What the call log records ----

// An argument or a result of a logged call: its value and how it is written.
// Nothing is formatted when a call is made; the text is made when the log is
// read. A LogValue made from text refers to that text, so it is made in the
// Log call that records it.
class LogValue {
public:
    // Class: a window class as RegisterClassA is given it, "{style, name}", with
    // the name written as Text writes it (numbers: the style, then how the
    // name is given: 0 NULL, 1 an atom in the third number, 2 the text).
    enum class Kind : uint8_t { Text, Quoted, Hex, Dec, Handle, Resource, Rect, Point, Class };

    LogValue(const char *text) : text_(text), length_(std::strlen(text)) {}  // written as it is
    LogValue(const std::string &text) : text_(text.data()), length_(text.size()) {}
    LogValue(Kind kind, long long a, long long b = 0, long long c = 0, long long d = 0)
        : kind_(kind), numbers_{a, b, c, d}
    {
    }
    static LogValue Quoted(const char *text) { return LogValue(text).As(Kind::Quoted); }
    // The same text, written as kind with these numbers.
    LogValue As(Kind kind, long long a = 0, long long b = 0) const
    {
        LogValue value = *this;
        value.kind_ = kind;
        value.numbers_[0] = a;
        value.numbers_[1] = b;
        return value;
    }

    Kind kind() const { return kind_; }
    const char *text() const { return text_; }
    size_t length() const { return length_; }
    const long long *numbers() const { return numbers_; }
    std::string Formatted() const;

private:
    Kind kind_ = Kind::Text;
    const char *text_ = "";
    size_t length_ = 0;
    long long numbers_[4] = {0, 0, 0, 0};
};

// Text made from log values, for arguments put together from several.
std::string operator+(const std::string &a, const LogValue &b);
std::string operator+(const LogValue &a, const std::string &b);
std::string operator+(const char *a, const LogValue &b);
std::string operator+(const LogValue &a, const char *b);
std::string operator+(const LogValue &a, const LogValue &b);

// A LogValue as the log keeps it: its text copied into State::logText.
struct LoggedValue {
    LogValue::Kind kind = LogValue::Kind::Text;
    size_t textAt = 0;
    size_t textLength = 0;
    long long numbers[4] = {0, 0, 0, 0};
};

// One call as the log keeps it: its arguments are State::logArgs from
// firstArg on. function is its name in the list of functions.
struct LoggedCall {
    const char *function = "";
    bool failed = false;
    size_t firstArg = 0;
    size_t argCount = 0;
    LoggedValue result;
};

// An open key handle: the key, and the rights it was opened with.
struct OpenKeyHandle {
    std::shared_ptr<RegKey> key;
    REGSAM access = 0;
};

// Every function: what a fault of "*" names.
constexpr int kEveryFunction = -1;

struct Fault {
    int function = kEveryFunction;  // a place in WINSIM_FUNCTIONS
    int nth = 1;
    bool persistent = false;
    LSTATUS errorCode = ERROR_ACCESS_DENIED;
    int seen = 0;
};

// The whole simulation. Clone copies it member by member, as the compiler
// copies any member (windows and classes through Owned), and then aims the
// pointers that lead from one object of the state to another at the copy's
// own: each window's class, and the registry keys, open ones included. A new
// member that points into the state needs a line there.
struct State {
    State();
    State &operator=(const State &) = delete;

private:
    State(const State &) = default;  // GCOVR_EXCL_LINE: saved states
    friend std::unique_ptr<State> Clone(const State &from);

public:
    int screenWidth = 1024;  // the primary monitor
    int screenHeight = 768;
    // Further monitors beside the primary one, in virtual-screen coordinates.
    std::vector<RECT> otherMonitors;
    // Windows made from now on belong to this process and thread.
    DWORD makingProcess = kOwnProcess;
    DWORD makingThread = kOwnThread;
    // Lead bytes of the ANSI code page; none in a single-byte code page.
    std::vector<std::pair<BYTE, BYTE>> leadByteRanges;

    std::map<uintptr_t, Owned<Window>> windows;
    std::vector<HWND> topLevel;  // top of the Z order first
    std::vector<Owned<WindowClass>> classes;
    std::map<std::string, ATOM> atoms;  // by lower-case class name
    ATOM nextAtom = 0xC000;
    ATOM nextSystemAtom = 0x8010;  // integer atoms for the system's classes
    uintptr_t nextWindow = 0x10020;
    uintptr_t nextMenu = 0x20020;
    uintptr_t nextKey = 0x30;
    HWND active = NULL;
    HWND focus = NULL;
    std::deque<MSG> queue;
    std::map<uintptr_t, std::vector<MenuItem>> menus;
    std::set<uintptr_t> bitmaps;  // those not yet deleted
    uintptr_t nextBitmap = 0x40020;

    int cursorCount = 0;
    std::vector<UINT> beeps;

    // Threads that answer no message, and the ShowWindowAsync requests left
    // for them, in order.
    std::vector<DWORD> hungThreads;
    std::vector<std::pair<HWND, int>> pendingShows;

    // The call log as recorded (see LoggedCall), and as text once read.
    std::vector<LoggedCall> log;
    std::vector<LoggedValue> logArgs;
    std::string logText;
    std::vector<Call> formattedLog;
    size_t formattedUpTo = 0;  // formattedLog's first entry that may be stale
    unsigned logGeneration = 0;
    std::vector<Fault> faults;
    int faultsInjected = 0;

    std::shared_ptr<RegKey> registry;  // HKEY_CURRENT_USER
    std::map<uintptr_t, OpenKeyHandle> openKeys;
    std::map<std::pair<std::string, std::string>, std::string> laterValues;

    std::map<int, std::vector<DialogControl>> templates;
    std::vector<DialogAction> script;
    DialogRun lastDialog;
};

State &S();
int &QuietDepth();
// A state of its own with the same contents.
std::unique_ptr<State> Clone(const State &from);

// ---- Call log ----

// One public call: logged unless quiet, failed when a fault says so.
class ApiCall {
public:
    explicit ApiCall(Fn function);
    ApiCall(const ApiCall &) = delete;
    ApiCall &operator=(const ApiCall &) = delete;
    bool Failed() const { return failed_; }
    LSTATUS ErrorCode() const { return errorCode_; }  // GCOVR_EXCL_LINE: faults
    void Log(std::initializer_list<LogValue> args, const LogValue &result);
    // The arguments in two parts, first before more.
    void Log(std::initializer_list<LogValue> first, std::initializer_list<LogValue> more,
             const LogValue &result);

private:
    bool active_ = false;
    bool failed_ = false;
    LSTATUS errorCode_ = ERROR_ACCESS_DENIED;
    size_t index_ = 0;
    unsigned generation_ = 0;
};

inline LogValue Hex(unsigned long long value)
{
    return LogValue(LogValue::Kind::Hex, static_cast<long long>(value));
}
inline LogValue Dec(long long value)
{
    return LogValue(LogValue::Kind::Dec, value);
}
LogValue Text(LPCSTR text);  // NULL, #id or the quoted text
LogValue Ptr(const void *pointer);
LogValue RectText(const RECT *rect);
LogValue PointText(const POINT *point);
// A buffer argument: "&", or "NULL".
inline LogValue Buffer(const void *pointer)
{
    return pointer ? "&" : "NULL";
}
// Str for any of the handle types.
template <typename H>
LogValue HandleText(H handle)
{
    return LogValue(LogValue::Kind::Handle,
                    static_cast<long long>(reinterpret_cast<uintptr_t>(handle)));
}

// ---- Strings ----

std::string Lower(const std::string &text);
bool SameText(const std::string &a, const char *b);
// Copies at most maxCount - 1 bytes and a terminator; answers the bytes copied.
int CopyOut(const std::string &text, LPSTR buffer, int maxCount);

// ---- Windows ----

Window *Find(HWND window);
std::vector<HWND> &Siblings(const Window *window);
bool IsPureChild(DWORD style);
bool HasMenuBar(const Window *window);
Window *Root(Window *window);
bool IsWithin(HWND window, HWND ancestor);  // window is ancestor or below it
POINT ParentOrigin(const Window *window);   // the parent's client corner on the screen
POINT ClientOrigin(const Window *window);
RECT ScreenRect(const Window *window);
bool VisibleChain(const Window *window);
// Z order among siblings; a window of WS_EX_TOPMOST stays above the others.
void Unlink(const Window *window);
void LinkTop(const Window *window);
void LinkBottom(const Window *window);

// Wine's frame sizes.
void AdjustRect(RECT *rect, DWORD style, bool menu, DWORD exStyle);
DWORD FixExStyle(DWORD style, DWORD exStyle);
int Metric(int index);
RECT ComputeClient(const Window *window, const RECT &rect);
// DefWindowProc's limits on a new size.
void LimitSize(const Window *window, int *cx, int *cy);

HWND CreateCore(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
bool DestroyCore(HWND window);
// SetPosCore's flag for a window that was minimized, maximized or restored:
// it is sent WM_SIZE whatever its size, as Wine's SWP_STATECHANGED does.
constexpr UINT kStateChanged = 0x8000;
bool SetPosCore(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ShowCore(HWND window, int command);
bool EnableCore(HWND window, bool enable);  // answers whether it was disabled
void SetTextCore(Window *window, LPCSTR text);

void Activate(HWND window, bool fromSetFocus);
// A synchronous call on a window of another thread waits until that thread
// answers: a hung one wakes first.
void WaitForThreadOf(HWND window);
void WakeCore(DWORD thread);
void ActivateOther(HWND window);
HWND SetFocusCore(HWND window, bool *ok);
HWND FirstDialogControl(const Window *dialog);  // NULL when there is none
HWND DialogDefaultFocus(const Window *dialog);  // the dialog itself then

// ---- Classes ----

WindowClass *FindClass(LPCSTR name, HINSTANCE instance);
WindowClass *AddClass(const std::string &name, HINSTANCE instance, UINT style, WNDPROC proc,
                      HBRUSH background, bool system, ClassKind kind);
void AddSystemClasses();

// ---- Messages ----

LRESULT SendCore(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool PostCore(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PurgeMessages(HWND window);
// DefDlgProc around the dialog procedure, for windows of the dialog class.
LRESULT DialogDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// ---- Menus ----

bool IsMenuCore(HMENU menu);
// The menu's items, or null for a handle that is no menu.
std::vector<MenuItem> *MenuItems(HMENU menu);
void DestroyMenuCore(HMENU menu);
void SetMenuCore(Window *window, HMENU menu);
HBITMAP NewBitmap();
bool DeleteBitmapCore(HBITMAP bitmap);
// The window menu of the window, made when first asked for; null for a
// window without WS_SYSMENU that has none.
HMENU SystemMenuCore(Window *window);
// Removes the item at position, or of the command (searched in pop-ups too);
// destroy also destroys a pop-up it holds.
bool RemoveMenuCore(HMENU menu, UINT item, UINT flags, bool destroy);

// ---- MDI ----

// The MDI client's part of the default window procedure: WM_MDIGETACTIVE,
// and WM_SIZE, which keeps a maximized document filling it.
bool MdiClientMessage(Window *client, UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result);
// DefMDIChildProcA: a document's activation and its changes of state.
LRESULT MdiChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// A document window is about to be made, or destroyed: the MDI client
// restores a maximized sibling, or forgets a maximized document.
void MdiChildCreating(Window *client);
// Wine's window_min_maximize for a child window: the state bits and the
// rectangle that go with them for SW_MINIMIZE, SW_MAXIMIZE or a restoring
// command, and the flags for SetPosCore.
UINT MinMaximize(Window *w, int command, RECT *rect);
void MdiChildDestroying(Window *child);

// ---- Registry ----

// The key at path below base, made with its parents when create is set;
// created tells whether the last one was new.
std::shared_ptr<RegKey> WalkKey(const std::shared_ptr<RegKey> &base, const std::string &path,
                                bool create, bool *created);

}  // namespace detail
}  // namespace winsim

#endif
