#include "core/AppBase.h"

#include <limits>

#include "core/Clock.h"
#include "core/FileVersion.h"
#include "core/Messages.h"
#include "core/ProcessLaunch.h"
#include "core/Product.h"
#include "core/RegistryLayout.h"
#include "core/SingleInstance.h"
#include "core/StoredSettings.h"
#include "core/StoredNumber.h"
#include "core/SystemNames.h"
#include "core/Ticks.h"
#include "core/Timings.h"
#include "toolkit/Concat.h"
#include "toolkit/Form.h"
#include "toolkit/Log.h"
#include "toolkit/Registry.h"
#include "toolkit/Window.h"

namespace corvello {

AppBase::AppBase(const std::wstring& name, const VersionArray& version, bool confirmClose, std::uint32_t registryRoot,
                 const std::wstring& registryKey)
    : ProductIdentity(name, version, registryRoot, registryKey),
      StopWait(TimingMs(Timing::StopWait)),
      StopModeWait(TimingMs(Timing::StopModeWait)),
      HandOverWait(TimingMs(Timing::HandOverWait)),
      SessionEndWait(TimingMs(Timing::SessionEndForget))
{
    software_.Hardware = Hardware();
    software_.RunFirst = TodayIso();
    software_.RunLast = software_.RunFirst;

    links_.Web.Id = LinkIdWeb;
    links_.Email.Id = LinkIdEmail;
    links_.RSS.Id = LinkIdRSS;
    links_.Facebook.Id = LinkIdFacebook;
    links_.Gplus.Id = LinkIdGplus;
    links_.Twitter.Id = LinkIdTwitter;
    links_.Delicious.Id = LinkIdDelicious;
    links_.StumbleUpon.Id = LinkIdStumbleUpon;

    // The base stored the name; as the application object it is also the title.
    SetName(name_);
    events_ = std::make_unique<tk::ApplicationEvents>([this](MSG& msg, bool& handled) {
        // Nothing may escape into the message loop.
        try {
            if (OnAppMessage(msg))
                handled = true;
        } catch (...) {
            tk::LogCurrentException(L"handling an application message");
        }
    });
    for (const unsigned message : ProgramMessages)
        tk::Application::Current().RouteToHooks(message);

    // A question about the end of the session that no answer follows lapses.
    sessionEndTimer_.OnTimer = [this](tk::Timer& timer) {
        timer.SetEnabled(false);
        endingSession_ = false;
        tk::LogFailure(L"waiting for the end of the session after its question (the session did not end; the "
                       L"program runs on)",
                       ERROR_TIMEOUT);
    };

    confirmClose_ = confirmClose;
    copyright_ = CORVELLO_WIDEN(CORVELLO_COPYRIGHT);
    const auto parts = SplitPath(GetModulePath());
    filePath_ = parts.Directory;
    fileName_ = parts.FileName;
    mainWindowClass_ = tk::Application::WindowClassName;
    mainWindowTitle_ = name_;
    StartDateTime = LocalNow();
    StartTickCount = ::GetTickCount();
    CommandLine = ::GetCommandLineW();
    ::SetThreadLocale(LOCALE_USER_DEFAULT);
}

AppBase::~AppBase()
{
    ReleaseSettings();
    events_.reset();
}

void AppBase::ReleaseSettings() noexcept
{
    // On the normal way out the loop has ended and nothing is written here.
    try {
        if (!Terminated())
            SettingsWrite();
    } catch (...) {
        tk::LogCurrentException(L"the final settings write");
    }
    terminated_ = true;
}

void AppBase::SetName(const std::wstring& value)
{
    ProductIdentity::SetName(value);
    tk::Application::Current().SetTitle(value);
}

bool AppBase::Terminated() const
{
    return terminated_ || endingSession_ || tk::Application::Current().Terminated();
}

void AppBase::SettingsReset() {}

tk::RegKey AppBase::OpenSettingsKey(bool create) const
{
    const HKEY root = tk::RootKey(registryRoot_);
    return create ? tk::RegKey::Create(root, registryKey_) : tk::RegKey::Open(root, registryKey_);
}

tk::RegKey AppBase::OpenSettingsSubkey(const wchar_t* subkey, bool create) const
{
    const HKEY root = tk::RootKey(registryRoot_);
    const std::wstring path = tk::Concat({registryKey_, L"\\", subkey});
    return create ? tk::RegKey::Create(root, path) : tk::RegKey::Open(root, path);
}

bool AppBase::SettingsRead()
{
    // A value that is missing, or stored in a type or size that is not ours,
    // leaves its field as it is; the next write stores it properly (the first
    // date apart, which stays as it is). A date is read from text as it
    // stands: REG_SZ, or REG_EXPAND_SZ unexpanded, of at most MaxDateChars;
    // a list (REG_MULTI_SZ), bytes or a number is no date to read.
    const tk::RegKey key = OpenSettingsKey(false);
    if (const auto count = ReadNumber(key, registry::RunCount))
        software_.RunCount = *count;
    if (const auto first = key.ReadString(registry::RunFirst, registry::MaxDateChars))
        software_.RunFirst = *first;
    if (const auto last = key.ReadString(registry::RunLast, registry::MaxDateChars))
        software_.RunLast = *last;
    software_.Hardware = Hardware();
    return true;
}

bool AppBase::SettingsWrite()
{
    const tk::RegKey key = OpenSettingsKey(true);
    key.WriteDword(registry::RunCount, software_.RunCount);
    // The last run is today, from the clock; in memory RunLast keeps the date
    // read at start.
    const std::wstring today = TodayIso();
    key.WriteString(registry::RunLast, today);
    // The first date is written once, when there is none. One that is there
    // stays, whatever its type, length or text: it may be the user's real
    // first run in a form this program does not read.
    if (!key.HasValue(registry::RunFirst))
        key.WriteString(registry::RunFirst, today);
    return true;
}

void AppBase::CountRun() noexcept
{
    // The count stops at its largest value rather than start again at 0.
    if (software_.RunCount < std::numeric_limits<std::uint32_t>::max())
        ++software_.RunCount;
}

std::optional<std::uint32_t> AppBase::ReadNumber(const tk::RegKey& key, const wchar_t* name)
{
    const auto raw = key.ReadRaw(name);
    if (!raw)
        return std::nullopt;
    return DecodeStoredNumber(raw->Type, raw->Data.data(), raw->Data.size());
}

GeneralSettings AppBase::LoadGeneralSettings(const GeneralSettings& whenMissing) const
{
    const tk::RegKey key = OpenSettingsKey(false);
    if (!key)
        return whenMissing;
    return ReadGeneralSettings(whenMissing, [&key](const wchar_t* name, std::size_t maxBytes) {
        return LookUpStoredValue(key, name, maxBytes);
    });
}

void AppBase::ChangeSettings(const GeneralSettings& settings)
{
    settings_ = settings;
    SetAutoRun(settings.AutoRun);
    Update();
}

void AppBase::SaveGeneralSettings() const
{
    const tk::RegKey key = OpenSettingsKey(true);
    for (const StoredField<GeneralSettings>& field : GeneralFields)
        key.WriteDword(field.Name, settings_.*field.Switch ? 1 : 0);
}

void AppBase::SetAutoRun(bool value)
{
    settings_.AutoRun = value;
    const auto run = tk::RegKey::Create(HKEY_CURRENT_USER, registry::RunKey, KEY_SET_VALUE);
    if (value)
        run.WriteString(fileName_.c_str(), registry::AutorunCommand(filePath_ + fileName_));
    else
        run.DeleteValue(fileName_.c_str());
}

void AppBase::ParseCommandLine()
{
    workMode_ = WorkMode::Default;
    // The pieces of this exe's own path, unquoted on the command line, are no words.
    commandLineParams_ = CollectParams(SplitCommandLine(CommandLine), filePath_ + fileName_);
    WorkChoice choice = ChooseWork(commandLineParams_);
    workMode_ = choice.Mode;
    actionName_ = std::move(choice.ActionName);
    actionWords_ = choice.Words;
}

namespace {

// Runs a handler's steps: an error ends them and the handler reports
// failure. Steps that answer false found that the running copy would not
// end: then the word does nothing else and the program ends with 1, so an
// installer knows.
template <typename Steps>
ModeResult Guarded(bool endAfter, const wchar_t* what, Steps steps)
{
    try {
        if (steps())
            return {true, endAfter};
    } catch (...) {
        tk::LogCurrentException(what);
        return {false, endAfter};
    }
    tk::LogFailure(tk::Concat({what, L": the running copy did not end, so nothing else was done"}), ERROR_TIMEOUT);
    return {false, true, CopyNotEndedExitCode};
}

}  // namespace

ModeResult AppBase::HandleSettingsMode()
{
    return Guarded(false, L"the settings mode", [this] {
        needSettings_ = true;
        return true;
    });
}

ModeResult AppBase::HandleInstallMode()
{
    return Guarded(false, L"the install mode",
                   [this] { return StopInstance(StopWait, mainWindowClass_, mainWindowTitle_); });
}

ModeResult AppBase::HandleUninstallMode()
{
    return Guarded(true, L"the uninstall mode", [this] {
        // A copy that did not end would write its settings back at its end:
        // they stay until it has gone.
        if (!StopInstance(StopWait, mainWindowClass_, mainWindowTitle_))
            return false;
        RegistryClear();
        // A help index the system may have left beside the program.
        const std::wstring gid = ChangeFileExt(filePath_ + fileName_, L".gid");
        if (::GetFileAttributesW(gid.c_str()) != INVALID_FILE_ATTRIBUTES)
            ::DeleteFileW(gid.c_str());
        return true;
    });
}

ModeResult AppBase::HandleStartupMode()
{
    return {true, false};
}

ModeResult AppBase::HandleResetMode()
{
    return Guarded(false, L"the reset mode", [this] {
        // The copy would write its own settings back at its end.
        if (!StopInstance(StopWait, mainWindowClass_, mainWindowTitle_))
            return false;
        SettingsReset();
        SettingsWrite();
        return true;
    });
}

ModeResult AppBase::HandleStopMode()
{
    return Guarded(true, L"the stop mode",
                   [this] { return StopInstance(StopModeWait, mainWindowClass_, mainWindowTitle_); });
}

ModeResult AppBase::HandleActionMode()
{
    tk::LogFailure(L"the action word (this program runs no actions by name)", 0);
    return {false, true, static_cast<int>(ActionExitCode::UnknownName)};
}

ModeResult AppBase::HandleCancelMode()
{
    return actionWords_.Malformed ? RefuseWordsBeside(L"/cancel takes no other word") : ModeResult{true, true, 0};
}

ModeResult AppBase::HandleOptionsMode()
{
    return actionWords_.Malformed ? RefuseWordsBeside(L"/options takes no other word") : ModeResult{true, false};
}

ModeResult AppBase::RefuseWordsBeside(const wchar_t* reason)
{
    tk::LogFailure(reason, ERROR_INVALID_PARAMETER);
    return {false, true, static_cast<int>(ActionExitCode::MalformedWord)};
}

void AppBase::Execute()
{
    ParseCommandLine();
    ModeResult result{true, false};
    switch (workMode_) {
    case WorkMode::Undefined:
        result.EndAfter = true;
        break;
    case WorkMode::Default:
        break;
    case WorkMode::Settings:
        result = HandleSettingsMode();
        break;
    case WorkMode::Install:
        result = HandleInstallMode();
        break;
    case WorkMode::Uninstall:
        result = HandleUninstallMode();
        break;
    case WorkMode::Startup:
        result = HandleStartupMode();
        break;
    case WorkMode::Reset:
        result = HandleResetMode();
        break;
    case WorkMode::Stop:
        result = HandleStopMode();
        break;
    case WorkMode::Action:
        result = HandleActionMode();
        break;
    case WorkMode::Cancel:
        result = HandleCancelMode();
        break;
    case WorkMode::Options:
        result = HandleOptionsMode();
        break;
    }
    if (!result.Succeeded)
        tk::LogFailure(L"the steps of the work mode", 0);
    if (result.EndAfter) {
        Terminate(result.ExitCode);
        return;
    }

    // The hidden application window comes with the run: a start that hands
    // over needs none.
    tk::Application::Current().SetTitle(name_);
    if (IsAnotherInstance(true, true, L"")) {
        // A copy that is ending (or only looked at the instance) lets go in
        // a moment: then this start is the program. It never ends having
        // done nothing.
        const StartOutcome outcome = HandOverOrTakeInstance(
            mainWindowClass_, mainWindowTitle_,
            workMode_ == WorkMode::Options ? WM_INSTANCE_OPTIONS : WM_INSTANCE_ACTIVATE, TimingMs(Timing::InstanceLetGo));
        if (outcome != StartOutcome::TookInstance) {
            Terminate(outcome == StartOutcome::HandedOver ? 0 : CopyNotEndedExitCode);
            return;
        }
    }

    SettingsReset();
    SettingsRead();
    CountRun();
    Run();
}

void AppBase::Run()
{
    CreateForms();
    SettingsWrite();
    // What the forms asked for while they were made (the update after the
    // first show, say) is done before the application window exists: once
    // it does, another copy finds this one running and settled.
    auto& application = tk::Application::Current();
    application.ProcessMessages();
    application.Initialize();
    application.Run();
}

void AppBase::CreateForms() {}

bool AppBase::OnAppMessage(MSG& msg)
{
    switch (msg.message) {
    case WM_QUERYENDSESSION:
        SessionEndAsked();
        return true;
    case WM_ENDSESSION:
        SessionEndTold(msg.wParam != FALSE);
        return true;
    case WM_APP_UPDATE:
        Update();
        return false;
    case WM_APP_TERMINATE:
        Terminate(static_cast<int>(msg.lParam));
        return false;
    case WM_APP_SETTINGS_READ:
        SettingsRead();
        return true;
    case WM_INSTANCE_ACTIVATE:
        if (!AnswerSentRequest(msg))
            ShowProgram();
        return true;
    case WM_INSTANCE_STOP:
        Terminate(0);
        return true;
    case WM_INSTANCE_OPTIONS:
        if (!AnswerSentRequest(msg))
            ShowOptionsRequested();
        return true;
    default:
        return false;
    }
}

void AppBase::SessionEndAsked()
{
    // Each of the program's windows is asked in turn: the wait starts anew.
    endingSession_ = true;
    sessionEndTimer_.SetInterval(SessionEndWait);
    sessionEndTimer_.SetEnabled(true);
}

void AppBase::SessionEndTold(bool ending)
{
    // Going on, the session undoes the question; ending, it leaves the
    // program marked while its forms close (each hears of it itself).
    sessionEndTimer_.SetEnabled(false);
    endingSession_ = ending;
}

bool AppBase::Leaving() const
{
    // A request to end waiting in the queue comes before anything asked now.
    MSG waiting{};
    const auto requested = [&waiting](HWND window, UINT message) {
        return ::PeekMessageW(&waiting, window, message, message, PM_NOREMOVE) != FALSE;
    };
    const HWND application = tk::Application::Current().Handle();
    return Terminated() || requested(nullptr, WM_INSTANCE_STOP) || requested(nullptr, WM_APP_TERMINATE) ||
           (application && requested(application, WM_CLOSE));
}

bool AppBase::AnswerSentRequest(const MSG& msg)
{
    // Another copy sent it and waits for the answer, which comes at once; the
    // request itself comes round again through the queue, to be handled from
    // the loop as a posted one is.
    if (!::InSendMessage())
        return false;
    const bool leaving = Leaving();
    ::ReplyMessage(leaving ? InstanceLeavingAnswer : 0);
    if (!leaving)
        ::PostMessageW(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    return true;
}

HWND AppBase::DialogToAnswer() const
{
    // Decided from the dialog itself, not from what was activated last: the
    // starting copy has just activated the main window, disabled or not.
    auto& application = tk::Application::Current();
    if (const tk::Form* modal = application.ModalForm(); modal && modal->Visible())
        return modal->Handle();
    // Disabled by a dialog of Windows' own: the main window's last active
    // popup.
    const HWND main = application.MainWindow();
    if (!main || !::IsWindowVisible(main) || ::IsWindowEnabled(main))
        return nullptr;
    const HWND popup = ::GetLastActivePopup(main);
    return popup != main && ::IsWindowVisible(popup) ? popup : nullptr;
}

HWND AppBase::UrgentWindow() const
{
    return nullptr;
}

void AppBase::BringForward(HWND window)
{
    ::MessageBeep(MB_ICONEXCLAMATION);
    if (tk::Form* main = tk::Application::Current().MainForm(); main && main->Visible())
        main->BringToFront();
    // Above every window as the foreground window, and not left in the
    // top-most band: under Wine a dialog lifted through that band stays
    // there, owned as it is by a window with hidden top-most tooltips.
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::SetForegroundWindow(window);
    tk::WindowFlash(window, 3, 75);
}

void AppBase::ShowProgram()
{
    auto& application = tk::Application::Current();
    ::SetForegroundWindow(application.Handle());

    // A modal dialog (About, a question) is what the user must answer, and a
    // countdown what the user may have to stop: it comes forward and keeps
    // the keyboard, not the main window.
    HWND front = DialogToAnswer();
    if (!front)
        front = UrgentWindow();
    tk::Form* main = application.MainForm();
    if (front) {
        BringForward(front);
    } else if (main) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        if (!main->Visible())
            main->Show();
        main->BringToFront();
        tk::WindowFlash(main->Handle(), 3, 75);
        application.ProcessMessages();
        ::Sleep(10);
        ::SetFocus(main->Handle());
    } else {
        application.NormalizeTopMosts();
    }
}

SoftwareInfo AppBase::Software()
{
    software_.Version = Version();
    software_.RunTime = TickDistance(::GetTickCount(), StartTickCount) / 1000;
    if (software_.Hardware.empty())
        software_.Hardware = Hardware();
    return software_;
}

std::wstring AppBase::Hardware()
{
    return ComposeHardware(GetCurrentComputerName(), GetCurrentUserName());
}

int AppBase::ShowSettings()
{
    auto& application = tk::Application::Current();
    ::SetForegroundWindow(application.Handle());
    application.Restore();
    if (tk::Form* main = application.MainForm()) {
        main->Show();
        main->BringToFront();
        ::SetForegroundWindow(main->Handle());
    }
    return 1;
}

void AppBase::Update()
{
    FreeUnusedMemory();
}

void AppBase::FreeUnusedMemory()
{
    ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void AppBase::Terminate(int exitCode)
{
    terminated_ = true;
    auto& application = tk::Application::Current();
    const HWND main = application.MainWindow();
    if (!main) {
        // Without a main window the program ends now, with the given code.
        application.Terminate(exitCode);
        return;
    }
    // The main window's close query lets it go: Terminated is true by now.
    application.MainForm()->Close();
    application.Terminate(0);
}

void AppBase::Restart()
{
    // The new copy starts from the exit sequence, after this process has let
    // go of the instance mutex; started any earlier it would find this
    // process still registered and hand over to it.
    restartRequested_ = true;
    Terminate(0);
}

void AppBase::Ping(const std::wstring&, const std::wstring&, bool) {}

void AppBase::OpenLink(std::int32_t) {}

int AppBase::ShowAbout()
{
    return 0;
}

void AppBase::SetNotifierParent(HWND) {}

void AppBase::ShowOptionsRequested() {}


}  // namespace corvello
