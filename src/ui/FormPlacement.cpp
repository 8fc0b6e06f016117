#include "ui/FormPlacement.h"

namespace corvello {
namespace {

Area ToArea(const RECT& r)
{
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

Area GetWorkArea()
{
    RECT r{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return ToArea(r);
}

Area GetFormWorkArea(const tk::Form* form)
{
    Area area = GetWorkArea();
    if (form && form->Handle()) {
        const RECT bounds = form->BoundsRect();
        if (const HMONITOR monitor = ::MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(monitor, &info))
                area = ToArea(info.rcWork);
        }
    }
    return area;
}

void FormFitIntoWorkArea(tk::Form* form)
{
    if (!form)
        return;
    const Point at = FitIntoArea(form->Left(), form->Top(), form->Width(), form->Height(), GetFormWorkArea(form));
    form->MoveTo(at.x, at.y);
}

void FormCenterOnWorkArea(tk::Form* form)
{
    if (!form)
        return;
    const Point at = CenterOnArea(form->Width(), form->Height(), GetFormWorkArea(form));
    form->MoveTo(at.x, at.y);
}

void FormCenterOnForm(tk::Form* form, const tk::Form* other)
{
    if (!form)
        return;
    if (!other || !other->Visible()) {
        FormCenterOnWorkArea(form);
        return;
    }
    const Point at = CenterOnRect(form->Width(), form->Height(), other->Left(), other->Top(), other->Width(),
                                   other->Height(), GetFormWorkArea(other));
    form->MoveTo(at.x, at.y);
}

}  // namespace corvello
