// The simulated desktop's state and the helpers that the winsim sources share.
// The public functions log and fault-check their calls and then use these.
#ifndef WINSIM_SRC_INTERNAL_H
#define WINSIM_SRC_INTERNAL_H

#include <windows.h>
#include <winsim.h>

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace winsim {
namespace detail {

// The module that a null instance stands for: the program itself.
inline HINSTANCE MainModule()
{
    return reinterpret_cast<HINSTANCE>(0x400000);
}

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
    bool dialog = false;
    DLGPROC dlgProc = nullptr;
    bool dlgEnded = false;
    INT_PTR dlgResult = 0;
    HWND savedFocus = NULL;
    // Edit controls: the most characters the user can type.
    UINT textLimit = kDefaultTextLimit;
    bool allSelected = false;  // the whole text is selected: a character replaces it
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
};

struct RegValue {
    std::string name;  // as first written
    DWORD type = REG_NONE;
    std::string data;
};

struct RegKey {
    std::string name;                                        // as created
    std::map<std::string, std::shared_ptr<RegKey>> subkeys;  // by lower-case name
    std::map<std::string, RegValue> values;                  // by lower-case name
    bool deleted = false;
};

struct Fault {
    std::string function;
    int nth = 1;
    bool persistent = false;
    LSTATUS errorCode = ERROR_ACCESS_DENIED;
    int seen = 0;
};

struct State {
    State();

    int screenWidth = 1024;  // the primary monitor
    int screenHeight = 768;
    // Further monitors beside the primary one, in virtual-screen coordinates.
    std::vector<RECT> otherMonitors;
    // Windows made from now on belong to this process and thread.
    DWORD makingProcess = kOwnProcess;
    DWORD makingThread = kOwnThread;
    // Lead bytes of the ANSI code page; none in a single-byte code page.
    std::vector<std::pair<BYTE, BYTE>> leadByteRanges;

    std::map<uintptr_t, std::unique_ptr<Window>> windows;
    std::vector<HWND> topLevel;  // top of the Z order first
    std::vector<std::unique_ptr<WindowClass>> classes;
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

    int cursorCount = 0;
    std::vector<UINT> beeps;

    std::vector<Call> log;
    unsigned logGeneration = 0;
    std::vector<Fault> faults;
    int faultsInjected = 0;

    std::shared_ptr<RegKey> registry;  // HKEY_CURRENT_USER
    std::map<uintptr_t, std::shared_ptr<RegKey>> openKeys;
    std::map<std::pair<std::string, std::string>, std::string> laterValues;

    std::map<int, std::vector<DialogControl>> templates;
    std::vector<DialogAction> script;
    DialogRun lastDialog;
};

State &S();
int &QuietDepth();

// ---- Call log ----

// One public call: logged unless quiet, failed when a fault says so.
class ApiCall {
public:
    explicit ApiCall(const char *function);
    ApiCall(const ApiCall &) = delete;
    ApiCall &operator=(const ApiCall &) = delete;
    bool Failed() const { return failed_; }
    LSTATUS ErrorCode() const { return errorCode_; }
    void Log(std::vector<std::string> args, const std::string &result);

private:
    bool active_ = false;
    bool failed_ = false;
    LSTATUS errorCode_ = ERROR_ACCESS_DENIED;
    size_t index_ = 0;
    unsigned generation_ = 0;
};

std::string Hex(unsigned long long value);
std::string Dec(long long value);
std::string Text(LPCSTR text);  // NULL, #id or the quoted text
std::string Ptr(const void *pointer);
std::string RectText(const RECT *rect);
std::string PointText(const POINT *point);
// A buffer argument: "&", or "NULL".
inline std::string Buffer(const void *pointer)
{
    return pointer ? "&" : "NULL";
}
// Str for any of the handle types.
template <typename H>
std::string HandleText(H handle)
{
    return Str(reinterpret_cast<const void *>(handle));
}

// ---- Strings ----

std::string Lower(const std::string &text);
bool SameText(const std::string &a, const std::string &b);
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
RECT ScreenClient(const Window *window);
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
bool SetPosCore(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL ShowCore(HWND window, int command);
bool EnableCore(HWND window, bool enable);  // answers whether it was disabled
void SetTextCore(Window *window, LPCSTR text);

void Activate(HWND window, bool fromSetFocus);
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

// ---- Registry ----

std::shared_ptr<RegKey> NewRegistry();
std::vector<std::string> SplitKeyPath(const std::string &path);
// The key at path below base, made with its parents when create is set;
// created tells whether the last one was new.
std::shared_ptr<RegKey> WalkKey(const std::shared_ptr<RegKey> &base, const std::string &path,
                                bool create, bool *created);
void MarkDeleted(RegKey *key);

}  // namespace detail
}  // namespace winsim

#endif
