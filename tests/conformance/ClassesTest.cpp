// Window classes (winsim/src/Classes.cpp): the system's classes, registration
// per module with names that ignore case, and the class words.
#include "ConformanceFixture.h"

#include <cstring>

namespace conformance {
namespace {

struct SystemClassCase {
    const char *asked;
    const char *name;
    DWORD classStyle;
};

class SystemClassTest : public ConformanceTest,
                        public ::testing::WithParamInterface<SystemClassCase> {};

// The system classes answer their own spelling of the name, and Wine's class
// styles.
TEST_P(SystemClassTest, NameAndClassStyle)
{
    HWND parent = Make("Parent", WS_OVERLAPPEDWINDOW);
    // An MDI client needs its creation structure.
    HWND w = std::strcmp(GetParam().asked, "mdiclient") == 0
                 ? MakeHost(0).mdi
                 : MakeOf(GetParam().asked, "", WS_CHILD, 0, 0, 9, 9, parent);
    ASSERT_NE(w, nullptr) << GetParam().asked;
    char name[32] = "";
    EXPECT_EQ(GetClassNameA(w, name, sizeof name), static_cast<int>(std::strlen(GetParam().name)));
    EXPECT_STREQ(name, GetParam().name);
    EXPECT_EQ(GetClassLongA(w, GCL_STYLE), GetParam().classStyle) << GetParam().asked;
}

INSTANTIATE_TEST_SUITE_P(Builtin, SystemClassTest,
                         ::testing::Values(SystemClassCase{"edit", "Edit", 0x88},
                                           SystemClassCase{"BUTTON", "Button", 0x8b},
                                           SystemClassCase{"Static", "Static", 0x88},
                                           SystemClassCase{"mdiclient", "MDIClient", 0},
                                           SystemClassCase{"#32770", "#32770", 0x808}));

TEST_F(ConformanceTest, ClassStyleIsSharedByItsWindows)
{
    HWND a = Make("a", WS_POPUP);
    HWND b = Make("b", WS_POPUP);
    DWORD before = GetClassLongA(a, GCL_STYLE);
    EXPECT_EQ(SetClassLongA(a, GCL_STYLE, CS_NOCLOSE), before);
    EXPECT_EQ(GetClassLongA(b, GCL_STYLE), static_cast<DWORD>(CS_NOCLOSE));
    EXPECT_EQ(SetClassLongA(b, GCL_STYLE, static_cast<LONG>(before)),
              static_cast<DWORD>(CS_NOCLOSE));
    EXPECT_EQ(GetClassLongA(a, GCL_STYLE), before);
    EXPECT_EQ(GetClassLongA(kNoWindow, GCL_STYLE), 0u);
}

// Names are case-insensitive within a module; a class cannot go while a
// window of it exists, and goes only from its own module.
TEST_F(ConformanceTest, ClassesBelongToTheirModule)
{
    ASSERT_NE(Register("ConformanceOther"), 0);
    EXPECT_EQ(Register("CONFORMANCEOTHER"), 0);
    ATOM atom = Register("ConformanceByAtom");
    ASSERT_NE(atom, 0);
    HWND byAtom = MakeOf(MAKEINTRESOURCEA(atom), "a", WS_POPUP, 0, 0, 9, 9);
    char name[32] = "";
    GetClassNameA(byAtom, name, sizeof name);
    EXPECT_STREQ(name, "ConformanceByAtom");
    EXPECT_EQ(FindWindowA(MAKEINTRESOURCEA(atom), "a"), byAtom);
    HWND w = MakeOf("conformanceother", "w", WS_POPUP, 0, 0, 9, 9);
    EXPECT_FALSE(UnregisterClassA("ConformanceOther", Instance())) << "a window of it exists";
    DestroyWindow(w);
    EXPECT_FALSE(UnregisterClassA("ConformanceOther", reinterpret_cast<HINSTANCE>(0x600000)));
    EXPECT_TRUE(UnregisterClassA("ConformanceOther", Instance()));
    EXPECT_FALSE(UnregisterClassA("ConformanceOther", Instance()));
    DestroyWindow(byAtom);
    EXPECT_TRUE(UnregisterClassA(MAKEINTRESOURCEA(atom), Instance()));
    EXPECT_EQ(Register(nullptr), 0);
}

// Another module may register a name of this one's, and only it unregisters
// its class.
TEST_F(ConformanceTest, AnotherModuleMayUseTheName)
{
    ATOM atom = Register("ConformanceShared");
    ASSERT_NE(atom, 0);
    HINSTANCE second = reinterpret_cast<HINSTANCE>(0x500000);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = second;
    wc.lpszClassName = "conformanceshared";
    EXPECT_NE(RegisterClassA(&wc), 0);
    EXPECT_TRUE(UnregisterClassA("ConformanceShared", second));
    EXPECT_FALSE(UnregisterClassA("ConformanceShared", second));
    EXPECT_TRUE(UnregisterClassA(MAKEINTRESOURCEA(atom), Instance()));
}

// A null module stands for the program's own: a class registered so is the
// program's, found by its name or its atom, and a null module unregisters
// it; another module finds it not.
TEST_F(ConformanceTest, NullModuleIsTheProgram)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "ConformanceMine";
    ATOM atom = RegisterClassA(&wc);
    ASSERT_NE(atom, 0);
    EXPECT_EQ(Register("conformancemine"), 0) << "the program has it already";
    HWND byNull =
        CreateWindowExA(0, "ConformanceMine", "n", WS_POPUP, 0, 0, 9, 9, NULL, NULL, NULL, NULL);
    EXPECT_NE(byNull, nullptr);
    HWND byModule = MakeOf("conformancemine", "m", WS_POPUP, 0, 0, 9, 9);
    EXPECT_EQ(CreateWindowExA(0, "ConformanceMine", "o", WS_POPUP, 0, 0, 9, 9, NULL, NULL,
                              reinterpret_cast<HINSTANCE>(0x12340000), NULL),
              nullptr);
    EXPECT_EQ(FindWindowA(MAKEINTRESOURCEA(atom), "m"), byModule);
    DestroyWindow(byNull);
    DestroyWindow(byModule);
    EXPECT_TRUE(UnregisterClassA("ConformanceMine", NULL));
    EXPECT_NE(Register("ConformanceMine"), 0) << "the name is free again";
    EXPECT_TRUE(UnregisterClassA("ConformanceMine", Instance()));
}

}  // namespace
}  // namespace conformance
