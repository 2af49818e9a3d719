// Window search (winsim/src/Search.cpp): FindWindowA and FindWindowExA over
// one level of the tree, down the Z order, by class and whole title without
// regard to case.
#include "ConformanceFixture.h"

namespace conformance {
namespace {

// A new top-level window goes on top; the search goes down the Z order and
// carries on after the window it is given.
TEST_F(ConformanceTest, SearchGoesDownTheZOrder)
{
    HWND first = Make("Same", WS_OVERLAPPEDWINDOW);
    HWND second = Make("Same", WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(FindWindowA("ConformanceProbe", "Same"), second);
    EXPECT_EQ(FindWindowExA(NULL, second, "ConformanceProbe", "same"), first);
    EXPECT_EQ(FindWindowExA(NULL, first, "ConformanceProbe", "Same"), nullptr);
    EXPECT_EQ(FindWindowExA(NULL, NULL, "ConformanceProbe", ""), nullptr)
        << "an empty title names only an untitled window";
}

TEST_F(ConformanceTest, FindWindowRules)
{
    HWND parent = Make("ConformanceParent", WS_OVERLAPPEDWINDOW);
    HWND first = Make("Orders", WS_CHILD, 0, 0, 5, 5, parent);
    HWND hidden = Make("orders", WS_CHILD | WS_DISABLED, 0, 0, 5, 5, parent);
    HWND untitled = Make("", WS_CHILD, 0, 0, 5, 5, parent);
    HWND inner = Make("Inner", WS_CHILD, 0, 0, 5, 5, first);
    EXPECT_EQ(FindWindowExA(parent, NULL, "conformanceprobe", "ORDERS"), first) << "from the top";
    EXPECT_EQ(FindWindowExA(parent, first, NULL, "Orders"), hidden) << "hidden and disabled too";
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, ""), untitled);
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, NULL), first);
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, "Order"), nullptr) << "whole titles only";
    EXPECT_EQ(FindWindowExA(parent, NULL, NULL, "Inner"), nullptr) << "direct children only";
    EXPECT_EQ(FindWindowExA(parent, inner, NULL, NULL), nullptr) << "after a non-child";
    EXPECT_EQ(FindWindowExA(parent, NULL, "Static", NULL), nullptr);
    EXPECT_EQ(FindWindowExA(kNoWindow, NULL, NULL, NULL), nullptr);
    EXPECT_EQ(FindWindowExA(NULL, NULL, NULL, "conformanceparent"), parent);
    EXPECT_EQ(FindWindowA(ClassName(), "Orders"), nullptr) << "FindWindowA sees top-level windows";
    EXPECT_EQ(FindWindowA(NULL, "CONFORMANCEPARENT"), parent);
}

}  // namespace
}  // namespace conformance
