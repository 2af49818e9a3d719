// The oracle of a document window's appearance: visibility and the enabled
// state, the frame styles and the dialog-like frame, the title; and the
// document states that showing a document or the sizing pair may hand over.
#include "Oracle.h"

namespace fuzz {
namespace {

// The frame commands: the style bits each inverts, the bit tested first and
// whether the command needs it set.
struct FrameRule {
    uint32_t id;
    bool classWord;
    DWORD mask;
    DWORD test;
    bool needSet;
};
const FrameRule kFrameRules[] = {
    {kDoHideWindowTitle, false, WS_CAPTION, WS_CAPTION, true},
    {kDoShowWindowTitle, false, WS_CAPTION, WS_CAPTION, false},
    {kDoHideWindowSizing, false, WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME, WS_MAXIMIZEBOX,
     true},
    {kDoShowWindowSizing, false, WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME, WS_MAXIMIZEBOX,
     false},
    {kDoHideWindowClose, true, CS_NOCLOSE, CS_NOCLOSE, false},
    {kDoShowWindowClose, true, CS_NOCLOSE, CS_NOCLOSE, true},
    {kDoHideWindowMenu, false, WS_SYSMENU, WS_SYSMENU, true},
    {kDoShowWindowMenu, false, WS_SYSMENU, WS_SYSMENU, false},
};
const DWORD kDialogStyleMask =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The documents whose state or rectangle changed, when all are documents of
// one MDI client; that client, or null.
HWND OneClient(const Snapshot &before, const Changes &c, std::vector<HWND> *changed)
{
    *changed = c.minMax;
    changed->insert(changed->end(), c.rect.begin(), c.rect.end());
    HWND client = NULL;
    for (HWND w : *changed) {
        if (!IsDocument(before, w) || (client != NULL && before.windows.at(w).parent != client))
            return NULL;
        client = before.windows.at(w).parent;
    }
    return client;
}

bool Maximized(const winsim::WindowInfo &w)
{
    return (static_cast<DWORD>(w.style) & WS_MAXIMIZE) != 0;
}

// What activating a document may change besides it: while a document is
// maximized, the MDI client hands the maximized state to the one it
// activates. Afterwards exactly one document of the client is maximized,
// one that was not before, while another one was; nothing outside that
// client changed its state or rectangle.
bool HandedOver(const Snapshot &before, const Snapshot &after, const Changes &c)
{
    std::vector<HWND> changed;
    HWND client = OneClient(before, c, &changed);
    if (changed.empty())
        return true;
    if (client == NULL)
        return false;
    int wasMaximized = 0, nowMaximized = 0, newlyMaximized = 0;
    for (const auto &entry : before.windows)
        if (entry.second.parent == client && Maximized(entry.second)) {
            ++wasMaximized;
            bool still =
                after.windows.count(entry.first) && Maximized(after.windows.at(entry.first));
            newlyMaximized -= still ? 1 : 0;
        }
    for (const auto &entry : after.windows)
        if (entry.second.parent == client && Maximized(entry.second)) {
            ++nowMaximized;
            ++newlyMaximized;
        }
    return wasMaximized > 0 && nowMaximized == 1 && newlyMaximized == 1;
}

// Kwzr-ShowWindow restores its own document from minimized or maximized
// (one minimized from maximized goes back to maximized): that one alone
// changes.
bool RestoredAlone(const Snapshot &before, const Snapshot &after, const Changes &c)
{
    std::vector<HWND> changed;
    OneClient(before, c, &changed);
    for (HWND w : changed)
        if (w != changed.front())
            return false;
    if (changed.empty())
        return true;
    DWORD was = static_cast<DWORD>(before.windows.at(changed.front()).style);
    DWORD now = static_cast<DWORD>(after.windows.at(changed.front()).style);
    return (was & WS_MINIMIZE) ? !(now & WS_MINIMIZE) : (was & WS_MAXIMIZE) && !(now & kMinMax);
}

}  // namespace

bool IsFrameCommand(uint32_t id)
{
    return (id >= kDoHideWindowTitle && id <= kDoDialogWindow) ||
           (id >= kDoHideWindowClose && id <= kDoShowWindowMenu);
}

// Kwzr-ShowWindow activates the document when it restores it, and keeps it
// as it is otherwise.
void CheckShowWindowStates(const CallSeen &call)
{
    if (!HandedOver(call.before, call.after, call.c) &&
        !RestoredAlone(call.before, call.after, call.c))
        Fail("window states", call.label + " changed" + Describe(call.c));
}

// The sizing pair keeps every document as it is: beneath a maximized
// document, or as an icon, the document is raised without the activation.
// Only a failing look at the documents' states can make them activate it
// while another one is maximized.
void CheckSizingPairStates(const CallSeen &call)
{
    bool lookFailed = FailedIn("GetWindow") || FailedIn("IsZoomed") || FailedIn("IsIconic");
    if (!(call.c.minMax.empty() && call.c.rect.empty()) &&
        !(lookFailed && HandedOver(call.before, call.after, call.c)))
        Fail("window states", call.label + " changed" + Describe(call.c));
}

void CheckTitleCommand(const CallSeen &call)
{
    if (call.Yes() && !call.faulted)
        ExpectOneDocument("window titles", call.c.title, call.before, false, call.id);
    else if (call.No() && !call.faulted)
        ExpectNone("window titles", call.c.title, call.id);
}

// The dialog-like frame inverts its style bits and the class's Close
// command of one document.
void CheckDialogFrame(const CallSeen &call)
{
    const Changes &c = call.c;
    if (call.Yes() && !call.faulted) {
        ExpectOneDocument("dialog frame", c.style, call.before, true, call.id);
        HWND w = c.style[0];
        const winsim::WindowInfo &was = call.before.windows.at(w), &now = call.after.windows.at(w);
        DWORD flipped = static_cast<DWORD>(was.style ^ now.style);
        DWORD classFlipped = was.classStyle ^ now.classStyle;
        if ((flipped & ~kStateBits) != kDialogStyleMask || classFlipped != CS_NOCLOSE)
            Fail("dialog frame", "inverted " + Hex(flipped) + " and class " + Hex(classFlipped));
    } else if (call.No() && !call.faulted) {
        ExpectNone("window styles", c.style, call.id);
        ExpectNone("class styles", c.classStyle, call.id);
        ExpectNone("window rectangles", c.rect, call.id);
    }
}

// The visibility and enabled-state commands change one document window in
// their way on "1", none on "0". ShowWindow and EnableWindow answer the
// earlier state, so a failing one cannot be told from success.
void CheckVisibilityCommand(const CallSeen &call)
{
    struct StateRule {
        uint32_t id;
        const char *what;
        std::vector<HWND> Changes::*changed;
        bool failureLooksDone;
    };
    static const StateRule kStateRules[] = {
        {kDoHideWindow, "windows hidden", &Changes::hidden, false},
        {kDoShowWindow, "windows shown", &Changes::shown, true},
        {kDoDisableWindow, "windows disabled", &Changes::disabled, true},
        {kDoEnableWindow, "windows enabled", &Changes::enabled, false},
    };
    for (const StateRule &rule : kStateRules) {
        if (rule.id != call.id)
            continue;
        if (call.Yes() && !(call.faulted && rule.failureLooksDone))
            ExpectOneDocument(rule.what, call.c.*rule.changed, call.before, true, call.id);
        else if (call.No())
            ExpectNone(rule.what, call.c.*rule.changed, call.id);
    }
}

namespace {

// A frame command that answered "1" inverted exactly its bits of a window
// that passed its test.
void CheckFrameInverted(const CallSeen &call, const FrameRule &rule,
                        const std::vector<HWND> &changed)
{
    if (changed.empty())
        Fail("frame", call.label + " answered 1 and changed nothing");
    const winsim::WindowInfo &was = call.before.windows.at(changed[0]);
    const winsim::WindowInfo &now = call.after.windows.at(changed[0]);
    DWORD wasWord = rule.classWord ? was.classStyle : static_cast<DWORD>(was.style);
    DWORD nowWord = rule.classWord ? now.classStyle : static_cast<DWORD>(now.style);
    if (((wasWord ^ nowWord) & ~kStateBits) != rule.mask)
        Fail("frame", call.label + " inverted " + Hex(wasWord ^ nowWord));
    if (((wasWord & rule.test) != 0) != rule.needSet)
        Fail("frame", call.label + " acted on a window it should have refused");
    // The class word is shared by every window of the class.
    for (HWND w : changed)
        if (call.after.windows.at(w).className != now.className)
            Fail("frame", call.label + " changed the class words of two classes");
    if (!rule.classWord)
        ExpectOneDocument("frame", changed, call.before, true, call.id);
    else if (!IsDocument(call.before, changed[0]) && changed.size() == 1)
        Fail("frame", call.label + " changed the class of a window that is not a document");
}

}  // namespace

void CheckFrameCommand(const CallSeen &call)
{
    for (const FrameRule &rule : kFrameRules) {
        if (rule.id != call.id || call.faulted)
            continue;
        if (call.Yes()) {
            CheckFrameInverted(call, rule, rule.classWord ? call.c.classStyle : call.c.style);
        } else if (call.No()) {
            ExpectNone("window styles", call.c.style, call.id);
            ExpectNone("class styles", call.c.classStyle, call.id);
        }
    }
}

}  // namespace fuzz
