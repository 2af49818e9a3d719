// The message trace on Windows: each of the host's windows given a window
// procedure that counts what it receives, by kind, and hands it on.
#include "PlatformWin.h"

#include <vector>

namespace fmhost {

namespace {

struct TracedWindow {
    HWND window;
    WNDPROC own;
    WindowMessages messages;
};
std::vector<TracedWindow> gTraced;

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (TracedWindow &traced : gTraced) {
        if (traced.window != window)
            continue;
        ++traced.messages.counts[message];
        if (message == WM_SIZE)
            traced.messages.sizes.emplace_back(wParam, lParam);
        return CallWindowProcA(traced.own, window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

bool StartTrace(const std::vector<HWND> &windows)
{
    gTraced.clear();
    for (HWND window : windows)
        gTraced.push_back({window, NULL, {}});
    // Setting a window procedure sends no message.
    for (TracedWindow &traced : gTraced)
        traced.own = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
            traced.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingProc)));
    return true;
}

std::vector<WindowMessages> StopTrace()
{
    std::vector<WindowMessages> counted;
    for (TracedWindow &traced : gTraced) {
        if (IsWindow(traced.window))
            SetWindowLongPtrA(traced.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(traced.own));
        counted.push_back(traced.messages);
    }
    gTraced.clear();
    return counted;
}

}  // namespace fmhost
