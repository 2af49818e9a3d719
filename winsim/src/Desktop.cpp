// The simulation as a whole: the state, Reset, the screen size, and looking at
// windows without touching the call log; also the shell's task bars.
#include "Internal.h"

namespace winsim {
namespace detail {

namespace {

std::unique_ptr<State> &Current()
{
    static std::unique_ptr<State> state;
    return state;
}

}  // namespace

State::State() : registry(NewRegistry()) {}

State &S()
{
    std::unique_ptr<State> &state = Current();
    if (!state) {
        state = std::make_unique<State>();
        AddSystemClasses();
    }
    return *state;
}

}  // namespace detail

using namespace detail;

void Reset()
{
    Current() = std::make_unique<State>();
    AddSystemClasses();
}

void SetScreenSize(int width, int height)
{
    S().screenWidth = width;
    S().screenHeight = height;
}

void SetOtherMonitors(const std::vector<RECT> &monitors)
{
    S().otherMonitors = monitors;
}

OtherThread::OtherThread(DWORD process, DWORD thread)
    : process_(S().makingProcess), thread_(S().makingThread)
{
    S().makingProcess = process;
    S().makingThread = thread;
}

OtherThread::~OtherThread()
{
    S().makingProcess = process_;
    S().makingThread = thread_;
}

void SetLeadByteRanges(const std::vector<std::pair<BYTE, BYTE>> &ranges)
{
    S().leadByteRanges = ranges;
}

WindowInfo Inspect(HWND window)
{
    WindowInfo info;
    Window *w = Find(window);
    if (w == nullptr)
        return info;
    info.exists = true;
    info.className = w->cls->name;
    info.title = w->title;
    info.parent = w->parent;
    info.style = static_cast<LONG>(w->style);
    info.exStyle = static_cast<LONG>(w->exStyle);
    info.classStyle = w->cls->style;
    info.rect = ScreenRect(w);
    info.client = ScreenClient(w);
    info.visible = (w->style & WS_VISIBLE) != 0;
    info.enabled = !(w->style & WS_DISABLED);
    info.menu = IsPureChild(w->style) ? NULL : reinterpret_cast<HMENU>(w->menuOrId);
    info.instance = w->instance;
    info.owner = w->owner;
    info.process = w->process;
    info.thread = w->thread;
    info.proc = w->proc;
    return info;
}

std::vector<HWND> Children(HWND parent)
{
    if (parent == NULL)
        return S().topLevel;
    Window *w = Find(parent);
    return w ? w->children : std::vector<HWND>();
}

size_t WindowCount()
{
    return S().windows.size();
}

HWND ActiveWindow()
{
    return S().active;
}

HWND FocusWindow()
{
    return S().focus;
}

namespace {

constexpr DWORD kNoActivate = 0x08000000;  // WS_EX_NOACTIVATE

}  // namespace

// As Wine's explorer makes it: a pop-up window 30 pixels high across the
// bottom of the screen, not topmost, never activated, with an empty title.
HWND CreateTaskBar(const char *className)
{
    OtherThread shell(kShellProcess, kShellThread);
    State &s = S();
    if (FindClass(className, NULL) == nullptr)
        AddClass(className, NULL, CS_DBLCLKS, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                 true, ClassKind::Plain);
    HWND bar = CreateCore(kNoActivate, className, "", WS_POPUP, 0, s.screenHeight - 30,
                          s.screenWidth, 30, NULL, NULL, NULL, NULL);
    ShowCore(bar, SW_SHOWNA);
    return bar;
}

HWND CreateStartButton(const char *title)
{
    OtherThread shell(kShellProcess, kShellThread);
    State &s = S();
    HWND button = CreateCore(kNoActivate, "Button", title, WS_POPUP, 0, s.screenHeight - 30, 48,
                             30, NULL, NULL, NULL, NULL);
    ShowCore(button, SW_SHOWNA);
    return button;
}


}  // namespace winsim
