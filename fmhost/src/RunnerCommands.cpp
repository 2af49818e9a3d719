// The script's commands: the plug-in and its messages, the host's windows,
// the cursor, the task bars, the registry, the preferences dialog, pictures.
#include "Runner.h"

#include "Bench.h"
#include "PluginNames.h"
#include "Soak.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace fmhost {

HostSession &Runner::Session()
{
    if (!session_) {
        if (!module_.entry && !LoadPlugin(options_.pluginPath, &module_))
            throw ScriptError("cannot load the plug-in: " + module_.error);
        session_ = std::make_unique<HostSession>(module_.entry, module_.instance);
    }
    return *session_;
}

void Runner::Startup(const Words &words)
{
    Options options(words, 1);
    long version = options.positional.empty() ? 33 : ParseNumber(options.positional[0], "version");
    generation_ = version == 12 ? 3 : 5;
    intptr_t reply = Session().Startup(static_cast<int16_t>(version));
    last_ = std::to_string(reply);
    out_ << "startup " << version << " -> " << last_ << "\n";
    ExpectInline(options, 1);
}

void Runner::Shutdown(const Words &)
{
    Session().Shutdown();
    out_ << "shutdown\n";
}

uint32_t Runner::FunctionId(const std::string &name)
{
    if (!name.empty() && name[0] == '#')
        return static_cast<uint32_t>(ParseNumber(name.substr(1), "function id"));
    Session();
    for (size_t id = 0; id < module_.functionNames.size(); ++id)
        if (module_.functionNames[id] == name)
            return static_cast<uint32_t>(id);
    throw ScriptError("the plug-in has no function '" + name + "'");
}

void Runner::CallFunction(const Words &words)
{
    if (words.size() < 2)
        throw ScriptError("call FUNCTION [PARAMETER] [expect RESULT]");
    uint32_t id = FunctionId(words[1]);
    size_t next = 2;
    std::string parameter;
    if (words.size() > 2 && words[2] != "expect") {
        parameter = words[2];
        next = 3;
    }
    // The windows the script named that this thread made: the host's.
    std::vector<HWND> windows;
    for (const auto &named : windows_)
        if (GetWindowThreadProcessId(named.second, NULL) == GetCurrentThreadId() &&
            std::find(windows.begin(), windows.end(), named.second) == windows.end())
            windows.push_back(named.second);
    bool traced = trace_ == kTraceOn && StartTrace(windows);
    last_ = Session().Call(id, parameter);
    out_ << words[1] << "(" << Quote(parameter) << ") -> " << Quote(last_) << "\n";
    if (traced) {
        Pump();
        std::vector<WindowMessages> counted = StopTrace();
        traced_.clear();
        out_ << "  messages:";
        for (size_t i = 0; i < windows.size(); ++i) {
            traced_[windows[i]] = counted[i];
            out_ << " " << HandleName(windows[i]) << " " << CountMessages(counted[i], "all");
        }
        out_ << "\n";
    }
    if (words.size() > next) {
        if (words[next] != "expect" || words.size() != next + 2)
            throw ScriptError("after the parameter only 'expect RESULT' may follow");
        Compare(words[next + 1]);
    }
}

void Runner::Trace(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 1 || (words[1] != "on" && words[1] != "off"))
        throw ScriptError("trace on [native=skip] | trace off");
    trace_ = words[1] == "off" ? kTraceOff : kTraceOn;
    traced_.clear();
    if (trace_ == kTraceOn && !StartTrace({})) {
        if (options.Get("native") != "skip")
            throw ScriptError(
                "the stand-in counts no messages: 'trace on native=skip' skips the "
                "message checks here");
        trace_ = kTraceSkipped;
        out_ << "trace: the stand-in counts no messages; the message checks are skipped\n";
    }
    StopTrace();
}

void Runner::ExpectInline(const Options &options, size_t at)
{
    if (options.positional.size() > at) {
        if (options.positional[at] != "expect" || options.positional.size() != at + 2)
            throw ScriptError("only 'expect RESULT' may follow");
        Compare(options.positional[at + 1]);
    }
}

void Runner::Compare(const std::string &expected)
{
    if (last_ != expected)
        throw ScriptError("expected " + Quote(expected) + ", got " + Quote(last_));
}

HWND Runner::Window(const std::string &name)
{
    auto it = windows_.find(name);
    if (it == windows_.end())
        throw ScriptError("no window named '" + name + "'");
    return it->second;
}

void Runner::Bind(const std::string &name, HWND window)
{
    if (name.empty() || name.find('.') != std::string::npos)
        throw ScriptError("a window name has no dots: '" + name + "'");
    windows_[name] = window;
}

void Runner::App(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 1)
        throw ScriptError("app NAME [class=CLASS] [at=X,Y,W,H] [nomenu] [toolbar=HEIGHT]");
    HostLayout layout;
    layout.generation = generation_;
    layout.appClass = options.Get("class");
    layout.title = options.Get("title", "Host");
    if (options.Has("at"))
        ParseRect(options.Get("at"), &layout.x, &layout.y, &layout.width, &layout.height);
    if (options.Has("toolbar"))
        layout.toolbarHeight = static_cast<int>(ParseNumber(options.Get("toolbar"), "toolbar"));
    if (options.Has("menu") && options.Get("menu") == "no")
        layout.menuBar = false;
    HostWindows host = CreateHostWindows(Session().Block().instanceID, layout);
    if (!host.app || !host.mdiClient)
        throw ScriptError("the application window could not be created");
    const std::string &name = options.positional[0];
    Bind(name, host.app);
    windows_[name + ".mdi"] = host.mdiClient;
    windows_[name + ".toolbar"] = host.toolbar;
    hosts_[name] = host;
    Pump();
}

void Runner::Doc(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 2)
        throw ScriptError(
            "doc NAME TITLE [at=X,Y,W,H] [in=APP] [style=HEX] [exstyle=HEX] [class=CLASS]");
    std::string appName = options.Get("in", hosts_.empty() ? "" : hosts_.begin()->first);
    auto host = hosts_.find(appName);
    if (host == hosts_.end())
        throw ScriptError("no application window '" + appName + "' to hold the document");
    DocumentLayout layout;
    layout.title = options.positional[1];
    layout.className = options.Get("class");
    if (options.Has("at"))
        ParseRect(options.Get("at"), &layout.x, &layout.y, &layout.width, &layout.height);
    if (options.Has("style"))
        layout.style = static_cast<DWORD>(ParseNumber(options.Get("style"), "style"));
    if (options.Has("exstyle"))
        layout.exStyle = static_cast<DWORD>(ParseNumber(options.Get("exstyle"), "exstyle"));
    HWND document = CreateDocument(Session().Block().instanceID, host->second, generation_, layout);
    if (!document)
        throw ScriptError("the document window could not be created");
    Bind(options.positional[0], document);
    Pump();
}

void Runner::Find(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 1 || !options.Has("class"))
        throw ScriptError("find NAME class=CLASS [title=TITLE]");
    std::string title = options.Get("title");
    HWND window =
        FindWindowA(options.Get("class").c_str(), options.Has("title") ? title.c_str() : NULL);
    if (!window)
        throw ScriptError("no top-level window of class '" + options.Get("class") + "'");
    Bind(options.positional[0], window);
}

void Runner::Peer(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 1)
        throw ScriptError("peer NAME [class=CLASS] [doc=TITLE]");
    HostWindows peer;
    std::string appClass = options.Get("class", DefaultAppClass(generation_));
    std::string title = options.Get("doc", "Orders");
    std::string error = StartPeerHost(appClass, title, &peer);
    if (!error.empty())
        throw ScriptError("the peer host: " + error);
    const std::string &name = options.positional[0];
    Bind(name, peer.app);
    windows_[name + ".mdi"] = peer.mdiClient;
    windows_[name + ".doc"] = FindWindowExA(peer.mdiClient, NULL, NULL, title.c_str());
    out_ << "peer " << name << " started\n";
}

void Runner::Focus(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError("focus NAME");
    SetFocus(Window(words[1]));
}

void Runner::Activate(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError("activate NAME");
    HWND window = Window(words[1]);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!SetForegroundWindow(window))
        throw ScriptError("'" + words[1] + "' could not be made the foreground window");
}

void Runner::Click(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 1)
        throw ScriptError("click NAME [at=X,Y]");
    HWND window = Window(options.positional[0]);
    RECT r;
    GetWindowRect(window, &r);
    POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (options.Has("at")) {
        int x = 0, y = 0;
        ParsePoint(options.Get("at"), &x, &y);
        at = {x, y};
    }
    ClickAt(window, at);
}

void Runner::Display(const Words &words)
{
    int width = 0, height = 0;
    if (words.size() != 3 || std::sscanf(words[2].c_str(), "%dx%d", &width, &height) != 2)
        throw ScriptError("display N WIDTHxHEIGHT");
    int index = static_cast<int>(ParseNumber(words[1], "monitor"));
    std::string error = ChangeMonitorSize(index, width, height);
    if (!error.empty())
        throw ScriptError(error);
}

void Runner::HungShell(const Words &words)
{
    Options options(words, 1);
    if (options.positional.size() != 1)
        throw ScriptError("hungshell NAME [sleep=MILLISECONDS]");
    int sleep = static_cast<int>(ParseNumber(options.Get("sleep", "6000"), "sleep"));
    HWND bar = NULL;
    std::string error = StartHungShell(sleep, &bar);
    if (!error.empty())
        throw ScriptError("the hung shell: " + error);
    Bind(options.positional[0], bar);
}

void Runner::WaitShell(const Words &)
{
    std::string error = WaitForHungShell();
    if (!error.empty())
        throw ScriptError("the hung shell: " + error);
}

void Runner::WindowState(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError(words[0] + " NAME");
    int command = words[0] == "maximize"   ? SW_MAXIMIZE
                  : words[0] == "minimize" ? SW_MINIMIZE
                                           : SW_RESTORE;
    ShowWindow(Window(words[1]), command);
    Pump();
}

void Runner::Menu(const Words &words)
{
    if (words.size() != 3 || (words[2] != "new" && words[2] != "none"))
        throw ScriptError("menu NAME new|none");
    HMENU menu = NULL;
    if (words[2] == "new") {
        menu = CreateMenu();
        AppendMenuA(menu, MF_STRING, 11, "&Records");
        AppendMenuA(menu, MF_STRING, 12, "&Scripts");
        newMenus_[words[1]] = menu;
    }
    if (!SetMenu(Window(words[1]), menu))
        throw ScriptError("the menu bar could not be set");
    Pump();
}

void Runner::Destroy(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError("destroy NAME");
    DestroyWindow(Window(words[1]));
    Pump();
}

void Runner::Cursor(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError("cursor COUNT");
    SetCursorCount(static_cast<int>(ParseNumber(words[1], "cursor count")));
}

void Runner::TaskBar(const Words &words)
{
    HWND bar = EnsureTaskBar();
    if (!bar)
        throw ScriptError("no task bar window");
    Bind(words.size() > 1 ? words[1] : "taskbar", bar);
}

void Runner::StartButton(const Words &words)
{
    HWND button = MakeStartButton(EnsureTaskBar());
    if (!button)
        throw ScriptError("the Start button could not be made");
    Bind(words.size() > 1 ? words[1] : "start", button);
}

void Runner::SecondaryBar(const Words &words)
{
    HWND bar = MakeSecondaryTaskBar();
    if (!bar)
        throw ScriptError("the further task bar could not be made");
    Bind(words.size() > 1 ? words[1] : "secondary", bar);
}

void Runner::CodePage(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError("codepage 1252|932");
    std::string differs = UseCodePage(static_cast<unsigned>(ParseNumber(words[1], "code page")));
    if (!differs.empty())
        throw ScriptError(differs);
}

void Runner::Monitors(const Words &words)
{
    if (words.size() < 2)
        throw ScriptError("monitors LEFT,TOP,RIGHT,BOTTOM ... (the primary first)");
    std::vector<RECT> monitors;
    for (size_t i = 1; i < words.size(); ++i) {
        int l = 0, t = 0, r = 0, b = 0;
        ParseRect(words[i], &l, &t, &r, &b);
        monitors.push_back({l, t, r, b});
    }
    std::string differs = UseMonitors(monitors);
    if (!differs.empty())
        throw ScriptError(differs);
}

void Runner::Registry(const Words &words)
{
    if (words.size() >= 2 && words[1] == "clear") {
        RegDeleteKeyA(HKEY_CURRENT_USER, LOOMVANE_SETTINGS_KEY);
        return;
    }
    if (words.size() == 3 && words[1] == "set") {
        HKEY key;
        DWORD disposition;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, LOOMVANE_SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS,
                            NULL, &key, &disposition) != ERROR_SUCCESS)
            throw ScriptError("cannot open the settings key");
        RegSetValueExA(key, LOOMVANE_PREFS_VALUE, 0, REG_SZ,
                       reinterpret_cast<const BYTE *>(words[2].data()),
                       static_cast<DWORD>(words[2].size()));
        RegCloseKey(key);
        return;
    }
    if (words.size() == 2 && words[1] == "key-only") {
        RegDeleteKeyA(HKEY_CURRENT_USER, LOOMVANE_SETTINGS_KEY);
        HKEY key;
        DWORD disposition;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, LOOMVANE_SETTINGS_KEY, 0, NULL, 0, KEY_ALL_ACCESS,
                            NULL, &key, &disposition) == ERROR_SUCCESS)
            RegCloseKey(key);
        return;
    }
    if (words.size() == 2 && words[1] == "locked") {
        // Reading and writing values, and deleting the key: no more.
        std::string failed =
            LockRegistryKey(LOOMVANE_SETTINGS_KEY, KEY_QUERY_VALUE | KEY_SET_VALUE | 0x10000);
        if (!failed.empty())
            throw ScriptError(failed);
        return;
    }
    throw ScriptError("registry clear | registry key-only | registry locked | registry set TEXT");
}

void Runner::Prefs(const Words &words)
{
    std::vector<DialogStep> steps;
    for (size_t i = 1; i < words.size(); ++i) {
        const std::string &w = words[i];
        DialogStep step{DialogStep::Ok, "", 0};
        if (w.rfind("type=", 0) == 0) {
            step.kind = DialogStep::Type;
            step.text = w.substr(5);
        } else if (w.rfind("keys=", 0) == 0) {
            step.kind = DialogStep::Keys;
            step.text = w.substr(5);
        } else if (w == "ok") {
            step.kind = DialogStep::Ok;
        } else if (w == "cancel") {
            step.kind = DialogStep::Cancel;
        } else if (w == "close") {
            step.kind = DialogStep::CloseBox;
        } else if (w.rfind("command=", 0) == 0) {
            step.kind = DialogStep::Command;
            step.wParam = static_cast<unsigned long>(ParseNumber(w.substr(8), "command"));
        } else if (w.rfind("picture=", 0) == 0 && w.size() > 8) {
            step.kind = DialogStep::Picture;
            step.text = SnapshotPath(w.substr(8));
        } else {
            throw ScriptError(
                "prefs steps: type=TEXT keys=TEXT ok cancel close command=WPARAM "
                "picture=FILE");
        }
        steps.push_back(step);
    }
    dialog_ = RunPreferences(Session(), steps);
    if (dialog_.pictureFailed)
        throw ScriptError("could not write the picture of the dialog");
    out_ << "prefs -> "
         << (dialog_.opened ? (dialog_.endedByItself ? "ended" : "left open") : "did not open")
         << ", field " << Quote(dialog_.fieldText) << "\n";
}

void Runner::SnapshotCommand(const Words &words)
{
    if (words.size() != 2)
        throw ScriptError("snapshot FILE");
    PumpKeepingZOrder();
    std::string path = SnapshotPath(words[1]);
    if (!Snapshot(path))
        throw ScriptError("could not write the picture " + path);
    out_ << "snapshot " << path << "\n";
}

std::string Runner::SnapshotPath(const std::string &file) const
{
    if (file.find('/') == std::string::npos && file.find('\\') == std::string::npos)
        return options_.snapshotDir + "/" + file;
    return file;
}

void Runner::Echo(const Words &words)
{
    for (size_t i = 1; i < words.size(); ++i)
        out_ << (i > 1 ? " " : "") << words[i];
    out_ << "\n";
}

void Runner::Names(const Words &)
{
    Session();
    out_ << "name " << Quote(module_.name) << ", options " << Quote(module_.options) << "\n";
    for (size_t id = 0; id < module_.functionNames.size(); ++id)
        out_ << "  " << id << " " << module_.functionNames[id] << "\n";
}

void Runner::Bench(const Words &words)
{
    if (module_.entry)
        throw ScriptError("bench loads the plug-in itself: unload it first");
    RunBench(words, options_.pluginPath, out_);
}

void Runner::Soak(const Words &words)
{
    if (module_.entry)
        throw ScriptError("soak loads the plug-in itself: unload it first");
    RunSoak(words, options_.pluginPath, out_);
}

void Runner::Help(const Words &)
{
    PrintHelp(out_);
    out_ << "\nThe plug-in's functions:\n";
    Names(Words());
}

}  // namespace fmhost
