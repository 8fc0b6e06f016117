#include "actions/SystemActions.h"

#include "actions/WindowsAwakeRequests.h"
#include "actions/WindowsKeyboardRequests.h"
#include "actions/WindowsPowerRequests.h"
#include "core/SystemVersion.h"

namespace corvello {

SystemActions::SystemActions()
    : windowsPower_(std::make_unique<WindowsPowerRequests>()),
      windowsKeyboard_(std::make_unique<WindowsKeyboardRequests>()),
      windowsAwake_(std::make_unique<WindowsAwakeRequests>()),
      power_(windowsPower_.get()),
      keyboard_(windowsKeyboard_.get()),
      awake_(*windowsAwake_)
{
}

SystemActions::~SystemActions() = default;

void SystemActions::SetPowerRequests(PowerRequests* requests) noexcept
{
    power_ = requests ? requests : windowsPower_.get();
}

void SystemActions::SetKeyboardRequests(KeyboardRequests* requests) noexcept
{
    keyboard_ = requests ? requests : windowsKeyboard_.get();
}

void SystemActions::SetAwakeRequests(AwakeRequests* requests) noexcept
{
    awake_.SetRequests(requests ? *requests : *windowsAwake_);
}

bool SystemActions::SleepTurnsDisplayOff()
{
    if (!sleepTurnsDisplayOff_)
        sleepTurnsDisplayOff_ = power::ChooseSleepPath(power_->SleepCapabilities()) == power::SleepPath::DisplayOff;
    return *sleepTurnsDisplayOff_;
}

bool SystemActions::Run(ActionOperation operation)
{
    using Op = ActionOperation;
    switch (operation) {
    case Op::MonitorOff:
        return power::MonitorOff(*power_);
    case Op::MonitorOn:
        return power::MonitorOn(*power_);
    case Op::ScreenSaver:
        return power::ScreenSaver(*power_);
    case Op::LockUser:
        return power::LockUser(*power_);
    case Op::Sleep:
        return power::Sleep(*power_);
    case Op::Hibernate:
        return power::Hibernate(*power_);
    case Op::HybridShutDown:
        return power::HybridShutDown(*power_, ExitFlags);
    case Op::LogOff:
        return power::LogOff(*power_, ExitFlags);
    case Op::Reboot:
        return power::Reboot(*power_, ExitFlags);
    case Op::ShutDown:
        return power::ShutDown(*power_, ExitFlags);
    case Op::PowerOff:
        return power::PowerOff(*power_, ExitFlags);
    case Op::ControlPanel:
        return power::ControlPanel(*power_);
    case Op::SwitchCapsLock:
        return keyboard::SwitchCapsLock(*keyboard_);
    case Op::SwitchNumLock:
        return keyboard::SwitchNumLock(*keyboard_);
    case Op::SwitchScrollLock:
        return keyboard::SwitchScrollLock(*keyboard_);
    case Op::PressCtrlAltDel:
        return keyboard::PressCtrlAltDel(*keyboard_, IsWinVistaOrHigher, [this] {
            if (ShowCtrlAltDelWarning)
                ShowCtrlAltDelWarning();
        });
    case Op::PressCtrlShiftEsc:
        return keyboard::PressCtrlShiftEsc(*keyboard_);
    case Op::PressPrintScreen:
        return keyboard::PressPrintScreen(*keyboard_);
    case Op::KeepAwake:
        if (ToggleKeepAwake)
            ToggleKeepAwake();
        return true;
    case Op::LockMonitorOff:
        return power::LockMonitorOff(*power_, WaitForQuietInput);
    case Op::None:
        break;
    }
    return false;
}

bool SystemActions::IsLockOn(LockKey key)
{
    switch (key) {
    case LockKey::Caps:
        return keyboard::IsCapsLockOn(*keyboard_);
    case LockKey::Num:
        return keyboard::IsNumLockOn(*keyboard_);
    case LockKey::Scroll:
        return keyboard::IsScrollLockOn(*keyboard_);
    case LockKey::None:
        break;
    }
    return false;
}

}  // namespace corvello
