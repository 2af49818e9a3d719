// Messages (winsim/src/Messages.cpp): the posted-message queue, the default
// window procedure, and what an edit control does with its limit and the
// characters typed into it, as the plug-in and the stand-in host rely on
// them.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

TEST_F(ConformanceTest, PostedMessagesWaitInTheQueue)
{
    Pump();
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
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_USER, WM_USER + 1, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, parent);
    EXPECT_FALSE(TranslateMessage(&msg));
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_FALSE(IsWindow(parent)) << "WM_CLOSE reached DefWindowProc";
    EXPECT_FALSE(IsWindow(child));
    PostMessageA(NULL, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    HWND gone = Make("g", WS_POPUP);
    PostMessageA(gone, WM_USER, 0, 0);
    DestroyWindow(gone);
    EXPECT_FALSE(PeekMessageA(&msg, NULL, WM_USER, WM_USER, PM_REMOVE))
        << "a window takes its messages along";
}

// The limit stops what the user types, not what is set with WM_SETTEXT; a
// character typed over the whole text selected replaces it.
TEST_F(ConformanceTest, EditLimitStopsTypingOnly)
{
    HWND parent = Make("Parent", WS_OVERLAPPEDWINDOW);
    HWND edit = MakeOf("Edit", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 200, 24, parent);
    SendMessageA(edit, EM_LIMITTEXT, 5, 0);
    for (char c : std::string("abcdefgh"))
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ(TextOf(edit), "abcde");
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, 'x', 1);
    EXPECT_EQ(TextOf(edit), "x");
    EXPECT_TRUE(SetWindowTextA(edit, "0123456789"));
    EXPECT_EQ(TextOf(edit), "0123456789");
}

}  // namespace
}  // namespace conformance
