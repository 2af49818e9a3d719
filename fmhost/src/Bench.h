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

// The host that the cases run against: one application window of the
// standard class with one document window.
struct BenchDesktop {
    HostWindows host;
    HWND document = NULL;
};

// The document window's title and its place and size in the MDI client.
inline constexpr char kBenchTitle[] = "Bench Orders";
inline constexpr int kBenchLeft = 10, kBenchTop = 20, kBenchWidth = 300, kBenchHeight = 200;
// The width that the resize case sets before it gives the window back its own.
inline constexpr int kBenchWiderWidth = 320;

BenchDesktop BuildBenchDesktop(HINSTANCE instance);
void DestroyBenchDesktop(BenchDesktop *desktop);

// The shortest Win32 sequence that leaves the visible result of the
// function of the id (Collateral.cpp), on the host's windows and the
// document it names; null for a function that changes no window of the
// host's, whose shortest sequence is none.
using ShortestSequence = void (*)(const HostWindows &host, HWND document);
ShortestSequence ShortestSequenceOf(uint32_t function);

struct BenchCall {
    std::string function;  // the function's name, "Kwzr-GetWindowSize"
    std::string parameter;
    std::string answer;  // what a successful call answers; empty: anything but "0"
};

struct BenchCase {
    std::string label;
    std::vector<BenchCall> calls;  // one operation of the plug-in
    // The Win32 calls of the floor. Null for Kwzr-Version, which makes
    // none: its floor is the host's own part of the call (the parameter's
    // size, the result's resize, the memory error and the copy of the answer).
    void (*win32)(const BenchDesktop &desktop);
};

// The cases: Kwzr-Version, Kwzr-GetWindowSize, Kwzr-WindowResize (wider and
// back), Kwzr-HideWindow with Kwzr-ShowWindow, the pairs of the title, the
// sizing border, the Close command and the window menu, Kwzr-DialogWindow
// twice, and the menu bar's pair. Every operation leaves the window as it
// found it.
std::vector<BenchCase> BenchCases();

// The `bench [ITERATIONS]` command: loads and starts the plug-in itself,
// builds its own desktop, times every case ITERATIONS times each way in
// interleaved rounds, counts the messages of one operation each way where
// the platform counts them, prints a table, and shuts down and unloads.
void RunBench(const std::vector<std::string> &words, const std::string &pluginPath,
              std::ostream &out);

}  // namespace fmhost

#endif
