// The fixture's windows: one class of the test's own, every window destroyed
// after the test, the stand-in reset before it.
#include "ConformanceFixture.h"

#ifndef _WIN32
#include <winsim.h>
#endif

#include <algorithm>
#include <cstdio>

namespace conformance {

namespace {

constexpr char kClass[] = "ConformanceProbe";
constexpr char kOtherClass[] = "ConformanceThread";
#ifndef _WIN32
constexpr DWORD kOtherThread = 0x77;
#endif
constexpr char kTraceClass[] = "ConformanceTrace";

std::string TitleOf(HWND window)
{
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const char *name = nullptr;
    if (message == WM_SHOWWINDOW)
        name = wParam ? "SHOW " : "HIDE ";
    else if (message == WM_ENABLE)
        name = wParam ? "ENABLE " : "DISABLE ";
    else if (message == WM_ACTIVATEAPP)
        name = wParam ? "ACTIVATEAPP " : "DEACTIVATEAPP ";
    if (name != nullptr) {
        std::string note = name + TitleOf(window);
        if (message == WM_ACTIVATEAPP && wParam)
            note += " active=" + TitleOf(GetActiveWindow());
        Messages().push_back(note);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TraceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Trace &trace = Traced();
    char text[32];
    const char *name = nullptr;
    switch (message) {
    case WM_NCCREATE:
        trace.messages.push_back("NCCREATE");
        if (!trace.ncCreate)
            return FALSE;
        break;
    case WM_CREATE:
        trace.messages.push_back("CREATE");
        if (trace.createAnswer != 0)
            return trace.createAnswer;
        break;
    case WM_SIZE:
        std::snprintf(text, sizeof text, "SIZE %d,%d", LOWORD(lParam), HIWORD(lParam));
        trace.messages.push_back(text);
        break;
    case WM_MOVE:
        std::snprintf(text, sizeof text, "MOVE %d,%d", static_cast<short>(LOWORD(lParam)),
                      static_cast<short>(HIWORD(lParam)));
        trace.messages.push_back(text);
        break;
    case WM_SHOWWINDOW:
        // Not those an owner's showing sends its owned windows.
        if (lParam == 0)
            name = wParam ? "SHOW " : "HIDE ";
        break;
    case WM_DESTROY:
        name = "DESTROY ";
        break;
    case WM_NCDESTROY:
        name = "NCDESTROY ";
        break;
    case WM_CLOSE:
        name = "CLOSE ";
        break;
    default:
        break;
    }
    if (name != nullptr)
        trace.messages.push_back(name + TitleOf(window));
    if (message == trace.destroyOn) {
        trace.destroyOn = 0;
        DestroyWindow(trace.destroyParent ? GetParent(window) : window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HINSTANCE ConformanceTest::Instance()
{
#ifdef _WIN32
    return GetModuleHandleA(NULL);
#else
    return reinterpret_cast<HINSTANCE>(0x400000);
#endif
}

ATOM ConformanceTest::Register(const char *className, WNDPROC procedure)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = procedure;
    wc.hInstance = Instance();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    return RegisterClassA(&wc);
}

const char *ConformanceTest::ClassName()
{
    return kClass;
}

std::vector<std::string> &Messages()
{
    static std::vector<std::string> messages;
    return messages;
}

Trace &Traced()
{
    static Trace trace;
    return trace;
}

void ConformanceTest::SetUp()
{
#ifndef _WIN32
    winsim::Reset();
#endif
    Register(kClass, ProbeProc);  // already registered by an earlier test is fine
    Register(kOtherClass);
    Register(kTraceClass, TraceProc);
    Messages().clear();
    Traced() = Trace();
}

void ConformanceTest::TearDown()
{
    EndOtherThread();
    // Owned and child windows go with their owners and parents.
    for (auto w = made_.rbegin(); w != made_.rend(); ++w)
        if (IsWindow(*w))
            DestroyWindow(*w);
    made_.clear();
    Pump();
}

HWND ConformanceTest::Make(const char *title, DWORD style, int x, int y, int width, int height,
                           HWND parent, DWORD exStyle)
{
    return MakeOf(kClass, title, style, x, y, width, height, parent, exStyle);
}

HWND ConformanceTest::MakeOf(const char *className, const char *title, DWORD style, int x, int y,
                             int width, int height, HWND parent, DWORD exStyle)
{
    HWND window = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent,
                                  NULL, Instance(), NULL);
    EXPECT_NE(window, nullptr) << title;
    made_.push_back(window);
    return window;
}

HWND ConformanceTest::MakeTraced(const char *title, DWORD style, int x, int y, int width,
                                 int height, HWND parent, HMENU menu)
{
    // A window refused is the answer some tests look for: not an error.
    HWND window = CreateWindowExA(0, kTraceClass, title, style, x, y, width, height, parent, menu,
                                  Instance(), NULL);
    if (window != NULL)
        made_.push_back(window);
    return window;
}

ConformanceTest::Host ConformanceTest::MakeHost(DWORD mdiStyle)
{
    fmhost::HostLayout layout;
    layout.mdiStyle = mdiStyle;
    fmhost::HostWindows windows = fmhost::CreateHostWindows(Instance(), layout);
    EXPECT_NE(windows.mdiClient, nullptr);
    made_.push_back(windows.app);
    return {windows.app, windows.mdiClient, windows.menu, windows};
}

HWND ConformanceTest::MakeDocument(const Host &host, const char *title, DWORD style, DWORD exStyle)
{
    // A refused document is the answer some tests look for: not an error.
    HWND window = CreateWindowExA(WS_EX_MDICHILD | exStyle, kClass, title, style, 10, 20, 300, 200,
                                  host.mdi, NULL, Instance(), NULL);
    if (window != NULL)
        made_.push_back(window);
    return window;
}

#ifdef _WIN32

// The thread makes its window, waits to be woken when it is to hang, then
// handles its messages until it is told to quit.
struct ConformanceTest::OtherThreadWindow {
    std::string title;
    DWORD style = 0;
    bool hung = false;
    HWND window = NULL;
    HANDLE made = CreateEventA(NULL, TRUE, FALSE, NULL);
    HANDLE wake = CreateEventA(NULL, TRUE, FALSE, NULL);
    volatile LONG awake = 0;
    HANDLE thread = NULL;
    DWORD threadId = 0;

    static DWORD WINAPI Main(LPVOID self)
    {
        auto *o = static_cast<OtherThreadWindow *>(self);
        o->window = CreateWindowExA(0, kOtherClass, o->title.c_str(), o->style, 400, 300, 200, 150,
                                    NULL, NULL, Instance(), NULL);
        SetEvent(o->made);
        if (o->hung)
            WaitForSingleObject(o->wake, INFINITE);
        InterlockedExchange(&o->awake, 1);
        MSG msg;
        while (GetMessageA(&msg, NULL, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return 0;
    }
};

HWND ConformanceTest::MakeOnOtherThread(const char *title, DWORD style, bool hung)
{
    EndOtherThread();
    other_ = new OtherThreadWindow;
    other_->title = title;
    other_->style = style;
    other_->hung = hung;
    other_->thread = CreateThread(NULL, 0, OtherThreadWindow::Main, other_, 0, &other_->threadId);
    WaitForSingleObject(other_->made, 10000);
    EXPECT_NE(other_->window, nullptr) << title;
    return other_->window;
}

void ConformanceTest::WakeOtherThread()
{
    SetEvent(other_->wake);
}

namespace {

DWORD WINAPI WakeLater(LPVOID wake)
{
    Sleep(200);
    SetEvent(static_cast<HANDLE>(wake));
    return 0;
}

}  // namespace

void ConformanceTest::WakeOtherThreadSoon()
{
    HANDLE thread = CreateThread(NULL, 0, WakeLater, other_->wake, 0, NULL);
    if (thread != NULL)
        CloseHandle(thread);
}

bool ConformanceTest::OtherThreadAwake()
{
    return InterlockedCompareExchange(&other_->awake, 0, 0) != 0;
}

void ConformanceTest::SyncOtherThread()
{
    SendMessageA(other_->window, WM_NULL, 0, 0);
}

void ConformanceTest::EndOtherThread()
{
    if (other_ == nullptr)
        return;
    SetEvent(other_->wake);
    PostThreadMessageA(other_->threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(other_->thread, 10000);
    for (HANDLE h : {other_->thread, other_->made, other_->wake})
        CloseHandle(h);
    delete other_;
    other_ = nullptr;
}

void ConformanceTest::ClickAt(HWND, POINT at)
{
    SendLeftClick(at);
    Pump();
}

#else

struct ConformanceTest::OtherThreadWindow {
    HWND window = NULL;
};

HWND ConformanceTest::MakeOnOtherThread(const char *title, DWORD style, bool hung)
{
    EndOtherThread();
    other_ = new OtherThreadWindow;
    {
        winsim::OtherThread thread(winsim::kOwnProcess, kOtherThread);
        other_->window = CreateWindowExA(0, kOtherClass, title, style, 400, 300, 200, 150, NULL,
                                         NULL, Instance(), NULL);
    }
    if (hung)
        winsim::HangThread(kOtherThread);
    EXPECT_NE(other_->window, nullptr) << title;
    return other_->window;
}

void ConformanceTest::WakeOtherThread()
{
    winsim::WakeThread(kOtherThread);
}

void ConformanceTest::WakeOtherThreadSoon() {}

bool ConformanceTest::OtherThreadAwake()
{
    return !winsim::ThreadHung(kOtherThread);
}

void ConformanceTest::SyncOtherThread()
{
    SendMessageA(other_->window, WM_NULL, 0, 0);
}

void ConformanceTest::EndOtherThread()
{
    delete other_;
    other_ = nullptr;
}

void ConformanceTest::ClickAt(HWND window, POINT)
{
    winsim::ClickWindow(window);
}

#endif

HWND ConformanceTest::MakeMdiDocument(const Host &host, const char *title, int x, int y)
{
    HWND window =
        fmhost::CreateDocument(Instance(), host.windows, 5, fmhost::Document(title, x, y));
    EXPECT_NE(window, nullptr) << title;
    made_.push_back(window);
    return window;
}

void ConformanceTest::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

RECT ConformanceTest::ClientSize(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetClientRect(window, &rect);
    return rect;
}

RECT ConformanceTest::ClientOnScreen(HWND window)
{
    RECT rect = ClientSize(window);
    MapWindowPoints(window, NULL, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

std::vector<std::string> ConformanceTest::Titles(HWND parent)
{
    std::vector<std::string> titles;
    HWND w = parent ? GetWindow(parent, GW_CHILD) : FindWindowExA(NULL, NULL, NULL, NULL);
    char className[64];
    for (; w != NULL; w = GetWindow(w, GW_HWNDNEXT))
        if (parent != NULL ||
            (GetClassNameA(w, className, sizeof className) && std::string(className) == kClass))
            titles.push_back(TitleOf(w));
    return titles;
}

bool ConformanceTest::OwnVisibleBit(HWND window)
{
    return (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string ConformanceTest::TextOf(HWND window)
{
    return TitleOf(window);
}

void FamilyTest::SetUp()
{
    ConformanceTest::SetUp();
    parent = Make("P", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300);
    c1 = Make("c1", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    c2 = Make("c2", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    c3 = Make("c3", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    Messages().clear();
}

RECT ConformanceTest::WindowRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace conformance
