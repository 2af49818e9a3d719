// A libFuzzer target that drives the plug-in through FMExternCallProc alone,
// on a simulated desktop of a few host windows, with a registry, a task bar,
// a cursor counter and dialogs, all decoded from the fuzz input. This file
// runs an input: it builds the desktop (FuzzDesktop), reads each message
// (FuzzInput), sends it and hands the snapshots before and after it to the
// oracle (oracle/), which aborts on a broken check.
#include "FuzzDesktop.h"
#include "FuzzInput.h"
#include "HostSession.h"
#include "Plugin.h"
#include "oracle/Oracle.h"

#include <winsim.h>

#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace fuzz {
namespace {

// One input's run: the host, the desktop built for it, and what carries
// from one message to the next.
struct Run {
    explicit Run(fmhost::HostSession &session) : host(session) {}
    fmhost::HostSession &host;
    std::vector<fmhost::HostWindows> hosts;
    std::vector<HWND> documents;
    bool registryModelled = false;
    Excuses excuses;
    // A failing platform call armed for the next message.
    bool faultPending = false;
    int faultAt = 1;
    bool faultPersistent = false;
    // The desktop as a message leaves it is where the next one starts.
    Snapshot snapshots[2];
    Snapshot *before = &snapshots[0], *after = &snapshots[1];
};

void SendStartup(Run &run, int16_t version)
{
    StartupExpectation expected = ExpectStartup(version, run.registryModelled);
    intptr_t reply = run.host.Startup(version);
    Take(run.after);
    CheckMessage(kFMXInit, 0, reply, version, expected, *run.before, *run.after, run.excuses);
}

void SendCall(Run &run, const fmhost::CallRequest &request)
{
    fmhost::CallOutcome out = run.host.Call(request);
    CheckResult(request, out);
    bool faulted = MessageFaulted();
    Take(run.after);
    CheckCallEffects(request, out.result, !request.memoryErrorOnResize, faulted, *run.before,
                     *run.after);
}

void SendShutdown(Run &run)
{
    run.host.Shutdown();
    Take(run.after);
    CheckMessage(kFMXShutdown, 0, 0, 0, StartupExpectation(), *run.before, *run.after, run.excuses);
}

void SendPreferences(Run &run, const std::vector<winsim::DialogAction> &actions)
{
    winsim::ScriptDialog(actions);
    run.host.Preferences();
    Take(run.after);
    CheckMessage(kFMXDoAppPreferences, 0, 0, 0, StartupExpectation(), *run.before, *run.after,
                 run.excuses);
}

// Any message code, with a preset reply that idle and unknown codes keep.
void SendCode(Run &run, uint8_t code)
{
    int16_t version = run.host.Block().extnVersion;
    StartupExpectation expected;
    if (code == kFMXInit)
        expected = ExpectStartup(version, run.registryModelled);
    intptr_t reply = run.host.Send(code, 0x5A5A);
    Take(run.after);
    CheckMessage(code, 0x5A5A, reply, version, expected, *run.before, *run.after, run.excuses);
}

// The displays change, the user comes back to the host from another
// program, or a hung shell wakes. The cover's procedure meets any failing
// call armed for this message.
void ChangeDesktop(Run &run, const DesktopEvent &event)
{
    switch (event.kind) {
    case DesktopEvent::kDisplaysChange: {
        std::vector<HWND> order = winsim::Children(NULL);
        winsim::ChangeDisplays(event.displays.primary.x, event.displays.primary.y,
                               event.displays.others);
        Take(run.after);
        CheckDisplayChange(MessageFaulted(), *run.before, *run.after, order);
        break;
    }
    case DesktopEvent::kHostActiveAgain: {
        // The system brings the clicked window to the front and activates it.
        HWND app = BringAnotherProgramToFront(run.hosts);
        if (app == NULL) {
            Take(run.after);
            break;
        }
        Take(run.before);
        winsim::ClickWindow(app);
        Take(run.after);
        CheckHostActiveAgain(MessageFaulted(), *run.before, *run.after);
        break;
    }
    default:
        if (WakeShell()) {
            Take(run.after);
            CheckShellWoke(*run.before, *run.after);
        } else {
            Take(run.after);
        }
        break;
    }
}

// The desktop changes under the plug-in's feet.
void ChangeBehindThePlugin(Run &run, const DesktopEvent &event)
{
    {
        winsim::Quiet quiet;
        switch (event.kind) {
        case DesktopEvent::kCoverDestroyed:
            DestroyWindow(gPluginState.coverWindow);
            run.excuses.coversDestroyedByOthers.insert(gPluginState.coverWindow);
            break;
        case DesktopEvent::kCursorSet:
            winsim::SetCursorCount(event.cursor);
            break;
        case DesktopEvent::kMenuBarTaken:
            SetMenu(run.hosts[0].app, NULL);
            break;
        case DesktopEvent::kDocumentShown:
            ShowWindow(run.documents[event.document], event.command);
            break;
        default:
            run.faultPending = true;
            run.faultAt = event.faultAt;
            run.faultPersistent = event.faultPersistent;
            break;
        }
    }
    Take(run.after);
}

void DeliverMessage(Run &run, const Message &message)
{
    switch (message.what) {
    case Message::kStartup:
        SendStartup(run, message.version);
        break;
    case Message::kCall:
        SendCall(run, message.request);
        break;
    case Message::kShutdown:
        SendShutdown(run);
        break;
    case Message::kPreferences:
        SendPreferences(run, message.actions);
        break;
    case Message::kSend:
        SendCode(run, message.code);
        break;
    case Message::kDesktop:
        if (message.event.CheckedOnItsOwn())
            ChangeDesktop(run, message.event);
        else
            ChangeBehindThePlugin(run, message.event);
        break;
    }
}

// After every message: the faults are cleared, and what the message left is
// checked and becomes where the next one starts.
void FinishMessage(Run &run, int op, const Message &message)
{
    static const bool trace = std::getenv("LOOMVANE_FUZZ_TRACE") != nullptr;
    winsim::ClearFaults();
    if (trace) {
        std::fprintf(stderr, "op %d kind %d\n", op, message.kind);
        PrintCallLog();
    }
    NoteFailures(&run.excuses);
    CheckState(run.host, run.excuses, *run.after);
    std::swap(run.before, run.after);
}

void RunMessages(Run &run, Input &in)
{
    Take(run.before);
    for (int op = 0; op < 64 && !in.Empty(); ++op) {
        if (run.faultPending) {
            winsim::FailCall("*", run.faultAt, run.faultPersistent);
            run.faultPending = false;
        }
        winsim::ClearCallLog();
        DesktopFacts facts;
        facts.coverRecorded = gPluginState.coverWindow != NULL;
        facts.hasApplicationWindows = !run.hosts.empty();
        facts.documents = run.documents.size();
        Message message = ReadMessage(in, facts);
        DeliverMessage(run, message);
        FinishMessage(run, op, message);
    }
}

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input in{data, size};
    gPluginState = PluginState();
    gFMExternCallPtr = nullptr;
    fmhost::HostSession host(FMExternCallProc, reinterpret_cast<HINSTANCE>(0x400000));
    fuzz::Run run(host);
    run.registryModelled = !fuzz::BuildDesktop(fuzz::ReadDesktop(in), &run.hosts, &run.documents);
    fuzz::gShell = fuzz::HungShell();
    fuzz::gShell.hung = winsim::ThreadHung(winsim::kShellThread);
    fuzz::RunMessages(run, in);
    // Every input gives back what it took, so that the fuzzer's leak check
    // has nothing to suspect.
    fuzz::RestoreEmptyDesktop();
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::PrepareStartingPoints();
    return 0;
}
