#include "core/unitApp.h"

#include "actions/WindowsPowerRequests.h"
#include "core/RegistryLayout.h"
#include "online/Links.h"

namespace corvello {

TApp* App = nullptr;

TApp::TApp(const std::wstring& AName, const TVersionArray& AVersion, bool AConfirmClose, std::uint32_t ARegistryRoot,
           const std::wstring& ARegistryKey)
    : TAppClass(AName, AVersion, AConfirmClose, ARegistryRoot, ARegistryKey),
      FWindowsRequests(std::make_unique<TWindowsPowerRequests>()),
      FPowerRequests(FWindowsRequests.get())
{
    FMainWindowClass = MainWindowClassName;
    FMainWindowTitle = FName;
    FillLinks(FLinks, FName);
}

TApp::~TApp()
{
    ReleaseSettings();
}

void TApp::SettingsReset()
{
    TAppClass::SettingsReset();
    SetAutoRun(true);
    FOnlineEnabled = true;
    FConfirmations = true;
}

bool TApp::SettingsRead()
{
    TAppClass::SettingsRead();
    const tk::RegKey key = OpenSettingsKey(false);
    if (const auto autoRun = key.ReadDword(registry::AutoRun))
        SetAutoRun(*autoRun != 0);
    if (const auto online = key.ReadDword(registry::Online))
        FOnlineEnabled = *online != 0;
    if (const auto confirmations = key.ReadDword(registry::Confirmations))
        FConfirmations = *confirmations != 0;
    return true;
}

bool TApp::SettingsWrite()
{
    TAppClass::SettingsWrite();
    const tk::RegKey key = OpenSettingsKey(true);
    key.WriteDword(registry::AutoRun, FAutoRun ? 1 : 0);
    key.WriteDword(registry::Online, FOnlineEnabled ? 1 : 0);
    key.WriteDword(registry::Confirmations, FConfirmations ? 1 : 0);
    return true;
}

void TApp::Update()
{
    SettingsWrite();
    TAppClass::Update();
}

void TApp::SetPowerRequests(TPowerRequests* requests) noexcept
{
    FPowerRequests = requests ? requests : FWindowsRequests.get();
}

bool TApp::MonitorOff()
{
    return power::MonitorOff(*FPowerRequests);
}

bool TApp::MonitorOn()
{
    return power::MonitorOn(*FPowerRequests);
}

bool TApp::ScreenSaver()
{
    return power::ScreenSaver(*FPowerRequests);
}

bool TApp::LockUser()
{
    return power::LockUser(*FPowerRequests);
}

bool TApp::Sleep()
{
    return power::Sleep(*FPowerRequests);
}

bool TApp::Hibernate()
{
    return power::Hibernate(*FPowerRequests);
}

bool TApp::HybridShutDown()
{
    return power::HybridShutDown(*FPowerRequests, ExitFlags());
}

bool TApp::LogOff()
{
    return power::LogOff(*FPowerRequests, ExitFlags());
}

bool TApp::Reboot()
{
    return power::Reboot(*FPowerRequests, ExitFlags());
}

bool TApp::ShutDown()
{
    return power::ShutDown(*FPowerRequests, ExitFlags());
}

bool TApp::PowerOff()
{
    return power::PowerOff(*FPowerRequests, ExitFlags());
}

bool TApp::ControlPanel()
{
    return power::ControlPanel(*FPowerRequests);
}

}  // namespace corvello
