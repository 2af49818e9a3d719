// A plug-in freshly loaded into the stand-in host on a fresh simulated
// desktop, for every test.
#ifndef TESTS_PLUGIN_PLUGINFIXTURE_H
#define TESTS_PLUGIN_PLUGINFIXTURE_H

#include "HostSession.h"
#include "LoomvaneRes.h"
#include "Plugin.h"

#include <gtest/gtest.h>
#include <winsim.h>

#include <cstdio>
#include <memory>
#include <string>

namespace loomvane_test {

inline HINSTANCE TestInstance()
{
    return reinterpret_cast<HINSTANCE>(0x400000);
}

inline const char kSettingsKey[] = LOOMVANE_SETTINGS_KEY;
// The size-only flags as the call log writes them.
inline const std::string kSizeOnlyText = [] {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(LOOMVANE_SIZE_ONLY_FLAGS));
    return std::string(text);
}();

// The function ids by name, from the one function list.
enum FunctionId : uint32_t {
#define LOOMVANE_TEST_ID(id, name, handler, kind) k##handler = id,
    LOOMVANE_FUNCTIONS(LOOMVANE_TEST_ID)
#undef LOOMVANE_TEST_ID
};

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::Reset();
        // The state record is all zero when the module is loaded.
        gPluginState = PluginState();
        gFMExternCallPtr = nullptr;
        host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
    }

    void TearDown() override
    {
        EXPECT_EQ(host->ForbiddenCallbackCalls(), 0)
            << "the plug-in called a host callback it must not";
        int unclosed = 0;
        for (const auto &c : winsim::CallsTo("RegCloseKey"))
            unclosed += c.failed ? 1 : 0;
        if (unclosed == 0) {
            EXPECT_EQ(winsim::OpenKeyCount(), 0) << "a registry key was left open";
        }
    }

    // Starts the plug-in and expects it to come up.
    void Start(int16_t version = 33)
    {
        ASSERT_EQ(host->Startup(version), kFMXStartupOK);
        winsim::ClearCallLog();
    }

    std::string Call(uint32_t id, const std::string &parameter = std::string())
    {
        return host->Call(id, parameter);
    }

    fmhost::CallOutcome CallWith(uint32_t id, const std::string &parameter,
                                 const std::string &initialResult, bool memoryError = false)
    {
        fmhost::CallRequest request;
        request.functionId = id;
        request.parameter = parameter;
        request.initialResult = initialResult;
        request.memoryErrorOnResize = memoryError;
        return host->Call(request);
    }

    std::unique_ptr<fmhost::HostSession> host;
};

// Every call to the named function in the log, formatted.
inline std::vector<std::string> FormattedCalls(const std::string &function)
{
    std::vector<std::string> out;
    for (const auto &call : winsim::CallsTo(function))
        out.push_back(winsim::Format(call));
    return out;
}

inline std::vector<std::string> CalledFunctions()
{
    std::vector<std::string> out;
    for (const auto &call : winsim::CallLog())
        out.push_back(call.function);
    return out;
}

}  // namespace loomvane_test

#endif
