// The oracle of the geometry: where a relocate or a resize leaves its
// window, and that a size query answers a document's placement and changes
// nothing.
#include "Oracle.h"

namespace fuzz {
namespace {

// The fields of a parameter that needs none of the reading rules' corner
// cases: all of it reported, no zero byte, no empty field between two
// separators or before the first. Empty when the parameter is not that plain.
std::vector<std::string> PlainFields(const fmhost::CallRequest &request)
{
    const std::string &text = request.parameter;
    if ((request.reportedParameterSize &&
         *request.reportedParameterSize != static_cast<int32_t>(text.size())) ||
        text.find('\0') != std::string::npos || text.find("||") != std::string::npos ||
        text.empty() || text[0] == '|')
        return {};
    return SplitFields(text);
}

// A coordinate field as documented: up to five characters right-aligned, a
// "-" anywhere makes it negative and takes no place, other characters that
// are not digits count for nothing, limited to 16000 either way.
bool CoordinateOf(const std::string &field, long *value)
{
    if (field.size() > 5)
        return false;
    std::string places = std::string(5 - field.size(), '0') + field;
    bool negative = false;
    long total = 0, place = 1;
    for (int i = 4; i >= 0; --i) {
        if (places[i] == '-') {
            negative = true;
            continue;
        }
        if (places[i] >= '0' && places[i] <= '9')
            total += (places[i] - '0') * place;
        place *= 10;
    }
    total = total > 16000 ? 16000 : total;
    *value = negative ? -total : total;
    return true;
}

void CheckRelocatedTo(const std::string &label, bool relative, long first, long second,
                      const winsim::WindowInfo &was, const winsim::WindowInfo &now,
                      const RECT &origin)
{
    // A relative move ends within -16000 to 16000, as an absolute one.
    auto limited = [](long value) {
        return value > 16000 ? 16000 : value < -16000 ? -16000 : value;
    };
    long x = relative ? limited(first + was.rect.left - origin.left) : first;
    long y = relative ? limited(second + was.rect.top - origin.top) : second;
    if (now.rect.left - origin.left != x || now.rect.top - origin.top != y)
        Fail("relocate", label + ": the window is at " +
                             std::to_string(now.rect.left - origin.left) + "," +
                             std::to_string(now.rect.top - origin.top) + ", not " +
                             std::to_string(x) + "," + std::to_string(y));
}

void CheckResizedTo(const std::string &label, bool relative, long first, long second,
                    const winsim::WindowInfo &was, const winsim::WindowInfo &now)
{
    long width = first + (relative ? was.rect.right - was.rect.left : 0);
    long height = second + (relative ? was.rect.bottom - was.rect.top : 0);
    // The window manager's limits apply outside these sizes; a
    // minimized window keeps the size of its icon.
    bool unlimited = width >= 150 && width <= 1000 && height >= 150 && height <= 700 &&
                     !(static_cast<DWORD>(was.style) & WS_MINIMIZE);
    if (unlimited &&
        (now.rect.right - now.rect.left != width || now.rect.bottom - now.rect.top != height))
        Fail("resize", label + ": the window is " + std::to_string(now.rect.right - now.rect.left) +
                           " by " + std::to_string(now.rect.bottom - now.rect.top) + ", not " +
                           std::to_string(width) + " by " + std::to_string(height));
}

// Where a relocate or resize that answered "1" must have left the window it
// changed, for a plain parameter: title|mode|first|second|code.
void CheckGeometry(const CallSeen &call)
{
    std::vector<std::string> fields = PlainFields(call.request);
    if (fields.size() < 2 || call.c.rect.size() != 1)
        return;
    long first = 0, second = 0;
    if ((fields.size() > 2 && !CoordinateOf(fields[2], &first)) ||
        (fields.size() > 3 && !CoordinateOf(fields[3], &second)))
        Fail("geometry", "answered 1 for a number field longer than five characters");
    bool relative = fields[1] == "R" || fields[1] == "r";
    if (!relative && fields[1] != "A" && fields[1] != "a")
        Fail("geometry", "answered 1 for the mode \"" + fields[1] + "\"");
    HWND w = call.c.rect[0];
    const winsim::WindowInfo &was = call.before.windows.at(w);
    const winsim::WindowInfo &now = call.after.windows.at(w);
    if (was.title != fields[0])
        Fail("geometry", "changed \"" + was.title + "\", not \"" + fields[0] + "\"");
    const RECT &origin = call.before.windows.at(was.parent).client;
    std::string label = "function " + std::to_string(call.id) + " " + call.request.parameter;
    if (call.id == kDoWindowRelocate)
        CheckRelocatedTo(label, relative, first, second, was, now, origin);
    else
        CheckResizedTo(label, relative, first, second, was, now);
}

// The placement of a document as a size query answers it, measured here
// from the snapshot: left|top|width|height, or the edges for the ABS query.
std::string Placement(const Snapshot &snap, HWND document, bool edges)
{
    const winsim::WindowInfo &doc = snap.windows.at(document);
    const winsim::WindowInfo &mdi = snap.windows.at(doc.parent);
    auto app = snap.windows.find(mdi.parent);
    if (app == snap.windows.end())
        return std::string();
    LONG dx = app->second.client.left, dy = app->second.client.top;
    long values[4] = {doc.rect.left - dx - 2, doc.rect.top - dy - 2,
                      edges ? doc.rect.right - dx - 2 : doc.rect.right - doc.rect.left,
                      edges ? doc.rect.bottom - dy - 2 : doc.rect.bottom - doc.rect.top};
    return std::to_string(values[0]) + "|" + std::to_string(values[1]) + "|" +
           std::to_string(values[2]) + "|" + std::to_string(values[3]);
}

}  // namespace

// A relocate keeps the size, a resize the place, of the one document it
// changes; "0" changes no rectangle.
void CheckMoveOrResize(const CallSeen &call)
{
    uint32_t id = call.id;
    if (call.Yes() && !call.faulted) {
        ExpectOneDocument("window rectangles", call.c.rect, call.before, false, id);
        for (HWND w : call.c.rect) {
            const RECT &was = call.before.windows.at(w).rect;
            const RECT &now = call.after.windows.at(w).rect;
            bool samePlace = was.left == now.left && was.top == now.top;
            bool sameSize = was.right - was.left == now.right - now.left &&
                            was.bottom - was.top == now.bottom - now.top;
            if (id == kDoWindowResize && !samePlace)
                Fail("resize", "the window moved");
            if (id == kDoWindowRelocate && !sameSize)
                Fail("relocate", "the window changed its size");
        }
        CheckGeometry(call);
    } else if (call.No() && !call.faulted) {
        ExpectNone("window rectangles", call.c.rect, id);
    }
}

void CheckSizeQuery(const CallSeen &call)
{
    if (call.c.Count() != 0)
        Fail("placement", call.label + " changed" + Describe(call.c));
    if (call.No() || call.faulted)
        return;
    bool found = false;
    for (const auto &entry : call.before.windows)
        if (IsDocument(call.before, entry.first) &&
            Placement(call.before, entry.first, call.id == kDoGetWindowSizeABS) == call.answer)
            found = true;
    if (!found)
        Fail("placement", call.label + " answered " + call.answer + ", no document's placement");
}

}  // namespace fuzz
