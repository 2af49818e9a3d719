// The stand-in host on Windows: the plug-in is loaded from its DLL as the
// host loads it, its names come from the DLL's string table, and the
// preferences dialog is driven by a timer that fires inside its modal loop.
#include "Platform.h"

#include <windows.h>

#include <sddl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace fmhost {

namespace {

constexpr int kNameString = 128;
constexpr int kOptionsString = 131;
constexpr int kFirstFunctionString = 144;
constexpr int kPrefTextControl = 22313;
constexpr int kMostFunctions = 256;

std::string LoadText(HINSTANCE module, int id)
{
    char text[512];
    int length = LoadStringA(module, id, text, sizeof text);
    return length > 0 ? std::string(text, length) : std::string();
}

// The dialog driver: one step a tick, then one more tick to look at the
// result, then the dialog is ended from outside if it is still open.
struct DialogDriver {
    std::vector<DialogStep> steps;
    size_t next = 0;
    HWND dialog = NULL;
    DialogReport report;
    UINT_PTR timer = 0;
    int waits = 0;
} gDriver;

HWND FindOpenDialog()
{
    HWND active = GetActiveWindow();
    char name[32] = "";
    if (active && GetClassNameA(active, name, sizeof name) && lstrcmpA(name, "#32770") == 0)
        return active;
    return NULL;
}

std::string FieldText(HWND dialog)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, kPrefTextControl, text, sizeof text);
    return text;
}

std::string RectText(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Every control inside the client area, no two overlapping.
std::string LayoutFault(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT *>(&rect), 2);
        int id = static_cast<short>(GetDlgCtrlID(child));  // the picture is -1
        if (rect.left < client.left || rect.top < client.top || rect.right > client.right ||
            rect.bottom > client.bottom)
            return "control " + std::to_string(id) + " at " + RectText(rect) +
                   " reaches outside the client area " + RectText(client);
        for (const auto &other : controls) {
            RECT both;
            if (IntersectRect(&both, &rect, &other.second))
                return "controls " + std::to_string(other.first) + " and " + std::to_string(id) +
                       " overlap at " + RectText(both);
        }
        controls.emplace_back(id, rect);
    }
    return controls.size() < 4 ? "only " + std::to_string(controls.size()) + " controls" : "";
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (!gDriver.dialog) {
        gDriver.dialog = FindOpenDialog();
        if (!gDriver.dialog) {
            if (++gDriver.waits > 100)  // five seconds: give up, leave the loop to the host
                KillTimer(NULL, gDriver.timer);
            return;
        }
        gDriver.report.opened = true;
        gDriver.report.layoutFault = LayoutFault(gDriver.dialog);
        gDriver.report.layoutMeasured = true;
    }
    if (!IsWindow(gDriver.dialog)) {
        KillTimer(NULL, gDriver.timer);
        return;
    }
    HWND dialog = gDriver.dialog;
    if (gDriver.next < gDriver.steps.size()) {
        const DialogStep &step = gDriver.steps[gDriver.next++];
        gDriver.report.fieldText = FieldText(dialog);
        switch (step.kind) {
        case DialogStep::Type:
            SetDlgItemTextA(dialog, kPrefTextControl, step.text.c_str());
            break;
        case DialogStep::Keys: {
            // As the user types: the whole text selected, then one character
            // after another, which the control's limit stops.
            HWND field = GetDlgItem(dialog, kPrefTextControl);
            SetFocus(field);
            SendMessageA(field, EM_SETSEL, 0, -1);
            for (char c : step.text)
                SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
            break;
        }
        case DialogStep::Ok:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, IDOK));
            break;
        case DialogStep::Cancel:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, IDCANCEL));
            break;
        case DialogStep::CloseBox:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case DialogStep::Command:
            SendMessageA(dialog, WM_COMMAND, (WPARAM)step.wParam, 0);
            break;
        case DialogStep::Picture:
            RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            if (!Snapshot(step.text))
                gDriver.report.pictureFailed = true;
            break;
        }
        return;
    }
    // Every step is done and the dialog is still there.
    gDriver.report.fieldText = FieldText(dialog);
    gDriver.report.endedByItself = false;
    KillTimer(NULL, gDriver.timer);
    EndDialog(dialog, -1);
}

}  // namespace

void PrepareDesktop() {}

bool LoadPlugin(const std::string &path, PluginModule *module)
{
    HMODULE dll = LoadLibraryA(path.c_str());
    if (!dll) {
        module->error = path + ": LoadLibrary failed with error " + std::to_string(GetLastError());
        return false;
    }
    FARPROC proc = GetProcAddress(dll, "FMExternCallProc");
    if (!proc) {
        module->error = path + " does not export FMExternCallProc";
        FreeLibrary(dll);
        return false;
    }
    module->entry = reinterpret_cast<EntryPoint>(reinterpret_cast<void *>(proc));
    module->instance = dll;
    module->name = LoadText(dll, kNameString);
    module->options = LoadText(dll, kOptionsString);
    module->functionNames.clear();
    for (int id = 0; id < kMostFunctions; ++id) {
        std::string name = LoadText(dll, kFirstFunctionString + id);
        if (name.empty())
            break;
        module->functionNames.push_back(name);
    }
    return true;
}

void UnloadPlugin(PluginModule *module)
{
    if (module->instance)
        FreeLibrary(module->instance);
    *module = PluginModule();
}

DialogReport RunPreferences(HostSession &session, const std::vector<DialogStep> &steps)
{
    gDriver = DialogDriver();
    gDriver.steps = steps;
    gDriver.report.endedByItself = true;
    gDriver.report.beeps = -1;
    gDriver.timer = SetTimer(NULL, 0, 50, DriveDialog);
    session.Preferences();
    KillTimer(NULL, gDriver.timer);
    // A dialog that ended by itself: its field as last seen.
    return gDriver.report;
}

int CursorCount()
{
    ShowCursor(FALSE);
    return ShowCursor(TRUE);
}

void SetCursorCount(int count)
{
    int now = CursorCount();
    for (int guard = 0; now != count && guard < 100000; ++guard)
        now = ShowCursor(now < count ? TRUE : FALSE);
}

// Wine's explorer has a task bar window of its own; this host makes its own
// one all the same, on its own thread, so that a Start button can be made on
// that thread too. Made last, it is above explorer's in the Z order, where
// the plug-in finds it first.
namespace {

// A task bar window of the class, 30 pixels high, with an empty title, as a
// shell makes one; its class is registered on first use.
HWND MakeBar(const char *className, DWORD exStyle, int x, int bottom, int width)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    RegisterClassA(&wc);  // already registered is fine
    return CreateWindowExA(exStyle, className, "", WS_POPUP | WS_VISIBLE, x, bottom - 30, width, 30,
                           NULL, NULL, wc.hInstance, NULL);
}

// The primary task bar across the bottom of the primary monitor.
HWND MakePrimaryBar(DWORD exStyle)
{
    return MakeBar("Shell_TrayWnd", exStyle, 0, GetSystemMetrics(SM_CYSCREEN),
                   GetSystemMetrics(SM_CXSCREEN));
}

// Handles the thread's messages until the window is gone, a minute at most,
// should the host that started this process never close it.
void HandleMessagesWhile(HWND window)
{
    for (int tick = 0; tick < 3000 && IsWindow(window); ++tick) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

}  // namespace

HWND EnsureTaskBar()
{
    static HWND own = NULL;
    if (own != NULL && IsWindow(own))
        return own;
    own = MakePrimaryBar(WS_EX_TOOLWINDOW);
    return own;
}

HWND MakeStartButton(HWND taskBar)
{
    RECT bar;
    GetWindowRect(taskBar, &bar);
    HWND button = CreateWindowExA(WS_EX_TOOLWINDOW | 0x08000000 /* WS_EX_NOACTIVATE */, "Button",
                                  "Start", WS_POPUP | WS_VISIBLE, bar.left, bar.top, 48,
                                  bar.bottom - bar.top, NULL, NULL, GetModuleHandleA(NULL), NULL);
    Pump();
    return button;
}

HWND MakeSecondaryTaskBar()
{
    int right = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int bottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HWND bar = MakeBar("Shell_SecondaryTrayWnd", WS_EX_TOOLWINDOW, right - 300, bottom, 300);
    Pump();
    return bar;
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR, HDC, LPRECT rect, LPARAM list)
{
    reinterpret_cast<std::vector<RECT> *>(list)->push_back(*rect);
    return TRUE;
}

}  // namespace

std::string UseMonitors(const std::vector<RECT> &monitors)
{
    std::vector<RECT> found;
    EnumDisplayMonitors(NULL, NULL, AddMonitor, reinterpret_cast<LPARAM>(&found));
    std::string wanted, have;
    for (const RECT &r : monitors)
        wanted += " " + RectText(r);
    for (const RECT &r : found)
        have += " " + RectText(r);
    // Windows lists the monitors in an order of its own.
    bool same = found.size() == monitors.size();
    for (const RECT &r : monitors) {
        bool listed = false;
        for (const RECT &f : found)
            listed |= EqualRect(&r, &f) != 0;
        same = same && listed;
    }
    return same ? std::string() : "the display has the monitors" + have + ", not" + wanted;
}

// A protected access list that grants everyone the rights and nothing else.
std::string LockRegistryKey(const std::string &path, DWORD rights)
{
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, NULL, 0, WRITE_DAC, NULL, &key, NULL) !=
        ERROR_SUCCESS)
        return "cannot open the key " + path;
    char text[64];
    std::snprintf(text, sizeof text, "D:P(A;;0x%lx;;;WD)", static_cast<unsigned long>(rights));
    PSECURITY_DESCRIPTOR descriptor = NULL;
    LSTATUS status = ERROR_INVALID_DATA;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(text, SDDL_REVISION_1, &descriptor,
                                                             NULL)) {
        status = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
        LocalFree(descriptor);
    }
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? std::string()
                                   : "cannot lock the key: error " + std::to_string(status);
}

std::string UseCodePage(unsigned codePage)
{
    unsigned actual = GetACP();
    if (actual == codePage)
        return std::string();
    return "the ANSI code page is " + std::to_string(actual) + ", not " + std::to_string(codePage);
}

namespace {

struct PeerProcess {
    PROCESS_INFORMATION process;
    HWND app;
};
std::vector<PeerProcess> gPeers;

// The peer's application window: of the class, titled "Peer host", in the
// peer's process.
HWND FindPeerWindow(const std::string &appClass, DWORD processId)
{
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, appClass.c_str(), "Peer host")) != NULL) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return NULL;
}

}  // namespace

std::string StartPeerHost(const std::string &appClass, const std::string &documentTitle,
                          HostWindows *windows)
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string command =
        "\"" + std::string(self) + "\" --peer \"" + appClass + "\" \"" + documentTitle + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PeerProcess peer = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &peer.process))
        return "CreateProcess failed with error " + std::to_string(GetLastError());
    // Ten seconds for the peer to make its windows, the document last.
    HWND mdiClient = NULL;
    HWND document = NULL;
    for (int wait = 0; wait < 200 && document == NULL; ++wait) {
        Pump();
        peer.app = FindPeerWindow(appClass, peer.process.dwProcessId);
        mdiClient = peer.app ? FindWindowExA(peer.app, NULL, "MDIClient", NULL) : NULL;
        document = mdiClient ? FindWindowExA(mdiClient, NULL, NULL, documentTitle.c_str()) : NULL;
    }
    gPeers.push_back(peer);
    if (document == NULL)
        return "the peer host made no document window";
    windows->app = peer.app;
    windows->mdiClient = mdiClient;
    windows->menu = GetMenu(peer.app);
    return std::string();
}

namespace {

// The hung shell: its process, the event it sets when it wakes, its bar.
struct HungShellProcess {
    PROCESS_INFORMATION process = {};
    HANDLE woke = NULL;
    HWND bar = NULL;
} gHungShell;

HWND FindShellBarOf(DWORD processId)
{
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, "Shell_TrayWnd", NULL)) != NULL) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return NULL;
}

void StopHungShell()
{
    if (gHungShell.process.hProcess != NULL) {
        TerminateProcess(gHungShell.process.hProcess, 1);
        WaitForSingleObject(gHungShell.process.hProcess, 5000);
        CloseHandle(gHungShell.process.hThread);
        CloseHandle(gHungShell.process.hProcess);
    }
    if (gHungShell.woke != NULL)
        CloseHandle(gHungShell.woke);
    gHungShell = HungShellProcess();
}

}  // namespace

std::string StartHungShell(int sleepMs, HWND *bar)
{
    StopHungShell();
    std::string eventName = "LoomvaneHungShellWoke" + std::to_string(GetCurrentProcessId());
    gHungShell.woke = CreateEventA(NULL, TRUE, FALSE, eventName.c_str());
    if (gHungShell.woke == NULL)
        return "CreateEvent failed with error " + std::to_string(GetLastError());
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string command =
        "\"" + std::string(self) + "\" --hung-shell " + std::to_string(sleepMs) + " " + eventName;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup,
                        &gHungShell.process))
        return "CreateProcess failed with error " + std::to_string(GetLastError());
    // Ten seconds for its task bar to appear; it hangs once the bar is there.
    for (int wait = 0; wait < 200 && gHungShell.bar == NULL; ++wait) {
        Pump();
        gHungShell.bar = FindShellBarOf(gHungShell.process.dwProcessId);
    }
    if (gHungShell.bar == NULL)
        return "it made no task bar";
    if (HungShellAwake())
        return "it woke before the script went on: give it a longer sleep";
    *bar = gHungShell.bar;
    return std::string();
}

bool HungShellAwake()
{
    return gHungShell.woke != NULL && WaitForSingleObject(gHungShell.woke, 0) == WAIT_OBJECT_0;
}

// A message sent after the requests returns once the shell has handled
// them: sent messages are handled in the order they come.
std::string WaitForHungShell()
{
    if (gHungShell.woke == NULL)
        return "there is none";
    if (WaitForSingleObject(gHungShell.woke, 60000) != WAIT_OBJECT_0)
        return "it did not wake within a minute";
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(gHungShell.bar, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
        return "it does not answer after waking";
    return std::string();
}

// Its bar is made and shown, and then the thread answers nothing: it sleeps.
// Once awake it says so, and handles its messages until it is ended.
int RunAsHungShell(int sleepMs, const std::string &eventName)
{
    HANDLE woke = OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName.c_str());
    if (woke == NULL)
        return 1;
    HWND bar = MakePrimaryBar(WS_EX_TOOLWINDOW | 0x08000000 /* WS_EX_NOACTIVATE */);
    if (bar == NULL)
        return 1;
    Pump();
    Sleep(static_cast<DWORD>(sleepMs));
    SetEvent(woke);
    HandleMessagesWhile(bar);
    CloseHandle(woke);
    return 0;
}

// The windows shown so far are let settle where they are first, as the user
// would see them before clicking.
void ClickAt(HWND, POINT at)
{
    PumpKeepingZOrder();
    SetCursorPos(at.x, at.y);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
    Pump();
}

// Without saving it: the change lasts as long as the display server.
std::string ChangeMonitorSize(int index, int width, int height)
{
    std::string device = "\\\\.\\DISPLAY" + std::to_string(index);
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (!EnumDisplaySettingsA(device.c_str(), ENUM_CURRENT_SETTINGS, &mode))
        return "there is no monitor " + std::to_string(index);
    mode.dmPelsWidth = static_cast<DWORD>(width);
    mode.dmPelsHeight = static_cast<DWORD>(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    LONG result = ChangeDisplaySettingsExA(device.c_str(), &mode, NULL, 0, NULL);
    if (result != DISP_CHANGE_SUCCESSFUL)
        return device + " could not be changed: " + std::to_string(result);
    return std::string();
}

void StopPeerHosts()
{
    StopHungShell();
    for (PeerProcess &peer : gPeers) {
        if (peer.app != NULL)
            PostMessageA(peer.app, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(peer.process.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(peer.process.hProcess, 1);
        CloseHandle(peer.process.hThread);
        CloseHandle(peer.process.hProcess);
    }
    gPeers.clear();
}

int RunAsPeerHost(const std::string &appClass, const std::string &documentTitle)
{
    BuiltDesktop desktop;
    if (!BuildDesktop(GetModuleHandleA(NULL), PeerDesktop(appClass, documentTitle), &desktop)
             .empty())
        return 1;
    HandleMessagesWhile(desktop.hosts.front().app);
    return 0;
}

uintptr_t MenuItemBitmap(HMENU menu, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item))
        return 0;
    return reinterpret_cast<uintptr_t>(item.hbmpItem);
}

// GetGuiResources answers 0 under Wine: the bitmap itself is asked.
bool BitmapExists(uintptr_t bitmap)
{
    return GetObjectType(reinterpret_cast<HGDIOBJ>(bitmap)) == OBJ_BITMAP;
}

void FreeBitmap(uintptr_t bitmap)
{
    DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
}

namespace {

struct TracedWindow {
    HWND window;
    WNDPROC own;
    WindowMessages messages;
};
std::vector<TracedWindow> gTraced;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (TracedWindow &traced : gTraced) {
        if (traced.window != window)
            continue;
        ++traced.messages.counts[message];
        if (message == WM_SIZE)
            traced.messages.sizes.emplace_back(wParam, lParam);
        return CallWindowProcA(traced.own, window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool StartTrace(const std::vector<HWND> &windows)
{
    gTraced.clear();
    for (HWND window : windows)
        gTraced.push_back({window, NULL, {}});
    // Setting a window procedure sends no message.
    for (TracedWindow &traced : gTraced)
        traced.own = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            traced.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    return true;
}

std::vector<WindowMessages> StopTrace()
{
    std::vector<WindowMessages> counted;
    for (TracedWindow &traced : gTraced) {
        if (IsWindow(traced.window))
            SetWindowLongPtrA(traced.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(traced.own));
        counted.push_back(traced.messages);
    }
    gTraced.clear();
    return counted;
}

void Pump()
{
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(20);
    }
}

// Wine without a window manager maps a newly shown window over the others on
// the X display whatever its place in the Z order, and then takes the X
// order as its own; it follows a window being raised, not one being
// lowered. So the order the windows had is given back by raising each one,
// from the bottom up.
void PumpKeepingZOrder()
{
    std::vector<HWND> order;
    for (HWND w = GetTopWindow(NULL); w != NULL; w = GetWindow(w, GW_HWNDNEXT))
        if (IsWindowVisible(w))
            order.push_back(w);
    Pump();
    for (auto w = order.rbegin(); w != order.rend(); ++w)
        if (IsWindow(*w))
            SetWindowPos(*w, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    Pump();
}

bool Snapshot(const std::string &bmpFile)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    bool ok = bitmap != NULL;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        SelectObject(memory, old);
        DWORD rowBytes = ((DWORD)width * 3 + 3) & ~3u;
        DWORD imageBytes = rowBytes * (DWORD)height;
        BITMAPFILEHEADER file = {};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + imageBytes;
        FILE *out = std::fopen(bmpFile.c_str(), "wb");
        ok = out != nullptr;
        if (ok) {
            ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                 std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
                 std::fwrite(bits, 1, imageBytes, out) == imageBytes;
            ok = std::fclose(out) == 0 && ok;
        }
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return ok;
}

}  // namespace fmhost
