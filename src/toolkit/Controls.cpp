#include "toolkit/Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "toolkit/Actions.h"
#include "toolkit/Form.h"

namespace tk {

// --- Control

Control::Control(Container& parent, const Bounds& bounds)
    : parent_(parent), form_(&parent.OwningForm()), bounds_(bounds), id_(form_->NextControlId())
{
}

Control::~Control()
{
    if (form_)
        form_->ControlRemoved(*this);
}

bool Control::CreateControl(const wchar_t* className, DWORD style, DWORD exStyle)
{
    // Made with its caption, shown, in one step: a form builds dozens of
    // controls, and Wine answers each later change with a round of messages.
    if (!CreateSystemControl(className, caption_.c_str(), exStyle, WS_CHILD | style | (visible_ ? WS_VISIBLE : 0),
                             PixelRect(), parent_.ContainerHandle(), id_))
        return false;
    if (fontSpec_)
        font_ = CreateFontFor(*fontSpec_, form_->Dpi());
    // Nothing is drawn yet: the control paints with its font when it first paints.
    ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
    form_->ControlAdded(*this);
    return true;
}

RECT Control::PixelRect() const
{
    const UINT dpi = form_->Dpi();
    const POINT origin = parent_.ContainerOrigin();
    const int left = Scale(origin.x + bounds_.Left, dpi);
    const int top = Scale(origin.y + bounds_.Top, dpi);
    return {left, top, left + Scale(bounds_.Width, dpi), top + Scale(bounds_.Height, dpi)};
}

void Control::SetBounds(const Bounds& bounds)
{
    bounds_ = bounds;
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
    visible_ = visible;
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
    // The forms refresh their captions and hints on every show and every
    // opening of the tray menu; an unchanged one costs nothing.
    if (caption == caption_ && Handle())
        return;
    caption_ = caption;
    SetText(caption);
}

void Control::SetHint(const std::wstring& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    form_->UpdateTooltip(*this);
}

void Control::SetFont(const FontSpec& spec)
{
    fontSpec_ = spec;
    ApplyFont();
}

void Control::ApplyFont()
{
    if (fontSpec_)
        font_ = CreateFontFor(*fontSpec_, form_->Dpi());
    else
        font_.Reset();
    if (Handle())
        ::SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), TRUE);
}

HFONT Control::CurrentFont() const noexcept
{
    return font_ ? font_.Get() : form_->FontHandle();
}

void Control::SetTextColor(COLORREF color)
{
    textColor_ = color;
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, TRUE);
}

void Control::Click()
{
    if (OnClick)
        OnClick(*this);
}

void Control::Notify(WORD) {}

LRESULT Control::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU && OnContextMenu) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (lParam == -1) {
            // From the keyboard: the control's centre.
            RECT r{};
            ::GetWindowRect(Handle(), &r);
            at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        }
        OnContextMenu(*this, at);
        return 0;
    }
    return Window::WndProc(message, wParam, lParam);
}

SIZE Control::TextExtent(int wrapWidth, bool wordWrap) const
{
    if (!Handle())
        return {0, 0};
    // Measured at the form's dpi, given at 96 dpi.
    const UINT dpi = form_->Dpi();
    const HDC dc = ::GetDC(Handle());
    const HGDIOBJ old = ::SelectObject(dc, CurrentFont());
    RECT r{0, 0, wordWrap ? Scale(wrapWidth, dpi) : 0, 0};
    const std::wstring text = caption_.empty() ? L" " : caption_;
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_CALCRECT | DT_NOPREFIX | (wordWrap ? DT_WORDBREAK : 0));
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    return {::MulDiv(r.right - r.left, 96, static_cast<int>(dpi)), ::MulDiv(r.bottom - r.top, 96, static_cast<int>(dpi))};
}

bool ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (message) {
    case WM_COMMAND:
        if (lParam) {
            if (auto* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
                control->Notify(HIWORD(wParam));
                result = 0;
                return true;
            }
        }
        return false;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (auto* control = header ? ControlOf(header->hwndFrom) : nullptr)
            return control->NotifyEx(*header, result);
        return false;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (auto* control = ControlOf(reinterpret_cast<HWND>(lParam))) {
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
    caption_ = caption;
    CreateControl(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON);
}

Button::~Button()
{
    SetAction(nullptr);
}

void Button::SetDefault(bool isDefault)
{
    default_ = isDefault;
    if (Handle())
        ::SendMessageW(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    if (isDefault)
        form_->SetDefaultButton(this);
}

void Button::SetAction(Action* action)
{
    if (action_)
        action_->Unsubscribe(actionToken_);
    action_ = action;
    if (action_) {
        actionToken_ = action_->Subscribe([this] { FollowAction(); });
        FollowAction();
    }
}

void Button::FollowAction()
{
    SetCaption(action_->Caption());
    SetHint(action_->Hint());
    SetEnabled(action_->Enabled());
}

void Button::SetGlyph(HICON icon)
{
    // The lock LEDs are set again every 1.25 s while the window shows; a
    // new picture repaints the button.
    if (icon == glyph_)
        return;
    glyph_ = icon;
    if (Handle())
        ::SendMessageW(Handle(), BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void Button::Click()
{
    // The handlers may free the form: work from what is known now.
    Form& form = *form_;
    const int result = ModalResult;
    if (action_)
        action_->Execute();
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
    caption_ = caption;
    CreateControl(WC_BUTTONW, WS_TABSTOP | BS_AUTOCHECKBOX);
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

int CheckBox::FittingWidth() const
{
    // The box, the gap after it and the text, at 96 dpi.
    return 13 + 6 + static_cast<int>(TextExtent(0, false).cx) + 2;
}

void CheckBox::Notify(WORD code)
{
    if (code == BN_CLICKED)
        Click();
}

// --- GroupBox

GroupBox::GroupBox(Container& parent, const Bounds& bounds, const std::wstring& caption) : Control(parent, bounds)
{
    caption_ = caption;
    CreateControl(WC_BUTTONW, BS_GROUPBOX);
    // Below the controls it frames, as in a dialog.
    if (Handle())
        ::SetWindowPos(Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND GroupBox::ContainerHandle() const
{
    return parent_.ContainerHandle();
}

POINT GroupBox::ContainerOrigin() const
{
    const POINT outer = parent_.ContainerOrigin();
    return {outer.x + bounds_.Left, outer.y + bounds_.Top};
}

// --- Label

Label::Label(Container& parent, const Bounds& bounds, const std::wstring& caption, Options options)
    : Control(parent, bounds), options_(options)
{
    caption_ = caption;
    DWORD style = SS_NOTIFY | (options.AccessKey ? 0 : SS_NOPREFIX);
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
    FitToText();
}

void Label::StopMouseTracking()
{
    if (!tracking_)
        return;
    TRACKMOUSEEVENT track{sizeof track, TME_CANCEL | TME_LEAVE, Handle(), 0};
    ::TrackMouseEvent(&track);
    tracking_ = false;
    if (OnMouseLeave)
        OnMouseLeave(*this);
}

void Label::SetCaption(const std::wstring& caption)
{
    // The same text again changes nothing, and draws nothing anew.
    if (caption == caption_ && Handle())
        return;
    Control::SetCaption(caption);
    FitToText();
}

void Label::SetAutoSize(bool autoSize)
{
    if (autoSize == options_.AutoSize)
        return;
    options_.AutoSize = autoSize;
    FitToText();
}

void Label::FitToText()
{
    if (!options_.AutoSize || !Handle())
        return;
    const SIZE size = TextExtent(options_.WordWrap ? bounds_.Width : 0, options_.WordWrap);
    if (bounds_.Width == size.cx + 1 && bounds_.Height == size.cy)
        return;
    // Where the label was and where it is now are both drawn anew: a label
    // drawn without a background of its own leaves the old text behind.
    const RECT before = PixelRect();
    bounds_.Width = size.cx + 1;
    bounds_.Height = size.cy;
    Control::ApplyLayout();
    RECT both{};
    const RECT after = PixelRect();
    ::UnionRect(&both, &before, &after);
    ::RedrawWindow(parent_.ContainerHandle(), &both, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Label::SetUnderline(bool underline)
{
    FontSpec spec = fontSpec_.value_or(form_->LayoutFont());
    spec.Underline = underline;
    SetFont(spec);
}

bool Label::Underline() const noexcept
{
    return fontSpec_ && fontSpec_->Underline;
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
        if (options_.HandCursor) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            tracking_ = ::TrackMouseEvent(&track) != FALSE;
            if (OnMouseEnter)
                OnMouseEnter(*this);
        }
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (OnMouseLeave)
            OnMouseLeave(*this);
        break;
    case WM_SHOWWINDOW:
        if (!wParam)
            StopMouseTracking();
        break;
    default:
        break;
    }
    return Control::WndProc(message, wParam, lParam);
}

// --- Image

Image::Image(Container& parent, const Bounds& bounds, bool center, bool handCursor)
    : Control(parent, bounds), handCursor_(handCursor)
{
    CreateControl(WC_STATICW, SS_ICON | SS_NOTIFY | (center ? SS_CENTERIMAGE : 0) | SS_REALSIZECONTROL);
}

void Image::SetIcon(HICON icon)
{
    icon_ = icon;
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
            const UINT dpi = form_->Dpi();
            SetBounds({bounds_.Left, bounds_.Top, ::MulDiv(bm.bmWidth, 96, static_cast<int>(dpi)),
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
    if (message == WM_SETCURSOR && handCursor_) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    return Control::WndProc(message, wParam, lParam);
}

// --- Panel

Panel::Panel(Container& parent, const Bounds& bounds, const std::wstring& caption) : Control(parent, bounds)
{
    caption_ = caption;
    if (CreateOwnClass(L"TPanel", WS_EX_CONTROLPARENT, WS_CHILD, PixelRect(),
                       parent_.ContainerHandle(), id_)) {
        SetText(caption);
        ApplyFont();
        form_->ControlAdded(*this);
        if (visible_)
            ::ShowWindow(Handle(), SW_SHOWNA);
    }
}

void Panel::SetAlignClient(bool fill)
{
    if (!fill || !Handle())
        return;
    RECT client{};
    ::GetClientRect(parent_.ContainerHandle(), &client);
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

// --- TabControl

TabControl::TabControl(Container& parent, const Bounds& bounds) : Control(parent, bounds)
{
    CreateControl(WC_TABCONTROLW, WS_TABSTOP | WS_CLIPSIBLINGS);
    form_->SetPageTabs(this);
}

Panel& TabControl::AddPage(const std::wstring& caption)
{
    std::wstring text = caption;
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    TabCtrl_InsertItem(Handle(), static_cast<int>(pages_.size()), &item);
    // A sibling above the tabs, so the dialog keys reach its controls.
    auto& page = *pages_.emplace_back(std::make_unique<Panel>(parent_, bounds_, caption));
    ::SetWindowPos(page.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    PlacePages();
    ShowSelected();
    return page;
}

std::size_t TabControl::Selected() const noexcept
{
    const int selected = Handle() ? TabCtrl_GetCurSel(Handle()) : -1;
    return selected < 0 ? 0 : static_cast<std::size_t>(selected);
}

void TabControl::Select(std::size_t index)
{
    if (index >= pages_.size())
        return;
    TabCtrl_SetCurSel(Handle(), static_cast<int>(index));
    ShowSelected();
}

void TabControl::ApplyLayout()
{
    Control::ApplyLayout();
    PlacePages();
}

void TabControl::PlacePages()
{
    if (!Handle())
        return;
    // The display area below the tabs, in the container's 96-dpi measure.
    RECT area = PixelRect();
    TabCtrl_AdjustRect(Handle(), FALSE, &area);
    const int dpi = static_cast<int>(form_->Dpi());
    const POINT origin = parent_.ContainerOrigin();
    const Bounds page{::MulDiv(area.left, 96, dpi) - origin.x, ::MulDiv(area.top, 96, dpi) - origin.y,
                      ::MulDiv(area.right - area.left, 96, dpi), ::MulDiv(area.bottom - area.top, 96, dpi)};
    for (const auto& panel : pages_)
        panel->SetBounds(page);
}

void TabControl::ShowSelected()
{
    const std::size_t selected = Selected();
    for (std::size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->SetVisible(i == selected);
}

void TabControl::Step(bool backwards)
{
    const std::size_t count = pages_.size();
    if (count < 2)
        return;
    const bool inPage = ::IsChild(Page(Selected()).Handle(), ::GetFocus());
    Select((Selected() + (backwards ? count - 1 : 1)) % count);
    if (inPage)
        FocusPage();
}

void TabControl::FocusPage()
{
    // The page's first control that takes the keyboard.
    if (const HWND first = ::GetNextDlgTabItem(Page(Selected()).Handle(), nullptr, FALSE))
        ::SetFocus(first);
}

bool TabControl::NotifyEx(const NMHDR& header, LRESULT& result)
{
    if (header.code != TCN_SELCHANGE)
        return false;
    ShowSelected();
    result = 0;
    return true;
}

// --- ListView

ListView::ListView(Container& parent, const Bounds& bounds, const std::vector<Column>& columns)
    : Control(parent, bounds), columns_(columns)
{
    CreateControl(WC_LISTVIEWW, WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
    if (!Handle())
        return;
    ListView_SetExtendedListViewStyle(Handle(), LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        std::wstring caption = columns_[i].Caption;
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = caption.data();
        column.cx = Scale(columns_[i].Width, form_->Dpi());
        column.iSubItem = static_cast<int>(i);
        ListView_InsertColumn(Handle(), static_cast<int>(i), &column);
    }
}

void ListView::ApplyLayout()
{
    Control::ApplyLayout();
    if (!Handle())
        return;
    for (std::size_t i = 0; i < columns_.size(); ++i)
        ListView_SetColumnWidth(Handle(), static_cast<int>(i), Scale(columns_[i].Width, form_->Dpi()));
}

void ListView::SetRowCount(std::size_t count)
{
    while (RowCount() < count) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(RowCount());
        item.pszText = const_cast<wchar_t*>(L"");
        if (ListView_InsertItem(Handle(), &item) < 0)
            return;
    }
    while (RowCount() > count)
        ListView_DeleteItem(Handle(), static_cast<int>(RowCount()) - 1);
}

std::size_t ListView::RowCount() const noexcept
{
    const int count = Handle() ? ListView_GetItemCount(Handle()) : 0;
    return count < 0 ? 0 : static_cast<std::size_t>(count);
}

void ListView::SetCell(std::size_t row, std::size_t column, const std::wstring& text)
{
    if (Cell(row, column) == text)
        return;
    std::wstring copy = text;
    ListView_SetItemText(Handle(), static_cast<int>(row), static_cast<int>(column), copy.data());
}

std::wstring ListView::Cell(std::size_t row, std::size_t column) const
{
    wchar_t text[256] = {};
    if (Handle())
        ListView_GetItemText(Handle(), static_cast<int>(row), static_cast<int>(column), text,
                             static_cast<int>(std::size(text)));
    return text;
}

int ListView::Selected() const noexcept
{
    return Handle() ? ListView_GetNextItem(Handle(), -1, LVNI_SELECTED) : -1;
}

void ListView::Select(std::size_t row)
{
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    ListView_SetItemState(Handle(), static_cast<int>(row), both, both);
    ListView_EnsureVisible(Handle(), static_cast<int>(row), FALSE);
}

bool ListView::NotifyEx(const NMHDR& header, LRESULT& result)
{
    if (header.code != LVN_ITEMCHANGED)
        return false;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
        !(change.uOldState & LVIS_SELECTED) && OnSelect)
        OnSelect(*this);
    result = 0;
    return true;
}

// --- ComboBox

ComboBox::ComboBox(Container& parent, const Bounds& bounds) : Control(parent, bounds)
{
    CreateControl(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
}

void ComboBox::Clear()
{
    if (Handle())
        ::SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
}

void ComboBox::Add(const std::wstring& item)
{
    if (Handle())
        ::SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

std::size_t ComboBox::Count() const noexcept
{
    const LRESULT count = Handle() ? ::SendMessageW(Handle(), CB_GETCOUNT, 0, 0) : 0;
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

int ComboBox::Selected() const noexcept
{
    return Handle() ? static_cast<int>(::SendMessageW(Handle(), CB_GETCURSEL, 0, 0)) : -1;
}

void ComboBox::Select(int index)
{
    if (Handle())
        ::SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBox::Notify(WORD code)
{
    if (code == CBN_SELCHANGE && OnChange)
        OnChange(*this);
}

// --- Edit

Edit::Edit(Container& parent, const Bounds& bounds, const std::wstring& text) : Control(parent, bounds)
{
    caption_ = text;
    CreateControl(WC_EDITW, WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

void Edit::SetValue(const std::wstring& text)
{
    if (text == Value())
        return;
    caption_ = text;
    SetText(text);
    ::SendMessageW(Handle(), EM_SETMODIFY, FALSE, 0);
}

void Edit::SetCue(const std::wstring& text)
{
    if (Handle())
        ::SendMessageW(Handle(), EM_SETCUEBANNER, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void Edit::Notify(WORD code)
{
    if (code == EN_CHANGE && OnChange)
        OnChange(*this);
    if (code != EN_KILLFOCUS || !::SendMessageW(Handle(), EM_GETMODIFY, 0, 0))
        return;
    ::SendMessageW(Handle(), EM_SETMODIFY, FALSE, 0);
    if (OnDone)
        OnDone(*this);
}

// --- ShortcutField

ShortcutField::ShortcutField(Container& parent, const Bounds& bounds) : Control(parent, bounds)
{
    // Multi-line only so that its text can sit in the middle of the box.
    CreateControl(WC_EDITW, WS_TABSTOP | WS_BORDER | ES_READONLY | ES_AUTOHSCROLL | ES_MULTILINE);
}

void ShortcutField::SetDisplay(const std::wstring& text)
{
    caption_ = text;
    SetText(text);
}

void ShortcutField::CentreText()
{
    RECT area{};
    ::GetClientRect(Handle(), &area);
    const HDC dc = ::GetDC(Handle());
    const HGDIOBJ old = ::SelectObject(dc, CurrentFont());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    // One line high: an edit control moves a taller rectangle in from its
    // border. An odd row left over goes above, where the letters leave less
    // room than the descent below them.
    area.top += std::max(0L, (area.bottom - area.top - metrics.tmHeight + 1) / 2);
    area.bottom = area.top + metrics.tmHeight;
    ::SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&area));
}

LRESULT ShortcutField::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto held = [](int key) { return (::GetKeyState(key) & 0x8000) != 0; };
    const bool altOrWin = held(VK_MENU) || held(VK_LWIN) || held(VK_RWIN);
    const bool modified = altOrWin || held(VK_CONTROL);
    // Tab, alone or with Ctrl or Shift, moves through the window; Enter and
    // Esc alone press its buttons: the dialog keeps them.
    const auto navigates = [&](WPARAM key) {
        return key == VK_TAB ? !altOrWin : !modified && (key == VK_RETURN || key == VK_ESCAPE);
    };
    switch (message) {
    case WM_GETDLGCODE:
        if (auto* msg = reinterpret_cast<const MSG*>(lParam);
            msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) && navigates(msg->wParam))
            return DLGC_WANTCHARS;
        return DLGC_WANTALLKEYS | DLGC_WANTCHARS;
    case WM_SETFOCUS: {
        const LRESULT result = Control::WndProc(message, wParam, lParam);
        // Keys are recorded here, nothing is typed: no caret.
        ::DestroyCaret();
        return result;
    }
    case WM_SIZE:
    case WM_SETFONT: {
        const LRESULT result = Control::WndProc(message, wParam, lParam);
        CentreText();
        return result;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
        const auto key = static_cast<UINT>(wParam);
        if (key == VK_TAB && navigates(key))
            break;
        if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_LWIN || key == VK_RWIN)
            return 0;
        UINT modifiers = 0;
        if (held(VK_MENU))
            modifiers |= MOD_ALT;
        if (held(VK_CONTROL))
            modifiers |= MOD_CONTROL;
        if (held(VK_SHIFT))
            modifiers |= MOD_SHIFT;
        if (held(VK_LWIN) || held(VK_RWIN))
            modifiers |= MOD_WIN;
        if (modifiers == 0 && (key == VK_BACK || key == VK_DELETE)) {
            if (OnClear)
                OnClear(*this);
        } else if (OnKeys) {
            OnKeys(*this, key, modifiers);
        }
        return 0;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_KEYUP:
    case WM_SYSKEYUP:
        // Taken whole by the keys above: no beep, no menu.
        return 0;
    default:
        break;
    }
    return Control::WndProc(message, wParam, lParam);
}

}  // namespace tk
