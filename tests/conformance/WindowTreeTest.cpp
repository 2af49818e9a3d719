// The window tree: classes and what creation refuses, texts as read back,
// the Z order of new windows and of document windows, the styles an MDI
// client gives its documents, the searches, and parents, owners and
// siblings.
#include "ConformanceFixture.h"

#include <cstring>

namespace conformance {
namespace {

const HWND kNoWindow = reinterpret_cast<HWND>(0x777);

struct SystemClassCase {
    const char *asked;
    const char *name;
    DWORD classStyle;
};

class SystemClassTest : public ConformanceTest,
                        public ::testing::WithParamInterface<SystemClassCase> {};

// The system classes answer their own spelling of the name, and Wine's class
// styles.
TEST_P(SystemClassTest, NameAndClassStyle)
{
    HWND parent = Make("Parent", WS_OVERLAPPEDWINDOW);
    // An MDI client needs its creation structure.
    HWND w = std::strcmp(GetParam().asked, "mdiclient") == 0
                 ? MakeHost(0).mdi
                 : MakeOf(GetParam().asked, "", WS_CHILD, 0, 0, 9, 9, parent);
    ASSERT_NE(w, nullptr) << GetParam().asked;
    char name[32] = "";
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

TEST_F(ConformanceTest, ClassStyleIsSharedByItsWindows)
{
    HWND a = Make("a", WS_POPUP);
    HWND b = Make("b", WS_POPUP);
    DWORD before = GetClassLongA(a, GCL_STYLE);
    EXPECT_EQ(SetClassLongA(a, GCL_STYLE, CS_NOCLOSE), before);
    EXPECT_EQ(GetClassLongA(b, GCL_STYLE), static_cast<DWORD>(CS_NOCLOSE));
    EXPECT_EQ(SetClassLongA(b, GCL_STYLE, static_cast<LONG>(before)),
              static_cast<DWORD>(CS_NOCLOSE));
    EXPECT_EQ(GetClassLongA(a, GCL_STYLE), before);
    EXPECT_EQ(GetClassLongA(kNoWindow, GCL_STYLE), 0u);
}

// Names are case-insensitive within a module; a class cannot go while a
// window of it exists, and goes only from its own module.
TEST_F(ConformanceTest, ClassesBelongToTheirModule)
{
    ASSERT_NE(Register("ConformanceOther"), 0);
    EXPECT_EQ(Register("CONFORMANCEOTHER"), 0);
    ATOM atom = Register("ConformanceByAtom");
    ASSERT_NE(atom, 0);
    HWND byAtom = MakeOf(MAKEINTRESOURCEA(atom), "a", WS_POPUP, 0, 0, 9, 9);
    char name[32] = "";
    GetClassNameA(byAtom, name, sizeof name);
    EXPECT_STREQ(name, "ConformanceByAtom");
    EXPECT_EQ(FindWindowA(MAKEINTRESOURCEA(atom), "a"), byAtom);
    HWND w = MakeOf("conformanceother", "w", WS_POPUP, 0, 0, 9, 9);
    EXPECT_FALSE(UnregisterClassA("ConformanceOther", Instance())) << "a window of it exists";
    DestroyWindow(w);
    EXPECT_FALSE(UnregisterClassA("ConformanceOther", reinterpret_cast<HINSTANCE>(0x600000)));
    EXPECT_TRUE(UnregisterClassA("ConformanceOther", Instance()));
    EXPECT_FALSE(UnregisterClassA("ConformanceOther", Instance()));
    DestroyWindow(byAtom);
    EXPECT_TRUE(UnregisterClassA(MAKEINTRESOURCEA(atom), Instance()));
    EXPECT_EQ(Register(nullptr), 0);
}

TEST_F(ConformanceTest, CreationRefusals)
{
    HWND parent = Make("Parent", WS_OVERLAPPEDWINDOW);
    auto create = [](const char *className, DWORD style, HWND owner, HMENU menu) {
        HWND w = CreateWindowExA(0, className, "refused", style, 0, 0, 1, 1, owner, menu,
                                 Instance(), NULL);
        if (w != NULL)
            DestroyWindow(w);
        return w;
    };
    EXPECT_EQ(create("ConformanceNoSuch", WS_POPUP, NULL, NULL), nullptr);
    EXPECT_EQ(create(ClassName(), WS_CHILD, NULL, NULL), nullptr) << "a child needs its parent";
    EXPECT_EQ(create(ClassName(), WS_CHILD, kNoWindow, NULL), nullptr);
    EXPECT_EQ(create(ClassName(), WS_POPUP, NULL, reinterpret_cast<HMENU>(0x99)), nullptr)
        << "a top-level window's menu must be a menu";
    EXPECT_NE(create(ClassName(), WS_CHILD, parent, reinterpret_cast<HMENU>(0x99)), nullptr)
        << "a child's menu is its id";
    EXPECT_EQ(FindWindowExA(NULL, NULL, ClassName(), "refused"), nullptr);
}

TEST_F(ConformanceTest, TextsAreCutAndTerminated)
{
    HWND w = Make("Hello World", WS_POPUP, 0, 0, 9, 9);
    char buffer[20];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetClassNameA(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Conf");
    EXPECT_EQ(GetWindowTextA(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Hell");
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetWindowTextA(w, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'X');
    EXPECT_EQ(GetWindowTextA(w, buffer, 1), 0);
    EXPECT_EQ(buffer[0], '\0');
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetWindowTextA(kNoWindow, buffer, 16), 0);
    EXPECT_EQ(buffer[0], '\0') << "a bad window empties the buffer";
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetClassNameA(kNoWindow, buffer, 16), 0);
    EXPECT_EQ(buffer[0], 'X') << "but GetClassNameA leaves it";
    EXPECT_TRUE(SetWindowTextA(w, NULL));
    EXPECT_EQ(GetWindowTextA(w, buffer, 16), 0);
    EXPECT_FALSE(SetWindowTextA(kNoWindow, "x"));
}

// New top-level windows go on top, hidden or not; plain children go to the
// bottom, so the first-made child stays first.
TEST_F(ConformanceTest, ZOrderOfNewWindows)
{
    Make("T1", WS_OVERLAPPEDWINDOW);
    Make("T2", WS_OVERLAPPEDWINDOW);
    HWND parent = Make("T3", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(Titles(NULL), (std::vector<std::string>{"T3", "T2", "T1"}));
    for (const char *title : {"c1", "c2", "c3"})
        Make(title, WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, parent);
    EXPECT_EQ(Titles(parent), (std::vector<std::string>{"c1", "c2", "c3"}));
}

// A shown document window is raised by its MDI client; a hidden one and a
// plain child are not.
TEST_F(ConformanceTest, ZOrderOfDocumentWindows)
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

class MdiStyleTest : public ConformanceTest, public ::testing::WithParamInterface<MdiCase> {};

TEST_P(MdiStyleTest, DocumentStylesReadBack)
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

TEST_F(ConformanceTest, FindWindowRules)
{
    HWND parent = Make("ConformanceParent", WS_OVERLAPPEDWINDOW);
    HWND first = Make("Orders", WS_CHILD, 0, 0, 5, 5, parent);
    HWND hidden = Make("orders", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, parent);
    HWND untitled = Make("", WS_CHILD, 0, 0, 5, 5, parent);
    HWND inner = Make("Inner", WS_CHILD, 0, 0, 5, 5, first);
    EXPECT_EQ(FindWindowExA(parent, NULL, "conformanceprobe", "ORDERS"), first) << "from the top";
    EXPECT_EQ(FindWindowExA(parent, first, NULL, "Orders"), hidden) << "hidden and disabled too";
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, ""), untitled);
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, NULL), first);
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, "Order"), nullptr) << "whole titles only";
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, "Inner"), nullptr) << "direct children only";
    EXPECT_EQ(FindWindowExA(parent, inner, NULL, NULL), nullptr) << "after a non-child";
    EXPECT_EQ(FindWindowExA(parent, NULL, "Static", NULL), nullptr);
    EXPECT_EQ(FindWindowExA(kNoWindow, NULL, NULL, NULL), nullptr);
    EXPECT_EQ(FindWindowExA(NULL, NULL, NULL, "conformanceparent"), parent);
    EXPECT_EQ(FindWindowA(ClassName(), "Orders"), nullptr) << "FindWindowA sees top-level windows";
    EXPECT_EQ(FindWindowA(NULL, "CONFORMANCEPARENT"), parent);
}

TEST_F(ConformanceTest, ParentsOwnersAndSiblings)
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
}

}  // namespace
}  // namespace conformance
