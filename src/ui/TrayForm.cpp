#include "ui/TrayForm.h"

#include "core/StringIds.h"
#include "core/Text.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Resources.h"
#include "toolkit/Window.h"
#include "ui/ShowMessageDialog.h"

namespace corvello {

HICON TrayForm::ApplicationIcon()
{
    static const HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    return icon;
}

TrayForm::TrayForm(AppBase& application, tk::FormLayout layout, std::wstring componentName)
    : LinksForm(application, std::move(layout), std::move(componentName))
{
    runOnce_.OnTimer = [this](tk::Timer& sender) { OnTimerRunOnce(sender); };
    minutes_.OnTimer = [this](tk::Timer& sender) { OnTimerMinutes(sender); };

    const auto entry = [this](const wchar_t* name, const wchar_t* caption, int tag) -> tk::MenuItem* {
        auto& item = trayMenu_.Items().Add(std::make_unique<tk::MenuItem>(name, caption, tag));
        if (tag != 0)
            item.OnClick = [this](tk::MenuItem& sender) { OnTrayIconMenuClick(sender); };
        return &item;
    };
    settingsEntry_ = entry(L"miTrayIconSetup", L"Settings", SettingsTag);
    settingsEntry_->Default = true;
    aboutEntry_ = entry(L"miTrayIconAbout", L"About", AboutTag);
    separatorEntry_ = entry(L"miTrayIcon1", L"-", 0);
    closeEntry_ = entry(L"miTrayIconClose", L"Close", CloseTag);
    trayMenu_.OnClose = [this](TrayPopupMenu& sender) { OnTrayIconMenuClose(sender); };
    trayMenu_.OnPopup = [this](tk::PopupMenu& sender) { OnTrayIconMenuPopup(sender); };
}

TrayForm::~TrayForm()
{
    if (trayIcon_)
        trayIcon_->Menu = nullptr;
}

void TrayForm::AfterCreate()
{
    // What lives in the tray comes with the window, whether its controls are
    // made now or at its first show. Hidden: the notifier's browsers live on it.
    tickover_ = std::make_unique<tk::Panel>(*this, tk::Bounds{20, 156, 32, 24}, L"Ping");
    tickover_->SetVisible(false);
    // Hidden until the main window shows it.
    trayIcon_ = std::make_unique<tk::TrayIcon>();
    trayIcon_->Menu = &trayMenu_;
    trayIcon_->OnClick = [this](tk::TrayIcon& sender) { OnTrayIconClick(sender); };
    trayIcon_->OnDblClick = [this](tk::TrayIcon& sender) { OnTrayIconDblClick(sender); };
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ApplicationIcon()));
    LoadTrayIcon();

    LinksForm::AfterCreate();
    SetCaption(application_.Name());

    // The system menu begins with "About" and a separator.
    if (const HMENU system = ::GetSystemMenu(Handle(), FALSE)) {
        const bool rightToLeft = (::GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        tk::MenuItemInsert(system, *separatorEntry_, 0, 0, rightToLeft);
        tk::MenuItemInsert(system, *aboutEntry_, 0, static_cast<WORD>(AboutCommandId), rightToLeft);
    }
    application_.SetNotifierParent(tickover_->Handle());
}

void TrayForm::LoadTrayIcon()
{
    const int size = tk::TrayIcon::IconSize();
    trayPicture_ = tk::Icon::FromResource(L"MAINICON", size, size);
    trayIcon_->SetIcon(trayPicture_ ? trayPicture_.Get() : ApplicationIcon());
}

void TrayForm::DoDpiChanged()
{
    LinksForm::DoDpiChanged();
    LoadTrayIcon();
}

void TrayForm::ControlsUpdate()
{
    LinksForm::ControlsUpdate();
    SetCaption(application_.Name());
    trayIcon_->SetHint(application_.FullName());
}

void TrayForm::OnCloseQueryEvent(tk::Form& sender, bool& canClose)
{
    LinksForm::OnCloseQueryEvent(sender, canClose);
    if (tk::Application::Current().MainForm() != this)
        return;
    canClose = application_.Terminated() || !application_.ConfirmClose() || closeConfirmed_;
    if (!canClose) {
        // To the tray; the hide stores "Visible" 0, so the next start begins
        // there too.
        realVisible_ = false;
        Hide();
    }
}

void TrayForm::OnTrayIconMenuClick(tk::MenuItem& sender)
{
    switch (sender.Tag) {
    case CloseTag:
        if (!application_.ConfirmClose()) {
            closeConfirmed_ = true;
            Close();
        } else if (closing_) {
            ::MessageBeep(MB_ICONEXCLAMATION);
            tk::WindowFlash(::GetForegroundWindow(), 3, 75);
        } else {
            AskClose();
        }
        break;
    case AboutTag: {
        UserActionBegin(false);
        struct End {
            TrayForm& Form;
            ~End() { Form.UserActionEnd(); }
        } end{*this};
        application_.ShowAbout();
        break;
    }
    case SettingsTag:
        application_.ShowSettings();
        break;
    default:
        break;
    }
}

void TrayForm::AskClose()
{
    closing_ = true;
    UserActionBegin(false);
    // Whatever happens in the question, the entries come back.
    struct End {
        TrayForm& Form;
        ~End()
        {
            Form.UserActionEnd();
            Form.closing_ = false;
        }
    } end{*this};
    const bool visible = Visible();
    const std::wstring caption = visible ? std::wstring() : application_.Name();
    const HICON icon = visible ? nullptr : ApplicationIcon();
    if (application_.Terminated()) {
        closeConfirmed_ = true;
        Close();
        return;
    }
    const std::wstring question = FormatText(tk::LoadResourceString(IDS_CLOSE_QUESTION), {application_.Name()});
    const int answer = ShowMessageDialog(MessageDialogArgs(question).Owner(this).Caption(caption).Icon(icon));
    if (answer == tk::mr::Yes) {
        closeConfirmed_ = true;
        Close();
    }
}

void TrayForm::UserActionBegin(bool closeToo)
{
    ++userActions_;
    settingsEntry_->SetEnabled(false);
    aboutEntry_->SetEnabled(false);
    if (closeToo)
        closeEntry_->SetEnabled(false);
}

void TrayForm::UserActionEnd()
{
    if (--userActions_ > 0)
        return;
    userActions_ = 0;
    settingsEntry_->SetEnabled(true);
    aboutEntry_->SetEnabled(true);
    closeEntry_->SetEnabled(true);
}

void TrayForm::OnTrayIconClick(tk::TrayIcon&)
{
    ControlsUpdate();
    auto& application = tk::Application::Current();
    ::SetForegroundWindow(application.Handle());
    // A hidden main window stays hidden.
    if (tk::Form* main = application.MainForm(); main && main->Visible())
        main->BringToFront();
}

void TrayForm::OnTrayIconDblClick(tk::TrayIcon&)
{
    ::SetForegroundWindow(tk::Application::Current().Handle());
    settingsEntry_->Click();
}

void TrayForm::OnTrayIconMenuPopup(tk::PopupMenu&)
{
    ControlsUpdate();
}

void TrayForm::OnTrayIconMenuClose(TrayPopupMenu& sender)
{
    sender.AutoPopup = true;
}

void TrayForm::OnTimerRunOnce(tk::Timer& sender)
{
    sender.SetEnabled(false);
    application_.FreeUnusedMemory();
}

void TrayForm::OnTimerMinutes(tk::Timer&)
{
    application_.FreeUnusedMemory();
}

LRESULT TrayForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The whole command word: the About entry's id is not a system command.
    if (message == WM_SYSCOMMAND && wParam == AboutCommandId) {
        aboutEntry_->Click();
        return 1;
    }
    return LinksForm::WndProc(message, wParam, lParam);
}

}  // namespace corvello
