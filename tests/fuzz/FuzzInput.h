// The fuzz input, read into what the target does with it: first the plan of
// a desktop, then up to 64 messages for the plug-in or changes of the
// desktop. The committed seeds (written by make_corpus.py) and the corpus are
// in this format: every byte read here, and the order of the reads, is what
// they mean.
#pragma once

#include "HostSession.h"
#include "HostWindows.h"

#include <winsim.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

// What the result handle holds before every call.
inline constexpr char kUntouchedResult[] = "untouched";

// The input's bytes, read front to back; past the end every byte reads 0.
struct Input {
    const uint8_t *data;
    size_t size;
    size_t at = 0;
    bool Empty() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
    uint32_t Long() { return Word() | (static_cast<uint32_t>(Word()) << 16); }
    // A length byte, then as many pieces: a token, a long run of "t", or the
    // byte itself.
    std::string Text(size_t most);
};

// A desktop as the input describes it.
struct DesktopPlan {
    uint8_t shape = 0;
    std::vector<std::vector<fmhost::DocumentLayout>> documents;  // of each application window
    int cursor = 0;
    uint8_t registry = 0;
    std::string value, later;
};

DesktopPlan ReadDesktop(Input &in);

// A layout of the displays: the primary monitor's size and the others.
struct Displays {
    POINT primary;
    std::vector<RECT> others;
};

// A change of the desktop between two messages.
struct DesktopEvent {
    enum Kind {
        // Checked on their own: what the cover's procedure and the shell do.
        kDisplaysChange,   // to the layout in displays
        kHostActiveAgain,  // another program in front, then the host's window clicked
        kShellWakes,       // a shell that answered no message answers again
        // What happens behind the plug-in's back, before the next message.
        kCoverDestroyed,  // its cover window destroyed by someone else
        kCursorSet,       // the cursor counter set to cursor
        kMenuBarTaken,    // the first application window's menu bar taken off
        kDocumentShown,   // the user maximizes, minimizes or restores a document
        kFaultArmed       // the next message meets a failing platform call
    } kind = kFaultArmed;
    Displays displays = {};
    int cursor = 0;
    size_t document = 0;           // its place in the list of documents built
    int command = 0;               // SW_MAXIMIZE, SW_MINIMIZE or SW_RESTORE
    int faultAt = 1;               // the platform call that fails, counted from 1
    bool faultPersistent = false;  // and every later one
    // Checked on its own rather than with the next message.
    bool CheckedOnItsOwn() const
    {
        return kind == kDisplaysChange || kind == kHostActiveAgain || kind == kShellWakes;
    }
};

// One message of the input, as the host will send it.
struct Message {
    enum Kind { kStartup, kCall, kShutdown, kPreferences, kSend, kDesktop } what = kDesktop;
    uint8_t kind = 0;                           // the message's first byte modulo 8
    int16_t version = 0;                        // kStartup: the interface version offered
    fmhost::CallRequest request;                // kCall
    std::vector<winsim::DialogAction> actions;  // kPreferences: what the user does
    uint8_t code = 0;                           // kSend: any message code
    DesktopEvent event;                         // kDesktop
};

// What the bytes of a change of the desktop depend on: which changes can
// happen at that moment.
struct DesktopFacts {
    bool coverRecorded = false;  // the state record names a cover window
    bool hasApplicationWindows = false;
    size_t documents = 0;  // how many document windows were built
};

Message ReadMessage(Input &in, const DesktopFacts &facts);

}  // namespace fuzz
