// The script interpreter of the stand-in host. It plays the host: it builds
// the host's windows, loads and starts the plug-in, calls its functions by
// name and checks what they did to the windows, the cursor and the registry.
#include "Script.h"

#include "Bench.h"
#include "HostWindows.h"
#include "Platform.h"
#include "PluginNames.h"
#include "Soak.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace fmhost {

namespace {

const char kSettingsKey[] = LOOMVANE_SETTINGS_KEY;

struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Words = std::vector<std::string>;

Words Tokenize(const std::string &line)
{
    Words words;
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string word;
        bool quoted = false;
        while (i < line.size() &&
               (quoted || (line[i] != ' ' && line[i] != '\t' && line[i] != '\r'))) {
            char d = line[i++];
            if (d == '"') {
                quoted = !quoted;
            } else if (d == '\\' && quoted && i + 2 < line.size() && line[i] == 'x' &&
                       std::isxdigit(static_cast<unsigned char>(line[i + 1])) &&
                       std::isxdigit(static_cast<unsigned char>(line[i + 2]))) {
                // \xHH: any byte, such as half of a double-byte character.
                word += static_cast<char>(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 3;
            } else if (d == '\\' && quoted && i < line.size()) {
                char e = line[i++];
                word += e == 'n' ? '\n' : e == 't' ? '\t' : e == '0' ? '\0' : e;
            } else {
                word += d;
            }
        }
        if (quoted)
            throw ScriptError("unterminated quotation mark");
        words.push_back(word);
    }
    return words;
}

long ParseNumber(const std::string &text, const char *what)
{
    if (text.empty())
        throw ScriptError(std::string("missing ") + what);
    char *end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0')
        throw ScriptError(std::string("not a number for ") + what + ": '" + text + "'");
    return value;
}

std::string Quote(const std::string &text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\0')
            out += "\\0";
        else
            out += c;
    }
    return out + "\"";
}

std::string Hex(unsigned long value)
{
    std::ostringstream out;
    out << "0x" << std::hex << value;
    return out.str();
}

std::string RectText(const RECT &r)
{
    std::ostringstream out;
    out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
    return out.str();
}

// key=value options after the positional words of a command.
struct Options {
    std::map<std::string, std::string> values;
    Words positional;

    Options(const Words &words, size_t first)
    {
        for (size_t i = first; i < words.size(); ++i) {
            size_t eq = words[i].find('=');
            if (eq != std::string::npos && eq > 0)
                values[words[i].substr(0, eq)] = words[i].substr(eq + 1);
            else
                positional.push_back(words[i]);
        }
    }
    bool Has(const std::string &key) const { return values.count(key) != 0; }
    std::string Get(const std::string &key, const std::string &fallback = "") const
    {
        auto it = values.find(key);
        return it == values.end() ? fallback : it->second;
    }
};

void ParseRect(const std::string &text, int *x, int *y, int *w, int *h)
{
    int values[4];
    std::istringstream in(text);
    for (int i = 0; i < 4; ++i) {
        std::string part;
        if (!std::getline(in, part, ','))
            throw ScriptError("a rectangle is x,y,width,height: '" + text + "'");
        values[i] = static_cast<int>(ParseNumber(part, "rectangle"));
    }
    *x = values[0];
    *y = values[1];
    *w = values[2];
    *h = values[3];
}

class Runner {
public:
    Runner(const ScriptOptions &options, std::ostream &out) : options_(options), out_(out)
    {
        PrepareDesktop();
    }

    ~Runner()
    {
        StopPeerHosts();
        session_.reset();
        UnloadPlugin(&module_);
    }

    void Execute(const Words &words)
    {
        const std::string &command = words[0];
        static const std::map<std::string, void (Runner::*)(const Words &)> commands = {
            {"load", &Runner::Load},
            {"unload", &Runner::Unload},
            {"startup", &Runner::Startup},
            {"shutdown", &Runner::Shutdown},
            {"idle", &Runner::Idle},
            {"message", &Runner::Message},
            {"app", &Runner::App},
            {"doc", &Runner::Doc},
            {"find", &Runner::Find},
            {"destroy", &Runner::Destroy},
            {"set", &Runner::Set},
            {"call", &Runner::CallFunction},
            {"expect", &Runner::Expect},
            {"check", &Runner::Check},
            {"cursor", &Runner::Cursor},
            {"taskbar", &Runner::TaskBar},
            {"startbutton", &Runner::StartButton},
            {"secondarybar", &Runner::SecondaryBar},
            {"monitors", &Runner::Monitors},
            {"peer", &Runner::Peer},
            {"codepage", &Runner::CodePage},
            {"focus", &Runner::Focus},
            {"registry", &Runner::Registry},
            {"prefs", &Runner::Prefs},
            {"snapshot", &Runner::SnapshotCommand},
            {"pump", &Runner::PumpCommand},
            {"echo", &Runner::Echo},
            {"names", &Runner::Names},
            {"help", &Runner::Help},
            {"bench", &Runner::Bench},
            {"soak", &Runner::Soak},
        };
        auto it = commands.find(command);
        if (it == commands.end())
            throw ScriptError("unknown command '" + command + "' (try 'help')");
        (this->*(it->second))(words);
    }

private:
    // ---- The plug-in ----

    HostSession &Session()
    {
        if (!session_) {
            if (!module_.entry && !LoadPlugin(options_.pluginPath, &module_))
                throw ScriptError("cannot load the plug-in: " + module_.error);
            session_ = std::make_unique<HostSession>(module_.entry, module_.instance);
        }
        return *session_;
    }

    void Load(const Words &words)
    {
        if (module_.entry)
            throw ScriptError("the plug-in is already loaded");
        std::string path = words.size() > 1 ? words[1] : options_.pluginPath;
        if (!LoadPlugin(path, &module_))
            throw ScriptError("cannot load the plug-in: " + module_.error);
        out_ << "load " << module_.name << " (" << module_.functionNames.size() << " functions)\n";
    }

    void Unload(const Words &)
    {
        session_.reset();
        UnloadPlugin(&module_);
        out_ << "unload\n";
    }

    void Startup(const Words &words)
    {
        Options options(words, 1);
        long version =
            options.positional.empty() ? 33 : ParseNumber(options.positional[0], "version");
        generation_ = version == 12 ? 3 : 5;
        intptr_t reply = Session().Startup(static_cast<int16_t>(version));
        last_ = std::to_string(reply);
        out_ << "startup " << version << " -> " << last_ << "\n";
        ExpectInline(options, 1);
    }

    void Shutdown(const Words &)
    {
        Session().Shutdown();
        out_ << "shutdown\n";
    }

    void Idle(const Words &) { Session().Idle(); }

    void Message(const Words &words)
    {
        if (words.size() < 2)
            throw ScriptError("message CODE [PRESET-RESULT]");
        long code = ParseNumber(words[1], "message code");
        long preset = words.size() > 2 ? ParseNumber(words[2], "result") : 0;
        intptr_t after = Session().Send(static_cast<uint8_t>(code), preset);
        last_ = std::to_string(after);
        out_ << "message " << code << " -> result " << last_ << "\n";
    }

    uint32_t FunctionId(const std::string &name)
    {
        if (!name.empty() && name[0] == '#')
            return static_cast<uint32_t>(ParseNumber(name.substr(1), "function id"));
        Session();
        for (size_t id = 0; id < module_.functionNames.size(); ++id)
            if (module_.functionNames[id] == name)
                return static_cast<uint32_t>(id);
        throw ScriptError("the plug-in has no function '" + name + "'");
    }

    void CallFunction(const Words &words)
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
        last_ = Session().Call(id, parameter);
        out_ << words[1] << "(" << Quote(parameter) << ") -> " << Quote(last_) << "\n";
        if (words.size() > next) {
            if (words[next] != "expect" || words.size() != next + 2)
                throw ScriptError("after the parameter only 'expect RESULT' may follow");
            Compare(words[next + 1]);
        }
    }

    void ExpectInline(const Options &options, size_t at)
    {
        if (options.positional.size() > at) {
            if (options.positional[at] != "expect" || options.positional.size() != at + 2)
                throw ScriptError("only 'expect RESULT' may follow");
            Compare(options.positional[at + 1]);
        }
    }

    void Compare(const std::string &expected)
    {
        if (last_ != expected)
            throw ScriptError("expected " + Quote(expected) + ", got " + Quote(last_));
    }

    void Expect(const Words &words)
    {
        if (words.size() != 2)
            throw ScriptError("expect RESULT");
        Compare(words[1]);
    }

    // ---- Windows ----

    HWND Window(const std::string &name)
    {
        auto it = windows_.find(name);
        if (it == windows_.end())
            throw ScriptError("no window named '" + name + "'");
        return it->second;
    }

    void Bind(const std::string &name, HWND window)
    {
        if (name.empty() || name.find('.') != std::string::npos)
            throw ScriptError("a window name has no dots: '" + name + "'");
        windows_[name] = window;
    }

    void App(const Words &words)
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

    void Doc(const Words &words)
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
        HWND document =
            CreateDocument(Session().Block().instanceID, host->second, generation_, layout);
        if (!document)
            throw ScriptError("the document window could not be created");
        Bind(options.positional[0], document);
        Pump();
    }

    void Find(const Words &words)
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

    // A second copy of the host in a process of its own, with the same
    // window class and a document of the title (NAME, NAME.mdi, NAME.doc).
    void Peer(const Words &words)
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

    // The keyboard focus to the window, which activates its top-level window.
    void Focus(const Words &words)
    {
        if (words.size() != 2)
            throw ScriptError("focus NAME");
        SetFocus(Window(words[1]));
    }

    void Destroy(const Words &words)
    {
        if (words.size() != 2)
            throw ScriptError("destroy NAME");
        DestroyWindow(Window(words[1]));
        Pump();
    }

    void Set(const Words &words)
    {
        if (words.size() != 4)
            throw ScriptError("set NAME style|exstyle|classstyle VALUE");
        HWND window = Window(words[1]);
        LONG value = static_cast<LONG>(ParseNumber(words[3], "value"));
        if (words[2] == "style")
            SetWindowLongA(window, GWL_STYLE, value);
        else if (words[2] == "exstyle")
            SetWindowLongA(window, GWL_EXSTYLE, value);
        else if (words[2] == "classstyle")
            SetClassLongA(window, GCL_STYLE, value);
        else
            throw ScriptError("set NAME style|exstyle|classstyle VALUE");
        SetWindowPos(window, NULL, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Pump();
    }

    // The outer rectangle in the parent's client area, or on the screen for
    // a top-level window.
    static RECT RectInParent(HWND window)
    {
        RECT rect;
        GetWindowRect(window, &rect);
        if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
            MapWindowPoints(NULL, GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
        return rect;
    }

    void CheckWord(const Words &words, DWORD actual)
    {
        Options options(words, 3);
        if (options.positional.size() != 1)
            throw ScriptError("check " + words[1] + " NAME VALUE [mask=MASK]");
        DWORD expected = static_cast<DWORD>(ParseNumber(options.positional[0], "value"));
        DWORD mask = options.Has("mask")
                         ? static_cast<DWORD>(ParseNumber(options.Get("mask"), "mask"))
                         : 0xFFFFFFFFu;
        if ((actual & mask) != (expected & mask))
            throw ScriptError(words[1] + " of " + words[2] + ": expected " + Hex(expected & mask) +
                              ", found " + Hex(actual & mask) + " (whole word " + Hex(actual) +
                              ")");
    }

    void CheckFlag(const std::string &what, const std::string &name, bool actual,
                   const std::string &expected)
    {
        bool want = ParseNumber(expected, what.c_str()) != 0;
        if (actual != want)
            throw ScriptError(what + " of " + name + ": expected " + (want ? "1" : "0") +
                              ", found " + (actual ? "1" : "0"));
    }

    void Check(const Words &words)
    {
        if (words.size() < 3)
            throw ScriptError("check WHAT ... (try 'help')");
        const std::string &what = words[1];
        if (what == "cursor") {
            int expected = static_cast<int>(ParseNumber(words[2], "cursor count"));
            int actual = CursorCount();
            if (actual != expected)
                throw ScriptError("cursor count: expected " + std::to_string(expected) +
                                  ", found " + std::to_string(actual));
            return;
        }
        if (what == "registry") {
            std::string actual = ReadPrefs();
            if (actual != words[2])
                throw ScriptError("registry value prefs: expected " + Quote(words[2]) + ", found " +
                                  Quote(actual));
            return;
        }
        if (what == "dialog") {
            CheckDialog(words);
            return;
        }
        if (what == "same") {
            if (words.size() != 4)
                throw ScriptError("check same NAME OTHER");
            if (Window(words[2]) != Window(words[3]))
                throw ScriptError(words[2] + " is " + HandleName(Window(words[2])) + ", not " +
                                  words[3]);
            return;
        }
        if (what == "active" || what == "focus") {
            if (words.size() != 3)
                throw ScriptError("check active|focus NAME");
            HWND actual = what == "active" ? GetActiveWindow() : GetFocus();
            if (actual != Window(words[2]))
                throw ScriptError(
                    std::string(what == "active" ? "the active window" : "the focus") + " is " +
                    HandleName(actual) + ", not " + words[2]);
            return;
        }
        if (what == "exists") {
            if (words.size() != 4)
                throw ScriptError("check exists NAME 0|1");
            CheckFlag("existence", words[2], IsWindow(Window(words[2])) != 0, words[3]);
            return;
        }
        HWND window = Window(words[2]);
        if (!IsWindow(window))
            throw ScriptError("window '" + words[2] + "' no longer exists");
        if (what == "rect") {
            if (words.size() != 7)
                throw ScriptError("check rect NAME LEFT TOP RIGHT BOTTOM");
            RECT expected = {static_cast<LONG>(ParseNumber(words[3], "left")),
                             static_cast<LONG>(ParseNumber(words[4], "top")),
                             static_cast<LONG>(ParseNumber(words[5], "right")),
                             static_cast<LONG>(ParseNumber(words[6], "bottom"))};
            RECT actual = RectInParent(window);
            if (actual.left != expected.left || actual.top != expected.top ||
                actual.right != expected.right || actual.bottom != expected.bottom)
                throw ScriptError("rect of " + words[2] + ": expected " + RectText(expected) +
                                  ", found " + RectText(actual));
        } else if (what == "size") {
            if (words.size() != 5)
                throw ScriptError("check size NAME WIDTH HEIGHT");
            RECT rect;
            GetWindowRect(window, &rect);
            long w = ParseNumber(words[3], "width"), h = ParseNumber(words[4], "height");
            if (rect.right - rect.left != w || rect.bottom - rect.top != h)
                throw ScriptError("size of " + words[2] + ": expected " + std::to_string(w) + "x" +
                                  std::to_string(h) + ", found " +
                                  std::to_string(rect.right - rect.left) + "x" +
                                  std::to_string(rect.bottom - rect.top));
        } else if (what == "style") {
            CheckWord(words, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)));
        } else if (what == "exstyle") {
            CheckWord(words, static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
        } else if (what == "classstyle") {
            CheckWord(words, GetClassLongA(window, GCL_STYLE));
        } else if (what == "visible") {
            if (words.size() != 4)
                throw ScriptError("check visible NAME 0|1");
            CheckFlag("visibility", words[2], IsWindowVisible(window) != 0, words[3]);
        } else if (what == "enabled") {
            if (words.size() != 4)
                throw ScriptError("check enabled NAME 0|1");
            CheckFlag("enabled state", words[2], IsWindowEnabled(window) != 0, words[3]);
        } else if (what == "title") {
            if (words.size() != 4)
                throw ScriptError("check title NAME TEXT");
            char text[512] = "";
            GetWindowTextA(window, text, sizeof text);
            if (words[3] != text)
                throw ScriptError("title of " + words[2] + ": expected " + Quote(words[3]) +
                                  ", found " + Quote(text));
        } else if (what == "class") {
            if (words.size() != 4)
                throw ScriptError("check class NAME CLASS");
            char text[256] = "";
            GetClassNameA(window, text, sizeof text);
            if (words[3] != text)
                throw ScriptError("class of " + words[2] + ": expected " + Quote(words[3]) +
                                  ", found " + Quote(text));
        } else if (what == "menu") {
            CheckMenu(words, window);
        } else if (what == "above") {
            // Read before the window manager handles the messages of a
            // change: without one, Wine restacks a window it has just shown.
            if (words.size() != 4)
                throw ScriptError("check above NAME OTHER");
            HWND above = GetWindow(window, GW_HWNDPREV);
            if (above != Window(words[3]))
                throw ScriptError("the window above " + words[2] + " is " + HandleName(above) +
                                  ", not " + words[3]);
        } else if (what == "top") {
            HWND parent = (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : NULL;
            HWND first = parent ? GetWindow(parent, GW_CHILD) : NULL;
            if (parent && first != window)
                throw ScriptError(words[2] + " is not on top of its siblings");
        } else {
            throw ScriptError("unknown check '" + what + "' (try 'help')");
        }
    }

    // The script's name for a window, or its handle.
    std::string HandleName(HWND window) const
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

    void CheckMenu(const Words &words, HWND window)
    {
        if (words.size() != 4)
            throw ScriptError("check menu NAME none|present|original");
        HMENU menu = GetMenu(window);
        auto host = hosts_.find(words[2]);
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
            throw ScriptError("check menu NAME none|present|original");
        }
    }

    // ---- Cursor, task bar, registry ----

    void Cursor(const Words &words)
    {
        if (words.size() != 2)
            throw ScriptError("cursor COUNT");
        SetCursorCount(static_cast<int>(ParseNumber(words[1], "cursor count")));
    }

    void TaskBar(const Words &words)
    {
        HWND bar = EnsureTaskBar();
        if (!bar)
            throw ScriptError("no task bar window");
        Bind(words.size() > 1 ? words[1] : "taskbar", bar);
    }

    void StartButton(const Words &words)
    {
        HWND button = MakeStartButton(EnsureTaskBar());
        if (!button)
            throw ScriptError("the Start button could not be made");
        Bind(words.size() > 1 ? words[1] : "start", button);
    }

    void SecondaryBar(const Words &words)
    {
        HWND bar = MakeSecondaryTaskBar();
        if (!bar)
            throw ScriptError("the further task bar could not be made");
        Bind(words.size() > 1 ? words[1] : "secondary", bar);
    }

    // The ANSI code page: the stand-in's desktop is given it; on Windows the
    // process must run with it.
    void CodePage(const Words &words)
    {
        if (words.size() != 2)
            throw ScriptError("codepage 1252|932");
        std::string differs =
            UseCodePage(static_cast<unsigned>(ParseNumber(words[1], "code page")));
        if (!differs.empty())
            throw ScriptError(differs);
    }

    // monitors L,T,R,B ...: the primary monitor first. The stand-in's desktop
    // is given them; on Windows the display must have them.
    void Monitors(const Words &words)
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

    // The value's bytes. The plug-in stores REG_SZ text without a
    // terminator; Wine hands such a value back with one added and counted in
    // the size, so one trailing zero byte is not counted here.
    static std::string ReadPrefs()
    {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
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

    void Registry(const Words &words)
    {
        if (words.size() >= 2 && words[1] == "clear") {
            RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
            return;
        }
        if (words.size() == 3 && words[1] == "set") {
            HKEY key;
            DWORD disposition;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                &key, &disposition) != ERROR_SUCCESS)
                throw ScriptError("cannot open the settings key");
            RegSetValueExA(key, LOOMVANE_PREFS_VALUE, 0, REG_SZ,
                           reinterpret_cast<const BYTE *>(words[2].data()),
                           static_cast<DWORD>(words[2].size()));
            RegCloseKey(key);
            return;
        }
        if (words.size() == 2 && words[1] == "key-only") {
            RegDeleteKeyA(HKEY_CURRENT_USER, kSettingsKey);
            HKEY key;
            DWORD disposition;
            if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                                &key, &disposition) == ERROR_SUCCESS)
                RegCloseKey(key);
            return;
        }
        throw ScriptError("registry clear | registry key-only | registry set TEXT");
    }

    // ---- Preferences ----

    void Prefs(const Words &words)
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

    void CheckDialog(const Words &words)
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

    // ---- Pictures and the rest ----

    void SnapshotCommand(const Words &words)
    {
        if (words.size() != 2)
            throw ScriptError("snapshot FILE");
        PumpKeepingZOrder();
        std::string path = SnapshotPath(words[1]);
        if (!Snapshot(path))
            throw ScriptError("could not write the picture " + path);
        out_ << "snapshot " << path << "\n";
    }

    // A bare file name goes to the pictures folder.
    std::string SnapshotPath(const std::string &file) const
    {
        if (file.find('/') == std::string::npos && file.find('\\') == std::string::npos)
            return options_.snapshotDir + "/" + file;
        return file;
    }

    void PumpCommand(const Words &) { Pump(); }

    void Echo(const Words &words)
    {
        for (size_t i = 1; i < words.size(); ++i)
            out_ << (i > 1 ? " " : "") << words[i];
        out_ << "\n";
    }

    void Names(const Words &)
    {
        Session();
        out_ << "name " << Quote(module_.name) << ", options " << Quote(module_.options) << "\n";
        for (size_t id = 0; id < module_.functionNames.size(); ++id)
            out_ << "  " << id << " " << module_.functionNames[id] << "\n";
    }

    // Both load the module themselves, so that they find it as it loads.
    void Bench(const Words &words)
    {
        if (module_.entry)
            throw ScriptError("bench loads the plug-in itself: unload it first");
        RunBench(words, options_.pluginPath, out_);
    }

    void Soak(const Words &words)
    {
        if (module_.entry)
            throw ScriptError("soak loads the plug-in itself: unload it first");
        RunSoak(words, options_.pluginPath, out_);
    }

    void Help(const Words &)
    {
        PrintHelp(out_);
        out_ << "\nThe plug-in's functions:\n";
        Names(Words());
    }

    ScriptOptions options_;
    std::ostream &out_;
    PluginModule module_;
    std::unique_ptr<HostSession> session_;
    int generation_ = 5;
    std::map<std::string, HWND> windows_;
    std::map<std::string, HostWindows> hosts_;
    std::string last_;
    DialogReport dialog_;
};

}  // namespace

void PrintHelp(std::ostream &out)
{
    out << "Commands (one a line; \"quotes\" around words with blanks or |, in which \\xHH is\n"
           "any byte; # comments):\n"
           "  load [PATH]                  load the plug-in (done on first need)\n"
           "  unload                       unload it\n"
           "  startup [VERSION] [expect R] start-up message (default version 33; 12 = generation "
           "3)\n"
           "  shutdown | idle              shut-down or idle message\n"
           "  message CODE [RESULT]        any message code, result preset to RESULT\n"
           "  app NAME [class=C] [at=X,Y,W,H] [toolbar=H] [menu=no] [title=T]\n"
           "                               the host's application window with toolbar and MDI\n"
           "                               client (NAME.mdi, NAME.toolbar)\n"
           "  doc NAME TITLE [at=X,Y,W,H] [in=APP] [style=S] [exstyle=E] [class=C]\n"
           "                               a document window, placed in the MDI client\n"
           "  find NAME class=C [title=T]  name a top-level window\n"
           "  destroy NAME | set NAME style|exstyle|classstyle VALUE\n"
           "  call FUNCTION [PARAM] [expect RESULT]   call a plug-in function by name (#id too)\n"
           "  expect RESULT                the last answer must be RESULT\n"
           "  check rect NAME L T R B      outer rectangle in the parent's client area\n"
           "  check size NAME W H | check style|exstyle|classstyle NAME VALUE [mask=M]\n"
           "  check visible|enabled NAME 0|1 | check title|class NAME TEXT\n"
           "  check menu NAME none|present|original | check exists NAME 0|1 | check top NAME\n"
           "  check same NAME OTHER        both names name one window\n"
           "  check above NAME OTHER       OTHER is directly above NAME in the Z order\n"
           "  check active|focus NAME      the thread's active window, the keyboard focus\n"
           "  check cursor N | check registry TEXT | check dialog open|ended|layout|text TEXT\n"
           "  cursor N                     set the cursor display counter\n"
           "  taskbar [NAME]               name the task bar window (made if missing)\n"
           "  startbutton [NAME] | secondarybar [NAME]   a Start button on the task bar's\n"
           "                               thread, a task bar of a further monitor\n"
           "  monitors L,T,R,B ...         the monitors, primary first (Windows: must match)\n"
           "  peer NAME [class=C] [doc=T]  a second host process (NAME, NAME.mdi, NAME.doc)\n"
           "  codepage 1252|932            the ANSI code page (Windows: must be the process's)\n"
           "  focus NAME                   give the window the keyboard focus\n"
           "  registry clear|key-only|set TEXT   the plug-in's settings key\n"
           "  prefs [type=TEXT] [keys=TEXT] [ok] [cancel] [close] [command=W] [picture=FILE]\n"
           "                                        preferences dialog\n"
           "  snapshot FILE                picture of the screen (BMP)\n"
           "  bench [ITERATIONS]           time functions through the plug-in against the Win32\n"
           "                               calls they make (loads and starts it itself)\n"
           "  soak CYCLES [CALLS] [seed=N] load, start, call at random, shut down, unload, again;\n"
           "                               checks answers, unloading and user objects\n"
           "  pump | echo TEXT | names | help\n";
}

int RunScript(std::istream &in, const std::string &source, const ScriptOptions &options,
              std::ostream &out, std::ostream &err)
{
    int failures = 0;
    std::unique_ptr<Runner> runner;
    try {
        runner = std::make_unique<Runner>(options, out);
    } catch (const std::exception &e) {
        err << source << ": " << e.what() << "\n";
        return 1;
    }
    std::string line;
    int number = 0;
    if (options.interactive)
        out << "fmhost> " << std::flush;
    while (std::getline(in, line)) {
        ++number;
        try {
            Words words = Tokenize(line);
            if (!words.empty()) {
                if (words[0] == "quit" || words[0] == "exit")
                    break;
                runner->Execute(words);
            }
        } catch (const std::exception &e) {
            err << source << ":" << number << ": " << e.what() << "\n";
            ++failures;
            if (!options.interactive)
                break;
        }
        if (options.interactive)
            out << "fmhost> " << std::flush;
    }
    return failures;
}

}  // namespace fmhost
