#include "ui/WindowSnapping.h"

#include "ui/FormPlacement.h"
#include "ui/Placement.h"

namespace corvello {

bool WindowSnapping::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_ENTERSIZEMOVE:
        dragging_ = true;
        return false;
    case WM_EXITSIZEMOVE:
        dragging_ = false;
        return false;
    case WM_MOVING: {
        if (!dragging_)
            return false;
        auto* rect = reinterpret_cast<RECT*>(lParam);
        const Area area = GetFormWorkArea(&form_);
        const Point at = SnapToArea(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, area,
                                    tk::Scale(distance_, form_.Dpi()));
        ::OffsetRect(rect, at.x - rect->left, at.y - rect->top);
        result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

}  // namespace corvello
