// An edit control's limit, the screen's metrics and the code page's lead
// bytes, as the plug-in and the stand-in host rely on them.
#include "ConformanceFixture.h"

#include <string>

namespace conformance {
namespace {

std::string TextOf(HWND window)
{
    char text[64] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
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

TEST_F(ConformanceTest, OneMonitorIsTheWholeVirtualScreen)
{
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 1);
    EXPECT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_YVIRTUALSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), kScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYVIRTUALSCREEN), kScreenHeight);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenWidth);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), kScreenHeight);
}

// The tests run under a single-byte code page: no byte leads a character.
TEST_F(ConformanceTest, SingleByteCodePageHasNoLeadBytes)
{
    for (int b : {0x7C, 0x81, 0x83, 0x9F, 0xE0, 0xFC})
        EXPECT_FALSE(IsDBCSLeadByte(static_cast<BYTE>(b))) << b;
}

}  // namespace
}  // namespace conformance
