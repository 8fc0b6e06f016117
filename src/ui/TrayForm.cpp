#include "ui/TrayForm.h"

#include "core/AppBase.h"
#include "core/Clock.h"
#include "core/DateTime.h"
#include "core/StringIds.h"
#include "core/Text.h"
#include "toolkit/Application.h"
#include "toolkit/Menus.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Resources.h"
#include "toolkit/Window.h"
#include "ui/PingSchedule.h"
#include "ui/ShowMessageDialog.h"

namespace corvello {
namespace {

// The minute timer's interval, drawn once per run: one to five minutes.
constexpr int MinutesIntervalBase = 60000;
constexpr int MinutesIntervalSpread = 240000;

// Copies started together draw different intervals: the performance counter
// moves in well under a microsecond and each copy has its own process id.
std::uint32_t ClockSeed()
{
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    const auto ticks = static_cast<std::uint64_t>(counter.QuadPart);
    return static_cast<std::uint32_t>(ticks ^ (ticks >> 32)) ^ ::GetTickCount() ^ (::GetCurrentProcessId() << 16);
}

}  // namespace

HICON TrayForm::ApplicationIcon()
{
    static const HICON icon = static_cast<HICON>(
        ::LoadImageW(::GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, 0, 0, LR_SHARED | LR_DEFAULTSIZE));
    return icon;
}

TrayForm::TrayForm(tk::FormLayout layout, std::wstring componentName)
    : LinksForm(std::move(layout), std::move(componentName)), random_(ClockSeed())
{
    runOnce_.OnTimer = [this](tk::Timer& sender) { OnTimerRunOnce(sender); };
    minutes_.OnTimer = [this](tk::Timer& sender) { OnTimerMinutes(sender); };

    const auto entry = [this](const wchar_t* name, const wchar_t* caption, int tag) -> tk::MenuItem* {
        auto& item = trayMenu_.Items().Add(std::make_unique<tk::MenuItem>(name, caption, tag));
        if (tag != 0)
            item.OnClick = [this](tk::MenuItem& sender) { OnTrayIconMenuClick(sender); };
        return &item;
    };
    miTrayIconSetup_ = entry(L"miTrayIconSetup", L"Settings", SettingsTag);
    miTrayIconSetup_->Default = true;
    miTrayIconAbout_ = entry(L"miTrayIconAbout", L"About", AboutTag);
    miTrayIconSeparator_ = entry(L"miTrayIcon1", L"-", 0);
    miTrayIconClose_ = entry(L"miTrayIconClose", L"Close", CloseTag);
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
    pnTickover_ = std::make_unique<tk::Panel>(*this, tk::Bounds{20, 156, 32, 24}, L"Ping");
    pnTickover_->SetVisible(false);
    // Hidden until the main window shows it.
    trayIcon_ = std::make_unique<tk::TrayIcon>();
    trayIcon_->Menu = &trayMenu_;
    trayIcon_->OnClick = [this](tk::TrayIcon& sender) { OnTrayIconClick(sender); };
    trayIcon_->OnDblClick = [this](tk::TrayIcon& sender) { OnTrayIconDblClick(sender); };
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ApplicationIcon()));
    LoadTrayIcon();

    LinksForm::AfterCreate();
    if (AppObject)
        SetCaption(AppObject->Name());
    // One spacing for the whole run.
    minutes_.SetInterval(static_cast<UINT>(
        MinutesIntervalBase + std::uniform_int_distribution<int>(0, MinutesIntervalSpread - 1)(random_)));
    minutes_.SetEnabled(true);

    // The system menu begins with "About" and a separator.
    if (const HMENU system = ::GetSystemMenu(Handle(), FALSE)) {
        const bool rightToLeft = (::GetWindowLongW(Handle(), GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
        tk::MenuItemInsert(system, *miTrayIconSeparator_, 0, 0, rightToLeft);
        tk::MenuItemInsert(system, *miTrayIconAbout_, 0, static_cast<WORD>(AboutCommandId), rightToLeft);
    }
    if (AppObject)
        AppObject->SetNotifierParent(pnTickover_->Handle());
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
    if (!AppObject)
        return;
    SetCaption(AppObject->Name());
    trayIcon_->SetHint(AppObject->FullName());
}

void TrayForm::OnCloseQueryEvent(tk::Form& sender, bool& canClose)
{
    LinksForm::OnCloseQueryEvent(sender, canClose);
    if (tk::Application::Current().MainForm() != this)
        return;
    canClose = !AppObject || AppObject->Terminated() || !AppObject->ConfirmClose() || closeConfirmed_;
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
        if (!AppObject || !AppObject->ConfirmClose()) {
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
        if (AppObject)
            AppObject->ShowAbout();
        break;
    }
    case SettingsTag:
        if (AppObject)
            AppObject->ShowSettings();
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
    const std::wstring caption = visible ? std::wstring() : AppObject->Name();
    const HICON icon = visible ? nullptr : ApplicationIcon();
    if (AppObject->Terminated()) {
        closeConfirmed_ = true;
        Close();
        return;
    }
    const std::wstring question = FormatText(tk::LoadResourceString(IDS_CLOSE_QUESTION), {AppObject->Name()});
    const int answer = ShowMessageDialog(MessageDialogArgs(question).Owner(this).Caption(caption).Icon(icon));
    if (answer == tk::mr::Yes) {
        closeConfirmed_ = true;
        Close();
    }
}

void TrayForm::UserActionBegin(bool closeToo)
{
    ++userActions_;
    miTrayIconSetup_->SetEnabled(false);
    miTrayIconAbout_->SetEnabled(false);
    if (closeToo)
        miTrayIconClose_->SetEnabled(false);
}

void TrayForm::UserActionEnd()
{
    if (--userActions_ > 0)
        return;
    userActions_ = 0;
    miTrayIconSetup_->SetEnabled(true);
    miTrayIconAbout_->SetEnabled(true);
    miTrayIconClose_->SetEnabled(true);
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
    miTrayIconSetup_->Click();
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
    if (AppObject)
        AppObject->FreeUnusedMemory();
}

void TrayForm::OnTimerMinutes(tk::Timer&)
{
    if (!AppObject)
        return;
    const std::wstring date = L"date=" + TodayIso();
    if (firstMinutes_) {
        firstMinutes_ = false;
        AppObject->Ping(L"start", date, true);
    }
    const auto draw = std::uniform_int_distribution<std::uint32_t>(0, RunningThresholdSpread - 1)(random_);
    if (RunningPingDue(WholeMinutesBetween(LocalDateTimeNow(), AppObject->LastPing), draw))
        AppObject->Ping(L"running", date, false);
    AppObject->FreeUnusedMemory();
}

LRESULT TrayForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The whole command word: the About entry's id is not a system command.
    if (message == WM_SYSCOMMAND && wParam == AboutCommandId) {
        miTrayIconAbout_->Click();
        return 1;
    }
    return LinksForm::WndProc(message, wParam, lParam);
}

}  // namespace corvello
