// "Kwzr-WindowResize": changes a document window's outer size, keeping its
// position, Z order and activation. The window manager's own limits on a
// window's size apply; the plug-in passes the values as computed.
#include "Geometry.h"

void DoWindowResize(HostHandle parameter, HostHandle result)
{
    GeometryRequest request;
    if (!PrepareGeometryCommand(parameter, &request)) {
        SetResultFlag(result, false);
        return;
    }
    int32_t width = request.first;
    int32_t height = request.second;
    if (request.mode == kGeometryRelative) {
        width += request.rect.right - request.rect.left;
        height += request.rect.bottom - request.rect.top;
    }
    BOOL resized = SetWindowPos(request.target.document, HWND_NOTOPMOST, request.rect.left,
                                request.rect.top, width, height, kSizeOnlyFlags);
    SetResultFlag(result, resized != 0);
}
