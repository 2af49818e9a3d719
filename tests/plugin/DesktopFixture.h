// A started plug-in with the host's windows on the simulated desktop: an
// 800 by 600 application window at the screen's corner with a menu bar, a
// 30-pixel toolbar, and an MDI client with a sunken edge below it.
//
// With the frame metrics of the platform (4-pixel sizing frame, 19-pixel
// caption and menu bar, 2-pixel client edge) the application window's client
// area starts at screen (4, 42) and the MDI client's at screen (6, 74), that
// is at (2, 32) in the application window's client area.
#ifndef TESTS_PLUGIN_DESKTOPFIXTURE_H
#define TESTS_PLUGIN_DESKTOPFIXTURE_H

#include "HostWindows.h"
#include "PluginFixture.h"

#include "../common/RectOps.h"

namespace loomvane_test {

constexpr POINT kMdiOriginOnScreen = {6, 74};
constexpr POINT kMdiOriginInApp = {2, 32};

class DesktopTest : public PluginTest {
protected:
    // Builds the host's windows, then starts the plug-in for that generation.
    void StartHost(int generation = 5, const std::string &appClass = std::string(),
                   bool start = true)
    {
        generation_ = generation;
        {
            winsim::Quiet quiet;
            fmhost::HostLayout layout;
            layout.generation = generation;
            layout.appClass = appClass;
            host_ = fmhost::CreateHostWindows(TestInstance(), layout);
        }
        ASSERT_NE(host_.app, nullptr);
        ASSERT_NE(host_.mdiClient, nullptr);
        if (start)
            Start(generation == 3 ? 12 : 33);
    }

    HWND AddDocument(const std::string &title, int x = 10, int y = 20, int width = 300,
                     int height = 200, DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                     const std::string &className = std::string())
    {
        winsim::Quiet quiet;
        fmhost::DocumentLayout doc = fmhost::Document(title, x, y, width, height);
        doc.style = style;
        doc.className = className;
        HWND document = fmhost::CreateDocument(TestInstance(), host_, generation_, doc);
        EXPECT_NE(document, nullptr);
        winsim::ClearCallLog();
        return document;
    }

    // A second application window with the class, holding its own MDI client.
    fmhost::HostWindows AddApplication(const std::string &appClass)
    {
        winsim::Quiet quiet;
        fmhost::HostLayout layout;
        layout.generation = generation_;
        layout.appClass = appClass;
        layout.x = 100;
        layout.y = 50;
        return fmhost::CreateHostWindows(TestInstance(), layout);
    }

    HWND AddDocumentTo(const fmhost::HostWindows &windows, const std::string &title, int x, int y)
    {
        winsim::Quiet quiet;
        return fmhost::CreateDocument(TestInstance(), windows, generation_,
                                      fmhost::Document(title, x, y));
    }

    // The host's measure, kept out of the call log.
    static RECT RectInParent(HWND window)
    {
        winsim::Quiet quiet;
        return fmhost::RectInParent(window);
    }

    fmhost::HostWindows host_;
    int generation_ = 5;
};

// "max", "min" or "normal", and " hidden" for a hidden window.
inline std::string StateOf(HWND window)
{
    winsim::Quiet quiet;
    std::string state = IsZoomed(window) ? "max" : IsIconic(window) ? "min" : "normal";
    return state + (IsWindowVisible(window) ? "" : " hidden");
}

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return {left, top, right, bottom};
}

}  // namespace loomvane_test

#endif
