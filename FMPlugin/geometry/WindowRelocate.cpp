// "Kwzr-WindowRelocate": moves a document window, keeping its size.
// Positions are in the MDI client's client area, where MoveWindow places a
// child window; a relative move starts from the window's own corner there,
// and ends within the -16000 to 16000 that an absolute one can give: window
// messages such as WM_MOVE carry no more than 32767.
#include "Geometry.h"

void DoWindowRelocate(HostHandle parameter, HostHandle result)
{
    GeometryRequest request;
    if (!PrepareGeometryCommand(parameter, &request)) {
        SetResultFlag(result, false);
        return;
    }
    LONG width = request.rect.right - request.rect.left;
    LONG height = request.rect.bottom - request.rect.top;

    // The outer corner in the parent's client coordinates.
    MapWindowPoints(NULL, request.target.mdiClient, (LPPOINT)&request.rect, 2);
    int32_t x = request.first;
    int32_t y = request.second;
    if (request.mode == kGeometryRelative) {
        x = LimitCoordinate(x + request.rect.left);
        y = LimitCoordinate(y + request.rect.top);
    }
    BOOL moved = MoveWindow(request.target.document, x, y, width, height, TRUE);
    SetResultFlag(result, moved != 0);
}
