// The registry (winsim/src/Registry.cpp) as the plug-in uses it: keys made
// and opened with the rights a handle holds, values stored and answered as
// Wine stores and answers them, keys and values deleted. The tests work
// under a key of their own, deleted after each.
#include "ConformanceFixture.h"

#include "../common/RegistryKeys.h"

#ifdef _WIN32
#include <sddl.h>
#else
#include <winsim.h>
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace conformance {
namespace {

const char kRoot[] = "Software\\LoomvaneConformance";
const char kPath[] = "Software\\LoomvaneConformance\\Sub";
const char kSibling[] = "Software\\LoomvaneConformance\\Apple";

// Rights the plug-in never asks for, which the stand-in's header leaves out.
constexpr REGSAM kMaximumAllowed = 0x02000000;  // MAXIMUM_ALLOWED
constexpr REGSAM kWow64Key = 0x0100;            // KEY_WOW64_64KEY: a view, no right

// The key (made if missing) grants whoever opens it these rights alone, as a
// security descriptor that the owner may change again does.
void GrantOnly(const char *path, REGSAM rights)
{
#ifdef _WIN32
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, WRITE_DAC, NULL, &key, NULL),
              ERROR_SUCCESS);
    char text[64];
    std::snprintf(text, sizeof text, "D:P(A;;0x%lx;;;WD)", static_cast<unsigned long>(rights));
    PSECURITY_DESCRIPTOR descriptor = NULL;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(text, SDDL_REVISION_1,
                                                                     &descriptor, NULL));
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    LocalFree(descriptor);
    RegCloseKey(key);
#else
    winsim::SetKeyRights(path, rights);
#endif
}

class RegistryTest : public ConformanceTest {
protected:
    void TearDown() override
    {
        for (HKEY key : open_)
            RegCloseKey(key);
        if (locked_)
            GrantOnly(kPath, KEY_ALL_ACCESS);
        for (const char *path :
             {"Software\\LoomvaneConformance\\Sub\\Deep", kPath, kSibling, kRoot})
            RegDeleteKeyA(HKEY_CURRENT_USER, path);
        ConformanceTest::TearDown();
    }

    void Lock(REGSAM rights)
    {
        locked_ = true;
        GrantOnly(kPath, rights);
    }

    HKEY Create(const char *path, DWORD *disposition = nullptr)
    {
        return test_common::CreateKey(path, &open_, disposition);
    }

    static bool KeyExists(const char *path)
    {
        HKEY key = NULL;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }

    // Stores exactly the bytes: the byte after them is not a zero.
    static void Store(HKEY key, const char *name, DWORD type, const std::string &bytes)
    {
        std::string followed = bytes + "Z";
        ASSERT_EQ(
            RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(followed.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
    }

    std::vector<HKEY> open_;
    bool locked_ = false;
};

TEST_F(RegistryTest, CreateMakesParentsAndTellsNewFromExisting)
{
    DWORD disposition = 0;
    Create(kPath, &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    EXPECT_TRUE(KeyExists("software\\loomvaneconformance"));
    Create("SOFTWARE\\LoomvaneConformance\\SUB", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    Create("Software\\\\LoomvaneConformance\\Sub\\", &disposition);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY))
        << "doubled and trailing backslashes name nothing";
    EXPECT_NE(open_[0], open_[1]) << "each open is a handle of its own";
    HKEY bad = NULL;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "\\Software", 0, NULL, 0, KEY_ALL_ACCESS, NULL,
                              &bad, NULL),
              ERROR_BAD_PATHNAME);
}

TEST_F(RegistryTest, OpenFindsOnlyExistingKeys)
{
    Create(kPath);
    HKEY key = reinterpret_cast<HKEY>(0x1);
    EXPECT_EQ(
        RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\LoomvaneConformance\\None", 0, KEY_READ, &key),
        ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "software\\LOOMVANECONFORMANCE", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    open_.push_back(key);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, NULL, 0, KEY_READ, &key), ERROR_SUCCESS);
    EXPECT_EQ(key, HKEY_CURRENT_USER) << "the predefined key itself";
    EXPECT_EQ(RegOpenKeyExA(reinterpret_cast<HKEY>(0x1234), "x", 0, KEY_READ, &key),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x1234)), ERROR_INVALID_HANDLE);
}

// REG_SZ data whose count left out a terminating zero that follows it in
// memory is stored with that zero, and its size answered with it.
TEST_F(RegistryTest, StringCountedWithoutItsZeroIsStoredWithIt)
{
    HKEY key = Create(kPath);
    ASSERT_EQ(RegSetValueExA(key, "prefs", 0, REG_SZ, reinterpret_cast<const BYTE *>("a#c"), 3),
              ERROR_SUCCESS);
    DWORD type = 0;
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "PREFS", NULL, &type, NULL, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    Store(key, "prefs", REG_SZ, "a#c");
    EXPECT_EQ(RegQueryValueExA(key, "prefs", NULL, &type, NULL, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u) << "no zero follows: the bytes as given";
    ASSERT_EQ(RegSetValueExA(key, "bin", 0, REG_BINARY, reinterpret_cast<const BYTE *>("abc"), 3),
              ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "bin", NULL, &type, NULL, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u) << "binary data is taken as counted";
}

struct QueryCase {
    const char *label;
    std::string stored;  // exactly these bytes
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
    HKEY key = Create(kPath);
    Store(key, "v", c.type, c.stored);
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

// A handle holds the rights it was opened with: a value is set only through
// KEY_SET_VALUE and read only through KEY_QUERY_VALUE, and a refused write
// leaves the value as it was.
struct RightsCase {
    const char *label;
    REGSAM access;
    LSTATUS set;
    LSTATUS query;
};

class RightsTest : public RegistryTest, public ::testing::WithParamInterface<RightsCase> {};

TEST_P(RightsTest, HandleHoldsTheRightsAskedFor)
{
    const RightsCase &c = GetParam();
    Store(Create(kPath), "v", REG_BINARY, "old");
    HKEY key = NULL;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, NULL, 0, c.access, NULL, &key, NULL),
              ERROR_SUCCESS)
        << c.label;
    open_.push_back(key);
    EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, reinterpret_cast<const BYTE *>("new"), 3),
              c.set)
        << c.label;
    EXPECT_EQ(RegDeleteValueA(key, "other"), c.set == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : c.set)
        << c.label;
    char data[8] = "XXXXXXX";
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(key, "v", NULL, NULL, reinterpret_cast<BYTE *>(data), &size),
              c.query)
        << c.label;
    HKEY reader = NULL;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_QUERY_VALUE, &reader), ERROR_SUCCESS);
    open_.push_back(reader);
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(reader, "v", NULL, NULL, reinterpret_cast<BYTE *>(data), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::string(data, size), c.set == ERROR_SUCCESS ? "new" : "old") << c.label;
}

INSTANTIATE_TEST_SUITE_P(
    Access, RightsTest,
    ::testing::Values(
        RightsCase{"read", KEY_READ, ERROR_ACCESS_DENIED, ERROR_SUCCESS},
        RightsCase{"set only", KEY_SET_VALUE, ERROR_SUCCESS, ERROR_ACCESS_DENIED},
        RightsCase{"query and set", KEY_QUERY_VALUE | KEY_SET_VALUE, ERROR_SUCCESS, ERROR_SUCCESS},
        RightsCase{"write", KEY_WRITE, ERROR_SUCCESS, ERROR_ACCESS_DENIED},
        RightsCase{"none", 0, ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED},
        RightsCase{"all", KEY_ALL_ACCESS, ERROR_SUCCESS, ERROR_SUCCESS},
        RightsCase{"all the key grants", kMaximumAllowed, ERROR_SUCCESS, ERROR_SUCCESS},
        RightsCase{"a view", KEY_QUERY_VALUE | kWow64Key, ERROR_ACCESS_DENIED, ERROR_SUCCESS}));

// A key that grants reading and writing its values alone: a handle that
// asks for more is refused, one that asks for all the key grants has those
// rights, and a view of the registry is no right.
TEST_F(RegistryTest, LockedKeyOpensWithTheRightsItGrants)
{
    Store(Create(kPath), "v", REG_BINARY, "old");
    Lock(KEY_QUERY_VALUE | KEY_SET_VALUE);
    HKEY key = reinterpret_cast<HKEY>(0x1);
    EXPECT_EQ(
        RegCreateKeyExA(HKEY_CURRENT_USER, kPath, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, NULL),
        ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key), ERROR_ACCESS_DENIED);
    for (REGSAM access : {KEY_QUERY_VALUE | KEY_SET_VALUE | kWow64Key, kMaximumAllowed}) {
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, access, &key), ERROR_SUCCESS)
            << access;
        open_.push_back(key);
        EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, reinterpret_cast<const BYTE *>("new"), 3),
                  ERROR_SUCCESS)
            << access;
        DWORD size = 0;
        EXPECT_EQ(RegQueryValueExA(key, "v", NULL, NULL, NULL, &size), ERROR_SUCCESS) << access;
        EXPECT_EQ(size, 3u) << access;
    }
}

// Handles that are no keys, and paths that begin with a backslash.
TEST_F(RegistryTest, BadHandlesAndPaths)
{
    HKEY key = Create(kPath);
    HKEY none = reinterpret_cast<HKEY>(0x1234);
    HKEY result = NULL;
    EXPECT_EQ(RegCreateKeyExA(none, "x", 0, NULL, 0, KEY_ALL_ACCESS, NULL, &result, NULL),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "\\Software", 0, KEY_READ, &result),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegDeleteKeyA(none, "x"), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteKeyA(key, "\\x"), ERROR_BAD_PATHNAME);
}

TEST_F(RegistryTest, DeletingKeysAndValues)
{
    Create(kSibling);
    HKEY key = Create(kPath);
    Create("Software\\LoomvaneConformance\\Sub\\Deep");
    RegSetValueExA(key, "v", 0, REG_DWORD, reinterpret_cast<const BYTE *>("\1\2\3\4"), 4);
    EXPECT_EQ(RegDeleteValueA(key, "nothere"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteValueA(key, "V"), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", NULL, NULL, NULL, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kRoot), ERROR_ACCESS_DENIED)
        << "a key with subkeys stays";
    EXPECT_EQ(RegDeleteKeyA(key, "Nope"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKeyA(key, NULL), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegDeleteKeyA(key, "deep"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(key, ""), ERROR_SUCCESS) << "the key itself";
    EXPECT_FALSE(KeyExists(kPath));
    BYTE buffer[4];
    size = sizeof buffer;
    EXPECT_EQ(RegSetValueExA(key, "x", 0, REG_SZ, reinterpret_cast<const BYTE *>("x"), 1),
              ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExA(key, "x", NULL, NULL, buffer, &size), ERROR_KEY_DELETED);
}

}  // namespace
}  // namespace conformance
