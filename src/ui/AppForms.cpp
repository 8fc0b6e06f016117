#include "ui/AppForms.h"

#include "core/AppClasses.h"
#include "core/RegistryLayout.h"
#include "toolkit/Application.h"
#include "toolkit/Registry.h"
#include "ui/FormPlacement.h"

namespace corvello {

TAppFormClass::TAppFormClass(tk::FormLayout layout, std::wstring componentName)
    : tk::Form(std::move(layout)), FComponentName(std::move(componentName))
{
}

void TAppFormClass::Loaded()
{
    tk::Form::Loaded();
    FRealBorderStyle = GetBorderStyle();
    FontUpdate();
}

void TAppFormClass::FontUpdate()
{
    tk::Form* main = tk::Application::Current().MainForm();
    if (main && main != this)
        SetFont(main->LayoutFont());
}

void TAppFormClass::AfterCreate()
{
    tk::Form::AfterCreate();
    FRealVisible = Visible();
    FRealBorderStyle = GetBorderStyle();
    if (AppObject) {
        FRR = AppObject->RR();
        FRK = AppObject->RK();
    }
    if (FRK.empty() || FRK.back() != L'\\')
        FRK += L'\\';
    FRK += FComponentName;
    SettingsRead();
}

bool TAppFormClass::SettingsRead()
{
    const auto key = tk::RegKey::Open(tk::RootKey(FRR), FRK);
    // A value of another type than ours counts as not stored.
    if (const auto bounds = key.ReadString(registry::Bounds, 64)) {
        const TQuad q = StrToRect(*bounds);
        const tk::BorderStyle border = GetBorderStyle();
        if (border == tk::BorderStyle::Sizeable || border == tk::BorderStyle::SizeToolWin)
            SetBounds(q.a, q.b, q.c, q.d);
        else
            MoveTo(q.a, q.b);
    } else {
        FormCenterOnWorkArea(this);
    }
    FormFitIntoWorkArea(this);

    if (const auto state = key.ReadDword(registry::WindowState); state && *state <= 2)
        SetWindowState(static_cast<tk::WindowState>(*state));

    bool visible = Creating() ? PendingShow() : Visible();
    if (const auto stored = key.ReadDword(registry::Visible))
        visible = *stored != 0;
    FRealVisible = visible;
    SetVisible(visible);
    if (!visible)
        CancelPendingShow();
    return true;
}

bool TAppFormClass::SettingsWrite()
{
    const auto key = tk::RegKey::Create(tk::RootKey(FRR), FRK);
    if (!key)
        return true;
    int left = Left();
    int top = Top();
    int width = Width();
    int height = Height();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (Handle() && ::GetWindowPlacement(Handle(), &placement)) {
        const RECT& r = placement.rcNormalPosition;
        // The normal rectangle is in workspace coordinates (they start at the
        // work area, not at the screen); stored bounds are screen coordinates,
        // or a task bar on the left or top would move the window every run.
        POINT offset{0, 0};
        if (!(::GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) {
            MONITORINFO info{};
            info.cbSize = sizeof info;
            if (::GetMonitorInfoW(::MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &info))
                offset = {info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top};
        }
        left = r.left + offset.x;
        top = r.top + offset.y;
        width = r.right - r.left;
        height = r.bottom - r.top;
    }
    key.WriteString(registry::Bounds, RectToStr(left, top, width, height));
    key.WriteDword(registry::WindowState, static_cast<std::uint32_t>(GetWindowState()));
    key.WriteDword(registry::Visible, FRealVisible ? 1 : 0);
    return true;
}

void TAppFormClass::DoShow()
{
    OnShowEvent(*this);
}

void TAppFormClass::DoHide()
{
    OnHideEvent(*this);
}

bool TAppFormClass::DoCloseQuery()
{
    bool canClose = true;
    OnCloseQueryEvent(*this, canClose);
    return canClose;
}

void TAppFormClass::DoClose(tk::CloseAction& action)
{
    OnCloseEvent(*this, action);
}

void TAppFormClass::OnShowEvent(tk::Form&)
{
    if (FFirstShow) {
        FFirstShow = false;
        ClearFocus();
    }
    FRealVisible = true;
    if (AppObject)
        AppObject->FreeUnusedMemory();
}

void TAppFormClass::OnHideEvent(tk::Form&)
{
    if (AppObject && AppObject->Terminated())
        return;
    SettingsWrite();
    if (AppObject)
        AppObject->FreeUnusedMemory();
}

void TAppFormClass::OnCloseEvent(tk::Form&, tk::CloseAction&)
{
    SettingsWrite();
}

void TAppFormClass::OnCloseQueryEvent(tk::Form&, bool& CanClose)
{
    CanClose = true;
}

LRESULT TAppFormClass::DoQueryEndSession()
{
    SetParentWindow(nullptr);
    Close();
    return 1;
}

void TAppFormClass::InsertIntoControl(tk::Control* AControl)
{
    if (!AControl || !AControl->Handle())
        return;
    SetBorderStyle(tk::BorderStyle::None);
    SetParentWindow(AControl->Handle());
    SetAlignClient(true);
    Show();
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TAppFormClass::RemoveFromControl()
{
    Hide();
    SetParentWindow(nullptr);
    SetBorderStyle(FRealBorderStyle);
    SetAlignClient(false);
}

void TAppFormClass::LinkLabelSetup(tk::Label& label, int tag, const std::wstring& caption, const std::wstring& hint,
                                   Handler click, Handler mouseEnter, Handler mouseLeave)
{
    label.Tag = tag;
    label.SetCaption(caption);
    label.SetHint(hint);
    label.OnClick = std::move(click);
    label.OnMouseEnter = std::move(mouseEnter);
    label.OnMouseLeave = std::move(mouseLeave);
    label.SetAutoSize(true);
}

void TAppFormClass::LinkImageSetup(tk::Image& image, int tag, const std::wstring& hint, Handler click)
{
    image.Tag = tag;
    image.SetHint(hint);
    image.OnClick = std::move(click);
}

void TAppFormClass::OnLinkClick(tk::Control& Sender)
{
    if (AppObject)
        AppObject->OpenLink(Sender.Tag);
}

void TAppFormClass::OnLinkMouseEnter(tk::Control& Sender)
{
    if (auto* label = dynamic_cast<tk::Label*>(&Sender))
        label->SetUnderline(true);
}

void TAppFormClass::OnLinkMouseLeave(tk::Control& Sender)
{
    if (auto* label = dynamic_cast<tk::Label*>(&Sender))
        label->SetUnderline(false);
}

void TAppPopupMenu::Popup(int X, int Y)
{
    FVisible = true;
    try {
        tk::PopupMenu::Popup(X, Y);
        if (OnClose)
            OnClose(*this);
    } catch (...) {
        FVisible = false;
        throw;
    }
    FVisible = false;
}

}  // namespace corvello
