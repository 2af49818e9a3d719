// Decimal text of window coordinates.
#include "PluginFixture.h"

#include <cstring>

using namespace loomvane_test;

namespace {

struct ParseCase {
    const char *chars;  // exactly five characters, leftmost first
    int32_t value;
};

class ParseCoordinateTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseCoordinateTest, ReadsFivePlaces)
{
    const char *c = GetParam().chars;
    ASSERT_EQ(std::strlen(c), 5u);
    EXPECT_EQ(ParseCoordinate(c[0], c[1], c[2], c[3], c[4]), GetParam().value) << "'" << c << "'";
}

INSTANTIATE_TEST_SUITE_P(Table, ParseCoordinateTest,
                         ::testing::Values(ParseCase{"00000", 0}, ParseCase{"00025", 25},
                                           ParseCase{"0-100", -100}, ParseCase{"00-20", -20},
                                           ParseCase{"09999", 9999}, ParseCase{"12345", 12345},
                                           ParseCase{"15999", 15999}, ParseCase{"16000", 16000},
                                           ParseCase{"16001", 16000}, ParseCase{"16999", 16000},
                                           ParseCase{"17000", 16000}, ParseCase{"19999", 16000},
                                           ParseCase{"20000", 16000}, ParseCase{"29999", 16000},
                                           ParseCase{"99999", 16000}, ParseCase{"-0999", -999},
                                           ParseCase{"-1500", -1500}, ParseCase{"0150-", -150},
                                           ParseCase{"1500-", -1500}, ParseCase{"1-000", -1000},
                                           ParseCase{"012a4", 1204}, ParseCase{"0+100", 100},
                                           ParseCase{"0000-", 0}, ParseCase{"  100", 100},
                                           ParseCase{"-9999", -9999}));

struct FormatCase {
    uint32_t value;
    const char *text;
};

class FormatDecimalTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatDecimalTest, WritesDigits)
{
    char buffer[12];
    std::memset(buffer, '#', sizeof buffer);
    uint8_t length = 0xEE;
    FormatDecimal(GetParam().value, buffer, &length);
    EXPECT_EQ(std::string(buffer, length), GetParam().text);
    EXPECT_EQ(buffer[length], '#') << "no terminator is written";
}

INSTANTIATE_TEST_SUITE_P(Values, FormatDecimalTest,
                         ::testing::Values(FormatCase{0, "0"}, FormatCase{7, "7"},
                                           FormatCase{9, "9"}, FormatCase{10, "10"},
                                           FormatCase{1024, "1024"},
                                           FormatCase{999999999, "999999999"},
                                           FormatCase{1000000000, "1000000000"},
                                           FormatCase{4294967295u, "4294967295"}));

TEST(IntPowerTest, ExponentsAtTheEdges)
{
    EXPECT_EQ(IntPower(10, 8), 100000000u);
    EXPECT_EQ(IntPower(10, 1), 10u);
    EXPECT_EQ(IntPower(2, 31), 0x80000000u);
    EXPECT_EQ(IntPower(2, 32), 0u) << "wraps in 32 bits";
    for (uint32_t base : {0u, 3u, 10u, 0xFFFFFFFFu}) {
        EXPECT_EQ(IntPower(base, 0), 1u);
        EXPECT_EQ(IntPower(base, 100), 1u);
        EXPECT_EQ(IntPower(base, 1000), 1u);
    }
}

}  // namespace
