// Parameter fields, the result text and "Kwzr-Version".
#include "PluginFixture.h"

#include <algorithm>
#include <cstring>

using namespace loomvane_test;

namespace {

class FieldTest : public PluginTest {
protected:
    // Reads field n of text with the limit, into a buffer seeded with '#'.
    std::string Field(const std::string &text, int16_t n, uint32_t limit, uint32_t *length,
                      std::string *rawBuffer = nullptr)
    {
        gFMExternCallPtr = &host->Block();
        HostHandle parameter = host->Memory().New(text);
        char buffer[64];
        std::memset(buffer, '#', sizeof buffer);
        *length = 0xdeadbeef;
        GetParameterField(parameter, n, limit, buffer, length);
        if (rawBuffer)
            rawBuffer->assign(buffer, sizeof buffer);
        return std::string(buffer, *length <= sizeof buffer ? *length : 0);
    }
};

struct FieldCase {
    std::string text;
    int16_t field;
    uint32_t limit;
    std::string expected;
    uint32_t length;
    bool shiftJis = false;  // the ANSI code page is double-byte (932)
};

class FieldTableTest : public FieldTest, public ::testing::WithParamInterface<FieldCase> {};

TEST_P(FieldTableTest, ReadsField)
{
    const FieldCase &c = GetParam();
    if (c.shiftJis)
        winsim::SetLeadByteRanges({{0x81, 0x9F}, {0xE0, 0xFC}});
    uint32_t length = 0;
    std::string raw;
    std::string got = Field(c.text, c.field, c.limit, &length, &raw);
    bool ascii = std::all_of(c.text.begin(), c.text.end(),
                             [](char b) { return static_cast<unsigned char>(b) < 0x80; });
    if (ascii) {
        EXPECT_EQ(winsim::CountCalls("IsDBCSLeadByte"), 0u) << "ASCII asks nothing of the platform";
    }
    EXPECT_EQ(length, c.length) << "text '" << c.text << "' field " << c.field;
    EXPECT_EQ(got, c.expected) << "text '" << c.text << "' field " << c.field;
    // Nothing is written past the copied bytes: no terminator.
    EXPECT_EQ(raw[length], '#');
}

INSTANTIATE_TEST_SUITE_P(
    Fields, FieldTableTest,
    ::testing::Values(
        FieldCase{"Customers|", 1, 58, "Customers", 9}, FieldCase{"Customers|", 2, 58, "", 0},
        FieldCase{"Customers|", 3, 58, "", 0}, FieldCase{"a||b", 2, 58, "", 0},
        FieldCase{"a||b", 3, 58, "b", 1}, FieldCase{"|abc", 1, 58, "", 0},
        FieldCase{"|abc", 2, 58, "abc", 3}, FieldCase{"0123456789", 1, 10, "0123456789", 10},
        FieldCase{"0123456789A", 1, 10, "0123456789A", 11},
        FieldCase{"0123456789ABCDEF", 1, 10, "0123456789A", 11},
        FieldCase{"0123456789ABCDEF|x", 1, 10, "0123456789A", 11},
        FieldCase{"x|0123456789ABCDEF|y", 2, 10, "0123456789A", 11},
        FieldCase{"x|0123456789ABCDEF|y", 3, 10, "y", 1}, FieldCase{"", 1, 58, "", 0},
        FieldCase{"abc", 0, 58, "", 0}, FieldCase{"abc", -1, 58, "", 0},
        FieldCase{" a b ", 1, 58, " a b ", 5},
        FieldCase{std::string("a\0b|c", 5), 1, 58, std::string("a\0b", 3), 3},
        // Under Shift-JIS the byte after a lead byte is never a
        // separator, even when it is "|" (0x7C); a single-byte
        // code page splits the same text at every "|".
        FieldCase{"\x83|\x81|x", 1, 58, "\x83|\x81|x", 5, true},
        FieldCase{"\x83|\x81|x", 2, 58, "", 0, true}, FieldCase{"\x83|\x81|x", 1, 58, "\x83", 1},
        FieldCase{"\x83|\x81|x", 3, 58, "x", 1}, FieldCase{"\x83\x81|b", 2, 58, "b", 1, true},
        FieldCase{"a|\x83|b|c", 2, 58, "\x83|b", 3, true},
        FieldCase{"a|\x83|b|c", 3, 58, "c", 1, true},
        FieldCase{"ab\x83", 1, 58, "ab\x83", 3, true}));

TEST_F(FieldTest, EmptyTextWritesNothing)
{
    uint32_t length = 0;
    std::string raw;
    Field("", 1, 58, &length, &raw);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(raw, std::string(64, '#'));
}

TEST_F(FieldTest, NegativeReportedSizeIsEmptyText)
{
    Start();
    fmhost::CallRequest request;
    request.functionId = kDoVersion;
    request.parameter = "print";
    request.reportedParameterSize = -5;
    EXPECT_EQ(host->Call(request).result, LOOMVANE_SHORT_VERSION);
    request.reportedParameterSize = 0;
    EXPECT_EQ(host->Call(request).result, LOOMVANE_SHORT_VERSION);
}

struct VersionCase {
    std::string parameter;
    std::string answer;
};

class VersionTest : public PluginTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(VersionTest, AnswersVersionText)
{
    Start();
    fmhost::CallOutcome out = CallWith(kDoVersion, GetParam().parameter, "previous result text");
    EXPECT_EQ(out.result, GetParam().answer) << "parameter '" << GetParam().parameter << "'";
    EXPECT_EQ(out.resultSize, static_cast<int32_t>(GetParam().answer.size()));
    EXPECT_EQ(out.resizes, 1);
    EXPECT_FALSE(out.staleWrite);
    EXPECT_TRUE(winsim::CallLog().empty());
}

INSTANTIATE_TEST_SUITE_P(Parameters, VersionTest,
                         ::testing::Values(VersionCase{"p", LOOMVANE_LONG_VERSION},
                                           VersionCase{"P", LOOMVANE_LONG_VERSION},
                                           VersionCase{"print", LOOMVANE_LONG_VERSION},
                                           VersionCase{"p|x", LOOMVANE_LONG_VERSION},
                                           VersionCase{"", LOOMVANE_SHORT_VERSION},
                                           VersionCase{" p", LOOMVANE_SHORT_VERSION},
                                           VersionCase{"x", LOOMVANE_SHORT_VERSION},
                                           VersionCase{"q", LOOMVANE_SHORT_VERSION}));

TEST_F(PluginTest, MemoryErrorLeavesResultUnwritten)
{
    Start();
    fmhost::CallOutcome out = CallWith(kDoVersion, "p", "old", /*memoryError=*/true);
    EXPECT_EQ(out.result, "old");
    EXPECT_EQ(out.resizes, 1);
    EXPECT_EQ(out.memoryErrorQueries, 1);
}

TEST_F(PluginTest, ResultIsWrittenThroughTheMovedBlock)
{
    Start();
    // A long initial result makes every resize a real move to a new block.
    fmhost::CallOutcome out = CallWith(kDoVersion, "P", std::string(100, 'r'));
    EXPECT_EQ(out.result, LOOMVANE_LONG_VERSION);
    EXPECT_FALSE(out.staleWrite);
    EXPECT_GE(host->Memory().Moves(), 1u);
}

}  // namespace
