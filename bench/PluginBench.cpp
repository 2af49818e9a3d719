// The plug-in's calls timed on the simulated desktop, each one made through
// the stand-in host's HostSession as a host makes it (the call block, a fresh
// parameter and result handle, the result resized and read back), beside the
// Win32 calls the same operation makes, made directly; and the reading of
// one field of parameter texts from 64 bytes to 1 MiB.
//
//   loomvane_bench [--benchmark_filter=REGEX] [--benchmark_min_time=SECONDS]
//
// The simulated Win32 calls run without their call log here, so that the
// log's growth is not timed and memory stays flat however long a run is.
#include "Bench.h"
#include "HostSession.h"
#include "Platform.h"
#include "Plugin.h"

#include <benchmark/benchmark.h>
#include <winsim.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Fixture {
    fmhost::PluginModule module;
    std::unique_ptr<fmhost::HostSession> session;
    fmhost::BenchDesktop desktop;
};

Fixture *gFixture = nullptr;

uint32_t FunctionId(const std::string &name)
{
    const std::vector<std::string> &names = gFixture->module.functionNames;
    for (size_t id = 0; id < names.size(); ++id)
        if (names[id] == name)
            return static_cast<uint32_t>(id);
    return UINT32_MAX;
}

struct TimedCall {
    uint32_t id;
    std::string parameter;
};

// One operation of a case, call by call through the host session.
void PluginOperation(benchmark::State &state, std::vector<TimedCall> calls)
{
    fmhost::HostSession &session = *gFixture->session;
    for (auto _ : state)
        for (const TimedCall &call : calls)
            benchmark::DoNotOptimize(session.Call(call.id, call.parameter));
}

void Win32Operation(benchmark::State &state, void (*win32)(const fmhost::BenchDesktop &))
{
    for (auto _ : state)
        win32(gFixture->desktop);
}

// A text of the given size whose second field, "Orders", is its last seven
// bytes: the whole text is read to reach it.
void ParameterField(benchmark::State &state)
{
    const size_t size = static_cast<size_t>(state.range(0));
    std::string text(size - 7, 'x');
    text += "|Orders";
    fmhost::HostSession &session = *gFixture->session;
    HostHandle parameter = session.Memory().New(text);
    gFMExternCallPtr = &session.Block();
    char field[kTitleLimit + 2];
    uint32_t length = 0;
    for (auto _ : state) {
        GetParameterField(parameter, 2, kTitleLimit, field, &length);
        benchmark::DoNotOptimize(field);
        benchmark::DoNotOptimize(length);
    }
    session.Memory().Clear();
    if (length != 6)
        state.SkipWithError("the second field was not found");
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

// A benchmark's name: the case's label with "/" for its comma and "_" for
// its blanks, "Kwzr-WindowResize/wider_and_back".
std::string NameOf(const std::string &label)
{
    std::string name;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label.compare(i, 3, " + ") == 0) {
            name += '+';
            i += 2;
        } else if (label.compare(i, 2, ", ") == 0) {
            name += '/';
            ++i;
        } else {
            name += label[i] == ' ' ? '_' : label[i];
        }
    }
    return name;
}

// Every call of every case must answer what it is timed for; the Win32
// operations are run once each, leaving the window as they found it.
bool CheckCases(const std::vector<fmhost::BenchCase> &cases)
{
    for (const fmhost::BenchCase &c : cases) {
        for (const fmhost::BenchCall &call : c.calls) {
            uint32_t id = FunctionId(call.function);
            std::string answer = gFixture->session->Call(id, call.parameter);
            bool good =
                call.answer.empty() ? !answer.empty() && answer != "0" : answer == call.answer;
            if (id == UINT32_MAX || !good) {
                std::fprintf(stderr, "loomvane_bench: %s(\"%s\") answered \"%s\"\n",
                             call.function.c_str(), call.parameter.c_str(), answer.c_str());
                return false;
            }
        }
        if (c.win32)
            c.win32(gFixture->desktop);
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    fmhost::PrepareDesktop();
    winsim::Quiet quiet;
    Fixture fixture;
    gFixture = &fixture;
    fmhost::LoadPlugin(std::string(), &fixture.module);
    fixture.session =
        std::make_unique<fmhost::HostSession>(fixture.module.entry, fixture.module.instance);
    if (fixture.session->Startup(33) != kFMXStartupOK) {
        std::fprintf(stderr, "loomvane_bench: the plug-in did not start\n");
        return 1;
    }
    fixture.desktop = fmhost::BuildBenchDesktop(fmhost::HostProgramInstance());

    std::vector<fmhost::BenchCase> cases = fmhost::BenchCases();
    if (!CheckCases(cases))
        return 1;
    for (const fmhost::BenchCase &c : cases) {
        std::vector<TimedCall> calls;
        for (const fmhost::BenchCall &call : c.calls)
            calls.push_back({FunctionId(call.function), call.parameter});
        std::string name = NameOf(c.label);
        benchmark::RegisterBenchmark(("Call/" + name).c_str(), PluginOperation, calls);
        if (c.win32)
            benchmark::RegisterBenchmark(("Win32/" + name).c_str(), Win32Operation, c.win32);
    }
    benchmark::RegisterBenchmark("GetParameterField", ParameterField)
        ->RangeMultiplier(4)
        ->Range(64, 1 << 20)
        ->Complexity(benchmark::oN);

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    fmhost::DestroyBenchDesktop(&fixture.desktop);
    fixture.session->Shutdown();
    if (fixture.session->ForbiddenCallbackCalls() != 0) {
        std::fprintf(stderr, "loomvane_bench: the plug-in called a host callback it must not\n");
        return 1;
    }
    return 0;
}
