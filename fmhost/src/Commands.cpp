// The script language's words: one table of the commands and the checks,
// each with its help, from which both the runner and `help` take them.
#include "Runner.h"

#include <cstring>

namespace fmhost {

// One entry a word; a check goes by "check WORD". Its help is what `help`
// prints for it, a line or more; an entry without help is another word of
// the one before it, which its help names too.
struct Runner::Command {
    const char *word;
    void (Runner::*run)(const Words &);
    const char *help;
};

const Runner::Command Runner::kCommands[] = {
    {"startup", &Runner::Startup,
     "startup [VERSION] [expect R] start-up message (default version 33; 12 = generation 3)"},
    {"shutdown", &Runner::Shutdown, "shutdown                     shut-down message"},
    {"app", &Runner::App,
     "app NAME [class=C] [at=X,Y,W,H] [toolbar=H] [menu=no] [title=T]\n"
     "                             the host's application window with toolbar and MDI\n"
     "                             client (NAME.mdi, NAME.toolbar)"},
    {"doc", &Runner::Doc,
     "doc NAME TITLE [at=X,Y,W,H] [in=APP] [style=S] [exstyle=E] [class=C]\n"
     "                             a document window, placed in the MDI client"},
    {"find", &Runner::Find, "find NAME class=C [title=T]  name a top-level window"},
    {"destroy", &Runner::Destroy, "destroy NAME                 destroy the window"},
    {"call", &Runner::CallFunction,
     "call FUNCTION [PARAM] [expect RESULT]   call a plug-in function by name (#id too)"},
    {"trace", &Runner::Trace,
     "trace on [native=skip] | trace off   count what the host's named windows get\n"
     "                             in each call and the pump after it (the stand-in\n"
     "                             counts none: native=skip skips the checks there)"},
    {"check messages", &Runner::CheckMessages,
     "check messages NAME KIND N   in the last traced call; KIND: a name (size, paint,\n"
     "                             nccalcsize, ncpaint, windowposchanging, ...; 0xID\n"
     "                             for one without), all, size:TYPE, size:!TYPE (any\n"
     "                             other: restored|minimized|maximized), size:WxH"},
    {"collateral", &Runner::Collateral,
     "collateral STATE... [front=NAME]   each function from each state, on a desktop\n"
     "                             of its own: what it changed beyond what it may; on\n"
     "                             Windows also against the shortest Win32 sequence\n"
     "                             on a twin, result and messages. States: restored,\n"
     "                             other-maximized, maximized, minimized, hidden,\n"
     "                             inactive (NAME in front); for the menu bar's show\n"
     "                             maximized-since and restored-since (the target)"},
    {"check rect", &Runner::CheckRect,
     "check rect NAME L T R B      outer rectangle in the parent's client area"},
    {"check style", &Runner::CheckStyle, "check style|exstyle|classstyle NAME VALUE [mask=M]"},
    {"check exstyle", &Runner::CheckStyle, nullptr},
    {"check classstyle", &Runner::CheckStyle, nullptr},
    {"check visible", &Runner::CheckVisible,
     "check visible|enabled NAME 0|1 | check title|class NAME TEXT"},
    {"check enabled", &Runner::CheckVisible, nullptr},
    {"check title", &Runner::CheckText, nullptr},
    {"check class", &Runner::CheckText, nullptr},
    {"check menu", &Runner::CheckMenu,
     "check menu NAME none|present|original|new | check exists NAME 0|1 | check top NAME"},
    {"check exists", &Runner::CheckExists, nullptr},
    {"check top", &Runner::CheckTop, nullptr},
    {"check menuitems", &Runner::CheckMenuItems,
     "check menuitems NAME COUNT [buttons=DOC]   the menu bar's items; a maximized\n"
     "                             document's buttons in it (none without buttons=)"},
    {"check zoomed", &Runner::CheckVisible, "check zoomed|iconic NAME 0|1 maximized, minimized"},
    {"check iconic", &Runner::CheckVisible, nullptr},
    {"check same", &Runner::CheckSame, "check same NAME OTHER        both names name one window"},
    {"check above", &Runner::CheckAbove,
     "check above NAME OTHER       OTHER is directly above NAME in the Z order"},
    {"check active", &Runner::CheckActive,
     "check active|focus|foreground [!]NAME   the thread's active window, the keyboard\n"
     "                             focus, the foreground window (!: any but NAME)"},
    {"check focus", &Runner::CheckActive, nullptr},
    {"check foreground", &Runner::CheckActive, nullptr},
    {"check cursor", &Runner::CheckCursor,
     "check cursor N | check registry TEXT | check dialog open|ended|layout|text TEXT"},
    {"check registry", &Runner::CheckRegistry, nullptr},
    {"check dialog", &Runner::CheckDialog, nullptr},
    {"cursor", &Runner::Cursor, "cursor N                     set the cursor display counter"},
    {"taskbar", &Runner::TaskBar,
     "taskbar [NAME]               name the task bar window (made if missing)"},
    {"startbutton", &Runner::StartButton,
     "startbutton [NAME] | secondarybar [NAME]   a Start button on the task bar's\n"
     "                             thread, a task bar of a further monitor"},
    {"secondarybar", &Runner::SecondaryBar, nullptr},
    {"monitors", &Runner::Monitors,
     "monitors L,T,R,B ...         the monitors, primary first (Windows: must match)"},
    {"peer", &Runner::Peer,
     "peer NAME [class=C] [doc=T]  a second host process (NAME, NAME.mdi, NAME.doc)"},
    {"codepage", &Runner::CodePage,
     "codepage 1252|932            the ANSI code page (Windows: must be the process's)"},
    {"focus", &Runner::Focus, "focus NAME                   give the window the keyboard focus"},
    {"activate", &Runner::Activate,
     "activate NAME                to the front, then the foreground window, as a click\n"
     "                             makes it on Windows"},
    {"click", &Runner::Click,
     "click NAME [at=X,Y]          a mouse click in the window (its middle, or X,Y)"},
    {"display", &Runner::Display,
     "display N WIDTHxHEIGHT       monitor N (1: the primary) changes its resolution"},
    {"hungshell", &Runner::HungShell,
     "hungshell NAME [sleep=MS]    a task bar on a thread that answers nothing for MS"},
    {"waitshell", &Runner::WaitShell,
     "waitshell                    until the hung shell woke and did what it was asked"},
    {"check awake", &Runner::CheckAwake,
     "check awake shell 0|1        whether the hung shell has woken"},
    {"maximize", &Runner::WindowState,
     "maximize|minimize|restore NAME   as the window's buttons do"},
    {"minimize", &Runner::WindowState, nullptr},
    {"restore", &Runner::WindowState, nullptr},
    {"menu", &Runner::Menu,
     "menu NAME new|none           the host gives the window a new menu bar, or none"},
    {"registry", &Runner::Registry,
     "registry clear|key-only|locked|set TEXT   the plug-in's settings key (locked:\n"
     "                             it grants reading and writing values only)"},
    {"prefs", &Runner::Prefs,
     "prefs [type=TEXT] [keys=TEXT] [ok] [cancel] [close] [command=W] [picture=FILE]\n"
     "                                      preferences dialog"},
    {"snapshot", &Runner::SnapshotCommand,
     "snapshot FILE                picture of the screen (BMP; on Windows only)"},
    {"bench", &Runner::Bench,
     "bench [ITERATIONS]           time functions through the plug-in against the Win32\n"
     "                             calls they make, or the shortest sequence of the same\n"
     "                             result, and count their messages (loads and starts it\n"
     "                             itself)"},
    {"soak", &Runner::Soak,
     "soak CYCLES [CALLS] [seed=N] load, start, call at random, shut down, unload, again;\n"
     "                             checks answers, unloading and user objects"},
    {"echo", &Runner::Echo, "echo TEXT | names | help"},
    {"names", &Runner::Names, nullptr},
    {"help", &Runner::Help, nullptr},
    {"check", &Runner::Check, nullptr},
};

const Runner::Command *Runner::FindCommand(const std::string &word)
{
    for (const Command &command : kCommands)
        if (word == command.word)
            return &command;
    return nullptr;
}

void PrintHelp(std::ostream &out)
{
    out << "Commands (one a line; \"quotes\" around words with blanks or |, in which \\xHH is\n"
           "any byte; ${platform} is the module's platform, x86 or x64; # comments):\n";
    for (const Runner::Command &command : Runner::kCommands) {
        for (const char *line = command.help; line != nullptr && *line != '\0';) {
            const char *end = std::strchr(line, '\n');
            size_t length = end != nullptr ? static_cast<size_t>(end - line) : std::strlen(line);
            out << "  " << std::string(line, length) << "\n";
            line = end != nullptr ? end + 1 : nullptr;
        }
    }
}

void Runner::Execute(const Words &words)
{
    const Command *command = FindCommand(words[0]);
    if (command == nullptr || words[0].find(' ') != std::string::npos)
        throw ScriptError("unknown command '" + words[0] + "' (try 'help')");
    (this->*(command->run))(words);
}

void Runner::Check(const Words &words)
{
    if (words.size() < 3)
        throw ScriptError("check WHAT ... (try 'help')");
    const Command *check = FindCommand("check " + words[1]);
    if (check == nullptr)
        throw ScriptError("unknown check '" + words[1] + "' (try 'help')");
    (this->*(check->run))(words);
}

}  // namespace fmhost
