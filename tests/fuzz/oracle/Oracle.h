// The fuzz target's oracle: what each message may do to the desktop and the
// state record, judged from snapshots taken before and after it. One file a
// part of the plug-in (host, targeting, geometry, appearance, desktop,
// prefs); this header holds what they share and what the target calls.
// A broken check prints the message's platform calls and aborts.
#pragma once

#include "FuzzDesktop.h"
#include "FunctionList.h"
#include "HostSession.h"

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace fuzz {

// The function ids by name, from the one function list.
enum FunctionId : uint32_t {
#define LOOMVANE_FUZZ_ID(id, name, handler, kind) k##handler = id,
    LOOMVANE_FUNCTIONS(LOOMVANE_FUZZ_ID)
#undef LOOMVANE_FUZZ_ID
};

[[noreturn]] void Fail(const char *what, const std::string &detail);

// The platform calls of the message in progress, one a line, to stderr.
void PrintCallLog();

// The log is read through its summary, which formats nothing; only the
// results of the few calls that are judged by them are made into text.
bool Called(size_t index, const char *function);
// True when a platform call of the message in progress was made to fail.
bool MessageFaulted();
// True when a call of this function was made to fail.
bool FailedIn(const char *function);

// What the desktop did to the plug-in so far, which excuses some states.
struct Excuses {
    std::set<HWND> coversDestroyedByOthers;
    bool isWindowFailed = false;
    bool closeKeyFailed = false;
    // A shut-down that met a failing platform call and could not unregister
    // the class forgets it all the same; the class then outlives the record.
    bool classLeftRegistered = false;
};

inline std::string Hex(uintptr_t value)
{
    char text[24];
    std::snprintf(text, sizeof text, "%#lx", static_cast<unsigned long>(value));
    return text;
}

// One external call as the checks see it.
struct CallSeen {
    const fmhost::CallRequest &request;
    uint32_t id;
    const std::string &answer;
    // False when the answer is not the function's: a memory error kept the
    // result handle from being written.
    bool known;
    bool faulted;  // a platform call of it was made to fail
    const Snapshot &before;
    const Snapshot &after;
    Changes c;
    std::string label;  // "function N"
    bool Yes() const { return answer == "1"; }
    bool No() const { return answer == "0"; }
};

// At most one window changed in this way (exactly one if exactlyOne), and it
// is a document window.
void ExpectOneDocument(const char *what, const std::vector<HWND> &changed, const Snapshot &before,
                       bool exactlyOne, uint32_t id);
// No window changed in this way.
void ExpectNone(const char *what, const std::vector<HWND> &changed, uint32_t id);

// ---- host: messages, dispatch, answers, start-up and shut-down ----

struct StartupExpectation {
    bool modelled = false;
    intptr_t reply = 0;
    std::string text;
};
StartupExpectation ExpectStartup(int16_t version, bool registryModelled);

// The result handle after an external call: written only when it may be, by
// an answer the function may give, resized exactly once.
void CheckResult(const fmhost::CallRequest &request, const fmhost::CallOutcome &out);
void CheckCallEffects(const fmhost::CallRequest &request, const std::string &answer, bool known,
                      bool faulted, const Snapshot &before, const Snapshot &after);
// A start-up, a shut-down, the preferences or any other message code.
void CheckMessage(uint8_t code, intptr_t preset, intptr_t reply, int16_t version,
                  const StartupExpectation &startup, const Snapshot &before, const Snapshot &after,
                  const Excuses &excuses);
// After every message: what the failing calls excuse from now on.
void NoteFailures(Excuses *excuses);
// After every message: the record against the desktop and the host.
void CheckState(const fmhost::HostSession &host, const Excuses &excuses, const Snapshot &now);

// ---- targeting ----

// A document window: a child of an MDI client.
bool IsDocument(const Snapshot &snap, HWND window);
// The fields of a text, cut at every "|".
std::vector<std::string> SplitFields(const std::string &text);
// The class of the host's application windows when a function names no code.
const char *StandardClass(const Snapshot &snap);
// The host's own application window of the standard class that a search
// from the top of the Z order finds first; null when the host has none.
HWND OwnApplicationWindow(const Snapshot &snap, const std::vector<HWND> &order);
void CheckOtherProcesses(const CallSeen &call);
void CheckZeroBytes(const CallSeen &call);

// ---- geometry ----

void CheckMoveOrResize(const CallSeen &call);
void CheckSizeQuery(const CallSeen &call);

// ---- appearance: visibility, frame styles, title ----

bool IsFrameCommand(uint32_t id);
void CheckShowWindowStates(const CallSeen &call);
void CheckSizingPairStates(const CallSeen &call);
void CheckTitleCommand(const CallSeen &call);
void CheckDialogFrame(const CallSeen &call);
void CheckVisibilityCommand(const CallSeen &call);
void CheckFrameCommand(const CallSeen &call);

// ---- desktop: menu bar, task bar, cursor, cover ----

bool IsTaskBarWindow(const winsim::WindowInfo &w);
bool IsStartButton(const winsim::WindowInfo &w);
bool HasPrimaryTaskBar(const Snapshot &snap);
int ExpectedCursorAfterShow(int count);
bool IsMenuQuietly(HMENU menu);
// Empty when the menu bar holds the buttons the MDI client's state calls
// for, else what is wrong.
std::string MenuButtonsProblem(HWND application);
void CheckMenuBarLayout(const CallSeen &call);
void CheckHungShell(const CallSeen &call);
void CheckMenuBarCommand(const CallSeen &call);
void CheckCoverMade(const CallSeen &call);
void CheckCoverRemoved(const CallSeen &call);
void CheckCursorCommand(const CallSeen &call);
void CheckTaskBarCommand(const CallSeen &call);
// What the cover's procedure and the shell do when the desktop changes.
void CheckDisplayChange(bool faulted, const Snapshot &before, const Snapshot &after,
                        const std::vector<HWND> &orderBefore);
void CheckHostActiveAgain(bool faulted, const Snapshot &before, const Snapshot &after);
void CheckShellWoke(const Snapshot &before, const Snapshot &after);

// ---- prefs ----

// The stored text the start-up should load from the registry as it is now,
// or false when the start-up must fail on it.
bool ExpectedLoad(std::string *text);
void CheckPreferences(bool faulted, const Snapshot &before, const Snapshot &after);

}  // namespace fuzz
