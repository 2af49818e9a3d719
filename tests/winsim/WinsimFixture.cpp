// The shared fixture of the winsim tests.
#include "WinsimFixture.h"

#include <cstdio>

namespace winsim_test {

LRESULT gNcCreateAnswer = TRUE;
LRESULT gCreateAnswer = 0;

std::vector<std::string> &Messages()
{
    static std::vector<std::string> messages;
    return messages;
}

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    char text[64];
    const char *name = nullptr;
    switch (message) {
    case WM_NCCREATE:
        Messages().push_back("NCCREATE");
        // The default procedure gives the window its text.
        return gNcCreateAnswer ? DefWindowProcA(window, message, wParam, lParam) : FALSE;
    case WM_CREATE:
        Messages().push_back("CREATE");
        return gCreateAnswer;
    case WM_SIZE:
        std::snprintf(text, sizeof text, "SIZE %d,%d", LOWORD(lParam), HIWORD(lParam));
        Messages().push_back(text);
        return 0;
    case WM_MOVE:
        std::snprintf(text, sizeof text, "MOVE %d,%d", static_cast<short>(LOWORD(lParam)),
                      static_cast<short>(HIWORD(lParam)));
        Messages().push_back(text);
        return 0;
    case WM_DESTROY:
        name = "DESTROY";
        break;
    case WM_NCDESTROY:
        name = "NCDESTROY";
        break;
    case WM_SHOWWINDOW:
        name = wParam ? "SHOW" : "HIDE";
        break;
    case WM_ENABLE:
        name = wParam ? "ENABLE" : "DISABLE";
        break;
    case WM_CLOSE:
        name = "CLOSE";
        break;
    default:
        break;
    }
    if (name != nullptr) {
        char title[32] = "";
        winsim::WindowInfo info = winsim::Inspect(window);
        std::snprintf(title, sizeof title, "%s", info.title.c_str());
        std::snprintf(text, sizeof text, "%s %s", name, title);
        Messages().push_back(text);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void WinsimTest::SetUp()
{
    winsim::Reset();
    Messages().clear();
    gNcCreateAnswer = TRUE;
    gCreateAnswer = 0;
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

RECT WinsimTest::ClientSize(HWND window)
{
    RECT c = winsim::Inspect(window).client;
    return {0, 0, c.right - c.left, c.bottom - c.top};
}

}  // namespace winsim_test
