// Windows of another thread (winsim/src/Threads.cpp): a synchronous call on
// a hung thread's window waits until it answers, ShowWindowAsync never does.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

// ShowWindowAsync acts at once on the caller's own windows and answers as
// ShowWindow does; a hung thread's window takes the request when the
// thread wakes, and the call answers that it was posted.
TEST_F(ConformanceTest, ShowWindowAsyncNeverWaits)
{
    HWND own = Make("Own", WS_POPUP, 0, 0, 100, 100);
    EXPECT_EQ(ShowWindowAsync(own, SW_SHOWNA), FALSE);
    EXPECT_TRUE(IsWindowVisible(own));
    EXPECT_EQ(ShowWindowAsync(own, SW_HIDE), TRUE);
    EXPECT_FALSE(IsWindowVisible(own));

    HWND hung = MakeOnOtherThread("Hung", WS_POPUP | WS_VISIBLE, true);
    EXPECT_NE(ShowWindowAsync(hung, SW_HIDE), FALSE);
    EXPECT_TRUE(IsWindowVisible(hung)) << "not yet: the thread answers nothing";
    EXPECT_FALSE(OtherThreadAwake());
    WakeOtherThread();
    SyncOtherThread();
    EXPECT_FALSE(IsWindowVisible(hung));
}

// ShowWindow on a hung thread's window waits until the thread answers.
TEST_F(ConformanceTest, ShowWindowWaitsForAHungThread)
{
    HWND hung = MakeOnOtherThread("Hung", WS_POPUP | WS_VISIBLE, true);
    WakeOtherThreadSoon();
    ShowWindow(hung, SW_HIDE);
    EXPECT_TRUE(OtherThreadAwake());
    EXPECT_FALSE(IsWindowVisible(hung));
}

// ShowWindowAsync on a window of a thread that answers takes effect once
// that thread has handled it.
TEST_F(ConformanceTest, ShowWindowAsyncOnAThreadThatAnswers)
{
    HWND other = MakeOnOtherThread("Other", WS_POPUP | WS_VISIBLE, false);
    EXPECT_NE(ShowWindowAsync(other, SW_HIDE), FALSE);
    SyncOtherThread();
    EXPECT_FALSE(IsWindowVisible(other));
    EXPECT_EQ(ShowWindowAsync(kNoWindow, SW_HIDE), FALSE);
}

}  // namespace
}  // namespace conformance
