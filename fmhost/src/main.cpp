// fmhost: the stand-in host. Runs a script of host actions and plug-in calls
// from a file, or interactively from standard input.
#include "Platform.h"
#include "Script.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

void Usage(std::ostream &out)
{
    out << "usage: fmhost [--plugin PATH] [--snapshots DIR] [SCRIPT]\n"
           "Runs SCRIPT (or commands typed at the prompt) against the plug-in.\n"
           "Exit status: 0 when every line passed, 1 otherwise, 2 for bad arguments.\n\n";
    fmhost::PrintHelp(out);
}

}  // namespace

int main(int argc, char **argv)
{
    fmhost::ScriptOptions options;
    std::string script;
    bool help = false;
    // A second copy of the host, started by the "peer" command.
    if (argc == 4 && std::strcmp(argv[1], "--peer") == 0)
        return fmhost::RunAsPeerHost(argv[2], argv[3]);
    // A hung shell's task bar, started by the "hungshell" command.
    if (argc == 4 && std::strcmp(argv[1], "--hung-shell") == 0)
        return fmhost::RunAsHungShell(std::atoi(argv[2]), argv[3]);
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if ((arg == "--plugin" || arg == "--snapshots") && i + 1 < argc) {
            (arg == "--plugin" ? options.pluginPath : options.snapshotDir) = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "fmhost: unknown option " << arg << "\n";
            Usage(std::cerr);
            return 2;
        } else if (script.empty()) {
            script = arg;
        } else {
            std::cerr << "fmhost: one script at a time\n";
            return 2;
        }
    }
    if (help) {
        Usage(std::cout);
        // The functions come from the plug-in itself.
        std::istringstream names("names\n");
        return fmhost::RunScript(names, "--help", options, std::cout, std::cerr) == 0 ? 0 : 1;
    }
    int failures = 0;
    if (script.empty()) {
        // A person at a terminal gets a prompt and may go on after an error.
        options.interactive = isatty(0) != 0;
        failures = fmhost::RunScript(std::cin, "stdin", options, std::cout, std::cerr);
    } else {
        std::ifstream in(script);
        if (!in) {
            std::cerr << "fmhost: cannot open " << script << "\n";
            return 2;
        }
        failures = fmhost::RunScript(in, script, options, std::cout, std::cerr);
    }
    return failures == 0 ? 0 : 1;
}
