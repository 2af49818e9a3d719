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
    kNudgeSize,     // re-lay the frame by making the window 1 pixel wider and back
    kShowAndRaise,  // show as it is without activating, bring to the top, redraw the frame
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
                                       kProceedIfAnySet, kWriteUnchecked, kNudgeSize};
static const FrameToggle kShowTitle = {kWindowStyleWord,  WS_CAPTION,      WS_CAPTION,
                                       kProceedIfNoneSet, kWriteUnchecked, kNudgeSize};
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

// Makes the window one pixel wider and gives it back its width, so that the
// window manager lays out the new frame; the height never changes.
static void NudgeWindowSize(HWND window)
{
    RECT rect;
    if (!GetWindowRect(window, &rect))
        return;
    LONG width = rect.right - rect.left;
    LONG height = rect.bottom - rect.top;
    SetWindowPos(window, HWND_NOTOPMOST, rect.left, rect.top, width + 1, height, kSizeOnlyFlags);
    SetWindowPos(window, HWND_NOTOPMOST, rect.left, rect.top, width, height, kSizeOnlyFlags);
}

static void RedrawFrame(HWND window)
{
    SetWindowPos(window, NULL, 0, 0, 0, 0, kFrameOnlyFlags);
}

static void MakeFollowUp(HWND window, FollowUp followUp)
{
    switch (followUp) {
    case kNudgeSize:
        NudgeWindowSize(window);
        break;
    case kShowAndRaise:
        // SW_SHOWNA shows a hidden window in its current state: a maximized
        // or minimized document stays so. SW_SHOWNOACTIVATE would restore it.
        ShowWindow(window, SW_SHOWNA);
        BringWindowToTop(window);
        // A changed frame style takes effect only once the frame is
        // recalculated; showing and raising the window does not do it.
        RedrawFrame(window);
        break;
    case kRedrawFrame:
        RedrawFrame(window);
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
    MakeFollowUp(document, toggle->followUp);
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

    // Re-apply the current size; only the size takes effect under these flags.
    RECT rect;
    if (GetWindowRect(document, &rect)) {
        LONG width = rect.right - rect.left;
        LONG height = rect.bottom - rect.top;
        MapWindowPoints(NULL, target.application, (LPPOINT)&rect, 2);
        SetWindowPos(document, HWND_NOTOPMOST, rect.left, rect.top, width, height, kSizeOnlyFlags);
    }
    RedrawFrame(document);
    SetResultFlag(result, true);
}
