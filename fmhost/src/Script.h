// The stand-in host's script language: one command a line, words separated
// by blanks, "double quotes" around a word with blanks or "|" in it, "#"
// starting a comment. The commands are listed by `help`.
#ifndef FMHOST_SCRIPT_H
#define FMHOST_SCRIPT_H

#include <iosfwd>
#include <string>

namespace fmhost {

struct ScriptOptions {
    std::string pluginPath = "Loomvane.fmx";  // Windows only
    std::string snapshotDir = ".";
    bool interactive = false;  // show a prompt, keep going after errors
};

// Runs a script read from in; commands and results go to out, errors to err
// as "source:line: message". Answers the number of failed lines.
int RunScript(std::istream &in, const std::string &source, const ScriptOptions &options,
              std::ostream &out, std::ostream &err);

void PrintHelp(std::ostream &out);

}  // namespace fmhost

#endif
