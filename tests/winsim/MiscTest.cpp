// The cursor counter, beeps, the string functions, the message queue, the task
// bar and the picture of the screen.
#include "WinsimFixture.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

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

struct Pixel {
    int r, g, b;
};

Pixel At(const std::string &bmp, int x, int y)
{
    uint32_t width = 0, height = 0;
    std::memcpy(&width, &bmp[18], 4);
    std::memcpy(&height, &bmp[22], 4);
    size_t stride = (width * 3 + 3) & ~3u;
    size_t at = 54 + (height - 1 - static_cast<size_t>(y)) * stride + static_cast<size_t>(x) * 3;
    return {static_cast<unsigned char>(bmp[at + 2]), static_cast<unsigned char>(bmp[at + 1]),
            static_cast<unsigned char>(bmp[at])};
}

TEST_F(WinsimTest, RenderScreenDrawsWindowsInZOrder)
{
    winsim::SetScreenSize(320, 200);
    HWND back = Make("Back", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 150, 100);
    Make("Front", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 50, 150, 100);
    Make("Hidden", WS_POPUP | WS_VISIBLE, 0, 0, 5, 5, NULL);
    ShowWindow(FindWindowA(NULL, "Hidden"), SW_HIDE);
    std::string file = ::testing::TempDir() + "winsim_screen.bmp";
    ASSERT_TRUE(winsim::RenderScreen(file));
    std::ifstream in(file, std::ios::binary);
    std::string bmp((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bmp.size(), 54u + 200u * 960u);
    EXPECT_EQ(bmp.substr(0, 2), "BM");
    Pixel desktop = At(bmp, 2, 2);
    EXPECT_EQ(desktop.r, 0);
    EXPECT_EQ(desktop.g, 128);
    EXPECT_EQ(desktop.b, 128);
    Pixel frontCaption = At(bmp, 200, 55);
    EXPECT_EQ(frontCaption.b, 128) << "the active window's caption";
    EXPECT_EQ(frontCaption.r, 0);
    Pixel backCaption = At(bmp, 20, 16);
    EXPECT_EQ(backCaption.r, 128) << "an inactive caption";
    Pixel overlap = At(bmp, 120, 90);
    EXPECT_EQ(overlap.r, 255) << "the front window's white client covers the back one";
    EXPECT_NE(winsim::ActiveWindow(), back);
    std::remove(file.c_str());
}

}  // namespace
