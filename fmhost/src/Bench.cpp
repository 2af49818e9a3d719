// The bench command. The plug-in is called through a host of its own here,
// as lean as a real host: handles that grow in place and callbacks that do
// nothing else, so that what is timed beyond the Win32 calls is the plug-in's
// own work and the few callbacks it makes.
#include "Bench.h"

#include "FunctionList.h"
#include "PluginNames.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace fmhost {

namespace {

// The host that the cases run against: one application window of the
// standard class with one document window.
struct BenchDesktop {
    HostWindows host;
    HWND document = NULL;
};

// The document window's title and its place and size in the MDI client.
inline constexpr char kBenchTitle[] = "Bench Orders";
inline constexpr int kBenchLeft = 10, kBenchTop = 20, kBenchWidth = 300, kBenchHeight = 200;
// The width that the resize case sets before it gives the window back its own.
inline constexpr int kBenchWiderWidth = 320;

struct BenchCall {
    std::string function;  // the function's name, "Kwzr-GetWindowSize"
    std::string parameter;
    std::string answer;  // what a successful call answers; empty: anything but "0"
};

struct BenchCase {
    std::string label;
    std::vector<BenchCall> calls;  // one operation of the plug-in
    // The Win32 calls of the floor. Null for Kwzr-Version, which makes
    // none: its floor is the host's own part of the call (the parameter's
    // size, the result's resize, the memory error and the copy of the answer).
    void (*win32)(const BenchDesktop &desktop);
};

// The cases: Kwzr-Version, Kwzr-GetWindowSize, Kwzr-WindowResize (wider and
// back), Kwzr-HideWindow with Kwzr-ShowWindow, the pairs of the title, the
// sizing border, the Close command and the window menu, Kwzr-DialogWindow
// twice, and the menu bar's pair. Every operation leaves the window as it
// found it.

// The flags the plug-in sizes a window with: only the size takes effect.
constexpr UINT kSizeOnlyFlags = LOOMVANE_SIZE_ONLY_FLAGS;
constexpr char kApplicationClass[] = "FMPRO5APP";
constexpr int16_t kMemFullError = -108;
constexpr int kRounds = 10;
constexpr long kDefaultSamples = 500;
// A sample runs an operation often enough to take this long, so that even
// the cheapest is many ticks of the clock.
constexpr double kShortestSampleNs = 200000;

// ---- The lean host ----

// A handle points at data, the first member.
struct LeanHandle {
    char *data = nullptr;
    int32_t size = 0;
    int32_t capacity = 0;
};

char gResultStorage[256];
LeanHandle gResult;
int16_t gMemoryError = 0;
int gForbiddenCalls = 0;

LeanHandle *Lean(HostHandle handle)
{
    return reinterpret_cast<LeanHandle *>(handle);
}
HostHandle AsHandle(LeanHandle *handle)
{
    return &handle->data;
}

int32_t FMX_CALLBACK LeanGetHandleSize(HostHandle handle)
{
    return Lean(handle)->size;
}

void FMX_CALLBACK LeanSetHandleSize(HostHandle handle, int32_t size)
{
    LeanHandle *lean = Lean(handle);
    if (size < 0 || size > lean->capacity) {
        gMemoryError = kMemFullError;
        return;
    }
    lean->size = size;
    gMemoryError = 0;
}

int16_t FMX_CALLBACK LeanMemoryError()
{
    return gMemoryError;
}

HostHandle FMX_CALLBACK LeanNewHandle(int32_t)
{
    ++gForbiddenCalls;
    return nullptr;
}
void FMX_CALLBACK LeanHandleOnly(HostHandle)
{
    ++gForbiddenCalls;
}
void *FMX_CALLBACK LeanNewPointer(int32_t)
{
    ++gForbiddenCalls;
    return nullptr;
}
void FMX_CALLBACK LeanDisposePointer(void *)
{
    ++gForbiddenCalls;
}

ExternCallBlock LeanBlock(HINSTANCE instance)
{
    return NewCallBlock(instance, {LeanNewHandle, LeanSetHandleSize, LeanGetHandleSize,
                                   LeanHandleOnly, LeanHandleOnly, LeanHandleOnly, LeanHandleOnly,
                                   LeanNewPointer, LeanDisposePointer, LeanMemoryError});
}

struct PreparedCall {
    uint32_t id = 0;
    std::string function;
    std::string text;
    LeanHandle parameter;
    std::string answer;
};

// One case made ready to run: its calls with their handles, and the floor.
struct PreparedCase {
    const BenchCase *source = nullptr;
    std::vector<PreparedCall> calls;
    long perSample = 1;                 // operations in one sample
    std::vector<double> plugin, floor;  // ns per operation, sample by sample
    std::vector<double> roundRatios;    // each round's median ratio
    int messages[2] = {-1, -1};         // to the host's windows, each way; -1: not counted
};

// The host's part of one call, as every host does it: the block filled in
// and an empty result handle.
inline void CallPlugin(EntryPoint entry, ExternCallBlock &block, PreparedCall &call)
{
    gResult.size = 0;
    block.whichCall = kFMXExternal;
    block.parm2 = static_cast<intptr_t>(call.id);
    block.parm3 = AsHandle(&call.parameter);
    block.result = reinterpret_cast<intptr_t>(AsHandle(&gResult));
    entry(&block);
}

// What the host does for a call that makes no Win32 call: the callbacks the
// plug-in makes, made by the host itself, and the copy of the answer.
inline void HostSideOfCall(ExternCallBlock &block, PreparedCall &call)
{
    gResult.size = 0;
    block.cGetHandleSize(AsHandle(&call.parameter));
    block.cSetHandleSize(AsHandle(&gResult), static_cast<int32_t>(call.answer.size()));
    if (block.cMemoryError() == 0)
        std::memcpy(gResult.data, call.answer.data(), call.answer.size());
}

template <typename Operation>
double NsPerOperation(Operation operation, long count)
{
    double start = NowNs();
    for (long i = 0; i < count; ++i)
        operation();
    return (NowNs() - start) / static_cast<double>(count);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ---- The floors: what the plug-in calls, in its order, or the shortest ----

// FindApplicationWindow: the application window of the standard class,
// checked to be the host's own by its process.
HWND FindApplication()
{
    HWND app = FindWindowA(kApplicationClass, NULL);
    DWORD process = 0;
    GetWindowThreadProcessId(app, &process);
    return app;
}

// ResolveTargetWindow: the application window, its MDI client and the
// document by its title, each checked with IsWindow.
HWND FindDocument(HWND *application)
{
    HWND app = FindApplication();
    HWND mdiClient = FindWindowExA(app, NULL, "MDIClient", NULL);
    IsWindow(mdiClient);
    HWND document = FindWindowExA(mdiClient, NULL, NULL, kBenchTitle);
    IsWindow(document);
    if (application)
        *application = app;
    return document;
}

void GetWindowSizeCalls(const BenchDesktop &)
{
    HWND application = NULL;
    HWND document = FindDocument(&application);
    RECT rect;
    GetWindowRect(document, &rect);
    MapWindowPoints(NULL, application, reinterpret_cast<LPPOINT>(&rect), 2);
}

void ResizeOnce(int width)
{
    HWND document = FindDocument(nullptr);
    RECT rect;
    GetWindowRect(document, &rect);
    SetWindowPos(document, HWND_NOTOPMOST, rect.left, rect.top, width, kBenchHeight,
                 kSizeOnlyFlags);
}

void WindowResizeCalls(const BenchDesktop &)
{
    ResizeOnce(kBenchWiderWidth);
    ResizeOnce(kBenchWidth);
}

void HideShowCalls(const BenchDesktop &)
{
    ShowWindow(FindDocument(nullptr), SW_HIDE);
    ShowWindow(FindDocument(nullptr), SW_SHOWNORMAL);
}

HWND FindTarget()
{
    return FindDocument(nullptr);
}

// The functions' ids, kDoHideWindowTitle and so on, and their names.
#define FMHOST_FUNCTION_ID(id, name, handler, kind) k##handler = id,
#define FMHOST_FUNCTION_NAME(id, name, handler, kind) name,
enum : uint32_t { LOOMVANE_FUNCTIONS(FMHOST_FUNCTION_ID) };
const char *const kFunctionNames[] = {LOOMVANE_FUNCTIONS(FMHOST_FUNCTION_NAME)};
#undef FMHOST_FUNCTION_ID
#undef FMHOST_FUNCTION_NAME

// For each of the two functions: the search the plug-in makes for the
// window it names, then the shortest sequence of the function's result.
template <HWND (*Find)(), uint32_t First, uint32_t Second>
void ShortestCalls(const BenchDesktop &desktop)
{
    ShortestSequenceOf(First)(desktop.host, Find());
    ShortestSequenceOf(Second)(desktop.host, Find());
}

// The two functions called with the parameter, against that floor.
template <HWND (*Find)(), uint32_t First, uint32_t Second>
BenchCase ShortestCase(const std::string &parameter)
{
    std::string first = kFunctionNames[First], second = kFunctionNames[Second];
    return {First == Second ? first + ", twice" : first + " + " + second,
            {{first, parameter, "1"}, {second, parameter, "1"}},
            ShortestCalls<Find, First, Second>};
}

uint32_t FunctionIdOf(const PluginModule &module, const std::string &name)
{
    for (size_t id = 0; id < module.functionNames.size(); ++id)
        if (module.functionNames[id] == name)
            return static_cast<uint32_t>(id);
    throw std::runtime_error("the plug-in has no function '" + name + "'");
}

// The plug-in, loaded, started and shut down and unloaded again.
class LoadedPlugin {
public:
    explicit LoadedPlugin(const std::string &path)
    {
        if (!LoadPlugin(path, &module_))
            throw std::runtime_error("cannot load the plug-in: " + module_.error);
        block_ = LeanBlock(module_.instance);
        block_.extnVersion = 33;
        block_.whichCall = kFMXInit;
        module_.entry(&block_);
        if (block_.result != kFMXStartupOK) {
            UnloadPlugin(&module_);
            throw std::runtime_error("the plug-in did not start: reply " +
                                     std::to_string(block_.result));
        }
    }
    ~LoadedPlugin()
    {
        block_.whichCall = kFMXShutdown;
        module_.entry(&block_);
        UnloadPlugin(&module_);
    }
    LoadedPlugin(const LoadedPlugin &) = delete;
    LoadedPlugin &operator=(const LoadedPlugin &) = delete;

    const PluginModule &Module() const { return module_; }
    ExternCallBlock &Block() { return block_; }

private:
    PluginModule module_;
    ExternCallBlock block_;
};

std::string Fixed(double value, int decimals)
{
    std::ostringstream out;
    out << std::fixed << std::setprecision(decimals) << value;
    return out.str();
}

void DestroyBenchDesktop(BenchDesktop *desktop)
{
    if (desktop->host.app)
        DestroyWindow(desktop->host.app);  // its children and its menu with it
    *desktop = BenchDesktop();
    Pump();
}

BenchDesktop BuildBenchDesktop(HINSTANCE instance)
{
    ApplicationLayout bench;
    bench.window.title = "Bench";
    bench.documents.push_back(
        Document(kBenchTitle, kBenchLeft, kBenchTop, kBenchWidth, kBenchHeight));
    BuiltDesktop built;
    std::string failed = BuildDesktop(instance, {bench}, &built);
    BenchDesktop desktop;
    if (!built.hosts.empty())
        desktop.host = built.hosts.front();
    if (!built.documents.empty())
        desktop.document = built.documents.front();
    if (!failed.empty()) {
        DestroyBenchDesktop(&desktop);
        throw std::runtime_error("the bench's " + failed + " could not be created");
    }
    Pump();
    return desktop;
}

std::vector<BenchCase> BenchCases()
{
    const std::string title = kBenchTitle;
    return {
        {"Kwzr-Version", {{"Kwzr-Version", "", LOOMVANE_SHORT_VERSION}}, nullptr},
        {"Kwzr-GetWindowSize", {{"Kwzr-GetWindowSize", title, ""}}, GetWindowSizeCalls},
        {"Kwzr-WindowResize, wider and back",
         {{"Kwzr-WindowResize",
           title + "|A|" + std::to_string(kBenchWiderWidth) + "|" + std::to_string(kBenchHeight),
           "1"},
          {"Kwzr-WindowResize",
           title + "|A|" + std::to_string(kBenchWidth) + "|" + std::to_string(kBenchHeight), "1"}},
         WindowResizeCalls},
        {"Kwzr-HideWindow + Kwzr-ShowWindow",
         {{"Kwzr-HideWindow", title, "1"}, {"Kwzr-ShowWindow", title, "1"}},
         HideShowCalls},
        ShortestCase<FindTarget, kDoHideWindowTitle, kDoShowWindowTitle>(title),
        ShortestCase<FindTarget, kDoHideWindowSizing, kDoShowWindowSizing>(title),
        ShortestCase<FindTarget, kDoDialogWindow, kDoDialogWindow>(title),
        ShortestCase<FindTarget, kDoHideWindowClose, kDoShowWindowClose>(title),
        ShortestCase<FindTarget, kDoHideWindowMenu, kDoShowWindowMenu>(title),
        ShortestCase<FindApplication, kDoHideMenuBar, kDoShowMenuBar>(""),
    };
}

}  // namespace

void RunBench(const std::vector<std::string> &words, const std::string &pluginPath,
              std::ostream &out)
{
    if (words.size() > 2)
        throw std::runtime_error("bench [ITERATIONS]");
    long samples = kDefaultSamples;
    if (words.size() == 2) {
        char *end = nullptr;
        samples = std::strtol(words[1].c_str(), &end, 10);
        if (words[1].empty() || *end != '\0' || samples < kRounds)
            throw std::runtime_error("bench ITERATIONS: a number of at least " +
                                     std::to_string(kRounds));
    }
    // The simulated Win32 calls are timed without their log.
    UnloggedCalls unlogged;
    LoadedPlugin plugin(pluginPath);
    EntryPoint entry = plugin.Module().entry;
    ExternCallBlock &block = plugin.Block();
    gResult.data = gResultStorage;
    gResult.capacity = sizeof gResultStorage;
    gResult.size = 0;
    gForbiddenCalls = 0;

    BenchDesktop desktop = BuildBenchDesktop(HostProgramInstance());
    struct DesktopGuard {
        BenchDesktop *desktop;
        ~DesktopGuard() { DestroyBenchDesktop(desktop); }
    } guard{&desktop};

    std::vector<BenchCase> cases = BenchCases();
    std::vector<PreparedCase> prepared(cases.size());
    for (size_t c = 0; c < cases.size(); ++c) {
        prepared[c].source = &cases[c];
        for (const BenchCall &call : cases[c].calls) {
            PreparedCall p;
            p.id = FunctionIdOf(plugin.Module(), call.function);
            p.function = call.function;
            p.text = call.parameter;
            p.answer = call.answer;
            prepared[c].calls.push_back(std::move(p));
        }
        // The handles point into the texts only once these stay put.
        for (PreparedCall &p : prepared[c].calls) {
            p.parameter.data = p.text.data();
            p.parameter.size = static_cast<int32_t>(p.text.size());
            p.parameter.capacity = p.parameter.size;
        }
    }

    auto pluginOperation = [&entry, &block](PreparedCase &pc) {
        return [&entry, &block, &pc]() {
            for (PreparedCall &call : pc.calls)
                CallPlugin(entry, block, call);
        };
    };
    auto floorOperation = [&block, &desktop](PreparedCase &pc) {
        return [&block, &pc, &desktop]() {
            if (pc.source->win32) {
                pc.source->win32(desktop);
            } else {
                for (PreparedCall &call : pc.calls)
                    HostSideOfCall(block, call);
            }
        };
    };

    // Each call must do what it is timed for. Both ways are warmed up, and
    // the slower decides how many operations make a sample.
    for (PreparedCase &pc : prepared) {
        for (PreparedCall &call : pc.calls) {
            CallPlugin(entry, block, call);
            std::string answer(gResult.data, static_cast<size_t>(gResult.size));
            bool good =
                call.answer.empty() ? !answer.empty() && answer != "0" : answer == call.answer;
            if (!good)
                throw std::runtime_error("bench: " + pc.source->label + ": " + call.function +
                                         "(\"" + call.text + "\") answered \"" + answer + "\"");
        }
        NsPerOperation(pluginOperation(pc), 20);
        NsPerOperation(floorOperation(pc), 20);
        double each = std::max(NsPerOperation(pluginOperation(pc), 20),
                               NsPerOperation(floorOperation(pc), 20));
        pc.perSample = std::max(1L, static_cast<long>(kShortestSampleNs / std::max(each, 1.0)));
    }
    Pump();
    // What one operation each way and the pump after it send the host's windows.
    for (PreparedCase &pc : prepared) {
        for (int way = 0; way < 2; ++way) {
            bool counted = StartTrace({desktop.host.app, desktop.host.mdiClient, desktop.document});
            way == 0 ? pluginOperation(pc)() : floorOperation(pc)();
            Pump();
            int total = 0;
            for (const WindowMessages &window : StopTrace())
                total += CountMessages(window, "all");
            pc.messages[way] = counted ? total : -1;
        }
    }

    // Rounds over all cases; in each, every case is sampled both ways in
    // turn, the first way changing from one sample to the next.
    long perRound = samples / kRounds;
    for (int round = 0; round < kRounds; ++round) {
        for (PreparedCase &pc : prepared) {
            std::vector<double> plug, floor;
            for (long i = 0; i < perRound; ++i) {
                if (i % 2 == 0) {
                    plug.push_back(NsPerOperation(pluginOperation(pc), pc.perSample));
                    floor.push_back(NsPerOperation(floorOperation(pc), pc.perSample));
                } else {
                    floor.push_back(NsPerOperation(floorOperation(pc), pc.perSample));
                    plug.push_back(NsPerOperation(pluginOperation(pc), pc.perSample));
                }
            }
            pc.roundRatios.push_back(Median(plug) / Median(floor));
            pc.plugin.insert(pc.plugin.end(), plug.begin(), plug.end());
            pc.floor.insert(pc.floor.end(), floor.begin(), floor.end());
        }
        Pump();
    }
    if (gForbiddenCalls != 0)
        throw std::runtime_error("bench: the plug-in called a host callback it must not");

    out << "bench: " << perRound * kRounds << " samples each way per case, in " << kRounds
        << " rounds, the two ways taking turns; medians, ns per operation\n";
    out << "  " << std::left << std::setw(46) << "operation" << std::right << std::setw(8) << "ops"
        << std::setw(13) << "plug-in ns" << std::setw(13) << "floor ns" << std::setw(8) << "ratio"
        << std::setw(10) << "messages"
        << "  rounds\n";
    double worst = 0;
    std::string worstLabel;
    for (PreparedCase &pc : prepared) {
        double ratio = Median(pc.plugin) / Median(pc.floor);
        auto range = std::minmax_element(pc.roundRatios.begin(), pc.roundRatios.end());
        out << "  " << std::left << std::setw(46) << pc.source->label << std::right << std::setw(8)
            << pc.perSample << std::setw(13) << Fixed(Median(pc.plugin), 1) << std::setw(13)
            << Fixed(Median(pc.floor), 1) << std::setw(8) << Fixed(ratio, 3) << std::setw(10)
            << (pc.messages[0] < 0
                    ? "-"
                    : std::to_string(pc.messages[0]) + "/" + std::to_string(pc.messages[1]))
            << "  " << Fixed(*range.first, 3) << ".." << Fixed(*range.second, 3)
            << (pc.source->win32 ? "" : "  floor: the host's side of the call") << "\n";
        if (ratio > worst) {
            worst = ratio;
            worstLabel = pc.source->label;
        }
    }
    out << "  (ops: operations per sample; messages: to the host's windows in one operation and "
           "the pump after it, plug-in/floor, where they are counted; rounds: the lowest and "
           "highest of the rounds' ratios)\n";
    out << "bench: highest ratio " << Fixed(worst, 3) << " (" << worstLabel << ")\n";
}

}  // namespace fmhost
