// Texts (winsim/src/Strings.cpp): the kernel's string functions, the code
// page's lead bytes, and texts cut to a buffer and terminated.
#include "ConformanceFixture.h"

#include <cstring>

namespace conformance {
namespace {

TEST_F(ConformanceTest, StringFunctions)
{
    char buffer[8];
    EXPECT_EQ(lstrcpyA(buffer, "xyz"), buffer);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(lstrcpyA(buffer, NULL), nullptr);
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(lstrlenA(NULL), 0);
}

// The tests run under a single-byte code page: no byte leads a character.
TEST_F(ConformanceTest, SingleByteCodePageHasNoLeadBytes)
{
    for (int b : {0x7C, 0x81, 0x83, 0x9F, 0xE0, 0xFC})
        EXPECT_FALSE(IsDBCSLeadByte(static_cast<BYTE>(b))) << b;
}

TEST_F(ConformanceTest, TextsAreCutAndTerminated)
{
    HWND w = Make("Hello World", WS_POPUP, 0, 0, 9, 9);
    char buffer[20];
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetClassNameA(w, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Conf");
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetClassNameA(w, buffer, 0), 0);
    EXPECT_EQ(buffer[0], 'X') << "no room, not even for the terminator";
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

}  // namespace
}  // namespace conformance
