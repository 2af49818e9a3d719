// The registry: keys and their handles, values as Wine stores and answers
// them, and the file format.
#include "WinsimFixture.h"

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
        HKEY key = NULL;
        DWORD d = 0;
        EXPECT_EQ(
            RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, &d),
            ERROR_SUCCESS);
        if (disposition)
            *disposition = d;
        open_.push_back(key);
        return key;
    }

    std::vector<HKEY> open_;
};

TEST_F(RegistryTest, CreateMakesParentsAndTellsNewFromExisting)
{
    DWORD disposition = 0;
    HKEY key = Create(kPath, &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_TRUE(winsim::KeyExists("software\\probe"));
    Create("SOFTWARE\\probe\\SUB", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    Create("Software\\\\Probe\\Sub\\", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY))
        << "doubled and trailing backslashes name nothing";
    EXPECT_EQ(winsim::OpenKeyCount(), 3);
    EXPECT_NE(open_[0], open_[1]) << "each open is a handle of its own";
    EXPECT_EQ(key, reinterpret_cast<HKEY>(0x30));
    HKEY bad = NULL;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "\\Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                              &bad, NULL),
              ERROR_BAD_PATHNAME);
}

TEST_F(RegistryTest, OpenFindsOnlyExistingKeys)
{
    Create(kPath);
    HKEY key = reinterpret_cast<HKEY>(0x1);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Probe\\None", 0, KEY_READ, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\PROBE", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    open_.push_back(key);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, NULL, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(key, HKEY_CURRENT_USER) << "Wine answers the predefined key itself";
    EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "x", 0, KEY_READ, &key),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
}

// NT stores REG_SZ data whose count left out a terminating zero that follows
// it with that zero, and answers the stored size.
TEST_F(RegistryTest, StringCountedWithoutItsZeroIsStoredWithIt)
{
    HKEY key = Create(kPath);
    ASSERT_EQ(RegSetValueExA(key, "prefs", 0, REG_SZ, reinterpret_cast<const BYTE *>("a#c"), 3),
              ERROR_SUCCESS);
    std::string data;
    ASSERT_TRUE(winsim::GetValue(kPath, "PREFS", &data));
    EXPECT_EQ(data, std::string("a#c", 4));
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "prefs", NULL, &type, NULL, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    const char followed[] = {'a', '#', 'c', 'Z', 0};
    RegSetValueExA(key, "prefs", 0, REG_SZ, reinterpret_cast<const BYTE *>(followed), 3);
    ASSERT_TRUE(winsim::GetValue(kPath, "prefs", &data));
    EXPECT_EQ(data, "a#c") << "no zero follows: the bytes as given";
    RegSetValueExA(key, "bin", 0, REG_BINARY, reinterpret_cast<const BYTE *>("abc"), 3);
    ASSERT_TRUE(winsim::GetValue(kPath, "bin", &data));
    EXPECT_EQ(data, "abc");
}

struct QueryCase {
    const char *label;
    std::string stored;  // as winsim::SetValue puts it
    DWORD type;
    DWORD bufferSize;
    LSTATUS status;
    DWORD size;
    std::string bytes;  // the first bytes of the buffer afterwards, 'X' where untouched
};

class QueryTest : public RegistryTest, public ::testing::WithParamInterface<QueryCase> {};

TEST_P(QueryTest, AnswersLikeWine)
{
    const QueryCase &c = GetParam();
    winsim::SetValue(kPath, "v", c.type, c.stored);
    HKEY key = Create(kPath);
    BYTE buffer[256];
    std::memset(buffer, 'X', sizeof buffer);
    DWORD size = c.bufferSize;
    DWORD type = 99;
    EXPECT_EQ(RegQueryValueExA(key, "v", NULL, &type, buffer, &size), c.status) << c.label;
    EXPECT_EQ(size, c.size) << c.label;
    EXPECT_EQ(type, c.type) << c.label;
    EXPECT_EQ(std::string(reinterpret_cast<char *>(buffer), c.bytes.size()), c.bytes) << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Values, QueryTest,
    ::testing::Values(
        QueryCase{"string gets a zero after it", "a#c", REG_SZ, 256, ERROR_SUCCESS, 3,
                  std::string("a#c\0X", 5)},
        QueryCase{"exact room, no zero", "a#c", REG_SZ, 3, ERROR_SUCCESS, 3, "a#cX"},
        QueryCase{"too small", "a#c", REG_SZ, 2, ERROR_MORE_DATA, 3, "XXXX"},
        QueryCase{"terminated string", std::string("abc\0", 4), REG_SZ, 256, ERROR_SUCCESS, 4,
                  std::string("abc\0X", 5)},
        QueryCase{"zero inside", std::string("ab\0cd", 5), REG_SZ, 256, ERROR_SUCCESS, 5,
                  std::string("ab\0cd\0", 6)},
        QueryCase{"empty", "", REG_SZ, 256, ERROR_SUCCESS, 0, "XX"},
        QueryCase{"binary gets no zero", "abc", REG_BINARY, 256, ERROR_SUCCESS, 3, "abcX"},
        QueryCase{"binary too small", "abc", REG_BINARY, 2, ERROR_MORE_DATA, 3, "XX"}));

TEST_F(RegistryTest, QueryEdgeCases)
{
    HKEY key = Create(kPath);
    DWORD type = 77;
    DWORD size = 77;
    EXPECT_EQ(RegQueryValueExA(key, "missing", NULL, &type, NULL, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(type, 0u);
    EXPECT_EQ(size, 0u) << "a size query of a missing value answers 0";
    BYTE buffer[8];
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "missing", NULL, &type, buffer, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, 8u);
    RegSetValueExA(key, NULL, 0, REG_SZ, reinterpret_cast<const BYTE *>("def"), 3);
    EXPECT_EQ(RegQueryValueExA(key, "prefs", NULL, &type, buffer, NULL), ERROR_INVALID_PARAMETER);
    DWORD reserved = 0;
    EXPECT_EQ(RegQueryValueExA(key, "", &reserved, &type, NULL, &size), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "", NULL, &type, NULL, NULL), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << "the default value";
}

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

TEST_F(RegistryTest, DeletingKeysAndValues)
{
    HKEY key = Create(kPath);
    Create("Software\\Probe\\Sub\\Deep");
    RegSetValueExA(key, "v", 0, REG_DWORD, reinterpret_cast<const BYTE *>("\1\2\3\4"), 4);
    EXPECT_EQ(RegDeleteValueA(key, "nothere"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "V"), ERROR_SUCCESS);
    EXPECT_FALSE(winsim::GetValue(kPath, "v", nullptr));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Probe"), ERROR_ACCESS_DENIED)
        << "a key with subkeys stays";
    EXPECT_EQ(RegDeleteKeyA(key, "Nope"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(key, NULL), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteKeyA(key, "deep"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(key, ""), ERROR_SUCCESS) << "the key itself";
    EXPECT_FALSE(winsim::KeyExists(kPath));
    BYTE buffer[4];
    DWORD size = sizeof buffer;
    EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 1),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExA(key, "x", NULL, NULL, buffer, &size), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    open_.erase(open_.begin());
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

}  // namespace
