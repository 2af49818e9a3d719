// What the plug-in's functions may answer at all: the one set of rules that
// the anomaly loop, the fuzz target and the soak judge answers by. What an
// answer must be in a given state is for each of them to judge.
#ifndef FMHOST_ANSWERS_H
#define FMHOST_ANSWERS_H

#include <cstdint>
#include <string>

namespace fmhost {

// Four signed integers joined by "|": no plus sign, no leading zeros, no
// "-0" -- the size queries' text.
bool IsPlacementText(const std::string &text);

// "0" or "1".
bool IsFlagText(const std::string &text);

// What function id may answer whatever its parameter and the desktop: the
// version texts for "Kwzr-Version", "0" or a placement for the size queries,
// "0" or "1" for every other function.
bool IsPossibleAnswer(uint32_t id, const std::string &answer);

}  // namespace fmhost

#endif
