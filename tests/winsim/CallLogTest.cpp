// The call log's formatting and order, fault injection, the quiet mode, and
// resetting and restoring the whole simulation.
#include "WinsimFixture.h"

#include <cstring>
#include <functional>
#include <stdexcept>

using namespace winsim_test;

namespace {

std::vector<std::string> Formatted(const std::string &function)
{
    std::vector<std::string> out;
    for (const winsim::Call &call : winsim::CallsTo(function))
        out.push_back(winsim::Format(call));
    return out;
}

TEST_F(WinsimTest, LogsWindowCallsInTheirFormat)
{
    winsim::ClearCallLog();
    HWND w = CreateWindowExA(0, "Probe", "Background (Loomvane)", WS_DISABLED | WS_CAPTION, -3, -2,
                             1030, 772, NULL, NULL, Instance(), NULL);
    ASSERT_EQ(w, reinterpret_cast<HWND>(0x10020));
    EXPECT_EQ(Formatted("CreateWindowExA"),
              std::vector<std::string>{"CreateWindowExA(0x0, \"Probe\", \"Background (Loomvane)\", "
                                       "0x8c00000, -3, -2, 1030, 772, NULL, NULL, 0x400000, NULL) "
                                       "= 0x10020"});
    SetWindowPos(w, HWND_NOTOPMOST, 16, 75, 300, 200, 0x4216);
    EXPECT_EQ(Formatted("SetWindowPos"),
              std::vector<std::string>{
                  "SetWindowPos(0x10020, 0xfffffffe, 16, 75, 300, 200, 0x4216) = 1"});
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(Formatted("GetWindowRect"),
              std::vector<std::string>{"GetWindowRect(0x10020, {-3, -2, 297, 198}) = 1"});
    char text[8];
    GetWindowTextA(w, text, sizeof text);
    EXPECT_EQ(winsim::CallsTo("GetWindowTextA")[0].args,
              (std::vector<std::string>{"0x10020", "&", "8"}));
    FindWindowExA(NULL, NULL, "Shell_TrayWnd", "");
    EXPECT_EQ(
        Formatted("FindWindowExA"),
        std::vector<std::string>{"FindWindowExA(NULL, NULL, \"Shell_TrayWnd\", \"\") = NULL"});
    DefWindowProcA(reinterpret_cast<HWND>(0x1234), WM_PAINT, 7, 9);
    EXPECT_EQ(Formatted("DefWindowProcA").back(), "DefWindowProcA(0x1234, 15, 7, 9) = 0");
    DialogBoxParamA(Instance(), MAKEINTRESOURCEA(22310), w, NULL, 0);
    auto dialog = winsim::CallsTo("DialogBoxParamA");
    ASSERT_EQ(dialog.size(), 1u);
    EXPECT_EQ(dialog[0].args[1], "#22310");
    EXPECT_EQ(dialog[0].result, "-1");
    WNDCLASSA wc = {};
    wc.style = CS_NOCLOSE;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Registered";
    RegisterClassA(&wc);
    wc.lpszClassName = MAKEINTRESOURCEA(0xC123);
    RegisterClassA(&wc);
    wc.lpszClassName = nullptr;
    RegisterClassA(&wc);
    RegisterClassA(nullptr);
    EXPECT_EQ(Formatted("RegisterClassA"),
              (std::vector<std::string>{"RegisterClassA({0x200, \"Registered\"}) = 0xc001",
                                        "RegisterClassA({0x200, #49443}) = 0x0",
                                        "RegisterClassA({0x200, NULL}) = 0x0",
                                        "RegisterClassA(NULL) = 0x0"}));
    EXPECT_EQ(winsim::Str(HKEY_CURRENT_USER), "0x80000001");
    EXPECT_EQ(winsim::Str(nullptr), "NULL");
}

TEST_F(WinsimTest, LogsRegistryOutParameters)
{
    winsim::ClearCallLog();
    HKEY key = NULL;
    DWORD disposition = 0;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Probe", 0, const_cast<LPSTR>("REG_SZ"),
                    REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, NULL, &key, &disposition);
    EXPECT_EQ(Formatted("RegCreateKeyExA"),
              std::vector<std::string>{"RegCreateKeyExA(0x80000001, \"Software\\Probe\", 0, "
                                       "\"REG_SZ\", 0x0, 0xf003f, NULL, 0x30, 1) = 0"});
    RegSetValueExA(key, "prefs", 0, REG_SZ, reinterpret_cast<const BYTE *>("1"), 1);
    DWORD size = 0;
    RegQueryValueExA(key, "prefs", NULL, NULL, NULL, &size);
    EXPECT_EQ(Formatted("RegSetValueExA"),
              std::vector<std::string>{"RegSetValueExA(0x30, \"prefs\", 0, 1, &, 1) = 0"});
    EXPECT_EQ(
        Formatted("RegQueryValueExA"),
        std::vector<std::string>{"RegQueryValueExA(0x30, \"prefs\", NULL, NULL, NULL, 2) = 0"});
    RegCloseKey(key);
}

TEST_F(WinsimTest, NestedCallsKeepTheOrderTheyStarted)
{
    winsim::ClearCallLog();
    HWND w = CreateWindowExA(0, "Probe", "n", WS_POPUP, 0, 0, 9, 9, NULL, NULL, Instance(), NULL);
    ASSERT_NE(w, nullptr);
    const auto &log = winsim::CallLog();
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0].function, "CreateWindowExA");
    EXPECT_EQ(log[0].result, winsim::Str(w)) << "completed after the calls inside it";
    EXPECT_EQ(log[1].function, "DefWindowProcA");
    EXPECT_EQ(log[1].args[1], std::to_string(WM_NCCREATE));
    EXPECT_EQ(winsim::CountCalls("DefWindowProcA"), 1u);
}

// A window procedure that reads the log while the call that sent its
// message is still in progress.
std::vector<std::string> gSeenDuringCreate;
LRESULT CALLBACK ReadingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        for (const winsim::Call &call : winsim::CallLog())
            gSeenDuringCreate.push_back(winsim::Format(call));
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(WinsimTest, LogShowsWhatTheCallSawAndEntriesThatCompletedSince)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ReadingProc;
    wc.hInstance = Instance();
    wc.lpszClassName = "Reading";
    ASSERT_NE(RegisterClassA(&wc), 0);
    winsim::ClearCallLog();
    gSeenDuringCreate.clear();
    char title[] = "first";
    HWND w =
        CreateWindowExA(0, "Reading", title, WS_POPUP, 1, 2, 30, 40, NULL, NULL, Instance(), NULL);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(gSeenDuringCreate.size(), 2u);
    EXPECT_EQ(gSeenDuringCreate[0], "CreateWindowExA() = ") << "not complete yet";
    std::string nc = "DefWindowProcA(" + winsim::Str(w) + ", " + std::to_string(WM_NCCREATE);
    EXPECT_EQ(gSeenDuringCreate[1].substr(0, nc.size()), nc);
    EXPECT_EQ(gSeenDuringCreate[1].substr(gSeenDuringCreate[1].size() - 5), ") = 1");
    // The text is that of the moment of the call, whatever changed since.
    std::strcpy(title, "later");
    RECT r;
    GetWindowRect(w, &r);
    MoveWindow(w, 5, 6, 7, 8, FALSE);
    const auto &log = winsim::CallLog();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(winsim::Format(log[0]),
              "CreateWindowExA(0x0, \"Reading\", \"first\", 0x80000000, 1, 2, 30, 40, NULL, "
              "NULL, 0x400000, NULL) = " +
                  winsim::Str(w));
    EXPECT_EQ(winsim::Format(winsim::CallsTo("GetWindowRect")[0]),
              "GetWindowRect(" + winsim::Str(w) + ", {1, 2, 31, 42}) = 1");
}

TEST_F(WinsimTest, SummaryOfTheLogAgreesWithItsText)
{
    HWND w = Make("w", WS_POPUP);
    winsim::ClearCallLog();
    EXPECT_EQ(winsim::CallLogSize(), 0u);
    winsim::FailCall("IsWindow", 2);
    IsWindow(w);
    IsWindow(w);
    GetFocus();
    const auto &log = winsim::CallLog();
    ASSERT_EQ(winsim::CallLogSize(), log.size());
    ASSERT_EQ(log.size(), 3u);
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(winsim::CallFunction(i), log[i].function);
        EXPECT_EQ(winsim::CallFailed(i), log[i].failed);
    }
    EXPECT_TRUE(winsim::CallFailed(1));
    EXPECT_STREQ(winsim::CallFunction(2), "GetFocus");
    EXPECT_THROW(winsim::CallFunction(3), std::out_of_range);
}

TEST_F(WinsimTest, FaultFiresOnTheNthCall)
{
    HWND w = Make("w", WS_POPUP);
    winsim::ClearCallLog();
    winsim::FailCall("IsWindow", 2);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_TRUE(IsWindow(w));
    auto calls = winsim::CallsTo("IsWindow");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_FALSE(calls[0].failed);
    EXPECT_TRUE(calls[1].failed);
    EXPECT_EQ(calls[1].result, "0");
    EXPECT_EQ(winsim::FaultsInjected(), 1);
}

TEST_F(WinsimTest, PersistentFaultKeepsFailing)
{
    winsim::FailCall("GetSystemMetrics", 2, true);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(winsim::FaultsInjected(), 3);
    winsim::ClearFaults();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(winsim::FaultsInjected(), 0);
}

// A misspelt name would fail and count nothing, and a test relying on it
// would check nothing: it is refused at once, naming itself.
TEST_F(WinsimTest, NamesOffTheListAreRefused)
{
    for (auto ask : std::vector<std::function<void()>>{[] { winsim::FailCall("ShowWindw"); },
                                                       [] { winsim::CountCalls("ShowWindw"); },
                                                       [] { winsim::CallsTo("ShowWindw"); }}) {
        try {
            ask();
            ADD_FAILURE() << "a name off the list was taken";
        } catch (const std::invalid_argument &e) {
            EXPECT_NE(std::strstr(e.what(), "'ShowWindw'"), nullptr) << e.what();
        }
    }
    winsim::FailCall("ShowWindow");
    EXPECT_EQ(ShowWindow(NULL, SW_SHOW), FALSE);
    EXPECT_EQ(winsim::CountCalls("ShowWindow"), 1u);
    EXPECT_EQ(winsim::FaultsInjected(), 1);
}

TEST_F(WinsimTest, StarCountsEveryFunction)
{
    winsim::FailCall("*", 3);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(ShowCursor(TRUE), 0) << "the third call fails";
    EXPECT_EQ(winsim::CursorCount(), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
}

TEST_F(WinsimTest, FailedCallsChangeNothing)
{
    winsim::FailCall("CreateWindowExA");
    EXPECT_NE(Make("w", WS_POPUP), nullptr) << "Make is quiet: the fault waits";
    EXPECT_EQ(winsim::WindowCount(), 1u);
    EXPECT_EQ(CreateWindowExA(0, "Probe", "x", WS_POPUP, 0, 0, 9, 9, NULL, NULL, Instance(), NULL),
              nullptr);
    EXPECT_EQ(winsim::WindowCount(), 1u);
    HWND w = Make("kept", WS_POPUP);
    EXPECT_EQ(w, reinterpret_cast<HWND>(0x10024)) << "a failed creation uses no handle";
    winsim::FailCall("SetWindowTextA");
    EXPECT_FALSE(SetWindowTextA(w, "changed"));
    EXPECT_EQ(winsim::Inspect(w).title, "kept");
    winsim::FailCall("RegSetValueExA");
    EXPECT_EQ(
        RegSetValueExA(HKEY_CURRENT_USER, "v", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 1),
        ERROR_ACCESS_DENIED);
    EXPECT_FALSE(winsim::GetValue("", "v", nullptr));
    winsim::FailCall("RegOpenKeyExA", 1, false, ERROR_FILE_NOT_FOUND);
    HKEY key = NULL;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, NULL, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    winsim::DefineDialog(1, {});
    winsim::FailCall("DialogBoxParamA");
    EXPECT_EQ(DialogBoxParamA(Instance(), MAKEINTRESOURCEA(1), NULL, NULL, 0), -1);
    EXPECT_FALSE(winsim::LastDialog().ran);
}

TEST_F(WinsimTest, QuietHidesCallsAndHoldsFaults)
{
    HWND w = Make("w", WS_POPUP);
    winsim::ClearCallLog();
    winsim::FailCall("IsWindow");
    {
        winsim::Quiet quiet;
        EXPECT_TRUE(IsWindow(w));
        {
            winsim::Quiet nested;
            EXPECT_TRUE(IsWindow(w));
        }
        EXPECT_TRUE(IsWindow(w));
    }
    EXPECT_TRUE(winsim::CallLog().empty());
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(winsim::CountCalls("IsWindow"), 1u);
}

TEST_F(WinsimTest, ResetClearsLogFaultsAndState)
{
    Make("w", WS_POPUP);
    GetFocus();
    winsim::FailCall("GetFocus");
    winsim::SetCursorCount(5);
    winsim::Reset();
    EXPECT_TRUE(winsim::CallLog().empty());
    EXPECT_EQ(winsim::WindowCount(), 0u);
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
    EXPECT_EQ(winsim::CursorCount(), 0);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(winsim::CallLog().back().failed);
}

std::string Stored(const char *name)
{
    std::string data;
    if (!winsim::GetValue("Software\\Saved", name, &data))
        return "(none)";
    return data.substr(0, data.find('\0'));
}

TEST_F(WinsimTest, RestoreStateBringsEverythingBackAndKeepsTheSavedCopy)
{
    HWND top = Make("top", WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = Make("child", WS_CHILD | WS_VISIBLE, 5, 5, 50, 50, top);
    HMENU menu = CreateMenu();
    AppendMenuA(menu, MF_STRING, 1, "&File");
    SetMenu(top, menu);
    winsim::CreateKey("Software\\Saved\\Below");
    winsim::SetValue("Software\\Saved", "v", REG_SZ, "before");
    HKEY key = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Saved", 0, KEY_ALL_ACCESS, &key),
              ERROR_SUCCESS);
    winsim::SetCursorCount(-3);
    winsim::DefineDialog(7, {{1, "EDIT", "x", WS_CHILD}});
    winsim::ClearCallLog();
    IsWindow(top);
    winsim::SavedState saved = winsim::SaveState();
    DWORD classStyle = GetClassLongA(child, GCL_STYLE);
    winsim::ClearCallLog();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // Change all of it: through the window of the class, the open key,
        // the tree, the cursor and the log.
        SetWindowTextA(top, "changed");
        SetClassLongA(child, GCL_STYLE, CS_NOCLOSE);
        DestroyWindow(child);
        SetMenu(top, NULL);
        DestroyMenu(menu);
        RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE *>("after"), 5);
        winsim::DeleteKey("Software\\Saved\\Below");
        winsim::SetCursorCount(9);
        Make("new", WS_POPUP);
        EXPECT_EQ(Stored("v"), "after");

        winsim::RestoreState(saved);
        ASSERT_EQ(winsim::CallLog().size(), 1u);
        EXPECT_EQ(winsim::Format(winsim::CallLog()[0]), "IsWindow(" + winsim::Str(top) + ") = 1");
        EXPECT_EQ(winsim::WindowCount(), 2u);
        EXPECT_EQ(winsim::Inspect(top).title, "top");
        EXPECT_EQ(winsim::Children(top), std::vector<HWND>{child});
        EXPECT_EQ(winsim::Inspect(top).menu, menu);
        EXPECT_TRUE(IsMenu(menu));
        EXPECT_EQ(winsim::Inspect(child).classStyle, classStyle);
        EXPECT_EQ(winsim::CursorCount(), -3);
        EXPECT_TRUE(winsim::KeyExists("Software\\Saved\\Below"));
        EXPECT_EQ(Stored("v"), "before");
        EXPECT_EQ(winsim::OpenKeyCount(), 1);
        EXPECT_EQ(winsim::RegisteredClasses(), std::vector<std::string>{"Probe"});
        HWND again = Make("again", WS_POPUP);
        EXPECT_EQ(again, reinterpret_cast<HWND>(0x10028))
            << "handles go on from where the saved state was";
        SetClassLongA(child, GCL_STYLE, CS_DBLCLKS);
        EXPECT_EQ(winsim::Inspect(again).classStyle, static_cast<DWORD>(CS_DBLCLKS))
            << "a restored window and a new one share the restored class";
        EXPECT_EQ(DialogBoxParamA(Instance(), MAKEINTRESOURCEA(7), NULL, NULL, 0), -1)
            << "the template is back: the run is only left open without a script";
        EXPECT_TRUE(winsim::LastDialog().ran);
    }
    // The restored windows are of the restored class, the open key is in
    // the restored tree: a change through either shows in the state alone.
    SetClassLongA(child, GCL_STYLE, CS_NOCLOSE);
    EXPECT_EQ(winsim::Inspect(child).classStyle, static_cast<DWORD>(CS_NOCLOSE));
    RegSetValueExA(key, "v", 0, REG_SZ, reinterpret_cast<const BYTE *>("third"), 5);
    EXPECT_EQ(Stored("v"), "third");
    winsim::RestoreState(saved);
    EXPECT_EQ(winsim::Inspect(child).classStyle, classStyle);
    EXPECT_EQ(Stored("v"), "before");
    RegCloseKey(key);
    EXPECT_EQ(winsim::OpenKeyCount(), 0);

    winsim::RestoreState(winsim::SavedState());
    EXPECT_EQ(winsim::WindowCount(), 0u) << "an empty saved state restores as Reset does";
    EXPECT_TRUE(winsim::RegisteredClasses().empty());
}

}  // namespace
