#include "ui/PersistentForm.h"

#include "core/RegistryLayout.h"
#include "toolkit/Application.h"
#include "toolkit/Registry.h"
#include "ui/FormPlacement.h"

namespace corvello {

PersistentForm::PersistentForm(AppBase& application, tk::FormLayout layout, std::wstring componentName)
    : tk::Form(std::move(layout)), application_(application), componentName_(std::move(componentName))
{
}

void PersistentForm::Loaded()
{
    tk::Form::Loaded();
    realBorderStyle_ = GetBorderStyle();
    FontUpdate();
}

void PersistentForm::FontUpdate()
{
    tk::Form* main = tk::Application::Current().MainForm();
    if (main && main != this)
        SetFont(main->LayoutFont());
}

void PersistentForm::AfterCreate()
{
    tk::Form::AfterCreate();
    realVisible_ = Visible();
    realBorderStyle_ = GetBorderStyle();
    ResolveRegistryKey();
    SettingsRead();
}

void PersistentForm::ResolveRegistryKey()
{
    if (keyResolved_)
        return;
    keyResolved_ = true;
    registryRoot_ = application_.RegistryRoot();
    registryKey_ = application_.RegistryKey();
    if (registryKey_.empty() || registryKey_.back() != L'\\')
        registryKey_ += L'\\';
    registryKey_ += componentName_;
}

bool PersistentForm::Resizable() const
{
    const tk::BorderStyle border = GetBorderStyle();
    return border == tk::BorderStyle::Sizeable || border == tk::BorderStyle::SizeToolWin;
}

std::optional<bool> PersistentForm::StoredVisible(const tk::RegKey& key)
{
    if (const auto stored = key.ReadDword(registry::Visible))
        return *stored != 0;
    return std::nullopt;
}

bool PersistentForm::StartsHidden()
{
    ResolveRegistryKey();
    return !StoredVisible(tk::RegKey::Open(tk::RootKey(registryRoot_), registryKey_)).value_or(Layout().Visible);
}

void PersistentForm::ControlsMadeOnShow()
{
    // Placed again, as a form shown at once is placed when it is made: the
    // controls may have widened it (a caption that needs the room), and the
    // work area may have changed since the start.
    ReadPlacement(tk::RegKey::Open(tk::RootKey(registryRoot_), registryKey_));
}

void PersistentForm::ReadPlacement(const tk::RegKey& key)
{
    // A value of another type than ours, or one that cannot be read, counts
    // as not stored.
    const auto text = key.ReadString(registry::Bounds, 64);
    if (const auto bounds = text ? ReadBounds(*text) : std::nullopt) {
        if (Resizable())
            SetBounds(bounds->a, bounds->b, bounds->c, bounds->d);
        else
            MoveTo(bounds->a, bounds->b);
    } else {
        FormCenterOnWorkArea(this);
    }
    FormFitIntoWorkArea(this);
}

bool PersistentForm::SettingsRead()
{
    const auto key = tk::RegKey::Open(tk::RootKey(registryRoot_), registryKey_);
    ReadPlacement(key);

    // A form of a fixed size is never maximised: it would cover the whole
    // screen with its controls in one corner, and store that back each run.
    // Nor is one without a minimise box minimised: nothing would bring it back.
    if (const auto state = key.ReadDword(registry::WindowState); state && *state <= 2) {
        const auto windowState = static_cast<tk::WindowState>(*state);
        const bool possible = windowState == tk::WindowState::Maximized ? Resizable()
                              : windowState == tk::WindowState::Minimized ? Layout().MinimizeBox
                                                                          : true;
        if (possible)
            SetWindowState(windowState);
    }

    const bool visible = StoredVisible(key).value_or(Creating() ? PendingShow() : Visible());
    realVisible_ = visible;
    SetVisible(visible);
    if (!visible)
        CancelPendingShow();
    return true;
}

bool PersistentForm::SettingsWrite()
{
    const auto key = tk::RegKey::Create(tk::RootKey(registryRoot_), registryKey_);
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
    key.WriteDword(registry::Visible, realVisible_ ? 1 : 0);
    return true;
}

void PersistentForm::DoShow()
{
    OnShowEvent(*this);
}

void PersistentForm::DoHide()
{
    OnHideEvent(*this);
}

bool PersistentForm::DoCloseQuery()
{
    bool canClose = true;
    OnCloseQueryEvent(*this, canClose);
    return canClose;
}

void PersistentForm::DoClose(tk::CloseAction& action)
{
    OnCloseEvent(*this, action);
}

void PersistentForm::OnShowEvent(tk::Form&)
{
    if (firstShow_) {
        firstShow_ = false;
        ClearFocus();
    }
    realVisible_ = true;
    application_.FreeUnusedMemory();
}

void PersistentForm::OnHideEvent(tk::Form&)
{
    if (application_.Terminated())
        return;
    SettingsWrite();
    application_.FreeUnusedMemory();
}

void PersistentForm::OnCloseEvent(tk::Form&, tk::CloseAction&)
{
    SettingsWrite();
}

void PersistentForm::OnCloseQueryEvent(tk::Form&, bool& canClose)
{
    canClose = true;
}

void PersistentForm::DoEndSession(bool ending)
{
    // The question before only prepared the end (another program may still
    // refuse it); now it comes, and the form closes in order.
    if (!ending)
        return;
    SetParentWindow(nullptr);
    Close();
}

void PersistentForm::InsertIntoControl(tk::Control* control)
{
    if (!control || !control->Handle())
        return;
    SetBorderStyle(tk::BorderStyle::None);
    SetParentWindow(control->Handle());
    SetAlignClient(true);
    Show();
    ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PersistentForm::RemoveFromControl()
{
    Hide();
    SetParentWindow(nullptr);
    SetBorderStyle(realBorderStyle_);
    SetAlignClient(false);
}

void PersistentForm::LinkLabelSetup(tk::Label& label, int tag, const std::wstring& caption, const std::wstring& hint,
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

void PersistentForm::LinkImageSetup(tk::Image& image, int tag, const std::wstring& hint, Handler click)
{
    image.Tag = tag;
    image.SetHint(hint);
    image.OnClick = std::move(click);
}

void PersistentForm::OnLinkClick(tk::Control& sender)
{
    application_.OpenLink(sender.Tag);
}

void PersistentForm::OnLinkMouseEnter(tk::Control& sender)
{
    if (auto* label = sender.AsLabel())
        label->SetUnderline(true);
}

void PersistentForm::OnLinkMouseLeave(tk::Control& sender)
{
    if (auto* label = sender.AsLabel())
        label->SetUnderline(false);
}

}  // namespace corvello
