// The stand-in host on the simulated desktop: the plug-in is linked in, its
// strings come from the same function list the resource script is built
// from, and dialogs, cursor and pictures go through winsim's control side.
#include "Platform.h"

#include "FunctionList.h"
#include "LoomvaneRes.h"

#include <winsim.h>

#include <algorithm>
#include <chrono>

FMX_ENTRY FMExternCallProc(ExternCallBlock *block);

namespace fmhost {

namespace {

// The preferences dialog's controls, as the resource script lays them out.
void DefinePreferencesTemplate()
{
    winsim::DefineDialog(IDD_PREFERENCES,
                         {{IDC_PREF_PICTURE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP},
                          {IDC_PREF_TEXT, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
                          {IDOK, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON},
                          {IDCANCEL, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE}});
}

}  // namespace

void PrepareDesktop()
{
    winsim::Reset();
    DefinePreferencesTemplate();
}

bool LoadPlugin(const std::string &, PluginModule *module)
{
    module->entry = FMExternCallProc;
    module->instance = reinterpret_cast<HINSTANCE>(0x400000);
    module->name = LOOMVANE_NAME;
    module->options = LOOMVANE_OPTIONS;
    module->functionNames.clear();
#define FMHOST_FUNCTION_NAME(id, name, handler, kind) module->functionNames.push_back(name);
    LOOMVANE_FUNCTIONS(FMHOST_FUNCTION_NAME)
#undef FMHOST_FUNCTION_NAME
    return true;
}

HINSTANCE HostProgramInstance()
{
    PluginModule linkedIn;
    LoadPlugin(std::string(), &linkedIn);
    return linkedIn.instance;
}

double NowNs()
{
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::nano>(Clock::now().time_since_epoch()).count();
}

void ForgetCalls()
{
    winsim::ClearCallLog();
}

// A winsim::Quiet, kept where the header need not know it.
namespace {
std::vector<std::unique_ptr<winsim::Quiet>> gQuiet;
}  // namespace

UnloggedCalls::UnloggedCalls()
{
    gQuiet.push_back(std::make_unique<winsim::Quiet>());
}

UnloggedCalls::~UnloggedCalls()
{
    gQuiet.pop_back();
}

// The stand-in counts no user objects.
ObjectCount CountObjects()
{
    ObjectCount count;
    count.windows = static_cast<long>(winsim::WindowCount());
    count.classes = static_cast<long>(winsim::RegisteredClasses().size());
    return count;
}

bool ClassRegistered(HINSTANCE, const char *className)
{
    std::vector<std::string> classes = winsim::RegisteredClasses();
    return std::find(classes.begin(), classes.end(), className) != classes.end();
}

// The module is linked in: it is never loaded from a file.
bool ModuleStillLoaded(const std::string &)
{
    return false;
}

long PrivateKiB()
{
    return -1;
}

void UnloadPlugin(PluginModule *module)
{
    *module = PluginModule();
}

DialogReport RunPreferences(HostSession &session, const std::vector<DialogStep> &steps)
{
    std::vector<winsim::DialogAction> actions;
    for (const DialogStep &step : steps) {
        switch (step.kind) {
        case DialogStep::Type:
            actions.push_back(winsim::TypeText(IDC_PREF_TEXT, step.text));
            break;
        case DialogStep::Keys:
            actions.push_back(winsim::TypeKeys(IDC_PREF_TEXT, step.text));
            break;
        case DialogStep::Ok:
            actions.push_back(winsim::Click(IDOK));
            break;
        case DialogStep::Cancel:
            actions.push_back(winsim::Click(IDCANCEL));
            break;
        case DialogStep::CloseBox:
            actions.push_back(winsim::CloseBox());
            break;
        case DialogStep::Command:
            actions.push_back(winsim::Command(step.wParam));
            break;
        case DialogStep::Picture:
            break;  // the stand-in's dialogs have no window to picture
        }
    }
    winsim::ScriptDialog(actions);
    size_t beepsBefore = winsim::Beeps().size();
    session.Preferences();
    winsim::DialogRun run = winsim::LastDialog();
    DialogReport report;
    report.opened = run.ran;
    report.endedByItself = run.ended;
    for (const auto &entry : run.controlTexts)
        if (entry.first == IDC_PREF_TEXT)
            report.fieldText = entry.second;
    report.beeps = static_cast<int>(winsim::Beeps().size() - beepsBefore);
    return report;
}

int CursorCount()
{
    return winsim::CursorCount();
}
void SetCursorCount(int count)
{
    winsim::SetCursorCount(count);
}

HWND EnsureTaskBar()
{
    HWND bar = FindWindowA("Shell_TrayWnd", NULL);
    return bar ? bar : winsim::CreateTaskBar();
}

HWND MakeStartButton(HWND)
{
    return winsim::CreateStartButton();
}

HWND MakeSecondaryTaskBar()
{
    return winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
}

namespace {

// The monitors the script gave, the primary first.
std::vector<RECT> gMonitors = {{0, 0, 1024, 768}};

}  // namespace

std::string UseMonitors(const std::vector<RECT> &monitors)
{
    const RECT &primary = monitors.front();
    if (primary.left != 0 || primary.top != 0)
        return "the primary monitor lies at (0, 0)";
    gMonitors = monitors;
    winsim::SetScreenSize(primary.right, primary.bottom);
    winsim::SetOtherMonitors(std::vector<RECT>(monitors.begin() + 1, monitors.end()));
    return std::string();
}

std::string ChangeMonitorSize(int index, int width, int height)
{
    if (index < 1 || static_cast<size_t>(index) > gMonitors.size())
        return "there is no monitor " + std::to_string(index);
    RECT &monitor = gMonitors[static_cast<size_t>(index - 1)];
    monitor.right = monitor.left + width;
    monitor.bottom = monitor.top + height;
    winsim::ChangeDisplays(gMonitors.front().right, gMonitors.front().bottom,
                           std::vector<RECT>(gMonitors.begin() + 1, gMonitors.end()));
    return std::string();
}

void ClickAt(HWND window, POINT)
{
    winsim::ClickWindow(window);
}

// The shell's task bar, on the shell's thread, which then hangs.
std::string StartHungShell(int, HWND *bar)
{
    *bar = winsim::CreateTaskBar();
    winsim::HangThread(winsim::kShellThread);
    return std::string();
}

bool HungShellAwake()
{
    return !winsim::ThreadHung(winsim::kShellThread);
}

std::string WaitForHungShell()
{
    winsim::WakeThread(winsim::kShellThread);
    return std::string();
}

int RunAsHungShell(int, const std::string &)
{
    return 2;  // a second process exists on Windows only
}

std::string LockRegistryKey(const std::string &path, DWORD rights)
{
    winsim::SetKeyRights(path, rights);
    return std::string();
}

std::string UseCodePage(unsigned codePage)
{
    if (codePage == 1252)
        winsim::SetLeadByteRanges({});
    else if (codePage == 932)
        winsim::SetLeadByteRanges({{0x81, 0x9F}, {0xE0, 0xFC}});
    else
        return "the stand-in knows the code pages 1252 and 932";
    return std::string();
}

// The peer's windows belong to a process and thread of their own.
std::string StartPeerHost(const std::string &appClass, const std::string &documentTitle,
                          HostWindows *windows)
{
    static DWORD nextProcess = 0x100;
    winsim::OtherThread peer(nextProcess, nextProcess + 4);
    nextProcess += 0x10;
    BuiltDesktop peerDesktop;
    std::string failed = BuildDesktop(reinterpret_cast<HINSTANCE>(0x800000),
                                      PeerDesktop(appClass, documentTitle), &peerDesktop);
    if (!failed.empty())
        return failed + " could not be made";
    *windows = peerDesktop.hosts.front();
    return std::string();
}

void StopPeerHosts() {}

int RunAsPeerHost(const std::string &, const std::string &)
{
    return 2;  // a second process exists on Windows only
}

bool StartTrace(const std::vector<HWND> &)
{
    return false;
}

std::vector<WindowMessages> StopTrace()
{
    return {};
}

void Pump() {}

void PumpKeepingZOrder() {}

// The simulated desktop has no screen to picture: nothing is written.
bool Snapshot(const std::string &)
{
    return true;
}

}  // namespace fmhost
