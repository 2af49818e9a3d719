// The soak: the plug-in loaded, started, called at random, shut down and
// unloaded again and again, with every answer, every unload and the
// process's user objects checked.
#ifndef FMHOST_SOAK_H
#define FMHOST_SOAK_H

#include <iosfwd>
#include <string>
#include <vector>

namespace fmhost {

// The `soak CYCLES [CALLS] [seed=N]` command. It builds a desktop of its own
// (two application windows, five document windows, a task bar), counts the
// process's user objects, then runs CYCLES cycles of: load the module,
// start-up, CALLS calls of all the functions with random parameters (seeded;
// valid and invalid titles, modes, numbers and codes) and idle messages,
// shut-down, unload. Throws at the first fault, with what led to it, after
// putting the desktop back; prints one summary line when all is well.
void RunSoak(const std::vector<std::string> &words, const std::string &pluginPath,
             std::ostream &out);

}  // namespace fmhost

#endif
