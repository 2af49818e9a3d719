// The script language's commands, as members of the one runner that holds
// what they share: the plug-in and its session, the windows the script has
// named, the last answer and the last dialog. The commands are defined in
// RunnerCommands.cpp, the checks in RunnerChecks.cpp.
#ifndef FMHOST_RUNNER_H
#define FMHOST_RUNNER_H

#include "HostSession.h"
#include "HostWindows.h"
#include "Platform.h"
#include "Script.h"
#include "ScriptText.h"

#include <map>
#include <memory>
#include <ostream>
#include <string>

namespace fmhost {

class Runner {
public:
    Runner(const ScriptOptions &options, std::ostream &out) : options_(options), out_(out)
    {
        PrepareDesktop();
    }

    ~Runner()
    {
        StopPeerHosts();
        session_.reset();
        UnloadPlugin(&module_);
    }

    void Execute(const Words &words);

private:
    // The commands and checks, with their help (Commands.cpp).
    struct Command;
    static const Command kCommands[];
    static const Command *FindCommand(const std::string &word);
    friend void PrintHelp(std::ostream &out);

    // ---- The plug-in ----

    HostSession &Session();
    void Startup(const Words &words);
    void Shutdown(const Words &);
    uint32_t FunctionId(const std::string &name);
    void CallFunction(const Words &words);
    // trace on [native=skip] | trace off: while on, each call and the
    // message pump after it are traced; "check messages" reads the last.
    void Trace(const Words &words);
    // collateral STATE... [front=NAME] (Collateral.cpp): every function
    // against the shortest Win32 sequence of the same result.
    void Collateral(const Words &words);
    void ExpectInline(const Options &options, size_t at);
    void Compare(const std::string &expected);

    // ---- Windows ----

    HWND Window(const std::string &name);
    void Bind(const std::string &name, HWND window);
    void App(const Words &words);
    void Doc(const Words &words);
    void Find(const Words &words);

    // A second copy of the host in a process of its own, with the same
    // window class and a document of the title (NAME, NAME.mdi, NAME.doc).
    void Peer(const Words &words);

    // The keyboard focus to the window, which activates its top-level window.
    void Focus(const Words &words);
    // As the system does when the user clicks a window: it comes to the
    // front, then it is made the foreground window. (Wine without a window
    // manager activates without bringing to the front.)
    void Activate(const Words &words);
    // A click of the mouse: in the middle of the window, or at a point of
    // the screen.
    void Click(const Words &words);
    // display N WIDTHxHEIGHT: monitor N (1 is the primary) changes its
    // resolution while the host runs.
    void Display(const Words &words);
    // A task bar of the shell on a thread that answers nothing for a while,
    // as a hung shell's; then it wakes and carries out what it was sent.
    void HungShell(const Words &words);
    void WaitShell(const Words &);
    // maximize|minimize|restore NAME: ShowWindow with SW_MAXIMIZE, SW_MINIMIZE
    // or SW_RESTORE, as the user does with the window's buttons.
    void WindowState(const Words &words);
    // menu NAME new|none: the host gives the window a new menu bar of two
    // items (which "check menu NAME new" then finds), or takes its menu bar off.
    void Menu(const Words &words);
    void Destroy(const Words &words);

    // ---- Cursor, task bar, registry ----

    void Cursor(const Words &words);
    void TaskBar(const Words &words);
    void StartButton(const Words &words);
    void SecondaryBar(const Words &words);

    // The ANSI code page: the stand-in's desktop is given it; on Windows the
    // process must run with it.
    void CodePage(const Words &words);

    // monitors L,T,R,B ...: the primary monitor first. The stand-in's desktop
    // is given them; on Windows the display must have them.
    void Monitors(const Words &words);

    void Registry(const Words &words);

    // ---- Preferences ----

    void Prefs(const Words &words);

    // ---- Pictures and the rest ----

    void SnapshotCommand(const Words &words);

    // A bare file name goes to the pictures folder.
    std::string SnapshotPath(const std::string &file) const;
    void Echo(const Words &words);
    void Names(const Words &);

    // Both load the module themselves, so that they find it as it loads.
    void Bench(const Words &words);
    void Soak(const Words &words);
    void Help(const Words &);

    // ---- Checks (RunnerChecks.cpp), by the word after "check" ----

    void Check(const Words &words);
    // The window the check names; it must still exist.
    HWND ExistingWindow(const Words &words);
    void CheckWord(const Words &words, DWORD actual);
    void CheckFlag(const std::string &what, const std::string &name, bool actual,
                   const std::string &expected);
    // The script's name for a window, or its handle.
    std::string HandleName(HWND window) const;
    // The value's bytes. The plug-in stores REG_SZ text without a
    // terminator; Wine hands such a value back with one added and counted in
    // the size, so one trailing zero byte is not counted here.
    static std::string ReadPrefs();
    void CheckCursor(const Words &words);
    void CheckRegistry(const Words &words);
    void CheckDialog(const Words &words);
    void CheckSame(const Words &words);
    void CheckActive(const Words &words);
    void CheckAwake(const Words &words);
    void CheckExists(const Words &words);
    void CheckRect(const Words &words);
    void CheckStyle(const Words &words);
    void CheckVisible(const Words &words);
    void CheckText(const Words &words);
    void CheckMenu(const Words &words);
    // check menuitems NAME COUNT [buttons=DOC]: the menu bar's item count,
    // and the buttons a maximized document leaves in it (its window menu
    // first, close last): DOC's, or none without the option.
    void CheckMenuItems(const Words &words);
    // check messages NAME KIND COUNT: what the window received in the last
    // traced call (Trace.h names the kinds).
    void CheckMessages(const Words &words);
    void CheckAbove(const Words &words);
    void CheckTop(const Words &words);

    ScriptOptions options_;
    std::ostream &out_;
    PluginModule module_;
    std::unique_ptr<HostSession> session_;
    int generation_ = 5;
    std::map<std::string, HWND> windows_;
    std::map<std::string, HostWindows> hosts_;
    std::map<std::string, HMENU> newMenus_;  // by the "menu" command, by window name
    std::string last_;
    DialogReport dialog_;
    enum { kTraceOff, kTraceOn, kTraceSkipped } trace_ = kTraceOff;
    std::map<HWND, WindowMessages> traced_;
};

}  // namespace fmhost

#endif
