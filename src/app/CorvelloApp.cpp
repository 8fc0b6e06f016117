#include "app/CorvelloApp.h"

#include "actions/ActionCatalogue.h"
#include "app/AboutDialog.h"
#include "app/lockkeys/LockKeysPage.h"
#include "app/MainWindow.h"
#include "app/shortcuts/ShortcutsPage.h"
#include "app/timer/TimerPage.h"
#include "core/RegistryLayout.h"
#include "online/Links.h"
#include "online/Notifier.h"
#include "online/Statistics.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Log.h"
#include "ui/ShowMessageDialog.h"

namespace corvello {

CorvelloApp::CorvelloApp(const std::wstring& name, const VersionArray& version, bool confirmClose,
                         std::uint32_t registryRoot, const std::wstring& registryKey)
    : AppBase(name, version, confirmClose, registryRoot, registryKey),
      runner_(system_, name_, [this] { return StoredConfirmations(); })
{
    mainWindowClass_ = MainWindowClassName;
    mainWindowTitle_ = name_;
    FillLinks(links_, name_);
    system_.ShowCtrlAltDelWarning = [] {
        ShowMessageDialog(MessageDialogArgs(catalogue::CtrlAltDelWarning)
                              .Type(tk::DialogType::Warning)
                              .Buttons({tk::DialogButton::Cancel}, tk::DialogButton::Cancel)
                              .Owner(tk::Application::Current().MainForm()));
    };
    system_.ToggleKeepAwake = [this] { awake_.Toggle(); };
    system_.WaitForQuietInput = [] { WaitForQuietInput(); };
}

CorvelloApp::~CorvelloApp()
{
    ReleaseSettings();
    FreeProgramNotifier();
}

void CorvelloApp::SettingsReset()
{
    AppBase::SettingsReset();
    settings_ = GeneralSettings{};
    SetAutoRun(settings_.AutoRun);
}

bool CorvelloApp::SettingsRead()
{
    AppBase::SettingsRead();
    settings_ = LoadGeneralSettings(settings_);
    SetAutoRun(settings_.AutoRun);
    return true;
}

bool CorvelloApp::SettingsWrite()
{
    AppBase::SettingsWrite();
    SaveGeneralSettings();
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
    mainWindow_ = tk::CreateForm<MainWindow>(*this);
    tk::Application::Current().SetMainForm(mainWindow_.get());
    runner_.SetOwner(mainWindow_.get());
    changed_.Add([this](Change change) { ShowChange(change); });
    DoChangeTrayIcon();
    StartEvents();
    StartShortcuts();
    timer_.OnChanged = Tell(Change::Timers);
    timer_.OnBalloon = [this](const std::wstring& text) { runner_.Warn(text); };
    awake_.OnChanged = Tell(Change::Timers);
    // The time left is worked out anew after a change of the clock and
    // after a resume (as well as what was there to do then).
    changed_.Add([this](Change change) {
        if (change == Change::ClockChanged || change == Change::Resumed) {
            timer_.FollowClock();
            awake_.FollowClock();
        }
    });
    requests_.TakePending();
    StartLockKeys();
    if (workMode_ == WorkMode::Options)
        ShowOptionsRequested();
}

void CorvelloApp::StartEvents()
{
    events_ = std::make_unique<tk::SystemEvents>();
    events_->OnResume = Tell(Change::Resumed);
    events_->OnSessionUnlock = Tell(Change::SessionUnlocked);
    events_->OnTaskbarCreated = Tell(Change::TaskbarCreated);
    events_->OnTimeChange = Tell(Change::ClockChanged);
}

void CorvelloApp::ShowChange(Change change)
{
    if (mainWindow_) {
        switch (change) {
        case Change::Timers:
            mainWindow_->TimersChanged();
            break;
        case Change::Shortcuts:
            mainWindow_->ShortcutsChanged();
            break;
        case Change::LockStates:
            mainWindow_->LocksUpdate();
            break;
        default:
            break;
        }
    }
    if (!options_)
        return;
    if (change == Change::Timers)
        options_->Page(OptionsWindow::PageId::Timer).Refresh();
    else if (change == Change::Shortcuts)
        options_->Refresh();
}

void CorvelloApp::StartShortcuts()
{
    events_->OnHotKey = [this](int id) {
        const ActionEntry* entry = shortcuts_.ForHotKey(id);
        if (entry && !(options_ && options_->TakeShortcutKeys(*entry)))
            runner_.Run(*entry, ActionTrigger::Shortcut, shortcuts_.Get(*entry).Modifiers);
    };
    // Windows can drop what was registered: register everything again.
    changed_.Add([this](Change change) {
        if (change == Change::Resumed || change == Change::SessionUnlocked || change == Change::TaskbarCreated)
            shortcuts_.RegisterAll(events_->Handle());
    });
    shortcuts_.OnChanged = Tell(Change::Shortcuts);
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
    lockKeys_ = std::make_unique<LockKeyWatch>(system_, runner_);
    LockKeyWatch* watch = lockKeys_.get();
    watch->OnChanged = Tell(Change::LockStates);
    events_->OnLockKeyUp = [watch](unsigned key, bool hasDevice, unsigned scanCode) {
        watch->KeyLetGo(LockOfVirtualKey(key), LetGoBy(hasDevice, scanCode));
    };
    // After the shortcuts registered again.
    changed_.Add([watch](Change change) {
        if (change == Change::SessionUnlocked)
            watch->SessionUnlocked();
        else if (change == Change::Resumed)
            watch->Resumed();
    });
    // Where raw input is refused, the main window's guard timer still
    // reads the keys while it shows.
    events_->WatchLockKeys();
    watch->Start(OpenSettingsSubkey(registry::LockKeysKey, false));
}

void CorvelloApp::ShowOptionsRequested()
{
    // From the loop: the request may come while a menu or dialog runs.
    tk::Application::Current().Post([this] { ShowOptions(OptionsWindow::PageId::Shortcuts); });
}

void CorvelloApp::ShowOptions(OptionsWindow::PageId page, const ActionEntry* action)
{
    // A dialog that waits for an answer comes forward, as for a second
    // start, and the Options window is not opened: behind the dialog it
    // would only be disabled, and opened later it would come as a surprise.
    if (const HWND dialog = DialogToAnswer()) {
        BringForward(dialog);
        return;
    }
    if (!options_) {
        if (!lockKeys_)
            return;
        // The pages, in the order of their tabs and of PageId.
        std::vector<std::unique_ptr<OptionsPage>> pages;
        pages.push_back(std::make_unique<ShortcutsPage>(shortcuts_, SettingsKey{*this, registry::HotkeysKey}));
        pages.push_back(std::make_unique<TimerPage>(timer_, awake_));
        pages.push_back(std::make_unique<LockKeysPage>(*lockKeys_, SettingsKey{*this, registry::LockKeysKey}));
        options_ = tk::CreateForm<OptionsWindow>(*this, std::move(pages));
    }
    options_->ShowPage(page, action);
}

bool CorvelloApp::StoredConfirmations() const
{
    return LoadGeneralSettings(GeneralSettings{}).Confirmations;
}

int CorvelloApp::ShowAbout()
{
    return ShowAboutDialog(*this);
}

HWND CorvelloApp::UrgentWindow() const
{
    const CountdownWindow* countdown = timer_.Countdown();
    return countdown && countdown->Visible() ? countdown->Handle() : nullptr;
}

void CorvelloApp::DoChangeTrayIcon()
{
    if (mainWindow_)
        mainWindow_->TrayIconUpdate();
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
