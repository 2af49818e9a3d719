// The cursor display counter and the sounds: ShowCursor and MessageBeep.
#include "Internal.h"

// GCOVR_EXCL_START: the control side
namespace winsim {

int CursorCount()
{
    return detail::S().cursorCount;
}
void SetCursorCount(int count)
{
    detail::S().cursorCount = count;
}
std::vector<UINT> Beeps()
{
    return detail::S().beeps;
}

}  // namespace winsim
// GCOVR_EXCL_STOP

using namespace winsim::detail;

int WINAPI ShowCursor(BOOL show)
{
    ApiCall call(Fn::ShowCursor);
    int result = 0;
    if (!call.Failed())
        result = S().cursorCount += show ? 1 : -1;
    call.Log({Dec(show)}, Dec(result));
    return result;
}

BOOL WINAPI MessageBeep(UINT type)
{
    ApiCall call(Fn::MessageBeep);
    BOOL result = FALSE;
    if (!call.Failed()) {
        S().beeps.push_back(type);
        result = TRUE;
    }
    call.Log({Hex(type)}, Dec(result));
    return result;
}
