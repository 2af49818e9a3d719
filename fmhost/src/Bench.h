// Timing the plug-in's functions against a floor. Each case is one
// operation: one or two calls of the plug-in, and the floor: for the frame
// commands and the menu bar the search the plug-in makes and the shortest
// Win32 sequence of the same result, for the others the very Win32 calls
// the plug-in makes, made directly with the same arguments.
#ifndef FMHOST_BENCH_H
#define FMHOST_BENCH_H

#include "HostWindows.h"
#include "Platform.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace fmhost {

// The shortest Win32 sequence that leaves the visible result of the
// function of the id (Collateral.cpp), on the host's windows and the
// document it names; null for a function that changes no window of the
// host's, whose shortest sequence is none.
using ShortestSequence = void (*)(const HostWindows &host, HWND document);
ShortestSequence ShortestSequenceOf(uint32_t function);

// The `bench [ITERATIONS]` command: loads and starts the plug-in itself,
// builds its own desktop, times every case ITERATIONS times each way in
// interleaved rounds, counts the messages of one operation each way where
// the platform counts them, prints a table, and shuts down and unloads.
void RunBench(const std::vector<std::string> &words, const std::string &pluginPath,
              std::ostream &out);

}  // namespace fmhost

#endif
