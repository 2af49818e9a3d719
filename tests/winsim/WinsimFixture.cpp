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

WinsimTest::Host WinsimTest::MakeHost(DWORD mdiStyle, bool menuBar)
{
    winsim::Quiet quiet;
    HMENU menu = NULL;
    if (menuBar) {
        menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 1, "&File");
    }
    Host host;
    host.app = CreateWindowExA(0, "Probe", "Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                               NULL, menu, Instance(), NULL);
    CLIENTCREATESTRUCT ccs = {NULL, 1000};
    host.mdi = CreateWindowExA(WS_EX_CLIENTEDGE, "MDIClient", NULL,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | mdiStyle, 0, 30, 700, 400,
                               host.app, NULL, Instance(), &ccs);
    return host;
}

HWND WinsimTest::MakeDocument(const Host &host, const char *title, DWORD style, DWORD exStyle)
{
    winsim::Quiet quiet;
    return CreateWindowExA(WS_EX_MDICHILD | exStyle, "Probe", title, style, 10, 20, 300, 200,
                           host.mdi, NULL, Instance(), NULL);
}

}  // namespace winsim_test
