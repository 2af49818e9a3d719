// Keys below HKEY_CURRENT_USER that a registry test creates with every
// right, noted so that the test closes them when it ends.
#ifndef TESTS_COMMON_REGISTRYKEYS_H
#define TESTS_COMMON_REGISTRYKEYS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace test_common {

inline HKEY CreateKey(const char *path, std::vector<HKEY> *opened, DWORD *disposition = nullptr)
{
    HKEY key = NULL;
    DWORD d = 0;
    EXPECT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &key, &d),
              ERROR_SUCCESS);
    if (disposition)
        *disposition = d;
    opened->push_back(key);
    return key;
}

}  // namespace test_common

#endif
