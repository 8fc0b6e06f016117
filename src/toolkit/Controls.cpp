#include "toolkit/Controls.h"

#include <commctrl.h>

#include "toolkit/Actions.h"
#include "toolkit/Form.h"

namespace tk {

// --- Control

Control::Control(Container& parent, const Bounds& bounds)
    : FParent(parent), FForm(&parent.OwningForm()), FBounds(bounds), FId(FForm->NextControlId())
{
}

Control::~Control()
{
    if (FForm)
        FForm->ControlRemoved(*this);
}

bool Control::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle)
{
    if (!CreateSystemControl(className, exStyle, WS_CHILD | style, PixelRect(),
                             FParent.ContainerHandle(), FId))
        return false;
    ApplyFont();
    FForm->ControlAdded(*this);
    if (FVisible)
        ::ShowWindow(Handle(), SW_SHOWNA);
    return true;
}

RECT Control::PixelRect() const
{
    const UINT dpi = FForm->Dpi();
    const POINT origin = FParent.ContainerOrigin();
    const int left = Scale(origin.x + FBounds.Left, dpi);
    const int top = Scale(origin.y + FBounds.Top, dpi);
    return {left, top, left + Scale(FBounds.Width, dpi), top + Scale(FBounds.Height, dpi)};
}

void Control::SetBounds(const Bounds& bounds)
{
    FBounds = bounds;
    ApplyLayout();
}

void Control::ApplyLayout()
{
    if (!Handle())
        return;
    const RECT r = PixelRect();
    ::SetWindowPos(Handle(), nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void Control::SetVisible(bool visible)
{
    FVisible = visible;
    if (Handle())
        ::ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::Enabled() const noexcept
{
    return Handle() && ::IsWindowEnabled(Handle());
}

void Control::SetEnabled(bool enabled)
{
    if (Handle())
        ::EnableWindow(Handle(), enabled);
}

void Control::SetFocus()
{
    if (Handle())
        ::SetFocus(Handle());
}

void Control::SetCaption(const std::wstring& caption)
{
    FCaption = caption;
    SetText(caption);
}

void Control::SetHint(const std::wstring& hint)
{
    FHint = hint;
    FForm->UpdateTooltip(*this);
}

void Control::SetFont(const FontSpec& spec)
{
    FFontSpec = spec;
    ApplyFont();
}

void Control::ApplyFont()
{
    if (FFontSpec)
        FFont = CreateFontFor(*FFontSpec, FForm->Dpi());
    else
        FFont.Reset();
    if (Handle())
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), TRUE);
}

HFONT Control::CurrentFont() const noexcept
{
    return FFont ? FFont.Get() : FForm->FontHandle();
}

void Control::SetTextColor(COLORREF color)
{
    FTextColor = color;
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

void Control::Click()
{
    if (OnClick)
        OnClick(*this);
}

void Control::Notify(WORD) {}

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            if (auto* control = dynamic_cast<Control*>(Window::FromHandle(reinterpret_cast<HWND>(lParam)))) {
                control->Notify(HIWORD(wParam));
                result = 0;
                return true;
            }
        }
        return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (auto* control = dynamic_cast<Control*>(Window::FromHandle(reinterpret_cast<HWND>(lParam)))) {
            const HDC dc = reinterpret_cast<HDC>(wParam);
            if (control->TextColor())
                ::SetTextColor(dc, *control->TextColor());
            ::SetBkColor(dc, control->OwnerForm().Color());
            result = reinterpret_cast<LRESULT>(control->OwnerForm().BackgroundBrush());
            return true;
        }
        return false;
    default:
        return false;
    }
}

// --- Button

Button::Button(Container& parent, const Bounds& bounds, const std::wstring& caption) : Control(parent, bounds)
{
    FCaption = caption;
    CreateControl(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON);
    SetText(caption);
}

Button::~Button()
{
    SetAction(nullptr);
}

void Button::SetDefault(bool isDefault)
{
    FDefault = isDefault;
    if (Handle())
        ::SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (isDefault)
        FForm->SetDefaultButton(this);
}

void Button::SetAction(Action* action)
{
    if (FAction)
        FAction->Unsubscribe(FActionToken);
    FAction = action;
    if (FAction) {
        FActionToken = FAction->Subscribe([this] { FollowAction(); });
        FollowAction();
    }
}

void Button::FollowAction()
{
    SetCaption(FAction->Caption());
    SetHint(FAction->Hint());
    SetEnabled(FAction->Enabled());
}

void Button::SetGlyph(HICON icon)
{
    if (Handle())
        ::SendMessageW(Handle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Button::Click()
{
    // The handlers may free the form: work from what is known now.
    Form& form = *FForm;
    const int result = ModalResult;
    if (FAction)
        FAction->Execute();
    else
        Control::Click();
    if (result != mr::None)
        form.SetModalResult(result);
}

void Button::Notify(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

// --- CheckBox

CheckBox::CheckBox(Container& parent, const Bounds& bounds, const std::wstring& caption, bool checked)
    : Control(parent, bounds)
{
    FCaption = caption;
    CreateControl(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX);
    SetText(caption);
    if (Handle())
        ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const noexcept
{
    return Handle() && ::SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked)
{
    if (Checked() == checked)
        return;
    ::SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Click();
}

void CheckBox::Notify(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

// --- GroupBox

GroupBox::GroupBox(Container& parent, const Bounds& bounds, const std::wstring& caption) : Control(parent, bounds)
{
    FCaption = caption;
    CreateControl(WC_BUTTONW, BS_GROUPBOX);
    SetText(caption);
    // Below the controls it frames, as in a dialog.
    if (Handle())
        ::SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND GroupBox::ContainerHandle() const
{
    return FParent.ContainerHandle();
}

POINT GroupBox::ContainerOrigin() const
{
    const POINT outer = FParent.ContainerOrigin();
    return {outer.x + FBounds.Left, outer.y + FBounds.Top};
}

// --- Label

Label::Label(Container& parent, const Bounds& bounds, const std::wstring& caption, Options options)
    : Control(parent, bounds), FOptions(options)
{
    FCaption = caption;
    DWORD style = SS_NOTIFY | SS_NOPREFIX;
    switch (options.Align) {
    case Alignment::Left:
        style |= options.WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
        break;
    case Alignment::Center:
        style |= SS_CENTER;
        break;
    case Alignment::Right:
        style |= SS_RIGHT;
        break;
    }
    CreateControl(WC_STATICW, style);
    SetText(caption);
    FitToText();
}

void Label::SetCaption(const std::wstring& caption)
{
    Control::SetCaption(caption);
    FitToText();
}

void Label::SetAutoSize(bool autoSize)
{
    FOptions.AutoSize = autoSize;
    FitToText();
}

void Label::FitToText()
{
    if (!FOptions.AutoSize || !Handle())
        return;
    // Measure at the form's dpi, store at 96 dpi.
    const HDC dc = ::GetDC(Handle());
    const HGDIOBJ old = ::SelectObject(dc, CurrentFont());
    RECT r{0, 0, FOptions.WordWrap ? Scale(FBounds.Width, FForm->Dpi()) : 0, 0};
    const std::wstring text = FCaption.empty() ? L" " : FCaption;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_NOPREFIX | (FOptions.WordWrap ? DT_WORDBREAK : 0));
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    const UINT dpi = FForm->Dpi();
    FBounds.Width = ::MulDiv(r.right - r.left, 96, static_cast<int>(dpi)) + 1;
    FBounds.Height = ::MulDiv(r.bottom - r.top, 96, static_cast<int>(dpi));
    Control::ApplyLayout();
}

void Label::SetUnderline(bool underline)
{
    FontSpec spec = FFontSpec.value_or(FForm->LayoutFont());
    spec.Underline = underline;
    SetFont(spec);
}

bool Label::Underline() const noexcept
{
    return FFontSpec && FFontSpec->Underline;
}

void Label::Notify(WORD code)
{
    if (code == STN_CLICKED)
        Click();
}

LRESULT Label::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (FOptions.HandCursor) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (!FTracking) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            FTracking = ::TrackMouseEvent(&track) != FALSE;
            if (OnMouseEnter)
                OnMouseEnter(*this);
        }
        break;
    case WM_MOUSELEAVE:
        FTracking = false;
        if (OnMouseLeave)
            OnMouseLeave(*this);
        break;
    default:
        break;
    }
    return Control::WndProc(message, wParam, lParam);
}

// --- Image

Image::Image(Container& parent, const Bounds& bounds, bool center, bool handCursor)
    : Control(parent, bounds), FHandCursor(handCursor)
{
    CreateControl(WC_STATICW, SS_ICON | SS_NOTIFY | (center ? SS_CENTERIMAGE : 0) | SS_REALSIZECONTROL);
}

void Image::SetIcon(HICON icon)
{
    FIcon = icon;
    if (Handle())
        ::SendMessageW(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    if (AutoSize && icon) {
        ICONINFO info{};
        if (::GetIconInfo(icon, &info)) {
            BITMAP bm{};
            ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
            const int height = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            if (info.hbmColor)
                ::DeleteObject(info.hbmColor);
            if (info.hbmMask)
                ::DeleteObject(info.hbmMask);
            const UINT dpi = FForm->Dpi();
            SetBounds({FBounds.Left, FBounds.Top, ::MulDiv(bm.bmWidth, 96, static_cast<int>(dpi)),
                       ::MulDiv(height, 96, static_cast<int>(dpi))});
        }
    } else {
        ApplyLayout();
    }
}

void Image::Notify(WORD code)
{
    if (code == STN_CLICKED)
        Click();
}

LRESULT Image::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETCURSOR && FHandCursor) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return Control::WndProc(message, wParam, lParam);
}

// --- Panel

Panel::Panel(Container& parent, const Bounds& bounds, const std::wstring& caption) : Control(parent, bounds)
{
    FCaption = caption;
    if (CreateOwnClass(L"TPanel", WS_EX_CONTROLPARENT, WS_CHILD, PixelRect(),
                       FParent.ContainerHandle(), FId)) {
        SetText(caption);
        ApplyFont();
        FForm->ControlAdded(*this);
        if (FVisible)
            ::ShowWindow(Handle(), SW_SHOWNA);
    }
}

void Panel::SetAlignClient(bool fill)
{
    if (!fill || !Handle())
        return;
    RECT client{};
    ::GetClientRect(FParent.ContainerHandle(), &client);
    ::SetWindowPos(Handle(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT Panel::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result))
        return result;
    return Control::WndProc(message, wParam, lParam);
}

// --- Bevel

Bevel::Bevel(Container& parent, const Bounds& bounds) : Control(parent, bounds)
{
    CreateControl(WC_STATICW, SS_ETCHEDFRAME);
}

}  // namespace tk
