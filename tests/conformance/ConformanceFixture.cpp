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

HINSTANCE Instance()
{
#ifdef _WIN32
    return GetModuleHandleA(NULL);
#else
    return reinterpret_cast<HINSTANCE>(0x400000);
#endif
}

}  // namespace

void ConformanceTest::SetUp()
{
#ifndef _WIN32
    winsim::Reset();
#endif
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = Instance();
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    RegisterClassA(&wc);  // already registered by an earlier test is fine
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

RECT ConformanceTest::WindowRect(HWND window)
{
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(window, &rect);
    return rect;
}

}  // namespace conformance
