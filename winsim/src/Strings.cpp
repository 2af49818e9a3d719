// Text helpers shared by winsim; the kernel's string functions lstrcpyA and
// lstrlenA, its lead-byte test and the ids of the calling process and thread.
#include "Internal.h"

#include <cctype>
#include <cstring>

namespace winsim {
namespace detail {

std::string Lower(const std::string &text)
{
    std::string lower = text;
    for (char &c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

namespace {

bool SameLower(const char *a, size_t aLength, const char *b, size_t bLength)
{
    if (aLength != bLength)
        return false;
    for (size_t i = 0; i < aLength; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

}  // namespace

bool SameText(const std::string &a, const char *b)
{
    return SameLower(a.data(), a.size(), b, std::strlen(b));
}

int CopyOut(const std::string &text, LPSTR buffer, int maxCount)
{
    if (buffer == nullptr || maxCount <= 0)
        return 0;
    size_t count = text.size() < static_cast<size_t>(maxCount - 1)
                       ? text.size()
                       : static_cast<size_t>(maxCount - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

}  // namespace detail
}  // namespace winsim

using namespace winsim::detail;

LPSTR WINAPI lstrcpyA(LPSTR destination, LPCSTR source)
{
    ApiCall call(Fn::lstrcpyA);
    LPSTR result = NULL;
    // The real function turns a bad pointer into a null answer.
    if (!call.Failed() && destination != nullptr && source != nullptr)
        result = std::strcpy(destination, source);
    call.Log({Buffer(destination), Text(source)}, Buffer(result));
    return result;
}

int WINAPI lstrlenA(LPCSTR text)
{
    ApiCall call(Fn::lstrlenA);
    int result = 0;
    if (!call.Failed() && text != nullptr)
        result = static_cast<int>(std::strlen(text));
    call.Log({Text(text)}, Dec(result));
    return result;
}

BOOL WINAPI IsDBCSLeadByte(BYTE testChar)
{
    ApiCall call(Fn::IsDBCSLeadByte);
    BOOL result = FALSE;
    if (!call.Failed())
        for (const auto &range : S().leadByteRanges)
            result |= testChar >= range.first && testChar <= range.second;
    call.Log({Hex(testChar)}, Dec(result));
    return result;
}

// These two cannot fail on Windows (they read the thread's own block), so
// they are neither logged nor faultable.
DWORD WINAPI GetCurrentProcessId(void)
{
    return winsim::kOwnProcess;
}

DWORD WINAPI GetCurrentThreadId(void)
{
    return winsim::kOwnThread;
}
