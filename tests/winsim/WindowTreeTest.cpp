// The stand-in's own side of classes, creation and destruction: what it
// reports of its windows, its handles, and the messages it sends. What Win32
// answers of the window tree is held to Wine in tests/conformance.
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
