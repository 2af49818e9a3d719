// The stand-in host on Windows: the plug-in is loaded from its DLL as the
// host loads it, its names come from the DLL's string table, and the
// preferences dialog is driven by a timer that fires inside its modal loop.
#include "Platform.h"

#include <windows.h>

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

HWND EnsureTaskBar()
{
    HWND bar = FindWindowA("Shell_TrayWnd", NULL);
    if (bar)
        return bar;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(NULL);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "Shell_TrayWnd";
    RegisterClassA(&wc);
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    bar = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP | WS_VISIBLE, 0,
                          height - 30, width, 30, NULL, NULL, wc.hInstance, NULL);
    return bar;
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
