// Every platform call a command makes may fail. For each command, the 1st
// Win32 call it makes is failed, then the 2nd, and so on until the command
// runs to its end; once failing a single time and once failing from there on.
// After each run the answer must be one the command may give, the state
// record must agree with the desktop, and nothing may be left behind. The
// host's memory may fail too: then no result byte is written and the
// command's change stands.
#include "Answers.h"
#include "DesktopFixture.h"

#include <functional>
#include <map>
#include <set>
#include <sstream>

using namespace loomvane_test;

namespace {

struct Command {
    uint32_t id;
    std::string parameter;
    // Calls that bring the desktop into the state the command starts from.
    std::vector<std::pair<uint32_t, std::string>> prelude;
    // ShowWindow commands on the document Orders before the prelude and
    // after it (maximize, minimize, restore), -1 for none.
    int ordersBefore = -1;
    int ordersAfter = -1;
};

std::vector<Command> Commands()
{
    return {
        {kDoVersion, "p", {}},
        {kDoHideMenuBar, "", {}},
        {kDoShowMenuBar, "", {{kDoHideMenuBar, ""}}},
        {kDoHideBackground, "", {}},
        {kDoShowBackground, "", {{kDoHideBackground, ""}}},
        {kDoHideCursor, "", {}},
        {kDoShowCursor, "", {{kDoHideCursor, ""}}},
        {kDoWindowResize, "Orders|R|10|-10", {}},
        {kDoWindowRelocate, "Orders|R|5|5", {}},
        {kDoGetWindowSize, "Orders", {}},
        {kDoGetWindowSizeABS, "Orders", {}},
        {kDoSetWindowTitle, "Orders||Sales", {}},
        {kDoHideWindowTitle, "Orders", {}},
        {kDoShowWindowTitle, "Orders", {{kDoHideWindowTitle, "Orders"}}},
        {kDoHideWindowSizing, "Orders", {}},
        {kDoShowWindowSizing, "Orders", {{kDoHideWindowSizing, "Orders"}}},
        {kDoDialogWindow, "Orders", {}},
        {kDoHideTaskBar, "", {}},
        {kDoShowTaskBar, "", {{kDoHideTaskBar, ""}}},
        {kDoHideWindow, "Orders", {}},
        {kDoShowWindow, "Orders", {{kDoHideWindow, "Orders"}}},
        {kDoDisableWindow, "Orders", {}},
        {kDoEnableWindow, "Orders", {{kDoDisableWindow, "Orders"}}},
        {kDoHideWindowClose, "Orders", {}},
        {kDoShowWindowClose, "Orders", {{kDoHideWindowClose, "Orders"}}},
        {kDoHideWindowMenu, "Orders", {}},
        {kDoShowWindowMenu, "Orders", {{kDoHideWindowMenu, "Orders"}}},
        // The menu bar given back with a document maximized since, or with
        // the buttons of one restored since; the sizing pair on a maximized
        // and on a minimized document.
        {kDoShowMenuBar, "", {{kDoHideMenuBar, ""}}, -1, SW_MAXIMIZE},
        {kDoShowMenuBar, "", {{kDoHideMenuBar, ""}}, SW_MAXIMIZE, SW_RESTORE},
        {kDoHideWindowSizing, "Orders", {}, SW_MAXIMIZE},
        {kDoShowWindowSizing, "Orders", {{kDoHideWindowSizing, "Orders"}}, SW_MINIMIZE},
    };
}

// The buttons in the application window's menu bar, as the document whose
// window menu is its first item ("none" without buttons, "other" for
// buttons of no document of the MDI client); and the buttons that belong
// there, those of the active document when it is maximized and shown.
std::pair<std::string, std::string> MenuButtons(const fmhost::HostWindows &host)
{
    winsim::Quiet quiet;
    HMENU menu = GetMenu(host.app);
    HMENU first = GetSubMenu(menu, 0);
    UINT last = GetMenuItemID(menu, GetMenuItemCount(menu) - 1);
    std::string held = first == NULL && last != SC_CLOSE ? "none" : "other";
    for (HWND doc : winsim::Children(host.mdiClient))
        if (first != NULL && first == GetSystemMenu(doc, FALSE) && last == SC_CLOSE)
            held = winsim::Str(doc);
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(
        SendMessageA(host.mdiClient, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    bool shown = maximized && IsWindowVisible(active);
    return {held, shown ? winsim::Str(active) : "none"};
}

const std::set<std::string> kFindingCalls = {"FindWindowA", "FindWindowExA", "IsWindow"};
const std::set<std::string> kChangingCalls = {
    "SetWindowPos",     "MoveWindow",      "ShowWindow",     "EnableWindow",
    "SetWindowLongA",   "SetClassLongA",   "SetWindowTextA", "SetMenu",
    "BringWindowToTop", "CreateWindowExA", "DestroyWindow"};

bool IsDocumentCommand(uint32_t id)
{
    return (id >= kDoWindowResize && id <= kDoDialogWindow) || id >= kDoHideWindow;
}

// A maximized document's buttons are handed over through a passing menu that
// the MDI client attaches to the frame; a frame that then refuses every
// SetMenu keeps it, and the detached menu counts as replaced.
bool PassingMenuKept(const std::vector<winsim::Call> &log)
{
    bool handedOver = false;
    for (const auto &c : log) {
        handedOver |=
            c.function == "SendMessageA" && !c.failed && c.args[1] == std::to_string(WM_MDISETMENU);
        if (handedOver && c.function == "SetMenu" && c.failed)
            return true;
    }
    return false;
}

class AnomalyTest : public DesktopTest {
protected:
    void SetUpDesktop()
    {
        winsim::Reset();
        gPluginState = PluginState();
        host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
        StartHost();
        orders_ = AddDocument("Orders", 10, 20, 300, 200);
        {
            winsim::Quiet quiet;
            winsim::CreateTaskBar();
        }
        baseWindows_ = winsim::WindowCount();
    }

    // The invariants that hold after any run, whatever failed.
    void CheckState(const std::string &label, bool isWindowFailed, bool passingMenuKept = false)
    {
        SCOPED_TRACE(label);
        EXPECT_EQ(winsim::OpenKeyCount(), 0) << "a registry key was left open";
        auto classes = winsim::RegisteredClasses();
        bool registered =
            std::find(classes.begin(), classes.end(), LOOMVANE_COVER_CLASS) != classes.end();
        EXPECT_EQ(gPluginState.coverClassRegistered, registered);
        size_t covers = 0;
        for (HWND w : winsim::Children(NULL))
            if (winsim::Inspect(w).className == LOOMVANE_COVER_CLASS)
                ++covers;
        EXPECT_LE(covers, 1u);
        if (!gPluginState.coverAbsent) {
            EXPECT_TRUE(winsim::Inspect(gPluginState.coverWindow).exists);
        } else if (!isWindowFailed) {
            // Only a lying IsWindow can make the plug-in lose track of its cover.
            EXPECT_EQ(covers, 0u) << "a cover window was left behind";
        }
        HMENU menu = winsim::Inspect(host_.app).menu;
        if (!gPluginState.menuBarShown && !passingMenuKept) {
            EXPECT_EQ(menu, nullptr) << "the menu bar is detached";
        }
        EXPECT_EQ(winsim::WindowCount(), baseWindows_ + covers) << "windows leaked or lost";
    }

    // The document's state, and the calls of the prelude, as the command asks.
    void Prepare(const Command &command)
    {
        if (command.ordersBefore >= 0) {
            winsim::Quiet quiet;
            ShowWindow(orders_, command.ordersBefore);
        }
        for (const auto &step : command.prelude)
            ASSERT_EQ(Call(step.first, step.second), "1");
        if (command.ordersAfter >= 0) {
            winsim::Quiet quiet;
            ShowWindow(orders_, command.ordersAfter);
        }
    }

    HWND orders_ = NULL;
    size_t baseWindows_ = 0;
};

TEST_F(AnomalyTest, EveryFailingPlatformCallIsAnswered)
{
    int runs = 0;
    for (const Command &command : Commands()) {
        for (bool persistent : {false, true}) {
            for (int nth = 1; nth < 200; ++nth) {
                SetUpDesktop();
                Prepare(command);
                std::string state = StateOf(orders_);
                winsim::ClearCallLog();
                winsim::ClearFaults();
                winsim::FailCall("*", nth, persistent);
                std::string answer = Call(command.id, command.parameter);
                bool faulted = winsim::FaultsInjected() > 0;
                winsim::ClearFaults();

                std::ostringstream label;
                label << "function " << command.id << " failing call " << nth
                      << (persistent ? " and after" : " once");
                EXPECT_TRUE(fmhost::IsPossibleAnswer(command.id, answer))
                    << label.str() << ": answer " << answer;

                const auto &log = winsim::CallLog();
                auto firstFailed = std::find_if(log.begin(), log.end(),
                                                [](const winsim::Call &c) { return c.failed; });
                bool isWindowFailed = false;
                for (const auto &c : log)
                    isWindowFailed |= c.failed && c.function == "IsWindow";
                if (firstFailed != log.end() && IsDocumentCommand(command.id) &&
                    kFindingCalls.count(firstFailed->function)) {
                    // A failed search changes no window and answers "0".
                    EXPECT_EQ(answer, "0") << label.str();
                    for (auto c = firstFailed; c != log.end(); ++c) {
                        EXPECT_EQ(kChangingCalls.count(c->function), 0u)
                            << label.str() << ": " << winsim::Format(*c);
                    }
                }
                CheckState(label.str(), isWindowFailed, PassingMenuKept(log));
                // A maximized or minimized document stays so, unless the
                // very ShowWindow that maximizes it again fails, or a style
                // read that fails gives 0, which is written back without the
                // state bits; and without a failing call the menu bar holds
                // the buttons it should.
                bool showFailed = false;
                for (const auto &c : log)
                    showFailed |=
                        c.failed && (c.function == "ShowWindow" || c.function == "GetWindowLongA");
                if (command.ordersBefore >= 0 || command.ordersAfter >= 0) {
                    if (!showFailed) {
                        EXPECT_EQ(StateOf(orders_), state) << label.str();
                    }
                    if (!faulted && gPluginState.menuBarShown) {
                        auto buttons = MenuButtons(host_);
                        EXPECT_EQ(buttons.first, buttons.second) << label.str();
                    }
                }
                ++runs;
                if (!faulted)
                    break;  // the command ran to its end without meeting the fault
            }
        }
    }
    EXPECT_GT(runs, 2 * 31);
}

TEST_F(AnomalyTest, StartupAndShutdownSurviveEveryFailingCall)
{
    for (bool persistent : {false, true}) {
        for (int nth = 1; nth < 50; ++nth) {
            winsim::Reset();
            gPluginState = PluginState();
            host = std::make_unique<fmhost::HostSession>(FMExternCallProc, TestInstance());
            winsim::FailCall("*", nth, persistent);
            intptr_t reply = host->Startup(33);
            bool faulted = winsim::FaultsInjected() > 0;
            // A key whose closing failed stays open; every other one is closed.
            int unclosed = 0;
            for (const auto &c : winsim::CallsTo("RegCloseKey"))
                unclosed += c.failed ? 1 : 0;
            winsim::ClearFaults();
            std::string label = "start-up failing call " + std::to_string(nth);
            EXPECT_TRUE(reply == kFMXStartupOK || reply == kFMXStartupFailed) << label;
            EXPECT_EQ(reply == kFMXStartupOK, gPluginState.coverClassRegistered) << label;
            EXPECT_EQ(winsim::OpenKeyCount(), unclosed) << label;
            if (reply == kFMXStartupOK) {
                ASSERT_EQ(Call(kDoHideBackground), "1");
            }
            winsim::FailCall("*", 1, persistent);
            host->Shutdown();
            winsim::ClearFaults();
            EXPECT_FALSE(gPluginState.coverClassRegistered) << label;
            if (!faulted)
                break;
        }
    }
}

// Shut-down gives back the menu bar, the task bar and the cursor. Whatever
// call fails on the way, each is either given back or still recorded as
// taken, so that a shut-down without the failure gives it back. Only calls
// that deny what exists, faults only a test can make, can mislead it: an
// IsWindow or IsMenu makes the menu look gone, a search or a thread query the
// Start button, and a ShowCursor, which cannot fail on Windows, answers 0, as
// for a cursor that is shown.
TEST_F(AnomalyTest, ShutDownLosesNothingToAFailingCall)
{
    int runs = 0;
    for (bool persistent : {false, true}) {
        for (int nth = 1; nth < 100; ++nth) {
            SetUpDesktop();
            HWND bar = winsim::Children(NULL).front();
            HWND start;
            {
                winsim::Quiet quiet;
                start = winsim::CreateStartButton();
            }
            HMENU menu = winsim::Inspect(host_.app).menu;
            for (uint32_t id : {kDoHideMenuBar, kDoHideTaskBar, kDoHideCursor, kDoHideBackground})
                ASSERT_EQ(Call(id), "1");
            {
                winsim::Quiet quiet;
                ShowWindow(orders_, SW_MAXIMIZE);  // its buttons are owed too
            }
            winsim::ClearCallLog();
            winsim::FailCall("*", nth, persistent);
            host->Shutdown();
            bool faulted = winsim::FaultsInjected() > 0;
            winsim::ClearFaults();
            bool lied = false;
            bool liedOfButton = false;
            bool liedOfCursor = false;
            for (const auto &c : winsim::CallLog()) {
                lied |= c.failed && (c.function == "IsWindow" || c.function == "IsMenu");
                liedOfButton |= c.failed && (c.function == "FindWindowExA" ||
                                             c.function == "GetWindowThreadProcessId");
                liedOfCursor |= c.failed && c.function == "ShowCursor";
            }
            lied |= PassingMenuKept(winsim::CallLog());
            std::string label = "shut-down failing call " + std::to_string(nth) +
                                (persistent ? " and after" : " once");
            if (!lied) {
                EXPECT_TRUE(winsim::Inspect(host_.app).menu == menu || !gPluginState.menuBarShown)
                    << label << ": the menu bar was lost";
            }
            EXPECT_TRUE(winsim::Inspect(bar).visible || gPluginState.taskBarHidden)
                << label << ": the task bar was lost";
            if (!liedOfCursor) {
                EXPECT_TRUE(winsim::CursorCount() >= 0 || gPluginState.cursorHidden)
                    << label << ": the cursor was lost";
            }
            EXPECT_EQ(winsim::OpenKeyCount(), 0) << label;

            host->Shutdown();
            if (!lied) {
                EXPECT_EQ(winsim::Inspect(host_.app).menu, menu) << label;
            }
            EXPECT_TRUE(winsim::Inspect(bar).visible) << label;
            if (!liedOfButton) {
                EXPECT_TRUE(winsim::Inspect(start).visible) << label;
            }
            if (!liedOfCursor) {
                EXPECT_GE(winsim::CursorCount(), 0) << label;
            }
            EXPECT_TRUE(winsim::Inspect(orders_).visible) << label;
            ++runs;
            if (!faulted)
                break;
        }
    }
    EXPECT_GT(runs, 20);
}

// The cover's window procedure meets every failing call when the displays
// change and when the host is active again after another program. The cover
// stays shown and recorded, nothing leaks, and the next change that meets
// no failure puts it right.
TEST_F(AnomalyTest, CoverProcedureSurvivesEveryFailingCall)
{
    int runs = 0;
    for (bool activation : {false, true}) {
        for (bool persistent : {false, true}) {
            for (int nth = 1; nth < 20; ++nth) {
                SetUpDesktop();
                HWND other;
                {
                    winsim::Quiet quiet;
                    winsim::OtherThread thread(0x40, 0x44);
                    other = CreateWindowExA(0, "Static", "Other program",
                                            WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300,
                                            NULL, NULL, TestInstance(), NULL);
                }
                baseWindows_ = winsim::WindowCount();
                // The other program comes to the front; the host is brought
                // to the front, about to be activated.
                auto leaveAndComeBack = [&] {
                    winsim::Quiet quiet;
                    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
                    SetWindowPos(other, HWND_TOP, 0, 0, 0, 0, flags);
                    SetForegroundWindow(other);
                    SetWindowPos(host_.app, HWND_TOP, 0, 0, 0, 0, flags);
                };
                {
                    winsim::Quiet quiet;
                    SetForegroundWindow(host_.app);
                }
                ASSERT_EQ(Call(kDoHideBackground), "1");
                HWND cover = gPluginState.coverWindow;
                if (activation)
                    leaveAndComeBack();
                winsim::ClearCallLog();
                winsim::FailCall("*", nth, persistent);
                if (activation)
                    winsim::ClickWindow(host_.app);
                else
                    winsim::ChangeDisplays(1920, 1080, {});
                bool faulted = winsim::FaultsInjected() > 0;
                winsim::ClearFaults();
                std::string label = std::string(activation ? "activation" : "display change") +
                                    " failing call " + std::to_string(nth) +
                                    (persistent ? " and after" : " once");
                EXPECT_TRUE(winsim::Inspect(cover).visible) << label;
                EXPECT_FALSE(gPluginState.coverAbsent) << label;
                CheckState(label, false);
                if (activation) {
                    leaveAndComeBack();
                    winsim::ClickWindow(host_.app);
                    auto order = winsim::Children(NULL);
                    auto at = std::find(order.begin(), order.end(), cover);
                    ASSERT_NE(at, order.begin()) << label;
                    EXPECT_EQ(*(at - 1), host_.app) << label;
                } else {
                    winsim::ChangeDisplays(1920, 1080, {});
                    EXPECT_EQ(winsim::Inspect(cover).rect, Rect(-3, -2, 1923, 1082)) << label;
                }
                ++runs;
                if (!faulted)
                    break;
            }
        }
    }
    EXPECT_GT(runs, 8);
}

// What a run leaves on the desktop, for comparing two runs.
std::string Fingerprint()
{
    std::ostringstream out;
    std::function<void(HWND)> walk = [&](HWND parent) {
        for (HWND w : winsim::Children(parent)) {
            winsim::WindowInfo i = winsim::Inspect(w);
            out << i.className << "|" << i.title << "|" << std::hex << i.style << "|" << i.exStyle
                << "|" << i.classStyle << std::dec << "|" << i.rect.left << "," << i.rect.top << ","
                << i.rect.right << "," << i.rect.bottom << "|" << i.visible << i.enabled << "|"
                << (i.menu != NULL) << "\n";
            walk(w);
        }
    };
    walk(NULL);
    out << "cursor " << winsim::CursorCount() << " menu " << gPluginState.menuBarShown << " cover "
        << gPluginState.coverAbsent;
    return out.str();
}

TEST_F(AnomalyTest, MemoryErrorWritesNothingAndTheChangeStands)
{
    for (const Command &command : Commands()) {
        std::string label = "function " + std::to_string(command.id);
        std::string changed[2];
        for (int memoryError = 0; memoryError < 2; ++memoryError) {
            SetUpDesktop();
            Prepare(command);
            fmhost::CallOutcome out =
                CallWith(command.id, command.parameter, "untouched", memoryError == 1);
            if (memoryError) {
                EXPECT_EQ(out.result, "untouched") << label;
                EXPECT_EQ(out.resizes, 1) << label;
            } else {
                EXPECT_NE(out.result, "0") << label << ": the command should succeed here";
            }
            changed[memoryError] = Fingerprint();
        }
        EXPECT_EQ(changed[0], changed[1]) << label;
    }
}

}  // namespace
