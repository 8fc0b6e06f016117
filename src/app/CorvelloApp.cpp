#include "app/CorvelloApp.h"

#include "actions/ActionCatalogue.h"
#include "app/AboutDialog.h"
#include "app/MainWindow.h"
#include "core/RegistryLayout.h"
#include "core/SingleInstance.h"
#include "online/Links.h"
#include "online/Notifier.h"
#include "online/Statistics.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Log.h"
#include "ui/ShowMessageDialog.h"

namespace corvello {

CorvelloApp* App = nullptr;

CorvelloApp::CorvelloApp(const std::wstring& name, const VersionArray& version, bool confirmClose,
                         std::uint32_t registryRoot, const std::wstring& registryKey)
    : AppBase(name, version, confirmClose, registryRoot, registryKey)
{
    mainWindowClass_ = MainWindowClassName;
    mainWindowTitle_ = name_;
    FillLinks(links_, name_);
    system_.ShowCtrlAltDelWarning = [] {
        ShowMessageDialog(catalogue::CtrlAltDelWarning, tk::DialogType::Warning, {tk::DialogButton::Cancel}, 0,
                          tk::DialogButton::Cancel, tk::Application::Current().MainForm(), L"", nullptr, std::nullopt,
                          nullptr);
    };
}

CorvelloApp::~CorvelloApp()
{
    ReleaseSettings();
    FreeProgramNotifier();
}

void CorvelloApp::SettingsReset()
{
    AppBase::SettingsReset();
    SetAutoRun(true);
    onlineEnabled_ = true;
    confirmations_ = true;
}

bool CorvelloApp::SettingsRead()
{
    AppBase::SettingsRead();
    const tk::RegKey key = OpenSettingsKey(false);
    // A damaged switch is off: it must never turn the statistics or autorun
    // back on by itself.
    SetAutoRun(ReadSwitch(key, registry::AutoRun, autoRun_));
    onlineEnabled_ = ReadSwitch(key, registry::Online, onlineEnabled_);
    confirmations_ = ReadSwitch(key, registry::Confirmations, confirmations_);
    return true;
}

bool CorvelloApp::SettingsWrite()
{
    AppBase::SettingsWrite();
    const tk::RegKey key = OpenSettingsKey(true);
    key.WriteDword(registry::AutoRun, autoRun_ ? 1 : 0);
    key.WriteDword(registry::Online, onlineEnabled_ ? 1 : 0);
    key.WriteDword(registry::Confirmations, confirmations_ ? 1 : 0);
    return true;
}

void CorvelloApp::Update()
{
    DoChangeTrayIcon();
    SettingsWrite();
    AppBase::Update();
}

void CorvelloApp::CreateForms()
{
    mainWindow_ = tk::CreateForm<MainWindow>();
    tk::Application::Current().SetMainForm(mainWindow_.get());
    DoChangeTrayIcon();
    StartShortcuts();
    StartLockKeys();
    if (workMode_ == WorkMode::Options)
        ShowOptionsRequested();
}

void CorvelloApp::StartShortcuts()
{
    events_ = std::make_unique<tk::SystemEvents>();
    events_->OnHotKey = [this](int id) {
        const ActionEntry* entry = shortcuts_.ForHotKey(id);
        if (entry && !(options_ && options_->TakeShortcutKeys(*entry)))
            runner_.Run(*entry, ActionTrigger::Shortcut);
    };
    // Windows can drop what was registered: register everything again.
    const auto registerAgain = [this] {
        if (events_)
            shortcuts_.RegisterAll(events_->Handle());
    };
    events_->OnResume = registerAgain;
    events_->OnSessionUnlock = registerAgain;
    events_->OnTaskbarCreated = registerAgain;
    shortcuts_.OnChanged = [this] { ShortcutsChanged(); };
    shortcuts_.Load(OpenSettingsSubkey(registry::HotkeysKey, false));
    const auto inUse = shortcuts_.RegisterAll(events_->Handle());
    if (inUse.empty())
        return;
    pendingBalloon_ = L"These shortcuts are in use by another program: " + ShortcutList(inUse, shortcuts_) +
                      L". Choose others in the Options window.";
    // The tray icon may not be there yet (a start with Windows comes before
    // the task bar): the balloon waits for it, for half a minute at most.
    balloonRetry_.OnTimer = [this](tk::Timer& timer) {
        if ((mainWindow_ && mainWindow_->TrayIcon().ShowBalloon(name_, pendingBalloon_,
                                                                tk::TrayIcon::BalloonKind::Warning)) ||
            ++balloonTries_ >= 30) {
            timer.SetEnabled(false);
            pendingBalloon_.clear();
        }
    };
    balloonRetry_.OnTimer(balloonRetry_);
    if (!pendingBalloon_.empty())
        balloonRetry_.SetEnabled(true);
}

void CorvelloApp::StartLockKeys()
{
    lockKeys_ = std::make_unique<LockKeyWatch>(system_);
    if (events_) {
        LockKeyWatch* watch = lockKeys_.get();
        events_->OnLockKeyUp = [watch](unsigned key) { watch->KeyLetGo(LockOfVirtualKey(key)); };
        // After what the events did so far (the shortcuts registered again).
        events_->OnSessionUnlock = [first = std::move(events_->OnSessionUnlock), watch] {
            if (first)
                first();
            watch->SessionUnlocked();
        };
        events_->OnResume = [first = std::move(events_->OnResume), watch] {
            if (first)
                first();
            watch->Resumed();
        };
        // Where raw input is refused, the main window's guard timer still
        // reads the keys while it shows.
        events_->WatchLockKeys();
    }
    lockKeys_->Start(OpenSettingsSubkey(registry::LockKeysKey, false));
}

void CorvelloApp::ShortcutsChanged()
{
    if (mainWindow_)
        mainWindow_->ShortcutsChanged();
    if (options_)
        options_->Refresh();
}

void CorvelloApp::ShowOptionsRequested()
{
    // From the loop: the request may come while a menu or dialog runs.
    tk::Application::Current().Post([this] { ShowOptions(OptionsWindow::PageId::Shortcuts); });
}

void CorvelloApp::ShowOptions(OptionsWindow::PageId page, const ActionEntry* action)
{
    if (!options_)
        options_ = tk::CreateForm<OptionsWindow>();
    options_->ShowPage(page, action);
}

bool CorvelloApp::StoredConfirmations() const
{
    // Read as a run reads it; the defaults have it on.
    return ReadSwitch(OpenSettingsKey(false), registry::Confirmations, true);
}

ModeResult CorvelloApp::HandleActionMode()
{
    const auto end = [](bool succeeded, ActionExitCode code) {
        return ModeResult{succeeded, true, static_cast<int>(code)};
    };
    try {
        const NamedAction* named = commandline::FindAction(actionName_);
        if (!named) {
            // The name as given, cut short: it comes from anyone.
            tk::LogFailure(L"the action word: no action is named \"" + actionName_.substr(0, 40) + L"\"",
                           ERROR_INVALID_PARAMETER);
            return end(false, ActionExitCode::UnknownName);
        }
        const std::u16string text = commandline::HandOverText(*named);
        switch (HandOverToInstance(mainWindowClass_, mainWindowTitle_, commandline::HandOverTag, text.data(),
                                   static_cast<std::uint32_t>(text.size() * sizeof(char16_t)),
                                   static_cast<LRESULT>(commandline::HandOverTag), HandOverWait)) {
        case HandOverResult::Taken:
            return end(true, ActionExitCode::Done);
        case HandOverResult::NotTaken:
            return end(false, ActionExitCode::Failed);
        case HandOverResult::Refused:
            // A copy on its way out (a stop, an install) refuses what it
            // would not get to: once it has gone, the action runs here. A
            // copy that stays (one too old to know the word) keeps it
            // refused.
            if (!WaitForInstanceToEnd(HandOverWait, mainWindowClass_, mainWindowTitle_))
                return end(false, ActionExitCode::Failed);
            break;
        case HandOverResult::NoCopy:
            break;
        }
        return end(true, RunNamedAction(*named) ? ActionExitCode::Done : ActionExitCode::Declined);
    } catch (...) {
        tk::LogCurrentException(L"the action word");
        return end(false, ActionExitCode::Failed);
    }
}

bool CorvelloApp::RunNamedAction(const NamedAction& named)
{
    const ActionEntry* entry = catalogue::FindAction(named.Tag);
    if (!entry)
        return false;
    // The display requests go to the application window, which a run would
    // have made; what they post to it is handled before the program ends.
    auto& application = tk::Application::Current();
    application.Initialize();
    const ActionOutcome outcome = runner_.Run(*entry, ActionTrigger::CommandLine);
    application.ProcessMessages();
    return outcome == ActionOutcome::Ran;
}

int CorvelloApp::ShowAbout()
{
    return ShowAboutDialog();
}

void CorvelloApp::DoChangeTrayIcon()
{
    if (mainWindow_)
        mainWindow_->TrayIconUpdate();
}

void CorvelloApp::BalloonShow(const std::wstring& message)
{
    if (mainWindow_)
        mainWindow_->TrayIcon().ShowBalloon(name_, message, tk::TrayIcon::BalloonKind::Warning);
}

void CorvelloApp::Ping(const std::wstring& verb, const std::wstring& extraParams, bool urgent)
{
    SendPing(*this, verb, extraParams, urgent);
}

void CorvelloApp::OpenLink(std::int32_t linkId)
{
    OpenProductLink(*this, linkId);
}

void CorvelloApp::SetNotifierParent(HWND parent)
{
    CreateProgramNotifier(links_.Web.Url + L"/ping/", parent);
}

}  // namespace corvello
