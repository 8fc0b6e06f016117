// Forms: top-level windows built from a layout in code, with border styles,
// window state, a pending show while they are being built, show/hide/close
// events, modal showing, and the keyboard handling of dialogs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"
#include "toolkit/Window.h"

namespace tk {

enum class BorderStyle { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class WindowState { Normal = 0, Minimized = 1, Maximized = 2 };
enum class CloseAction { None, Hide, Free, Minimize };

// Modal results, as the standard buttons give them.
namespace mr {
inline constexpr int None = 0;
inline constexpr int OK = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
inline constexpr int Close = 8;
inline constexpr int All = 12;
inline constexpr int NoToAll = 13;
inline constexpr int YesToAll = 14;
}  // namespace mr

struct FormLayout {
    // One window class per form class, named after it.
    std::wstring ClassName;
    std::wstring Caption;
    int Left = 0;  // the designed position, at 96 dpi
    int Top = 0;
    int ClientWidth = 600;
    int ClientHeight = 400;
    BorderStyle Border = BorderStyle::Sizeable;
    bool SystemMenu = true;
    bool MinimizeBox = true;
    bool MaximizeBox = true;
    // The layout asks for a visible form.
    bool Visible = false;
    FontSpec Font;
    // A form that starts hidden makes its controls (and its tooltip) only
    // when it first shows: until then it costs no more than its window.
    bool ControlsWhenShown = false;
};

class Form : public Window, public Container {
public:
    explicit Form(FormLayout layout);
    ~Form() override;
    Form* AsForm() noexcept final { return this; }

    // Builds the window and its controls, then shows it if that was asked
    // for while it was being built. Call once, after construction.
    void Create(HWND owner = nullptr);

    const FormLayout& Layout() const noexcept { return layout_; }
    bool Creating() const noexcept { return creating_; }
    // The controls exist: always, except in a form that makes them when it
    // first shows and has not shown yet.
    bool ControlsMade() const noexcept { return controlsMade_; }

    // Container
    HWND ContainerHandle() const override { return Handle(); }
    Form& OwningForm() override { return *this; }

    std::wstring Caption() const { return Text(); }
    void SetCaption(const std::wstring& caption) { SetText(caption); }

    // The outer window in screen pixels.
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    RECT BoundsRect() const;
    void SetBounds(int left, int top, int width, int height);
    void MoveTo(int left, int top);
    // At 96 dpi, like the layout.
    void SetClientSize(int width, int height);
    int ClientWidth() const;   // pixels
    int ClientHeight() const;  // pixels

    UINT Dpi() const noexcept { return dpi_; }
    HFONT FontHandle() const noexcept { return font_.Get(); }
    const FontSpec& LayoutFont() const noexcept { return layout_.Font; }
    void SetFont(const FontSpec& spec);

    // The background; the button face colour unless set.
    void SetColor(COLORREF color);
    COLORREF Color() const noexcept;
    HBRUSH BackgroundBrush() const noexcept;

    BorderStyle GetBorderStyle() const noexcept { return border_; }
    void SetBorderStyle(BorderStyle border);
    WindowState GetWindowState() const;
    void SetWindowState(WindowState state);

    // While the form is being built, showing only records the request.
    bool Visible() const;
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool PendingShow() const noexcept { return pendingShow_; }
    void CancelPendingShow() noexcept { pendingShow_ = false; }
    void BringToFront();

    // Asks the close query, runs the close event and does what it decides;
    // a modal form ends its modal loop with Cancel instead.
    void Close();
    int ShowModal();
    bool Modal() const noexcept { return modal_; }
    int ModalResult() const noexcept { return modalResult_; }
    void SetModalResult(int result) noexcept { modalResult_ = result; }

    // Enter clicks the default button (without one, DoEnter runs), Escape
    // the cancel button.
    void SetDefaultButton(Button* button) noexcept { defaultButton_ = button; }
    void SetCancelButton(Button* button) noexcept { cancelButton_ = button; }
    // Keys the form answers wherever its keyboard is, before the dialog
    // manager sees them: Ctrl+Tab and Ctrl+Shift+Tab step through the pages
    // of its tabs. True when the key was taken.
    bool DialogKey(const MSG& msg);
    // The tabs whose pages Ctrl+Tab steps through (a form has one at most).
    void SetPageTabs(TabControl* tabs) noexcept { pageTabs_ = tabs; }

    // Embedding in another window and back.
    void SetParentWindow(HWND parent);
    HWND ParentWindow() const noexcept;
    void SetAlignClient(bool fill);

    // No control has the focus.
    void ClearFocus();
    // The control that gets the focus when the form does.
    void SetActiveControl(Control* control) noexcept { activeControl_ = control; }
    Control* ActiveControl() const noexcept { return activeControl_; }
    const std::vector<Control*>& Controls() const noexcept { return controls_; }

    // For the controls.
    UINT_PTR NextControlId() noexcept { return nextId_++; }
    void ControlAdded(Control& control);
    void ControlRemoved(Control& control) noexcept;
    void UpdateTooltip(Control& control);

protected:
    // Building: the controls, then Loaded once the layout is in place.
    virtual void CreateControls() {}
    virtual void Loaded() {}
    // After building, before the pending show is carried out.
    virtual void AfterCreate() {}
    // Asked before building by a form that makes its controls when shown.
    virtual bool StartsHidden() { return !layout_.Visible; }
    // Such a form has just made its controls, at its first show (after
    // AfterCreate, before the show event).
    virtual void ControlsMadeOnShow() {}

    // Events.
    virtual void DoShow() {}
    virtual void DoHide() {}
    virtual bool DoCloseQuery() { return true; }
    // Enter, where no button is the default.
    virtual void DoEnter() {}
    virtual void DoClose(CloseAction& action) { (void)action; }
    // Windows asks whether the session may end; returns the answer. Only to
    // prepare: another program may refuse, and the session go on.
    virtual LRESULT DoQueryEndSession() { return TRUE; }
    // Windows says whether the session, asked about before, ends after all.
    virtual void DoEndSession(bool ending) { (void)ending; }
    // The form moved to a monitor of another dpi and laid itself out anew:
    // pictures drawn for the old size are to be loaded again.
    virtual void DoDpiChanged() {}

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    DWORD StyleFor(BorderStyle border, bool child) const noexcept;
    DWORD ExStyleFor(BorderStyle border) const noexcept;
    // The tooltip, the controls and Loaded.
    void MakeControls();
    void MakeControlsOnShow();
    void ApplyDpi(UINT dpi);
    void OnCommand(WPARAM wParam, LPARAM lParam);

    FormLayout layout_;
    BorderStyle border_;
    WindowState windowState_ = WindowState::Normal;
    UINT dpi_ = 96;
    Font font_;
    bool creating_ = false;
    bool controlsMade_ = false;
    bool pendingShow_ = false;
    bool showing_ = false;  // the show event ran and no hide yet
    bool modal_ = false;
    int modalResult_ = 0;
    bool alignClient_ = false;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    Control* activeControl_ = nullptr;
    TabControl* pageTabs_ = nullptr;
    std::vector<Control*> controls_;
    UINT_PTR nextId_ = 100;
    UniqueWindow tooltip_;
    UniqueBrush brush_;  // only for a colour of its own
};

// Builds a form of type T: constructs it, then lets it create its window.
template <typename T, typename... Args>
std::unique_ptr<T> CreateForm(Args&&... args)
{
    auto form = std::make_unique<T>(std::forward<Args>(args)...);
    form->Create();
    return form;
}

// The form behind a window of this layer; null for any other window.
inline Form* FormOf(HWND window) noexcept
{
    Window* object = Window::FromHandle(window);
    return object ? object->AsForm() : nullptr;
}

}  // namespace tk
