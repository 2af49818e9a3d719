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
