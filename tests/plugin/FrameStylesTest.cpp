// The frame commands: which bits each one tests and inverts, the follow-up
// calls, and the class-wide Close command.
#include "DesktopFixture.h"

using namespace loomvane_test;

namespace {

constexpr LONG kChild = WS_CHILD | WS_VISIBLE;

struct StyleCase {
    const char *label;
    uint32_t id;
    LONG before;  // window style, without WS_CHILD | WS_VISIBLE
    const char *answer;
    LONG after;
    int state = SW_SHOWNA;  // the ShowWindow command that minimizes or maximizes it first
};

class WindowStyleTest : public DesktopTest, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(WindowStyleTest, TestsAndInverts)
{
    const StyleCase &c = GetParam();
    StartHost();
    HWND window = AddDocument("Orders", 10, 20, 300, 200, c.before | WS_VISIBLE);
    {
        winsim::Quiet quiet;
        ShowWindow(window, c.state);
    }
    RECT rect = winsim::Inspect(window).rect;
    EXPECT_EQ(Call(c.id, "Orders"), c.answer) << c.label;
    winsim::WindowInfo info = winsim::Inspect(window);
    EXPECT_EQ(info.style & ~kChild & ~WS_CLIPSIBLINGS, c.after)
        << c.label << std::hex << ": style 0x" << info.style;
    EXPECT_EQ(info.rect, rect) << c.label << ": the frame commands keep the window's rectangle";
    if (std::string(c.answer) == "0") {
        EXPECT_EQ(winsim::CountCalls("SetWindowLongA"), 0u) << c.label;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Bits, WindowStyleTest,
    ::testing::Values(
        StyleCase{"hide title", kDoHideWindowTitle, WS_OVERLAPPEDWINDOW, "1",
                  WS_OVERLAPPEDWINDOW & ~WS_CAPTION},
        StyleCase{"hide title, border only", kDoHideWindowTitle, WS_BORDER, "1", WS_DLGFRAME},
        StyleCase{"hide title, dialog frame only", kDoHideWindowTitle, WS_DLGFRAME, "1", WS_BORDER},
        StyleCase{"hide title twice", kDoHideWindowTitle, WS_THICKFRAME, "0", WS_THICKFRAME},
        StyleCase{"show title", kDoShowWindowTitle, WS_THICKFRAME, "1", WS_THICKFRAME | WS_CAPTION},
        StyleCase{"show title, border only", kDoShowWindowTitle, WS_BORDER, "0", WS_BORDER},
        StyleCase{"show title, dialog frame only", kDoShowWindowTitle, WS_DLGFRAME, "0",
                  WS_DLGFRAME},
        StyleCase{"hide sizing", kDoHideWindowSizing, WS_OVERLAPPEDWINDOW, "1",
                  WS_CAPTION | WS_SYSMENU},
        StyleCase{"hide sizing, maximize box alone", kDoHideWindowSizing,
                  WS_CAPTION | WS_MAXIMIZEBOX, "1", WS_CAPTION | WS_MINIMIZEBOX | WS_THICKFRAME},
        StyleCase{"hide sizing without maximize box", kDoHideWindowSizing,
                  WS_CAPTION | WS_THICKFRAME, "0", WS_CAPTION | WS_THICKFRAME},
        StyleCase{"show sizing", kDoShowWindowSizing, WS_CAPTION, "1",
                  WS_CAPTION | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME},
        StyleCase{"show sizing with maximize box", kDoShowWindowSizing, WS_CAPTION | WS_MAXIMIZEBOX,
                  "0", WS_CAPTION | WS_MAXIMIZEBOX},
        // A maximized or minimized document stays so, in place.
        StyleCase{"hide sizing, maximized", kDoHideWindowSizing, WS_OVERLAPPEDWINDOW, "1",
                  WS_CAPTION | WS_SYSMENU | WS_MAXIMIZE, SW_MAXIMIZE},
        StyleCase{"show sizing, maximized", kDoShowWindowSizing, WS_CAPTION | WS_SYSMENU, "1",
                  WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, SW_MAXIMIZE},
        StyleCase{"hide sizing, minimized", kDoHideWindowSizing, WS_OVERLAPPEDWINDOW, "1",
                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZE, SW_MINIMIZE},
        StyleCase{"show sizing, minimized", kDoShowWindowSizing, WS_CAPTION | WS_SYSMENU, "1",
                  WS_OVERLAPPEDWINDOW | WS_MINIMIZE, SW_MINIMIZE},
        StyleCase{"hide menu", kDoHideWindowMenu, WS_OVERLAPPEDWINDOW, "1",
                  WS_OVERLAPPEDWINDOW & ~WS_SYSMENU},
        StyleCase{"hide menu without one", kDoHideWindowMenu, WS_CAPTION, "0", WS_CAPTION},
        StyleCase{"show menu", kDoShowWindowMenu, WS_CAPTION, "1", WS_CAPTION | WS_SYSMENU},
        StyleCase{"show menu with one", kDoShowWindowMenu, WS_OVERLAPPEDWINDOW, "0",
                  WS_OVERLAPPEDWINDOW}));

// Each frame command that redraws the frame makes one SetWindowPos and no
// other call that moves, shows or raises a window; the outer rectangle stays.
// The sizing pair shows and raises the document in that same call, activating
// it only where that hands no maximized state over and takes no focus away:
// beneath another, maximized document, or as an icon, it is not activated.
struct FollowUpCase {
    const char *label;
    uint32_t id;
    int ordersState;      // ShowWindow on Orders first, -1 for none
    bool otherMaximized;  // the document Top maximized first
    bool ordersHidden;
    const char *insertAfter;  // "NULL", "TOP" or "Top"
    UINT flags;
    const char *active;  // the active document afterwards
    const char *order;   // the documents from the top of the Z order
};

class FollowUpTest : public DesktopTest, public ::testing::WithParamInterface<FollowUpCase> {};

TEST_P(FollowUpTest, OneSetWindowPos)
{
    const FollowUpCase &c = GetParam();
    StartHost();
    HWND orders = AddDocument("Orders", 10, 20, 300, 200);
    HWND top = AddDocument("Top", 40, 50, 300, 200);
    {
        winsim::Quiet quiet;
        if (c.otherMaximized)
            ShowWindow(top, SW_MAXIMIZE);
        if (c.ordersState >= 0)
            ShowWindow(orders, c.ordersState);
        if (c.ordersHidden)
            ShowWindow(orders, SW_HIDE);
    }
    std::string states = StateOf(orders) + " " + StateOf(top);
    RECT rect = winsim::Inspect(orders).rect;
    winsim::ClearCallLog();
    ASSERT_EQ(Call(c.id, "Orders"), "1");
    std::string insertAfter = std::string(c.insertAfter) == "Top"   ? winsim::Str(top)
                              : std::string(c.insertAfter) == "TOP" ? winsim::Str(HWND_TOP)
                                                                    : "NULL";
    char flags[16];
    std::snprintf(flags, sizeof flags, "0x%x", c.flags);
    EXPECT_EQ(FormattedCalls("SetWindowPos"),
              std::vector<std::string>{"SetWindowPos(" + winsim::Str(orders) + ", " + insertAfter +
                                       ", 0, 0, 0, 0, " + flags + ") = 1"});
    for (const char *call : {"ShowWindow", "BringWindowToTop", "MoveWindow", "SetActiveWindow"})
        EXPECT_EQ(winsim::CountCalls(call), 0u) << call;
    EXPECT_EQ(StateOf(orders) + " " + StateOf(top),
              c.ordersHidden ? states.replace(states.find(" hidden"), 7, "") : states);
    EXPECT_TRUE(winsim::Inspect(orders).visible);
    EXPECT_EQ(winsim::Inspect(orders).rect, rect);
    std::string order;
    for (HWND doc : winsim::Children(host_.mdiClient))
        order += (order.empty() ? "" : " ") + winsim::Inspect(doc).title;
    EXPECT_EQ(order, c.order);
    winsim::Quiet quiet;
    EXPECT_EQ(winsim::Inspect(
                  reinterpret_cast<HWND>(SendMessageA(host_.mdiClient, WM_MDIGETACTIVE, 0, 0)))
                  .title,
              c.active);
}

// Shown and raised, frame recalculated; without the activation.
constexpr UINT kRaise = SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW;
constexpr UINT kRaiseQuietly = kRaise | SWP_NOACTIVATE;
constexpr UINT kFrameOnly =
    SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

INSTANTIATE_TEST_SUITE_P(
    Commands, FollowUpTest,
    ::testing::Values(FollowUpCase{"title", kDoHideWindowTitle, -1, false, false, "NULL",
                                   kFrameOnly, "Top", "Top Orders"},
                      FollowUpCase{"dialog frame", kDoDialogWindow, -1, false, false, "NULL",
                                   kFrameOnly, "Top", "Top Orders"},
                      FollowUpCase{"window menu", kDoHideWindowMenu, -1, false, false, "NULL",
                                   kFrameOnly, "Top", "Top Orders"},
                      FollowUpCase{"sizing", kDoHideWindowSizing, -1, false, false, "TOP", kRaise,
                                   "Orders", "Orders Top"},
                      FollowUpCase{"sizing, hidden", kDoHideWindowSizing, -1, false, true, "TOP",
                                   kRaise, "Orders", "Orders Top"},
                      FollowUpCase{"sizing, maximized", kDoHideWindowSizing, SW_MAXIMIZE, false,
                                   false, "TOP", kRaise, "Orders", "Orders Top"},
                      FollowUpCase{"sizing, minimized", kDoHideWindowSizing, SW_MINIMIZE, false,
                                   false, "TOP", kRaiseQuietly, "Top", "Orders Top"},
                      FollowUpCase{"sizing, another maximized", kDoHideWindowSizing, -1, true,
                                   false, "Top", kRaiseQuietly, "Top", "Top Orders"},
                      FollowUpCase{"sizing, hidden, another maximized", kDoHideWindowSizing, -1,
                                   true, true, "Top", kRaiseQuietly, "Top", "Top Orders"},
                      FollowUpCase{"sizing, minimized, another maximized", kDoHideWindowSizing,
                                   SW_MINIMIZE, true, false, "Top", kRaiseQuietly, "Top",
                                   "Top Orders"}));

TEST_F(DesktopTest, ClosePairActsOnTheWholeClass)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    HWND invoices = AddDocument("Invoices");
    EXPECT_EQ(Call(kDoShowWindowClose, "Orders"), "0");
    EXPECT_EQ(Call(kDoHideWindowClose, "Orders"), "1");
    EXPECT_TRUE(winsim::Inspect(invoices).classStyle & CS_NOCLOSE);
    EXPECT_EQ(Call(kDoHideWindowClose, "Invoices"), "0");
    EXPECT_EQ(Call(kDoShowWindowClose, "Invoices"), "1");
    EXPECT_FALSE(winsim::Inspect(orders).classStyle & CS_NOCLOSE);
    EXPECT_EQ(winsim::CountCalls("SetWindowPos"), 0u) << "no follow-up for the close pair";
}

TEST_F(DesktopTest, CloseOnClassWhoseStyleWasZero)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    {
        winsim::Quiet quiet;
        SetClassLongA(orders, GCL_STYLE, 0);
    }
    EXPECT_EQ(Call(kDoHideWindowClose, "Orders"), "1");
    EXPECT_EQ(winsim::Inspect(orders).classStyle, (DWORD)CS_NOCLOSE);
    EXPECT_EQ(Call(kDoShowWindowClose, "Orders"), "1");
    EXPECT_EQ(winsim::Inspect(orders).classStyle, 0u);
}

TEST_F(DesktopTest, RefusedWritesAnswerZero)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    winsim::FailCall("SetClassLongA");
    EXPECT_EQ(Call(kDoHideWindowClose, "Orders"), "0");
    winsim::FailCall("SetWindowLongA");
    EXPECT_EQ(Call(kDoHideWindowMenu, "Orders"), "0");
    EXPECT_TRUE(winsim::Inspect(orders).style & WS_SYSMENU);
    winsim::FailCall("SetClassLongA");
    LONG style = winsim::Inspect(orders).style;
    EXPECT_EQ(Call(kDoDialogWindow, "Orders"), "0");
    EXPECT_EQ(winsim::Inspect(orders).style, style) << "the window's own words stay";
}

TEST_F(DesktopTest, DialogWindowTogglesAllThreeWords)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    winsim::WindowInfo before = winsim::Inspect(orders);
    ASSERT_EQ(Call(kDoDialogWindow, "Orders"), "1");
    winsim::WindowInfo mid = winsim::Inspect(orders);
    EXPECT_EQ(mid.classStyle, before.classStyle ^ CS_NOCLOSE);
    EXPECT_EQ(mid.style, before.style ^ 0xCF0000);
    EXPECT_EQ(mid.exStyle & 0x241, (before.exStyle ^ 0x241) & 0x241);
    EXPECT_EQ(mid.rect, before.rect) << "the size is re-applied unchanged";

    ASSERT_EQ(Call(kDoDialogWindow, "Orders"), "1");
    winsim::WindowInfo after = winsim::Inspect(orders);
    EXPECT_EQ(after.classStyle, before.classStyle);
    EXPECT_EQ(after.style, before.style);
    EXPECT_EQ(after.exStyle, before.exStyle);
    EXPECT_EQ(after.rect, before.rect);
}

TEST_F(DesktopTest, DialogWindowOnClassWhoseStyleWasZero)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    {
        winsim::Quiet quiet;
        SetClassLongA(orders, GCL_STYLE, 0);
    }
    LONG style = winsim::Inspect(orders).style;
    EXPECT_EQ(Call(kDoDialogWindow, "Orders"), "1");
    EXPECT_EQ(winsim::Inspect(orders).classStyle, (DWORD)CS_NOCLOSE);
    EXPECT_EQ(winsim::Inspect(orders).style, style ^ 0xCF0000);
}

TEST_F(DesktopTest, SharedCloseBitBetweenDialogAndClosePair)
{
    StartHost();
    AddDocument("Orders");
    ASSERT_EQ(Call(kDoHideWindowClose, "Orders"), "1");
    ASSERT_EQ(Call(kDoDialogWindow, "Orders"), "1");  // clears CS_NOCLOSE again
    EXPECT_EQ(Call(kDoShowWindowClose, "Orders"), "0");
    ASSERT_EQ(Call(kDoDialogWindow, "Orders"), "1");  // sets it
    EXPECT_EQ(Call(kDoShowWindowClose, "Orders"), "1");
}

TEST_F(DesktopTest, SetWindowTitleReadsFieldsOneThreeTwo)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    std::string title58(58, 'n');
    const std::pair<std::string, std::string> steps[] = {
        {"Orders||Sales", "Sales"},
        {"Sales|", ""},
        {"||Back", "Back"},
        {"Back||Back", "Back"},
        {"Back||" + title58, title58},
        {title58 + "||A|B", "A"},
    };
    for (const auto &step : steps) {
        EXPECT_EQ(Call(kDoSetWindowTitle, step.first), "1") << step.first;
        EXPECT_EQ(winsim::Inspect(orders).title, step.second) << step.first;
    }
    EXPECT_EQ(Call(kDoSetWindowTitle, "A||" + title58 + "x"), "0");
    EXPECT_EQ(Call(kDoSetWindowTitle, "Orders||x"), "0") << "the old title is gone";
    EXPECT_EQ(winsim::Inspect(orders).title, "A");
    winsim::FailCall("SetWindowTextA");
    EXPECT_EQ(Call(kDoSetWindowTitle, "A||Z"), "0");
}

TEST_F(DesktopTest, SetWindowTitleWithOverlongFieldSearchesNothing)
{
    StartHost();
    AddDocument("Orders");
    EXPECT_EQ(Call(kDoSetWindowTitle, "Orders|ab|" + std::string(59, 'x')), "0");
    EXPECT_TRUE(winsim::CallLog().empty());
}

}  // namespace
