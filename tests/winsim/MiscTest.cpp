// The cursor counter, beeps, the string functions, the message queue and the
// task bar.
#include "WinsimFixture.h"

#include <cstring>

using namespace winsim_test;

namespace {

TEST_F(WinsimTest, CursorCounterStepsByOne)
{
    EXPECT_EQ(winsim::CursorCount(), 0);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    winsim::SetCursorCount(7);
    EXPECT_EQ(ShowCursor(5), 8) << "any nonzero value shows";
    EXPECT_EQ(winsim::CursorCount(), 8);
}

TEST_F(WinsimTest, BeepsAreRecorded)
{
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0x30));
    EXPECT_EQ(winsim::Beeps(), (std::vector<UINT>{0, 0x30}));
    EXPECT_EQ(winsim::CallsTo("MessageBeep")[1].args[0], "0x30");
}

TEST_F(WinsimTest, StringFunctions)
{
    char buffer[8];
    EXPECT_EQ(lstrcpyA(buffer, "xyz"), buffer);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(lstrcpyA(buffer, NULL), nullptr);
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(lstrlenA(NULL), 0);
}

TEST_F(WinsimTest, PostedMessagesWaitInTheQueue)
{
    HWND parent = Make("p", WS_OVERLAPPEDWINDOW);
    HWND child = Make("c", WS_CHILD, 0, 0, 5, 5, parent);
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x777), WM_USER, 0, 0));
    EXPECT_TRUE(PostMessageA(child, WM_USER + 1, 3, 4));
    EXPECT_TRUE(PostMessageA(parent, WM_CLOSE, 0, 0));
    MSG msg = {};
    EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_USER + 2, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, parent, WM_USER, WM_USER + 1, PM_NOREMOVE))
        << "a window's filter takes its children's messages";
    EXPECT_EQ(msg.hwnd, child);
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE));
    EXPECT_FALSE(TranslateMessage(&msg));
    Messages().clear();
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_FALSE(IsWindow(parent)) << "WM_CLOSE reached DefWindowProc";
    EXPECT_EQ(Messages().front(), "CLOSE p");
    PostMessageA(NULL, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    HWND gone = Make("g", WS_POPUP);
    PostMessageA(gone, WM_USER, 0, 0);
    DestroyWindow(gone);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) << "a window takes its messages along";
}

TEST_F(WinsimTest, TaskBarIsAShellWindowAtTheBottom)
{
    HWND active = Make("app", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND bar = winsim::CreateTaskBar();
    winsim::WindowInfo info = winsim::Inspect(bar);
    EXPECT_EQ(info.className, "Shell_TrayWnd");
    EXPECT_EQ(info.title, "");
    EXPECT_EQ(static_cast<DWORD>(info.style), 0x94000000u);
    EXPECT_EQ(static_cast<DWORD>(info.exStyle), 0x08000000u);
    EXPECT_EQ(info.rect, Rect(0, 738, 1024, 768));
    EXPECT_EQ(winsim::ActiveWindow(), active) << "it never takes activation";
    EXPECT_EQ(winsim::Children(NULL).front(), bar);
    EXPECT_EQ(FindWindowExA(NULL, NULL, "shell_traywnd", ""), bar);
    EXPECT_TRUE(winsim::RegisteredClasses() == std::vector<std::string>{"Probe"});
    BringWindowToTop(active);
    EXPECT_EQ(winsim::Children(NULL).front(), active) << "it is not topmost";
}

}  // namespace
