// Classes, creation, the window tree, Z order, search and destruction.
#include "WinsimFixture.h"

#include <algorithm>
#include <cstring>

using namespace winsim_test;

namespace {

ATOM RegisterNamed(const char *name, HINSTANCE instance, WNDPROC proc = DefWindowProcA)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}

std::vector<std::string> Titles(HWND parent)
{
    std::vector<std::string> titles;
    for (HWND w : winsim::Children(parent))
        titles.push_back(winsim::Inspect(w).title);
    return titles;
}

void AddAll(HWND parent, std::vector<HWND> *out)
{
    for (HWND w : winsim::Children(parent)) {
        out->push_back(w);
        AddAll(w, out);
    }
}

TEST_F(WinsimTest, InspectAllTellsWhatInspectTellsOfEveryWindowInTheTree)
{
    Host host = MakeHost(WS_CHILD | WS_VISIBLE | MDIS_ALLCHILDSTYLES);
    MakeDocument(host, "Orders", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hidden = MakeDocument(host, "a title longer than the short-string room", WS_CHILD);
    Make("pop-up", WS_POPUP | WS_VISIBLE, 300, 200);
    std::vector<std::pair<HWND, winsim::WindowInfo>> all;
    for (int round = 0; round < 2; ++round) {
        winsim::InspectAll(&all);
        std::vector<HWND> expected;
        AddAll(NULL, &expected);
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(all.size(), expected.size());
        for (size_t i = 0; i < all.size(); ++i) {
            SCOPED_TRACE(i);
            winsim::WindowInfo one = winsim::Inspect(expected[i]);
            EXPECT_EQ(all[i].first, expected[i]);
            EXPECT_EQ(all[i].second.className, one.className);
            EXPECT_EQ(all[i].second.title, one.title);
            EXPECT_EQ(all[i].second.parent, one.parent);
            EXPECT_EQ(all[i].second.style, one.style);
            EXPECT_EQ(all[i].second.exStyle, one.exStyle);
            EXPECT_EQ(all[i].second.classStyle, one.classStyle);
            EXPECT_EQ(all[i].second.rect, one.rect);
            EXPECT_EQ(all[i].second.client, one.client);
            EXPECT_EQ(all[i].second.visible, one.visible);
            EXPECT_EQ(all[i].second.enabled, one.enabled);
            EXPECT_EQ(all[i].second.menu, one.menu);
            EXPECT_EQ(all[i].second.instance, one.instance);
            EXPECT_TRUE(all[i].second.exists);
        }
        // Filled again in place: a window gone is gone from the list.
        bool listed = std::any_of(all.begin(), all.end(),
                                  [hidden](const auto &entry) { return entry.first == hidden; });
        EXPECT_EQ(listed, round == 0);
        DestroyWindow(hidden);
    }
}

TEST_F(WinsimTest, RegisterClassAnswersAtomsPerInstance)
{
    ATOM other = RegisterNamed("Other", Instance());
    EXPECT_EQ(other, 0xC001) << "Probe took 0xC000";
    EXPECT_EQ(RegisterNamed("OTHER", Instance()), 0) << "names are case-insensitive";
    HINSTANCE second = reinterpret_cast<HINSTANCE>(0x500000);
    EXPECT_NE(RegisterNamed("Other", second), 0) << "another instance may use the name";
    EXPECT_EQ(RegisterNamed(nullptr, Instance()), 0);
    EXPECT_FALSE(UnregisterClassA("other", reinterpret_cast<HINSTANCE>(0x600000)));
    EXPECT_TRUE(UnregisterClassA("other", second));
    EXPECT_TRUE(UnregisterClassA(MAKEINTRESOURCEA(other), Instance()));
    EXPECT_FALSE(UnregisterClassA("Other", Instance()));
    EXPECT_EQ(winsim::RegisteredClasses(), std::vector<std::string>{"Probe"});
}

TEST_F(WinsimTest, UnregisterWaitsForTheLastWindow)
{
    HWND w = Make("w", WS_POPUP);
    EXPECT_FALSE(UnregisterClassA("PROBE", Instance()));
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassA("PROBE", Instance()));
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
}

// A null instance stands for the program's own module, 0x400000 here.
TEST_F(WinsimTest, ClassesBelongToTheirInstance)
{
    ASSERT_NE(RegisterNamed("Mine", NULL), 0);
    EXPECT_NE(CreateWindowExA(0, "Mine", "", WS_POPUP, 0, 0, 9, 9, NULL, NULL, NULL, NULL),
              nullptr);
    EXPECT_NE(CreateWindowExA(0, "mine", "", WS_POPUP, 0, 0, 9, 9, NULL, NULL, Instance(), NULL),
              nullptr);
    EXPECT_EQ(CreateWindowExA(0, "Mine", "", WS_POPUP, 0, 0, 9, 9, NULL, NULL,
                              reinterpret_cast<HINSTANCE>(0x12340000), NULL),
              nullptr);
    ATOM atom = RegisterNamed("ByAtom", Instance());
    HWND byAtom = CreateWindowExA(0, MAKEINTRESOURCEA(atom), "a", WS_POPUP, 0, 0, 9, 9, NULL, NULL,
                                  Instance(), NULL);
    EXPECT_EQ(winsim::Inspect(byAtom).className, "ByAtom");
    EXPECT_EQ(FindWindowA(MAKEINTRESOURCEA(atom), "a"), byAtom);
}

struct SystemClassCase {
    const char *asked;
    const char *name;
    DWORD classStyle;
};

class SystemClassTest : public WinsimTest, public ::testing::WithParamInterface<SystemClassCase> {};

TEST_P(SystemClassTest, ExistsWithWineClassStyle)
{
    HWND parent = Make("p", WS_OVERLAPPEDWINDOW);
    HWND w = CreateWindowExA(0, GetParam().asked, "", WS_CHILD, 0, 0, 9, 9, parent, NULL,
                             Instance(), NULL);
    ASSERT_NE(w, nullptr) << GetParam().asked;
    char name[32];
    EXPECT_EQ(GetClassNameA(w, name, sizeof name), static_cast<int>(std::strlen(GetParam().name)));
    EXPECT_STREQ(name, GetParam().name);
    EXPECT_EQ(GetClassLongA(w, GCL_STYLE), GetParam().classStyle) << GetParam().asked;
}

INSTANTIATE_TEST_SUITE_P(Builtin, SystemClassTest,
                         ::testing::Values(SystemClassCase{"edit", "Edit", 0x88},
                                           SystemClassCase{"BUTTON", "Button", 0x8b},
                                           SystemClassCase{"Static", "Static", 0x88},
                                           SystemClassCase{"mdiclient", "MDIClient", 0},
                                           SystemClassCase{"#32770", "#32770", 0x808}));

TEST_F(WinsimTest, ClassStyleIsSharedByItsWindows)
{
    HWND a = Make("a", WS_POPUP);
    HWND b = Make("b", WS_POPUP);
    EXPECT_EQ(SetClassLongA(a, GCL_STYLE, CS_NOCLOSE), 0u);
    EXPECT_EQ(GetClassLongA(b, GCL_STYLE), static_cast<DWORD>(CS_NOCLOSE));
    EXPECT_EQ(SetClassLongA(b, GCL_STYLE, 0), static_cast<DWORD>(CS_NOCLOSE));
    EXPECT_EQ(winsim::Inspect(a).classStyle, 0u);
    EXPECT_EQ(GetClassLongA(reinterpret_cast<HWND>(0x777), GCL_STYLE), 0u);
}

TEST_F(WinsimTest, TextsAreCutAndTerminated)
{
    ASSERT_NE(RegisterNamed("AVeryLongClassName", Instance()), 0);
    HWND w = CreateWindowExA(0, "AVeryLongClassName", "Hello World", WS_POPUP, 0, 0, 9, 9, NULL,
                             NULL, Instance(), NULL);
    char buffer[16];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetClassNameA(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, "AVer");
    EXPECT_EQ(GetWindowTextA(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Hell");
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetWindowTextA(w, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'X');
    EXPECT_EQ(GetWindowTextA(w, buffer, 1), 0);
    EXPECT_EQ(buffer[0], '\0');
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetWindowTextA(reinterpret_cast<HWND>(0x777), buffer, 16), 0);
    EXPECT_EQ(buffer[0], '\0') << "a bad window empties the buffer";
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetClassNameA(reinterpret_cast<HWND>(0x777), buffer, 16), 0);
    EXPECT_EQ(buffer[0], 'X') << "but GetClassNameA leaves it";
    EXPECT_TRUE(SetWindowTextA(w, NULL));
    EXPECT_EQ(winsim::Inspect(w).title, "");
    EXPECT_FALSE(SetWindowTextA(reinterpret_cast<HWND>(0x777), "x"));
}

TEST_F(WinsimTest, HandlesAreNeverReused)
{
    HWND a = Make("a", WS_POPUP);
    HWND b = Make("b", WS_POPUP);
    EXPECT_EQ(a, reinterpret_cast<HWND>(0x10020));
    EXPECT_EQ(b, reinterpret_cast<HWND>(0x10024));
    ASSERT_TRUE(DestroyWindow(a));
    EXPECT_FALSE(IsWindow(a));
    EXPECT_EQ(Make("c", WS_POPUP), reinterpret_cast<HWND>(0x10028));
    EXPECT_FALSE(IsWindow(NULL));
    EXPECT_FALSE(DestroyWindow(a));
    EXPECT_EQ(winsim::WindowCount(), 2u);
    winsim::Reset();
    EXPECT_EQ(winsim::WindowCount(), 0u);
}

TEST_F(WinsimTest, CreationRefusals)
{
    HWND parent = Make("p", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(CreateWindowExA(0, "NoSuch", "", WS_POPUP, 0, 0, 1, 1, NULL, NULL, Instance(), NULL),
              nullptr);
    EXPECT_EQ(Make("c", WS_CHILD, 0, 0, 1, 1, NULL), nullptr) << "a child needs its parent";
    EXPECT_EQ(Make("c", WS_CHILD, 0, 0, 1, 1, reinterpret_cast<HWND>(0x777)), nullptr);
    EXPECT_EQ(Make("m", WS_POPUP, 0, 0, 1, 1, NULL, 0, reinterpret_cast<HMENU>(0x99)), nullptr);
    EXPECT_NE(Make("c", WS_CHILD, 0, 0, 1, 1, parent, 0, reinterpret_cast<HMENU>(0x99)), nullptr)
        << "a child's menu is its id";
    EXPECT_EQ(winsim::WindowCount(), 2u);
}

// New top-level windows go on top, hidden or not; plain children go to the
// bottom, so the first-made child stays first.
TEST_F(WinsimTest, ZOrderOfNewWindows)
{
    Make("T1", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    Make("T2", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND parent = Make("T3", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(Titles(NULL), (std::vector<std::string>{"T3", "T2", "T1"}));
    for (const char *title : {"c1", "c2", "c3"})
        Make(title, WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, parent);
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c1", "c2", "c3"}));
}

// A shown document window is raised by its MDI client; a hidden one and a
// plain child are not.
TEST_F(WinsimTest, ZOrderOfDocumentWindows)
{
    Host host = MakeHost(MDIS_ALLCHILDSTYLES);
    MakeDocument(host, "D1", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    MakeDocument(host, "D2", WS_CHILD | WS_CAPTION | WS_VISIBLE);
    MakeDocument(host, "D3", WS_CHILD | WS_OVERLAPPEDWINDOW);
    MakeDocument(host, "D4", WS_CHILD | WS_BORDER | WS_VISIBLE);
    Make("D5", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, host.mdi);
    EXPECT_EQ(Titles(host.mdi), (std::vector<std::string>{"D4", "D2", "D1", "D3", "D5"}));
}

struct MdiCase {
    const char *label;
    DWORD clientStyle;
    DWORD style;
    DWORD exStyle;  // besides WS_EX_MDICHILD
    DWORD readStyle;
    DWORD readExStyle;
};

class MdiStyleTest : public WinsimTest, public ::testing::WithParamInterface<MdiCase> {};

TEST_P(MdiStyleTest, DocumentStylesReadBackAsWine)
{
    const MdiCase &c = GetParam();
    Host host = MakeHost(c.clientStyle);
    HWND doc = MakeDocument(host, "D", c.style, c.exStyle);
    if (c.readStyle == 0) {
        EXPECT_EQ(doc, nullptr) << c.label;
        return;
    }
    ASSERT_NE(doc, nullptr) << c.label;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(doc, GWL_STYLE)), c.readStyle) << c.label;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(doc, GWL_EXSTYLE)), c.readExStyle) << c.label;
    EXPECT_EQ(GetWindowLongA(doc, GWL_ID), 1000) << "the client's first child id";
}

INSTANTIATE_TEST_SUITE_P(
    Documents, MdiStyleTest,
    ::testing::Values(
        MdiCase{"forced, hidden asked", 0, WS_CHILD, 0, 0x54cf0000, 0x140},
        MdiCase{"forced keeps some bits", 0,
                WS_CHILD | WS_DISABLED | WS_VSCROLL | WS_HSCROLL | WS_CLIPCHILDREN | WS_TABSTOP, 0,
                0x5eff0000, 0x140},
        MdiCase{"forced from pop-up", 0, WS_POPUP | WS_VISIBLE, 0, 0x54cf0000, 0x140},
        MdiCase{"forced keeps extended style", 0, 0, WS_EX_CLIENTEDGE | WS_EX_TOOLWINDOW,
                0x54cf0000, 0x3c0},
        MdiCase{"forced with modal frame", 0, WS_CHILD | WS_VISIBLE | WS_BORDER,
                WS_EX_DLGMODALFRAME, 0x54cf0000, 0x141},
        MdiCase{"all styles: frame", MDIS_ALLCHILDSTYLES,
                WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0x54cf0000, 0x140},
        MdiCase{"all styles: caption", MDIS_ALLCHILDSTYLES, WS_CHILD | WS_CAPTION | WS_VISIBLE, 0,
                0x54c00000, 0x140},
        MdiCase{"all styles: hidden", MDIS_ALLCHILDSTYLES, WS_CHILD | WS_OVERLAPPEDWINDOW, 0,
                0x44cf0000, 0x140},
        MdiCase{"all styles: border", MDIS_ALLCHILDSTYLES, WS_CHILD | WS_BORDER | WS_VISIBLE, 0,
                0x54800000, 0x40},
        MdiCase{"all styles: client edge", MDIS_ALLCHILDSTYLES, WS_CHILD | WS_VISIBLE,
                WS_EX_CLIENTEDGE, 0x54000000, 0x240},
        MdiCase{"all styles: no pop-up", MDIS_ALLCHILDSTYLES, WS_POPUP | WS_VISIBLE, 0, 0, 0}));

TEST_F(WinsimTest, FindWindowRules)
{
    HWND parent = Make("Parent", WS_OVERLAPPEDWINDOW);
    HWND first = Make("Orders", WS_CHILD, 0, 0, 5, 5, parent);
    HWND hidden = Make("orders", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, parent);
    HWND untitled = Make("", WS_CHILD, 0, 0, 5, 5, parent);
    HWND inner = Make("Inner", WS_CHILD, 0, 0, 5, 5, first);
    EXPECT_EQ(FindWindowExA(parent, NULL, "probe", "ORDERS"), first) << "from the top";
    EXPECT_EQ(FindWindowExA(parent, first, NULL, "Orders"), hidden) << "hidden and disabled too";
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, ""), untitled);
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, NULL), first);
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, "Order"), nullptr) << "whole titles only";
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, "Inner"), nullptr) << "direct children only";
    EXPECT_EQ(FindWindowExA(parent, inner, NULL, NULL), nullptr) << "after a non-child";
    EXPECT_EQ(FindWindowExA(parent, NULL, "Static", NULL), nullptr);
    EXPECT_EQ(FindWindowExA(reinterpret_cast<HWND>(0x777), NULL, NULL, NULL), nullptr);
    EXPECT_EQ(FindWindowExA(NULL, NULL, NULL, "parent"), parent);
    EXPECT_EQ(FindWindowA("Probe", "Orders"), nullptr) << "FindWindowA sees top-level windows";
    EXPECT_EQ(FindWindowA(NULL, "PARENT"), parent);
}

TEST_F(WinsimTest, ParentsOwnersAndSiblings)
{
    HWND top = Make("top", WS_OVERLAPPEDWINDOW);
    HWND child = Make("child", WS_CHILD, 0, 0, 5, 5, top);
    HWND second = Make("second", WS_CHILD, 0, 0, 5, 5, top);
    HWND inner = Make("inner", WS_CHILD, 0, 0, 5, 5, child);
    HWND popup = Make("popup", WS_POPUP, 0, 0, 5, 5, inner);
    HWND owned = Make("owned", WS_OVERLAPPED, 0, 0, 150, 140, top);
    EXPECT_EQ(GetParent(inner), child);
    EXPECT_EQ(GetParent(popup), top) << "a pop-up answers its owner, the root of the parent";
    EXPECT_EQ(GetParent(owned), nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), top);
    EXPECT_EQ(GetWindow(child, GW_OWNER), nullptr);
    EXPECT_EQ(GetParent(top), nullptr);
    EXPECT_EQ(GetWindow(top, GW_CHILD), child);
    EXPECT_EQ(GetWindow(child, GW_HWNDNEXT), second);
    EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(second, GW_HWNDPREV), child);
    EXPECT_EQ(GetWindow(second, GW_HWNDFIRST), child);
    EXPECT_EQ(GetWindow(child, GW_HWNDLAST), second);
    EXPECT_EQ(GetWindow(inner, GW_CHILD), nullptr);
    EXPECT_EQ(GetWindow(child, 77), nullptr);
    EXPECT_EQ(winsim::Inspect(popup).parent, nullptr);
}

TEST_F(WinsimTest, CreationMessages)
{
    Make("hidden", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"NCCREATE", "CREATE"}))
        << "an overlapped window is sized when first shown";
    Messages().clear();
    Make("popup", WS_POPUP | WS_CAPTION, 10, 20, 300, 200);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"NCCREATE", "CREATE", "SIZE 294,175", "MOVE 13,42"}));
    Messages().clear();
    Make("shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"NCCREATE", "CREATE", "SHOW shown",
                                                    "SIZE 292,173", "MOVE 14,43"}));
}

TEST_F(WinsimTest, CreationCanBeRefusedByTheProcedure)
{
    gNcCreateAnswer = FALSE;
    EXPECT_EQ(Make("f", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"NCCREATE", "NCDESTROY "}));
    gNcCreateAnswer = TRUE;
    gCreateAnswer = -1;
    Messages().clear();
    EXPECT_EQ(Make("f", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"NCCREATE", "CREATE", "NCDESTROY f"}));
    EXPECT_EQ(winsim::WindowCount(), 0u);
}

TEST_F(WinsimTest, DestroyTakesTheSubtree)
{
    HWND top = Make("top", WS_OVERLAPPEDWINDOW);
    HWND child = Make("child", WS_CHILD, 0, 0, 5, 5, top);
    HWND inner = Make("inner", WS_CHILD, 0, 0, 5, 5, child);
    HWND owned = Make("owned", WS_POPUP, 0, 0, 5, 5, top);
    Messages().clear();
    EXPECT_EQ(SendMessageA(top, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"CLOSE top", "DESTROY owned", "NCDESTROY owned",
                                        "DESTROY top", "DESTROY child", "DESTROY inner",
                                        "NCDESTROY inner", "NCDESTROY child", "NCDESTROY top"}));
    for (HWND w : {top, child, inner, owned})
        EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(winsim::WindowCount(), 0u);
}

TEST_F(WinsimTest, MovingAndSizingSendMessages)
{
    HWND w = Make("w", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    Messages().clear();
    ASSERT_TRUE(MoveWindow(w, 10, 20, 300, 200, TRUE));
    EXPECT_TRUE(Messages().empty());
    ASSERT_TRUE(MoveWindow(w, 11, 20, 300, 200, TRUE));
    ASSERT_TRUE(MoveWindow(w, 11, 20, 310, 200, TRUE));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"MOVE 15,43", "SIZE 302,173"}));
}

}  // namespace
