// The collateral command: each of the plug-in's functions, called from each
// of a set of states of the host, must change what it names and nothing
// else, and cost the host's windows no more messages of any kind than the
// shortest Win32 sequence of the same result, made on a twin desktop in the
// same state. Each measurement has a desktop of its own, destroyed after it.
#include "Bench.h"
#include "FunctionList.h"
#include "PluginNames.h"
#include "Runner.h"

#include <cstdio>

namespace fmhost {

namespace {

// The picture a menu item shows, a bitmap of its own or none; GetGuiResources
// answers 0 under Wine, so whether it still exists is asked of the bitmap.
HBITMAP MenuItemBitmap(HMENU menu, int position)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_BITMAP;
    return GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &item) ? item.hbmpItem : NULL;
}

bool BitmapExists(HBITMAP bitmap)
{
    return GetObjectType(bitmap) == OBJ_BITMAP;
}

// ---- The shortest sequences ----

using Host = const HostWindows &;
constexpr UINT kMdiSetMenu = 0x0230;  // WM_MDISETMENU, which the stand-in does not know
constexpr UINT kInPlace = SWP_NOZORDER | SWP_NOACTIVATE;

// The bits inverted in a style word of the window, or of its class.
void Invert(HWND window, int index, DWORD bits)
{
    if (index == GCL_STYLE)
        SetClassLongA(window, index, static_cast<LONG>(GetClassLongA(window, index) ^ bits));
    else
        SetWindowLongA(window, index, static_cast<LONG>(GetWindowLongA(window, index) ^ bits));
}

// The bits inverted, then the frame drawn anew where it is.
void Reframe(HWND window, int index, DWORD bits)
{
    Invert(window, index, bits);
    SetWindowPos(window, NULL, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The class's Close command, caption, window menu, sizing border and boxes;
// client edge, MDI child and dialog frame.
void DialogFrame(Host, HWND doc)
{
    Invert(doc, GCL_STYLE, CS_NOCLOSE);
    Invert(doc, GWL_STYLE, 0xCF0000);
    Reframe(doc, GWL_EXSTYLE, 0x241);
}

// Told from the styles: asking the MDI client would be a message to it.
HWND MaximizedDocument(HWND mdiClient)
{
    for (HWND doc = GetWindow(mdiClient, GW_CHILD); doc != NULL; doc = GetWindow(doc, GW_HWNDNEXT))
        if (IsZoomed(doc))
            return doc;
    return NULL;
}

// One SetWindowPos draws the new frame and shows a hidden document: beneath
// another, maximized document without activation, a minimized one on top
// without activation, any other on top and activated.
void ToggleSizing(Host host, HWND doc)
{
    Invert(doc, GWL_STYLE, WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME);
    HWND maximized = MaximizedDocument(host.mdiClient);
    HWND after = maximized != NULL && maximized != doc ? maximized : HWND_TOP;
    UINT activation = after != HWND_TOP || IsIconic(doc) ? SWP_NOACTIVATE : 0;
    SetWindowPos(doc, after, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW | activation);
}

// The menu bar back with the buttons of the document maximized now (if it
// is shown) and no others. Stale buttons go as the MDI client takes its own
// out, with the bitmap of the first item. The client puts its buttons into
// a menu it is handed only when it holds another: it still holds the
// host's, so it is handed one of a single item first.
void ShowMenuBar(Host host, HWND)
{
    HWND maximized = MaximizedDocument(host.mdiClient);
    maximized = maximized != NULL && IsWindowVisible(maximized) ? maximized : NULL;
    UINT last = GetMenuItemID(host.menu, GetMenuItemCount(host.menu) - 1);
    bool holds = last == SC_CLOSE || last == SC_RESTORE;
    bool own = holds && maximized && GetSubMenu(host.menu, 0) == GetSystemMenu(maximized, FALSE);
    if (holds && !own) {
        HBITMAP bitmap = MenuItemBitmap(host.menu, 0);
        RemoveMenu(host.menu, 0, MF_BYPOSITION);  // the document's window menu
        if (BitmapExists(bitmap))
            DeleteObject(bitmap);
        for (UINT button : {SC_MINIMIZE, SC_RESTORE, SC_CLOSE})
            DeleteMenu(host.menu, button, MF_BYCOMMAND);
    }
    if (maximized == NULL || own) {
        SetMenu(host.app, host.menu);
        return;
    }
    HMENU interim = CreateMenu();
    AppendMenuA(interim, MF_STRING, 1, "");
    SendMessageA(host.mdiClient, kMdiSetMenu, reinterpret_cast<WPARAM>(interim), 0);
    SendMessageA(host.mdiClient, kMdiSetMenu, reinterpret_cast<WPARAM>(host.menu), 0);
    DestroyMenu(interim);
}

// A disabled tool window over every monitor, shown directly beneath the
// host's active top-level window, or beneath its application window.
void HideBackground(Host host, HWND)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = HostProgramInstance();
    wc.lpszClassName = LOOMVANE_COVER_CLASS;
    RegisterClassA(&wc);  // already registered is fine
    HWND active = GetActiveWindow();
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    HWND cover = CreateWindowExA(
        WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, wc.lpszClassName, "", WS_DISABLED | WS_CAPTION, x - 3,
        y - 2, GetSystemMetrics(SM_CXVIRTUALSCREEN) + 6, GetSystemMetrics(SM_CYVIRTUALSCREEN) + 4,
        NULL, NULL, wc.hInstance, NULL);
    SetWindowPos(cover, active != NULL ? GetAncestor(active, GA_ROOTOWNER) : host.app, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

HWND TaskBar()
{
    return FindWindowExA(NULL, NULL, "Shell_TrayWnd", "");
}

// The task bar shown without the activation, which on a desktop whose bar
// is not topmost (Wine's) puts it above the host; then the host's window
// above it again, while the host is the active program.
void ShowTaskBar(Host host, HWND)
{
    ShowWindowAsync(TaskBar(), SW_SHOWNA);
    if (GetActiveWindow() == NULL)
        return;
    for (HWND above = GetWindow(host.app, GW_HWNDPREV); above != NULL;
         above = GetWindow(above, GW_HWNDPREV))
        if (IsWindowVisible(above) && !(GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
            GetAncestor(above, GA_ROOTOWNER) != host.app) {
            BringWindowToTop(host.app);
            return;
        }
}

// ---- The functions ----

// What a function may change: of the document it names (the target), its
// rectangle, title, style words, visibility, enabled and maximized or
// minimized state; the frame's menu bar; the host's top-level windows; the
// class the documents share. kRaise is the activation, the focus and the
// order of the documents; kFill the rectangle of a maximized document,
// which fills the MDI client. Nothing else of the other documents.
constexpr unsigned kRect = 1, kTitle = 2, kStyle = 4, kVisible = 8, kEnabled = 16, kState = 32,
                   kMenu = 64, kTopLevel = 128, kClass = 256, kRaise = 512, kFill = 1024,
                   kOthers = 2048;

struct Row {
    const char *function;
    const char *parameter;
    unsigned mayChange;
    ShortestSequence shortest;  // null: none, it changes no window of the host's
    bool second;                // the second of a pair: the first is called before it
};

constexpr Row kRows[] = {
    {"Kwzr-Version", "", 0, nullptr, false},
    {"Kwzr-HideMenuBar", "", kMenu | kFill, [](Host h, HWND) { SetMenu(h.app, NULL); }, false},
    {"Kwzr-ShowMenuBar", "", kMenu | kFill, ShowMenuBar, true},
    {"Kwzr-HideBackground", "", kTopLevel, HideBackground, false},
    {"Kwzr-ShowBackground", "", kTopLevel,
     [](Host, HWND) { DestroyWindow(FindWindowA(LOOMVANE_COVER_CLASS, NULL)); }, true},
    {"Kwzr-HideCursor", "", 0, nullptr, false},
    {"Kwzr-ShowCursor", "", 0, nullptr, true},
    {"Kwzr-WindowResize", "Orders|A|320|210", kRect,
     [](Host, HWND d) { SetWindowPos(d, NULL, 0, 0, 320, 210, SWP_NOMOVE | kInPlace); }, false},
    {"Kwzr-WindowRelocate", "Orders|A|30|40", kRect,
     [](Host, HWND d) { SetWindowPos(d, NULL, 30, 40, 0, 0, SWP_NOSIZE | kInPlace); }, false},
    {"Kwzr-GetWindowSize", "Orders", 0, nullptr, false},
    {"Kwzr-GetWindowSizeABS", "Orders", 0, nullptr, false},
    {"Kwzr-SetWindowTitle", "Orders||Sales", kTitle,
     [](Host, HWND d) { SetWindowTextA(d, "Sales"); }, false},
    {"Kwzr-HideWindowTitle", "Orders", kStyle,
     [](Host, HWND d) { Reframe(d, GWL_STYLE, WS_CAPTION); }, false},
    {"Kwzr-ShowWindowTitle", "Orders", kStyle,
     [](Host, HWND d) { Reframe(d, GWL_STYLE, WS_CAPTION); }, true},
    {"Kwzr-HideWindowSizing", "Orders", kStyle | kVisible | kRaise, ToggleSizing, false},
    {"Kwzr-ShowWindowSizing", "Orders", kStyle | kVisible | kRaise, ToggleSizing, true},
    {"Kwzr-DialogWindow", "Orders", kStyle | kClass, DialogFrame, false},
    {"Kwzr-HideTaskBar", "", 0, [](Host, HWND) { ShowWindowAsync(TaskBar(), SW_HIDE); }, false},
    {"Kwzr-ShowTaskBar", "", 0, ShowTaskBar, true},
    {"Kwzr-HideWindow", "Orders", kVisible | kRaise, [](Host, HWND d) { ShowWindow(d, SW_HIDE); },
     false},
    // SW_SHOWNORMAL restores a maximized or minimized document.
    {"Kwzr-ShowWindow", "Orders", kVisible | kRaise | kState | kRect | kMenu,
     [](Host, HWND d) { ShowWindow(d, SW_SHOWNORMAL); }, true},
    {"Kwzr-DisableWindow", "Orders", kEnabled, [](Host, HWND d) { EnableWindow(d, FALSE); }, false},
    {"Kwzr-EnableWindow", "Orders", kEnabled, [](Host, HWND d) { EnableWindow(d, TRUE); }, true},
    {"Kwzr-HideWindowClose", "Orders", kClass,
     [](Host, HWND d) { Invert(d, GCL_STYLE, CS_NOCLOSE); }, false},
    {"Kwzr-ShowWindowClose", "Orders", kClass,
     [](Host, HWND d) { Invert(d, GCL_STYLE, CS_NOCLOSE); }, true},
    {"Kwzr-HideWindowMenu", "Orders", kStyle,
     [](Host, HWND d) { Reframe(d, GWL_STYLE, WS_SYSMENU); }, false},
    {"Kwzr-ShowWindowMenu", "Orders", kStyle,
     [](Host, HWND d) { Reframe(d, GWL_STYLE, WS_SYSMENU); }, true},
};
constexpr size_t kRowCount = sizeof kRows / sizeof kRows[0];
constexpr bool Same(const char *a, const char *b)
{
    return *a == *b && (*a == '\0' || Same(a + 1, b + 1));
}
#define FMHOST_ROW_OF(id, name, handler, kind) \
    static_assert(Same(kRows[id].function, name), "the rows in the order of the function ids");
LOOMVANE_FUNCTIONS(FMHOST_ROW_OF)
#undef FMHOST_ROW_OF
static_assert(kRowCount == LOOMVANE_FUNCTION_COUNT, "one row a function");

// ---- The states ----

// A ShowWindow command on a document, or the front window activated; then
// the first call of a pair; then a ShowWindow command on the target. The
// "-since" states are those of the menu bar's buttons: the target maximized
// since the menu bar was detached, or restored since.
constexpr int kNone = -2, kFront = -1;
struct State {
    const char *name;
    int command, document, after;
    unsigned rows;  // the pairs made in this state, by what they may change; 0: every row
};
const State kStates[] = {
    {"restored", kNone, 0, kNone, 0},
    {"other-maximized", SW_MAXIMIZE, 1, kNone, 0},
    {"maximized", SW_MAXIMIZE, 0, kNone, 0},
    {"minimized", SW_MINIMIZE, 0, kNone, 0},
    {"hidden", SW_HIDE, 0, kNone, 0},
    {"inactive", kFront, 0, kNone, 0},
    {"maximized-since", kNone, 0, SW_MAXIMIZE, kMenu},
    {"restored-since", SW_MAXIMIZE, 0, SW_RESTORE, kMenu},
};

// ---- What is seen of a desktop ----

const char *const kRoles[] = {"target", "other", "third"};

struct Desk {
    BuiltDesktop built;
    HWND front = NULL;
    const HostWindows &Host() const { return built.hosts.front(); }
    HWND Doc(size_t i) const { return built.documents[i]; }
};

std::string Role(const Desk &desk, HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    for (size_t i = 0; i < 3; ++i)
        if (window == desk.Doc(i))
            return kRoles[i];
    return window == NULL                              ? "none"
           : window == desk.Host().app                 ? "frame"
           : window == desk.Host().mdiClient           ? "mdi"
           : window == desk.front                      ? "front"
           : std::string(name) == LOOMVANE_COVER_CLASS ? "cover"
                                                       : "another";
}

// The roles in Z order; of the top-level windows, the visible ones of the
// host's and the front window, and the visible window the cover is beneath.
std::string Order(const Desk &desk, HWND first, bool topLevel)
{
    std::string order;
    for (HWND w = first; w != NULL; w = GetWindow(w, GW_HWNDNEXT)) {
        std::string role = Role(desk, w);
        if (topLevel && (role == "another" || !IsWindowVisible(w)))
            continue;
        HWND above = GetWindow(w, GW_HWNDPREV);
        while (above != NULL && !IsWindowVisible(above))
            above = GetWindow(above, GW_HWNDPREV);
        order += (order.empty() ? "" : " ") + role +
                 (role == "cover" ? " (beneath " + Role(desk, above) + ")" : "");
    }
    return order;
}

std::string TopLevel(const Desk &desk)
{
    return Order(desk, GetWindow(desk.Host().app, GW_HWNDFIRST), true);
}

struct Field {
    unsigned category;
    std::string value;
};
using Snapshot = std::map<std::string, Field>;

Snapshot Capture(const Desk &desk)
{
    const HostWindows &host = desk.Host();
    BOOL zoomed = FALSE;
    HWND active = reinterpret_cast<HWND>(
        SendMessageA(host.mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&zoomed)));
    // The host's menu bar, attached or not, with the buttons of a
    // maximized document and the bitmap of the first item.
    HMENU attached = GetMenu(host.app);
    std::string menu = attached == host.menu ? "attached" : attached ? "replaced" : "detached";
    menu += ", " + std::to_string(GetMenuItemCount(host.menu)) + " items";
    for (size_t i = 0; i < 3; ++i)
        if (GetSubMenu(host.menu, 0) == GetSystemMenu(desk.Doc(i), FALSE))
            menu += std::string(", buttons of ") + kRoles[i];
    if (HBITMAP bitmap = MenuItemBitmap(host.menu, 0))
        menu += BitmapExists(bitmap) ? ", a bitmap" : ", a freed bitmap";
    Snapshot s = {
        {"active", {kRaise, Role(desk, active) + (zoomed ? " maximized" : "")}},
        {"focus", {kRaise, Role(desk, GetFocus())}},
        {"foreground", {kRaise, Role(desk, GetForegroundWindow())}},
        {"documents", {kRaise, Order(desk, GetWindow(host.mdiClient, GW_CHILD), false)}},
        {"top-level", {kTopLevel, TopLevel(desk)}},
        {"menu", {kMenu, menu}},
        {"class", {kClass, Hex(GetClassLongA(desk.Doc(0), GCL_STYLE))}},
    };
    for (size_t i = 0; i < 3; ++i) {
        HWND doc = desk.Doc(i);
        auto of = [i](unsigned category) { return i == 0 ? category : kOthers; };
        std::string role = std::string(kRoles[i]) + " ";
        DWORD style = static_cast<DWORD>(GetWindowLongA(doc, GWL_STYLE));
        char title[128] = "";
        GetWindowTextA(doc, title, sizeof title);
        s[role + "state"] = {of(kState), IsZoomed(doc)   ? "maximized"
                                         : IsIconic(doc) ? "minimized"
                                                         : "normal"};
        s[role + "rect"] = {of(kRect) | (IsZoomed(doc) ? kFill : 0), RectText(RectInParent(doc))};
        DWORD states = WS_VISIBLE | WS_DISABLED | WS_MAXIMIZE | WS_MINIMIZE;
        s[role + "style"] = {
            of(kStyle),
            Hex(style & ~states) + " " + Hex(static_cast<DWORD>(GetWindowLongA(doc, GWL_EXSTYLE)))};
        s[role + "visible"] = {of(kVisible), IsWindowVisible(doc) ? "yes" : "no"};
        s[role + "enabled"] = {of(kEnabled), IsWindowEnabled(doc) ? "yes" : "no"};
        s[role + "title"] = {of(kTitle), Quote(title)};
    }
    return s;
}

// "; name A (plug-in), shortest B" for each field that differs.
std::string Differences(const Snapshot &a, const Snapshot &b)
{
    std::string text;
    for (const auto &field : a)
        if (field.second.value != b.at(field.first).value)
            text += "; " + field.first + " " + field.second.value + " (plug-in), shortest " +
                    b.at(field.first).value;
    return text;
}

struct Measurement {
    Snapshot before, after;
    std::vector<WindowMessages> messages;  // frame, MDI client, target, other, third
    std::string answer;
};

// By role and kind, the other documents together.
std::map<std::string, int> Costs(const Measurement &m)
{
    static const char *const roles[] = {"frame ", "mdi ", "target ", "others ", "others "};
    std::map<std::string, int> costs;
    for (size_t i = 0; i < m.messages.size(); ++i)
        for (const auto &kind : MessageKinds(m.messages[i]))
            costs[roles[i] + kind.first] += kind.second;
    costs["all"] = 0;
    for (const WindowMessages &window : m.messages)
        costs["all"] += CountMessages(window, "all");
    return costs;
}

}  // namespace

ShortestSequence ShortestSequenceOf(uint32_t function)
{
    return function < kRowCount ? kRows[function].shortest : nullptr;
}

void Runner::Collateral(const Words &words)
{
    Options options(words, 1);
    if (options.positional.empty())
        throw ScriptError("collateral STATE... [front=NAME]");
    bool counted = StartTrace({});
    StopTrace();
    // A row, or the two of a pair one after the other, on a desktop of its
    // own: the state made, then each call (or shortest sequence) traced with
    // the pump after it.
    auto measure = [&](const State &state, size_t r, size_t rows, bool shortest) {
        Desk desk;
        std::string failed =
            BuildDesktop(Session().Block().instanceID,
                         {{HostLayout(),
                           {Document("Orders", 10, 20), Document("Invoices", 340, 20),
                            Document("Clients", 40, 250)}}},
                         &desk.built);
        if (!failed.empty())
            throw ScriptError("collateral: " + failed + " could not be made");
        const HostWindows &host = desk.Host();
        DWORD classStyle = GetClassLongA(desk.Doc(0), GCL_STYLE);  // the class outlives the desk
        if (state.command == kFront) {
            Pump();  // Wine raises the new frame as it maps it
            if (!options.Has("front"))
                throw ScriptError("collateral inactive: front=NAME, another process's window");
            desk.front = Window(options.Get("front"));
            Activate({"activate", options.Get("front")});
        } else if (state.command != kNone) {
            ShowWindow(desk.Doc(static_cast<size_t>(state.document)), state.command);
        }
        Pump();
        std::vector<Measurement> measured(rows);
        for (size_t i = 0; i < rows; ++i) {
            if (i > 0 && state.after != kNone) {
                ShowWindow(desk.Doc(0), state.after);
                Pump();
            }
            Measurement &m = measured[i];
            m.before = Capture(desk);
            HBITMAP bitmap = MenuItemBitmap(host.menu, 0);
            StartTrace({host.app, host.mdiClient, desk.Doc(0), desk.Doc(1), desk.Doc(2)});
            if (shortest)
                kRows[r + i].shortest(host, desk.Doc(0));
            else
                m.answer =
                    Session().Call(FunctionId(kRows[r + i].function), kRows[r + i].parameter);
            // Before the pump: without a window manager, Wine raises a
            // top-level window it has just shown once it handles its events.
            std::string topLevel = TopLevel(desk);
            Pump();
            m.messages = StopTrace();
            m.after = Capture(desk);
            m.after["top-level"].value = topLevel;
            if (bitmap != NULL && MenuItemBitmap(host.menu, 0) != bitmap && BitmapExists(bitmap))
                m.after["menu"].value += ", the bitmap of a removed item left";
        }
        SetClassLongA(desk.Doc(0), GCL_STYLE, static_cast<LONG>(classStyle));
        DestroyWindow(host.app);
        return measured;
    };
    int rows = 0, failures = 0;
    // What the call changed that it may not, unless the shortest sequence
    // changes it the same way; what it left unlike the shortest sequence,
    // or before the call; what it cost more.
    auto judge = [&](const Row &row, const Measurement &p, const Measurement &s, bool twinned) {
        std::string changed, more;
        for (const auto &field : p.before) {
            const std::string &now = p.after.at(field.first).value;
            const std::string &least = s.after.at(field.first).value;
            if (now != field.second.value && !(row.mayChange & field.second.category) &&
                !(twinned && least == now && least != s.before.at(field.first).value))
                changed += "; " + field.first + " " + field.second.value + " -> " + now;
        }
        std::string before = twinned ? Differences(p.before, s.before) : "";
        std::string after = twinned ? Differences(p.after, s.after) : "";
        std::map<std::string, int> mine = Costs(p), least = Costs(s);
        for (const auto &cost : mine)
            if (cost.first != "all" && cost.second > least[cost.first])
                more += ", " + cost.first + " " + std::to_string(cost.second) + ">" +
                        std::to_string(least[cost.first]);
        std::string problems = (changed.empty() ? "" : " | changed" + changed.substr(1)) +
                               (before.empty() ? "" : " | before the call" + before.substr(1)) +
                               (after.empty() ? "" : " | unlike the shortest" + after.substr(1)) +
                               (more.empty() ? "" : " | more messages: " + more.substr(2));
        ++rows;
        failures += !problems.empty();
        std::string cost = std::to_string(mine["all"]) + "/" + std::to_string(least["all"]);
        char line[96];
        std::snprintf(line, sizeof line, "  %-22s %-18s %7s  ", row.function,
                      Quote(p.answer).substr(0, 18).c_str(), counted ? cost.c_str() : "-");
        out_ << line << (problems.empty() ? "ok" : "FAILS" + problems) << "\n";
    };

    for (const std::string &name : options.positional) {
        const State *state = nullptr;
        for (const State &s : kStates)
            state = name == s.name ? &s : state;
        if (state == nullptr)
            throw ScriptError("collateral: no state '" + name + "' (try 'help')");
        out_ << "collateral " << name << ": answer, messages to the host's windows plug-in/"
             << (counted ? "shortest" : "- (the stand-in counts none)") << ", outcome\n";
        for (size_t r = 0; r < kRowCount; ++r) {
            size_t n = r + 1 < kRowCount && kRows[r + 1].second ? 2 : 1;
            if (state->rows == 0 || (n == 2 && (kRows[r].mayChange & state->rows))) {
                std::vector<Measurement> p = measure(*state, r, n, false);
                // The shortest sequence of a function that changes no window
                // of the host's is none, which costs nothing. On the
                // stand-in, which counts no messages, no other is made.
                std::vector<Measurement> s = p;
                for (Measurement &m : s)
                    m.after = m.before, m.messages.clear();
                bool twinned = kRows[r].shortest == nullptr || counted;
                if (counted && kRows[r].shortest)
                    s = measure(*state, r, n, true);
                // In the "-since" states, the first call is only the way there.
                for (size_t i = state->rows == 0 ? 0 : 1; i < n; ++i)
                    judge(kRows[r + i], p[i], s[i], twinned);
            }
            r += n - 1;
        }
    }
    if (failures != 0)
        throw ScriptError("collateral: " + std::to_string(failures) + " of " +
                          std::to_string(rows) + " rows fail (above)");
}

}  // namespace fmhost
