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
    StartTimers();
    StartLockKeys();
    if (workMode_ == WorkMode::Options)
        ShowOptionsRequested();
}

void CorvelloApp::StartTimers()
{
    timer_.OnChanged = [this] { TimersChanged(); };
    timer_.OnBalloon = [this](const std::wstring& text) { BalloonShow(text); };
    awake_.OnChanged = [this] { TimersChanged(); };
    // The time left is worked out anew after a change of the clock and
    // after a resume (as well as what was there to do then).
    events_->OnTimeChange = [this] { FollowClock(); };
    events_->OnResume = [this, before = events_->OnResume] {
        if (before)
            before();
        FollowClock();
    };
    if (pendingRequest_) {
        // From the loop, once the window and its tray icon are there.
        tk::Application::Current().Post([this, request = *pendingRequest_] { TakeRequest(request); });
        pendingRequest_.reset();
    }
}

void CorvelloApp::FollowClock()
{
    timer_.FollowClock();
    awake_.FollowClock();
}

void CorvelloApp::TimersChanged()
{
    if (mainWindow_)
        mainWindow_->TimersChanged();
    if (options_)
        options_->Page(OptionsWindow::PageId::Timer).Refresh();
}

void CorvelloApp::TakeRequest(const commandline::Request& request)
{
    if (!request.Action) {
        timer_.Cancel();
        return;
    }
    const ActionEntry* entry = request.Action;
    const ActionWords& words = request.Words;
    std::optional<LaterTime> when;
    if (words.Wait == WaitKind::In)
        when = LaterTime{DueKind::In, words.Seconds, 0};
    else if (words.Wait == WaitKind::At)
        when = LaterTime{DueKind::At, 0, words.ClockMinute};
    if (entry->Operation == ActionOperation::KeepAwake) {
        // For Keep Awake the time says how long it holds.
        if (words.Off)
            awake_.Stop();
        else
            awake_.Start(when, words.ScreenOn.value_or(false));
        return;
    }
    if (when)
        timer_.Set(*entry, *when);
    else
        runner_.Run(*entry, ActionTrigger::HandedOver);
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
        events_->OnLockKeyUp = [watch](unsigned key, bool hasDevice, unsigned scanCode) {
            watch->KeyLetGo(LockOfVirtualKey(key), LetGoBy(hasDevice, scanCode));
        };
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
    // A dialog that waits for an answer comes forward, as for a second
    // start, and the Options window is not opened: behind the dialog it
    // would only be disabled, and opened later it would come as a surprise.
    if (const HWND dialog = DialogToAnswer()) {
        BringForward(dialog);
        return;
    }
    if (!options_)
        options_ = tk::CreateForm<OptionsWindow>();
    options_->ShowPage(page, action);
}

bool CorvelloApp::StoredConfirmations() const
{
    // Read as a run reads it; the defaults have it on.
    return ReadSwitch(OpenSettingsKey(false), registry::Confirmations, true);
}

std::optional<ActionExitCode> CorvelloApp::HandOverRequest(const commandline::Request& request)
{
    const std::u16string text = commandline::HandOverText(request);
    switch (HandOverToInstance(mainWindowClass_, mainWindowTitle_, commandline::HandOverTag, text.data(),
                               static_cast<std::uint32_t>(text.size() * sizeof(char16_t)),
                               static_cast<LRESULT>(commandline::HandOverTag), HandOverWait)) {
    case HandOverResult::Taken:
        return ActionExitCode::Done;
    case HandOverResult::NotTaken:
        return ActionExitCode::Failed;
    case HandOverResult::Refused:
        // A copy on its way out (a stop, an install) refuses what it would
        // not get to: once it has gone, the request is this start's. A copy
        // that stays (one too old to know the word or its words) keeps it
        // refused.
        if (!WaitForInstanceToEnd(HandOverWait, mainWindowClass_, mainWindowTitle_))
            return ActionExitCode::Failed;
        break;
    case HandOverResult::NoCopy:
        break;
    }
    return std::nullopt;
}

ModeResult CorvelloApp::HandleActionMode()
{
    const auto end = [](bool succeeded, ActionExitCode code) {
        return ModeResult{succeeded, true, static_cast<int>(code)};
    };
    try {
        const ActionEntry* named = commandline::FindAction(actionName_);
        if (!named) {
            // The name as given, cut short: it comes from anyone.
            tk::LogFailure(L"the action word: no action is named \"" + actionName_.substr(0, 40) + L"\"",
                           ERROR_INVALID_PARAMETER);
            return end(false, ActionExitCode::UnknownName);
        }
        if (!commandline::WordsFit(*named, actionWords_)) {
            tk::LogFailure(L"the action word: the words beside \"" + commandline::NameOf(*named) +
                               L"\" will not do (malformed, twice, not for it, or unknown)",
                           ERROR_INVALID_PARAMETER);
            return end(false, ActionExitCode::MalformedWord);
        }
        const commandline::Request request{named, actionWords_};
        if (const auto handedOver = HandOverRequest(request))
            return end(*handedOver == ActionExitCode::Done, *handedOver);
        if (commandline::Lasts(*named, actionWords_)) {
            // This start becomes the program, and sets it once it runs.
            pendingRequest_ = request;
            return ModeResult{true, false, 0};
        }
        // Keep Awake's "/off" with none running: nothing holds.
        if (actionWords_.Off)
            return end(true, ActionExitCode::Done);
        return end(true, RunNamedAction(*named) ? ActionExitCode::Done : ActionExitCode::Declined);
    } catch (...) {
        tk::LogCurrentException(L"the action word");
        return end(false, ActionExitCode::Failed);
    }
}

ModeResult CorvelloApp::HandleCancelMode()
{
    const auto end = [](bool succeeded, ActionExitCode code) {
        return ModeResult{succeeded, true, static_cast<int>(code)};
    };
    if (actionWords_.Malformed)
        return RefuseWordsBeside(L"/cancel takes no other word");
    try {
        // With no copy running (or once it has gone), nothing waits.
        const auto handedOver = HandOverRequest(commandline::Request{});
        return end(!handedOver || *handedOver == ActionExitCode::Done, handedOver.value_or(ActionExitCode::Done));
    } catch (...) {
        tk::LogCurrentException(L"/cancel");
        return end(false, ActionExitCode::Failed);
    }
}

bool CorvelloApp::RunNamedAction(const ActionEntry& entry)
{
    // The display requests go to the application window, which a run would
    // have made; what they post to it is handled before the program ends.
    auto& application = tk::Application::Current();
    application.Initialize();
    const ActionOutcome outcome = runner_.Run(entry, ActionTrigger::CommandLine);
    application.ProcessMessages();
    return outcome == ActionOutcome::Ran;
}

int CorvelloApp::ShowAbout()
{
    return ShowAboutDialog();
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
