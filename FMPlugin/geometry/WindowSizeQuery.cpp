// "Kwzr-GetWindowSize" and "Kwzr-GetWindowSizeABS": a document window's outer
// rectangle relative to the application window's client area, less 2, as
// four numbers joined by "|". A negative value is written with a leading "-"
// so that it can be passed back to the relocate command.
#include "Targeting.h"

enum { kDecimalDigits = 10, kPlacementTextSize = 4 * (1 + kDecimalDigits) + 3 };

static uint32_t AppendNumber(char *destination, int32_t value)
{
    uint32_t sign = 0;
    uint32_t magnitude = (uint32_t)value;
    if (value < 0) {
        destination[0] = '-';
        sign = 1;
        magnitude = 0u - magnitude;
    }
    uint8_t digits = 0;
    FormatDecimal(magnitude, destination + sign, &digits);
    return sign + digits;
}

static void AnswerPlacement(HostHandle parameter, HostHandle result, bool edges)
{
    TargetWindows target;
    RECT rect;
    if (!ResolvePlainTarget(parameter, &target) || !GetWindowRect(target.document, &rect)) {
        SetResultFlag(result, false);
        return;
    }
    MapWindowPoints(NULL, target.application, (LPPOINT)&rect, 2);

    int32_t values[4];
    values[0] = rect.left - 2;
    values[1] = rect.top - 2;
    values[2] = edges ? rect.right - 2 : rect.right - rect.left;
    values[3] = edges ? rect.bottom - 2 : rect.bottom - rect.top;

    char text[kPlacementTextSize];
    uint32_t length = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            text[length++] = '|';
        length += AppendNumber(text + length, values[i]);
    }
    SetResultText(result, text, length);
}

void DoGetWindowSize(HostHandle parameter, HostHandle result)
{
    AnswerPlacement(parameter, result, false);
}

void DoGetWindowSizeABS(HostHandle parameter, HostHandle result)
{
    AnswerPlacement(parameter, result, true);
}
