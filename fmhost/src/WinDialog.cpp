// The preferences dialog on Windows, driven by a timer that fires inside its
// modal loop: one step of the user's a tick, as the user would take them.
#include "PlatformWin.h"
#include "ScriptText.h"

#include <string>
#include <utility>
#include <vector>

namespace fmhost {

namespace {

constexpr int kPrefTextControl = 22313;

// The dialog driver: one step a tick, then one more tick to look at the
// result, then the dialog is ended from outside if it is still open.
struct DialogDriver {
    std::vector<DialogStep> steps;
    size_t next = 0;
    HWND dialog = NULL;
    DialogReport report;
    UINT_PTR timer = 0;
    int waits = 0;
} gDriver;

HWND FindOpenDialog()
{
    HWND active = GetActiveWindow();
    char name[32] = "";
    if (active && GetClassNameA(active, name, sizeof name) && lstrcmpA(name, "#32770") == 0)
        return active;
    return NULL;
}

std::string FieldText(HWND dialog)
{
    char text[256] = "";
    GetDlgItemTextA(dialog, kPrefTextControl, text, sizeof text);
    return text;
}

// Every control inside the client area, no two overlapping.
std::string LayoutFault(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(NULL, dialog, reinterpret_cast<POINT *>(&rect), 2);
        int id = static_cast<short>(GetDlgCtrlID(child));  // the picture is -1
        if (rect.left < client.left || rect.top < client.top || rect.right > client.right ||
            rect.bottom > client.bottom)
            return "control " + std::to_string(id) + " at " + RectText(rect) +
                   " reaches outside the client area " + RectText(client);
        for (const auto &other : controls) {
            RECT both;
            if (IntersectRect(&both, &rect, &other.second))
                return "controls " + std::to_string(other.first) + " and " + std::to_string(id) +
                       " overlap at " + RectText(both);
        }
        controls.emplace_back(id, rect);
    }
    return controls.size() < 4 ? "only " + std::to_string(controls.size()) + " controls" : "";
}

void CALLBACK DriveDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (!gDriver.dialog) {
        gDriver.dialog = FindOpenDialog();
        if (!gDriver.dialog) {
            if (++gDriver.waits > 100)  // five seconds: give up, leave the loop to the host
                KillTimer(NULL, gDriver.timer);
            return;
        }
        gDriver.report.opened = true;
        gDriver.report.layoutFault = LayoutFault(gDriver.dialog);
        gDriver.report.layoutMeasured = true;
    }
    if (!IsWindow(gDriver.dialog)) {
        KillTimer(NULL, gDriver.timer);
        return;
    }
    HWND dialog = gDriver.dialog;
    if (gDriver.next < gDriver.steps.size()) {
        const DialogStep &step = gDriver.steps[gDriver.next++];
        gDriver.report.fieldText = FieldText(dialog);
        switch (step.kind) {
        case DialogStep::Type:
            SetDlgItemTextA(dialog, kPrefTextControl, step.text.c_str());
            break;
        case DialogStep::Keys: {
            // As the user types: the whole text selected, then one character
            // after another, which the control's limit stops.
            HWND field = GetDlgItem(dialog, kPrefTextControl);
            SetFocus(field);
            SendMessageA(field, EM_SETSEL, 0, -1);
            for (char c : step.text)
                SendMessageA(field, WM_CHAR, static_cast<unsigned char>(c), 1);
            break;
        }
        case DialogStep::Ok:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, IDOK));
            break;
        case DialogStep::Cancel:
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         (LPARAM)GetDlgItem(dialog, IDCANCEL));
            break;
        case DialogStep::CloseBox:
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            break;
        case DialogStep::Command:
            SendMessageA(dialog, WM_COMMAND, (WPARAM)step.wParam, 0);
            break;
        case DialogStep::Picture:
            RedrawWindow(dialog, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            if (!Snapshot(step.text))
                gDriver.report.pictureFailed = true;
            break;
        }
        return;
    }
    // Every step is done and the dialog is still there.
    gDriver.report.fieldText = FieldText(dialog);
    gDriver.report.endedByItself = false;
    KillTimer(NULL, gDriver.timer);
    EndDialog(dialog, -1);
}

}  // namespace

DialogReport RunPreferences(HostSession &session, const std::vector<DialogStep> &steps)
{
    gDriver = DialogDriver();
    gDriver.steps = steps;
    gDriver.report.endedByItself = true;
    gDriver.report.beeps = -1;
    gDriver.timer = SetTimer(NULL, 0, 50, DriveDialog);
    session.Preferences();
    KillTimer(NULL, gDriver.timer);
    // A dialog that ended by itself: its field as last seen.
    return gDriver.report;
}

}  // namespace fmhost
