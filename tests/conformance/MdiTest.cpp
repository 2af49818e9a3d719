// Maximized and minimized document windows, and the buttons of a maximized
// document (its window menu first, minimize, restore and close last) that
// the MDI client keeps in the frame's menu bar while the frame has one.
#include "ConformanceFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace conformance {
namespace {

// The MDI client of the fixture's frame inside its 2-pixel edge.
constexpr LONG kClientWidth = 788;
constexpr LONG kClientHeight = 520;

class MdiTest : public ConformanceTest {
protected:
    // The frame's menu bar as text: "File Edit View Window" for the host's own items, a
    // maximized document's buttons as "[its title]", "min", "restore" and
    // "close" ("[?]" for a window menu of no document of the test's).
    std::string MenuText(HMENU menu = NULL) const
    {
        if (menu == NULL)
            menu = host_.menu;
        std::string text;
        int count = GetMenuItemCount(menu);
        for (int i = 0; i < count; ++i) {
            std::string item = "?";
            if (HMENU popup = GetSubMenu(menu, i)) {
                item = "[?]";
                for (HWND doc : docs_)
                    if (IsWindow(doc) && popup == GetSystemMenu(doc, FALSE))
                        item = "[" + Title(doc) + "]";
            } else {
                switch (GetMenuItemID(menu, i)) {
                case 1:
                    item = "File";
                    break;
                case 2:
                    item = "Edit";
                    break;
                case 3:
                    item = "View";
                    break;
                case 4:
                    item = "Window";
                    break;
                case SC_MINIMIZE:
                    item = "min";
                    break;
                case SC_RESTORE:
                    item = "restore";
                    break;
                case SC_CLOSE:
                    item = "close";
                    break;
                }
            }
            text += (i ? " " : "") + item;
        }
        return text;
    }

    // The picture of the menu's first item: a bitmap of its own, or none.
    static HBITMAP Picture(HMENU menu)
    {
        MENUITEMINFOA item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_BITMAP;
        return GetMenuItemInfoA(menu, 0, TRUE, &item) ? item.hbmpItem : NULL;
    }

    static std::string Title(HWND window)
    {
        char title[16] = "";
        GetWindowTextA(window, title, sizeof title);
        return title;
    }

    // "max", "min" or "normal", " hidden" after it for a hidden window.
    static std::string State(HWND doc)
    {
        std::string state = IsZoomed(doc) ? "max" : IsIconic(doc) ? "min" : "normal";
        return state + (IsWindowVisible(doc) ? "" : " hidden");
    }

    // The active document's title, and "max" after it when it is maximized.
    std::string Active() const
    {
        BOOL maximized = 77;
        HWND active = reinterpret_cast<HWND>(
            SendMessageA(host_.mdi, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
        std::string name = !active ? "none" : IsWindow(active) ? Title(active) : "destroyed";
        return name + (maximized ? " max" : "");
    }

    static RECT InParent(HWND window)
    {
        RECT rect = WindowRect(window);
        MapWindowPoints(NULL, GetParent(window), reinterpret_cast<LPPOINT>(&rect), 2);
        return rect;
    }

    HWND Doc(const char *title, int x, int y)
    {
        docs_.push_back(MakeMdiDocument(host_, title, x, y));
        return docs_.back();
    }

    Host host_ = {};
    std::vector<HWND> docs_;
};

std::string RectText(const RECT &r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// A maximized document's frame lies around the whole client area; a
// minimized one is an icon of 160 by 24 at the client area's bottom left.
const RECT kMaximized = {-4, -23, kClientWidth + 4, kClientHeight + 4};
const RECT kIcon = {0, kClientHeight - 24, 160, kClientHeight};
const RECT kNormal = {10, 20, 310, 220};

struct ShowCase {
    const char *label;
    std::vector<int> before;  // ShowWindow commands that bring the document there
    int command;
    const char *state;
};

class ShowStateTest : public MdiTest, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(ShowStateTest, CommandKeepsOrChangesTheState)
{
    const ShowCase &c = GetParam();
    host_ = MakeHost();
    HWND doc = Doc("A", 10, 20);
    for (int command : c.before)
        ShowWindow(doc, command);
    ShowWindow(doc, c.command);
    std::string state = State(doc);
    EXPECT_EQ(state, c.state) << c.label;
    RECT expected = state == "max" ? kMaximized : state == "min" ? kIcon : kNormal;
    EXPECT_EQ(RectText(InParent(doc)), RectText(expected)) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Commands, ShowStateTest,
    ::testing::Values(
        ShowCase{"maximize", {}, SW_MAXIMIZE, "max"},
        ShowCase{"maximized, show as it is", {SW_MAXIMIZE}, SW_SHOWNA, "max"},
        ShowCase{"maximized, show without activating", {SW_MAXIMIZE}, SW_SHOWNOACTIVATE, "normal"},
        ShowCase{"maximized, restore", {SW_MAXIMIZE}, SW_RESTORE, "normal"},
        ShowCase{"minimize", {}, SW_MINIMIZE, "min"},
        ShowCase{"minimized, minimize again", {SW_MINIMIZE}, SW_MINIMIZE, "min"},
        ShowCase{"maximized, show maximized", {SW_MAXIMIZE}, SW_SHOWMAXIMIZED, "max"},
        ShowCase{"minimized, show as it is", {SW_MINIMIZE}, SW_SHOWNA, "min"},
        ShowCase{"minimized, show without activating", {SW_MINIMIZE}, SW_SHOWNOACTIVATE, "normal"},
        ShowCase{"maximized and hidden, show as it is", {SW_MAXIMIZE, SW_HIDE}, SW_SHOWNA, "max"},
        ShowCase{"minimized and hidden, show as it is", {SW_MINIMIZE, SW_HIDE}, SW_SHOWNA, "min"},
        ShowCase{
            "minimized from maximized, restore", {SW_MAXIMIZE, SW_MINIMIZE}, SW_RESTORE, "max"},
        ShowCase{"minimized from maximized, show normal",
                 {SW_MAXIMIZE, SW_MINIMIZE},
                 SW_SHOWNORMAL,
                 "max"},
        ShowCase{"minimized from maximized, show without activating",
                 {SW_MAXIMIZE, SW_MINIMIZE},
                 SW_SHOWNOACTIVATE,
                 "normal"}));

// One document at a time is maximized, the active one; its buttons are in
// the frame's menu bar.
TEST_F(MdiTest, ButtonsFollowTheMaximizedDocument)
{
    host_ = MakeHost();
    HWND a = Doc("A", 10, 20);
    HWND b = Doc("B", 40, 50);
    EXPECT_EQ(MenuText(), "File Edit View Window");
    EXPECT_EQ(Active(), "B");
    ShowWindow(a, SW_MAXIMIZE);
    EXPECT_EQ(MenuText(), "[A] File Edit View Window min restore close");
    EXPECT_EQ(Active(), "A max");
    ShowWindow(b, SW_MAXIMIZE);
    EXPECT_EQ(State(a), "normal");
    EXPECT_EQ(MenuText(), "[B] File Edit View Window min restore close");
    // A document brought to the top is activated, and takes over the
    // maximized state; a disabled one is not activated.
    BringWindowToTop(a);
    EXPECT_EQ(State(a) + " " + State(b), "max normal");
    EXPECT_EQ(MenuText(), "[A] File Edit View Window min restore close");
    EnableWindow(b, FALSE);
    BringWindowToTop(b);
    EXPECT_EQ(Active(), "A max");
    EnableWindow(b, TRUE);
    // Minimized, the active document hands the activation on; restored, it
    // is maximized again.
    ShowWindow(a, SW_MINIMIZE);
    EXPECT_EQ(MenuText(), "File Edit View Window");
    EXPECT_EQ(Active(), "B");
    ShowWindow(a, SW_RESTORE);
    EXPECT_EQ(State(a), "max");
    EXPECT_EQ(MenuText(), "[A] File Edit View Window min restore close");
    // A shown document made meanwhile restores the maximized one.
    HWND c = Doc("C", 70, 80);
    EXPECT_EQ(State(a) + " " + State(c), "normal normal");
    EXPECT_EQ(MenuText(), "File Edit View Window");
    EXPECT_EQ(Active(), "C");
    // The maximized document keeps filling the client when that is resized.
    ShowWindow(c, SW_MAXIMIZE);
    MoveWindow(host_.mdi, 0, 30, 600, 300, TRUE);
    EXPECT_EQ(RectText(InParent(c)), "-4,-23,600,300");
}

// Without a menu bar the client can neither add the buttons nor take them
// out: a menu detached and attached again misses what happened meanwhile.
// Taken out, and the document restored and maximized again, they come back
// right.
TEST_F(MdiTest, DetachedMenuMissesTheClientsChanges)
{
    host_ = MakeHost();
    HWND a = Doc("A", 10, 20);
    HWND b = Doc("B", 40, 50);
    ShowWindow(a, SW_MAXIMIZE);
    SetMenu(host_.frame, NULL);
    ShowWindow(a, SW_RESTORE);
    SetMenu(host_.frame, host_.menu);
    EXPECT_EQ(MenuText(), "[A] File Edit View Window min restore close")
        << "buttons of no maximized document";
    EXPECT_EQ(Active(), "A");
    EXPECT_TRUE(RemoveMenu(host_.menu, 0, MF_BYPOSITION));
    for (UINT command : {SC_MINIMIZE, SC_RESTORE, SC_CLOSE})
        EXPECT_TRUE(DeleteMenu(host_.menu, command, MF_BYCOMMAND));
    EXPECT_EQ(MenuText(), "File Edit View Window");
    EXPECT_TRUE(IsMenu(GetSystemMenu(a, FALSE))) << "the window menu is only taken out";

    SetMenu(host_.frame, NULL);
    ShowWindow(b, SW_MAXIMIZE);
    SetMenu(host_.frame, host_.menu);
    EXPECT_EQ(MenuText(), "File Edit View Window") << "no buttons of the maximized document";
    ShowWindow(b, SW_SHOWNOACTIVATE);
    EXPECT_EQ(State(b), "normal");
    ShowWindow(b, SW_SHOWMAXIMIZED);
    EXPECT_EQ(MenuText(), "[B] File Edit View Window min restore close");
    EXPECT_EQ(RectText(InParent(b)), RectText(kMaximized));

    SetMenu(host_.frame, NULL);
    ShowWindow(a, SW_MAXIMIZE);
    SetMenu(host_.frame, host_.menu);
    EXPECT_EQ(MenuText(), "[B] File Edit View Window min restore close")
        << "another document's buttons";
    // Restoring takes them out, whichever document they belong to.
    ShowWindow(a, SW_SHOWNOACTIVATE);
    EXPECT_EQ(MenuText(), "File Edit View Window");
    ShowWindow(a, SW_SHOWMAXIMIZED);
    EXPECT_EQ(MenuText(), "[A] File Edit View Window min restore close");
    EXPECT_EQ(Active(), "A max");

    // The maximized active document destroyed: the client still answers
    // its handle, not maximized; a detached menu keeps its buttons.
    SetMenu(host_.frame, NULL);
    DestroyWindow(a);
    EXPECT_EQ(Active(), "destroyed");
    EXPECT_EQ(MenuText(), "[?] File Edit View Window min restore close");
    EXPECT_FALSE(IsMenu(GetSubMenu(host_.menu, 0)));
    SetMenu(host_.frame, host_.menu);
}

// Handed a frame menu with WM_MDISETMENU, the client attaches it and moves
// the maximized document's buttons there, answering the menu it held; the
// menu it already holds it ignores, attached or not. The window menu's item
// shows a picture of the document's icon, a bitmap of the client's that goes
// when the client takes the buttons out. A menu that holds buttons gets a
// second set.
TEST_F(MdiTest, NewFrameMenuTakesTheButtons)
{
    host_ = MakeHost();
    HWND a = Doc("A", 10, 20);
    HWND b = Doc("B", 40, 50);
    ShowWindow(a, SW_MAXIMIZE);
    HBITMAP pictureA = Picture(host_.menu);
    EXPECT_EQ(GetObjectType(pictureA), static_cast<DWORD>(OBJ_BITMAP));
    SetMenu(host_.frame, NULL);
    ShowWindow(b, SW_MAXIMIZE);
    EXPECT_EQ(GetObjectType(pictureA), static_cast<DWORD>(OBJ_BITMAP)) << "left in the menu";
    auto setMenu = [this](HMENU menu) {
        return reinterpret_cast<HMENU>(
            SendMessageA(host_.mdi, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0));
    };
    EXPECT_EQ(setMenu(host_.menu), host_.menu);
    EXPECT_EQ(GetMenu(host_.frame), nullptr) << "the menu it holds is not attached";

    HMENU other = CreateMenu();
    AppendMenuA(other, MF_STRING, 1, "File");
    EXPECT_EQ(setMenu(other), host_.menu);
    EXPECT_EQ(GetMenu(host_.frame), other);
    EXPECT_EQ(MenuText(other), "[B] File min restore close");
    EXPECT_EQ(MenuText(), "[A] File Edit View Window min restore close")
        << "a menu not attached is left";
    HBITMAP pictureB = Picture(other);
    EXPECT_EQ(setMenu(host_.menu), other);
    EXPECT_EQ(MenuText(), "[B] [A] File Edit View Window min restore close min restore close")
        << "a second set beside the ones it holds";
    EXPECT_EQ(MenuText(other), "File");
    EXPECT_EQ(GetObjectType(pictureB), 0u) << "deleted with the buttons";

    // Handed over and back, with the document maximized all along.
    SetMenu(host_.frame, NULL);
    HMENU fresh = CreateMenu();
    AppendMenuA(fresh, MF_STRING, 1, "File");
    AppendMenuA(fresh, MF_STRING, 2, "Edit");
    EXPECT_EQ(setMenu(other), host_.menu);
    EXPECT_EQ(setMenu(fresh), other);
    EXPECT_EQ(GetMenu(host_.frame), fresh);
    EXPECT_EQ(MenuText(fresh), "[B] File Edit min restore close");
    EXPECT_EQ(MenuText(other), "File");
    EXPECT_EQ(Active(), "B max") << "nothing restored on the way";
    // The client takes them out itself, with their picture.
    HBITMAP picture = Picture(fresh);
    EXPECT_EQ(GetObjectType(picture), static_cast<DWORD>(OBJ_BITMAP));
    ShowWindow(a, SW_MAXIMIZE);
    EXPECT_EQ(MenuText(fresh), "[A] File Edit min restore close");
    EXPECT_EQ(GetObjectType(picture), 0u);
    ShowWindow(a, SW_RESTORE);
    EXPECT_EQ(MenuText(fresh), "File Edit");
    EXPECT_TRUE(DeleteObject(pictureA));
    DestroyMenu(other);
}

// A document shown and raised beneath the maximized one, without the
// activation, stays a plain document there: the maximized one keeps its
// state and the activation. Raised to the top without it, an icon stays an
// icon and the active document stays active.
TEST_F(MdiTest, RaisedWithoutActivationNothingChangesHands)
{
    host_ = MakeHost();
    HWND a = Doc("A", 10, 20);
    HWND b = Doc("B", 40, 50);
    Doc("C", 70, 80);
    constexpr UINT kShowRaise = SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED | SWP_SHOWWINDOW;
    ShowWindow(a, SW_MAXIMIZE);
    ShowWindow(b, SW_HIDE);
    EXPECT_TRUE(SetWindowPos(b, a, 0, 0, 0, 0, kShowRaise | SWP_NOACTIVATE));
    EXPECT_EQ(State(a) + " " + State(b), "max normal");
    EXPECT_EQ(Active(), "A max");
    EXPECT_EQ(Titles(host_.mdi), (std::vector<std::string>{"A", "B", "C"}));
    // An icon's frame changed and raised beneath the maximized document: its
    // client area is the icon's, so it is not sized, and it hands nothing on.
    ShowWindow(a, SW_RESTORE);
    ShowWindow(b, SW_MINIMIZE);
    ShowWindow(a, SW_MAXIMIZE);
    SetWindowLongA(b, GWL_STYLE, GetWindowLongA(b, GWL_STYLE) ^ WS_THICKFRAME);
    EXPECT_TRUE(SetWindowPos(b, a, 0, 0, 0, 0, kShowRaise | SWP_NOACTIVATE));
    EXPECT_EQ(State(a) + " " + State(b), "max min");
    EXPECT_EQ(Active(), "A max");
    EXPECT_EQ(Titles(host_.mdi)[1], "B");
    ShowWindow(a, SW_RESTORE);
    std::string active = Active();
    std::vector<std::string> order = Titles(host_.mdi);
    order.erase(std::find(order.begin(), order.end(), "B"));
    order.insert(order.begin(), "B");
    EXPECT_TRUE(SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, kShowRaise | SWP_NOACTIVATE));
    EXPECT_EQ(State(b), "min");
    EXPECT_EQ(Active(), active);
    EXPECT_EQ(Titles(host_.mdi), order);
    // With the activation, a plain document raised becomes the active one.
    EXPECT_TRUE(SetWindowPos(a, HWND_TOP, 0, 0, 0, 0, kShowRaise));
    EXPECT_EQ(Active(), "A");
    EXPECT_EQ(Titles(host_.mdi).front(), "A");
}

TEST_F(MdiTest, IconsLineUpAlongTheBottom)
{
    host_ = MakeHost();
    HWND a = Doc("A", 10, 20);
    HWND b = Doc("B", 40, 50);
    HWND c = Doc("C", 70, 80);
    BringWindowToTop(a);
    ShowWindow(c, SW_MINIMIZE);
    EXPECT_EQ(Active(), "B") << "activated after it, although it was not active";
    ShowWindow(b, SW_MINIMIZE);
    EXPECT_EQ(RectText(InParent(c)), RectText(kIcon));
    EXPECT_EQ(RectText(InParent(b)), "160,496,320,520");
    ShowWindow(c, SW_RESTORE);
    ShowWindow(a, SW_MINIMIZE);
    EXPECT_EQ(RectText(InParent(a)), RectText(kIcon)) << "the first free place";
    // A minimized window is moved as its icon, and keeps the icon's size.
    MoveWindow(a, 50, 60, 100, 10, TRUE);
    EXPECT_EQ(RectText(InParent(a)), "50,60,210,84");
    SetWindowPos(a, NULL, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(RectText(InParent(a)), "50,60,210,84");
    ShowWindow(a, SW_RESTORE);
    EXPECT_EQ(RectText(InParent(a)), RectText(kNormal));
}

// A document maximized without the activation, as a disabled one is, takes
// the maximized state from the one that had it, which is restored without
// the activation; the buttons are the new one's.
TEST_F(MdiTest, DocumentMaximizedWithoutTheActivationTakesOver)
{
    host_ = MakeHost();
    HWND a = Doc("A", 10, 20);
    HWND b = Doc("B", 40, 50);
    ShowWindow(a, SW_MAXIMIZE);
    EnableWindow(b, FALSE);
    ShowWindow(b, SW_SHOWMAXIMIZED);
    EXPECT_EQ(State(a) + " " + State(b), "normal max");
    EXPECT_EQ(MenuText(), "[B] File Edit View Window min restore close");
    EXPECT_EQ(Active(), "A");
}

// WM_MDISETMENU without a menu, or with a handle that is no menu, changes
// nothing and answers 0.
TEST_F(MdiTest, SetMenuWithoutAMenu)
{
    host_ = MakeHost();
    for (HMENU menu : {static_cast<HMENU>(NULL), reinterpret_cast<HMENU>(0x1234)})
        EXPECT_EQ(SendMessageA(host_.mdi, WM_MDISETMENU, reinterpret_cast<WPARAM>(menu), 0), 0);
    EXPECT_EQ(GetMenu(host_.frame), host_.menu);
}

}  // namespace
}  // namespace conformance
