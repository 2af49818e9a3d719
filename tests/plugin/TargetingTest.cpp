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
    EXPECT_EQ(
        FormattedCalls("FindWindowA"),
        std::vector<std::string>{"FindWindowA(\"FMPRO5APP\", NULL) = " + winsim::Str(host_.app)});
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

INSTANTIATE_TEST_SUITE_P(
    Codes, ApplicationCodeTest,
    ::testing::Values(CodeCase{"Orders", "FMPRO5APP"}, CodeCase{"Orders|", "FMPRO5APP"},
                      CodeCase{"Orders|a", "FMPRO5.a"}, CodeCase{"Orders|ab", "FMPRO5.ab"},
                      CodeCase{"Orders|ab1", "FMPRO5.ab1"}, CodeCase{"Orders|ab1|x", "FMPRO5.ab1"},
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

namespace {

// A second copy of the host, started by the same user: the same class, the
// same document title, and above the host's own in the Z order, so that
// FindWindowA finds it first.
class SecondHostTest : public DesktopTest {
protected:
    void SetUpBoth(bool start = true)
    {
        StartHost(5, std::string(), start);
        orders_ = AddDocument("Orders");
        winsim::Quiet quiet;
        winsim::OtherThread other(0x50, 0x54);
        fmhost::HostLayout layout;
        layout.x = 100;
        layout.y = 50;
        peer_ = fmhost::CreateHostWindows(TestInstance(), layout);
        fmhost::DocumentLayout doc;
        doc.title = "Orders";
        peerOrders_ = fmhost::CreateDocument(TestInstance(), peer_, 5, doc);
        ASSERT_EQ(winsim::Children(NULL).front(), peer_.app);
    }

    HWND orders_ = NULL;
    HWND peerOrders_ = NULL;
    fmhost::HostWindows peer_;
};

TEST_F(SecondHostTest, CommandsActOnTheCallingHostsWindows)
{
    SetUpBoth();
    HMENU peerMenu = winsim::Inspect(peer_.app).menu;
    RECT peerRect = winsim::Inspect(peerOrders_).rect;
    EXPECT_EQ(Call(kDoWindowRelocate, "Orders|A|50|60"), "1");
    EXPECT_EQ(RectInParent(orders_).left, 50);
    EXPECT_EQ(Call(kDoGetWindowSize, "Orders"), "50|90|300|200");
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_EQ(Call(kDoSetWindowTitle, "Orders||Sales"), "1") << "ours is hidden, and found";
    EXPECT_EQ(winsim::Inspect(orders_).title, "Sales");
    EXPECT_EQ(Call(kDoHideMenuBar), "1");
    EXPECT_EQ(winsim::Inspect(host_.app).menu, nullptr);

    winsim::WindowInfo peer = winsim::Inspect(peerOrders_);
    EXPECT_TRUE(peer.visible);
    EXPECT_EQ(peer.title, "Orders");
    EXPECT_EQ(peer.rect, peerRect);
    EXPECT_EQ(winsim::Inspect(peer_.app).menu, peerMenu);

    // The host's window comes to the top only while the host is the active
    // program: from behind the other copy it would take its activation.
    HWND bar;
    {
        winsim::Quiet quiet;
        bar = winsim::CreateTaskBar();
    }
    ASSERT_EQ(winsim::ActiveWindow(), peer_.app);
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("BringWindowToTop"), 0u);
    EXPECT_EQ(winsim::ActiveWindow(), peer_.app);
    {
        winsim::Quiet quiet;
        SetForegroundWindow(host_.app);
        SetWindowPos(peer_.app, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(FormattedCalls("BringWindowToTop"),
              std::vector<std::string>{"BringWindowToTop(" + winsim::Str(host_.app) + ") = 1"});
    EXPECT_EQ(winsim::Children(NULL).front(), host_.app);
    // On top already, below a task bar kept topmost as Windows keeps it, it
    // is left where it is.
    {
        winsim::Quiet quiet;
        SetWindowPos(bar, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    winsim::ClearCallLog();
    EXPECT_EQ(Call(kDoShowTaskBar), "1");
    EXPECT_EQ(winsim::CountCalls("BringWindowToTop"), 0u);
}

// Two other copies above it: the search goes on past the second.
TEST_F(SecondHostTest, OwnWindowIsFoundBehindTwoOtherCopies)
{
    SetUpBoth();
    HWND thirdOrders;
    {
        winsim::Quiet quiet;
        winsim::OtherThread other(0x60, 0x64);
        fmhost::HostWindows third = fmhost::CreateHostWindows(TestInstance(), fmhost::HostLayout());
        thirdOrders =
            fmhost::CreateDocument(TestInstance(), third, 5, fmhost::Document("Orders", 5, 5));
        ASSERT_EQ(winsim::Children(NULL)[1], peer_.app);
    }
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_FALSE(winsim::Inspect(orders_).visible);
    EXPECT_TRUE(winsim::Inspect(peerOrders_).visible);
    EXPECT_TRUE(winsim::Inspect(thirdOrders).visible);
}

// Before start-up, too, the host's own process is asked for.
TEST_F(SecondHostTest, CommandBeforeStartUpActsOnTheOwnWindow)
{
    SetUpBoth(false);
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_FALSE(winsim::Inspect(orders_).visible);
    EXPECT_TRUE(winsim::Inspect(peerOrders_).visible);
}

// Without a window of its own of the class, the first one found is taken,
// whatever its process.
TEST_F(SecondHostTest, AnotherProcessesWindowWhenTheHostHasNone)
{
    SetUpBoth();
    {
        winsim::Quiet quiet;
        DestroyWindow(host_.app);
    }
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    EXPECT_FALSE(winsim::Inspect(peerOrders_).visible);
}

// Where the first window found is the host's own, the search costs what it
// always did: one query of the window's process takes the place of IsWindow.
TEST_F(DesktopTest, OwnWindowFoundFirstCostsNoExtraCall)
{
    StartHost();
    AddDocument("Orders");
    EXPECT_EQ(Call(kDoHideWindow, "Orders"), "1");
    std::vector<std::string> window;  // the window manager's calls, without the copy of the class
    for (const std::string &f : CalledFunctions())
        if (f != "lstrcpyA" && f != "DefMDIChildProcA")  // the host's document procedure
            window.push_back(f);
    EXPECT_EQ(window,
              (std::vector<std::string>{"FindWindowA", "GetWindowThreadProcessId", "FindWindowExA",
                                        "IsWindow", "FindWindowExA", "IsWindow", "ShowWindow"}));
}

// A zero byte in a title or in a code that names a class would cut the text
// short where Win32 reads it: "Orders\0x" would find "Orders", "a\0" the
// class "FMPRO5.a". Such a field names no window and sets no title.
TEST_F(DesktopTest, FieldsWithZeroBytesNameNoWindow)
{
    StartHost();
    HWND orders = AddDocument("Orders");
    fmhost::HostWindows other = AddApplication("FMPRO5.a");
    AddDocumentTo(other, "Orders", 40, 40);
    const std::pair<uint32_t, std::string> cases[] = {
        {kDoHideWindow, std::string("Orders\0x", 8)},
        {kDoHideWindow, std::string("Orders|a\0", 9)},
        {kDoGetWindowSize, std::string("Orders\0", 7)},
        {kDoWindowResize, std::string("Orders\0|A|10|10", 15)},
        {kDoSetWindowTitle, std::string("Orders||Sal\0es", 14)},
    };
    for (const auto &c : cases) {
        winsim::ClearCallLog();
        EXPECT_EQ(Call(c.first, c.second), "0") << "function " << c.first;
        EXPECT_EQ(winsim::CountCalls("FindWindowA"), 0u) << "function " << c.first;
    }
    EXPECT_TRUE(winsim::Inspect(orders).visible);
    EXPECT_EQ(winsim::Inspect(orders).title, "Orders");
    // A code of four or more characters is not used at all, zero byte or not.
    EXPECT_EQ(Call(kDoHideWindow, std::string("Orders|abc\0", 11)), "1");
}

}  // namespace
