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

// Control characters and DEL type nothing; a character typed where the
// whole text is not selected goes at its end.
TEST_F(ConformanceTest, EditTypesPrintableCharactersOnly)
{
    HWND parent = Make("Parent", WS_OVERLAPPEDWINDOW);
    HWND edit = MakeOf("Edit", "ab", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 200, 24, parent);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (int c : {0x01, 0x07, 0x1B, 0x7F})
        SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(c), 1);
    EXPECT_EQ(TextOf(edit), "ab");
    SendMessageA(edit, WM_CHAR, 'c', 1);
    EXPECT_EQ(TextOf(edit), "c") << "the selection stayed";
    SendMessageA(edit, WM_CHAR, 'd', 1);
    EXPECT_EQ(TextOf(edit), "cd");
}

// A message for no window answers 0; WM_SYSCOMMAND's close reaches WM_CLOSE,
// which the default procedure turns into DestroyWindow.
TEST_F(ConformanceTest, DefaultProcedure)
{
    char text[8] = "XXXXXXX";
    EXPECT_EQ(SendMessageA(kNoWindow, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 0);
    EXPECT_EQ(DefWindowProcA(kNoWindow, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)),
              0);
    EXPECT_EQ(text[0], 'X');
    HWND window = MakeTraced("w", WS_POPUP);
    EXPECT_EQ(SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 1);
    EXPECT_STREQ(text, "w");
    Traced().messages.clear();
    EXPECT_EQ(SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0), 0);
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"CLOSE w", "DESTROY w", "NCDESTROY w"}));
    EXPECT_FALSE(IsWindow(window));
}

// PeekMessageA's filters: a window takes its own messages and its
// children's; -1 takes those posted to no window; a range of messages.
TEST_F(ConformanceTest, PeekMessageFilters)
{
    Pump();
    HWND a = Make("a", WS_POPUP);
    HWND b = Make("b", WS_POPUP);
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(NULL, WM_USER + 2, 0, 0);
    PostMessageA(b, WM_USER + 3, 0, 0);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageA(&msg, b, WM_USER, WM_USER + 9, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3));
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_USER, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_USER, WM_USER + 9, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_USER, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, a);
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_USER, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
}

}  // namespace
}  // namespace conformance
