#include "toolkit/Form.h"

#include <commctrl.h>

#include <algorithm>

#include "toolkit/Application.h"

namespace tk {
namespace {

BOOL AdjustForDpi(RECT* rect, DWORD style, DWORD exStyle, UINT dpi)
{
    using Fn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
    if (fn)
        return fn(rect, style, FALSE, exStyle, dpi);
    return ::AdjustWindowRectEx(rect, style, FALSE, exStyle);
}

}  // namespace

Form::Form(FormLayout layout) : layout_(std::move(layout)), border_(layout_.Border) {}

Form::~Form()
{
    auto& app = Application::Current();
    if (app.MainForm() == this)
        app.SetMainForm(nullptr);
    if (app.ActiveForm() == this)
        app.SetActiveForm(nullptr);
    app.ModalFormFinished(this);
    DestroyHandle();
}

DWORD Form::StyleFor(BorderStyle border, bool child) const noexcept
{
    // No WS_CLIPCHILDREN: group boxes draw no background of their own.
    DWORD style = child ? WS_CHILD : 0;
    if (border == BorderStyle::None)
        return style | (child ? 0 : WS_POPUP);
    style |= WS_CAPTION;
    if (layout_.SystemMenu)
        style |= WS_SYSMENU;
    switch (border) {
    case BorderStyle::Sizeable:
        style |= WS_THICKFRAME;
        if (layout_.MinimizeBox)
            style |= WS_MINIMIZEBOX;
        if (layout_.MaximizeBox)
            style |= WS_MAXIMIZEBOX;
        break;
    case BorderStyle::Single:
        if (layout_.MinimizeBox)
            style |= WS_MINIMIZEBOX;
        if (layout_.MaximizeBox)
            style |= WS_MAXIMIZEBOX;
        break;
    case BorderStyle::SizeToolWin:
        style |= WS_THICKFRAME;
        break;
    default:
        break;
    }
    return style;
}

DWORD Form::ExStyleFor(BorderStyle border) const noexcept
{
    DWORD ex = WS_EX_CONTROLPARENT;
    if (border == BorderStyle::Dialog)
        ex |= WS_EX_DLGMODALFRAME;
    if (border == BorderStyle::ToolWindow || border == BorderStyle::SizeToolWin)
        ex |= WS_EX_TOOLWINDOW;
    return ex;
}

void Form::Create(HWND owner)
{
    if (Handle())
        return;
    creating_ = true;
    pendingShow_ = layout_.Visible;
    dpi_ = DpiFor(owner);
    const DWORD style = StyleFor(border_, false);
    const DWORD exStyle = ExStyleFor(border_);
    RECT r{0, 0, Scale(layout_.ClientWidth, dpi_), Scale(layout_.ClientHeight, dpi_)};
    AdjustForDpi(&r, style, exStyle, dpi_);
    const int left = Scale(layout_.Left, dpi_);
    const int top = Scale(layout_.Top, dpi_);
    const RECT bounds{left, top, left + r.right - r.left, top + r.bottom - r.top};
    static const HICON appIcon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    if (!CreateOwnClass(layout_.ClassName.c_str(), exStyle, style, bounds, owner, 0, appIcon)) {
        creating_ = false;
        return;
    }
    // The window now knows its monitor: fit the layout to that monitor's dpi.
    const UINT dpi = DpiFor(Handle());
    if (dpi != dpi_) {
        dpi_ = dpi;
        RECT sized{0, 0, Scale(layout_.ClientWidth, dpi_), Scale(layout_.ClientHeight, dpi_)};
        AdjustForDpi(&sized, style, exStyle, dpi_);
        ::SetWindowPos(Handle(), nullptr, Scale(layout_.Left, dpi_), Scale(layout_.Top, dpi_),
                       sized.right - sized.left, sized.bottom - sized.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    font_ = CreateFontFor(layout_.Font, dpi_);
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
    SetText(layout_.Caption);

    if (!layout_.ControlsWhenShown || !StartsHidden())
        MakeControls();
    AfterCreate();
    creating_ = false;
    if (pendingShow_) {
        pendingShow_ = false;
        SetVisible(true);
    }
}

void Form::MakeControls()
{
    controlsMade_ = true;
    tooltip_.Reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr));
    CreateControls();
    Loaded();
}

void Form::MakeControlsOnShow()
{
    if (controlsMade_ || !Handle())
        return;
    MakeControls();
    ControlsMadeOnShow();
}

int Form::Left() const
{
    return BoundsRect().left;
}

int Form::Top() const
{
    return BoundsRect().top;
}

int Form::Width() const
{
    const RECT r = BoundsRect();
    return r.right - r.left;
}

int Form::Height() const
{
    const RECT r = BoundsRect();
    return r.bottom - r.top;
}

RECT Form::BoundsRect() const
{
    RECT r{};
    if (Handle()) {
        ::GetWindowRect(Handle(), &r);
        // An embedded form is placed in its parent's client area.
        if (const HWND parent = ::GetParent(Handle()); parent && (::GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD))
            ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

void Form::SetBounds(int left, int top, int width, int height)
{
    if (Handle())
        ::SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::MoveTo(int left, int top)
{
    if (Handle())
        ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
}

void Form::SetClientSize(int width, int height)
{
    layout_.ClientWidth = width;
    layout_.ClientHeight = height;
    if (!Handle())
        return;
    RECT r{0, 0, Scale(width, dpi_), Scale(height, dpi_)};
    AdjustForDpi(&r, static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)),
                 static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_EXSTYLE)), dpi_);
    ::SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::ClientWidth() const
{
    RECT r{};
    if (Handle())
        ::GetClientRect(Handle(), &r);
    return r.right;
}

int Form::ClientHeight() const
{
    RECT r{};
    if (Handle())
        ::GetClientRect(Handle(), &r);
    return r.bottom;
}

void Form::SetFont(const FontSpec& spec)
{
    layout_.Font = spec;
    font_ = CreateFontFor(spec, dpi_);
    if (Handle())
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    for (Control* control : controls_)
        control->ApplyFont();
}

void Form::SetColor(COLORREF color)
{
    brush_.Reset(::CreateSolidBrush(color));
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

COLORREF Form::Color() const noexcept
{
    if (brush_) {
        LOGBRUSH info{};
        if (::GetObjectW(brush_.Get(), sizeof info, &info))
            return info.lbColor;
    }
    return ::GetSysColor(COLOR_BTNFACE);
}

HBRUSH Form::BackgroundBrush() const noexcept
{
    return brush_ ? brush_.Get() : ::GetSysColorBrush(COLOR_BTNFACE);
}

void Form::SetBorderStyle(BorderStyle border)
{
    border_ = border;
    if (!Handle())
        return;
    const bool child = (::GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD) != 0;
    const DWORD keep = static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE)) & (WS_VISIBLE | WS_DISABLED);
    ::SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>(StyleFor(border, child) | keep));
    ::SetWindowLongW(Handle(), GWL_EXSTYLE, static_cast<LONG>(ExStyleFor(border)));
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

WindowState Form::GetWindowState() const
{
    if (Handle() && ::IsWindowVisible(Handle())) {
        if (::IsIconic(Handle()))
            return WindowState::Minimized;
        if (::IsZoomed(Handle()))
            return WindowState::Maximized;
        return WindowState::Normal;
    }
    return windowState_;
}

void Form::SetWindowState(WindowState state)
{
    windowState_ = state;
    if (Handle() && ::IsWindowVisible(Handle())) {
        const int command = state == WindowState::Maximized   ? SW_MAXIMIZE
                            : state == WindowState::Minimized ? SW_MINIMIZE
                                                              : SW_RESTORE;
        ::ShowWindow(Handle(), command);
    }
}

bool Form::Visible() const
{
    return Handle() && ::IsWindowVisible(Handle());
}

void Form::SetVisible(bool visible)
{
    if (creating_) {
        pendingShow_ = visible;
        return;
    }
    if (!Handle() || visible == Visible())
        return;
    if (visible) {
        MakeControlsOnShow();
        const int command = windowState_ == WindowState::Maximized   ? SW_SHOWMAXIMIZED
                            : windowState_ == WindowState::Minimized ? SW_SHOWMINIMIZED
                                                                     : SW_SHOW;
        ::ShowWindow(Handle(), command);
    } else {
        windowState_ = GetWindowState();
        ::ShowWindow(Handle(), SW_HIDE);
    }
}

void Form::BringToFront()
{
    if (Handle())
        ::SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Form::Close()
{
    if (modal_) {
        modalResult_ = mr::Cancel;
        return;
    }
    if (!DoCloseQuery())
        return;
    CloseAction action = CloseAction::Hide;
    DoClose(action);
    auto& app = Application::Current();
    switch (action) {
    case CloseAction::None:
        break;
    case CloseAction::Minimize:
        SetWindowState(WindowState::Minimized);
        break;
    default:
        // The main form's close ends the program.
        if (app.MainForm() == this)
            app.Terminate();
        else
            Hide();
        break;
    }
}

int Form::ShowModal()
{
    auto& app = Application::Current();
    if (!Handle() || modal_)
        return mr::None;
    // Every other window of the thread waits for this one.
    struct Disabling {
        HWND Keep;
        std::vector<HWND> Windows;
    } disabling{Handle(), {}};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* d = reinterpret_cast<Disabling*>(param);
            if (window != d->Keep && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
                ::EnableWindow(window, FALSE);
                d->Windows.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabling));
    app.ModalStarted();
    app.ModalFormStarted(this);
    modal_ = true;
    modalResult_ = mr::None;
    Show();
    ::SetForegroundWindow(Handle());
    while (modalResult_ == mr::None) {
        if (app.Terminated()) {
            modalResult_ = mr::Cancel;
            break;
        }
        app.HandleMessage();
        if (modalResult_ != mr::None && !DoCloseQuery())
            modalResult_ = mr::None;
    }
    CloseAction action = CloseAction::Hide;
    DoClose(action);
    for (const HWND window : disabling.Windows)
        if (::IsWindow(window))
            ::EnableWindow(window, TRUE);
    // Hand the activation back before the window goes away.
    Hide();
    modal_ = false;
    app.ModalFormFinished(this);
    app.ModalFinished();
    return modalResult_;
}

void Form::SetParentWindow(HWND parent)
{
    if (!Handle())
        return;
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(Handle(), GWL_STYLE));
    if (parent) {
        ::SetWindowLongW(Handle(), GWL_STYLE, static_cast<LONG>((style & ~WS_POPUP) | WS_CHILD));
        ::SetParent(Handle(), parent);
    } else {
        ::SetParent(Handle(), nullptr);
        ::SetWindowLongW(Handle(), GWL_STYLE,
                         static_cast<LONG>((style & ~WS_CHILD) | (border_ == BorderStyle::None ? WS_POPUP : 0)));
    }
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

HWND Form::ParentWindow() const noexcept
{
    if (!Handle() || !(::GetWindowLongW(Handle(), GWL_STYLE) & WS_CHILD))
        return nullptr;
    return ::GetParent(Handle());
}

void Form::SetAlignClient(bool fill)
{
    alignClient_ = fill;
    if (const HWND parent = ParentWindow(); fill && parent) {
        RECT client{};
        ::GetClientRect(parent, &client);
        ::SetWindowPos(Handle(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Form::ClearFocus()
{
    activeControl_ = nullptr;
    if (Handle() && ::GetFocus() && ::IsChild(Handle(), ::GetFocus()))
        ::SetFocus(Handle());
}

void Form::ControlAdded(Control& control)
{
    controls_.push_back(&control);
}

void Form::ControlRemoved(Control& control) noexcept
{
    std::erase(controls_, &control);
    if (activeControl_ == &control)
        activeControl_ = nullptr;
    if (defaultButton_ == &control)
        defaultButton_ = nullptr;
    if (cancelButton_ == &control)
        cancelButton_ = nullptr;
    if (pageTabs_ == &control)
        pageTabs_ = nullptr;
}

void Form::UpdateTooltip(Control& control)
{
    if (!tooltip_ || !control.Handle())
        return;
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Handle();
    info.uId = reinterpret_cast<UINT_PTR>(control.Handle());
    ::SendMessageW(tooltip_.Get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (control.Hint().empty())
        return;
    std::wstring text = control.Hint();
    info.lpszText = text.data();
    ::SendMessageW(tooltip_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Form::ApplyDpi(UINT dpi)
{
    dpi_ = dpi;
    font_ = CreateFontFor(layout_.Font, dpi_);
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
    for (Control* control : controls_) {
        control->ApplyFont();
        control->ApplyLayout();
    }
    DoDpiChanged();
}

void Form::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Keyboard: the dialog manager turns Enter into IDOK and Escape into IDCANCEL.
    if (lParam != 0)
        return;
    const WORD id = LOWORD(wParam);
    if (id == IDOK) {
        if (!defaultButton_)
            DoEnter();
        else if (defaultButton_->Enabled())
            defaultButton_->Click();
    } else if (id == IDCANCEL) {
        if (cancelButton_ && cancelButton_->Enabled())
            cancelButton_->Click();
    } else {
        // A control the dialog manager named by id (one inside a panel).
        const auto it = std::find_if(controls_.begin(), controls_.end(), [id](Control* c) { return c->Id() == id; });
        if (it != controls_.end())
            (*it)->Notify(HIWORD(wParam));
    }
}

bool Form::DialogKey(const MSG& msg)
{
    // A key held down reads as a negative state.
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_TAB || ::GetKeyState(VK_CONTROL) >= 0 || !pageTabs_)
        return false;
    pageTabs_->Step(::GetKeyState(VK_SHIFT) < 0);
    return true;
}

LRESULT Form::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (ReflectToControl(message, wParam, lParam, result))
        return result;
    auto& app = Application::Current();
    switch (message) {
    case WM_COMMAND:
        OnCommand(wParam, lParam);
        return 0;
    case WM_SHOWWINDOW:
        // Direct shows and hides only; those of an owner's minimising are not ours.
        if (lParam == 0) {
            if (wParam && !showing_) {
                // Shown by a call that did not go through SetVisible.
                MakeControlsOnShow();
                showing_ = true;
                DoShow();
            } else if (!wParam && showing_) {
                showing_ = false;
                for (Control* control : controls_)
                    control->StopMouseTracking();
                if (app.ActiveForm() == this)
                    app.SetActiveForm(nullptr);
                DoHide();
            }
        }
        break;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_NEXTDLGCTL: {
        // The dialog manager's step for a label's access key: to the label,
        // then on to the control after it.
        ::SetFocus(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                  : ::GetNextDlgTabItem(Handle(), ::GetFocus(), wParam != 0));
        return 0;
    }
    case DM_GETDEFID: {
        // Enter clicks the focused push button, else the default one.
        auto* focused = ButtonOf(::GetFocus());
        Button* chosen = focused && focused->OwnerForm().Handle() == Handle() ? focused : defaultButton_;
        if (chosen && chosen->Enabled())
            return MAKELRESULT(chosen->Id(), DC_HASDEFID);
        return 0;
    }
    case WM_ERASEBKGND: {
        RECT client{};
        ::GetClientRect(Handle(), &client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
        return 1;
    }
    case WM_QUERYENDSESSION:
        // Sent, not queued: the application's hooks hear of it here.
        app.PreviewSentMessage(Handle(), message, wParam, lParam);
        return DoQueryEndSession();
    case WM_ENDSESSION:
        app.PreviewSentMessage(Handle(), message, wParam, lParam);
        DoEndSession(wParam != FALSE);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            app.SetActiveForm(this);
        } else if (auto* focused = ControlOf(::GetFocus())) {
            // Remember where the focus was, to give it back on return. The
            // form stays the program's active form while another program is
            // in front: it is the one the user comes back to.
            activeControl_ = focused;
        }
        break;
    case WM_SETFOCUS:
        if (activeControl_ && activeControl_->Handle() && ::IsWindowVisible(activeControl_->Handle())) {
            ::SetFocus(activeControl_->Handle());
            return 0;
        }
        break;
    case WM_SIZE:
        if (wParam == SIZE_MAXIMIZED)
            windowState_ = WindowState::Maximized;
        else if (wParam == SIZE_MINIMIZED)
            windowState_ = WindowState::Minimized;
        else if (wParam == SIZE_RESTORED)
            windowState_ = WindowState::Normal;
        break;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wParam));
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        ::SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    default:
        break;
    }
    return Window::WndProc(message, wParam, lParam);
}

}  // namespace tk
