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

// Set or taken away, a menu bar lays the frame out again: the client area
// moves and shrinks or grows.
TEST_F(ConformanceTest, MenuBarChangesTheClientArea)
{
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "&File");
    HWND app = MakeTraced("Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600, NULL, menu);
    Traced().messages.clear();
    ASSERT_TRUE(SetMenu(app, NULL));
    EXPECT_EQ(GetMenu(app), nullptr);
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 23, 796, 596));
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"MOVE 4,23", "SIZE 792,573"}));
    Traced().messages.clear();
    ASSERT_TRUE(SetMenu(app, menu));
    EXPECT_EQ(GetMenu(app), menu);
    EXPECT_EQ(ClientOnScreen(app), Rect(4, 42, 796, 596));
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"MOVE 4,42", "SIZE 792,554"}));
    SetMenu(app, NULL);
    DestroyMenu(menu);
}

// Items by position and by command, found inside pop-ups too; DeleteMenu
// destroys a pop-up it takes out, RemoveMenu does not; a menu goes with its
// pop-ups.
TEST_F(ConformanceTest, MenuItemsAndPopUps)
{
    HMENU bar = CreateMenu();
    HMENU file = CreateMenu();
    HMENU edit = CreateMenu();
    AppendMenuA(file, MF_STRING, 5, "&Open");
    AppendMenuA(file, MF_STRING, 6, "&Close");
    AppendMenuA(edit, MF_STRING, 7, "&Copy");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit");
    AppendMenuA(bar, MF_STRING, 8, "&Help");
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(GetSubMenu(bar, 0), file);
    EXPECT_EQ(GetSubMenu(bar, 2), nullptr) << "no pop-up";
    EXPECT_EQ(GetSubMenu(bar, -1), nullptr);
    EXPECT_EQ(GetMenuItemID(bar, 0), 0xFFFFFFFFu) << "a pop-up has no command";
    EXPECT_EQ(GetMenuItemID(bar, 2), 8u);
    EXPECT_EQ(GetMenuItemID(bar, 3), 0xFFFFFFFFu) << "past the end";
    EXPECT_EQ(GetMenuItemCount(reinterpret_cast<HMENU>(0x1234)), -1);
    EXPECT_TRUE(DeleteMenu(bar, 6, MF_BYCOMMAND)) << "found in the pop-up";
    EXPECT_EQ(GetMenuItemCount(file), 1);
    EXPECT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_FALSE(DeleteMenu(bar, 77, MF_BYCOMMAND));
    EXPECT_FALSE(RemoveMenu(bar, 3, MF_BYPOSITION));
    EXPECT_FALSE(RemoveMenu(reinterpret_cast<HMENU>(0x1234), 5, MF_BYCOMMAND));
    EXPECT_FALSE(RemoveMenu(reinterpret_cast<HMENU>(0x1234), 0, MF_BYPOSITION));
    EXPECT_TRUE(RemoveMenu(bar, 1, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(edit)) << "only taken out";
    EXPECT_TRUE(AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(edit), "&Edit"));
    EXPECT_TRUE(DeleteMenu(bar, 0, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(file)) << "destroyed with its item";
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(edit)) << "destroyed with the menu";
    EXPECT_FALSE(AppendMenuA(bar, MF_STRING, 9, "x"));
}

}  // namespace
}  // namespace conformance
