// The shared fixture of the winsim tests.
#include "WinsimFixture.h"

namespace winsim_test {

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE || message == WM_SIZE || message == WM_MOVE)
        return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

void WinsimTest::SetUp()
{
    winsim::Reset();
    winsim::Quiet quiet;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = Instance();
    wc.lpszClassName = "Probe";
    RegisterClassA(&wc);
}

HWND WinsimTest::Make(const char *title, DWORD style, int x, int y, int width, int height,
                      HWND parent, DWORD exStyle, HMENU menu)
{
    winsim::Quiet quiet;
    return CreateWindowExA(exStyle, "Probe", title, style, x, y, width, height, parent, menu,
                           Instance(), NULL);
}

}  // namespace winsim_test
