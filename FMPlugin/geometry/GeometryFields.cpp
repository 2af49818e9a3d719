// Reading and validating the fields of the relocate and resize commands.
// Every field is checked before any window is looked up.
#include "Geometry.h"

enum { kCoordinateWidth = 5 };

bool ReadCoordinateField(HostHandle parameter, int16_t fieldNumber, int32_t *value)
{
    char field[kNumberLimit + 2];
    uint32_t length = 0;
    GetParameterField(parameter, fieldNumber, kNumberLimit, field, &length);
    if (length > kCoordinateWidth)
        return false;
    if (length == 0) {
        *value = 0;
        return true;
    }
    // Right-align the characters in five places, "0" filling the left.
    char places[kCoordinateWidth];
    uint32_t fill = kCoordinateWidth - length;
    for (uint32_t i = 0; i < fill; ++i)
        places[i] = '0';
    CopyBytes(field, places + fill, length);
    *value = ParseCoordinate(places[0], places[1], places[2], places[3], places[4]);
    return true;
}

static bool ReadGeometryMode(HostHandle parameter, GeometryMode *mode)
{
    char field[kModeLimit + 2];
    uint32_t length = 0;
    GetParameterField(parameter, 2, kModeLimit, field, &length);
    if (length != 1)
        return false;
    switch (field[0]) {
    case 'A':
    case 'a':
        *mode = kGeometryAbsolute;
        return true;
    case 'R':
    case 'r':
        *mode = kGeometryRelative;
        return true;
    default:
        return false;
    }
}

bool PrepareGeometryCommand(HostHandle parameter, GeometryRequest *request)
{
    char title[kTitleBufferSize];
    if (!ReadTitleField(parameter, 1, title))
        return false;
    if (!ReadGeometryMode(parameter, &request->mode))
        return false;
    if (!ReadCoordinateField(parameter, 3, &request->first))
        return false;
    if (!ReadCoordinateField(parameter, 4, &request->second))
        return false;
    if (!ResolveTargetWindow(parameter, title, 5, &request->target))
        return false;
    return GetWindowRect(request->target.document, &request->rect) != 0;
}
