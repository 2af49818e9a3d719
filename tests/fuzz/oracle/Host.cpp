// The oracle of the host's side of the plug-in: the entry point's messages,
// the dispatch of an external call to the checks of each part, the result
// text, start-up and shut-down with what shut-down gives back, and what is
// checked after every message.
#include "Oracle.h"

#include "Answers.h"
#include "Plugin.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace fuzz {

void PrintCallLog()
{
    for (const auto &call : winsim::CallLog())
        std::fprintf(stderr, "  %s%s\n", winsim::Format(call).c_str(),
                     call.failed ? " (failed)" : "");
}

void Fail(const char *what, const std::string &detail)
{
    // The platform calls of the message that broke it.
    PrintCallLog();
    std::fprintf(stderr, "invariant broken: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool Called(size_t index, const char *function)
{
    return std::strcmp(winsim::CallFunction(index), function) == 0;
}

bool MessageFaulted()
{
    for (size_t i = 0; i < winsim::CallLogSize(); ++i)
        if (winsim::CallFailed(i))
            return true;
    return false;
}

bool FailedIn(const char *function)
{
    for (size_t i = 0; i < winsim::CallLogSize(); ++i)
        if (winsim::CallFailed(i) && Called(i, function))
            return true;
    return false;
}

void NoteFailures(Excuses *excuses)
{
    bool faulted = MessageFaulted();
    std::vector<winsim::Call> unregisters;
    size_t unregister = 0;
    for (size_t i = 0; i < winsim::CallLogSize(); ++i) {
        if (Called(i, "UnregisterClassA")) {
            if (unregisters.empty())
                unregisters = winsim::CallsTo("UnregisterClassA");
            if (unregisters.at(unregister++).result == "0") {
                // A cover that an earlier lying IsWindow let the plug-in lose
                // keeps the class in use.
                if (!faulted && !excuses->isWindowFailed)
                    Fail("cover class", "shut-down could not unregister it without a failing call");
                excuses->classLeftRegistered = true;
            }
        }
        if (!winsim::CallFailed(i))
            continue;
        excuses->isWindowFailed |= Called(i, "IsWindow");
        excuses->closeKeyFailed |= Called(i, "RegCloseKey");
    }
}

void ExpectOneDocument(const char *what, const std::vector<HWND> &changed, const Snapshot &before,
                       bool exactlyOne, uint32_t id)
{
    if (changed.size() > 1 || (exactlyOne && changed.empty()) ||
        (!changed.empty() && !IsDocument(before, changed[0])))
        Fail(what, "function " + std::to_string(id) + ": " + std::to_string(changed.size()) +
                       " windows changed");
}

void ExpectNone(const char *what, const std::vector<HWND> &changed, uint32_t id)
{
    if (!changed.empty())
        Fail(what, "function " + std::to_string(id) + " changed " + winsim::Str(changed[0]));
}

namespace {

bool ClassRegistered()
{
    for (const auto &c : winsim::RegisteredClasses())
        if (c == LOOMVANE_COVER_CLASS)
            return true;
    return false;
}

}  // namespace

// now is the desktop as the message left it.
void CheckState(const fmhost::HostSession &host, const Excuses &excuses, const Snapshot &now)
{
    if (host.ForbiddenCallbackCalls() != 0)
        Fail("host callbacks", "a forbidden callback was called");
    if (winsim::OpenKeyCount() != 0 && !excuses.closeKeyFailed)
        Fail("registry", "a key was left open");
    bool registered = ClassRegistered();
    if (gPluginState.coverClassRegistered && !registered)
        Fail("cover class", "recorded as registered but is not");
    if (registered && !gPluginState.coverClassRegistered && !excuses.classLeftRegistered)
        Fail("cover class", "registered but not recorded as registered");
    size_t covers = 0;
    for (const auto &[handle, info] : now.windows)
        covers += info.parent == NULL && info.className == LOOMVANE_COVER_CLASS ? 1 : 0;
    // Only an IsWindow that denies an existing window can make the plug-in
    // lose track of its cover, and then make another.
    if (covers > 1 && !excuses.isWindowFailed)
        Fail("cover window", std::to_string(covers) + " cover windows");
    // Before the first start-up the record is all zero: no cover, yet not
    // marked absent.
    if (!gPluginState.coverAbsent && gPluginState.coverWindow != NULL &&
        now.windows.count(gPluginState.coverWindow) == 0 &&
        excuses.coversDestroyedByOthers.count(gPluginState.coverWindow) == 0)
        Fail("cover window", "recorded as shown but gone");
    if (gPluginState.coverAbsent && covers != 0 && !excuses.isWindowFailed)
        Fail("cover window", "left behind");
    if (gPluginState.prefText[sizeof gPluginState.prefText - 1] != '\0' &&
        std::string(gPluginState.prefText, sizeof gPluginState.prefText).find('\0') ==
            std::string::npos)
        Fail("preference text", "not terminated");
}

// ---- External calls ----

void CheckResult(const fmhost::CallRequest &request, const fmhost::CallOutcome &out)
{
    if (out.staleWrite)
        Fail("result", "written through a stale pointer");
    if (request.functionId >= LOOMVANE_FUNCTION_COUNT || request.memoryErrorOnResize) {
        if (out.result != kUntouchedResult)
            Fail("result", "written although it must not be: " + out.result);
    } else if (!fmhost::IsPossibleAnswer(request.functionId, out.result)) {
        Fail("answer", std::to_string(request.functionId) + " answered " + out.result);
    }
    if (request.functionId < LOOMVANE_FUNCTION_COUNT && out.resizes != 1)
        Fail("result", std::to_string(out.resizes) + " resizes of the result handle");
}

namespace {

// A function id above 26 does nothing but beep.
void CheckUnknownFunction(const CallSeen &call)
{
    if (call.c.Count() != 0 || !SameState(call.before.state, call.after.state) ||
        call.before.cursor != call.after.cursor)
        Fail("unknown function", call.label + " changed" + Describe(call.c));
    for (size_t i = 0; i < winsim::CallLogSize(); ++i)
        if (!Called(i, "MessageBeep"))
            Fail("unknown function", call.label + " called " + winsim::CallFunction(i));
}

bool IsMenuBarCommand(uint32_t id)
{
    return id == kDoHideMenuBar || id == kDoShowMenuBar;
}

// The commands that activate a document.
bool Activates(uint32_t id)
{
    return id == kDoShowWindow || id == kDoHideWindowSizing || id == kDoShowWindowSizing;
}

bool EnablesOrDisables(uint32_t id)
{
    return id == kDoDisableWindow || id == kDoEnableWindow;
}

// A way a window changes, and the functions that may change windows so.
struct ScopeRule {
    const char *what;
    std::vector<HWND> Changes::*changed;
    bool (*mayChange)(uint32_t id);
};

const ScopeRule kWindowParts[] = {
    {"windows created", &Changes::created, [](uint32_t id) { return id == kDoHideBackground; }},
    {"windows destroyed", &Changes::destroyed, [](uint32_t id) { return id == kDoShowBackground; }},
    {"window titles", &Changes::title, [](uint32_t id) { return id == kDoSetWindowTitle; }},
    {"menus", &Changes::menu, IsMenuBarCommand},
    {"window styles", &Changes::style, IsFrameCommand},
    {"extended styles", &Changes::exStyle, IsFrameCommand},
    {"class styles", &Changes::classStyle,
     [](uint32_t id) {
         return id == kDoDialogWindow || id == kDoHideWindowClose || id == kDoShowWindowClose;
     }},
};

const ScopeRule kWindowStates[] = {
    // No other function changes a document's state: the menu bar's show
    // has the MDI client put buttons in without restoring anything.
    {"window states", &Changes::minMax, Activates},
    {"windows disabled", &Changes::disabled, EnablesOrDisables},
    {"windows enabled", &Changes::enabled, EnablesOrDisables},
    {"windows hidden", &Changes::hidden,
     [](uint32_t id) {
         return id == kDoHideWindow || id == kDoShowBackground || id == kDoHideTaskBar;
     }},
    {"windows shown", &Changes::shown,
     [](uint32_t id) { return Activates(id) || id == kDoShowTaskBar; }},
};

void ExpectOnlyAllowed(const ScopeRule *rules, size_t count, const CallSeen &call)
{
    for (size_t i = 0; i < count; ++i)
        if (!rules[i].mayChange(call.id))
            ExpectNone(rules[i].what, call.c.*rules[i].changed, call.id);
}

// Which rectangles and document states a function may change.
void CheckRectanglesAndStates(const CallSeen &call)
{
    uint32_t id = call.id;
    if (IsMenuBarCommand(id))
        CheckMenuBarLayout(call);
    else if (id == kDoShowWindow)
        CheckShowWindowStates(call);
    else if (id == kDoHideWindowSizing || id == kDoShowWindowSizing)
        CheckSizingPairStates(call);
    else if (id != kDoWindowResize && id != kDoWindowRelocate)
        // The frame commands recalculate the frame in place.
        ExpectNone("window rectangles", call.c.rect, id);
}

// What no other function touches, whatever it answered.
void CheckOnlyItsOwnChanges(const CallSeen &call)
{
    uint32_t id = call.id;
    ExpectOnlyAllowed(kWindowParts, sizeof kWindowParts / sizeof kWindowParts[0], call);
    CheckRectanglesAndStates(call);
    ExpectOnlyAllowed(kWindowStates, sizeof kWindowStates / sizeof kWindowStates[0], call);
    if (id != kDoHideCursor && id != kDoShowCursor && call.before.cursor != call.after.cursor)
        Fail("cursor", call.label + " moved the cursor counter");
    if (id > kDoShowCursor && id != kDoHideTaskBar && id != kDoShowTaskBar &&
        !SameState(call.before.state, call.after.state))
        Fail("state record", call.label + " changed it");
}

// What the function's own answer says it did, by the part it belongs to.
void CheckAnswerEffects(const CallSeen &call)
{
    switch (call.id) {
    case kDoHideMenuBar:
    case kDoShowMenuBar:
        CheckMenuBarCommand(call);
        break;
    case kDoHideBackground:
        CheckCoverMade(call);
        break;
    case kDoShowBackground:
        CheckCoverRemoved(call);
        break;
    case kDoHideCursor:
    case kDoShowCursor:
        CheckCursorCommand(call);
        break;
    case kDoWindowResize:
    case kDoWindowRelocate:
        CheckMoveOrResize(call);
        break;
    case kDoGetWindowSize:
    case kDoGetWindowSizeABS:
        CheckSizeQuery(call);
        break;
    case kDoSetWindowTitle:
        CheckTitleCommand(call);
        break;
    case kDoHideTaskBar:
    case kDoShowTaskBar:
        CheckTaskBarCommand(call);
        break;
    case kDoDialogWindow:
        CheckDialogFrame(call);
        break;
    default:
        break;
    }
    CheckVisibilityCommand(call);
    CheckFrameCommand(call);
}

}  // namespace

// What an external call did, against what the function may do.
void CheckCallEffects(const fmhost::CallRequest &request, const std::string &answer, bool known,
                      bool faulted, const Snapshot &before, const Snapshot &after)
{
    CallSeen call{request,
                  request.functionId,
                  answer,
                  known,
                  faulted,
                  before,
                  after,
                  Compare(before, after),
                  "function " + std::to_string(request.functionId)};
    if (call.id >= LOOMVANE_FUNCTION_COUNT) {
        CheckUnknownFunction(call);
        return;
    }
    // A style word that a failing read gave as 0 is written back as the
    // frame bits alone: the window loses WS_CHILD, WS_VISIBLE and the rest,
    // which the platform would never report for a window that exists. What
    // such a window then looks like is no test of the plug-in.
    if (FailedIn("GetWindowLongA") || FailedIn("GetClassLongA"))
        return;
    CheckOtherProcesses(call);
    CheckZeroBytes(call);
    CheckOnlyItsOwnChanges(call);
    CheckHungShell(call);
    if (!known)
        return;
    CheckAnswerEffects(call);
}

// ---- Start-up ----

StartupExpectation ExpectStartup(int16_t version, bool registryModelled)
{
    StartupExpectation e;
    e.modelled = true;
    if (version < 4 || version > 255) {
        e.reply = kFMXStartupBadVersion;
        return e;
    }
    if (!registryModelled) {
        e.modelled = false;
        return e;
    }
    if (!ExpectedLoad(&e.text))
        e.reply = kFMXStartupFailed;
    else if (!gPluginState.coverClassRegistered && ClassRegistered())
        e.reply = kFMXStartupFailed;  // a class left behind by a failed shut-down
    else
        e.reply = kFMXStartupOK;
    return e;
}

namespace {

void CheckStartup(int16_t version, intptr_t reply, const StartupExpectation &expected, bool faulted,
                  const Snapshot &before, const Snapshot &after)
{
    std::string label = "version " + std::to_string(version) + " answered " + std::to_string(reply);
    if (reply != kFMXStartupOK && reply != kFMXStartupBadVersion && reply != kFMXStartupFailed)
        Fail("start-up", label);
    bool refused = version < 4 || version > 255;
    if (refused != (reply == kFMXStartupBadVersion))
        Fail("start-up", label);
    if (refused && (winsim::CallLogSize() != 0 || !SameState(before.state, after.state)))
        Fail("start-up", "a refused version touched something");
    if (reply == kFMXStartupOK) {
        int generation = version == 12 ? kHostGeneration3 : kHostGeneration5;
        // A detached menu bar stays recorded while its window exists.
        // (An IsWindow made to deny the window makes it forget the record.)
        bool detached = !before.state.menuBarShown && before.state.menuSource != NULL &&
                        before.windows.count(before.state.menuSource) != 0 && !FailedIn("IsWindow");
        if (!gPluginState.coverClassRegistered || gPluginState.HostVersion != generation ||
            (gPluginState.menuBarShown == detached && !FailedIn("IsWindow")))
            Fail("start-up", label + " but the record is not that of a started plug-in");
    }
    Changes c = Compare(before, after);
    if (c.Count() != 0)
        Fail("start-up", "changed" + Describe(c));
    if (expected.modelled && !faulted) {
        if (reply != expected.reply)
            Fail("start-up", label + ", expected " + std::to_string(expected.reply));
        if (reply == kFMXStartupOK && gPluginState.prefText != expected.text)
            Fail("start-up", std::string("loaded \"") + gPluginState.prefText + "\", expected \"" +
                                 expected.text + "\"");
    }
}

// ---- Shut-down ----

// Shut-down changes only the cover, the task bars and the Start button, the
// menu bar's own window and, when that gets its menu back, the windows laid
// out again inside it.
void CheckGiveBackScope(const Snapshot &before, const Snapshot &after, const Changes &c)
{
    for (HWND w : c.destroyed)
        if (w != before.state.coverWindow)
            Fail("shut-down", "destroyed " + winsim::Str(w));
    // A menu bar put back changes the application window's client area, which
    // the host lays out again: the windows inside it may move.
    bool menuBack =
        std::find(c.menu.begin(), c.menu.end(), before.state.menuSource) != c.menu.end();
    for (HWND w : AllChanged(c)) {
        const winsim::WindowInfo &was = before.windows.at(w);
        bool bar = IsTaskBarWindow(was) || IsStartButton(was);
        bool source = w == before.state.menuSource;
        bool cover = w == before.state.coverWindow;
        bool laidOut = menuBack && was.parent != NULL;
        if (!bar && !source && !cover && !laidOut)
            Fail("shut-down", "changed " + winsim::Str(w) + Describe(c));
    }
    for (HWND w : c.shown)
        if (!before.state.taskBarHidden)
            Fail("shut-down", "showed " + winsim::Str(w) + " without having hidden the task bar");
    for (HWND w : c.hidden)
        if (w != before.state.coverWindow)
            Fail("shut-down", "hid " + winsim::Str(w));
    if (after.active != before.active && before.windows.count(before.active) != 0 &&
        before.active != before.state.coverWindow)
        Fail("shut-down", "the active window changed");
}

void CheckTaskBarGivenBack(const Snapshot &before, const Snapshot &after)
{
    if (!before.state.taskBarHidden || !HasPrimaryTaskBar(before))
        return;
    // A hung shell is asked, not waited for: the bars are shown when it
    // wakes.
    if (gShell.hung)
        gShell.lands = kLandsShown;
    for (const auto &[handle, info] : after.windows)
        if ((IsTaskBarWindow(info) || IsStartButton(info)) &&
            !(static_cast<DWORD>(info.style) & WS_VISIBLE) && !gShell.hung)
            Fail("shut-down", "the task bar " + winsim::Str(handle) + " was not given back");
    if (after.state.taskBarHidden)
        Fail("shut-down", "the task bar is still recorded as hidden");
}

void CheckCursorGivenBack(const Snapshot &before, const Snapshot &after)
{
    if (before.state.cursorHidden && before.cursor < 0) {
        int expected = ExpectedCursorAfterShow(before.cursor);
        if (after.cursor != expected)
            Fail("shut-down", "the cursor counter went from " + std::to_string(before.cursor) +
                                  " to " + std::to_string(after.cursor));
    } else if (after.cursor != before.cursor) {
        Fail("shut-down", "moved the cursor counter");
    }
}

void CheckMenuBarGivenBack(const Snapshot &before, const Snapshot &after, const Changes &c)
{
    if (!before.state.menuBarShown) {
        HWND source = before.state.menuSource;
        HMENU menu = before.state.savedMenu;
        bool fits = before.windows.count(source) != 0 && menu != NULL && IsMenuQuietly(menu) &&
                    before.windows.at(source).menu == NULL;
        if (fits && after.windows.at(source).menu != menu)
            Fail("shut-down", "the detached menu bar was not put back on its window");
        std::string buttons = fits ? MenuButtonsProblem(source) : "";
        if (!buttons.empty())
            Fail("shut-down", buttons);
        if (!after.state.menuBarShown)
            Fail("shut-down", "the menu bar is still recorded as detached");
    }
    for (HWND w : c.menu)
        if (w != before.state.menuSource || before.state.menuBarShown)
            Fail("shut-down", "changed the menu of " + winsim::Str(w));
}

// Shut-down gives back what only the plug-in could: the task bar it hid, the
// menu bar it detached (to its own window, when that and the menu exist and
// the window has no menu bar again), the cursor it hid. It changes nothing
// else, document windows included.
void CheckGiveBack(const Snapshot &before, const Snapshot &after)
{
    Changes c = Compare(before, after);
    CheckGiveBackScope(before, after, c);
    CheckTaskBarGivenBack(before, after);
    CheckCursorGivenBack(before, after);
    CheckMenuBarGivenBack(before, after, c);
}

void CheckShutdown(bool faulted, const Excuses &excuses, const Snapshot &before,
                   const Snapshot &after)
{
    if (gShell.hung && !winsim::ThreadHung(winsim::kShellThread))
        Fail("shut-down", "waited on the hung shell");
    if (gShell.hung && (faulted || excuses.isWindowFailed))
        gShell.lands = kUnknown;
    // A cover that outlived its destruction points into the module no more.
    HWND cover = after.state.coverWindow;
    if (!after.state.coverAbsent && after.windows.count(cover) != 0 && !excuses.isWindowFailed &&
        !FailedIn("SetWindowLongPtrA"))
        if (winsim::Inspect(cover).proc != DefWindowProcA)
            Fail("shut-down", "a cover that outlived shut-down keeps the plug-in's procedure");
    if (faulted || excuses.isWindowFailed)
        return;
    CheckGiveBack(before, after);
    if (gPluginState.coverClassRegistered || !gPluginState.coverAbsent)
        Fail("shut-down", "the record still holds a cover or its class");
    if (ClassRegistered() && !excuses.classLeftRegistered)
        Fail("shut-down", "the cover class is still registered");
    for (HWND w : winsim::Children(NULL))
        if (winsim::Inspect(w).className == LOOMVANE_COVER_CLASS)
            Fail("shut-down", "a cover window is left");
}

}  // namespace

void CheckMessage(uint8_t code, intptr_t preset, intptr_t reply, int16_t version,
                  const StartupExpectation &startup, const Snapshot &before, const Snapshot &after,
                  const Excuses &excuses)
{
    bool faulted = MessageFaulted();
    switch (code) {
    case kFMXInit:
        CheckStartup(version, reply, startup, faulted, before, after);
        break;
    case kFMXExternal:
        break;  // the previous call's function id, with handles the host has taken back
    case kFMXShutdown:
        CheckShutdown(faulted, excuses, before, after);
        break;
    case kFMXDoAppPreferences:
        CheckPreferences(faulted, before, after);
        break;
    default: {
        // Idle and every unknown code: nothing at all.
        Changes c = Compare(before, after);
        if (winsim::CallLogSize() != 0 || c.Count() != 0 || !SameState(before.state, after.state) ||
            reply != preset)
            Fail("message", "code " + std::to_string(code) + " did something:" + Describe(c));
        break;
    }
    }
}

}  // namespace fuzz
