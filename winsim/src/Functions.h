// Every Win32 function the stand-in provides and logs, by name: the call log
// and fault injection know a function by its place in this list, so a name
// that is not on it is refused where a test asks for it.
#ifndef WINSIM_SRC_FUNCTIONS_H
#define WINSIM_SRC_FUNCTIONS_H

// clang-format off
#define WINSIM_FUNCTIONS(X) \
    X(AdjustWindowRectEx) \
    X(AppendMenuA) \
    X(BringWindowToTop) \
    X(ClientToScreen) \
    X(CreateMenu) \
    X(CreateWindowExA) \
    X(DefFrameProcA) \
    X(DefMDIChildProcA) \
    X(DefWindowProcA) \
    X(DeleteMenu) \
    X(DeleteObject) \
    X(DestroyMenu) \
    X(DestroyWindow) \
    X(DialogBoxParamA) \
    X(DispatchMessageA) \
    X(EnableWindow) \
    X(EndDialog) \
    X(FindWindowA) \
    X(FindWindowExA) \
    X(GetActiveWindow) \
    X(GetAncestor) \
    X(GetClassLongA) \
    X(GetClassNameA) \
    X(GetClientRect) \
    X(GetDlgItem) \
    X(GetDlgItemTextA) \
    X(GetFocus) \
    X(GetForegroundWindow) \
    X(GetMenu) \
    X(GetMenuItemCount) \
    X(GetMenuItemID) \
    X(GetMenuItemInfoA) \
    X(GetObjectType) \
    X(GetParent) \
    X(GetSubMenu) \
    X(GetSystemMenu) \
    X(GetSystemMetrics) \
    X(GetWindow) \
    X(GetWindowLongA) \
    X(GetWindowRect) \
    X(GetWindowTextA) \
    X(GetWindowThreadProcessId) \
    X(IsDBCSLeadByte) \
    X(IsIconic) \
    X(IsMenu) \
    X(IsWindow) \
    X(IsWindowEnabled) \
    X(IsWindowVisible) \
    X(IsZoomed) \
    X(MapWindowPoints) \
    X(MessageBeep) \
    X(MoveWindow) \
    X(PeekMessageA) \
    X(PostMessageA) \
    X(RegCloseKey) \
    X(RegCreateKeyExA) \
    X(RegDeleteKeyA) \
    X(RegDeleteValueA) \
    X(RegOpenKeyExA) \
    X(RegQueryValueExA) \
    X(RegSetValueExA) \
    X(RegisterClassA) \
    X(RemoveMenu) \
    X(ScreenToClient) \
    X(SendDlgItemMessageA) \
    X(SendMessageA) \
    X(SetActiveWindow) \
    X(SetClassLongA) \
    X(SetDlgItemTextA) \
    X(SetFocus) \
    X(SetForegroundWindow) \
    X(SetMenu) \
    X(SetWindowLongA) \
    X(SetWindowLongPtrA) \
    X(SetWindowPos) \
    X(SetWindowTextA) \
    X(ShowCursor) \
    X(ShowWindow) \
    X(ShowWindowAsync) \
    X(TranslateMessage) \
    X(UnregisterClassA) \
    X(UpdateWindow) \
    X(lstrcpyA) \
    X(lstrlenA)
// clang-format on

namespace winsim {
namespace detail {

enum class Fn {
#define WINSIM_FUNCTION_ID(name) name,
    WINSIM_FUNCTIONS(WINSIM_FUNCTION_ID)
#undef WINSIM_FUNCTION_ID
};

const char *FunctionName(Fn function);

}  // namespace detail
}  // namespace winsim

#endif
