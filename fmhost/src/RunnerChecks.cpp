// The script's checks: what the plug-in did to the windows, the cursor, the
// registry and the preferences dialog. Each fails with what it found.
#include "Runner.h"

#include "PluginNames.h"

#include <cstdio>

namespace fmhost {

HWND Runner::ExistingWindow(const Words &words)
{
    HWND window = Window(words[2]);
    if (!IsWindow(window))
        throw ScriptError("window '" + words[2] + "' no longer exists");
    return window;
}

void Runner::CheckWord(const Words &words, DWORD actual)
{
    Options options(words, 3);
    if (options.positional.size() != 1)
        throw ScriptError("check " + words[1] + " NAME VALUE [mask=MASK]");
    DWORD expected = static_cast<DWORD>(ParseNumber(options.positional[0], "value"));
    DWORD mask = options.Has("mask") ? static_cast<DWORD>(ParseNumber(options.Get("mask"), "mask"))
                                     : 0xFFFFFFFFu;
    if ((actual & mask) != (expected & mask))
        throw ScriptError(words[1] + " of " + words[2] + ": expected " + Hex(expected & mask) +
                          ", found " + Hex(actual & mask) + " (whole word " + Hex(actual) + ")");
}

void Runner::CheckFlag(const std::string &what, const std::string &name, bool actual,
                       const std::string &expected)
{
    bool want = ParseNumber(expected, what.c_str()) != 0;
    if (actual != want)
        throw ScriptError(what + " of " + name + ": expected " + (want ? "1" : "0") + ", found " +
                          (actual ? "1" : "0"));
}

std::string Runner::HandleName(HWND window) const
{
    if (window == NULL)
        return "none";
    for (const auto &entry : windows_)
        if (entry.second == window)
            return entry.first;
    char text[32];
    std::snprintf(text, sizeof text, "window %p", static_cast<void *>(window));
    return text;
}

void Runner::CheckCursor(const Words &words)
{
    int expected = static_cast<int>(ParseNumber(words[2], "cursor count"));
    int actual = CursorCount();
    if (actual != expected)
        throw ScriptError("cursor count: expected " + std::to_string(expected) + ", found " +
                          std::to_string(actual));
}

std::string Runner::ReadPrefs()
{
    HKEY key;
    // The one right reading a value needs: a locked-down key grants no more.
    if (RegOpenKeyExA(HKEY_CURRENT_USER, LOOMVANE_SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS)
        return "<no key>";
    char data[512];
    DWORD size = sizeof data;
    LSTATUS status = RegQueryValueExA(key, LOOMVANE_PREFS_VALUE, NULL, NULL,
                                      reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        return "<no value>";
    if (size > 0 && data[size - 1] == '\0')
        --size;
    return std::string(data, size);
}

void Runner::CheckRegistry(const Words &words)
{
    std::string actual = ReadPrefs();
    if (actual != words[2])
        throw ScriptError("registry value prefs: expected " + Quote(words[2]) + ", found " +
                          Quote(actual));
}

void Runner::CheckSame(const Words &words)
{
    if (words.size() != 4)
        throw ScriptError("check same NAME OTHER");
    if (Window(words[2]) != Window(words[3]))
        throw ScriptError(words[2] + " is " + HandleName(Window(words[2])) + ", not " + words[3]);
}

// check active NAME, check focus NAME.
void Runner::CheckActive(const Words &words)
{
    if (words.size() != 3)
        throw ScriptError("check active|focus|foreground [!]NAME");
    bool active = words[1] == "active";
    bool foreground = words[1] == "foreground";
    HWND actual = active ? GetActiveWindow() : foreground ? GetForegroundWindow() : GetFocus();
    // !NAME: any window but that one.
    bool negated = words[2].size() > 1 && words[2][0] == '!';
    std::string name = negated ? words[2].substr(1) : words[2];
    if ((actual == Window(name)) == negated)
        throw ScriptError(std::string(active       ? "the active window"
                                      : foreground ? "the foreground window"
                                                   : "the focus") +
                          " is " + HandleName(actual) + (negated ? "" : ", not " + name));
}

void Runner::CheckExists(const Words &words)
{
    if (words.size() != 4)
        throw ScriptError("check exists NAME 0|1");
    CheckFlag("existence", words[2], IsWindow(Window(words[2])) != 0, words[3]);
}

void Runner::CheckRect(const Words &words)
{
    HWND window = ExistingWindow(words);
    if (words.size() != 7)
        throw ScriptError("check rect NAME LEFT TOP RIGHT BOTTOM");
    RECT expected = {static_cast<LONG>(ParseNumber(words[3], "left")),
                     static_cast<LONG>(ParseNumber(words[4], "top")),
                     static_cast<LONG>(ParseNumber(words[5], "right")),
                     static_cast<LONG>(ParseNumber(words[6], "bottom"))};
    RECT actual = RectInParent(window);
    if (actual.left != expected.left || actual.top != expected.top ||
        actual.right != expected.right || actual.bottom != expected.bottom)
        throw ScriptError("rect of " + words[2] + ": expected " + RectText(expected) + ", found " +
                          RectText(actual));
}

// check style|exstyle|classstyle NAME VALUE [mask=MASK].
void Runner::CheckStyle(const Words &words)
{
    HWND window = ExistingWindow(words);
    if (words[1] == "style")
        CheckWord(words, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)));
    else if (words[1] == "exstyle")
        CheckWord(words, static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    else
        CheckWord(words, GetClassLongA(window, GCL_STYLE));
}

// check visible|enabled|zoomed|iconic NAME 0|1.
void Runner::CheckVisible(const Words &words)
{
    HWND window = ExistingWindow(words);
    if (words.size() != 4)
        throw ScriptError("check " + words[1] + " NAME 0|1");
    if (words[1] == "visible")
        CheckFlag("visibility", words[2], IsWindowVisible(window) != 0, words[3]);
    else if (words[1] == "enabled")
        CheckFlag("enabled state", words[2], IsWindowEnabled(window) != 0, words[3]);
    else if (words[1] == "zoomed")
        CheckFlag("maximized state", words[2], IsZoomed(window) != 0, words[3]);
    else
        CheckFlag("minimized state", words[2], IsIconic(window) != 0, words[3]);
}

// check title NAME TEXT, check class NAME CLASS.
void Runner::CheckText(const Words &words)
{
    HWND window = ExistingWindow(words);
    bool title = words[1] == "title";
    if (words.size() != 4)
        throw ScriptError(title ? "check title NAME TEXT" : "check class NAME CLASS");
    char text[512] = "";
    if (title)
        GetWindowTextA(window, text, sizeof text);
    else
        GetClassNameA(window, text, sizeof text);
    if (words[3] != text)
        throw ScriptError(words[1] + " of " + words[2] + ": expected " + Quote(words[3]) +
                          ", found " + Quote(text));
}

void Runner::CheckMenu(const Words &words)
{
    HWND window = ExistingWindow(words);
    if (words.size() != 4)
        throw ScriptError("check menu NAME none|present|original|new");
    HMENU menu = GetMenu(window);
    auto host = hosts_.find(words[2]);
    if (words[3] == "new") {
        auto made = newMenus_.find(words[2]);
        if (made == newMenus_.end() || menu != made->second)
            throw ScriptError("menu of " + words[2] + ": expected the one the host gave it");
        return;
    }
    if (words[3] == "none") {
        if (menu != NULL)
            throw ScriptError("menu of " + words[2] + ": expected none, found one");
    } else if (words[3] == "present") {
        if (menu == NULL)
            throw ScriptError("menu of " + words[2] + ": expected one, found none");
    } else if (words[3] == "original") {
        if (host == hosts_.end())
            throw ScriptError("'" + words[2] + "' is no application window");
        if (menu != host->second.menu)
            throw ScriptError("menu of " + words[2] + ": expected its original menu bar");
    } else {
        throw ScriptError("check menu NAME none|present|original|new");
    }
}

void Runner::CheckMenuItems(const Words &words)
{
    HWND window = ExistingWindow(words);
    Options options(words, 3);
    if (options.positional.size() != 1)
        throw ScriptError("check menuitems NAME COUNT [buttons=DOC]");
    HMENU menu = GetMenu(window);
    int count = GetMenuItemCount(menu);
    long expected = ParseNumber(options.positional[0], "count");
    // Whose window menu the first item is, if it is a document's.
    HMENU first = GetSubMenu(menu, 0);
    std::string owner = "none";
    for (const auto &entry : windows_)
        if (first != NULL && IsWindow(entry.second) && GetSystemMenu(entry.second, FALSE) == first)
            owner = entry.first;
    UINT last = GetMenuItemID(menu, count - 1);
    if (owner != "none" && last != SC_CLOSE)
        owner += " (without its close button last)";
    if (owner == "none" && (first != NULL || last == SC_CLOSE))
        owner = "another window";
    std::string wanted = options.Get("buttons", "none");
    if (count != expected || owner != wanted)
        throw ScriptError("menu bar of " + words[2] + ": expected " + std::to_string(expected) +
                          " items with the buttons of " + wanted + ", found " +
                          std::to_string(count) + " with the buttons of " + owner);
}

void Runner::CheckMessages(const Words &words)
{
    if (words.size() != 5)
        throw ScriptError("check messages NAME KIND COUNT");
    CountMessages(WindowMessages(), words[3]);  // a kind that exists, where none are counted too
    if (trace_ == kTraceSkipped) {
        out_ << "check messages " << words[2] << " " << words[3] << " " << words[4]
             << ": skipped on the stand-in\n";
        return;
    }
    auto traced = traced_.find(Window(words[2]));
    if (trace_ != kTraceOn || traced == traced_.end())
        throw ScriptError("no traced call reached '" + words[2] + "' ('trace on' first)");
    int count = CountMessages(traced->second, words[3]);
    if (count != ParseNumber(words[4], "count"))
        throw ScriptError(words[3] + " messages to " + words[2] + ": expected " + words[4] +
                          ", found " + std::to_string(count) + " of " +
                          DescribeMessages(traced->second));
}

// Read before the window manager handles the messages of a change: without
// one, Wine restacks a window it has just shown.
void Runner::CheckAbove(const Words &words)
{
    HWND window = ExistingWindow(words);
    if (words.size() != 4)
        throw ScriptError("check above NAME OTHER");
    HWND above = GetWindow(window, GW_HWNDPREV);
    if (above != Window(words[3]))
        throw ScriptError("the window above " + words[2] + " is " + HandleName(above) + ", not " +
                          words[3]);
}

void Runner::CheckTop(const Words &words)
{
    HWND window = ExistingWindow(words);
    HWND parent = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : NULL;
    HWND first = parent ? GetWindow(parent, GW_CHILD) : NULL;
    if (parent && first != window)
        throw ScriptError(words[2] + " is not on top of its siblings");
}

void Runner::CheckDialog(const Words &words)
{
    if (words[2] == "open" || words[2] == "ended") {
        bool wantOpen = words[2] == "open";
        if (!dialog_.opened)
            throw ScriptError("the dialog did not open");
        if (wantOpen == dialog_.endedByItself)
            throw ScriptError(std::string("the dialog ") +
                              (dialog_.endedByItself ? "ended" : "stayed open"));
    } else if (words[2] == "layout" && words.size() == 3) {
        // Only a real dialog manager lays the template out.
        if (dialog_.layoutMeasured && !dialog_.layoutFault.empty())
            throw ScriptError("the dialog's layout: " + dialog_.layoutFault);
    } else if (words[2] == "text" && words.size() == 4) {
        if (dialog_.fieldText != words[3])
            throw ScriptError("the dialog's field: expected " + Quote(words[3]) + ", found " +
                              Quote(dialog_.fieldText));
    } else {
        throw ScriptError("check dialog open|ended|layout|text TEXT");
    }
}

void Runner::CheckAwake(const Words &words)
{
    if (words.size() != 4 || words[2] != "shell")
        throw ScriptError("check awake shell 0|1");
    CheckFlag("awake", "the hung shell", HungShellAwake(), words[3]);
}

}  // namespace fmhost
