// Modal dialogs: templates defined through the control side, DialogBoxParamA's
// modal loop driven by a script of user actions, DefDlgProc's default handling,
// and the dialog item functions. The script and the record of the run are the
// control side.
#include "Internal.h"

namespace winsim {
namespace detail {

// GetNextDlgTabItem, then GetNextDlgGroupItem, from the start of the dialog.
HWND FirstDialogControl(const Window *dialog)
{
    for (HWND child : dialog->children)
        if ((Find(child)->style & (WS_VISIBLE | WS_DISABLED | WS_TABSTOP)) ==
            (WS_VISIBLE | WS_TABSTOP))
            return child;
    for (HWND child : dialog->children)
        if ((Find(child)->style & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE)
            return child;
    return NULL;
}

HWND DialogDefaultFocus(const Window *dialog)
{
    HWND control = FirstDialogControl(dialog);
    return control ? control : dialog->handle;
}

namespace {

constexpr DWORD kControlParent = 0x00010000;   // WS_EX_CONTROLPARENT
constexpr DWORD kNoParentNotify = 0x00000004;  // WS_EX_NOPARENTNOTIFY

HWND Item(HWND dialog, int id)
{
    Window *d = Find(dialog);
    if (d == nullptr)
        return NULL;
    for (HWND child : d->children)
        if (static_cast<int>(Find(child)->menuOrId) == id)
            return child;
    return NULL;
}

bool Ended(HWND dialog)
{
    Window *d = Find(dialog);
    return d == nullptr || d->dlgEnded;
}

// What the modal loop does with the queue: every posted message is
// dispatched, until the dialog has ended.
void DeliverPosted(HWND dialog)
{
    auto &queue = S().queue;
    while (!queue.empty() && !Ended(dialog)) {
        MSG msg = queue.front();
        queue.pop_front();
        if (msg.hwnd != NULL)
            SendCore(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
}

// The user's part. GCOVR_EXCL_START
void Perform(HWND dialog, const DialogAction &action)
{
    Window *d = Find(dialog);
    switch (action.kind) {
    case DialogAction::Type:
        if (Window *control = Find(Item(dialog, action.control)))
            SetTextCore(control, action.text.c_str());
        break;
    case DialogAction::Keys:
        if (HWND control = Item(dialog, action.control)) {
            SendCore(control, EM_SETSEL, 0, -1);
            for (char c : action.text)
                SendCore(control, WM_CHAR, static_cast<unsigned char>(c), 1);
        }
        break;
    case DialogAction::Command:
        if (action.control != 0) {
            // A click reaches only a control that is there, shown and enabled;
            // pressing it gives it the focus first.
            Window *button = Find(Item(dialog, action.control));
            if (button == nullptr || (button->style & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE)
                break;
            bool ok = false;
            SetFocusCore(button->handle, &ok);
            SendCore(dialog, WM_COMMAND, action.wParam, reinterpret_cast<LPARAM>(button->handle));
        } else {
            SendCore(dialog, WM_COMMAND, action.wParam, 0);
        }
        break;
    case DialogAction::CloseBox:
        // Only a caption with a window menu and a class that allows it has the box.
        if ((d->style & WS_CAPTION) == WS_CAPTION && (d->style & WS_SYSMENU) &&
            !(d->cls->style & CS_NOCLOSE))
            SendCore(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    case DialogAction::Message:
        SendCore(dialog, action.message, action.wParam, action.lParam);
        break;
    }
}

// The script's actions in order, each followed by what the modal loop does
// with the queue, until the dialog has ended.
void RunScript(HWND dialog, const std::vector<DialogAction> &script, DialogRun *run)
{
    for (const DialogAction &action : script) {
        if (Ended(dialog))
            break;
        ++run->actionsUsed;
        Perform(dialog, action);
        DeliverPosted(dialog);
    }
}

// The dialog as it is at its end, or when the script left it open.
void RecordEnd(const Window *d, const std::vector<DialogControl> &controls, DialogRun *run)
{
    run->ended = d->dlgEnded;
    run->endValue = d->dlgResult;
    for (const DialogControl &c : controls)
        if (Window *control = Find(Item(d->handle, c.id)))
            run->controlTexts.emplace_back(c.id, control->title);
    if (Window *f = Find(S().focus); f != nullptr && f->parent == d->handle)
        run->focusControl = static_cast<int>(f->menuOrId);
}
// GCOVR_EXCL_STOP

INT_PTR RunDialog(HINSTANCE instance, LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param)
{
    State &s = S();
    std::vector<DialogAction> script;
    script.swap(s.script);
    s.lastDialog = DialogRun();
    if (owner != NULL && Find(owner) == nullptr)
        return 0;
    if (!IS_INTRESOURCE(templateName))
        return -1;
    auto found = s.templates.find(LOWORD(templateName));
    if (found == s.templates.end())
        return -1;
    const std::vector<DialogControl> controls = found->second;

    // The owner of a modal dialog is a top-level window, disabled while it runs.
    Window *o = Find(owner);
    while (o != nullptr && IsPureChild(o->style))
        o = Find(o->parent);
    HWND modalOwner = o ? o->handle : NULL;
    bool disabledOwner = o != nullptr && !(o->style & WS_DISABLED);
    if (disabledOwner)
        EnableCore(modalOwner, false);

    // 154 by 140 dialog units in an 8-point font (base units of 6 by 13
    // pixels), 7 units into the owner's client area, rounded as MulDiv does.
    DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | DS_SETFONT;
    DWORD exStyle = WS_EX_DLGMODALFRAME | kControlParent;
    RECT frame = {0, 0, 231, 228};
    AdjustRect(&frame, style, false, exStyle);
    POINT at = {frame.left + 11, frame.top + 11};
    if (o != nullptr) {
        POINT origin = ClientOrigin(Find(owner));
        at.x += origin.x;
        at.y += origin.y;
    }
    HWND dialog = CreateCore(exStyle, "#32770", "", style, at.x, at.y, frame.right - frame.left,
                             frame.bottom - frame.top, modalOwner, NULL, instance, NULL);
    bool created = dialog != NULL;
    for (size_t i = 0; created && i < controls.size(); ++i) {
        const DialogControl &c = controls[i];
        int y = 7 + 20 * static_cast<int>(i);
        created =
            CreateCore(kNoParentNotify, c.className.c_str(), c.text.c_str(), c.style | WS_CHILD, 7,
                       y, 217, 14, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                       instance, NULL) != NULL;
    }
    if (!created) {
        DestroyCore(dialog);
        if (disabledOwner)
            EnableCore(modalOwner, true);
        return -1;
    }
    Find(dialog)->dlgProc = proc;

    DialogRun run;
    run.ran = true;
    run.owner = modalOwner;
    run.ownerDisabledDuring = o != nullptr && (o->style & WS_DISABLED);  // GCOVR_EXCL_LINE
    HWND first = FirstDialogControl(Find(dialog));
    run.initDialogReturn = SendCore(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param);
    if (run.initDialogReturn != 0 && Find(dialog) != nullptr) {
        bool ok = false;
        SetFocusCore(DialogDefaultFocus(Find(dialog)), &ok);
    }
    if (!Ended(dialog)) {
        DeliverPosted(dialog);
        // The dialog appears when the queue first runs empty.
        if (!Ended(dialog))
            ShowCore(dialog, SW_SHOWNORMAL);
    }
    RunScript(dialog, script, &run);

    // A dialog destroyed by its procedure answers 0 and leaves its owner
    // disabled; one that the script left open is ended with -1.
    INT_PTR result = 0;
    if (Window *d = Find(dialog)) {
        RecordEnd(d, controls, &run);
        result = run.ended ? run.endValue : -1;
        if (!run.ended && disabledOwner && Find(modalOwner))
            EnableCore(modalOwner, true);
        DestroyCore(dialog);
    }
    s.lastDialog = run;
    return result;
}

}  // namespace

// SendCore calls it for a window that exists.
LRESULT DialogDispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DLGPROC proc = Find(window)->dlgProc;
    INT_PTR result = proc ? proc(window, message, wParam, lParam) : 0;
    if (message == WM_INITDIALOG)
        return result;
    if (result != 0 || Find(window) == nullptr)
        return 0;
    if (message == WM_CLOSE) {
        // DefDlgProc turns the close into Cancel, whether or not that button is there.
        PostCore(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(window, IDCANCEL)));
        return 0;
    }
    return DefProc(window, message, wParam, lParam);
}

}  // namespace detail

// GCOVR_EXCL_START: the control side
DialogAction TypeText(int control, const std::string &text)
{
    DialogAction action{};
    action.kind = DialogAction::Type;
    action.control = control;
    action.text = text;
    return action;
}

DialogAction TypeKeys(int control, const std::string &text)
{
    DialogAction action = TypeText(control, text);
    action.kind = DialogAction::Keys;
    return action;
}

DialogAction Click(int control)
{
    DialogAction action{};
    action.kind = DialogAction::Command;
    action.control = control;
    action.wParam = MAKEWPARAM(control, BN_CLICKED);
    return action;
}

DialogAction Command(WPARAM wParam)
{
    DialogAction action{};
    action.kind = DialogAction::Command;
    action.wParam = wParam;
    return action;
}

DialogAction CloseBox()
{
    DialogAction action{};
    action.kind = DialogAction::CloseBox;
    return action;
}

void DefineDialog(int templateId, const std::vector<DialogControl> &controls)
{
    detail::S().templates[templateId] = controls;
}

void ScriptDialog(const std::vector<DialogAction> &actions)
{
    detail::S().script = actions;
}

DialogRun LastDialog()
{
    return detail::S().lastDialog;
}
// GCOVR_EXCL_STOP

}  // namespace winsim

using namespace winsim::detail;

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam)
{
    ApiCall call(Fn::DialogBoxParamA);
    INT_PTR result = -1;
    if (!call.Failed())
        result = RunDialog(instance, templateName, owner, dialogProc, initParam);
    call.Log({HandleText(instance), Text(templateName), HandleText(owner),
              dialogProc ? Hex(reinterpret_cast<uintptr_t>(dialogProc)) : "NULL", Dec(initParam)},
             Dec(result));
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    ApiCall call(Fn::EndDialog);
    BOOL ok = FALSE;
    Window *d = Find(dialog);
    if (!call.Failed() && d != nullptr && d->cls->kind == ClassKind::Dialog) {
        d->dlgEnded = true;
        d->dlgResult = result;
        // Wine enables the owner again, even one that was disabled before.
        if (Find(d->owner) != nullptr)
            EnableCore(d->owner, true);
        // Hidden, an active dialog hands the activation and the focus to its owner.
        SetPosCore(dialog, NULL, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
        ok = TRUE;
    }
    call.Log({HandleText(dialog), Dec(result)}, Dec(ok));
    return ok;
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    ApiCall call(Fn::GetDlgItem);
    HWND result = call.Failed() ? NULL : Item(dialog, id);
    call.Log({HandleText(dialog), Dec(id)}, HandleText(result));
    return result;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    ApiCall call(Fn::SetDlgItemTextA);
    BOOL result = FALSE;
    HWND control = call.Failed() ? NULL : Item(dialog, id);
    if (control != NULL)
        result = SendCore(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0;
    call.Log({HandleText(dialog), Dec(id), Text(text)}, Dec(result));
    return result;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    ApiCall call(Fn::SendDlgItemMessageA);
    LRESULT result = 0;
    HWND control = call.Failed() ? NULL : Item(dialog, id);
    if (control != NULL)
        result = SendCore(control, message, wParam, lParam);
    call.Log({HandleText(dialog), Dec(id), Hex(message), Dec(static_cast<long long>(wParam)),
              Dec(lParam)},
             Dec(result));
    return result;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount)
{
    ApiCall call(Fn::GetDlgItemTextA);
    UINT result = 0;
    if (!call.Failed() && text != nullptr && maxCount > 0) {
        // A missing control leaves the buffer empty.
        text[0] = '\0';
        if (HWND control = Item(dialog, id))
            result = static_cast<UINT>(SendCore(control, WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                                reinterpret_cast<LPARAM>(text)));
    }
    call.Log({HandleText(dialog), Dec(id), Buffer(text), Dec(maxCount)}, Dec(result));
    return result;
}
