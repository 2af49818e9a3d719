// How a command's title and application code find its document window. The
// rules are the same for every document-window command, so they are tested
// once, through "Kwzr-HideWindow" and "Kwzr-GetWindowSize".
#include "DesktopFixture.h"

using namespace loomvane_test;

namespace {

TEST_F(DesktopTest, FindsTitleWithoutRegardToCase)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    EXPECT_EQ(Call(kDoHideWindow, "oRDERS"), "1");
    EXPECT_FALSE(winsim::Inspect(orders).visible);
    EXPECT_EQ(FormattedCalls("FindWindowA"),
              std::vector<std::string>{"FindWindowA(\"FMPRO5APP\", NULL) = " +
                                       winsim::Str(host_.app)});
}

TEST_F(DesktopTest, TitleOf58IsSearchedAnd59IsRefusedUnsearched)
{
    StartHost();
    std::string title58(58, 't');
    AddDocument(title58);
    EXPECT_EQ(Call(kDoHideWindow, title58), "1");
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoHideWindow, title58 + "t"), "0");
    EXPECT_TRUE(winsim::CallLog().empty()) << "an over-long title is refused before any search";
}

TEST_F(DesktopTest, EmptyTitleNamesOnlyAnUntitledWindow)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    EXPECT_EQ(Call(kDoHideWindow, ""), "0");
    EXPECT_EQ(Call(kDoHideWindow, "|"), "0");
    EXPECT_TRUE(winsim::Inspect(orders).visible);
    EXPECT_TRUE(winsim::Inspect(host_.app).visible);

    HWND untitled = AddDocument("");
    EXPECT_EQ(Call(kDoHideWindow, ""), "1");
    EXPECT_FALSE(winsim::Inspect(untitled).visible);
    EXPECT_TRUE(winsim::Inspect(orders).visible);
}

TEST_F(DesktopTest, TitleEndsAtTheFirstSeparator)
{
    StartHost();
    AddDocument("A|B");
    EXPECT_EQ(Call(kDoHideWindow, "A|B"), "0");
}

struct CodeCase {
    std::string parameter;
    std::string searchedClass;
};

class ApplicationCodeTest : public DesktopTest, public ::testing::WithParamInterface<CodeCase> {};

TEST_P(ApplicationCodeTest, SelectsApplicationClass)
{
    StartHost();
    AddDocument("Orders");
    fmhost::HostWindows other = AddApplication("FMPRO5.ab1");
    AddDocumentTo(other, "Orders", 40, 40);
    winsim::ClearCallLog();
    Call(kDoGetWindowSize, GetParam().parameter);
    auto finds = winsim::CallsTo("FindWindowA");
    ASSERT_EQ(finds.size(), 1u);
    EXPECT_EQ(finds[0].args[0], "\"" + GetParam().searchedClass + "\"")
        << "parameter '" << GetParam().parameter << "'";
}

INSTANTIATE_TEST_SUITE_P(Codes, ApplicationCodeTest,
                         ::testing::Values(CodeCase{"Orders", "FMPRO5APP"},
                                           CodeCase{"Orders|", "FMPRO5APP"},
                                           CodeCase{"Orders|a", "FMPRO5.a"},
                                           CodeCase{"Orders|ab", "FMPRO5.ab"},
                                           CodeCase{"Orders|ab1", "FMPRO5.ab1"},
                                           CodeCase{"Orders|ab1|x", "FMPRO5.ab1"},
                                           CodeCase{"Orders|ab12", "FMPRO5APP"},
                                           CodeCase{"Orders|ABCDEFGHIJKLMN", "FMPRO5APP"},
                                           CodeCase{"Orders| x ", "FMPRO5. x "}));

TEST_F(DesktopTest, CodeMeasuresInThatApplication)
{
    StartHost();
    AddDocument("Orders");
    fmhost::HostWindows other = AddApplication("FMPRO5.ab1");
    AddDocumentTo(other, "Orders", 40, 60);
    // Both frames are alike, so the same offsets apply inside the other one.
    EXPECT_EQ(Call(kDoGetWindowSize, "Orders"), "10|50|300|200");
    EXPECT_EQ(Call(kDoGetWindowSize, "Orders|ab1"), "40|90|300|200");
}

TEST_F(DesktopTest, GenerationThreeRequiresItsDocumentClass)
{
    StartHost(3);
    AddDocument("Orders", 10, 20, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, "FMPRO5DOC");
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "0");
    HWND proper = AddDocument("Orders");
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_FALSE(winsim::Inspect(proper).visible);
    EXPECT_EQ(winsim::CallsTo("FindWindowA")[0].args[0], "\"FMPRO3APP\"");
    EXPECT_EQ(Call(kDoHideWindow, "Orders|xy"), "0");
    EXPECT_EQ(winsim::CallsTo("FindWindowA").back().args[0], "\"FMPRO3.xy\"");
}

TEST_F(DesktopTest, GenerationFiveTakesAnyDocumentClass)
{
    StartHost(5);
    HWND odd = AddDocument("Orders", 10, 20, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE, "Other");
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_FALSE(winsim::Inspect(odd).visible);
}

TEST_F(DesktopTest, MissingWindowsAnswerZero)
{
    Start();
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "0") << "no application window";
    EXPECT_EQ(winsim::CountCalls("FindWindowExA"), 0u);

    winsim::ClearCallLog();
    {
        winsim::Quiet quiet;
        CreateWindowExA(0, "STATIC", "lonely", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL, NULL,
                        TestInstance(), NULL);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "FMPRO5APP";
        RegisterClassA(&wc);
        CreateWindowExA(0, "FMPRO5APP", "no client", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, NULL,
                        NULL, TestInstance(), NULL);
    }
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "0") << "no MDI client";
    EXPECT_EQ(winsim::CountCalls("FindWindowExA"), 1u);
}

TEST_F(DesktopTest, FindsHiddenAndDisabledWindows)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    EXPECT_EQ(Call(kDoDisableWindow, "Orders"), "1");
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_EQ(Call(kDoShowWindow, "Orders"), "1");
    EXPECT_EQ(Call(kDoEnableWindow, "Orders"), "1");
    EXPECT_TRUE(winsim::Inspect(orders).visible);
    EXPECT_TRUE(winsim::Inspect(orders).enabled);
}

TEST_F(DesktopTest, FirstOfSameTitledWindowsIsTheTarget)
{
    StartHost();
    HWND older = AddDocument("Orders", 10, 20);
    HWND newer = AddDocument("Orders", 50, 60);
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    // The newest window is on top of the Z order, where the search begins.
    EXPECT_FALSE(winsim::Inspect(newer).visible);
    EXPECT_TRUE(winsim::Inspect(older).visible);
}

TEST_F(DesktopTest, OnlyDirectChildrenOfTheClientAreSearched)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    {
        winsim::Quiet quiet;
        CreateWindowExA(0, "STATIC", "Inner", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, orders, NULL,
                        TestInstance(), NULL);
    }
    EXPECT_EQ(Call(kDoHideWindow, "Inner"), "0");
}

}  // namespace
