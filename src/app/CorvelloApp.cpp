#include "app/CorvelloApp.h"

#include "actions/ActionCatalogue.h"
#include "actions/WindowsKeyboardRequests.h"
#include "actions/WindowsPowerRequests.h"
#include "app/AboutDialog.h"
#include "app/ActionQuestion.h"
#include "app/MainWindow.h"
#include "core/RegistryLayout.h"
#include "core/SingleInstance.h"
#include "core/SystemVersion.h"
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
    : AppBase(name, version, confirmClose, registryRoot, registryKey),
      windowsRequests_(std::make_unique<WindowsPowerRequests>()),
      powerRequests_(windowsRequests_.get()),
      windowsKeyboardRequests_(std::make_unique<WindowsKeyboardRequests>()),
      keyboardRequests_(windowsKeyboardRequests_.get())
{
    mainWindowClass_ = MainWindowClassName;
    mainWindowTitle_ = name_;
    FillLinks(links_, name_);
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
    if (entry && catalogue::NeedsConfirmation(entry->Tag, StoredConfirmations()) &&
        !ConfirmAction(entry->Caption, entry->Hint, false, nullptr))
        return false;
    // The display requests go to the application window, which a run would
    // have made; what they post to it is handled before the program ends.
    auto& application = tk::Application::Current();
    application.Initialize();
    RunOperation(named.Operation);
    application.ProcessMessages();
    return true;
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

void CorvelloApp::RunOperation(ActionOperation operation)
{
    switch (operation) {
    case ActionOperation::MonitorOff:
        MonitorOff();
        break;
    case ActionOperation::MonitorOn:
        MonitorOn();
        break;
    case ActionOperation::ScreenSaver:
        ScreenSaver();
        break;
    case ActionOperation::LockUser:
        LockUser();
        break;
    case ActionOperation::Sleep:
        Sleep();
        break;
    case ActionOperation::Hibernate:
        Hibernate();
        break;
    case ActionOperation::LogOff:
        LogOff();
        break;
    case ActionOperation::Reboot:
        Reboot();
        break;
    case ActionOperation::ShutDown:
        ShutDown();
        break;
    case ActionOperation::PowerOff:
        PowerOff();
        break;
    case ActionOperation::SwitchCapsLock:
        SwitchCapsLock();
        break;
    case ActionOperation::SwitchNumLock:
        SwitchNumLock();
        break;
    case ActionOperation::SwitchScrollLock:
        SwitchScrollLock();
        break;
    case ActionOperation::PressCtrlAltDel:
        PressCtrlAltDel();
        break;
    case ActionOperation::PressCtrlShiftEsc:
        PressCtrlShiftEsc();
        break;
    case ActionOperation::PressPrintScreen:
        PressPrintScreen();
        break;
    case ActionOperation::None:
        break;
    }
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

void CorvelloApp::SetPowerRequests(PowerRequests* requests) noexcept
{
    powerRequests_ = requests ? requests : windowsRequests_.get();
}

bool CorvelloApp::MonitorOff()
{
    return power::MonitorOff(*powerRequests_);
}

bool CorvelloApp::MonitorOn()
{
    return power::MonitorOn(*powerRequests_);
}

bool CorvelloApp::ScreenSaver()
{
    return power::ScreenSaver(*powerRequests_);
}

bool CorvelloApp::LockUser()
{
    return power::LockUser(*powerRequests_);
}

bool CorvelloApp::Sleep()
{
    return power::Sleep(*powerRequests_);
}

bool CorvelloApp::Hibernate()
{
    return power::Hibernate(*powerRequests_);
}

bool CorvelloApp::HybridShutDown()
{
    return power::HybridShutDown(*powerRequests_, ExitFlags());
}

bool CorvelloApp::LogOff()
{
    return power::LogOff(*powerRequests_, ExitFlags());
}

bool CorvelloApp::Reboot()
{
    return power::Reboot(*powerRequests_, ExitFlags());
}

bool CorvelloApp::ShutDown()
{
    return power::ShutDown(*powerRequests_, ExitFlags());
}

bool CorvelloApp::PowerOff()
{
    return power::PowerOff(*powerRequests_, ExitFlags());
}

bool CorvelloApp::ControlPanel()
{
    return power::ControlPanel(*powerRequests_);
}

void CorvelloApp::SetKeyboardRequests(KeyboardRequests* requests) noexcept
{
    keyboardRequests_ = requests ? requests : windowsKeyboardRequests_.get();
}

bool CorvelloApp::SwitchNumLock()
{
    return keyboard::SwitchNumLock(*keyboardRequests_);
}

bool CorvelloApp::SwitchCapsLock()
{
    return keyboard::SwitchCapsLock(*keyboardRequests_);
}

bool CorvelloApp::SwitchScrollLock()
{
    return keyboard::SwitchScrollLock(*keyboardRequests_);
}

bool CorvelloApp::PressCtrlShiftEsc()
{
    return keyboard::PressCtrlShiftEsc(*keyboardRequests_);
}

bool CorvelloApp::PressPrintScreen()
{
    return keyboard::PressPrintScreen(*keyboardRequests_);
}

bool CorvelloApp::PressCtrlAltDel()
{
    return keyboard::PressCtrlAltDel(*keyboardRequests_, IsWinVistaOrHigher, [] {
        ShowMessageDialog(catalogue::CtrlAltDelWarning, tk::DialogType::Warning, {tk::DialogButton::Cancel}, 0,
                          tk::DialogButton::Cancel, tk::Application::Current().MainForm(), L"", nullptr, std::nullopt,
                          nullptr);
    });
}

bool CorvelloApp::IsCapsLockOn()
{
    return keyboard::IsCapsLockOn(*keyboardRequests_);
}

bool CorvelloApp::IsNumLockOn()
{
    return keyboard::IsNumLockOn(*keyboardRequests_);
}

bool CorvelloApp::IsScrollLockOn()
{
    return keyboard::IsScrollLockOn(*keyboardRequests_);
}

}  // namespace corvello
