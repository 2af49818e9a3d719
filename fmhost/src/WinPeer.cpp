// A second copy of the host on Windows: this program started again as a
// process of its own, which makes the copy's windows and handles their
// messages until it is closed.
#include "PlatformWin.h"

#include <string>
#include <vector>

namespace fmhost {

HWND FindWindowOfProcess(const char *className, const char *title, DWORD processId)
{
    HWND window = NULL;
    while ((window = FindWindowExA(NULL, window, className, title)) != NULL) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return NULL;
}

std::string StartSelf(const std::string &arguments, PROCESS_INFORMATION *process)
{
    char self[MAX_PATH];
    GetModuleFileNameA(NULL, self, sizeof self);
    std::string command = "\"" + std::string(self) + "\" " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, NULL, &startup, process))
        return "CreateProcess failed with error " + std::to_string(GetLastError());
    return std::string();
}

namespace {

struct PeerProcess {
    PROCESS_INFORMATION process;
    HWND app;
};
std::vector<PeerProcess> gPeers;

}  // namespace

std::string StartPeerHost(const std::string &appClass, const std::string &documentTitle,
                          HostWindows *windows)
{
    PeerProcess peer = {};
    std::string failed =
        StartSelf("--peer \"" + appClass + "\" \"" + documentTitle + "\"", &peer.process);
    if (!failed.empty())
        return failed;
    // Ten seconds for the peer to make its windows, the document last.
    HWND mdiClient = NULL;
    HWND document = NULL;
    for (int wait = 0; wait < 200 && document == NULL; ++wait) {
        Pump();
        // Of the class, titled "Peer host", in the peer's process.
        peer.app = FindWindowOfProcess(appClass.c_str(), "Peer host", peer.process.dwProcessId);
        mdiClient = peer.app ? FindWindowExA(peer.app, NULL, "MDIClient", NULL) : NULL;
        document = mdiClient ? FindWindowExA(mdiClient, NULL, NULL, documentTitle.c_str()) : NULL;
    }
    gPeers.push_back(peer);
    if (document == NULL)
        return "the peer host made no document window";
    windows->app = peer.app;
    windows->mdiClient = mdiClient;
    windows->menu = GetMenu(peer.app);
    return std::string();
}

void StopPeerHosts()
{
    StopHungShell();
    for (PeerProcess &peer : gPeers) {
        if (peer.app != NULL)
            PostMessageA(peer.app, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(peer.process.hProcess, 5000) != WAIT_OBJECT_0)
            TerminateProcess(peer.process.hProcess, 1);
        CloseHandle(peer.process.hThread);
        CloseHandle(peer.process.hProcess);
    }
    gPeers.clear();
}

int RunAsPeerHost(const std::string &appClass, const std::string &documentTitle)
{
    BuiltDesktop desktop;
    if (!BuildDesktop(GetModuleHandleA(NULL), PeerDesktop(appClass, documentTitle), &desktop)
             .empty())
        return 1;
    HandleMessagesWhile(desktop.hosts.front().app);
    return 0;
}

}  // namespace fmhost
