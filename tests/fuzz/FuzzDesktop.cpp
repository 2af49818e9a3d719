// Builds the simulated desktop from its plan, keeps the shell's state, and
// takes and compares snapshots of the desktop.
#include "FuzzDesktop.h"

#include "LoomvaneRes.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace fuzz {

HungShell gShell;

namespace {

const HINSTANCE kHostInstance = reinterpret_cast<HINSTANCE>(0x400000);
const HINSTANCE kPeerInstance = reinterpret_cast<HINSTANCE>(0x800000);

// What every input starts from: the stand-in with the preferences dialog's
// template and nothing else, and for each kind of first application window
// (generation 3 or 5, with or without its menu bar) the same with that
// window built. They are made once, before any input, and put back for each.
struct StartingPoints {
    winsim::SavedState empty;
    winsim::SavedState first[2][2];
    fmhost::HostWindows firstHost[2][2];
};

fmhost::HostLayout ApplicationLayout(int generation, size_t i, bool menuBar)
{
    fmhost::HostLayout layout;
    layout.generation = generation;
    if (i == 1)
        layout.appClass = generation == 3 ? "FMPRO3.ab1" : "FMPRO5.ab1";
    if (i == 2)
        layout.appClass = generation == 3 ? "FMPRO5APP" : "FMPRO3APP";
    layout.x = 20 * static_cast<int>(i);
    layout.menuBar = menuBar;
    return layout;
}

StartingPoints MakeStartingPoints()
{
    StartingPoints made;
    winsim::Reset();
    winsim::DefineDialog(IDD_PREFERENCES,
                         {{IDC_PREF_PICTURE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP},
                          {IDC_PREF_TEXT, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
                          {IDOK, "BUTTON", "OK", WS_CHILD | WS_VISIBLE},
                          {IDCANCEL, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE}});
    made.empty = winsim::SaveState();
    for (int old = 0; old < 2; ++old) {
        for (int menuBar = 0; menuBar < 2; ++menuBar) {
            winsim::RestoreState(made.empty);
            winsim::Quiet quiet;
            made.firstHost[old][menuBar] = fmhost::CreateHostWindows(
                kHostInstance, ApplicationLayout(old ? 3 : 5, 0, menuBar != 0));
            made.first[old][menuBar] = winsim::SaveState();
        }
    }
    winsim::RestoreState(made.empty);
    return made;
}

const StartingPoints &Start()
{
    static const StartingPoints start = MakeStartingPoints();
    return start;
}

// The shell's task bars and Start button, one that may hang, a second copy
// of the host and the runtime solution, by the plan's bits.
void BuildShellAndPeers(const DesktopPlan &plan, int generation,
                        std::vector<fmhost::HostWindows> *hosts)
{
    if (plan.shape & 16) {
        winsim::CreateTaskBar();
        if (plan.shape & 64)
            winsim::CreateStartButton();
        // A shell that answers nothing until the input wakes it.
        if (plan.registry & 64)
            winsim::HangThread(winsim::kShellThread);
    }
    if (plan.shape & 32)
        winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
    if (plan.shape & 128) {
        // A second copy of the host, above this one: its window of the same
        // class, with a document of the same title, is found first.
        winsim::OtherThread peer(0x100, 0x104);
        fmhost::HostWindows other =
            fmhost::CreateHostWindows(kPeerInstance, ApplicationLayout(generation, 0, true));
        fmhost::DocumentLayout doc;
        doc.title = "Orders";
        fmhost::CreateDocument(kPeerInstance, other, generation, doc);
    }
    // A runtime solution: the host's windows are all of an application
    // code's class, none of the standard one.
    if ((plan.registry & 128) && hosts->size() > 1)
        DestroyWindow(hosts->front().app);
}

// The monitors, the cursor counter and the settings key. Answers whether
// the stored value changes after its size query.
bool BuildMonitorsAndRegistry(const DesktopPlan &plan)
{
    std::vector<RECT> monitors;
    if (plan.registry & 16)
        monitors.push_back({1024, 0, 1824, 600});
    if (plan.registry & 32)
        monitors.push_back({-1280, -200, 0, 824});
    winsim::SetOtherMonitors(monitors);
    winsim::SetCursorCount(plan.cursor);
    if (plan.registry & 1)
        winsim::CreateKey(kSettingsKey);
    if (plan.registry & 2) {
        winsim::SetValue(kSettingsKey, "prefs", (plan.registry & 4) ? REG_BINARY : REG_SZ,
                         plan.value);
        if (plan.registry & 8) {
            winsim::ReplaceValueAfterSizeQuery(kSettingsKey, "prefs", plan.later);
            return true;
        }
    }
    return false;
}

}  // namespace

void PrepareStartingPoints()
{
    Start();
}

bool BuildDesktop(const DesktopPlan &plan, std::vector<fmhost::HostWindows> *hosts,
                  std::vector<HWND> *documents)
{
    int old = plan.shape & 1;
    int generation = old ? 3 : 5;
    int menuBar = (plan.shape & 8) == 0;
    winsim::RestoreState(Start().first[old][menuBar]);
    winsim::Quiet quiet;
    for (size_t i = 0; i < plan.documents.size(); ++i) {
        if (i == 0)
            hosts->push_back(Start().firstHost[old][menuBar]);
        else
            hosts->push_back(
                fmhost::CreateHostWindows(kHostInstance, ApplicationLayout(generation, i, true)));
        for (const fmhost::DocumentLayout &doc : plan.documents[i])
            documents->push_back(
                fmhost::CreateDocument(kHostInstance, hosts->back(), generation, doc));
    }
    BuildShellAndPeers(plan, generation, hosts);
    return BuildMonitorsAndRegistry(plan);
}

void RestoreEmptyDesktop()
{
    winsim::RestoreState(Start().empty);
}

HWND BringAnotherProgramToFront(const std::vector<fmhost::HostWindows> &hosts)
{
    HWND other = NULL;
    for (HWND w : winsim::Children(NULL)) {
        winsim::WindowInfo info = winsim::Inspect(w);
        if (info.process != winsim::kOwnProcess && info.visible && info.enabled &&
            !winsim::ThreadHung(info.thread)) {
            other = w;
            break;
        }
    }
    HWND app = NULL;
    for (const fmhost::HostWindows &h : hosts)
        if (app == NULL && winsim::Inspect(h.app).exists)
            app = h.app;
    if (other == NULL || app == NULL)
        return NULL;
    winsim::Quiet quiet;
    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetForegroundWindow(other);
    SetWindowPos(app, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return app;
}

bool WakeShell()
{
    if (!gShell.hung)
        return false;
    winsim::WakeThread(winsim::kShellThread);
    gShell.hung = false;
    return true;
}

WindowTable::const_iterator WindowTable::find(HWND window) const
{
    auto at =
        std::lower_bound(entries_.begin(), entries_.end(), window,
                         [](const Entry &entry, HWND handle) { return entry.first < handle; });
    return at != entries_.end() && at->first == window ? at : entries_.end();
}

const winsim::WindowInfo &WindowTable::at(HWND window) const
{
    auto found = find(window);
    if (found == end())
        throw std::out_of_range("no such window in the snapshot");
    return found->second;
}

void Take(Snapshot *snap)
{
    snap->windows.Fill();
    std::memcpy(&snap->state, &gPluginState, sizeof snap->state);
    snap->cursor = winsim::CursorCount();
    snap->active = winsim::ActiveWindow();
    snap->focus = winsim::FocusWindow();
}

namespace {

// What changed of one window that both snapshots hold.
void CompareWindow(HWND handle, const winsim::WindowInfo &was, const winsim::WindowInfo &now,
                   Changes *c)
{
    DWORD wasStyle = static_cast<DWORD>(was.style), nowStyle = static_cast<DWORD>(now.style);
    if ((wasStyle ^ nowStyle) & ~kStateBits)
        c->style.push_back(handle);
    if ((wasStyle ^ nowStyle) & kMinMax)
        c->minMax.push_back(handle);
    if ((wasStyle & WS_VISIBLE) != (nowStyle & WS_VISIBLE))
        ((nowStyle & WS_VISIBLE) ? c->shown : c->hidden).push_back(handle);
    if ((wasStyle & WS_DISABLED) != (nowStyle & WS_DISABLED))
        ((nowStyle & WS_DISABLED) ? c->disabled : c->enabled).push_back(handle);
    if (was.exStyle != now.exStyle)
        c->exStyle.push_back(handle);
    if (was.classStyle != now.classStyle)
        c->classStyle.push_back(handle);
    if (!SameRect(was.rect, now.rect))
        c->rect.push_back(handle);
    if (was.title != now.title)
        c->title.push_back(handle);
    if (was.menu != now.menu)
        c->menu.push_back(handle);
}

}  // namespace

Changes Compare(const Snapshot &before, const Snapshot &after)
{
    Changes c;
    for (const auto &[handle, was] : before.windows) {
        auto found = after.windows.find(handle);
        if (found == after.windows.end())
            c.destroyed.push_back(handle);
        else
            CompareWindow(handle, was, found->second, &c);
    }
    for (const auto &entry : after.windows)
        if (before.windows.count(entry.first) == 0)
            c.created.push_back(entry.first);
    return c;
}

namespace {

// Every way a window can change, in the order they are described; all but
// the first are of windows that existed before.
struct ChangeKind {
    const char *name;
    std::vector<HWND> Changes::*windows;
};
const ChangeKind kChangeKinds[] = {
    {"created", &Changes::created},       {"destroyed", &Changes::destroyed},
    {"style", &Changes::style},           {"exstyle", &Changes::exStyle},
    {"classstyle", &Changes::classStyle}, {"shown", &Changes::shown},
    {"hidden", &Changes::hidden},         {"enabled", &Changes::enabled},
    {"disabled", &Changes::disabled},     {"rect", &Changes::rect},
    {"title", &Changes::title},           {"menu", &Changes::menu},
    {"min/max", &Changes::minMax},
};

}  // namespace

std::vector<HWND> AllChanged(const Changes &c)
{
    std::vector<HWND> all;
    for (const ChangeKind &kind : kChangeKinds)
        if (kind.windows != &Changes::created)
            all.insert(all.end(), (c.*kind.windows).begin(), (c.*kind.windows).end());
    return all;
}

std::string Describe(const Changes &c)
{
    std::string out;
    for (const ChangeKind &kind : kChangeKinds)
        for (HWND h : c.*kind.windows)
            out += std::string(" ") + kind.name + " " + winsim::Str(h);
    return out.empty() ? " nothing" : out;
}

}  // namespace fuzz
