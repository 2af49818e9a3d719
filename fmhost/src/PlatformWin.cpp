// The stand-in host on Windows: the plug-in is loaded from its DLL as the
// host loads it, and its names come from the DLL's string table; the cursor,
// the monitors, the code page, the registry's rights, the mouse, the message
// pump and pictures of the screen are the system's own.
#include "PlatformWin.h"
#include "ScriptText.h"

#include <psapi.h>
#include <sddl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace fmhost {

namespace {

constexpr int kNameString = 128;
constexpr int kOptionsString = 131;
constexpr int kFirstFunctionString = 144;
constexpr int kMostFunctions = 256;

std::string LoadText(HINSTANCE module, int id)
{
    char text[512];
    int length = LoadStringA(module, id, text, sizeof text);
    return length > 0 ? std::string(text, length) : std::string();
}

}  // namespace

void PrepareDesktop() {}

HINSTANCE HostProgramInstance()
{
    return GetModuleHandleA(NULL);
}

// The C++ library's steady clock ticks in microseconds here: the
// performance counter is finer.
double NowNs()
{
    static const double nsPerTick = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1e9 / static_cast<double>(frequency.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * nsPerTick;
}

void ForgetCalls() {}

UnloggedCalls::UnloggedCalls() {}
UnloggedCalls::~UnloggedCalls() {}

namespace {

BOOL CALLBACK CountDescendant(HWND, LPARAM total)
{
    ++*reinterpret_cast<long *>(total);
    return TRUE;
}

// A top-level window of this process, and every window below it.
BOOL CALLBACK CountTopLevel(HWND window, LPARAM total)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) {
        ++*reinterpret_cast<long *>(total);
        EnumChildWindows(window, CountDescendant, total);
    }
    return TRUE;
}

}  // namespace

ObjectCount CountObjects()
{
    ObjectCount count;
    // Wine answers 0 and ERROR_CALL_NOT_IMPLEMENTED; the windows are counted
    // there all the same.
    SetLastError(0);
    DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (userObjects != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        count.userObjects = static_cast<long>(userObjects);
    EnumWindows(CountTopLevel, reinterpret_cast<LPARAM>(&count.windows));
    return count;
}

bool ClassRegistered(HINSTANCE instance, const char *className)
{
    WNDCLASSA wc;
    return GetClassInfoA(instance, className, &wc) != 0;
}

bool ModuleStillLoaded(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    return GetModuleHandleA(file.c_str()) != NULL;
}

// Wine fills in PagefileUsage and not PrivateUsage, which Windows gives the
// same value.
long PrivateKiB()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return static_cast<long>(counters.PagefileUsage / 1024);
    return -1;
}

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

// The windows shown so far are let settle where they are first, as the user
// would see them before clicking.
void ClickAt(HWND, POINT at)
{
    PumpKeepingZOrder();
    SendLeftClick(at);
    Pump();
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
