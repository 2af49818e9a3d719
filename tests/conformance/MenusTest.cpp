// Menus (winsim/src/Menus.cpp): a top-level window's menu bar, which takes a
// line of its non-client area, and menu handles.
#include "ConformanceFixture.h"

#include "../common/RectOps.h"

namespace conformance {
namespace {

// A menu bar of one line takes 19 pixels of the client area; SetMenu takes
// no child's menu and no handle that is not a menu, and a destroyed menu's
// handle stays with its window.
TEST_F(ConformanceTest, MenuBarTakesClientRoom)
{
    HWND app = Make("Host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600);
    HWND child = Make("Child", WS_CHILD, 0, 0, 50, 50, app);
    HMENU menu = CreateMenu();
    ASSERT_TRUE(AppendMenuA(menu, MF_STRING, 1, "&File"));
    ASSERT_TRUE(SetMenu(app, menu));
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 42, 796, 596));
    ASSERT_TRUE(SetMenu(app, NULL));
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 23, 796, 596));
    EXPECT_EQ(GetMenu(app), nullptr);
    EXPECT_FALSE(SetMenu(child, menu)) << "a child has no menu bar";
    EXPECT_FALSE(SetMenu(app, reinterpret_cast<HMENU>(0x1234)));
    EXPECT_EQ(GetMenu(app), nullptr);
    ASSERT_TRUE(SetMenu(app, menu));
    EXPECT_EQ(GetMenu(app), menu);
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 42, 796, 596));
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(GetMenu(app), menu) << "the window keeps the handle";
}

}  // namespace
}  // namespace conformance
