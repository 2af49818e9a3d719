// "Kwzr-WindowRelocate": moves a document window, keeping its size.
// Positions are in the MDI client's client area, where SetWindowPos places a
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
    // The outer corner in the parent's client coordinates.
    MapWindowPoints(NULL, request.target.mdiClient, (LPPOINT)&request.rect, 2);
    int32_t x = request.first;
    int32_t y = request.second;
    if (request.mode == kGeometryRelative) {
        x = LimitCoordinate(x + request.rect.left);
        y = LimitCoordinate(y + request.rect.top);
    }
    // Moved only: a size given again, as MoveWindow gives it, has the
    // window ask its host for its size limits once more.
    BOOL moved = SetWindowPos(request.target.document, NULL, x, y, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetResultFlag(result, moved != 0);
}
