// Reads the fuzz input: the desktop plan, then each message with its
// parameter bytes, dialog actions or change of the desktop.
#include "FuzzInput.h"

#include "FunctionList.h"
#include "LoomvaneRes.h"

namespace fuzz {
namespace {

// Pieces that make parameters likely to mean something to the plug-in.
const std::string kTokens[] = {"Orders", "Customers",
                               "",       "|",
                               "A",      "R",
                               "a",      "r",
                               "-",      "10",
                               "-20",    "16000",
                               "99999",  "123456",
                               "ab1",    "xy",
                               "p",      "Orders|",
                               "|ab1",   "0",
                               "#",      std::string(1, '\0')};
constexpr uint8_t kTokenCount = sizeof kTokens / sizeof kTokens[0];

fmhost::DocumentLayout ReadDocument(Input &in, int generation, int d)
{
    fmhost::DocumentLayout doc;
    doc.title = d == 0 ? "Orders" : d == 1 ? "Customers" : "";
    doc.x = static_cast<int8_t>(in.Byte());
    doc.y = static_cast<int8_t>(in.Byte());
    doc.style = (in.Byte() & 1) ? (WS_OVERLAPPEDWINDOW | WS_VISIBLE)
                                : static_cast<DWORD>(in.Long() & 0x10ff0000);
    if (in.Byte() & 1)
        doc.className = generation == 3 ? "FMPRO5DOC" : "Other";
    return doc;
}

// Any version with the top bit set; otherwise mostly the generation-5
// range, and now and then 12, a generation-3 host.
int16_t ReadVersion(Input &in)
{
    uint16_t raw = in.Word();
    return (raw & 0x8000) ? static_cast<int16_t>(raw)
                          : static_cast<int16_t>(raw % 20 == 0 ? 12 : raw % 300);
}

fmhost::CallRequest ReadCallRequest(Input &in)
{
    fmhost::CallRequest request;
    uint8_t pick = in.Byte();
    request.functionId = (pick & 0x80) ? in.Long() : pick % (LOOMVANE_FUNCTION_COUNT + 3);
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
    request.initialResult = kUntouchedResult;
    return request;
}

std::vector<winsim::DialogAction> ReadDialogActions(Input &in)
{
    std::vector<winsim::DialogAction> actions;
    int count = in.Byte() % 4;
    for (int i = 0; i < count; ++i) {
        switch (in.Byte() % 6) {
        case 0:
            actions.push_back(winsim::TypeText(IDC_PREF_TEXT, in.Text(30)));
            break;
        case 5:
            actions.push_back(winsim::TypeKeys(IDC_PREF_TEXT, in.Text(30)));
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
    return actions;
}

Displays ReadDisplays(Input &in)
{
    static const POINT primaries[] = {{1024, 768}, {1920, 1080}, {800, 600}};
    static const RECT others[] = {
        {0, 0, 0, 0}, {1024, 0, 1824, 600}, {-1280, -200, 0, 824}, {1920, 0, 3200, 1024}};
    uint8_t layout = in.Byte();
    Displays displays;
    displays.primary = primaries[layout % 3];
    const RECT &other = others[(layout >> 2) % 4];
    if (other.right != other.left)
        displays.others.push_back(other);
    return displays;
}

// Bits 3 to 5 all set: a change the cover's procedure hears of, by bits 6
// and 7. Otherwise the first of the others that can happen now, by the low
// bits; failing all, a fault armed.
DesktopEvent ReadDesktopEvent(Input &in, const DesktopFacts &facts)
{
    DesktopEvent event;
    uint8_t what = in.Byte();
    if ((what & 0x38) == 0x38) {
        int change = what >> 6;
        if (change == 0 || change == 3) {
            event.kind = DesktopEvent::kDisplaysChange;
            event.displays = ReadDisplays(in);
        } else {
            event.kind = change == 1 ? DesktopEvent::kHostActiveAgain : DesktopEvent::kShellWakes;
        }
        return event;
    }
    if ((what & 3) == 0 && facts.coverRecorded) {
        event.kind = DesktopEvent::kCoverDestroyed;
    } else if ((what & 3) == 1) {
        event.kind = DesktopEvent::kCursorSet;
        event.cursor = static_cast<int8_t>(in.Byte()) / 2;
    } else if ((what & 7) == 2 && facts.hasApplicationWindows) {
        event.kind = DesktopEvent::kMenuBarTaken;
    } else if ((what & 7) == 6 && facts.documents != 0) {
        static const int kCommands[] = {SW_MAXIMIZE, SW_MINIMIZE, SW_RESTORE};
        event.kind = DesktopEvent::kDocumentShown;
        event.document = in.Byte() % facts.documents;
        event.command = kCommands[(what >> 3) % 3];
    } else {
        event.kind = DesktopEvent::kFaultArmed;
        event.faultAt = 1 + in.Byte() % 8;
        event.faultPersistent = (what & 4) != 0;
    }
    return event;
}

}  // namespace

std::string Input::Text(size_t most)
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

DesktopPlan ReadDesktop(Input &in)
{
    DesktopPlan plan;
    plan.shape = in.Byte();
    int generation = plan.shape & 1 ? 3 : 5;
    plan.documents.resize(1 + (plan.shape >> 1) % 3);
    for (auto &documents : plan.documents) {
        // Counts are read once, before the loop they bound.
        int count = 1 + in.Byte() % 3;
        for (int d = 0; d < count; ++d)
            documents.push_back(ReadDocument(in, generation, d));
    }
    plan.cursor = static_cast<int8_t>(in.Byte()) / 4;
    plan.registry = in.Byte();
    if (plan.registry & 2) {
        plan.value = in.Text(30);
        if (plan.registry & 8)
            plan.later = in.Text(40);
    }
    return plan;
}

Message ReadMessage(Input &in, const DesktopFacts &facts)
{
    Message message;
    message.kind = in.Byte() % 8;
    switch (message.kind) {
    case 0:
        message.what = Message::kStartup;
        message.version = ReadVersion(in);
        break;
    case 1:
    case 2:
    case 3:
        message.what = Message::kCall;
        message.request = ReadCallRequest(in);
        break;
    case 4:
        message.what = Message::kShutdown;
        break;
    case 5:
        message.what = Message::kPreferences;
        message.actions = ReadDialogActions(in);
        break;
    case 6:
        message.what = Message::kSend;
        message.code = in.Byte();
        break;
    default:
        message.what = Message::kDesktop;
        message.event = ReadDesktopEvent(in, facts);
        break;
    }
    return message;
}

}  // namespace fuzz
