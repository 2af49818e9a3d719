// The simulation as a whole: the state, Reset, the screen size, and looking at
// windows without touching the call log; also the shell's task bars.
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

namespace {

std::unique_ptr<State> &Current()
{
    static std::unique_ptr<State> state;
    return state;
}

}  // namespace

State::State() : registry(std::make_shared<RegKey>()) {}

namespace {

// A registry key and its subkeys, each copied once however often it is met.
std::shared_ptr<RegKey> CloneKey(const std::shared_ptr<RegKey> &key,
                                 std::map<const RegKey *, std::shared_ptr<RegKey>> *copies)
{
    if (key == nullptr)
        return nullptr;
    auto found = copies->find(key.get());
    if (found != copies->end())
        return found->second;
    auto copy = std::make_shared<RegKey>(*key);
    (*copies)[key.get()] = copy;
    for (auto &sub : copy->subkeys)
        sub.second = CloneKey(sub.second, copies);
    return copy;
}

}  // namespace

std::unique_ptr<State> Clone(const State &from)
{
    std::unique_ptr<State> copy(new State(from));
    for (auto &entry : copy->windows) {
        Window &w = *entry.second;
        for (size_t i = 0; i < from.classes.size(); ++i)
            if (from.classes[i].get() == w.cls)
                w.cls = copy->classes[i].get();
    }
    // Open keys may lead to keys deleted from the tree, and several to one.
    std::map<const RegKey *, std::shared_ptr<RegKey>> keys;
    copy->registry = CloneKey(from.registry, &keys);
    for (auto &open : copy->openKeys)
        open.second.key = CloneKey(open.second.key, &keys);
    return copy;
}

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

SavedState::SavedState() = default;
SavedState::~SavedState() = default;
SavedState::SavedState(const SavedState &) = default;
SavedState &SavedState::operator=(const SavedState &) = default;

SavedState SaveState()
{
    SavedState saved;
    saved.state_ = Clone(S());
    return saved;
}

void RestoreState(const SavedState &saved)
{
    if (saved.state_ == nullptr) {
        Reset();
        return;
    }
    Current() = Clone(*saved.state_);
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

void ChangeDisplays(int width, int height, const std::vector<RECT> &otherMonitors)
{
    SetScreenSize(width, height);
    SetOtherMonitors(otherMonitors);
    // Every window that exists now, in Z order; one that an earlier one's
    // handler destroys is passed over.
    std::vector<HWND> windows = S().topLevel;
    for (HWND window : windows)
        SendCore(window, WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
}

void SetLeadByteRanges(const std::vector<std::pair<BYTE, BYTE>> &ranges)
{
    S().leadByteRanges = ranges;
}

namespace {

// origin: the parent's client corner on the screen.
void Describe(const Window *w, POINT origin, WindowInfo *info)
{
    info->exists = true;
    info->className = w->cls->name;
    info->title = w->title;
    info->parent = w->parent;
    info->style = static_cast<LONG>(w->style);
    info->exStyle = static_cast<LONG>(w->exStyle);
    info->classStyle = w->cls->style;
    const RECT &r = w->rect, &c = w->client;
    info->rect = {r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
    info->client = {c.left + origin.x, c.top + origin.y, c.right + origin.x, c.bottom + origin.y};
    info->visible = (w->style & WS_VISIBLE) != 0;
    info->enabled = !(w->style & WS_DISABLED);
    info->menu = IsPureChild(w->style) ? NULL : reinterpret_cast<HMENU>(w->menuOrId);
    info->instance = w->instance;
    info->owner = w->owner;
    info->process = w->process;
    info->thread = w->thread;
    info->proc = w->proc;
}

struct Placed {
    HWND handle;
    const Window *window;
    POINT origin;
    bool operator<(const Placed &other) const { return handle < other.handle; }
};

void AddTree(const std::vector<HWND> &windows, POINT origin, std::vector<Placed> *into)
{
    for (HWND handle : windows) {
        const Window *w = Find(handle);
        if (w == nullptr)
            continue;
        into->push_back({handle, w, origin});
        AddTree(w->children, {origin.x + w->client.left, origin.y + w->client.top}, into);
    }
}

}  // namespace

WindowInfo Inspect(HWND window)
{
    WindowInfo info;
    Window *w = Find(window);
    if (w != nullptr)
        Describe(w, ParentOrigin(w), &info);
    return info;
}

void InspectAll(std::vector<std::pair<HWND, WindowInfo>> *windows)
{
    std::vector<Placed> placed;
    placed.reserve(S().windows.size());
    AddTree(S().topLevel, {0, 0}, &placed);
    std::sort(placed.begin(), placed.end());
    windows->resize(placed.size());
    for (size_t i = 0; i < placed.size(); ++i) {
        (*windows)[i].first = placed[i].handle;
        Describe(placed[i].window, placed[i].origin, &(*windows)[i].second);
    }
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

void ClickWindow(HWND window)
{
    Window *w = Find(window);
    if (w == nullptr)
        return;
    Window *root = Root(w);
    if (!(root->style & WS_DISABLED))
        Activate(root->handle, false);
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
    if (FindClass(className, MainModule()) == nullptr)
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
    HWND button = CreateCore(kNoActivate, "Button", title, WS_POPUP, 0, s.screenHeight - 30, 48, 30,
                             NULL, NULL, NULL, NULL);
    ShowCore(button, SW_SHOWNA);
    return button;
}

}  // namespace winsim
