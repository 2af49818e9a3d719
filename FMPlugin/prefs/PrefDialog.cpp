// The preferences dialog: shows the stored preference text and accepts an
// edited one only when it holds a "#". An accepted text is kept in the state
// record and written to the registry.
#include "LoomvaneRes.h"
#include "Plugin.h"

enum { kLongestEditedText = 20 };

static bool HasMark(const char *text, UINT length)
{
    for (UINT i = 0; i < length; ++i)
        if (text[i] == '#')
            return true;
    return false;
}

static void ShowStoredText(HWND dialog)
{
    SetDlgItemTextA(dialog, IDC_PREF_TEXT, gPluginState.prefText);
    SetFocus(GetDlgItem(dialog, IDC_PREF_TEXT));
}

static void ConfirmPrefText(HWND dialog)
{
    char text[kLongestEditedText + 1];
    UINT length = GetDlgItemTextA(dialog, IDC_PREF_TEXT, text, sizeof text);
    if (length < 1 || length > kLongestEditedText || !HasMark(text, length)) {
        MessageBeep(0);
        ShowStoredText(dialog);
        return;
    }
    CopyBytes(text, gPluginState.prefText, length);
    gPluginState.prefText[length] = '\0';
    // A registry failure is not reported: the text stays in the state record.
    StorePrefText(text, length);
    EndDialog(dialog, 1);
}

INT_PTR CALLBACK prefProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    switch (message) {
    case WM_INITDIALOG:
        SetFocus(GetDlgItem(dialog, IDC_PREF_TEXT));
        SetDlgItemTextA(dialog, IDC_PREF_TEXT, gPluginState.prefText);
        // The user cannot type more than can be stored, instead of seeing a
        // longer text cut short on OK.
        SendDlgItemMessageA(dialog, IDC_PREF_TEXT, EM_LIMITTEXT, kLongestEditedText, 0);
        return FALSE;  // the focus is already set
    case WM_CLOSE:
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return FALSE;
    case WM_COMMAND:
        // The whole wParam is compared: a notification code in the high half
        // (an accelerator, say) is neither OK nor Cancel.
        if (wParam == IDCANCEL) {
            EndDialog(dialog, 0);
            return TRUE;
        }
        if (wParam == IDOK) {
            ConfirmPrefText(dialog);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void OpenPreferences(void)
{
    HWND owner = GetActiveWindow();
    DialogBoxParamA(gFMExternCallPtr->instanceID, MAKEINTRESOURCEA(IDD_PREFERENCES), owner,
                    prefProc, 0);
}
