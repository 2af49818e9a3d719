// The simulated desktop an input runs on: built on the stand-in from the
// input's plan, starting from saved states; the shell, which may answer no
// message; and snapshots of the whole desktop, with what changed between two.
#pragma once

#include "FuzzInput.h"
#include "HostWindows.h"
#include "Plugin.h"
#include "PluginNames.h"

#include <winsim.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace fuzz {

inline constexpr char kSettingsKey[] = LOOMVANE_SETTINGS_KEY;

// ---- Building it ----

// Makes the saved states every input starts from; once, before any input.
void PrepareStartingPoints();

// Builds the desktop on the stand-in, from its saved start, and lists the
// host's own document windows. Answers whether the stored value was set to
// change after its size query, which the start-up model leaves alone.
bool BuildDesktop(const DesktopPlan &plan, std::vector<fmhost::HostWindows> *hosts,
                  std::vector<HWND> *documents);

// Puts the empty desktop back, freeing all that an input allocated.
void RestoreEmptyDesktop();

// Another program's window comes to the front and takes the activation;
// answers the host's application window that the user will click, or null
// (and nothing changed) when there is no such program or window.
HWND BringAnotherProgramToFront(const std::vector<fmhost::HostWindows> &hosts);

// ---- The shell ----

// A shell that answers no message: what the requests the task bar commands
// and shut-down left with it will do once it wakes.
enum ShellLanding { kNothingAsked = -2, kUnknown = -1, kLandsHidden = 0, kLandsShown = 1 };
struct HungShell {
    bool hung = false;
    int lands = kNothingAsked;
};
extern HungShell gShell;

// A hung shell answers again; false when it was not hung.
bool WakeShell();

// ---- Snapshots ----

// Every window by handle, looked up as in a map; filled again in place by
// each snapshot.
class WindowTable {
public:
    using Entry = std::pair<HWND, winsim::WindowInfo>;
    using const_iterator = std::vector<Entry>::const_iterator;

    const_iterator begin() const { return entries_.begin(); }
    const_iterator end() const { return entries_.end(); }
    const_iterator find(HWND window) const;
    size_t count(HWND window) const { return find(window) != end() ? 1 : 0; }
    const winsim::WindowInfo &at(HWND window) const;
    void Fill() { winsim::InspectAll(&entries_); }

private:
    std::vector<Entry> entries_;
};

struct Snapshot {
    WindowTable windows;
    PluginState state;
    int cursor = 0;
    HWND active = NULL;  // of the desktop, whatever its thread
    HWND focus = NULL;
};

void Take(Snapshot *snap);

inline bool SameState(const PluginState &a, const PluginState &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SameRect(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The style bits that are a window's state, not its frame: shown, enabled,
// minimized, maximized. Changes of the first two and of the last two are
// told apart from style changes.
const DWORD kShownAndEnabled = WS_VISIBLE | WS_DISABLED;
const DWORD kMinMax = WS_MINIMIZE | WS_MAXIMIZE;
const DWORD kStateBits = kShownAndEnabled | kMinMax;

// The windows that changed between two snapshots, by what changed.
struct Changes {
    std::vector<HWND> created, destroyed, style, exStyle, classStyle, shown, hidden, enabled,
        disabled, rect, title, menu;
    std::vector<HWND> minMax;  // minimized, maximized or restored
    size_t Count() const
    {
        return created.size() + destroyed.size() + style.size() + exStyle.size() +
               classStyle.size() + shown.size() + hidden.size() + enabled.size() + disabled.size() +
               rect.size() + title.size() + menu.size() + minMax.size();
    }
};

Changes Compare(const Snapshot &before, const Snapshot &after);

// Every window that changed in any way and existed before.
std::vector<HWND> AllChanged(const Changes &c);

// " created 0x10020 rect 0x10024", or " nothing".
std::string Describe(const Changes &c);

}  // namespace fuzz
