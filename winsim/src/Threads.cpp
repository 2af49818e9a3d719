// Threads other than the caller's: the windows made on them, and threads that
// answer no message until they wake, as a hung program's. A synchronous call
// on such a thread's window waits until it has woken; the ShowWindowAsync
// requests it was left are carried out when it wakes.
#include "Internal.h"

#include <algorithm>

namespace winsim {
namespace detail {

void WaitForThreadOf(HWND window)
{
    Window *w = Find(window);
    if (w != nullptr && w->thread != winsim::kOwnThread)
        WakeCore(w->thread);
}

void WakeCore(DWORD thread)
{
    State &s = S();
    auto hung = std::find(s.hungThreads.begin(), s.hungThreads.end(), thread);
    if (hung == s.hungThreads.end())
        return;
    s.hungThreads.erase(hung);
    // The requests the thread was left, in the order they came.
    std::vector<std::pair<HWND, int>> mine;
    auto &pending = s.pendingShows;
    for (auto it = pending.begin(); it != pending.end();) {
        Window *w = Find(it->first);
        if (w == nullptr || w->thread == thread) {
            if (w != nullptr)
                mine.push_back(*it);
            it = pending.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto &request : mine)
        ShowCore(request.first, request.second);
}

}  // namespace detail

using namespace detail;

// GCOVR_EXCL_START: the control side
void HangThread(DWORD thread)
{
    if (!ThreadHung(thread))
        S().hungThreads.push_back(thread);
}

void WakeThread(DWORD thread)
{
    WakeCore(thread);
}

bool ThreadHung(DWORD thread)
{
    const std::vector<DWORD> &hung = S().hungThreads;
    return std::find(hung.begin(), hung.end(), thread) != hung.end();
}

OtherThread::OtherThread(DWORD process, DWORD thread)
    : process_(S().makingProcess), thread_(S().makingThread)
{
    S().makingProcess = process;
    S().makingThread = thread;
}

OtherThread::~OtherThread()
{
    S().makingProcess = process_;
    S().makingThread = thread_;
}
// GCOVR_EXCL_STOP

}  // namespace winsim
