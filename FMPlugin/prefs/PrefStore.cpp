// The stored preference text: one REG_SZ value under the current user's key,
// written without a terminating zero byte.
#include "Plugin.h"

static const char kSettingsKey[] = LOOMVANE_SETTINGS_KEY;
static const char kKeyClass[] = "REG_SZ";
static const char kValueName[] = LOOMVANE_PREFS_VALUE;
static const DWORD kLargestStoredText = 21;

// Only the rights to read and write a value. A locked-down or roaming
// profile may grant no more on the key; asking for KEY_ALL_ACCESS there
// (the rights to change its security, owner and existence too) is refused.
static const REGSAM kSettingsRights = KEY_QUERY_VALUE | KEY_SET_VALUE;

static bool OpenSettingsKey(HKEY *key, DWORD *disposition)
{
    return RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, (LPSTR)kKeyClass,
                           REG_OPTION_NON_VOLATILE, kSettingsRights, NULL, key,
                           disposition) == ERROR_SUCCESS;
}

static bool WritePrefsValue(HKEY key, const char *text, DWORD length)
{
    return RegSetValueExA(key, kValueName, 0, REG_SZ, (const BYTE *)text, length) == ERROR_SUCCESS;
}

// The text a new key starts with: "1".
static bool WriteDefaultPrefs(HKEY key)
{
    lstrcpyA(gPluginState.prefText, "1");
    return WritePrefsValue(key, "1", 1);
}

// Reads "prefs" into prefText. The value is stored without a terminating
// zero, but some registry implementations hand a REG_SZ back with one added
// (and count it in the size), so one trailing zero byte is not part of the
// text. The value may also change between the size query and the read, so
// the size that the read reports is checked again before anything is
// terminated or copied. A key without the value (a registry cleaner took it,
// or the first write failed) gets the default value, as a new key does;
// otherwise nothing would ever write it again and every start-up would fail.
static bool ReadPrefsValue(HKEY key)
{
    DWORD size = 0;
    if (RegQueryValueExA(key, kValueName, NULL, NULL, NULL, &size) == ERROR_FILE_NOT_FOUND &&
        !WriteDefaultPrefs(key))
        return false;
    if (size > kLargestStoredText + 1)
        return false;

    BYTE buffer[256];
    size = sizeof buffer;
    if (RegQueryValueExA(key, kValueName, NULL, NULL, buffer, &size) != ERROR_SUCCESS)
        return false;
    if (size > 0 && size <= sizeof buffer && buffer[size - 1] == 0)
        --size;
    if (size > kLargestStoredText)
        return false;
    buffer[size] = 0;
    lstrcpyA(gPluginState.prefText, (const char *)buffer);
    return true;
}

bool LoadPrefText(void)
{
    HKEY key;
    DWORD disposition = 0;
    if (!OpenSettingsKey(&key, &disposition))
        return false;

    bool loaded = true;
    if (disposition == REG_CREATED_NEW_KEY)
        loaded = WriteDefaultPrefs(key);
    if (loaded)
        loaded = ReadPrefsValue(key);
    RegCloseKey(key);
    return loaded;
}

bool StorePrefText(const char *text, DWORD length)
{
    HKEY key;
    DWORD disposition = 0;
    if (!OpenSettingsKey(&key, &disposition))
        return false;
    bool stored = WritePrefsValue(key, text, length);
    RegCloseKey(key);
    return stored;
}
