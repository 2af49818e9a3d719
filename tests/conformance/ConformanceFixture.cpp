// The fixture's windows: one class of the test's own, every window destroyed
// after the test, the stand-in reset before it.
#include "ConformanceFixture.h"

#ifndef _WIN32
#include <winsim.h>
#endif

#include <algorithm>

namespace conformance {

namespace {

constexpr char kClass[] = "ConformanceProbe";
constexpr char kFrameClass[] = "ConformanceFrame";
constexpr char kDocumentClass[] = "ConformanceDocument";

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
    if (name != nullptr)
        Messages().push_back(name + TitleOf(window));
    return DefWindowProcA(window, message, wParam, lParam);
}

// The host lays its MDI client out itself: DefFrameProcA would stretch it
// over the frame's client area.
LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE)
        return 0;
    return DefFrameProcA(window, FindWindowExA(window, NULL, "MDIClient", NULL), message, wParam,
                         lParam);
}

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(window, message, wParam, lParam);
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

void ConformanceTest::SetUp()
{
#ifndef _WIN32
    winsim::Reset();
#endif
    Register(kClass, ProbeProc);  // already registered by an earlier test is fine
    Register(kFrameClass, FrameProc);
    Register(kDocumentClass, DocumentProc);
    Messages().clear();
}

void ConformanceTest::TearDown()
{
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

ConformanceTest::Host ConformanceTest::MakeHost(DWORD mdiStyle)
{
    Host host;
    host.app = Make("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600);
    CLIENTCREATESTRUCT ccs = {NULL, 1000};
    host.mdi = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", NULL,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | mdiStyle, 0, 30, 700, 400,
                               host.app, NULL, Instance(), &ccs);
    EXPECT_NE(host.mdi, nullptr);
    return host;
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

ConformanceTest::MdiHost ConformanceTest::MakeMdiHost()
{
    MdiHost host;
    host.menu = CreateMenu();
    AppendMenuA(host.menu, MF_STRING, 1, "&File");
    AppendMenuA(host.menu, MF_STRING, 2, "&Edit");
    host.frame = CreateWindowExA(0, kFrameClass, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 800, 600, NULL, host.menu, Instance(), NULL);
    EXPECT_NE(host.frame, nullptr);
    made_.push_back(host.frame);
    CLIENTCREATESTRUCT ccs = {NULL, 1000};
    host.mdi = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", NULL,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | MDIS_ALLCHILDSTYLES, 0, 30,
                               700, 400, host.frame, NULL, Instance(), &ccs);
    EXPECT_NE(host.mdi, nullptr);
    return host;
}

HWND ConformanceTest::MakeMdiDocument(const MdiHost &host, const char *title, int x, int y)
{
    HWND window = CreateWindowExA(WS_EX_MDICHILD, kDocumentClass, title,
                                  WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 300, 200,
                                  host.mdi, NULL, Instance(), NULL);
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

RECT ConformanceTest::WindowRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace conformance
