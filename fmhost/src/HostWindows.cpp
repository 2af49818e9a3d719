// Building the host's windows. The application window lays out its toolbar
// and MDI client itself, as a real MDI frame with a toolbar must: the default
// frame procedure would stretch the MDI client over the toolbar.
#include "HostWindows.h"

namespace fmhost {

namespace {

constexpr UINT kFirstChildId = 1000;
int gToolbarHeight = 30;

LRESULT CALLBACK DocumentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(window, message, wParam, lParam);
}

HWND FindMdiClient(HWND app)
{
    return FindWindowExA(app, NULL, "MDIClient", NULL);
}

LRESULT CALLBACK AppProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE) {
        HostWindows host;
        host.app = window;
        host.toolbar = FindWindowExA(window, NULL, "STATIC", NULL);
        host.mdiClient = FindMdiClient(window);
        if (host.mdiClient != NULL)
            LayOutHostWindows(host, gToolbarHeight);
        return 0;
    }
    return DefFrameProcA(window, FindMdiClient(window), message, wParam, lParam);
}

void RegisterHostClass(HINSTANCE instance, const std::string &name, WNDPROC proc, HBRUSH brush)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hbrBackground = brush;
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);  // already registered is fine
}

}  // namespace

std::string DefaultAppClass(int generation)
{
    return generation == 3 ? "FMPRO3APP" : "FMPRO5APP";
}

std::string DefaultDocumentClass(int generation)
{
    return generation == 3 ? "FMPRO3DOC" : "FMPRO5DOC";
}

void LayOutHostWindows(const HostWindows &host, int toolbarHeight)
{
    RECT client;
    if (!GetClientRect(host.app, &client))
        return;
    if (host.toolbar != NULL)
        MoveWindow(host.toolbar, 0, 0, client.right, toolbarHeight, TRUE);
    MoveWindow(host.mdiClient, 0, toolbarHeight, client.right, client.bottom - toolbarHeight, TRUE);
}

HostWindows CreateHostWindows(HINSTANCE instance, const HostLayout &layout)
{
    std::string appClass =
        layout.appClass.empty() ? DefaultAppClass(layout.generation) : layout.appClass;
    RegisterHostClass(instance, appClass, AppProc, (HBRUSH)(INT_PTR)(COLOR_APPWORKSPACE + 1));
    gToolbarHeight = layout.toolbarHeight;

    HostWindows host;
    if (layout.menuBar) {
        host.menu = CreateMenu();
        AppendMenuA(host.menu, MF_STRING, 1, "&File");
        AppendMenuA(host.menu, MF_STRING, 2, "&Edit");
        AppendMenuA(host.menu, MF_STRING, 3, "&View");
        AppendMenuA(host.menu, MF_STRING, 4, "&Window");
    }
    host.app = CreateWindowExA(0, appClass.c_str(), layout.title.c_str(),
                               WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, layout.x, layout.y,
                               layout.width, layout.height, NULL, host.menu, instance, NULL);
    if (host.app == NULL)
        return host;

    RECT client = {0, 0, 0, 0};
    GetClientRect(host.app, &client);
    host.toolbar = CreateWindowExA(0, "STATIC", NULL, WS_CHILD | WS_VISIBLE, 0, 0, client.right,
                                   layout.toolbarHeight, host.app, NULL, instance, NULL);
    CLIENTCREATESTRUCT ccs = {NULL, kFirstChildId};
    host.mdiClient = CreateWindowExA(
        WS_EX_CLIENTEDGE, "MDIClient", NULL,
        WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE | layout.mdiStyle, 0, layout.toolbarHeight,
        client.right, client.bottom - layout.toolbarHeight, host.app, NULL, instance, &ccs);
    ShowWindow(host.app, SW_SHOWNORMAL);
    UpdateWindow(host.app);
    return host;
}

HWND CreateDocument(HINSTANCE instance, const HostWindows &host, int generation,
                    const DocumentLayout &document)
{
    std::string docClass =
        document.className.empty() ? DefaultDocumentClass(generation) : document.className;
    RegisterHostClass(instance, docClass, DocumentProc, (HBRUSH)(INT_PTR)(COLOR_WINDOW + 1));
    return CreateWindowExA(WS_EX_MDICHILD | document.exStyle, docClass.c_str(),
                           document.title.c_str(), WS_CHILD | document.style, document.x,
                           document.y, document.width, document.height, host.mdiClient, NULL,
                           instance, NULL);
}

RECT RectInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(NULL, GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
}

std::string BuildDesktop(HINSTANCE instance, const std::vector<ApplicationLayout> &table,
                         BuiltDesktop *desktop)
{
    for (const ApplicationLayout &application : table) {
        HostWindows host = CreateHostWindows(instance, application.window);
        if (!host.app || !host.mdiClient)
            return "the application window '" + application.window.title + "'";
        desktop->hosts.push_back(host);
        for (const DocumentLayout &document : application.documents) {
            HWND window = CreateDocument(instance, host, application.window.generation, document);
            if (!window)
                return "the document window '" + document.title + "'";
            desktop->documents.push_back(window);
        }
    }
    return std::string();
}

std::vector<ApplicationLayout> PeerDesktop(const std::string &appClass,
                                           const std::string &documentTitle)
{
    ApplicationLayout peer;
    peer.window.appClass = appClass;
    peer.window.title = "Peer host";
    peer.window.x = 120;
    peer.window.y = 80;
    peer.documents.push_back(Document(documentTitle, 30, 40));
    return {peer};
}

DocumentLayout Document(const std::string &title, int x, int y, int width, int height)
{
    DocumentLayout document;
    document.title = title;
    document.x = x;
    document.y = y;
    document.width = width;
    document.height = height;
    return document;
}

}  // namespace fmhost
