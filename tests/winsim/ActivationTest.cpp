// Moving a document window of the host's window structure, which only the
// stand-in's fixture builds. The rest of showing, enabling, stacking,
// activating and focusing is tested in tests/conformance, on the stand-in
// and under Wine.
#include "WinsimFixture.h"

using namespace winsim_test;

namespace {

TEST_F(WinsimTest, MoveWindowUsesTheParentsClientCoordinates)
{
    Host host = MakeHost(MDIS_ALLCHILDSTYLES);
    HWND doc = MakeDocument(host, "D", WS_CHILD | WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_TRUE(MoveWindow(doc, -5, -7, 123, 45, TRUE));
    EXPECT_EQ(ScreenRect(doc), Rect(1, 67, 124, 112));
    ASSERT_TRUE(MoveWindow(host.app, 100, 50, 800, 600, FALSE));
    EXPECT_EQ(ScreenRect(host.app), Rect(100, 50, 900, 650));
    EXPECT_EQ(ScreenRect(doc), Rect(101, 117, 224, 162)) << "children move with their parent";
    RECT r;
    EXPECT_FALSE(GetWindowRect(reinterpret_cast<HWND>(0x777), &r));
    EXPECT_TRUE(GetClientRect(host.mdi, &r));
    EXPECT_EQ(r, Rect(0, 0, 696, 396));
}

}  // namespace
