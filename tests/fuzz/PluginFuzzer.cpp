// A libFuzzer target that drives the plug-in through FMExternCallProc alone,
// on a simulated desktop of a few host windows, with a registry, a task bar,
// a cursor counter and dialogs, all decoded from the fuzz input. After every
// message the invariants are checked; a violation aborts.
#include "Answers.h"
#include "FunctionList.h"
#include "HostSession.h"
#include "HostWindows.h"
#include "LoomvaneRes.h"
#include "Plugin.h"

#include <winsim.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

// The function ids by name, from the one function list.
enum FunctionId : uint32_t {
#define LOOMVANE_FUZZ_ID(id, name, handler, kind) k##handler = id,
    LOOMVANE_FUNCTIONS(LOOMVANE_FUZZ_ID)
#undef LOOMVANE_FUZZ_ID
};

const char kSettingsKey[] = LOOMVANE_SETTINGS_KEY;

// Pieces that make parameters likely to mean something to the plug-in.
const std::string kTokens[] = {"Orders", "Customers",
                               "",       "|",
                               "A",      "R",
                               "a",      "r",
                               "-",      "10",
                               "-20",    "16000",
                               "99999",  "123456",
                               "ab1",    "xy",
                               "p",      "Orders|",
                               "|ab1",   "0",
                               "#",      std::string(1, '\0')};
constexpr uint8_t kTokenCount = sizeof kTokens / sizeof kTokens[0];

struct Input {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
    uint32_t Long() { return Word() | (static_cast<uint32_t>(Word()) << 16); }
    std::string Text(size_t most)
    {
        std::string text;
        size_t length = Byte() % (most + 1);
        for (size_t i = 0; i < length && !Empty(); ++i) {
            uint8_t b = Byte();
            if (b < kTokenCount)
                text += kTokens[b];
            else if (b < 24)
                text += std::string(b == 23 ? 59 : 58, 't');
            else
                text += static_cast<char>(b);
        }
        return text;
    }
};

void Fail(const char *what, const std::string &detail)
{
    // The platform calls of the message that broke it.
    for (const auto &call : winsim::CallLog())
        std::fprintf(stderr, "  %s%s\n", winsim::Format(call).c_str(),
                     call.failed ? " (failed)" : "");
    std::fprintf(stderr, "invariant broken: %s: %s\n", what, detail.c_str());
    std::abort();
}

// What the desktop did to the plug-in so far, which excuses some states.
struct Excuses {
    std::set<HWND> coversDestroyedByOthers;
    bool isWindowFailed = false;
    bool closeKeyFailed = false;
    // A shut-down that met a failing platform call and could not unregister
    // the class forgets it all the same; the class then outlives the record.
    bool classLeftRegistered = false;
};

// The log is read through its summary, which formats nothing; only the
// results of the few calls that are judged by them are made into text.
bool Called(size_t index, const char *function)
{
    return std::strcmp(winsim::CallFunction(index), function) == 0;
}

// True when a platform call of the message in progress was made to fail.
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

// ---- What each message may change ----

// Every window by handle, looked up as in a map; filled again in place by
// each snapshot.
class WindowTable {
public:
    using Entry = std::pair<HWND, winsim::WindowInfo>;
    using const_iterator = std::vector<Entry>::const_iterator;

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    const_iterator find(HWND window) const
    {
        auto at =
            std::lower_bound(entries_.begin(), entries_.end(), window,
                             [](const Entry &entry, HWND handle) { return entry.first < handle; });
        return at != entries_.end() && at->first == window ? at : entries_.end();
    }
    size_t count(HWND window) const { return find(window) != end() ? 1 : 0; }
    const winsim::WindowInfo &at(HWND window) const
    {
        auto found = find(window);
        if (found == end())
            throw std::out_of_range("no such window in the snapshot");
        return found->second;
    }
    void Fill() { winsim::InspectAll(&entries_); }

private:
    std::vector<Entry> entries_;
};

struct Snapshot {
    WindowTable windows;
    PluginState state;
    int cursor = 0;
    HWND active = NULL;  // of the desktop, whatever its thread
    HWND focus = NULL;
};

void Take(Snapshot *snap)
{
    snap->windows.Fill();
    std::memcpy(&snap->state, &gPluginState, sizeof snap->state);
    snap->cursor = winsim::CursorCount();
    snap->active = winsim::ActiveWindow();
    snap->focus = winsim::FocusWindow();
}

// ---- The desktop's parts ----

// A shell that answers no message: what the requests the task bar commands
// and shut-down left with it will do once it wakes.
enum ShellLanding { kNothingAsked = -2, kUnknown = -1, kLandsHidden = 0, kLandsShown = 1 };
struct HungShell {
    bool hung = false;
    int lands = kNothingAsked;
} gShell;

bool IsPrimaryTaskBar(const winsim::WindowInfo &w)
{
    return w.parent == NULL && w.className == "Shell_TrayWnd" && w.title.empty();
}

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
    for (const auto &entry : snap.windows)
        if (IsPrimaryTaskBar(entry.second))
            return true;
    return false;
}

// The fields of the parameter as the plug-in sees them: the bytes the host
// reports, cut at every "|" (the code page is single-byte).
std::vector<std::string> VisibleFields(const fmhost::CallRequest &request)
{
    std::string text = request.parameter;
    if (request.reportedParameterSize) {
        int32_t reported = *request.reportedParameterSize;
        text = reported <= 0 ? std::string() : text.substr(0, static_cast<size_t>(reported));
    }
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '|')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

std::string FieldOf(const std::vector<std::string> &fields, size_t number)
{
    return number <= fields.size() ? fields[number - 1] : std::string();
}

// A title of at most 58 characters, or a code of 1 to 3, that holds a zero
// byte: it names no window.
bool NamesNoWindow(const std::string &field, size_t longest, size_t shortest = 0)
{
    return field.size() >= shortest && field.size() <= longest &&
           field.find('\0') != std::string::npos;
}

// now is the desktop as the message left it.
void CheckState(const fmhost::HostSession &host, const Excuses &excuses, const Snapshot &now)
{
    if (host.ForbiddenCallbackCalls() != 0)
        Fail("host callbacks", "a forbidden callback was called");
    if (winsim::OpenKeyCount() != 0 && !excuses.closeKeyFailed)
        Fail("registry", "a key was left open");
    auto classes = winsim::RegisteredClasses();
    bool registered = false;
    for (const auto &c : classes)
        registered |= c == LOOMVANE_COVER_CLASS;
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

bool SameState(const PluginState &a, const PluginState &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The style bits that are a window's state, not its frame: shown, enabled,
// minimized, maximized. Changes of the first two and of the last two are
// told apart from style changes.
const DWORD kShownAndEnabled = WS_VISIBLE | WS_DISABLED;
const DWORD kMinMax = WS_MINIMIZE | WS_MAXIMIZE;
const DWORD kStateBits = kShownAndEnabled | kMinMax;

// The windows that changed between two snapshots, by what changed.
struct Changes {
    std::vector<HWND> created, destroyed, style, exStyle, classStyle, shown, hidden, enabled,
        disabled, rect, title, menu;
    std::vector<HWND> minMax;  // minimized, maximized or restored
    size_t Count() const
    {
        return created.size() + destroyed.size() + style.size() + exStyle.size() +
               classStyle.size() + shown.size() + hidden.size() + enabled.size() + disabled.size() +
               rect.size() + title.size() + menu.size() + minMax.size();
    }
};

Changes Compare(const Snapshot &before, const Snapshot &after)
{
    Changes c;
    for (const auto &[handle, was] : before.windows) {
        auto found = after.windows.find(handle);
        if (found == after.windows.end()) {
            c.destroyed.push_back(handle);
            continue;
        }
        const winsim::WindowInfo &now = found->second;
        DWORD wasStyle = static_cast<DWORD>(was.style), nowStyle = static_cast<DWORD>(now.style);
        if ((wasStyle ^ nowStyle) & ~kStateBits)
            c.style.push_back(handle);
        if ((wasStyle ^ nowStyle) & kMinMax)
            c.minMax.push_back(handle);
        if ((wasStyle & WS_VISIBLE) != (nowStyle & WS_VISIBLE))
            ((nowStyle & WS_VISIBLE) ? c.shown : c.hidden).push_back(handle);
        if ((wasStyle & WS_DISABLED) != (nowStyle & WS_DISABLED))
            ((nowStyle & WS_DISABLED) ? c.disabled : c.enabled).push_back(handle);
        if (was.exStyle != now.exStyle)
            c.exStyle.push_back(handle);
        if (was.classStyle != now.classStyle)
            c.classStyle.push_back(handle);
        if (!SameRect(was.rect, now.rect))
            c.rect.push_back(handle);
        if (was.title != now.title)
            c.title.push_back(handle);
        if (was.menu != now.menu)
            c.menu.push_back(handle);
    }
    for (const auto &entry : after.windows)
        if (before.windows.count(entry.first) == 0)
            c.created.push_back(entry.first);
    return c;
}

std::string Hex(uintptr_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%#lx", static_cast<unsigned long>(value));
    return text;
}

std::string Describe(const Changes &c)
{
    std::string out;
    auto list = [&out](const char *what, const std::vector<HWND> &handles) {
        for (HWND h : handles)
            out += std::string(" ") + what + " " + winsim::Str(h);
    };
    list("created", c.created);
    list("destroyed", c.destroyed);
    list("style", c.style);
    list("exstyle", c.exStyle);
    list("classstyle", c.classStyle);
    list("shown", c.shown);
    list("hidden", c.hidden);
    list("enabled", c.enabled);
    list("disabled", c.disabled);
    list("rect", c.rect);
    list("title", c.title);
    list("menu", c.menu);
    list("min/max", c.minMax);
    return out.empty() ? " nothing" : out;
}

// A document window: a child of an MDI client.
bool IsDocument(const Snapshot &snap, HWND window)
{
    auto w = snap.windows.find(window);
    if (w == snap.windows.end() || w->second.parent == NULL)
        return false;
    auto parent = snap.windows.find(w->second.parent);
    return parent != snap.windows.end() && parent->second.className == "MDIClient";
}

// At most one window changed in this way, and it is a document window.
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

std::string Placement(const Snapshot &snap, HWND document, bool edges)
{
    const winsim::WindowInfo &doc = snap.windows.at(document);
    const winsim::WindowInfo &mdi = snap.windows.at(doc.parent);
    auto app = snap.windows.find(mdi.parent);
    if (app == snap.windows.end())
        return std::string();
    LONG dx = app->second.client.left, dy = app->second.client.top;
    long values[4] = {doc.rect.left - dx - 2, doc.rect.top - dy - 2,
                      edges ? doc.rect.right - dx - 2 : doc.rect.right - doc.rect.left,
                      edges ? doc.rect.bottom - dy - 2 : doc.rect.bottom - doc.rect.top};
    return std::to_string(values[0]) + "|" + std::to_string(values[1]) + "|" +
           std::to_string(values[2]) + "|" + std::to_string(values[3]);
}

int ExpectedCursorAfterHide(int count)
{
    for (int step = 1; step <= 19 && count > -8; ++step)
        --count;
    return count;
}

int ExpectedCursorAfterShow(int count)
{
    for (int step = 1; step <= 19 && count < 0; ++step)
        ++count;
    return count;
}

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

bool IsFrameCommand(uint32_t id)
{
    return (id >= kDoHideWindowTitle && id <= kDoDialogWindow) ||
           (id >= kDoHideWindowClose && id <= kDoShowWindowMenu);
}

// The fields of a parameter that needs none of the reading rules' corner
// cases: all of it reported, no zero byte, no empty field between two
// separators or before the first. Empty when the parameter is not that plain.
std::vector<std::string> PlainFields(const fmhost::CallRequest &request)
{
    const std::string &text = request.parameter;
    if ((request.reportedParameterSize &&
         *request.reportedParameterSize != static_cast<int32_t>(text.size())) ||
        text.find('\0') != std::string::npos || text.find("||") != std::string::npos ||
        text.empty() || text[0] == '|')
        return {};
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '|')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

// A coordinate field as documented: up to five characters right-aligned, a
// "-" anywhere makes it negative and takes no place, other characters that
// are not digits count for nothing, limited to 16000 either way.
bool CoordinateOf(const std::string &field, long *value)
{
    if (field.size() > 5)
        return false;
    std::string places = std::string(5 - field.size(), '0') + field;
    bool negative = false;
    long total = 0, place = 1;
    for (int i = 4; i >= 0; --i) {
        if (places[i] == '-') {
            negative = true;
            continue;
        }
        if (places[i] >= '0' && places[i] <= '9')
            total += (places[i] - '0') * place;
        place *= 10;
    }
    total = total > 16000 ? 16000 : total;
    *value = negative ? -total : total;
    return true;
}

// Where a relocate or resize that answered "1" must have left the window it
// changed, for a plain parameter: title|mode|first|second|code.
void CheckGeometry(uint32_t id, const fmhost::CallRequest &request, const Changes &c,
                   const Snapshot &before, const Snapshot &after)
{
    std::vector<std::string> fields = PlainFields(request);
    if (fields.size() < 2 || c.rect.size() != 1)
        return;
    long first = 0, second = 0;
    if ((fields.size() > 2 && !CoordinateOf(fields[2], &first)) ||
        (fields.size() > 3 && !CoordinateOf(fields[3], &second)))
        Fail("geometry", "answered 1 for a number field longer than five characters");
    bool relative = fields[1] == "R" || fields[1] == "r";
    if (!relative && fields[1] != "A" && fields[1] != "a")
        Fail("geometry", "answered 1 for the mode \"" + fields[1] + "\"");
    HWND w = c.rect[0];
    const winsim::WindowInfo &was = before.windows.at(w);
    const winsim::WindowInfo &now = after.windows.at(w);
    if (was.title != fields[0])
        Fail("geometry", "changed \"" + was.title + "\", not \"" + fields[0] + "\"");
    const RECT &origin = before.windows.at(was.parent).client;
    std::string label = "function " + std::to_string(id) + " " + request.parameter;
    // A relative move ends within -16000 to 16000, as an absolute one.
    auto limited = [](long value) {
        return value > 16000 ? 16000 : value < -16000 ? -16000 : value;
    };
    if (id == kDoWindowRelocate) {
        long x = relative ? limited(first + was.rect.left - origin.left) : first;
        long y = relative ? limited(second + was.rect.top - origin.top) : second;
        if (now.rect.left - origin.left != x || now.rect.top - origin.top != y)
            Fail("relocate", label + ": the window is at " +
                                 std::to_string(now.rect.left - origin.left) + "," +
                                 std::to_string(now.rect.top - origin.top) + ", not " +
                                 std::to_string(x) + "," + std::to_string(y));
    } else {
        long width = first + (relative ? was.rect.right - was.rect.left : 0);
        long height = second + (relative ? was.rect.bottom - was.rect.top : 0);
        // The window manager's limits apply outside these sizes; a
        // minimized window keeps the size of its icon.
        bool unlimited = width >= 150 && width <= 1000 && height >= 150 && height <= 700 &&
                         !(static_cast<DWORD>(was.style) & WS_MINIMIZE);
        if (unlimited &&
            (now.rect.right - now.rect.left != width || now.rect.bottom - now.rect.top != height))
            Fail("resize", label + ": the window is " +
                               std::to_string(now.rect.right - now.rect.left) + " by " +
                               std::to_string(now.rect.bottom - now.rect.top) + ", not " +
                               std::to_string(width) + " by " + std::to_string(height));
    }
}

// What an external call did, against what the function may do. known is
// false when the answer is not the function's (a memory error kept the
// result handle from being written).
// A window smaller than the window manager's least size for its frame (at
// most 112 by 27) or larger than its greatest (the virtual screen and the
// frame) is given a size within them when it is moved or sized: the
// platform's doing, not the plug-in's.
bool OutsideTrackLimits(const RECT &rect)
{
    int maxWidth, maxHeight;
    {
        winsim::Quiet quiet;
        maxWidth = GetSystemMetrics(SM_CXMAXTRACK);
        maxHeight = GetSystemMetrics(SM_CYMAXTRACK);
    }
    int width = rect.right - rect.left, height = rect.bottom - rect.top;
    return width < 112 || height < 27 || width > maxWidth || height > maxHeight;
}

bool IsDocumentFunction(uint32_t id)
{
    return (id >= kDoWindowResize && id <= kDoDialogWindow) ||
           (id >= kDoHideWindow && id <= kDoShowWindowMenu);
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

// The class of the host's application windows when a function names no
// code.
const char *StandardClass(const Snapshot &snap)
{
    return snap.state.HostVersion == kHostGeneration3 ? "FMPRO3APP" : "FMPRO5APP";
}

// The host's own application window of the standard class that a search
// from the top of the Z order finds first; null when the host has none.
HWND OwnApplicationWindow(const Snapshot &snap, const std::vector<HWND> &order)
{
    for (HWND w : order) {
        auto found = snap.windows.find(w);
        if (found != snap.windows.end() && found->second.parent == NULL &&
            found->second.process == winsim::kOwnProcess &&
            found->second.className == StandardClass(snap))
            return w;
    }
    return NULL;
}

bool IsMenuQuietly(HMENU menu)
{
    winsim::Quiet quiet;
    return IsMenu(menu) != FALSE;
}

// Every window a message changed in any way.
std::vector<HWND> AllChanged(const Changes &c)
{
    std::vector<HWND> all;
    for (const auto *list : {&c.destroyed, &c.style, &c.exStyle, &c.classStyle, &c.shown, &c.hidden,
                             &c.enabled, &c.disabled, &c.rect, &c.title, &c.menu, &c.minMax})
        all.insert(all.end(), list->begin(), list->end());
    return all;
}

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

// The buttons of a maximized document that the application window's menu
// bar holds (its window menu first, close last) against those the MDI
// client's state calls for: the active document's when it is maximized and
// shown and has a window menu; its own or none when it is hidden; none
// otherwise. Empty when they agree, else what is wrong.
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

void CheckCallEffects(const fmhost::CallRequest &request, const std::string &answer, bool known,
                      bool faulted, const Snapshot &before, const Snapshot &after)
{
    uint32_t id = request.functionId;
    Changes c = Compare(before, after);
    std::string label = "function " + std::to_string(id);
    if (id >= LOOMVANE_FUNCTION_COUNT) {
        if (c.Count() != 0 || !SameState(before.state, after.state) ||
            before.cursor != after.cursor)
            Fail("unknown function", label + " changed" + Describe(c));
        for (size_t i = 0; i < winsim::CallLogSize(); ++i)
            if (!Called(i, "MessageBeep"))
                Fail("unknown function", label + " called " + winsim::CallFunction(i));
        return;
    }

    // A style word that a failing read gave as 0 is written back as the
    // frame bits alone: the window loses WS_CHILD, WS_VISIBLE and the rest,
    // which the platform would never report for a window that exists. What
    // such a window then looks like is no test of the plug-in.
    if (FailedIn("GetWindowLongA") || FailedIn("GetClassLongA"))
        return;

    // Another process's windows are never touched, but the shell's task bars
    // and Start button by the task bar commands; a second copy of the host
    // is never the one a function acts on. (A search made to fail looks like
    // a host without a window of its own, whose first found is then taken.)
    bool searchFailed = FailedIn("FindWindowExA") || FailedIn("GetWindowThreadProcessId");
    // A host whose windows are all of an application code's class (a
    // runtime solution) has none of the standard class: a function that
    // names no code then takes the first such window found, whatever its
    // process.
    const char *standard = StandardClass(before);
    bool ownStandard = false;
    for (const auto &[handle, info] : before.windows)
        ownStandard |= info.parent == NULL && info.process == winsim::kOwnProcess &&
                       info.className == standard;
    for (HWND w : searchFailed || !ownStandard ? std::vector<HWND>() : AllChanged(c)) {
        const winsim::WindowInfo &was = before.windows.at(w);
        if (was.process == winsim::kOwnProcess)
            continue;
        bool shell =
            was.process == winsim::kShellProcess && (id == kDoHideTaskBar || id == kDoShowTaskBar);
        if (!shell)
            Fail("other process",
                 label + " changed " + winsim::Str(w) + " of process " + Hex(was.process));
    }

    // A title, a code or a new title holding a zero byte names no window.
    std::vector<std::string> fields = VisibleFields(request);
    bool noWindow = false;
    if (IsDocumentFunction(id)) {
        size_t codeField = (id == kDoWindowResize || id == kDoWindowRelocate) ? 5 : 2;
        noWindow = NamesNoWindow(FieldOf(fields, 1), 58) ||
                   NamesNoWindow(FieldOf(fields, codeField), 3, 1) ||
                   (id == kDoSetWindowTitle && NamesNoWindow(FieldOf(fields, 3), 58));
    } else if (id == kDoHideMenuBar || id == kDoShowMenuBar) {
        noWindow = NamesNoWindow(FieldOf(fields, 1), 3, 1);
    }
    if (noWindow && !faulted) {
        if (known && answer != "0")
            Fail("zero byte", label + " answered " + answer + " for a field with a zero byte");
        if (c.Count() != 0 || !SameState(before.state, after.state))
            Fail("zero byte",
                 label + " changed something for a field with a zero byte" + Describe(c));
    }

    // What no other function touches.
    if (id != kDoHideBackground)
        ExpectNone("windows created", c.created, id);
    if (id != kDoShowBackground)
        ExpectNone("windows destroyed", c.destroyed, id);
    if (id != kDoSetWindowTitle)
        ExpectNone("window titles", c.title, id);
    if (id != kDoHideMenuBar && id != kDoShowMenuBar)
        ExpectNone("menus", c.menu, id);
    if (!IsFrameCommand(id)) {
        ExpectNone("window styles", c.style, id);
        ExpectNone("extended styles", c.exStyle, id);
    }
    if (id != kDoDialogWindow && id != kDoHideWindowClose && id != kDoShowWindowClose)
        ExpectNone("class styles", c.classStyle, id);
    // A menu bar taken off or put back changes the application window's
    // client area, which the host lays out again; only the windows inside
    // it move.
    if (id == kDoHideMenuBar || id == kDoShowMenuBar) {
        for (HWND w : c.rect)
            if (before.windows.at(w).parent == NULL)
                Fail("window rectangles",
                     "function " + std::to_string(id) + " moved " + winsim::Str(w));
    } else if (id == kDoShowWindow) {
        // It activates the document when it restores it, and keeps it as it
        // is otherwise.
        if (!HandedOver(before, after, c) && !RestoredAlone(before, after, c))
            Fail("window states", label + " changed" + Describe(c));
    } else if (id == kDoHideWindowSizing || id == kDoShowWindowSizing) {
        // They keep every document as it is: beneath a maximized document,
        // or as an icon, the document is raised without the activation.
        // Only a failing look at the documents' states can make them
        // activate it while another one is maximized.
        bool lookFailed = FailedIn("GetWindow") || FailedIn("IsZoomed") || FailedIn("IsIconic");
        if (!(c.minMax.empty() && c.rect.empty()) && !(lookFailed && HandedOver(before, after, c)))
            Fail("window states", label + " changed" + Describe(c));
    } else if (id != kDoWindowResize && id != kDoWindowRelocate) {
        // The frame commands recalculate the frame in place.
        ExpectNone("window rectangles", c.rect, id);
    }
    // No other function changes a document's state: the menu bar's show
    // has the MDI client put buttons in without restoring anything.
    bool activates = id == kDoShowWindow || id == kDoHideWindowSizing || id == kDoShowWindowSizing;
    if (!activates)
        ExpectNone("window states", c.minMax, id);
    if (id != kDoDisableWindow && id != kDoEnableWindow) {
        ExpectNone("windows disabled", c.disabled, id);
        ExpectNone("windows enabled", c.enabled, id);
    }
    if (id != kDoHideWindow && id != kDoShowBackground && id != kDoHideTaskBar)
        ExpectNone("windows hidden", c.hidden, id);
    if (id != kDoShowWindow && id != kDoHideWindowSizing && id != kDoShowWindowSizing &&
        id != kDoShowTaskBar)
        ExpectNone("windows shown", c.shown, id);
    if (id != kDoHideCursor && id != kDoShowCursor && before.cursor != after.cursor)
        Fail("cursor", label + " moved the cursor counter");
    if (id > kDoShowCursor && id != kDoHideTaskBar && id != kDoShowTaskBar &&
        !SameState(before.state, after.state))
        Fail("state record", label + " changed it");

    // A shell that answers nothing is never waited on; what the task bar
    // commands asked of it lands when it wakes.
    if ((id == kDoHideTaskBar || id == kDoShowTaskBar) && gShell.hung) {
        if (!winsim::ThreadHung(winsim::kShellThread))
            Fail("task bar", label + " waited on the hung shell");
        if (!c.shown.empty() || !c.hidden.empty())
            Fail("task bar", label + " changed the hung shell's windows" + Describe(c));
        if (faulted)
            gShell.lands = kUnknown;
        else if (HasPrimaryTaskBar(before))
            gShell.lands = id == kDoShowTaskBar ? kLandsShown : kLandsHidden;
    }

    if (!known)
        return;
    bool yes = answer == "1";
    bool no = answer == "0";
    switch (id) {
    case kDoHideMenuBar:
    case kDoShowMenuBar: {
        bool hide = id == kDoHideMenuBar;
        if (yes) {
            if (after.state.menuBarShown == hide)
                Fail("menu bar", label + " answered 1 but the record disagrees");
            if (c.menu.size() > 1)
                Fail("menu bar", label + " changed several menus");
            if (hide && !faulted &&
                (after.state.menuSource == NULL ||
                 after.windows.count(after.state.menuSource) == 0 ||
                 after.windows.at(after.state.menuSource).parent != NULL))
                Fail("menu bar", "the window the menu came from is not recorded");
            for (HWND w : c.menu) {
                if (hide && w != after.state.menuSource)
                    Fail("menu bar", "the menu was taken off another window than the recorded one");
                if (!hide && w != before.state.menuSource)
                    Fail("menu bar", "the menu went to another window than its own");
                HMENU now = after.windows.at(w).menu;
                // A failing GetMenu cannot be told from a window without one.
                if (hide && (now != NULL ||
                             (!faulted && after.state.savedMenu != before.windows.at(w).menu)))
                    Fail("menu bar", "the detached menu was not kept");
                if (!hide && now != before.state.savedMenu)
                    Fail("menu bar", "another menu than the kept one was attached");
            }
            // The kept menu is on an application window afterwards.
            bool attached = before.state.savedMenu == NULL;
            for (const auto &entry : after.windows)
                attached |=
                    entry.second.parent == NULL && entry.second.menu == before.state.savedMenu;
            if (!hide && !faulted && !attached)
                Fail("menu bar", "answered 1 but the kept menu is on no window");
            std::string buttons =
                hide || faulted ? "" : MenuButtonsProblem(before.state.menuSource);
            if (!buttons.empty())
                Fail("menu bar", label + ": " + buttons);
        } else if (no && !faulted) {
            ExpectNone("menus", c.menu, id);
            // A show whose menu or window is gone forgets them, and only then.
            bool gone = before.windows.count(before.state.menuSource) == 0 ||
                        (before.state.savedMenu != NULL && !IsMenuQuietly(before.state.savedMenu));
            bool forgot = !hide && !before.state.menuBarShown && after.state.menuBarShown &&
                          after.state.savedMenu == NULL && after.state.menuSource == NULL;
            if (!SameState(before.state, after.state) && !(forgot && gone))
                Fail("menu bar", label + " answered 0 but changed the record");
            if (!hide && !before.state.menuBarShown && gone && !forgot)
                Fail("menu bar", "a show kept a menu whose window or menu is gone");
        }
        break;
    }
    case kDoHideBackground:
        if (yes) {
            if (c.created.size() != 1 || after.state.coverAbsent ||
                after.state.coverWindow != c.created[0])
                Fail("cover window", "answered 1 without making the recorded cover");
            const winsim::WindowInfo &cover = after.windows.at(c.created[0]);
            DWORD style = static_cast<DWORD>(cover.style);
            if (cover.className != LOOMVANE_COVER_CLASS || cover.parent != NULL ||
                !(style & WS_DISABLED))
                Fail("cover window", "not a disabled top-level cover");
            const DWORD neverActive = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
            if ((static_cast<DWORD>(cover.exStyle) & neverActive) != neverActive)
                Fail("cover window",
                     "not a tool window that never activates: the user can "
                     "switch to it");
            // Over every monitor, with the overhang; directly under the
            // top-level window of what is active on the plug-in's thread,
            // else under the host's own application window, or under
            // everything when it has none; nothing activated.
            RECT screen;
            {
                winsim::Quiet quiet;
                screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
                screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
                screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
                screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
            }
            RECT expected = {screen.left - 3, screen.top - 2, screen.right + 3, screen.bottom + 2};
            if (!faulted && (!(style & WS_VISIBLE) || !SameRect(cover.rect, expected)))
                Fail("cover window", "not shown over the whole virtual screen");
            if (!faulted) {
                std::vector<HWND> order = winsim::Children(NULL);
                auto at = std::find(order.begin(), order.end(), c.created[0]);
                HWND above = at == order.begin() ? NULL : *(at - 1);
                HWND host = RootOwnerOfActive(before);
                if (host == NULL)
                    host = OwnApplicationWindow(before, order);
                if (host != NULL ? above != host : at + 1 != order.end())
                    Fail("cover window", "not directly under the host's window " +
                                             winsim::Str(host) + " but under " +
                                             winsim::Str(above));
                if (after.active != before.active || after.focus != before.focus)
                    Fail("cover window", "the active window or the focus changed");
            }
        } else if (no && !faulted) {
            ExpectNone("windows created", c.created, id);
            if (!SameState(before.state, after.state))
                Fail("cover window", "answered 0 but changed the record");
        }
        break;
    case kDoShowBackground:
        if (yes) {
            if (!after.state.coverAbsent)
                Fail("cover window", "answered 1 but still recorded as shown");
            // Only an IsWindow that denies the cover can make the plug-in
            // believe a refused destruction went through.
            if (before.state.coverWindow != NULL && !FailedIn("IsWindow") &&
                after.windows.count(before.state.coverWindow) != 0)
                Fail("cover window", "answered 1 but the cover is still there");
        } else if (no && !faulted) {
            ExpectNone("windows destroyed", c.destroyed, id);
            if (!SameState(before.state, after.state))
                Fail("cover window", "answered 0 but changed the record");
        }
        for (HWND w : c.destroyed)
            if (w != before.state.coverWindow)
                Fail("cover window", "destroyed a window that is not the cover");
        break;
    case kDoHideCursor:
    case kDoShowCursor:
        if (!faulted) {
            int expected = before.cursor;
            bool success = false;
            if (id == kDoHideCursor && before.cursor >= 0) {
                expected = ExpectedCursorAfterHide(before.cursor);
                success = expected < 0;
            } else if (id == kDoShowCursor && before.cursor < 0) {
                expected = ExpectedCursorAfterShow(before.cursor);
                success = expected >= 0;
            }
            if (after.cursor != expected || answer != (success ? "1" : "0"))
                Fail("cursor", label + " from " + std::to_string(before.cursor) + " left " +
                                   std::to_string(after.cursor) + " and answered " + answer);
        }
        break;
    case kDoWindowResize:
    case kDoWindowRelocate:
        if (yes && !faulted) {
            ExpectOneDocument("window rectangles", c.rect, before, false, id);
            for (HWND w : c.rect) {
                const RECT &was = before.windows.at(w).rect;
                const RECT &now = after.windows.at(w).rect;
                bool samePlace = was.left == now.left && was.top == now.top;
                bool sameSize = was.right - was.left == now.right - now.left &&
                                was.bottom - was.top == now.bottom - now.top;
                if (id == kDoWindowResize && !samePlace)
                    Fail("resize", "the window moved");
                if (id == kDoWindowRelocate && !sameSize && !OutsideTrackLimits(was))
                    Fail("relocate", "the window changed its size");
            }
            CheckGeometry(id, request, c, before, after);
        } else if (no && !faulted) {
            ExpectNone("window rectangles", c.rect, id);
        }
        break;
    case kDoGetWindowSize:
    case kDoGetWindowSizeABS:
        if (c.Count() != 0)
            Fail("placement", label + " changed" + Describe(c));
        if (!no && !faulted) {
            bool found = false;
            for (const auto &entry : before.windows)
                if (IsDocument(before, entry.first) &&
                    Placement(before, entry.first, id == kDoGetWindowSizeABS) == answer)
                    found = true;
            if (!found)
                Fail("placement", label + " answered " + answer + ", no document's placement");
        }
        break;
    case kDoSetWindowTitle:
        if (yes && !faulted)
            ExpectOneDocument("window titles", c.title, before, false, id);
        else if (no && !faulted)
            ExpectNone("window titles", c.title, id);
        break;
    case kDoHideTaskBar:
    case kDoShowTaskBar:
        if (faulted)
            break;
        if (!HasPrimaryTaskBar(before)) {
            // Nothing to hide or show.
            if (!no || c.Count() != 0 || !SameState(before.state, after.state))
                Fail("task bar", label + " answered " + answer + " without a task bar");
            break;
        }
        if (!yes || after.state.taskBarHidden != (id == kDoHideTaskBar))
            Fail("task bar", label + " answered " + answer + " with a task bar");
        // Shown without taking the activation, and only the host's own
        // window brought to the top: the activation stays with the host.
        if (id == kDoShowTaskBar && after.active != before.active &&
            (after.windows.count(after.active) == 0 ||
             after.windows.at(after.active).process != winsim::kOwnProcess))
            Fail("task bar", label + " handed the activation to " + winsim::Str(after.active));
        if (gShell.hung)
            break;  // the requests wait for the shell to wake
        for (const auto &[handle, info] : after.windows) {
            bool shown = (static_cast<DWORD>(info.style) & WS_VISIBLE) != 0;
            if ((IsTaskBarWindow(info) || IsStartButton(info)) && shown != (id == kDoShowTaskBar))
                Fail("task bar",
                     label + " left " + winsim::Str(handle) + (shown ? " shown" : " hidden"));
        }
        break;
    case kDoDialogWindow:
        if (yes && !faulted) {
            ExpectOneDocument("dialog frame", c.style, before, true, id);
            HWND w = c.style[0];
            DWORD flipped =
                static_cast<DWORD>(before.windows.at(w).style ^ after.windows.at(w).style);
            DWORD classFlipped = before.windows.at(w).classStyle ^ after.windows.at(w).classStyle;
            if ((flipped & ~kStateBits) != kDialogStyleMask || classFlipped != CS_NOCLOSE)
                Fail("dialog frame",
                     "inverted " + Hex(flipped) + " and class " + Hex(classFlipped));
        } else if (no && !faulted) {
            ExpectNone("window styles", c.style, id);
            ExpectNone("class styles", c.classStyle, id);
            ExpectNone("window rectangles", c.rect, id);
        }
        break;
    default:
        break;
    }

    // The visibility and enabled-state commands change one document window
    // in their way on "1", none on "0". ShowWindow and EnableWindow answer
    // the earlier state, so a failing one cannot be told from success.
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
        if (rule.id != id)
            continue;
        if (yes && !(faulted && rule.failureLooksDone))
            ExpectOneDocument(rule.what, c.*rule.changed, before, true, id);
        else if (no)
            ExpectNone(rule.what, c.*rule.changed, id);
    }

    for (const FrameRule &rule : kFrameRules) {
        if (rule.id != id || faulted)
            continue;
        const std::vector<HWND> &changed = rule.classWord ? c.classStyle : c.style;
        if (yes) {
            if (changed.empty())
                Fail("frame", label + " answered 1 and changed nothing");
            const winsim::WindowInfo &was = before.windows.at(changed[0]);
            const winsim::WindowInfo &now = after.windows.at(changed[0]);
            DWORD wasWord = rule.classWord ? was.classStyle : static_cast<DWORD>(was.style);
            DWORD nowWord = rule.classWord ? now.classStyle : static_cast<DWORD>(now.style);
            if (((wasWord ^ nowWord) & ~kStateBits) != rule.mask)
                Fail("frame", label + " inverted " + Hex(wasWord ^ nowWord));
            if (((wasWord & rule.test) != 0) != rule.needSet)
                Fail("frame", label + " acted on a window it should have refused");
            // The class word is shared by every window of the class.
            for (HWND w : changed)
                if (after.windows.at(w).className != now.className)
                    Fail("frame", label + " changed the class words of two classes");
            if (!rule.classWord)
                ExpectOneDocument("frame", changed, before, true, id);
            else if (!IsDocument(before, changed[0]) && changed.size() == 1)
                Fail("frame", label + " changed the class of a window that is not a document");
        } else if (no) {
            ExpectNone("window styles", c.style, id);
            ExpectNone("class styles", c.classStyle, id);
        }
    }
}

// The stored text the start-up should load from the registry as it is now,
// or false when the start-up must fail on it.
bool ExpectedLoad(std::string *text)
{
    if (!winsim::KeyExists(kSettingsKey)) {
        *text = "1";
        return true;
    }
    std::string data;
    if (!winsim::GetValue(kSettingsKey, "prefs", &data)) {
        *text = "1";  // the default, written again
        return true;
    }
    if (data.size() > 22)
        return false;
    if (!data.empty() && data.back() == '\0')
        data.pop_back();
    if (data.size() > 21)
        return false;
    *text = data.substr(0, data.find('\0'));
    return true;
}

struct StartupExpectation {
    bool modelled = false;
    intptr_t reply = 0;
    std::string text;
};

bool ClassRegistered()
{
    for (const auto &c : winsim::RegisteredClasses())
        if (c == LOOMVANE_COVER_CLASS)
            return true;
    return false;
}

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

// Shut-down gives back what only the plug-in could: the task bar it hid, the
// menu bar it detached (to its own window, when that and the menu exist and
// the window has no menu bar again), the cursor it hid. It changes nothing
// else, document windows included.
void CheckGiveBack(const Snapshot &before, const Snapshot &after)
{
    Changes c = Compare(before, after);
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

    if (before.state.taskBarHidden && HasPrimaryTaskBar(before)) {
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
    if (before.state.cursorHidden && before.cursor < 0) {
        int expected = ExpectedCursorAfterShow(before.cursor);
        if (after.cursor != expected)
            Fail("shut-down", "the cursor counter went from " + std::to_string(before.cursor) +
                                  " to " + std::to_string(after.cursor));
    } else if (after.cursor != before.cursor) {
        Fail("shut-down", "moved the cursor counter");
    }
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

void CheckPreferences(bool faulted, const Snapshot &before, const Snapshot &after)
{
    // A DialogBoxParamA made to fail leaves the last run of an earlier
    // message in place.
    auto opened = winsim::CallsTo("DialogBoxParamA");
    winsim::DialogRun run = winsim::LastDialog();
    // Accepted: OK on a text it takes, which is then kept and ended with 1,
    // whether or not ending the dialog went through.
    bool accepted = !opened.empty() && !opened.back().failed && run.ran;
    bool endedWithOk = false;
    for (const auto &end : winsim::CallsTo("EndDialog"))
        endedWithOk |= end.args.size() == 2 && end.args[1] == "1";
    accepted = accepted && endedWithOk;
    std::string text = gPluginState.prefText;
    if (!accepted && text != before.state.prefText)
        Fail("preferences", "the text changed without OK: \"" + text + "\"");
    if (accepted) {
        if (text.empty() || text.size() > 20 || text.find('#') == std::string::npos)
            Fail("preferences", "accepted \"" + text + "\"");
        std::string stored;
        bool found = winsim::GetValue(kSettingsKey, "prefs", &stored);
        if (found && !stored.empty() && stored.back() == '\0')
            stored.pop_back();
        if (!faulted && (!found || stored != text))
            Fail("preferences", "accepted \"" + text + "\" but stored \"" + stored + "\"");
    }
    PluginState without = after.state;
    std::memcpy(without.prefText, before.state.prefText, sizeof without.prefText);
    if (!SameState(before.state, without))
        Fail("preferences", "the dialog changed more of the record than the text");
    Changes c = Compare(before, after);
    if (!c.created.empty() || !c.destroyed.empty() || !c.style.empty() || !c.rect.empty() ||
        !c.title.empty() || !c.menu.empty())
        Fail("preferences", "changed" + Describe(c));
}

// ---- What the cover does when the desktop changes ----

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
    RECT screen;
    {
        winsim::Quiet quiet;
        screen.left = GetSystemMetrics(SM_XVIRTUALSCREEN) - 3;
        screen.top = GetSystemMetrics(SM_YVIRTUALSCREEN) - 2;
        screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN) + 6;
        screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN) + 4;
    }
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

// The shell woke: what it was last asked lands on every bar.
void CheckShellWoke(const Snapshot &before, const Snapshot &after)
{
    if (gShell.lands == kUnknown)
        return;
    Changes c = Compare(before, after);
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

// A desktop as the input describes it.
struct DesktopPlan {
    uint8_t shape = 0;
    std::vector<std::vector<fmhost::DocumentLayout>> documents;  // of each application window
    int cursor = 0;
    uint8_t registry = 0;
    std::string value, later;
};

DesktopPlan ReadDesktop(Input &in)
{
    DesktopPlan plan;
    plan.shape = in.Byte();
    int generation = plan.shape & 1 ? 3 : 5;
    plan.documents.resize(1 + (plan.shape >> 1) % 3);
    for (auto &documents : plan.documents) {
        // Counts are read once, before the loop they bound.
        int count = 1 + in.Byte() % 3;
        for (int d = 0; d < count; ++d) {
            fmhost::DocumentLayout doc;
            doc.title = d == 0 ? "Orders" : d == 1 ? "Customers" : "";
            doc.x = static_cast<int8_t>(in.Byte());
            doc.y = static_cast<int8_t>(in.Byte());
            doc.style = (in.Byte() & 1) ? (WS_OVERLAPPEDWINDOW | WS_VISIBLE)
                                        : static_cast<DWORD>(in.Long() & 0x10ff0000);
            if (in.Byte() & 1)
                doc.className = generation == 3 ? "FMPRO5DOC" : "Other";
            documents.push_back(doc);
        }
    }
    plan.cursor = static_cast<int8_t>(in.Byte()) / 4;
    plan.registry = in.Byte();
    if (plan.registry & 2) {
        plan.value = in.Text(30);
        if (plan.registry & 8)
            plan.later = in.Text(40);
    }
    return plan;
}

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

const StartingPoints &Start()
{
    static const StartingPoints start = [] {
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
                made.firstHost[old][menuBar] =
                    fmhost::CreateHostWindows(reinterpret_cast<HINSTANCE>(0x400000),
                                              ApplicationLayout(old ? 3 : 5, 0, menuBar != 0));
                made.first[old][menuBar] = winsim::SaveState();
            }
        }
        winsim::RestoreState(made.empty);
        return made;
    }();
    return start;
}

// Builds the desktop on the stand-in, from its saved start, and lists the
// host's own document windows. Answers whether the stored value was set to
// change after its size query, which the start-up model leaves alone.
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
            hosts->push_back(fmhost::CreateHostWindows(reinterpret_cast<HINSTANCE>(0x400000),
                                                       ApplicationLayout(generation, i, true)));
        for (const fmhost::DocumentLayout &doc : plan.documents[i])
            documents->push_back(fmhost::CreateDocument(reinterpret_cast<HINSTANCE>(0x400000),
                                                        hosts->back(), generation, doc));
    }
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
        fmhost::HostWindows other = fmhost::CreateHostWindows(
            reinterpret_cast<HINSTANCE>(0x800000), ApplicationLayout(generation, 0, true));
        fmhost::DocumentLayout doc;
        doc.title = "Orders";
        fmhost::CreateDocument(reinterpret_cast<HINSTANCE>(0x800000), other, generation, doc);
    }
    // A runtime solution: the host's windows are all of an application
    // code's class, none of the standard one.
    if ((plan.registry & 128) && hosts->size() > 1)
        DestroyWindow(hosts->front().app);
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

// The checks after a start-up, a shut-down, the preferences or any other
// message code sent through Send.
void CheckMessage(uint8_t code, intptr_t preset, intptr_t reply, int16_t version,
                  const StartupExpectation &startup, const Snapshot &before, Snapshot *taken,
                  const Excuses &excuses)
{
    Take(taken);
    const Snapshot &after = *taken;
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

}  // namespace

void ChangeDesktop(int change, Input &in, const std::vector<fmhost::HostWindows> &hosts,
                   Snapshot *before, Snapshot *after)
{
    switch (change) {
    case 0:
    case 3: {
        static const POINT primaries[] = {{1024, 768}, {1920, 1080}, {800, 600}};
        static const RECT others[] = {
            {0, 0, 0, 0}, {1024, 0, 1824, 600}, {-1280, -200, 0, 824}, {1920, 0, 3200, 1024}};
        uint8_t layout = in.Byte();
        const POINT &primary = primaries[layout % 3];
        std::vector<RECT> monitors;
        const RECT &other = others[(layout >> 2) % 4];
        if (other.right != other.left)
            monitors.push_back(other);
        std::vector<HWND> order = winsim::Children(NULL);
        winsim::ChangeDisplays(primary.x, primary.y, monitors);
        Take(after);
        CheckDisplayChange(MessageFaulted(), *before, *after, order);
        break;
    }
    case 1: {
        // Another program's window comes to the front and takes the
        // activation; then the user clicks the host's window, which the
        // system brings to the front and activates.
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
        if (other == NULL || app == NULL) {
            Take(after);
            break;
        }
        {
            winsim::Quiet quiet;
            SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SetForegroundWindow(other);
            SetWindowPos(app, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        Take(before);
        winsim::ClickWindow(app);
        Take(after);
        CheckHostActiveAgain(MessageFaulted(), *before, *after);
        break;
    }
    default:
        if (gShell.hung) {
            winsim::WakeThread(winsim::kShellThread);
            gShell.hung = false;
            Take(after);
            CheckShellWoke(*before, *after);
        } else {
            Take(after);
        }
        break;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool trace = std::getenv("LOOMVANE_FUZZ_TRACE") != nullptr;
    Input in{data, size};
    gPluginState = PluginState();
    gFMExternCallPtr = nullptr;
    fmhost::HostSession host(FMExternCallProc, reinterpret_cast<HINSTANCE>(0x400000));
    std::vector<fmhost::HostWindows> hosts;
    std::vector<HWND> documents;
    bool registryModelled = !BuildDesktop(ReadDesktop(in), &hosts, &documents);
    gShell = HungShell();
    gShell.hung = winsim::ThreadHung(winsim::kShellThread);

    Excuses excuses;
    bool faultPending = false;
    int faultAt = 1;
    bool faultPersistent = false;
    // The desktop as a message leaves it is where the next one starts.
    Snapshot snapshots[2];
    Snapshot *before = &snapshots[0], *after = &snapshots[1];
    Take(before);
    for (int op = 0; op < 64 && !in.Empty(); ++op) {
        if (faultPending) {
            winsim::FailCall("*", faultAt, faultPersistent);
            faultPending = false;
        }
        winsim::ClearCallLog();
        bool afterTaken = true;
        uint8_t kind = in.Byte();
        switch (kind % 8) {
        case 0: {
            uint16_t raw = in.Word();
            int16_t version = (raw & 0x8000) ? static_cast<int16_t>(raw)
                                             : static_cast<int16_t>(raw % 20 == 0 ? 12 : raw % 300);
            StartupExpectation expected = ExpectStartup(version, registryModelled);
            intptr_t reply = host.Startup(version);
            CheckMessage(kFMXInit, 0, reply, version, expected, *before, after, excuses);
            break;
        }
        case 1:
        case 2:
        case 3: {
            fmhost::CallRequest request;
            uint8_t pick = in.Byte();
            request.functionId = (pick & 0x80) ? in.Long() : pick % (LOOMVANE_FUNCTION_COUNT + 3);
            request.parameter = in.Text(12);
            uint8_t flags = in.Byte();
            if (flags & 1) {
                // The host may report no text (0 or less) or less than it holds,
                // never more than the block it lends.
                int32_t reported = static_cast<int32_t>(in.Long());
                int32_t held = static_cast<int32_t>(request.parameter.size());
                request.reportedParameterSize = reported > held ? reported % (held + 1) : reported;
            }
            request.memoryErrorOnResize = (flags & 2) != 0;
            request.initialResult = "untouched";
            fmhost::CallOutcome out = host.Call(request);
            if (out.staleWrite)
                Fail("result", "written through a stale pointer");
            if (request.functionId >= LOOMVANE_FUNCTION_COUNT || request.memoryErrorOnResize) {
                if (out.result != "untouched")
                    Fail("result", "written although it must not be: " + out.result);
            } else if (!fmhost::IsPossibleAnswer(request.functionId, out.result)) {
                Fail("answer", std::to_string(request.functionId) + " answered " + out.result);
            }
            if (request.functionId < LOOMVANE_FUNCTION_COUNT && out.resizes != 1)
                Fail("result", std::to_string(out.resizes) + " resizes of the result handle");
            bool faulted = MessageFaulted();
            Take(after);
            CheckCallEffects(request, out.result, !request.memoryErrorOnResize, faulted, *before,
                             *after);
            break;
        }
        case 4:
            host.Shutdown();
            CheckMessage(kFMXShutdown, 0, 0, 0, StartupExpectation(), *before, after, excuses);
            break;
        case 5: {
            std::vector<winsim::DialogAction> actions;
            int count = in.Byte() % 4;
            for (int i = 0; i < count; ++i) {
                switch (in.Byte() % 6) {
                case 0:
                    actions.push_back(winsim::TypeText(IDC_PREF_TEXT, in.Text(30)));
                    break;
                case 5:
                    actions.push_back(winsim::TypeKeys(IDC_PREF_TEXT, in.Text(30)));
                    break;
                case 1:
                    actions.push_back(winsim::Click(IDOK));
                    break;
                case 2:
                    actions.push_back(winsim::Click(IDCANCEL));
                    break;
                case 3:
                    actions.push_back(winsim::CloseBox());
                    break;
                default:
                    actions.push_back(winsim::Command(in.Long()));
                    break;
                }
            }
            winsim::ScriptDialog(actions);
            host.Preferences();
            CheckMessage(kFMXDoAppPreferences, 0, 0, 0, StartupExpectation(), *before, after,
                         excuses);
            break;
        }
        case 6: {
            uint8_t code = in.Byte();
            int16_t version = host.Block().extnVersion;
            StartupExpectation expected;
            if (code == kFMXInit)
                expected = ExpectStartup(version, registryModelled);
            intptr_t reply = host.Send(code, 0x5A5A);
            CheckMessage(code, 0x5A5A, reply, version, expected, *before, after, excuses);
            break;
        }
        default: {
            uint8_t what = in.Byte();
            if ((what & 0x38) == 0x38) {
                // The displays change, the user comes back to the host from
                // another program, or a hung shell wakes. The cover's
                // procedure meets any failing call armed for this message.
                ChangeDesktop(what >> 6, in, hosts, before, after);
                break;
            }
            // The desktop changes under the plug-in's feet.
            afterTaken = false;
            winsim::Quiet quiet;
            if ((what & 3) == 0 && gPluginState.coverWindow) {
                DestroyWindow(gPluginState.coverWindow);
                excuses.coversDestroyedByOthers.insert(gPluginState.coverWindow);
            } else if ((what & 3) == 1)
                winsim::SetCursorCount(static_cast<int8_t>(in.Byte()) / 2);
            else if ((what & 7) == 2 && !hosts.empty())
                SetMenu(hosts[0].app, NULL);
            else if ((what & 7) == 6 && !documents.empty()) {
                // The user maximizes, minimizes or restores a document.
                static const int kCommands[] = {SW_MAXIMIZE, SW_MINIMIZE, SW_RESTORE};
                ShowWindow(documents[in.Byte() % documents.size()], kCommands[(what >> 3) % 3]);
            } else {
                // The next message meets a failing platform call.
                faultPending = true;
                faultAt = 1 + in.Byte() % 8;
                faultPersistent = (what & 4) != 0;
            }
            break;
        }
        }
        if (!afterTaken)
            Take(after);
        winsim::ClearFaults();
        if (trace) {
            std::fprintf(stderr, "op %d kind %d\n", op, kind % 8);
            for (const auto &call : winsim::CallLog())
                std::fprintf(stderr, "  %s%s\n", winsim::Format(call).c_str(),
                             call.failed ? " (failed)" : "");
        }
        NoteFailures(&excuses);
        CheckState(host, excuses, *after);
        std::swap(before, after);
    }
    // Every input gives back what it took, so that the fuzzer's leak check
    // has nothing to suspect.
    winsim::RestoreState(Start().empty);
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Start();
    return 0;
}
