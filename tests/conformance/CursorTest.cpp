// The cursor's display counter and the sounds (winsim/src/Cursor.cpp).
#include "ConformanceFixture.h"

namespace conformance {
namespace {

// ShowCursor counts by one either way and answers the new count.
TEST_F(ConformanceTest, CursorCounterStepsByOne)
{
    int count = ShowCursor(FALSE);
    EXPECT_EQ(ShowCursor(FALSE), count - 1);
    EXPECT_EQ(ShowCursor(TRUE), count);
    EXPECT_EQ(ShowCursor(5), count + 1) << "any nonzero value shows";
}

TEST_F(ConformanceTest, MessageBeepAnswersTrue)
{
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
}

}  // namespace
}  // namespace conformance
