// A libFuzzer target that drives the plug-in through FMExternCallProc alone,
// on a simulated desktop of a few host windows, with a registry, a task bar,
// a cursor counter and dialogs, all decoded from the fuzz input. After every
// message the invariants are checked; a violation aborts.
#include "FunctionList.h"
#include "HostSession.h"
#include "HostWindows.h"
#include "LoomvaneRes.h"
#include "Plugin.h"

#include <winsim.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char kSettingsKey[] = "Software\\Quenmark Software\\Loomvane Plugin\\1.1v1";

// Pieces that make parameters likely to mean something to the plug-in.
const char *const kTokens[] = {"Orders", "Customers", "", "|", "A", "R", "a", "r", "-",
                               "10", "-20", "16000", "99999", "123456", "ab1", "xy", "p",
                               "Orders|", "|ab1", "0", "#"};
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
        std::fprintf(stderr, "  %s%s\n", winsim::Format(call).c_str(), call.failed ? " (failed)" : "");
    std::fprintf(stderr, "invariant broken: %s: %s\n", what, detail.c_str());
    std::abort();
}

bool IsSignedDecimal(const std::string &text)
{
    size_t from = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > from && text.find_first_not_of("0123456789", from) == std::string::npos;
}

bool IsPossibleAnswer(uint32_t id, const std::string &answer)
{
    if (id == 0)
        return answer == LOOMVANE_NAME " " LOOMVANE_VERSION ||
               answer == LOOMVANE_NAME " " LOOMVANE_VERSION " x86";
    if (id == 17 || id == 18)
        return answer == "1";
    if ((id == 9 || id == 10) && answer != "0") {
        std::vector<std::string> parts(1);
        for (char c : answer) {
            if (c == '|')
                parts.emplace_back();
            else
                parts.back() += c;
        }
        if (parts.size() != 4)
            return false;
        for (const auto &part : parts)
            if (!IsSignedDecimal(part))
                return false;
        return true;
    }
    return answer == "0" || answer == "1";
}

// What the desktop did to the plug-in so far, which excuses some states.
struct Excuses {
    bool coverDestroyedByOthers = false;
    bool isWindowFailed = false;
    bool closeKeyFailed = false;
};

void NoteFailures(Excuses *excuses)
{
    for (const auto &call : winsim::CallLog()) {
        if (!call.failed)
            continue;
        excuses->isWindowFailed |= call.function == "IsWindow";
        excuses->closeKeyFailed |= call.function == "RegCloseKey";
    }
}

void CheckState(const fmhost::HostSession &host, const Excuses &excuses)
{
    if (host.ForbiddenCallbackCalls() != 0)
        Fail("host callbacks", "a forbidden callback was called");
    if (winsim::OpenKeyCount() != 0 && !excuses.closeKeyFailed)
        Fail("registry", "a key was left open");
    auto classes = winsim::RegisteredClasses();
    bool registered = false;
    for (const auto &c : classes)
        registered |= c == "Kwzr-HideBackground";
    if (gPluginState.coverClassRegistered && !registered)
        Fail("cover class", "recorded as registered but is not");
    size_t covers = 0;
    for (HWND w : winsim::Children(NULL))
        covers += winsim::Inspect(w).className == "Kwzr-HideBackground" ? 1 : 0;
    // Only an IsWindow that denies an existing window can make the plug-in
    // lose track of its cover, and then make another.
    if (covers > 1 && !excuses.isWindowFailed)
        Fail("cover window", std::to_string(covers) + " cover windows");
    // Before the first start-up the record is all zero: no cover, yet not
    // marked absent.
    if (!gPluginState.coverAbsent && gPluginState.coverWindow != NULL &&
        !winsim::Inspect(gPluginState.coverWindow).exists && !excuses.coverDestroyedByOthers)
        Fail("cover window", "recorded as shown but gone");
    if (gPluginState.coverAbsent && covers != 0 && !excuses.isWindowFailed)
        Fail("cover window", "left behind");
    if (gPluginState.prefText[sizeof gPluginState.prefText - 1] != '\0' &&
        std::string(gPluginState.prefText, sizeof gPluginState.prefText).find('\0') ==
            std::string::npos)
        Fail("preference text", "not terminated");
}

void BuildDesktop(Input &in, std::vector<fmhost::HostWindows> *hosts)
{
    winsim::Quiet quiet;
    uint8_t shape = in.Byte();
    int generation = shape & 1 ? 3 : 5;
    for (int i = 0; i < 1 + (shape >> 1) % 3; ++i) {
        fmhost::HostLayout layout;
        layout.generation = generation;
        if (i == 1)
            layout.appClass = generation == 3 ? "FMPRO3.ab1" : "FMPRO5.ab1";
        if (i == 2)
            layout.appClass = generation == 3 ? "FMPRO5APP" : "FMPRO3APP";
        layout.x = 20 * i;
        layout.menuBar = (shape & 8) == 0 || i > 0;
        hosts->push_back(fmhost::CreateHostWindows(reinterpret_cast<HINSTANCE>(0x400000), layout));
        for (int d = 0; d < 1 + in.Byte() % 3; ++d) {
            fmhost::DocumentLayout doc;
            doc.title = d == 0 ? "Orders" : d == 1 ? "Customers" : "";
            doc.x = static_cast<int8_t>(in.Byte());
            doc.y = static_cast<int8_t>(in.Byte());
            doc.style = (in.Byte() & 1) ? (WS_OVERLAPPEDWINDOW | WS_VISIBLE)
                                        : static_cast<DWORD>(in.Long() & 0x10ff0000);
            if (in.Byte() & 1)
                doc.className = generation == 3 ? "FMPRO5DOC" : "Other";
            fmhost::CreateDocument(reinterpret_cast<HINSTANCE>(0x400000), hosts->back(),
                                   generation, doc);
        }
    }
    if (shape & 16)
        winsim::CreateTaskBar();
    if (shape & 32)
        winsim::CreateTaskBar("Shell_SecondaryTrayWnd");
    winsim::SetCursorCount(static_cast<int8_t>(in.Byte()) / 4);
    uint8_t registry = in.Byte();
    if (registry & 1)
        winsim::CreateKey(kSettingsKey);
    if (registry & 2) {
        std::string value = in.Text(30);
        winsim::SetValue(kSettingsKey, "prefs", (registry & 4) ? REG_BINARY : REG_SZ, value);
        if (registry & 8)
            winsim::ReplaceValueAfterSizeQuery(kSettingsKey, "prefs", in.Text(40));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Input in{data, size};
    winsim::Reset();
    winsim::DefineDialog(IDD_PREFERENCES,
                         {{IDC_PREF_PICTURE, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_BITMAP},
                          {IDC_PREF_TEXT, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP},
                          {IDOK, "BUTTON", "OK", WS_CHILD | WS_VISIBLE},
                          {IDCANCEL, "BUTTON", "Cancel", WS_CHILD | WS_VISIBLE}});
    gPluginState = PluginState();
    gFMExternCallPtr = nullptr;
    fmhost::HostSession host(FMExternCallProc, reinterpret_cast<HINSTANCE>(0x400000));
    std::vector<fmhost::HostWindows> hosts;
    BuildDesktop(in, &hosts);

    Excuses excuses;
    bool faultPending = false;
    int faultAt = 1;
    bool faultPersistent = false;
    for (int op = 0; op < 64 && !in.Empty(); ++op) {
        if (faultPending) {
            winsim::FailCall("*", faultAt, faultPersistent);
            faultPending = false;
        }
        winsim::ClearCallLog();
        uint8_t kind = in.Byte();
        switch (kind % 8) {
        case 0: {
            uint16_t raw = in.Word();
            int16_t version = (raw & 0x8000) ? static_cast<int16_t>(raw)
                                             : static_cast<int16_t>(raw % 20 == 0 ? 12 : raw % 300);
            host.Startup(version);
            break;
        }
        case 1:
        case 2:
        case 3: {
            fmhost::CallRequest request;
            uint8_t pick = in.Byte();
            request.functionId = (pick & 0x80) ? in.Long() : pick % 30;
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
            if (request.functionId > 26 || request.memoryErrorOnResize) {
                if (out.result != "untouched")
                    Fail("result", "written although it must not be: " + out.result);
            } else if (!IsPossibleAnswer(request.functionId, out.result)) {
                Fail("answer", std::to_string(request.functionId) + " answered " + out.result);
            }
            break;
        }
        case 4:
            host.Shutdown();
            break;
        case 5: {
            std::vector<winsim::DialogAction> actions;
            for (int i = 0; i < in.Byte() % 4; ++i) {
                switch (in.Byte() % 5) {
                case 0:
                    actions.push_back(winsim::TypeText(IDC_PREF_TEXT, in.Text(30)));
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
            break;
        }
        case 6:
            host.Send(in.Byte(), 0x5A5A);
            break;
        default: {
            // The desktop changes under the plug-in's feet.
            winsim::Quiet quiet;
            uint8_t what = in.Byte();
            if ((what & 3) == 0 && gPluginState.coverWindow) {
                DestroyWindow(gPluginState.coverWindow);
                excuses.coverDestroyedByOthers = true;
            }
            else if ((what & 3) == 1)
                winsim::SetCursorCount(static_cast<int8_t>(in.Byte()) / 2);
            else if ((what & 3) == 2 && !hosts.empty())
                SetMenu(hosts[0].app, NULL);
            else {
                // The next message meets a failing platform call.
                faultPending = true;
                faultAt = 1 + in.Byte() % 8;
                faultPersistent = (what & 4) != 0;
            }
            break;
        }
        }
        winsim::ClearFaults();
        if (std::getenv("LOOMVANE_FUZZ_TRACE")) {
            std::fprintf(stderr, "op %d kind %d\n", op, kind % 8);
            for (const auto &call : winsim::CallLog())
                std::fprintf(stderr, "  %s%s\n", winsim::Format(call).c_str(),
                             call.failed ? " (failed)" : "");
        }
        NoteFailures(&excuses);
        CheckState(host, excuses);
    }
    return 0;
}
