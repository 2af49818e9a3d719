// The oracle of the desktop commands: the menu bar and the buttons of a
// maximized document in it, the task bar and a shell that answers nothing,
// the cursor counter, and the cover with what its procedure does when the
// displays change or the host is active again.
#include "Oracle.h"

#include <algorithm>

namespace fuzz {

bool IsTaskBarWindow(const winsim::WindowInfo &w)
{
    return w.parent == NULL && w.title.empty() &&
           (w.className == "Shell_TrayWnd" || w.className == "Shell_SecondaryTrayWnd");
}

// The Start button as the plug-in knows it: a top-level "Button" of the
// shell's thread.
bool IsStartButton(const winsim::WindowInfo &w)
{
    return w.parent == NULL && w.className == "Button" && w.thread == winsim::kShellThread;
}

bool HasPrimaryTaskBar(const Snapshot &snap)
{
    for (const auto &entry : snap.windows) {
        const winsim::WindowInfo &w = entry.second;
        if (w.parent == NULL && w.className == "Shell_TrayWnd" && w.title.empty())
            return true;
    }
    return false;
}

int ExpectedCursorAfterShow(int count)
{
    for (int step = 1; step <= 19 && count < 0; ++step)
        ++count;
    return count;
}

bool IsMenuQuietly(HMENU menu)
{
    winsim::Quiet quiet;
    return IsMenu(menu) != FALSE;
}

// The buttons of a maximized document that the application window's menu
// bar holds (its window menu first, close last) against those the MDI
// client's state calls for: the active document's when it is maximized and
// shown and has a window menu; its own or none when it is hidden; none
// otherwise.
std::string MenuButtonsProblem(HWND application)
{
    winsim::Quiet quiet;
    HMENU menu = GetMenu(application);
    if (menu == NULL)
        return std::string();
    HMENU first = GetSubMenu(menu, 0);
    bool held = GetMenuItemID(menu, GetMenuItemCount(menu) - 1) == SC_CLOSE;
    HWND mdiClient = FindWindowExA(application, NULL, "MDIClient", NULL);
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(
        SendMessageA(mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    HMENU windowMenu = maximized ? GetSystemMenu(active, FALSE) : NULL;
    bool own = held && windowMenu != NULL && first == windowMenu;
    if (maximized && windowMenu != NULL && IsWindowVisible(active) && !own)
        return "the menu bar lacks the buttons of the maximized " + winsim::Str(active);
    if (held && !own)
        return "the menu bar holds the buttons of a document not maximized";
    return std::string();
}

// ---- Menu bar ----

// A menu bar taken off or put back changes the application window's client
// area, which the host lays out again; only the windows inside it move.
void CheckMenuBarLayout(const CallSeen &call)
{
    for (HWND w : call.c.rect)
        if (call.before.windows.at(w).parent == NULL)
            Fail("window rectangles",
                 "function " + std::to_string(call.id) + " moved " + winsim::Str(w));
}

namespace {

// A menu bar taken off the window the record then names, or put back only
// on the window it came from.
void CheckMenuBarMoved(const CallSeen &call, bool hide)
{
    const Snapshot &before = call.before, &after = call.after;
    if (after.state.menuBarShown == hide)
        Fail("menu bar", call.label + " answered 1 but the record disagrees");
    if (call.c.menu.size() > 1)
        Fail("menu bar", call.label + " changed several menus");
    if (hide && !call.faulted &&
        (after.state.menuSource == NULL || after.windows.count(after.state.menuSource) == 0 ||
         after.windows.at(after.state.menuSource).parent != NULL))
        Fail("menu bar", "the window the menu came from is not recorded");
    for (HWND w : call.c.menu) {
        if (hide && w != after.state.menuSource)
            Fail("menu bar", "the menu was taken off another window than the recorded one");
        if (!hide && w != before.state.menuSource)
            Fail("menu bar", "the menu went to another window than its own");
        HMENU now = after.windows.at(w).menu;
        // A failing GetMenu cannot be told from a window without one.
        if (hide &&
            (now != NULL || (!call.faulted && after.state.savedMenu != before.windows.at(w).menu)))
            Fail("menu bar", "the detached menu was not kept");
        if (!hide && now != before.state.savedMenu)
            Fail("menu bar", "another menu than the kept one was attached");
    }
    // The kept menu is on an application window afterwards.
    bool attached = before.state.savedMenu == NULL;
    for (const auto &entry : after.windows)
        attached |= entry.second.parent == NULL && entry.second.menu == before.state.savedMenu;
    if (!hide && !call.faulted && !attached)
        Fail("menu bar", "answered 1 but the kept menu is on no window");
    std::string buttons = hide || call.faulted ? "" : MenuButtonsProblem(before.state.menuSource);
    if (!buttons.empty())
        Fail("menu bar", call.label + ": " + buttons);
}

// A command that answered "0" changes the record only when a show forgets
// a menu whose window or menu is gone, and then must.
void CheckMenuBarRefused(const CallSeen &call, bool hide)
{
    const Snapshot &before = call.before, &after = call.after;
    ExpectNone("menus", call.c.menu, call.id);
    bool gone = before.windows.count(before.state.menuSource) == 0 ||
                (before.state.savedMenu != NULL && !IsMenuQuietly(before.state.savedMenu));
    bool forgot = !hide && !before.state.menuBarShown && after.state.menuBarShown &&
                  after.state.savedMenu == NULL && after.state.menuSource == NULL;
    if (!SameState(before.state, after.state) && !(forgot && gone))
        Fail("menu bar", call.label + " answered 0 but changed the record");
    if (!hide && !before.state.menuBarShown && gone && !forgot)
        Fail("menu bar", "a show kept a menu whose window or menu is gone");
}

}  // namespace

void CheckMenuBarCommand(const CallSeen &call)
{
    bool hide = call.id == kDoHideMenuBar;
    if (call.Yes())
        CheckMenuBarMoved(call, hide);
    else if (call.No() && !call.faulted)
        CheckMenuBarRefused(call, hide);
}

// ---- Task bar ----

// A shell that answers nothing is never waited on; what the task bar
// commands asked of it lands when it wakes.
void CheckHungShell(const CallSeen &call)
{
    if ((call.id != kDoHideTaskBar && call.id != kDoShowTaskBar) || !gShell.hung)
        return;
    if (!winsim::ThreadHung(winsim::kShellThread))
        Fail("task bar", call.label + " waited on the hung shell");
    if (!call.c.shown.empty() || !call.c.hidden.empty())
        Fail("task bar", call.label + " changed the hung shell's windows" + Describe(call.c));
    if (call.faulted)
        gShell.lands = kUnknown;
    else if (HasPrimaryTaskBar(call.before))
        gShell.lands = call.id == kDoShowTaskBar ? kLandsShown : kLandsHidden;
}

void CheckTaskBarCommand(const CallSeen &call)
{
    const Snapshot &before = call.before, &after = call.after;
    bool show = call.id == kDoShowTaskBar;
    if (call.faulted)
        return;
    if (!HasPrimaryTaskBar(before)) {
        // Nothing to hide or show.
        if (!call.No() || call.c.Count() != 0 || !SameState(before.state, after.state))
            Fail("task bar", call.label + " answered " + call.answer + " without a task bar");
        return;
    }
    if (!call.Yes() || after.state.taskBarHidden != !show)
        Fail("task bar", call.label + " answered " + call.answer + " with a task bar");
    // Shown without taking the activation, and only the host's own
    // window brought to the top: the activation stays with the host.
    if (show && after.active != before.active &&
        (after.windows.count(after.active) == 0 ||
         after.windows.at(after.active).process != winsim::kOwnProcess))
        Fail("task bar", call.label + " handed the activation to " + winsim::Str(after.active));
    if (gShell.hung)
        return;  // the requests wait for the shell to wake
    for (const auto &[handle, info] : after.windows) {
        bool shown = (static_cast<DWORD>(info.style) & WS_VISIBLE) != 0;
        if ((IsTaskBarWindow(info) || IsStartButton(info)) && shown != show)
            Fail("task bar",
                 call.label + " left " + winsim::Str(handle) + (shown ? " shown" : " hidden"));
    }
}

// The shell woke: what it was last asked lands on every bar.
void CheckShellWoke(const Snapshot &before, const Snapshot &after)
{
    if (gShell.lands == kUnknown)
        return;
    for (const auto &[handle, info] : after.windows) {
        if (!IsTaskBarWindow(info) && !IsStartButton(info))
            continue;
        bool shown = (static_cast<DWORD>(info.style) & WS_VISIBLE) != 0;
        bool wasShown = (static_cast<DWORD>(before.windows.at(handle).style) & WS_VISIBLE) != 0;
        bool expected = gShell.lands == kNothingAsked ? wasShown : gShell.lands == kLandsShown;
        if (shown != expected)
            Fail("shell woke", winsim::Str(handle) + (shown ? " shown" : " hidden"));
    }
}

// ---- Cursor ----

namespace {

int ExpectedCursorAfterHide(int count)
{
    for (int step = 1; step <= 19 && count > -8; ++step)
        --count;
    return count;
}

}  // namespace

// The counter moves by exactly the expected steps, and the answer says
// whether the cursor ends hidden or shown as asked.
void CheckCursorCommand(const CallSeen &call)
{
    if (call.faulted)
        return;
    const Snapshot &before = call.before, &after = call.after;
    int expected = before.cursor;
    bool success = false;
    if (call.id == kDoHideCursor && before.cursor >= 0) {
        expected = ExpectedCursorAfterHide(before.cursor);
        success = expected < 0;
    } else if (call.id == kDoShowCursor && before.cursor < 0) {
        expected = ExpectedCursorAfterShow(before.cursor);
        success = expected >= 0;
    }
    if (after.cursor != expected || call.answer != (success ? "1" : "0"))
        Fail("cursor", call.label + " from " + std::to_string(before.cursor) + " left " +
                           std::to_string(after.cursor) + " and answered " + call.answer);
}

// ---- Cover ----

namespace {

// The whole virtual screen with the cover's overhang.
RECT CoverRect()
{
    winsim::Quiet quiet;
    RECT r;
    r.left = GetSystemMetrics(SM_XVIRTUALSCREEN) - 3;
    r.top = GetSystemMetrics(SM_YVIRTUALSCREEN) - 2;
    r.right = r.left + GetSystemMetrics(SM_CXVIRTUALSCREEN) + 6;
    r.bottom = r.top + GetSystemMetrics(SM_CYVIRTUALSCREEN) + 4;
    return r;
}

// The top-level window that the active one belongs to, through its parents
// and owners; null when no window of the plug-in's thread is active.
HWND RootOwnerOfActive(const Snapshot &snap)
{
    if (snap.windows.count(snap.active) == 0 ||
        snap.windows.at(snap.active).thread != winsim::kOwnThread)
        return NULL;
    HWND w = snap.active;
    for (int guard = 0; guard < 100 && w != NULL; ++guard) {
        const winsim::WindowInfo &info = snap.windows.at(w);
        HWND next = info.parent != NULL ? info.parent : info.owner;
        if (next == NULL || snap.windows.count(next) == 0)
            return w;
        w = next;
    }
    return w;
}

// The cover made is shown over every monitor, with the overhang; directly
// under the top-level window of what is active on the plug-in's thread,
// else under the host's own application window, or under everything when
// it has none; nothing activated.
void CheckCoverPlaced(const CallSeen &call, HWND made, const winsim::WindowInfo &cover)
{
    DWORD style = static_cast<DWORD>(cover.style);
    if (!call.faulted && (!(style & WS_VISIBLE) || !SameRect(cover.rect, CoverRect())))
        Fail("cover window", "not shown over the whole virtual screen");
    if (call.faulted)
        return;
    std::vector<HWND> order = winsim::Children(NULL);
    auto at = std::find(order.begin(), order.end(), made);
    HWND above = at == order.begin() ? NULL : *(at - 1);
    HWND host = RootOwnerOfActive(call.before);
    if (host == NULL)
        host = OwnApplicationWindow(call.before, order);
    if (host != NULL ? above != host : at + 1 != order.end())
        Fail("cover window", "not directly under the host's window " + winsim::Str(host) +
                                 " but under " + winsim::Str(above));
    if (call.after.active != call.before.active || call.after.focus != call.before.focus)
        Fail("cover window", "the active window or the focus changed");
}

}  // namespace

void CheckCoverMade(const CallSeen &call)
{
    const Changes &c = call.c;
    if (call.Yes()) {
        if (c.created.size() != 1 || call.after.state.coverAbsent ||
            call.after.state.coverWindow != c.created[0])
            Fail("cover window", "answered 1 without making the recorded cover");
        const winsim::WindowInfo &cover = call.after.windows.at(c.created[0]);
        DWORD style = static_cast<DWORD>(cover.style);
        if (cover.className != LOOMVANE_COVER_CLASS || cover.parent != NULL ||
            !(style & WS_DISABLED))
            Fail("cover window", "not a disabled top-level cover");
        const DWORD neverActive = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
        if ((static_cast<DWORD>(cover.exStyle) & neverActive) != neverActive)
            Fail("cover window",
                 "not a tool window that never activates: the user can "
                 "switch to it");
        CheckCoverPlaced(call, c.created[0], cover);
    } else if (call.No() && !call.faulted) {
        ExpectNone("windows created", c.created, call.id);
        if (!SameState(call.before.state, call.after.state))
            Fail("cover window", "answered 0 but changed the record");
    }
}

void CheckCoverRemoved(const CallSeen &call)
{
    const Snapshot &before = call.before, &after = call.after;
    if (call.Yes()) {
        if (!after.state.coverAbsent)
            Fail("cover window", "answered 1 but still recorded as shown");
        // Only an IsWindow that denies the cover can make the plug-in
        // believe a refused destruction went through.
        if (before.state.coverWindow != NULL && !FailedIn("IsWindow") &&
            after.windows.count(before.state.coverWindow) != 0)
            Fail("cover window", "answered 1 but the cover is still there");
    } else if (call.No() && !call.faulted) {
        ExpectNone("windows destroyed", call.c.destroyed, call.id);
        if (!SameState(before.state, after.state))
            Fail("cover window", "answered 0 but changed the record");
    }
    for (HWND w : call.c.destroyed)
        if (w != before.state.coverWindow)
            Fail("cover window", "destroyed a window that is not the cover");
}

namespace {

// The cover windows that still run the plug-in's procedure.
std::vector<HWND> LiveCovers(const Snapshot &snap)
{
    std::vector<HWND> covers;
    for (const auto &[handle, info] : snap.windows)
        if (info.parent == NULL && info.className == LOOMVANE_COVER_CLASS &&
            info.proc == BngdWndProc)
            covers.push_back(handle);
    return covers;
}

// Only the covers may move; nothing else changes.
void ExpectOnlyCoversMoved(const char *what, const Snapshot &before, const Snapshot &after)
{
    Changes c = Compare(before, after);
    std::vector<HWND> covers = LiveCovers(before);
    if (c.Count() != c.rect.size())
        Fail(what, "changed" + Describe(c));
    for (HWND w : c.rect)
        if (std::find(covers.begin(), covers.end(), w) == covers.end())
            Fail(what, "moved " + winsim::Str(w));
    if (!SameState(before.state, after.state))
        Fail(what, "changed the record");
}

}  // namespace

// The displays changed: every cover is fitted to the new virtual screen
// with the overhang, where it was in the Z order, and nothing is activated.
void CheckDisplayChange(bool faulted, const Snapshot &before, const Snapshot &after,
                        const std::vector<HWND> &orderBefore)
{
    ExpectOnlyCoversMoved("display change", before, after);
    if (winsim::Children(NULL) != orderBefore)
        Fail("display change", "the Z order changed");
    if (after.active != before.active || after.focus != before.focus)
        Fail("display change", "the active window or the focus changed");
    if (faulted)
        return;
    RECT screen = CoverRect();
    for (HWND cover : LiveCovers(after))
        if (!SameRect(after.windows.at(cover).rect, screen))
            Fail("display change", "the cover " + winsim::Str(cover) + " was not fitted");
}

// The host became active again after another program: every cover is back
// directly beneath the host's window (a second cover, which only a lying
// IsWindow can make, may lie between).
void CheckHostActiveAgain(bool faulted, const Snapshot &before, const Snapshot &after)
{
    ExpectOnlyCoversMoved("host active again", before, after);
    HWND host = RootOwnerOfActive(after);
    if (faulted || host == NULL)
        return;
    std::vector<HWND> order = winsim::Children(NULL);
    std::vector<HWND> covers = LiveCovers(after);
    auto isCover = [&covers](HWND w) {
        return std::find(covers.begin(), covers.end(), w) != covers.end();
    };
    for (HWND cover : covers) {
        auto at = std::find(order.begin(), order.end(), cover);
        while (at != order.begin() && isCover(*(at - 1)))
            --at;
        HWND above = at == order.begin() ? NULL : *(at - 1);
        if (above != host && !isCover(host))
            Fail("host active again", "the cover " + winsim::Str(cover) + " is under " +
                                          winsim::Str(above) + ", not the host's " +
                                          winsim::Str(host));
    }
}

}  // namespace fuzz
