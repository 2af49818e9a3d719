// The soak command. Each cycle loads the module afresh (on Windows with
// LoadLibrary and FreeLibrary, so every start-up finds the module's data as
// loaded), and the host keeps a small model of what the plug-in holds (the
// cover window, the detached menu bar) and of the cursor counter, so that an
// answer is checked against more than the set of texts the function may give.
#include "Soak.h"

#include "Answers.h"
#include "Bench.h"
#include "HostSession.h"
#include "HostWindows.h"
#include "FunctionList.h"
#include "Platform.h"
#include "PluginNames.h"

#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fmhost {

namespace {

constexpr char kCoverClass[] = LOOMVANE_COVER_CLASS;
constexpr long kDefaultCalls = 300;
constexpr size_t kFunctionCount = LOOMVANE_FUNCTION_COUNT;

const char kShortVersion[] = LOOMVANE_SHORT_VERSION;
const char kLongVersion[] = LOOMVANE_LONG_VERSION;

// What the soak knows of each function: how to make its parameter and what
// it may answer.
enum class Kind {
    Version,
    MenuBar,
    Cover,
    Cursor,
    TaskBar,
    Geometry,   // resize and relocate: title|mode|number|number|code
    SizeQuery,  // four numbers joined by "|", or "0"
    SetTitle,   // title|code|new title
    Plain       // title|code, answers "0" or "1"
};

struct Function {
    uint32_t id = 0;
    std::string name;
    Kind kind = Kind::Plain;
    bool hides = false;  // the Hide one of a pair
};

Kind KindOf(const std::string &name)
{
    static const std::map<std::string, Kind> kinds = {
        {"Kwzr-Version", Kind::Version},
        {"Kwzr-HideMenuBar", Kind::MenuBar},
        {"Kwzr-ShowMenuBar", Kind::MenuBar},
        {"Kwzr-HideBackground", Kind::Cover},
        {"Kwzr-ShowBackground", Kind::Cover},
        {"Kwzr-HideCursor", Kind::Cursor},
        {"Kwzr-ShowCursor", Kind::Cursor},
        {"Kwzr-HideTaskBar", Kind::TaskBar},
        {"Kwzr-ShowTaskBar", Kind::TaskBar},
        {"Kwzr-WindowResize", Kind::Geometry},
        {"Kwzr-WindowRelocate", Kind::Geometry},
        {"Kwzr-GetWindowSize", Kind::SizeQuery},
        {"Kwzr-GetWindowSizeABS", Kind::SizeQuery},
        {"Kwzr-SetWindowTitle", Kind::SetTitle},
    };
    auto it = kinds.find(name);
    return it == kinds.end() ? Kind::Plain : it->second;
}

std::vector<Function> Functions(const PluginModule &module)
{
    if (module.functionNames.size() != kFunctionCount)
        throw std::runtime_error("soak: the plug-in names " +
                                 std::to_string(module.functionNames.size()) + " functions, not " +
                                 std::to_string(kFunctionCount));
    std::vector<Function> functions;
    for (size_t id = 0; id < module.functionNames.size(); ++id) {
        Function f;
        f.id = static_cast<uint32_t>(id);
        f.name = module.functionNames[id];
        f.kind = KindOf(f.name);
        f.hides = f.name.rfind("Kwzr-Hide", 0) == 0;
        functions.push_back(f);
    }
    return functions;
}

// ---- Parameters ----

class ParameterMaker {
public:
    explicit ParameterMaker(uint32_t seed) : random_(seed) {}

    bool Chance(int percent) { return Below(100) < static_cast<unsigned>(percent); }
    unsigned Below(unsigned n)
    {
        return std::uniform_int_distribution<unsigned>(0, n - 1)(random_);
    }
    int Between(int low, int high)
    {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    template <typename T, size_t N>
    const T &Pick(const T (&items)[N])
    {
        return items[Below(N)];
    }

    std::string Title()
    {
        static const std::string titles[] = {"Orders",
                                             "orders",
                                             "ORDERS",
                                             "Invoices",
                                             "invoices",
                                             "Customers",
                                             std::string(58, 'T'),
                                             std::string(58, 't'),
                                             std::string(59, 'T'),
                                             "",
                                             "Nowhere",
                                             "Sales",
                                             "Orders ",
                                             "Ord",
                                             "Invoices|Orders"};
        return Pick(titles);
    }

    std::string Code()
    {
        static const std::string codes[] = {"",    "",     "",  "ab1",         "AB1",
                                            "zz9", "abcd", "a", "0123456789ab"};
        return Pick(codes);
    }

    std::string Mode()
    {
        static const std::string modes[] = {"A", "a", "R", "r", "A", "R", "Z", "", "AR", "-"};
        return Pick(modes);
    }

    std::string Number()
    {
        static const std::string odd[] = {"16000",  "-16000", "20000", "99999", "-99999",
                                          "123456", "",       "12a4",  "150-",  "-",
                                          "x",      "-0",     "00300"};
        unsigned roll = Below(10);
        if (roll < 4)
            return std::to_string(Between(-40, 40));
        if (roll < 8)
            return std::to_string(Between(0, 700));
        return Pick(odd);
    }

    // Any bytes, the separator, a zero byte and bytes above 127 among them.
    std::string Garbage()
    {
        static const char bytes[] = {'|', '|', '\0', 'p', 'P',    ' ',    'A', 'r',
                                     '-', '7', 'O',  'x', '\xe9', '\xff', '\t'};
        std::string text;
        unsigned length = Below(40);
        for (unsigned i = 0; i < length; ++i)
            text += Pick(bytes);
        return text;
    }

    std::string For(const Function &f)
    {
        switch (f.kind) {
        case Kind::Version: {
            static const std::string versions[] = {"", "p", "P", "print", " p", "x|y", "Pp|"};
            return Chance(20) ? Garbage() : Pick(versions);
        }
        case Kind::MenuBar:
            return Chance(15) ? Code() + "|" + Garbage() : Code();
        case Kind::Cover:
        case Kind::Cursor:
        case Kind::TaskBar:
            return Chance(50) ? std::string() : Garbage();
        case Kind::Geometry: {
            if (Chance(5))
                return Garbage();
            std::string text = Title() + "|" + Mode() + "|" + Number() + "|" + Number();
            if (Chance(40))
                text += "|" + Code();
            if (Chance(10))
                text = text.substr(0, Below(static_cast<unsigned>(text.size()) + 1));
            return text;
        }
        case Kind::SetTitle:
            return Chance(5) ? Garbage() : Title() + "|" + Code() + "|" + Title();
        case Kind::SizeQuery:
        case Kind::Plain:
            break;
        }
        if (Chance(5))
            return Garbage();
        return Chance(35) ? Title() + "|" + Code() : Title();
    }

private:
    std::mt19937 random_;
};

// ---- The desktop ----

struct SoakDocument {
    HWND window = NULL;
    std::string title;
    RECT rect = {0, 0, 0, 0};  // in the MDI client's client area
    DWORD style = 0;
    DWORD exStyle = 0;
    bool visible = false;
};

struct SoakDesktop {
    HostWindows main, other;
    std::vector<SoakDocument> documents;
    DWORD documentClassStyle = 0;
    HWND taskBar = NULL;
    bool taskBarVisible = false;
    int cursorCount = 0;
};

// A document of the table, with or without WS_VISIBLE.
DocumentLayout SoakDocumentLayout(const std::string &title, int x, int y, int width, int height,
                                  bool visible)
{
    DocumentLayout layout = Document(title, x, y, width, height);
    if (!visible)
        layout.style &= ~static_cast<DWORD>(WS_VISIBLE);
    return layout;
}

// Two application windows, one of code ab1; five documents, one of them
// hidden and one with a title of the longest length.
std::vector<ApplicationLayout> SoakTable()
{
    ApplicationLayout main;
    main.window.title = "Soak";
    main.documents = {SoakDocumentLayout("Orders", 10, 20, 300, 200, true),
                      SoakDocumentLayout("Invoices", 40, 50, 300, 200, true),
                      SoakDocumentLayout("Customers", 70, 80, 250, 150, false),
                      SoakDocumentLayout(std::string(58, 'T'), 100, 110, 200, 120, true)};
    ApplicationLayout other;
    other.window.appClass = "FMPRO5.ab1";
    other.window.title = "Soak ab1";
    other.window.x = 100;
    other.window.y = 50;
    other.window.width = 600;
    other.window.height = 400;
    other.documents = {SoakDocumentLayout("Orders", 40, 60, 200, 150, true)};
    return {main, other};
}

SoakDesktop BuildSoakDesktop(HINSTANCE instance)
{
    std::vector<ApplicationLayout> table = SoakTable();
    BuiltDesktop built;
    std::string failed = BuildDesktop(instance, table, &built);
    if (!failed.empty())
        throw std::runtime_error("soak: " + failed + " could not be created");
    SoakDesktop desktop;
    desktop.main = built.hosts[0];
    desktop.other = built.hosts[1];
    size_t next = 0;
    for (const ApplicationLayout &application : table) {
        for (const DocumentLayout &layout : application.documents) {
            SoakDocument document;
            document.window = built.documents[next++];
            document.title = layout.title;
            desktop.documents.push_back(document);
        }
    }
    desktop.taskBar = EnsureTaskBar();
    Pump();
    for (SoakDocument &document : desktop.documents) {
        document.rect = RectInParent(document.window);
        document.style = static_cast<DWORD>(GetWindowLongA(document.window, GWL_STYLE));
        document.exStyle = static_cast<DWORD>(GetWindowLongA(document.window, GWL_EXSTYLE));
        document.visible = IsWindowVisible(document.window) != 0;
    }
    desktop.documentClassStyle = GetClassLongA(desktop.documents.front().window, GCL_STYLE);
    desktop.taskBarVisible = desktop.taskBar && IsWindowVisible(desktop.taskBar);
    desktop.cursorCount = CursorCount();
    return desktop;
}

// Everything the functions change, back as it was built: titles, frames,
// places, visibility, the class's Close command, the menu bars, the task bar
// and the cursor counter.
void RestoreSoakDesktop(const SoakDesktop &desktop)
{
    const DWORD kept = WS_VISIBLE | WS_DISABLED;
    for (const SoakDocument &document : desktop.documents) {
        HWND window = document.window;
        SetWindowTextA(window, document.title.c_str());
        DWORD now = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        SetWindowLongA(window, GWL_STYLE,
                       static_cast<LONG>((document.style & ~kept) | (now & kept)));
        SetWindowLongA(window, GWL_EXSTYLE, static_cast<LONG>(document.exStyle));
        EnableWindow(window, TRUE);
        SetWindowPos(window, NULL, document.rect.left, document.rect.top,
                     document.rect.right - document.rect.left,
                     document.rect.bottom - document.rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        ShowWindow(window, document.visible ? SW_SHOWNA : SW_HIDE);
    }
    SetClassLongA(desktop.documents.front().window, GCL_STYLE,
                  static_cast<LONG>(desktop.documentClassStyle));
    for (const HostWindows *host : {&desktop.main, &desktop.other})
        if (GetMenu(host->app) != host->menu)
            SetMenu(host->app, host->menu);
    if (desktop.taskBar && (IsWindowVisible(desktop.taskBar) != 0) != desktop.taskBarVisible)
        ShowWindow(desktop.taskBar, desktop.taskBarVisible ? SW_SHOWNA : SW_HIDE);
    SetCursorCount(desktop.cursorCount);
}

void DestroySoakDesktop(SoakDesktop *desktop)
{
    for (const HostWindows *host : {&desktop->main, &desktop->other})
        if (host->app)
            DestroyWindow(host->app);
    *desktop = SoakDesktop();
    Pump();
}

// ---- What the process holds ----

std::string CountText(const ObjectCount &count)
{
    std::ostringstream out;
    if (count.userObjects >= 0)
        out << "user objects " << count.userObjects << ", ";
    out << "windows " << count.windows;
    if (count.classes >= 0)
        out << ", classes " << count.classes;
    return out.str();
}

bool CoverWindowExists()
{
    return FindWindowA(kCoverClass, NULL) != NULL;
}

std::string Printable(const std::string &text)
{
    std::ostringstream out;
    out << '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\')
            out << '\\' << c;
        else if (c < 32 || c > 126)
            out << "\\x" << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(c)
                << std::dec;
        else
            out << c;
    }
    out << '"';
    return out.str();
}

// ---- One cycle ----

struct Tally {
    long calls = 0;
    long ones = 0;
    long idles = 0;
    long generation3Cycles = 0;
};

// What the host expects of the plug-in's state, and the checks of one call.
class CallChecker {
public:
    explicit CallChecker(std::string *fault) : fault_(fault) {}

    void Started()
    {
        menuBarShown_ = true;
        coverShown_ = false;
    }

    void Before(const Function &f)
    {
        if (f.kind == Kind::Cursor)
            cursorBefore_ = CursorCount();
    }

    void After(const Function &f, const std::string &parameter, const CallOutcome &outcome,
               const std::string &where)
    {
        const std::string &answer = outcome.result;
        std::string problem;
        if (outcome.staleWrite)
            problem = "wrote to host memory it had given back";
        else
            problem = Judge(f, parameter, answer);
        if (!problem.empty() && fault_->empty())
            *fault_ = where + ": " + f.name + "(" + Printable(parameter) + ") answered " +
                      Printable(answer) + ": " + problem;
    }

private:
    std::string Judge(const Function &f, const std::string &parameter, const std::string &answer)
    {
        switch (f.kind) {
        case Kind::Version: {
            bool platform = !parameter.empty() && (parameter[0] == 'p' || parameter[0] == 'P');
            return answer == (platform ? kLongVersion : kShortVersion) ? "" : "not the version";
        }
        case Kind::SizeQuery:
            return answer == "0" || IsPlacementText(answer) ? "" : "neither 0 nor four numbers";
        case Kind::TaskBar:
            return answer == "1" ? "" : "the task bar commands always answer 1";
        default:
            break;
        }
        if (!IsFlagText(answer))
            return "neither 0 nor 1";
        bool done = answer == "1";
        switch (f.kind) {
        case Kind::MenuBar:
            if (done && menuBarShown_ != f.hides)
                return f.hides ? "the menu bar was already detached" : "no menu bar was detached";
            if (done)
                menuBarShown_ = !f.hides;
            return "";
        case Kind::Cover: {
            if (f.hides ? (done && coverShown_) : (done != coverShown_))
                return coverShown_ ? "a cover was shown" : "no cover was shown";
            if (done)
                coverShown_ = f.hides;
            if (CoverWindowExists() != coverShown_)
                return coverShown_ ? "no cover window exists" : "a cover window exists";
            return "";
        }
        case Kind::Cursor: {
            int before = cursorBefore_;
            int after = CursorCount();
            bool shownBefore = before >= 0, shownAfter = after >= 0;
            if (done && (shownBefore != f.hides || shownAfter == f.hides))
                return "the cursor counter went from " + std::to_string(before) + " to " +
                       std::to_string(after);
            if (!done && shownBefore != f.hides && after != before)
                return "the cursor counter moved from " + std::to_string(before) + " to " +
                       std::to_string(after);
            return "";
        }
        default:
            return "";
        }
    }

    std::string *fault_;
    bool menuBarShown_ = true;
    bool coverShown_ = false;
    int cursorBefore_ = 0;
};

void RunCycle(long cycle, long calls, const std::string &path,
              const std::vector<Function> &functions, ParameterMaker &maker, Tally *tally,
              std::string *fault)
{
    std::string where = "cycle " + std::to_string(cycle);
    PluginModule module;
    if (!LoadPlugin(path, &module)) {
        *fault = where + ": cannot load the plug-in: " + module.error;
        return;
    }
    HINSTANCE instance = module.instance;
    {
        HostSession session(module.entry, instance);
        // Now and then a host too old for the plug-in asks first.
        if (maker.Chance(10)) {
            intptr_t refused = session.Startup(3);
            if (refused != kFMXStartupBadVersion)
                *fault = where + ": start-up of version 3 answered " + std::to_string(refused);
        }
        static const int16_t versions[] = {33, 33, 33, 33, 4, 50, 255, 12};
        int16_t version = maker.Pick(versions);
        if (version == 12)
            ++tally->generation3Cycles;
        intptr_t reply = session.Startup(version);
        bool started = reply == kFMXStartupOK;
        if (!started && fault->empty())
            *fault = where + ": start-up of version " + std::to_string(version) + " answered " +
                     std::to_string(reply);
        CallChecker checker(fault);
        checker.Started();
        for (long i = 0; started && fault->empty() && i < calls; ++i) {
            if (maker.Chance(5)) {
                session.Idle();
                ++tally->idles;
            }
            const Function &f = functions[maker.Below(static_cast<unsigned>(functions.size()))];
            CallRequest request;
            request.functionId = f.id;
            request.parameter = maker.For(f);
            checker.Before(f);
            CallOutcome outcome = session.Call(request);
            ++tally->calls;
            if (outcome.result == "1")
                ++tally->ones;
            checker.After(f, request.parameter, outcome, where + ", call " + std::to_string(i + 1));
        }
        if (started)
            session.Shutdown();
        if (session.ForbiddenCallbackCalls() != 0 && fault->empty())
            *fault = where + ": the plug-in called a host callback it must not";
    }
    if (fault->empty() && CoverWindowExists())
        *fault = where + ": a window of the class " + kCoverClass + " outlived shut-down";
    if (fault->empty() && ClassRegistered(instance, kCoverClass))
        *fault = where + ": the class " + kCoverClass + " is still registered after shut-down";
    UnloadPlugin(&module);
    if (fault->empty() && ModuleStillLoaded(path))
        *fault = where + ": the module is still loaded after FreeLibrary";
    if (fault->empty() && ClassRegistered(instance, kCoverClass))
        *fault = where + ": the class " + kCoverClass + " is registered after unloading";
}

long ParseCount(const std::string &text, const char *what)
{
    char *end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1)
        throw std::runtime_error(std::string("soak: ") + what + " is a number of at least 1: '" +
                                 text + "'");
    return value;
}

}  // namespace

void RunSoak(const std::vector<std::string> &words, const std::string &pluginPath,
             std::ostream &out)
{
    std::vector<std::string> positional;
    uint32_t seed = 1;
    for (size_t i = 1; i < words.size(); ++i) {
        if (words[i].rfind("seed=", 0) == 0)
            seed = static_cast<uint32_t>(ParseCount(words[i].substr(5), "the seed"));
        else
            positional.push_back(words[i]);
    }
    if (positional.empty() || positional.size() > 2)
        throw std::runtime_error("soak CYCLES [CALLS] [seed=N]");
    long cycles = ParseCount(positional[0], "CYCLES");
    long calls = positional.size() > 1 ? ParseCount(positional[1], "CALLS") : kDefaultCalls;
    if (ModuleStillLoaded(pluginPath))
        throw std::runtime_error("soak: the module is loaded already; it must load afresh");

    std::vector<Function> functions;
    {
        PluginModule module;
        if (!LoadPlugin(pluginPath, &module))
            throw std::runtime_error("soak: cannot load the plug-in: " + module.error);
        functions = Functions(module);
        UnloadPlugin(&module);
    }

    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    SoakDesktop desktop = BuildSoakDesktop(HostProgramInstance());
    ObjectCount before = CountObjects();
    ParameterMaker maker(seed);
    Tally tally;
    std::string fault;
    long done = 0;
    long firstCycleKiB = -1;
    for (long cycle = 1; cycle <= cycles && fault.empty(); ++cycle) {
        RunCycle(cycle, calls, pluginPath, functions, maker, &tally, &fault);
        RestoreSoakDesktop(desktop);
        Pump();
        ForgetCalls();
        ObjectCount now = CountObjects();
        if (fault.empty() && now.windows != before.windows)
            fault = "cycle " + std::to_string(cycle) + ": " + CountText(before) +
                    " at the start, " + CountText(now) + " after it";
        if (cycle == 1)
            firstCycleKiB = PrivateKiB();
        ++done;
    }
    ObjectCount after = CountObjects();
    long lastKiB = PrivateKiB();
    DestroySoakDesktop(&desktop);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (fault.empty() && !(after == before))
        fault = "after " + std::to_string(done) + " cycles: " + CountText(before) +
                " at the start, " + CountText(after) + " at the end";
    if (!fault.empty())
        throw std::runtime_error("soak: " + fault);

    out << "soak: " << done << " cycles of " << calls << " calls (" << tally.calls << " calls, "
        << tally.ones << " answered 1; " << tally.idles << " idle messages; "
        << tally.generation3Cycles << " cycles as generation 3), seed " << seed << ", "
        << std::fixed << std::setprecision(1) << took.count() << " s; " << CountText(before)
        << " before, " << CountText(after) << " after";
    if (firstCycleKiB >= 0)
        out << "; private memory " << firstCycleKiB << " KiB after cycle 1, " << lastKiB
            << " KiB at the end";
    out << "\n";
}

}  // namespace fmhost
