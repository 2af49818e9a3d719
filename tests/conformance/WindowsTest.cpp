// The window tree (winsim/src/Windows.cpp): what creation refuses and the
// styles it fixes up, the Z order of new windows and of document windows,
// the styles an MDI client gives its documents, and parents, owners,
// ancestors and siblings.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

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

struct CreateCase {
    const char *label;
    DWORD style;
    DWORD exStyle;
    bool child;  // made in a top-level parent
    DWORD readStyle;
    DWORD readExStyle;
};

class CreationFixupTest : public ConformanceTest,
                          public ::testing::WithParamInterface<CreateCase> {};

TEST_P(CreationFixupTest, StylesReadBackAsWine)
{
    const CreateCase &c = GetParam();
    HWND parent = c.child ? Make("parent", WS_OVERLAPPEDWINDOW) : NULL;
    HWND window = Make("w", c.style, 10, 20, 300, 200, parent, c.exStyle);
    ASSERT_NE(window, nullptr) << c.label;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), c.readStyle) << c.label;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), c.readExStyle) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Styles, CreationFixupTest,
    ::testing::Values(
        CreateCase{"overlapped gets caption", 0, 0, false, 0x04c00000, 0x100},
        CreateCase{"pop-up", WS_POPUP, 0, false, 0x84000000, 0},
        CreateCase{"pop-up sizing", WS_POPUP | WS_THICKFRAME, 0, false, 0x84040000, 0x100},
        CreateCase{"static edge wins", WS_POPUP | WS_THICKFRAME, WS_EX_STATICEDGE, false,
                   0x84040000, 0x20000},
        CreateCase{"edge without frame dropped", WS_POPUP, WS_EX_WINDOWEDGE, false, 0x84000000, 0},
        CreateCase{"modal frame brings edge", WS_POPUP, WS_EX_DLGMODALFRAME, false, 0x84000000,
                   0x101},
        CreateCase{"tool window", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, false, 0x84c00000,
                   0x180},
        CreateCase{"cover window", WS_DISABLED | WS_CAPTION, 0, false, 0x0cc00000, 0x100},
        CreateCase{"child", WS_CHILD, 0, true, 0x40000000, 0},
        CreateCase{"sizing child", WS_CHILD | WS_THICKFRAME, 0, true, 0x40040000, 0x100},
        CreateCase{"child and pop-up is top-level", WS_CHILD | WS_POPUP, 0, true, 0xc4000000, 0}));

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

TEST_F(ConformanceTest, AncestorsOfChildAndOwnedWindows)
{
    HWND owner = Make("Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND popup = Make("Owned", WS_POPUP | WS_CAPTION | WS_VISIBLE, 50, 50, 200, 150, owner);
    HWND child = Make("Child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, popup);
    EXPECT_EQ(GetAncestor(child, GA_PARENT), popup);
    EXPECT_EQ(GetAncestor(child, GA_ROOT), popup);
    EXPECT_EQ(GetAncestor(child, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetAncestor(popup, GA_ROOT), popup);
    EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetAncestor(owner, GA_ROOTOWNER), owner);
    EXPECT_EQ(GetAncestor(child, 99), nullptr);
    EXPECT_EQ(GetAncestor(kNoWindow, GA_ROOT), nullptr);
    EXPECT_EQ(GetWindow(popup, GW_OWNER), owner);
}

TEST_F(ConformanceTest, WindowsBelongToTheirThreadAndProcess)
{
    HWND window = Make("Own", WS_OVERLAPPEDWINDOW);
    DWORD process = 0xdeadbeef;
    EXPECT_EQ(GetWindowThreadProcessId(window, &process), GetCurrentThreadId());
    EXPECT_EQ(process, GetCurrentProcessId());
    EXPECT_EQ(GetWindowThreadProcessId(window, NULL), GetCurrentThreadId());
    EXPECT_EQ(GetWindowThreadProcessId(NULL, &process), 0u) << "no window, no thread";
}

// An overlapped window is sized when it is first shown; a pop-up right after
// WM_CREATE.
TEST_F(ConformanceTest, CreationMessages)
{
    MakeTraced("hidden", WS_OVERLAPPEDWINDOW, 10, 20, 300, 200);
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"NCCREATE", "CREATE"}));
    Traced().messages.clear();
    MakeTraced("popup", WS_POPUP | WS_CAPTION, 10, 20, 300, 200);
    EXPECT_EQ(Traced().messages,
              (std::vector<std::string>{"NCCREATE", "CREATE", "SIZE 294,175", "MOVE 13,42"}));
    Traced().messages.clear();
    MakeTraced("shown", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 20, 300, 200);
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"NCCREATE", "CREATE", "SHOW shown",
                                                           "SIZE 292,173", "MOVE 14,43"}));
}

// A window that its procedure refuses, or that destroys itself while it is
// made, is no window; one refused gets WM_NCDESTROY alone.
TEST_F(ConformanceTest, CreationRefusedByTheProcedure)
{
    Traced().ncCreate = false;
    EXPECT_EQ(MakeTraced("f", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"NCCREATE", "NCDESTROY "}));
    Traced() = Trace();
    Traced().createAnswer = -1;
    EXPECT_EQ(MakeTraced("f", WS_OVERLAPPEDWINDOW), nullptr);
    EXPECT_EQ(Traced().messages, (std::vector<std::string>{"NCCREATE", "CREATE", "NCDESTROY f"}));
    Traced() = Trace();
    Traced().destroyOn = WM_CREATE;
    EXPECT_EQ(MakeTraced("g", WS_POPUP), nullptr);
    EXPECT_EQ(Traced().messages,
              (std::vector<std::string>{"NCCREATE", "CREATE", "DESTROY g", "NCDESTROY g"}));
    EXPECT_EQ(FindWindowA(NULL, "f"), nullptr);
    EXPECT_EQ(FindWindowA(NULL, "g"), nullptr);
}

// A window goes with its owned windows first, then its children, each told
// of its destruction before any is freed; WM_CLOSE reaches DefWindowProc,
// which destroys it. Gone, a window is no window and cannot go again.
TEST_F(ConformanceTest, DestroyTakesTheSubtree)
{
    HWND top = MakeTraced("top", WS_OVERLAPPEDWINDOW);
    HWND child = MakeTraced("child", WS_CHILD, 0, 0, 5, 5, top);
    HWND inner = MakeTraced("inner", WS_CHILD, 0, 0, 5, 5, child);
    HWND owned = MakeTraced("owned", WS_POPUP, 0, 0, 5, 5, top);
    Traced().messages.clear();
    EXPECT_EQ(SendMessageA(top, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(Traced().messages,
              (std::vector<std::string>{"CLOSE top", "DESTROY owned", "NCDESTROY owned",
                                        "DESTROY top", "DESTROY child", "DESTROY inner",
                                        "NCDESTROY inner", "NCDESTROY child", "NCDESTROY top"}));
    for (HWND w : {top, child, inner, owned})
        EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(DestroyWindow(top));
    EXPECT_FALSE(IsWindow(NULL));
}

struct ParentGoneCase {
    const char *label;
    UINT destroyOn;
    std::vector<std::string> messages;
};

class ParentGoneTest : public ConformanceTest,
                       public ::testing::WithParamInterface<ParentGoneCase> {};

// A child that destroys its parent on its way out, when it is hidden or
// told that it is destroyed, goes with the parent.
TEST_P(ParentGoneTest, ChildGoesWithIt)
{
    const ParentGoneCase &c = GetParam();
    HWND parent = MakeTraced("parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = MakeTraced("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, parent);
    Traced().destroyOn = c.destroyOn;
    Traced().destroyParent = true;
    Traced().messages.clear();
    EXPECT_TRUE(DestroyWindow(child)) << c.label;
    EXPECT_FALSE(IsWindow(parent)) << c.label;
    EXPECT_FALSE(IsWindow(child)) << c.label;
    EXPECT_EQ(Traced().messages, c.messages) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Destruction, ParentGoneTest,
    ::testing::Values(ParentGoneCase{"hidden",
                                     WM_SHOWWINDOW,
                                     {"HIDE child", "DESTROY parent", "DESTROY child",
                                      "NCDESTROY child", "NCDESTROY parent"}},
                      ParentGoneCase{"told it is destroyed",
                                     WM_DESTROY,
                                     {"HIDE child", "DESTROY child", "DESTROY parent",
                                      "DESTROY child", "NCDESTROY child", "NCDESTROY parent"}}));

// The focus on a hidden window goes with it.
TEST_F(ConformanceTest, FocusGoesWithTheWindow)
{
    HWND top = Make("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND hidden = Make("hidden", WS_CHILD, 0, 0, 5, 5, top);
    HWND inner = Make("inner", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, hidden);
    EXPECT_EQ(SetFocus(hidden), top);
    DestroyWindow(hidden);
    EXPECT_EQ(GetFocus(), nullptr);
    hidden = Make("hidden", WS_CHILD, 0, 0, 5, 5, top);
    inner = Make("inner", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, hidden);
    SetFocus(inner);
    DestroyWindow(hidden);
    EXPECT_EQ(GetFocus(), nullptr) << "a focus inside goes too";
    EXPECT_EQ(GetActiveWindow(), top);
}

}  // namespace
}  // namespace conformance
