#include "actions/ActionCatalogue.h"

namespace corvello::catalogue {
namespace {

constexpr ActionEntry Table[] = {
    {L"MonitorOff", 1, GeneralCategory, L"Monitor Off", L"Blanks the screen or turns the monitor off ",
     ActionOperation::MonitorOff, LockKey::None, false, QuietInput::Always},
    {L"ScreenSaver", 2, GeneralCategory, L"Screen Saver", L"Starts default screensaver if set",
     ActionOperation::ScreenSaver, LockKey::None, false, QuietInput::FromShortcut},
    {L"Lock", 3, GeneralCategory, L"Lock Computer", L"Locks current user session and jumps to the Welcome screen",
     ActionOperation::LockUser, LockKey::None, false},
    {L"Sleep", 4, GeneralCategory, L"Sleep", L"Brings computer to sleep or suspend mode",
     ActionOperation::Sleep, LockKey::None, false},
    {L"Hibernate", 5, GeneralCategory, L"Hibernate", L"Saves computer memory on disk and turns the computer off",
     ActionOperation::Hibernate, LockKey::None, true},
    {L"LogOff", 6, GeneralCategory, L"Log Off", L"Closes current user session and jumps to the Welcome screen",
     ActionOperation::LogOff, LockKey::None, true},
    {L"Restart", 7, GeneralCategory, L"Restart", L"Shuts down Windows system and reboots the computer",
     ActionOperation::Reboot, LockKey::None, true},
    {L"ShutDown", 8, GeneralCategory, L"Shut Down", L"Shuts down Windows system",
     ActionOperation::ShutDown, LockKey::None, true},
    {L"PowerOff", 9, GeneralCategory, L"Power Off", L"Shuts down Windows system and turns the computer off",
     ActionOperation::PowerOff, LockKey::None, true},
    {L"CapsLock", 10, LocksCategory, L"Caps Lock", L"Switch Caps Lock",
     ActionOperation::SwitchCapsLock, LockKey::Caps, false},
    {L"NumLock", 11, LocksCategory, L"Num Lock", L"Switch Num Lock",
     ActionOperation::SwitchNumLock, LockKey::Num, false},
    {L"ScrollLock", 12, LocksCategory, L"Scroll Lock", L"Switch Scroll Lock",
     ActionOperation::SwitchScrollLock, LockKey::Scroll, false},
    {L"CtrlAltDel", 13, ShortcutsCategory, L"Ctrl+Alt+Del", L"Emulate Ctrl+Alt+Del key combination",
     ActionOperation::PressCtrlAltDel, LockKey::None, false},
    {L"CtrlShiftEsc", 14, ShortcutsCategory, L"Ctrl+Shift+Esc", L"Emulate Ctrl+Shift+Esc key combination",
     ActionOperation::PressCtrlShiftEsc, LockKey::None, false},
    {L"PrintScreen", 15, ShortcutsCategory, L"Print Screen", L"Emulate Print Screen key",
     ActionOperation::PressPrintScreen, LockKey::None, false},
    // Bound to no control, and its tag selects nothing.
    {L"ControlPanel", ControlPanelTag, GeneralCategory, L"Control Panel", L"Opens Control Panel of  Windows sytem",
     ActionOperation::None, LockKey::None, false},
    // Bound to no control: the command line names it.
    {L"MonitorOn", 16, GeneralCategory, L"Monitor On", L"Turns the monitor on", ActionOperation::MonitorOn,
     LockKey::None, false},
    // Bound to no control either: a shortcut, the command line and the
    // Options window reach them.
    {L"KeepAwake", KeepAwakeTag, GeneralCategory, L"Keep Awake", L"Keeps the computer from sleeping until stopped",
     ActionOperation::KeepAwake, LockKey::None, false},
    // Waits for quiet input itself, after the lock: the lock comes at once.
    {L"LockMonitorOff", 18, GeneralCategory, L"Lock and Monitor Off",
     L"Locks current user session, then turns the monitor off", ActionOperation::LockMonitorOff, LockKey::None,
     false},
};

}  // namespace

constinit const std::span<const ActionEntry> Actions{Table};

const ActionEntry* FindActionNamed(std::wstring_view name) noexcept
{
    for (const ActionEntry& entry : Actions)
        if (name == entry.Name)
            return &entry;
    return nullptr;
}

const ActionEntry* FindAction(int tag) noexcept
{
    for (const ActionEntry& entry : Actions)
        if (entry.Tag == tag)
            return &entry;
    return nullptr;
}

ActionOperation OperationFor(int tag) noexcept
{
    const ActionEntry* entry = FindAction(tag);
    return entry ? entry->Operation : ActionOperation::None;
}

bool NeedsConfirmation(int tag, bool confirmationsBoxChecked) noexcept
{
    if (!confirmationsBoxChecked)
        return false;
    const ActionEntry* entry = FindAction(tag);
    return entry && entry->Confirmed;
}

std::wstring DialogCaption(const std::wstring& actionCaption, bool mainWindowVisible, const std::wstring& appName)
{
    return mainWindowVisible ? actionCaption : appName + L" - " + actionCaption;
}

bool UsesApplicationIcon(bool mainWindowVisible) noexcept
{
    return !mainWindowVisible;
}

}  // namespace corvello::catalogue
