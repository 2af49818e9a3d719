// The stand-in's registry from its control side: a value that changes
// between a size query and the read, and the control functions that reach
// the tree the Win32 calls use. What the Win32 calls answer is tested in
// tests/conformance/RegistryTest.cpp, on the stand-in and under Wine.
#include "WinsimFixture.h"

#include "../common/RegistryKeys.h"

#include <cstdio>
#include <cstring>
#include <fstream>

using namespace winsim_test;

namespace {

const char kPath[] = "Software\\Probe\\Sub";

class RegistryTest : public WinsimTest {
protected:
    void TearDown() override
    {
        for (HKEY key : open_)
            RegCloseKey(key);
        EXPECT_EQ(winsim::OpenKeyCount(), 0);
    }

    HKEY Create(const char *path, DWORD *disposition = nullptr)
    {
        return test_common::CreateKey(path, &open_, disposition);
    }

    std::vector<HKEY> open_;
};

TEST_F(RegistryTest, ValueCanChangeBetweenSizeQueryAndRead)
{
    winsim::SetValue(kPath, "prefs", REG_SZ, "a#b");
    winsim::ReplaceValueAfterSizeQuery("SOFTWARE\\probe\\sub", "PREFS", std::string(200, 'Q'));
    HKEY key = Create(kPath);
    DWORD size = 0;
    BYTE buffer[256];
    DWORD bigger = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "prefs", NULL, NULL, buffer, &bigger), ERROR_SUCCESS);
    EXPECT_EQ(bigger, 3u) << "a read is no size query";
    EXPECT_EQ(RegQueryValueExA(key, "prefs", NULL, NULL, NULL, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "prefs", NULL, NULL, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 200u);
    size = 0;
    RegQueryValueExA(key, "prefs", NULL, NULL, NULL, &size);
    EXPECT_EQ(size, 200u) << "only once";
}

TEST_F(RegistryTest, ControlFunctionsReachTheSameTree)
{
    winsim::CreateKey("A\\B\\C");
    EXPECT_TRUE(winsim::KeyExists("a\\b"));
    winsim::SetValue("A\\B", "Name", REG_BINARY, std::string("\0\1", 2));
    HKEY key = Create("a\\b");
    BYTE buffer[4];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExA(key, "name", NULL, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
    winsim::DeleteValue("A\\B", "NAME");
    EXPECT_FALSE(winsim::GetValue("A\\B", "Name", nullptr));
    winsim::DeleteKey("A");
    EXPECT_FALSE(winsim::KeyExists("A\\B\\C"));
    EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 1),
              ERROR_KEY_DELETED);
}

// A key locked down is made if missing, and a refused open leaves no key
// open. What the rights do is held to Wine in tests/conformance.
TEST_F(RegistryTest, LockedKeyIsMadeAndRefusesQuietly)
{
    winsim::SetKeyRights(kPath, KEY_QUERY_VALUE | KEY_SET_VALUE);
    EXPECT_TRUE(winsim::KeyExists(kPath));
    HKEY key = reinterpret_cast<HKEY>(0x1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(winsim::OpenKeyCount(), 0);
}

}  // namespace
