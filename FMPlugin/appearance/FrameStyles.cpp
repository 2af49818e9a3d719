// The frame commands: title bar, sizing border, window menu, the class's
// Close command, and the dialog-like frame. Each reads one style word of the
// document window afresh, tests it, and writes it back with a fixed set of
// bits inverted; the style words are the only state.
#include "Targeting.h"

// Asks for the frame to be recalculated and drawn; nothing else changes.
static const UINT kFrameOnlyFlags =
    SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

static const DWORD kDialogWindowStyleMask =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
static const DWORD kDialogExStyleMask = WS_EX_CLIENTEDGE | WS_EX_MDICHILD | WS_EX_DLGMODALFRAME;

enum StyleWord { kWindowStyleWord, kClassStyleWord };

enum FollowUp {
    kNoFollowUp,
    kShowAndRaise,  // show, raise and recalculate the frame in one step
    kRedrawFrame    // recalculate and draw the frame in place
};

// When a command proceeds: the frame element must be there to be taken away,
// or missing to be given back.
enum Precondition { kProceedIfAnySet, kProceedIfNoneSet };

// Whether the write is judged: the word read back must hold the inverted bits.
enum WriteCheck { kWriteUnchecked, kWriteVerified };

struct FrameToggle {
    StyleWord word;
    DWORD mask;      // the bits inverted
    DWORD testBits;  // the bits tested before anything is written
    Precondition precondition;
    WriteCheck writeCheck;
    FollowUp followUp;
};

static const DWORD kSizingBits = WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME;

static const FrameToggle kHideTitle = {kWindowStyleWord, WS_CAPTION,      WS_CAPTION,
                                       kProceedIfAnySet, kWriteUnchecked, kRedrawFrame};
static const FrameToggle kShowTitle = {kWindowStyleWord,  WS_CAPTION,      WS_CAPTION,
                                       kProceedIfNoneSet, kWriteUnchecked, kRedrawFrame};
static const FrameToggle kHideSizing = {kWindowStyleWord, kSizingBits,     WS_MAXIMIZEBOX,
                                        kProceedIfAnySet, kWriteUnchecked, kShowAndRaise};
static const FrameToggle kShowSizing = {kWindowStyleWord,  kSizingBits,     WS_MAXIMIZEBOX,
                                        kProceedIfNoneSet, kWriteUnchecked, kShowAndRaise};
static const FrameToggle kHideClose = {kClassStyleWord,   CS_NOCLOSE,     CS_NOCLOSE,
                                       kProceedIfNoneSet, kWriteVerified, kNoFollowUp};
static const FrameToggle kShowClose = {kClassStyleWord,  CS_NOCLOSE,     CS_NOCLOSE,
                                       kProceedIfAnySet, kWriteVerified, kNoFollowUp};
static const FrameToggle kHideMenu = {kWindowStyleWord, WS_SYSMENU,     WS_SYSMENU,
                                      kProceedIfAnySet, kWriteVerified, kRedrawFrame};
static const FrameToggle kShowMenu = {kWindowStyleWord,  WS_SYSMENU,     WS_SYSMENU,
                                      kProceedIfNoneSet, kWriteVerified, kRedrawFrame};

static int StyleIndex(StyleWord word)
{
    return word == kClassStyleWord ? GCL_STYLE : GWL_STYLE;
}

static DWORD ReadStyle(HWND window, int index)
{
    if (index == GCL_STYLE)
        return GetClassLongA(window, index);
    return (DWORD)GetWindowLongA(window, index);
}

static void WriteStyle(HWND window, int index, DWORD value)
{
    if (index == GCL_STYLE)
        SetClassLongA(window, index, (LONG)value);
    else
        SetWindowLongA(window, index, (LONG)value);
}

// Writes current with mask inverted. The Set functions answer the previous
// value, which is zero for a word that was zero, so a write is judged by
// reading the word back and finding the inverted bits in it.
static bool WriteInverted(HWND window, int index, DWORD current, DWORD mask, bool verify)
{
    DWORD inverted = current ^ mask;
    WriteStyle(window, index, inverted);
    if (!verify)
        return true;
    return (ReadStyle(window, index) & mask) == (inverted & mask);
}

static void InvertStyle(HWND window, int index, DWORD mask)
{
    WriteInverted(window, index, ReadStyle(window, index), mask, false);
}

// A changed frame style takes effect once the frame is recalculated. The
// outer rectangle stays; the client area follows the new frame.
static void RedrawFrame(HWND window)
{
    SetWindowPos(window, NULL, 0, 0, 0, 0, kFrameOnlyFlags);
}

// Shows the document if it is hidden, raises it and recalculates its frame,
// in one step, in whatever state it is: a maximized or minimized document
// stays so. Activating a document while another one is maximized makes the
// MDI client restore that one and maximize this one, and activating an icon
// takes the keyboard focus from the document in use and gives it to none.
// So the document is raised with the activation only when neither can
// happen; otherwise it goes directly beneath the maximized document, or to
// the top as an icon, and nothing is activated.
static void ShowAndRaise(const TargetWindows *target)
{
    HWND document = target->document;
    HWND insertAfter = HWND_TOP;
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW;
    HWND maximized = FindMaximizedDocument(target->mdiClient);
    if (maximized != NULL && maximized != document) {
        insertAfter = maximized;
        flags |= SWP_NOACTIVATE;
    } else if (IsIconic(document)) {
        flags |= SWP_NOACTIVATE;
    }
    SetWindowPos(document, insertAfter, 0, 0, 0, 0, flags);
}

static void MakeFollowUp(const TargetWindows *target, FollowUp followUp)
{
    switch (followUp) {
    case kShowAndRaise:
        ShowAndRaise(target);
        break;
    case kRedrawFrame:
        RedrawFrame(target->document);
        break;
    case kNoFollowUp:
        break;
    }
}

static void ToggleFrame(HostHandle parameter, HostHandle result, const FrameToggle *toggle)
{
    TargetWindows target;
    if (!ResolvePlainTarget(parameter, &target)) {
        SetResultFlag(result, false);
        return;
    }
    HWND document = target.document;
    int index = StyleIndex(toggle->word);
    DWORD word = ReadStyle(document, index);
    bool anySet = (word & toggle->testBits) != 0;
    if (anySet != (toggle->precondition == kProceedIfAnySet) ||
        !WriteInverted(document, index, word, toggle->mask, toggle->writeCheck == kWriteVerified)) {
        SetResultFlag(result, false);
        return;
    }
    MakeFollowUp(&target, toggle->followUp);
    SetResultFlag(result, true);
}

void DoHideWindowTitle(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kHideTitle);
}

void DoShowWindowTitle(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kShowTitle);
}

void DoHideWindowSizing(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kHideSizing);
}

void DoShowWindowSizing(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kShowSizing);
}

void DoHideWindowClose(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kHideClose);
}

void DoShowWindowClose(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kShowClose);
}

void DoHideWindowMenu(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kHideMenu);
}

void DoShowWindowMenu(HostHandle parameter, HostHandle result)
{
    ToggleFrame(parameter, result, &kShowMenu);
}

// A toggle without a test: the class's Close command, then the window's
// frame bits, then its extended frame bits; a second call restores all three.
void DoDialogWindow(HostHandle parameter, HostHandle result)
{
    TargetWindows target;
    if (!ResolvePlainTarget(parameter, &target)) {
        SetResultFlag(result, false);
        return;
    }
    HWND document = target.document;
    DWORD classStyle = ReadStyle(document, GCL_STYLE);
    if (!WriteInverted(document, GCL_STYLE, classStyle, CS_NOCLOSE, true)) {
        SetResultFlag(result, false);
        return;
    }
    InvertStyle(document, GWL_STYLE, kDialogWindowStyleMask);
    InvertStyle(document, GWL_EXSTYLE, kDialogExStyleMask);

    RedrawFrame(document);
    SetResultFlag(result, true);
}
