// The oracle of the targeting: which windows a function may reach. Never
// another process's, but the shell's task bars by the task bar commands;
// never the second copy of the host; none at all for a name that holds a
// zero byte.
#include "Oracle.h"

namespace fuzz {

bool IsDocument(const Snapshot &snap, HWND window)
{
    auto w = snap.windows.find(window);
    if (w == snap.windows.end() || w->second.parent == NULL)
        return false;
    auto parent = snap.windows.find(w->second.parent);
    return parent != snap.windows.end() && parent->second.className == "MDIClient";
}

std::vector<std::string> SplitFields(const std::string &text)
{
    std::vector<std::string> fields(1);
    for (char c : text) {
        if (c == '|')
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

const char *StandardClass(const Snapshot &snap)
{
    return snap.state.HostVersion == kHostGeneration3 ? "FMPRO3APP" : "FMPRO5APP";
}

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

// Another process's windows are never touched, but the shell's task bars
// and Start button by the task bar commands; a second copy of the host is
// never the one a function acts on. (A search made to fail looks like a host
// without a window of its own, whose first found is then taken.)
void CheckOtherProcesses(const CallSeen &call)
{
    bool searchFailed = FailedIn("FindWindowExA") || FailedIn("GetWindowThreadProcessId");
    // A host whose windows are all of an application code's class (a
    // runtime solution) has none of the standard class: a function that
    // names no code then takes the first such window found, whatever its
    // process.
    const char *standard = StandardClass(call.before);
    bool ownStandard = false;
    for (const auto &[handle, info] : call.before.windows)
        ownStandard |= info.parent == NULL && info.process == winsim::kOwnProcess &&
                       info.className == standard;
    for (HWND w : searchFailed || !ownStandard ? std::vector<HWND>() : AllChanged(call.c)) {
        const winsim::WindowInfo &was = call.before.windows.at(w);
        if (was.process == winsim::kOwnProcess)
            continue;
        bool shell = was.process == winsim::kShellProcess &&
                     (call.id == kDoHideTaskBar || call.id == kDoShowTaskBar);
        if (!shell)
            Fail("other process",
                 call.label + " changed " + winsim::Str(w) + " of process " + Hex(was.process));
    }
}

namespace {

// The fields of the parameter as the plug-in sees them: the bytes the host
// reports, cut at every "|" (the code page is single-byte).
std::vector<std::string> VisibleFields(const fmhost::CallRequest &request)
{
    std::string text = request.parameter;
    if (request.reportedParameterSize) {
        int32_t reported = *request.reportedParameterSize;
        text = reported <= 0 ? std::string() : text.substr(0, static_cast<size_t>(reported));
    }
    return SplitFields(text);
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

bool IsDocumentFunction(uint32_t id)
{
    return (id >= kDoWindowResize && id <= kDoDialogWindow) ||
           (id >= kDoHideWindow && id <= kDoShowWindowMenu);
}

}  // namespace

// A title, a code or a new title holding a zero byte names no window: the
// function answers "0" and changes nothing.
void CheckZeroBytes(const CallSeen &call)
{
    uint32_t id = call.id;
    std::vector<std::string> fields = VisibleFields(call.request);
    bool noWindow = false;
    if (IsDocumentFunction(id)) {
        size_t codeField = (id == kDoWindowResize || id == kDoWindowRelocate) ? 5 : 2;
        noWindow = NamesNoWindow(FieldOf(fields, 1), 58) ||
                   NamesNoWindow(FieldOf(fields, codeField), 3, 1) ||
                   (id == kDoSetWindowTitle && NamesNoWindow(FieldOf(fields, 3), 58));
    } else if (id == kDoHideMenuBar || id == kDoShowMenuBar) {
        noWindow = NamesNoWindow(FieldOf(fields, 1), 3, 1);
    }
    if (!noWindow || call.faulted)
        return;
    if (call.known && call.answer != "0")
        Fail("zero byte",
             call.label + " answered " + call.answer + " for a field with a zero byte");
    if (call.c.Count() != 0 || !SameState(call.before.state, call.after.state))
        Fail("zero byte",
             call.label + " changed something for a field with a zero byte" + Describe(call.c));
}

}  // namespace fuzz
