// Moving, resizing and measuring a document window. Rectangles are checked on
// the window itself, not through the plug-in's answers.
#include "DesktopFixture.h"

using namespace loomvane_test;

namespace {

class GeometryTest : public DesktopTest {
protected:
    void SetUp() override
    {
        DesktopTest::SetUp();
        StartHost();
        orders = AddDocument("Orders", 50, 60, 300, 200);
    }
    HWND orders = NULL;
};

struct MoveCase {
    std::string parameter;
    RECT after;  // in the MDI client's client area
};

class RelocateTest : public GeometryTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(RelocateTest, MovesKeepingSize)
{
    EXPECT_EQ(Call(kDoWindowRelocate, GetParam().parameter), "1") << GetParam().parameter;
    EXPECT_EQ(RectInParent(orders), GetParam().after) << GetParam().parameter;
}

INSTANTIATE_TEST_SUITE_P(Moves, RelocateTest,
                         ::testing::Values(MoveCase{"Orders|A|10|20", Rect(10, 20, 310, 220)},
                                           MoveCase{"Orders|a|10|20", Rect(10, 20, 310, 220)},
                                           MoveCase{"Orders|A||", Rect(0, 0, 300, 200)},
                                           MoveCase{"Orders|A", Rect(0, 0, 300, 200)},
                                           MoveCase{"Orders|A|-20|-1500",
                                                    Rect(-20, -1500, 280, -1300)},
                                           MoveCase{"Orders|A|99999|5", Rect(16000, 5, 16300, 205)},
                                           MoveCase{"Orders|R|0|0", Rect(50, 60, 350, 260)},
                                           MoveCase{"Orders|r|15|-5", Rect(65, 55, 365, 255)},
                                           MoveCase{"Orders|R|-50|", Rect(0, 60, 300, 260)},
                                           MoveCase{"oRDERS|R|1|1|", Rect(51, 61, 351, 261)}));

TEST_F(GeometryTest, RelativeMoveRepeatsExactly)
{
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(Call(kDoWindowRelocate, "Orders|R|7|-3"), "1");
        EXPECT_EQ(RectInParent(orders), Rect(50 + 7 * i, 60 - 3 * i, 350 + 7 * i, 260 - 3 * i));
    }
}

// A relative move ends within the -16000 to 16000 of an absolute one: far
// below the 32767 that window messages carry, however often it is repeated.
TEST_F(GeometryTest, RelativeMovesStayWithinTheCoordinateRange)
{
    for (int i = 1; i <= 3; ++i)
        ASSERT_EQ(Call(kDoWindowRelocate, "Orders|R|16000|-9999"), "1");
    EXPECT_EQ(RectInParent(orders), Rect(16000, -16000, 16300, -15800));
    EXPECT_EQ(FormattedCalls("SetWindowPos").back(),
              "SetWindowPos(" + winsim::Str(orders) + ", NULL, 16000, -16000, 0, 0, 0x15) = 1");
    ASSERT_EQ(Call(kDoWindowRelocate, "Orders|R|-1|1"), "1");
    EXPECT_EQ(RectInParent(orders), Rect(15999, -15999, 16299, -15799));
}

// Moved only: the size is not given again, so the window is not asked for
// its size limits once more.
TEST_F(GeometryTest, RelocateMovesOnly)
{
    ASSERT_EQ(Call(kDoWindowRelocate, "Orders|A|10|20"), "1");
    EXPECT_EQ(FormattedCalls("SetWindowPos"),
              std::vector<std::string>{"SetWindowPos(" + winsim::Str(orders) +
                                       ", NULL, 10, 20, 0, 0, 0x15) = 1"});
    EXPECT_EQ(winsim::CountCalls("MoveWindow"), 0u);
}

struct ResizeCase {
    std::string parameter;
    int width;  // what SetWindowPos is given
    int height;
};

class ResizeTest : public GeometryTest, public ::testing::WithParamInterface<ResizeCase> {};

TEST_P(ResizeTest, ResizesKeepingPosition)
{
    const ResizeCase &c = GetParam();
    RECT before = winsim::Inspect(orders).rect;
    EXPECT_EQ(Call(kDoWindowResize, c.parameter), "1") << c.parameter;
    auto calls = FormattedCalls("SetWindowPos");
    EXPECT_EQ(calls, std::vector<std::string>{
                         "SetWindowPos(" + winsim::Str(orders) + ", " +
                         winsim::Str(HWND_NOTOPMOST) + ", " + std::to_string(before.left) + ", " +
                         std::to_string(before.top) + ", " + std::to_string(c.width) + ", " +
                         std::to_string(c.height) + ", " + kSizeOnlyText + ") = 1"});
    RECT after = RectInParent(orders);
    EXPECT_EQ(after.left, 50);
    EXPECT_EQ(after.top, 60);
}

INSTANTIATE_TEST_SUITE_P(Sizes, ResizeTest,
                         ::testing::Values(ResizeCase{"Orders|A|400|250", 400, 250},
                                           ResizeCase{"Orders|R|50|-30", 350, 170},
                                           ResizeCase{"Orders|r|0|0", 300, 200},
                                           ResizeCase{"Orders|A||", 0, 0},
                                           ResizeCase{"Orders|R|-400|", -100, 200}));

TEST_F(GeometryTest, ResizeAppliesTheSize)
{
    ASSERT_EQ(Call(kDoWindowResize, "Orders|R|50|-30"), "1");
    EXPECT_EQ(RectInParent(orders), Rect(50, 60, 400, 230));
}

TEST_F(GeometryTest, ResizeKeepsZOrderAndActivation)
{
    HWND top = AddDocument("Top", 0, 0);
    HWND active = winsim::ActiveWindow();
    ASSERT_EQ(Call(kDoWindowResize, "Orders|A|200|100"), "1");
    EXPECT_EQ(winsim::Children(host_.mdiClient).front(), top);
    EXPECT_EQ(winsim::ActiveWindow(), active);
}

TEST_F(GeometryTest, InvalidFieldsAreRefusedBeforeAnySearch)
{
    const char *refused[] = {
        "Orders|AA|10|10",    "Orders||10|10",    "Orders|x|10|10", "Orders|A|100000|10",
        "Orders|A|10|123456", "Orders|ABCDE|1|1", "Orders|-|1|1",
    };
    for (const char *parameter : refused) {
        for (uint32_t id : {kDoWindowRelocate, kDoWindowResize}) {
            winsim::ClearCallLog();
            EXPECT_EQ(Call(id, parameter), "0") << parameter;
            EXPECT_TRUE(winsim::CallLog().empty()) << parameter;
        }
    }
    EXPECT_EQ(RectInParent(orders), Rect(50, 60, 350, 260));
}

TEST_F(GeometryTest, PlatformRefusalsAnswerZero)
{
    winsim::FailCall("GetWindowRect");
    EXPECT_EQ(Call(kDoWindowRelocate, "Orders|A|1|1"), "0");
    EXPECT_EQ(winsim::CountCalls("SetWindowPos"), 0u);
    winsim::FailCall("SetWindowPos");
    EXPECT_EQ(Call(kDoWindowRelocate, "Orders|A|1|1"), "0");
    winsim::FailCall("SetWindowPos");
    EXPECT_EQ(Call(kDoWindowResize, "Orders|A|100|100"), "0");
    EXPECT_EQ(RectInParent(orders), Rect(50, 60, 350, 260));
    EXPECT_EQ(Call(kDoWindowResize, "Missing|A|100|100"), "0");
}

TEST_F(GeometryTest, SizeQueriesMeasureInApplicationClient)
{
    // The window's corner lies at (50, 60) in the MDI client, which starts at
    // (2, 32) in the application window's client area.
    LONG left = 50 + kMdiOriginInApp.x;
    LONG top = 60 + kMdiOriginInApp.y;
    std::string size = std::to_string(left - 2) + "|" + std::to_string(top - 2) + "|300|200";
    std::string edges = std::to_string(left - 2) + "|" + std::to_string(top - 2) + "|" +
                        std::to_string(left + 300 - 2) + "|" + std::to_string(top + 200 - 2);
    fmhost::CallOutcome out = CallWith(kDoGetWindowSize, "Orders", "");
    EXPECT_EQ(out.result, size);
    EXPECT_EQ(out.resizes, 1);
    EXPECT_EQ(Call(kDoGetWindowSizeABS, "Orders|"), edges);
    EXPECT_EQ(edges, "50|90|350|290");
}

TEST_F(GeometryTest, SizeQueryWritesNegativeValuesWithSign)
{
    ASSERT_EQ(Call(kDoWindowRelocate, "Orders|A|-8|-30"), "1");
    EXPECT_EQ(Call(kDoGetWindowSize, "Orders"), "-8|0|300|200");
    EXPECT_EQ(Call(kDoGetWindowSizeABS, "Orders"), "-8|0|292|200");
    // The reported corner moves the window back where it is.
    ASSERT_EQ(Call(kDoWindowRelocate, "Orders|A|-8|-30"), "1");
    ASSERT_EQ(Call(kDoWindowRelocate, "Orders|A|0|0"), "1");
    EXPECT_EQ(Call(kDoGetWindowSize, "Orders"), "0|30|300|200");
}

TEST_F(GeometryTest, SizeQueryFailures)
{
    EXPECT_EQ(Call(kDoGetWindowSize, "Invoices"), "0");
    winsim::FailCall("GetWindowRect");
    EXPECT_EQ(Call(kDoGetWindowSizeABS, "Orders"), "0");
    fmhost::CallOutcome out = CallWith(kDoGetWindowSize, "Orders", "kept", true);
    EXPECT_EQ(out.result, "kept");
}

}  // namespace
