// The stand-in's own side of windows and classes: what it reports of its
// windows, its handles and atoms, the classes registered. What Win32 answers
// of the window tree is held to Wine in tests/conformance.
#include "HostWindows.h"
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
    HWND hidden;
    {
        winsim::Quiet quiet;
        fmhost::HostWindows host = fmhost::CreateHostWindows(Instance(), fmhost::HostLayout());
        fmhost::CreateDocument(Instance(), host, 5, fmhost::Document("Orders", 10, 20));
        fmhost::DocumentLayout plain =
            fmhost::Document("a title longer than the short-string room", 10, 20);
        plain.style = 0;  // a hidden child window of no frame
        hidden = fmhost::CreateDocument(Instance(), host, 5, plain);
    }
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

// Atoms from 0xC000, one for each name; the classes registered, by name.
TEST_F(WinsimTest, AtomsAndRegisteredClasses)
{
    ATOM other = RegisterNamed("Other", Instance());
    EXPECT_EQ(other, 0xC001) << "Probe took 0xC000";
    EXPECT_EQ(winsim::RegisteredClasses(), (std::vector<std::string>{"Probe", "Other"}));
    EXPECT_TRUE(UnregisterClassA(MAKEINTRESOURCEA(other), Instance()));
    EXPECT_EQ(winsim::RegisteredClasses(), std::vector<std::string>{"Probe"});
}

// The handles the call log writes: made in turn, never given again.
TEST_F(WinsimTest, HandlesAreNeverReused)
{
    HWND a = Make("a", WS_POPUP);
    HWND b = Make("b", WS_POPUP);
    EXPECT_EQ(a, reinterpret_cast<HWND>(0x10020));
    EXPECT_EQ(b, reinterpret_cast<HWND>(0x10024));
    ASSERT_TRUE(DestroyWindow(a));
    EXPECT_EQ(Make("c", WS_POPUP), reinterpret_cast<HWND>(0x10028));
    EXPECT_EQ(winsim::WindowCount(), 2u);
    winsim::Reset();
    EXPECT_EQ(winsim::WindowCount(), 0u);
}

}  // namespace
