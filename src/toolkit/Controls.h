// Controls on a form: the real Windows controls (BUTTON, STATIC) wrapped so
// that keyboard navigation, visual styles and screen readers work as in any
// dialog. Positions and sizes are given at 96 dpi and scaled to the form's.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Graphics.h"
#include "toolkit/Window.h"

namespace tk {

class Action;
class Control;
class Form;

struct Bounds {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

// Where controls live: a form, a panel, or a group box (whose controls are
// the form's own windows, placed relative to the box).
class Container {
public:
    virtual ~Container() = default;
    virtual HWND ContainerHandle() const = 0;
    // Where the container's 96-dpi origin lies in ContainerHandle's client area.
    virtual POINT ContainerOrigin() const { return {0, 0}; }
    virtual Form& OwningForm() = 0;
};

class Button;
class CheckBox;
class Label;

class Control : public Window {
public:
    ~Control() override;

    Control* AsControl() noexcept final { return this; }
    virtual Button* AsButton() noexcept { return nullptr; }
    virtual CheckBox* AsCheckBox() noexcept { return nullptr; }
    virtual Label* AsLabel() noexcept { return nullptr; }

    Form& OwnerForm() const noexcept { return *form_; }
    int Tag = 0;

    // At 96 dpi, relative to the container.
    const Bounds& LayoutBounds() const noexcept { return bounds_; }
    void SetBounds(const Bounds& bounds);
    void MoveTo(int left, int top) { SetBounds({left, top, bounds_.Width, bounds_.Height}); }
    // Re-applies the layout at the form's current dpi.
    virtual void ApplyLayout();

    bool Visible() const noexcept { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const noexcept;
    void SetEnabled(bool enabled);
    void SetFocus();

    const std::wstring& Caption() const noexcept { return caption_; }
    virtual void SetCaption(const std::wstring& caption);

    // The tooltip; shown exactly when not empty.
    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& hint);

    // A font of the control's own; without one it takes its form's.
    void SetFont(const FontSpec& spec);
    const std::optional<FontSpec>& OwnFont() const noexcept { return fontSpec_; }
    void ApplyFont();
    // The text colour, where the control draws its own text (labels).
    void SetTextColor(COLORREF color);
    std::optional<COLORREF> TextColor() const noexcept { return textColor_; }

    std::function<void(Control& sender)> OnClick;
    // Does what a click does.
    virtual void Click();
    // The form went out of sight: mouse tracking it started ends now (Wine
    // keeps polling the mouse for a tracked control otherwise).
    virtual void StopMouseTracking() {}

    // Notifications the container reflects back (WM_COMMAND codes).
    virtual void Notify(WORD code);
    // A WM_NOTIFY the container reflects back; true when it was answered.
    virtual bool NotifyEx(const NMHDR& header, LRESULT& result)
    {
        (void)header;
        (void)result;
        return false;
    }
    // A right click or the menu key on the control, at a screen point (the
    // control's centre from the keyboard).
    std::function<void(Control& sender, POINT at)> OnContextMenu;
    // The caption's size in the control's font at 96 dpi; wrapped at the
    // width when wordWrap is set.
    SIZE TextExtent(int wrapWidth, bool wordWrap) const;
    UINT_PTR Id() const noexcept { return id_; }

protected:
    Control(Container& parent, const Bounds& bounds);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool CreateControl(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    RECT PixelRect() const;
    HFONT CurrentFont() const noexcept;

    Container& parent_;
    Form* form_;
    Bounds bounds_;
    bool visible_ = true;
    std::wstring caption_;
    std::wstring hint_;
    std::optional<FontSpec> fontSpec_;
    Font font_;
    std::optional<COLORREF> textColor_;
    UINT_PTR id_;
};

// A push button; with an action it shows the action's caption and runs it.
class Button : public Control {
public:
    Button(Container& parent, const Bounds& bounds, const std::wstring& caption = L"");
    ~Button() override;
    Button* AsButton() noexcept final { return this; }

    // A non-zero result closes a modal form with it.
    int ModalResult = 0;
    void SetDefault(bool isDefault);
    bool IsDefault() const noexcept { return default_; }

    void SetAction(Action* action);
    Action* GetAction() const noexcept { return action_; }
    // A picture beside the caption (borrowed: the caller keeps it alive).
    void SetGlyph(HICON icon);

    void Click() override;
    void Notify(WORD code) override;

private:
    void FollowAction();
    bool default_ = false;
    Action* action_ = nullptr;
    HICON glyph_ = nullptr;
    int actionToken_ = 0;
};

class CheckBox : public Control {
public:
    CheckBox(Container& parent, const Bounds& bounds, const std::wstring& caption, bool checked = false);
    CheckBox* AsCheckBox() noexcept final { return this; }
    bool Checked() const noexcept;
    // Like a click of the user's, a changed state runs OnClick.
    void SetChecked(bool checked);
    // The width at 96 dpi that shows the whole caption in the current font.
    int FittingWidth() const;
    void Notify(WORD code) override;
};

// A frame with a caption around other controls.
class GroupBox : public Control, public Container {
public:
    GroupBox(Container& parent, const Bounds& bounds, const std::wstring& caption);
    HWND ContainerHandle() const override;
    POINT ContainerOrigin() const override;
    Form& OwningForm() override { return *form_; }
};

enum class Alignment { Left, Center, Right };

class Label : public Control {
public:
    struct Options {
        bool WordWrap = false;
        bool AutoSize = true;
        Alignment Align = Alignment::Left;
        bool HandCursor = false;
        // An "&" in the caption marks the access key, which takes the
        // keyboard to the control after the label.
        bool AccessKey = false;
    };
    Label(Container& parent, const Bounds& bounds, const std::wstring& caption, Options options);
    Label(Container& parent, const Bounds& bounds, const std::wstring& caption)
        : Label(parent, bounds, caption, Options{})
    {
    }
    Label* AsLabel() noexcept final { return this; }

    void SetCaption(const std::wstring& caption) override;
    void SetAutoSize(bool autoSize);
    void SetUnderline(bool underline);
    bool Underline() const noexcept;

    std::function<void(Control& sender)> OnMouseEnter;
    std::function<void(Control& sender)> OnMouseLeave;
    void Notify(WORD code) override;
    void StopMouseTracking() override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitToText();
    Options options_;
    bool tracking_ = false;
};

// A picture (an icon), optionally clickable.
class Image : public Control {
public:
    Image(Container& parent, const Bounds& bounds, bool center = true, bool handCursor = false);
    // Borrowed: the caller keeps the icon alive. Null clears the picture.
    void SetIcon(HICON icon);
    HICON Icon() const noexcept { return icon_; }
    bool AutoSize = false;
    void Notify(WORD code) override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HICON icon_ = nullptr;
    bool handCursor_;
};

// A plain area that holds other controls.
class Panel : public Control, public Container {
public:
    Panel(Container& parent, const Bounds& bounds, const std::wstring& caption = L"");
    HWND ContainerHandle() const override { return Handle(); }
    Form& OwningForm() override { return *form_; }
    // Makes the panel fill its container's client area.
    void SetAlignClient(bool fill);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// An etched frame.
class Bevel : public Control {
public:
    Bevel(Container& parent, const Bounds& bounds);
};

// Pages with tabs. Each page is a panel of the form, shown while its tab is
// chosen; the pages' controls live on their panels.
class TabControl : public Control {
public:
    TabControl(Container& parent, const Bounds& bounds);
    Panel& AddPage(const std::wstring& caption);
    std::size_t PageCount() const noexcept { return pages_.size(); }
    Panel& Page(std::size_t index) const { return *pages_.at(index); }
    std::size_t Selected() const noexcept;
    void Select(std::size_t index);
    // Ctrl+Tab (Ctrl+Shift+Tab backwards): the next page; the keyboard stays
    // where it was, or moves to the new page's first control from the page
    // left.
    void Step(bool backwards);
    // The keyboard to the first control of the page shown.
    void FocusPage();

    void ApplyLayout() override;
    bool NotifyEx(const NMHDR& header, LRESULT& result) override;

private:
    void PlacePages();
    void ShowSelected();
    std::vector<std::unique_ptr<Panel>> pages_;
};

// A list of rows in columns (a report view), one row chosen at a time.
class ListView : public Control {
public:
    struct Column {
        std::wstring Caption;
        int Width;  // at 96 dpi
    };
    ListView(Container& parent, const Bounds& bounds, const std::vector<Column>& columns);

    void SetRowCount(std::size_t count);
    std::size_t RowCount() const noexcept;
    void SetCell(std::size_t row, std::size_t column, const std::wstring& text);
    std::wstring Cell(std::size_t row, std::size_t column) const;
    // The chosen row; -1 for none.
    int Selected() const noexcept;
    void Select(std::size_t row);
    std::function<void(ListView& sender)> OnSelect;

    void ApplyLayout() override;
    bool NotifyEx(const NMHDR& header, LRESULT& result) override;

private:
    std::vector<Column> columns_;
};

// A drop-down list of texts to choose one from. The height in the bounds is
// the open list's; closed, it is as tall as its font needs.
class ComboBox : public Control {
public:
    ComboBox(Container& parent, const Bounds& bounds);
    void Clear();
    void Add(const std::wstring& item);
    std::size_t Count() const noexcept;
    // The chosen item; -1 for none.
    int Selected() const noexcept;
    // Chooses without running OnChange.
    void Select(int index);
    // The user chose another item.
    std::function<void(ComboBox& sender)> OnChange;
    void Notify(WORD code) override;
};

// A line of text the user types.
class Edit : public Control {
public:
    Edit(Container& parent, const Bounds& bounds, const std::wstring& text = L"");
    // What it holds now.
    std::wstring Value() const { return Text(); }
    void SetValue(const std::wstring& text);
    // Shown greyed while the field is empty (Vista on).
    void SetCue(const std::wstring& text);
    // The text changed, by the user or by SetValue.
    std::function<void(Edit& sender)> OnChange;
    // The user changed the text and left the field.
    std::function<void(Edit& sender)> OnDone;
    void Notify(WORD code) override;
};

// A field that takes the key combination the user presses, the Windows key
// included: a key with the modifiers held (MOD_ALT, MOD_CONTROL, MOD_SHIFT,
// MOD_WIN). Backspace or Delete alone clear it. Tab with or without Ctrl and
// Shift, and Enter and Escape alone, stay the dialog's and are never taken.
// It shows what its owner says it holds, in the middle of the box, with no
// caret.
class ShortcutField : public Control {
public:
    ShortcutField(Container& parent, const Bounds& bounds);
    void SetDisplay(const std::wstring& text);
    std::function<void(ShortcutField& sender, UINT key, UINT modifiers)> OnKeys;
    std::function<void(ShortcutField& sender)> OnClear;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Moves the one line of text down to the middle of the box.
    void CentreText();
};

// Hands a container's WM_COMMAND, WM_NOTIFY and WM_CTLCOLOR... on to the
// control that sent it; true when the message was one of those.
bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The control, or the push button, behind a window of this layer; null for
// any other window.
inline Control* ControlOf(HWND window) noexcept
{
    Window* object = Window::FromHandle(window);
    return object ? object->AsControl() : nullptr;
}
inline Button* ButtonOf(HWND window) noexcept
{
    Control* control = ControlOf(window);
    return control ? control->AsButton() : nullptr;
}

}  // namespace tk
