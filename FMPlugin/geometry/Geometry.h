// The fields and the first steps that "Kwzr-WindowRelocate" and
// "Kwzr-WindowResize" share.
#ifndef FMPLUGIN_GEOMETRY_GEOMETRY_H
#define FMPLUGIN_GEOMETRY_GEOMETRY_H

#include "Targeting.h"

enum GeometryMode { kGeometryAbsolute, kGeometryRelative };

struct GeometryRequest {
    GeometryMode mode;
    int32_t first;   // horizontal position or width, or the change of either
    int32_t second;  // vertical position or height, or the change of either
    TargetWindows target;
    RECT rect;  // the document window's outer rectangle, screen coordinates
};

// Reads a number field of at most five characters; an empty or missing
// field is 0.
bool ReadCoordinateField(HostHandle parameter, int16_t fieldNumber, int32_t *value);

// Validates every field, then finds the document window and reads its
// rectangle. Title|mode|first|second|application code.
bool PrepareGeometryCommand(HostHandle parameter, GeometryRequest *request);

#endif
