// The script interpreter of the stand-in host. It plays the host: it builds
// the host's windows, loads and starts the plug-in, calls its functions by
// name and checks what they did to the windows, the cursor and the registry.
// This file reads the lines and hands them to the runner; the words are read
// in ScriptText.cpp, the commands carried out in RunnerCommands.cpp and
// RunnerChecks.cpp.
#include "Script.h"

#include "Runner.h"

#include <iostream>
#include <memory>

namespace fmhost {

void PrintHelp(std::ostream &out)
{
    out << "Commands (one a line; \"quotes\" around words with blanks or |, in which \\xHH is\n"
           "any byte; ${platform} is the module's platform, x86 or x64; # comments):\n"
           "  load [PATH]                  load the plug-in (done on first need)\n"
           "  unload                       unload it\n"
           "  startup [VERSION] [expect R] start-up message (default version 33; 12 = generation "
           "3)\n"
           "  shutdown | idle              shut-down or idle message\n"
           "  message CODE [RESULT]        any message code, result preset to RESULT\n"
           "  app NAME [class=C] [at=X,Y,W,H] [toolbar=H] [menu=no] [title=T]\n"
           "                               the host's application window with toolbar and MDI\n"
           "                               client (NAME.mdi, NAME.toolbar)\n"
           "  doc NAME TITLE [at=X,Y,W,H] [in=APP] [style=S] [exstyle=E] [class=C]\n"
           "                               a document window, placed in the MDI client\n"
           "  find NAME class=C [title=T]  name a top-level window\n"
           "  destroy NAME | set NAME style|exstyle|classstyle VALUE\n"
           "  call FUNCTION [PARAM] [expect RESULT]   call a plug-in function by name (#id too)\n"
           "  expect RESULT                the last answer must be RESULT\n"
           "  trace on [native=skip] | trace off   count what the host's named windows get\n"
           "                               in each call and the pump after it (the stand-in\n"
           "                               counts none: native=skip skips the checks there)\n"
           "  check messages NAME KIND N   in the last traced call; KIND: a name (size, paint,\n"
           "                               nccalcsize, ncpaint, windowposchanging, ...; 0xID\n"
           "                               for one without), all, size:TYPE, size:!TYPE (any\n"
           "                               other: restored|minimized|maximized), size:WxH\n"
           "  collateral STATE... [front=NAME]   each function from each state, on a desktop\n"
           "                               of its own: what it changed beyond what it may; on\n"
           "                               Windows also against the shortest Win32 sequence\n"
           "                               on a twin, result and messages. States: restored,\n"
           "                               other-maximized, maximized, minimized, hidden,\n"
           "                               inactive (NAME in front); for the menu bar's show\n"
           "                               maximized-since and restored-since (the target)\n"
           "  check rect NAME L T R B      outer rectangle in the parent's client area\n"
           "  check size NAME W H | check style|exstyle|classstyle NAME VALUE [mask=M]\n"
           "  check visible|enabled NAME 0|1 | check title|class NAME TEXT\n"
           "  check menu NAME none|present|original|new | check exists NAME 0|1 | check top NAME\n"
           "  check menuitems NAME COUNT [buttons=DOC]   the menu bar's items; a maximized\n"
           "                               document's buttons in it (none without buttons=)\n"
           "  check zoomed|iconic NAME 0|1 maximized, minimized\n"
           "  check same NAME OTHER        both names name one window\n"
           "  check above NAME OTHER       OTHER is directly above NAME in the Z order\n"
           "  check active|focus|foreground [!]NAME   the thread's active window, the keyboard\n"
           "                               focus, the foreground window (!: any but NAME)\n"
           "  check cursor N | check registry TEXT | check dialog open|ended|layout|text TEXT\n"
           "  cursor N                     set the cursor display counter\n"
           "  taskbar [NAME]               name the task bar window (made if missing)\n"
           "  startbutton [NAME] | secondarybar [NAME]   a Start button on the task bar's\n"
           "                               thread, a task bar of a further monitor\n"
           "  monitors L,T,R,B ...         the monitors, primary first (Windows: must match)\n"
           "  peer NAME [class=C] [doc=T]  a second host process (NAME, NAME.mdi, NAME.doc)\n"
           "  codepage 1252|932            the ANSI code page (Windows: must be the process's)\n"
           "  focus NAME                   give the window the keyboard focus\n"
           "  activate NAME                to the front, then the foreground window, as a click\n"
           "                               makes it on Windows\n"
           "  click NAME [at=X,Y]          a mouse click in the window (its middle, or X,Y)\n"
           "  display N WIDTHxHEIGHT       monitor N (1: the primary) changes its resolution\n"
           "  hungshell NAME [sleep=MS]    a task bar on a thread that answers nothing for MS\n"
           "  waitshell                    until the hung shell woke and did what it was asked\n"
           "  check awake shell 0|1        whether the hung shell has woken\n"
           "  maximize|minimize|restore NAME   as the window's buttons do\n"
           "  menu NAME new|none           the host gives the window a new menu bar, or none\n"
           "  registry clear|key-only|locked|set TEXT   the plug-in's settings key (locked:\n"
           "                               it grants reading and writing values only)\n"
           "  prefs [type=TEXT] [keys=TEXT] [ok] [cancel] [close] [command=W] [picture=FILE]\n"
           "                                        preferences dialog\n"
           "  snapshot FILE                picture of the screen (BMP; on Windows only)\n"
           "  bench [ITERATIONS]           time functions through the plug-in against the Win32\n"
           "                               calls they make, or the shortest sequence of the same\n"
           "                               result, and count their messages (loads and starts it\n"
           "                               itself)\n"
           "  soak CYCLES [CALLS] [seed=N] load, start, call at random, shut down, unload, again;\n"
           "                               checks answers, unloading and user objects\n"
           "  pump | echo TEXT | names | help\n";
}

int RunScript(std::istream &in, const std::string &source, const ScriptOptions &options,
              std::ostream &out, std::ostream &err)
{
    int failures = 0;
    std::unique_ptr<Runner> runner;
    try {
        runner = std::make_unique<Runner>(options, out);
    } catch (const std::exception &e) {
        err << source << ": " << e.what() << "\n";
        return 1;
    }
    std::string line;
    int number = 0;
    if (options.interactive)
        out << "fmhost> " << std::flush;
    while (std::getline(in, line)) {
        ++number;
        try {
            Words words = Tokenize(line);
            if (!words.empty()) {
                if (words[0] == "quit" || words[0] == "exit")
                    break;
                runner->Execute(words);
            }
        } catch (const std::exception &e) {
            err << source << ":" << number << ": " << e.what() << "\n";
            ++failures;
            if (!options.interactive)
                break;
        }
        if (options.interactive)
            out << "fmhost> " << std::flush;
    }
    return failures;
}

}  // namespace fmhost
