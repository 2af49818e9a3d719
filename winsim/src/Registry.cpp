// The registry: an in-memory HKEY_CURRENT_USER tree with case-insensitive key
// and value names, open key handles with the rights they were opened with,
// and the Reg* functions as Wine answers them, including NT's handling of
// REG_SZ data without a terminating zero.
#include "Internal.h"

#include <cctype>
#include <cstring>

namespace winsim {
namespace detail {

std::shared_ptr<RegKey> WalkKey(const std::shared_ptr<RegKey> &base, const std::string &path,
                                bool create, bool *created)
{
    RegKey *key = base.get();
    const std::shared_ptr<RegKey> *last = &base;
    if (created)
        *created = false;
    // The parts between backslashes; doubled and trailing ones name nothing.
    std::string lower;
    for (size_t start = 0; start < path.size();) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end == start) {
            start = end + 1;
            continue;
        }
        lower.assign(path, start, end - start);
        for (char &c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        auto found = key->subkeys.find(lower);
        if (found == key->subkeys.end()) {
            if (!create)
                return nullptr;
            auto next = std::make_shared<RegKey>();
            next->name = path.substr(start, end - start);
            found = key->subkeys.emplace(lower, next).first;
            if (created)
                *created = true;
        } else if (created) {
            *created = false;
        }
        last = &found->second;
        key = last->get();
        start = end + 1;
    }
    return *last;
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

namespace {

bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == 2 || type == 7;
}

constexpr REGSAM kMaximumAllowed = 0x02000000;
constexpr REGSAM kWow64Views = 0x0300;  // KEY_WOW64_64KEY, KEY_WOW64_32KEY: no rights

// The key behind a handle, when the handle holds the rights needed (the
// predefined HKEY_CURRENT_USER holds them all).
LSTATUS Resolve(HKEY key, std::shared_ptr<RegKey> *out, REGSAM needed = 0)
{
    State &s = S();
    if (key == HKEY_CURRENT_USER) {
        *out = s.registry;
        return ERROR_SUCCESS;
    }
    auto found = s.openKeys.find(reinterpret_cast<uintptr_t>(key));
    if (found == s.openKeys.end())
        return ERROR_INVALID_HANDLE;
    if (found->second.key->deleted)
        return ERROR_KEY_DELETED;
    if ((found->second.access & needed) != needed)
        return ERROR_ACCESS_DENIED;
    *out = found->second.key;
    return ERROR_SUCCESS;
}

// A handle with the rights asked for, or with all the key grants for
// MAXIMUM_ALLOWED; none when the key does not grant all of them.
LSTATUS NewHandle(const std::shared_ptr<RegKey> &key, REGSAM access, PHKEY result)
{
    REGSAM asked = access & ~(kMaximumAllowed | kWow64Views);
    if ((asked & key->granted) != asked)
        return ERROR_ACCESS_DENIED;
    State &s = S();
    *result = reinterpret_cast<HKEY>(s.nextKey);
    s.openKeys[s.nextKey] = {key, (access & kMaximumAllowed) ? key->granted : asked};
    s.nextKey += 4;
    return ERROR_SUCCESS;
}

// The control side's tree: a value that changes after a size query, found
// by the key's path, and keys deleted with all below them. GCOVR_EXCL_START

std::vector<std::string> SplitKeyPath(const std::string &path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)  // doubled and trailing backslashes name nothing
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::string NormalPath(const std::string &path)
{
    std::string normal;
    for (const std::string &part : SplitKeyPath(path))
        normal += (normal.empty() ? "" : "\\") + Lower(part);
    return normal;
}

bool FindPath(const RegKey *from, const RegKey *target, std::string *path)
{
    if (from == target)
        return true;
    for (auto &sub : from->subkeys) {
        std::string below;
        if (FindPath(sub.second.get(), target, &below)) {
            *path = sub.first + (below.empty() ? "" : "\\" + below);
            return true;
        }
    }
    return false;
}

// The value's new data, once, after its first size query.
void ReplaceAfterSizeQuery(const RegKey *key, const std::string &valueName, RegValue *value)
{
    if (S().laterValues.empty())
        return;
    std::string path;
    FindPath(S().registry.get(), key, &path);
    auto later = S().laterValues.find({path, valueName});
    if (later != S().laterValues.end()) {
        value->data = later->second;
        S().laterValues.erase(later);
    }
}

void MarkDeleted(RegKey *key)
{
    key->deleted = true;
    for (auto &sub : key->subkeys)
        MarkDeleted(sub.second.get());
}

// GCOVR_EXCL_STOP

RegKey *FindParent(RegKey *from, const RegKey *target)
{
    for (auto &sub : from->subkeys) {
        if (sub.second.get() == target)
            return from;
        if (RegKey *parent = FindParent(sub.second.get(), target))
            return parent;
    }
    return nullptr;
}

LSTATUS CreateKey(HKEY key, LPCSTR subKey, REGSAM access, PHKEY result, LPDWORD disposition)
{
    std::shared_ptr<RegKey> base;
    if (LSTATUS status = Resolve(key, &base))
        return status;
    if (subKey != nullptr && subKey[0] == '\\')
        return ERROR_BAD_PATHNAME;
    bool created = false;
    std::shared_ptr<RegKey> target = WalkKey(base, subKey ? subKey : "", true, &created);
    if (LSTATUS status = NewHandle(target, access, result))
        return status;
    if (disposition != nullptr)
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

LSTATUS OpenKey(HKEY key, LPCSTR subKey, REGSAM access, PHKEY result)
{
    std::shared_ptr<RegKey> base;
    *result = NULL;
    if (LSTATUS status = Resolve(key, &base))
        return status;
    if (subKey != nullptr && subKey[0] == '\\')
        return ERROR_BAD_PATHNAME;
    if ((subKey == nullptr || subKey[0] == '\0') && key == HKEY_CURRENT_USER) {
        *result = HKEY_CURRENT_USER;  // Wine hands the predefined key back itself
        return ERROR_SUCCESS;
    }
    std::shared_ptr<RegKey> target = WalkKey(base, subKey ? subKey : "", false, nullptr);
    if (target == nullptr)
        return ERROR_FILE_NOT_FOUND;
    return NewHandle(target, access, result);
}

LSTATUS SetValue(HKEY key, LPCSTR name, DWORD type, const BYTE *data, DWORD size)
{
    std::shared_ptr<RegKey> target;
    if (LSTATUS status = Resolve(key, &target, KEY_SET_VALUE))
        return status;
    // As NT does: string data whose count left out the terminating zero that
    // follows it is stored with that zero.
    if (IsStringType(type) && size > 0 && data[size - 1] != 0 && data[size] == 0)
        ++size;
    std::string valueName = name ? name : "";
    RegValue &value = target->values[Lower(valueName)];
    if (value.name.empty())
        value.name = valueName;
    value.type = type;
    value.data.assign(reinterpret_cast<const char *>(data), data ? size : 0);
    return ERROR_SUCCESS;
}

LSTATUS QueryValue(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size)
{
    std::shared_ptr<RegKey> target;
    if (LSTATUS status = Resolve(key, &target, KEY_QUERY_VALUE))
        return status;
    if (reserved != nullptr || (data != nullptr && size == nullptr))
        return ERROR_INVALID_PARAMETER;
    std::string valueName = Lower(name ? name : "");
    auto found = target->values.find(valueName);
    if (found == target->values.end()) {
        // Wine clears the type, and the size of a size query.
        if (type != nullptr)
            *type = REG_NONE;
        if (size != nullptr && data == nullptr)
            *size = 0;
        return ERROR_FILE_NOT_FOUND;
    }
    RegValue &value = found->second;
    DWORD length = static_cast<DWORD>(value.data.size());
    if (type != nullptr)
        *type = value.type;
    LSTATUS status = ERROR_SUCCESS;
    if (data != nullptr) {
        if (length > *size) {
            status = ERROR_MORE_DATA;
        } else {
            std::memcpy(data, value.data.data(), length);
            // A string without its zero gets one where there is room; the size
            // does not count it.
            if (IsStringType(value.type) && length > 0 && length < *size && data[length - 1] != 0)
                data[length] = 0;
        }
    }
    if (size != nullptr)
        *size = length;
    if (data == nullptr && size != nullptr)
        ReplaceAfterSizeQuery(target.get(), valueName, &value);
    return status;
}

LSTATUS DeleteValue(HKEY key, LPCSTR name)
{
    std::shared_ptr<RegKey> target;
    if (LSTATUS status = Resolve(key, &target, KEY_SET_VALUE))
        return status;
    return target->values.erase(Lower(name ? name : "")) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

LSTATUS DeleteKey(HKEY key, LPCSTR subKey)
{
    std::shared_ptr<RegKey> base;
    if (LSTATUS status = Resolve(key, &base))
        return status;
    if (subKey == nullptr)
        return ERROR_INVALID_PARAMETER;
    if (subKey[0] == '\\')
        return ERROR_BAD_PATHNAME;
    std::shared_ptr<RegKey> target = WalkKey(base, subKey, false, nullptr);
    if (target == nullptr)
        return ERROR_FILE_NOT_FOUND;
    // A key with subkeys cannot be deleted, nor the root.
    RegKey *parent = FindParent(S().registry.get(), target.get());
    if (!target->subkeys.empty() || parent == nullptr)
        return ERROR_ACCESS_DENIED;
    target->deleted = true;
    parent->subkeys.erase(Lower(target->name));
    return ERROR_SUCCESS;
}

LSTATUS CloseKey(HKEY key)
{
    if (key == HKEY_CURRENT_USER)
        return ERROR_SUCCESS;
    return S().openKeys.erase(reinterpret_cast<uintptr_t>(key)) ? ERROR_SUCCESS
                                                                : ERROR_INVALID_HANDLE;
}

// Out-parameters as the call log writes them. GCOVR_EXCL_START
LogValue OutKey(PHKEY key, bool filled)
{
    return key == nullptr ? "NULL" : filled ? HandleText(*key) : "&";
}

LogValue OutDword(LPDWORD value, bool filled)
{
    return value == nullptr ? "NULL" : filled ? Dec(*value) : "&";
}
// GCOVR_EXCL_STOP

}  // namespace

LSTATUS WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD reserved, LPSTR keyClass,
                               DWORD options, REGSAM access, const LPSECURITY_ATTRIBUTES security,
                               PHKEY result, LPDWORD disposition)
{
    ApiCall call(Fn::RegCreateKeyExA);
    LSTATUS status =
        call.Failed() ? call.ErrorCode() : CreateKey(key, subKey, access, result, disposition);
    bool filled = status == ERROR_SUCCESS;
    call.Log({HandleText(key), Text(subKey), Dec(reserved), Text(keyClass), Hex(options),
              Hex(access), Ptr(security), OutKey(result, filled), OutDword(disposition, filled)},
             Dec(status));
    return status;
}

LSTATUS WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD options, REGSAM access, PHKEY result)
{
    ApiCall call(Fn::RegOpenKeyExA);
    LSTATUS status = call.Failed() ? call.ErrorCode() : OpenKey(key, subKey, access, result);
    call.Log(
        {HandleText(key), Text(subKey), Hex(options), Hex(access), OutKey(result, !call.Failed())},
        Dec(status));
    return status;
}

LSTATUS WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD reserved, DWORD type,
                              const BYTE *data, DWORD size)
{
    ApiCall call(Fn::RegSetValueExA);
    LSTATUS status = call.Failed() ? call.ErrorCode() : SetValue(key, valueName, type, data, size);
    call.Log({HandleText(key), Text(valueName), Dec(reserved), Dec(type), Buffer(data), Dec(size)},
             Dec(status));
    return status;
}

LSTATUS WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type,
                                LPBYTE data, LPDWORD size)
{
    ApiCall call(Fn::RegQueryValueExA);
    LSTATUS status =
        call.Failed() ? call.ErrorCode() : QueryValue(key, valueName, reserved, type, data, size);
    bool filled = !call.Failed();
    call.Log({HandleText(key), Text(valueName), Ptr(reserved), OutDword(type, filled), Buffer(data),
              OutDword(size, filled)},
             Dec(status));
    return status;
}

LSTATUS WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName)
{
    ApiCall call(Fn::RegDeleteValueA);
    LSTATUS status = call.Failed() ? call.ErrorCode() : DeleteValue(key, valueName);
    call.Log({HandleText(key), Text(valueName)}, Dec(status));
    return status;
}

LSTATUS WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey)
{
    ApiCall call(Fn::RegDeleteKeyA);
    LSTATUS status = call.Failed() ? call.ErrorCode() : DeleteKey(key, subKey);
    call.Log({HandleText(key), Text(subKey)}, Dec(status));
    return status;
}

LSTATUS WINAPI RegCloseKey(HKEY key)
{
    ApiCall call(Fn::RegCloseKey);
    LSTATUS status = call.Failed() ? call.ErrorCode() : CloseKey(key);
    call.Log({HandleText(key)}, Dec(status));
    return status;
}

// The registry's control side. GCOVR_EXCL_START
namespace winsim {

bool KeyExists(const std::string &path)
{
    return detail::WalkKey(detail::S().registry, path, false, nullptr) != nullptr;
}

void CreateKey(const std::string &path)
{
    detail::WalkKey(detail::S().registry, path, true, nullptr);
}

void DeleteKey(const std::string &path)
{
    auto &root = detail::S().registry;
    auto target = detail::WalkKey(root, path, false, nullptr);
    if (target == nullptr || target == root)
        return;
    FindParent(root.get(), target.get())->subkeys.erase(detail::Lower(target->name));
    MarkDeleted(target.get());
}

bool GetValue(const std::string &path, const std::string &name, std::string *data, DWORD *type)
{
    auto key = detail::WalkKey(detail::S().registry, path, false, nullptr);
    if (key == nullptr)
        return false;
    auto found = key->values.find(detail::Lower(name));
    if (found == key->values.end())
        return false;
    if (data != nullptr)
        *data = found->second.data;
    if (type != nullptr)
        *type = found->second.type;
    return true;
}

void SetValue(const std::string &path, const std::string &name, DWORD type, const std::string &data)
{
    auto key = detail::WalkKey(detail::S().registry, path, true, nullptr);
    detail::RegValue &value = key->values[detail::Lower(name)];
    if (value.name.empty())
        value.name = name;
    value.type = type;
    value.data = data;
}

void DeleteValue(const std::string &path, const std::string &name)
{
    if (auto key = detail::WalkKey(detail::S().registry, path, false, nullptr))
        key->values.erase(detail::Lower(name));
}

void ReplaceValueAfterSizeQuery(const std::string &path, const std::string &name,
                                const std::string &later)
{
    detail::S().laterValues[{NormalPath(path), detail::Lower(name)}] = later;
}

void SetKeyRights(const std::string &path, REGSAM granted)
{
    detail::WalkKey(detail::S().registry, path, true, nullptr)->granted = granted;
}

int OpenKeyCount()
{
    return static_cast<int>(detail::S().openKeys.size());
}

}  // namespace winsim
// GCOVR_EXCL_STOP
