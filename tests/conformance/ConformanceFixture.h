// What a conformance test may use: Win32 alone, as on Windows. Each test
// makes its windows through the fixture, which destroys them afterwards and
// starts the stand-in from a fresh desktop on the native build.
#ifndef TESTS_CONFORMANCE_CONFORMANCEFIXTURE_H
#define TESTS_CONFORMANCE_CONFORMANCEFIXTURE_H

#include <windows.h>

#include "HostWindows.h"
#ifdef _WIN32
#include "PlatformWin.h"
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace conformance {

// The messages that reach the fixture's windows that a test looks for, as
// "HIDE title", "SHOW title", "ENABLE title", "DISABLE title", and
// "ACTIVATEAPP title active=T" or "DEACTIVATEAPP title" with the active
// window's title when it came.
std::vector<std::string> &Messages();

// The messages that reach windows of the trace class, of the kinds that the
// stand-in sends of itself, in order: "NCCREATE", "CREATE", "SIZE 292,173",
// "MOVE 14,43", "SHOW title", "HIDE title", "DESTROY title", "NCDESTROY
// title", "CLOSE title". What the procedure answers to WM_NCCREATE (FALSE
// refuses the window) and WM_CREATE, and a message on which the window
// destroys itself or its parent the first time it comes, are a test's to
// set.
struct Trace {
    std::vector<std::string> messages;
    bool ncCreate = true;
    LRESULT createAnswer = 0;
    UINT destroyOn = 0;  // 0: none
    bool destroyParent = false;
};
Trace &Traced();

// The screen the tests run on: the stand-in's, and Wine's virtual one.
constexpr int kScreenWidth = 1024;
constexpr int kScreenHeight = 768;

// A handle that is no window.
inline const HWND kNoWindow = reinterpret_cast<HWND>(0x777);

inline RECT Rect(LONG left, LONG top, LONG right, LONG bottom)
{
    return {left, top, right, bottom};
}

#ifdef _WIN32
// A click of the left mouse button at a point of the screen, as input that
// whatever message loop runs next handles: the stand-in host's.
using fmhost::SendLeftClick;
#endif

class ConformanceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A window of the test's own class, which notes some messages in
    // Messages() and passes every one to DefWindowProcA.
    HWND Make(const char *title, DWORD style, int x = 10, int y = 20, int width = 300,
              int height = 200, HWND parent = NULL, DWORD exStyle = 0);
    // A window of the trace class.
    HWND MakeTraced(const char *title, DWORD style, int x = 10, int y = 20, int width = 300,
                    int height = 200, HWND parent = NULL, HMENU menu = NULL);
    // A window made by a thread of its own, of a class that notes nothing.
    // A hung thread answers no message until it wakes. One at a time.
    HWND MakeOnOtherThread(const char *title, DWORD style, bool hung);
    void WakeOtherThread();
    // Wakes it in a moment, while this thread waits on it; the stand-in wakes
    // it when a call waits on it.
    void WakeOtherThreadSoon();
    bool OtherThreadAwake();
    // Returns once the other thread has handled what it was sent.
    void SyncOtherThread();
    // A click of the left mouse button at a point of the screen, which lies
    // in the window (the stand-in takes the window for the point).
    static void ClickAt(HWND window, POINT at);
    // A window of another class (a system class such as "Edit").
    HWND MakeOf(const char *className, const char *title, DWORD style, int x, int y, int width,
                int height, HWND parent = NULL, DWORD exStyle = 0);
    // The host's windows as the stand-in host builds them: an 800 by 600
    // frame at the corner with a menu bar of four items (File, Edit, View
    // and Window, ids 1 to 4), a 30-pixel toolbar, and below it the MDI
    // client of the style, with a client edge, which the frame lays out over
    // the rest of its client area (788 by 520 inside the edge); DefFrameProcA
    // and DefMDIChildProcA for the rest.
    struct Host {
        HWND frame;
        HWND mdi;
        HMENU menu;
        fmhost::HostWindows windows;
    };
    Host MakeHost(DWORD mdiStyle = MDIS_ALLCHILDSTYLES);
    // A document of the style as CreateWindowExA makes it, which may refuse it.
    HWND MakeDocument(const Host &host, const char *title, DWORD style, DWORD exStyle = 0);
    // A shown document window as the stand-in host makes it, 300 by 200.
    HWND MakeMdiDocument(const Host &host, const char *title, int x, int y);
    // The module the fixture's class belongs to, and that class's name, for
    // a test that makes a window the fixture must not expect to be made.
    static HINSTANCE Instance();
    static const char *ClassName();
    // Registers a class of that module, answering its atom or 0.
    static ATOM Register(const char *className, WNDPROC procedure = DefWindowProcA);
    // Handles the messages that are waiting, as a host's message loop would.
    static void Pump();
    static RECT WindowRect(HWND window);
    // The window's text, up to 63 bytes.
    static std::string TextOf(HWND window);
    // The titles of the window's children, top of the Z order first; for
    // null, of the top-level windows of the fixture's class.
    static std::vector<std::string> Titles(HWND parent);
    // The window's own WS_VISIBLE bit, whatever its parent's.
    static bool OwnVisibleBit(HWND window);
    // The client area: its size at (0, 0), and where it lies on the screen.
    static RECT ClientSize(HWND window);
    static RECT ClientOnScreen(HWND window);

private:
    std::vector<HWND> made_;
    struct OtherThreadWindow;
    OtherThreadWindow *other_ = nullptr;
    void EndOtherThread();
};

// A shown top-level window "P" with three shown children, "c1" to "c3", top
// of the Z order first; the messages of their making are cleared.
class FamilyTest : public ConformanceTest {
protected:
    void SetUp() override;
    HWND parent = NULL, c1 = NULL, c2 = NULL, c3 = NULL;
};

}  // namespace conformance

#endif
