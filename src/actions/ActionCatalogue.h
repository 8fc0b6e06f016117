// The program's actions as one table: the name by which each one is known,
// its operation, caption and hint, the lock key it switches, whether it asks
// first and whether the command line offers it; the order of the tray's
// submenus and the places and tags of the buttons; and the texts of the
// dialogs the actions show.
#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace corvello {

// What the application object does for an action.
enum class ActionOperation {
    None,
    MonitorOff,
    MonitorOn,
    ScreenSaver,
    LockUser,
    Sleep,
    Hibernate,
    LogOff,
    Reboot,
    ShutDown,
    PowerOff,
    SwitchCapsLock,
    SwitchNumLock,
    SwitchScrollLock,
    PressCtrlAltDel,
    PressCtrlShiftEsc,
    PressPrintScreen,
    // Keeps the computer from sleeping until stopped; a second time stops.
    KeepAwake,
    // Locks the session, then turns the monitor off once input is quiet.
    LockMonitorOff,
    // Operations no entry runs.
    HybridShutDown,
    ControlPanel,
};

// The lock key an action switches; after it the lock LEDs and check marks
// are brought up to date.
enum class LockKey { None, Caps, Num, Scroll };

// Whether the action waits, before it acts, until every key is up and no
// input has come for a moment: the release of the keys (or a nudge of the
// mouse) would undo a display turned off.
enum class QuietInput { Never, FromShortcut, Always };

// Each action by name: menus, button groups and the program's code refer to
// actions by these. In the order of the table below, which checks it.
enum class ActionId {
    MonitorOff,
    ScreenSaver,
    Lock,
    Sleep,
    Hibernate,
    LogOff,
    Restart,
    ShutDown,
    PowerOff,
    CapsLock,
    NumLock,
    ScrollLock,
    CtrlAltDel,
    CtrlShiftEsc,
    PrintScreen,
    ControlPanel,
    MonitorOn,
    KeepAwake,
    LockMonitorOff,
};

// Whether the command line runs the action ("/do:" and its name in lower
// case).
enum class CommandLineName { Offered, Withheld };

struct ActionEntry {
    ActionId Id;
    // Known by this name where the program names actions (registry values,
    // the menu entries' and actions' own names, and in lower case the
    // command line's).
    const wchar_t* Name;
    const wchar_t* Category;
    const wchar_t* Caption;
    const wchar_t* Hint;
    ActionOperation Operation;
    LockKey Lock;
    // Asks before it runs while the confirmations box is checked.
    bool Confirmed;
    QuietInput Quiet = QuietInput::Never;
    CommandLineName CommandLine = CommandLineName::Offered;
};

// A button's place in its group: column and row from 1, the action it runs,
// and the tag the button carries (the Sleep button carries Hibernate's 5).
struct ButtonPlace {
    ActionId Action;
    int Column;
    int Row;
    int Tag;
};

namespace catalogue {

inline constexpr const wchar_t* GeneralCategory = L"Corvello";
inline constexpr const wchar_t* LocksCategory = L"Keyboard Locks";
inline constexpr const wchar_t* ShortcutsCategory = L"Keyboard Shortcuts";

// Every action, one row each: a new action is a row here (with its name in
// ActionId) and its operation.
inline constexpr ActionEntry Table[] = {
    {ActionId::MonitorOff, L"MonitorOff", GeneralCategory, L"Monitor Off",
     L"Blanks the screen or turns the monitor off ", ActionOperation::MonitorOff, LockKey::None, false,
     QuietInput::Always},
    {ActionId::ScreenSaver, L"ScreenSaver", GeneralCategory, L"Screen Saver", L"Starts default screensaver if set",
     ActionOperation::ScreenSaver, LockKey::None, false, QuietInput::FromShortcut},
    {ActionId::Lock, L"Lock", GeneralCategory, L"Lock Computer",
     L"Locks current user session and jumps to the Welcome screen", ActionOperation::LockUser, LockKey::None, false},
    {ActionId::Sleep, L"Sleep", GeneralCategory, L"Sleep", L"Brings computer to sleep or suspend mode",
     ActionOperation::Sleep, LockKey::None, false},
    {ActionId::Hibernate, L"Hibernate", GeneralCategory, L"Hibernate",
     L"Saves computer memory on disk and turns the computer off", ActionOperation::Hibernate, LockKey::None, true},
    {ActionId::LogOff, L"LogOff", GeneralCategory, L"Log Off",
     L"Closes current user session and jumps to the Welcome screen", ActionOperation::LogOff, LockKey::None, true},
    {ActionId::Restart, L"Restart", GeneralCategory, L"Restart", L"Shuts down Windows system and reboots the computer",
     ActionOperation::Reboot, LockKey::None, true},
    {ActionId::ShutDown, L"ShutDown", GeneralCategory, L"Shut Down", L"Shuts down Windows system",
     ActionOperation::ShutDown, LockKey::None, true},
    {ActionId::PowerOff, L"PowerOff", GeneralCategory, L"Power Off",
     L"Shuts down Windows system and turns the computer off", ActionOperation::PowerOff, LockKey::None, true},
    {ActionId::CapsLock, L"CapsLock", LocksCategory, L"Caps Lock", L"Switch Caps Lock",
     ActionOperation::SwitchCapsLock, LockKey::Caps, false},
    {ActionId::NumLock, L"NumLock", LocksCategory, L"Num Lock", L"Switch Num Lock", ActionOperation::SwitchNumLock,
     LockKey::Num, false},
    {ActionId::ScrollLock, L"ScrollLock", LocksCategory, L"Scroll Lock", L"Switch Scroll Lock",
     ActionOperation::SwitchScrollLock, LockKey::Scroll, false},
    {ActionId::CtrlAltDel, L"CtrlAltDel", ShortcutsCategory, L"Ctrl+Alt+Del", L"Emulate Ctrl+Alt+Del key combination",
     ActionOperation::PressCtrlAltDel, LockKey::None, false, QuietInput::Never, CommandLineName::Withheld},
    {ActionId::CtrlShiftEsc, L"CtrlShiftEsc", ShortcutsCategory, L"Ctrl+Shift+Esc",
     L"Emulate Ctrl+Shift+Esc key combination", ActionOperation::PressCtrlShiftEsc, LockKey::None, false},
    {ActionId::PrintScreen, L"PrintScreen", ShortcutsCategory, L"Print Screen", L"Emulate Print Screen key",
     ActionOperation::PressPrintScreen, LockKey::None, false},
    // Bound to no control, and runs nothing.
    {ActionId::ControlPanel, L"ControlPanel", GeneralCategory, L"Control Panel",
     L"Opens Control Panel of  Windows sytem", ActionOperation::None, LockKey::None, false, QuietInput::Never,
     CommandLineName::Withheld},
    // Bound to no control: the command line names it.
    {ActionId::MonitorOn, L"MonitorOn", GeneralCategory, L"Monitor On", L"Turns the monitor on",
     ActionOperation::MonitorOn, LockKey::None, false},
    // Bound to no control either: a shortcut, the command line and the
    // Options window reach them.
    {ActionId::KeepAwake, L"KeepAwake", GeneralCategory, L"Keep Awake",
     L"Keeps the computer from sleeping until stopped", ActionOperation::KeepAwake, LockKey::None, false},
    // Waits for quiet input itself, after the lock: the lock comes at once.
    {ActionId::LockMonitorOff, L"LockMonitorOff", GeneralCategory, L"Lock and Monitor Off",
     L"Locks current user session, then turns the monitor off", ActionOperation::LockMonitorOff, LockKey::None,
     false},
};

inline constexpr std::span<const ActionEntry> Actions{Table};

consteval bool RowsFollowActionId()
{
    for (std::size_t i = 0; i < std::size(Table); ++i)
        if (Table[i].Id != static_cast<ActionId>(i))
            return false;
    return true;
}
static_assert(RowsFollowActionId(), "a row of the table out of ActionId's order, or an ActionId without a row");

// The action of that name.
constexpr const ActionEntry& Action(ActionId id) noexcept
{
    return Table[static_cast<std::size_t>(id)];
}

// The tray menu's submenus, top to bottom; MenuLine for a separator.
inline constexpr std::optional<ActionId> MenuLine;
inline constexpr const wchar_t* SystemMenuCaption = L"System";
inline constexpr std::optional<ActionId> SystemMenu[] = {
    ActionId::MonitorOff, ActionId::ScreenSaver, ActionId::Lock,     MenuLine,           ActionId::Sleep,
    ActionId::Hibernate,  ActionId::LogOff,      MenuLine,           ActionId::Restart,  ActionId::ShutDown,
    ActionId::PowerOff,
};
inline constexpr const wchar_t* KeyboardMenuCaption = L"Keyboard";
inline constexpr std::optional<ActionId> KeyboardMenu[] = {
    ActionId::CapsLock,   ActionId::NumLock,      ActionId::ScrollLock,  MenuLine,
    ActionId::CtrlAltDel, ActionId::CtrlShiftEsc, ActionId::PrintScreen,
};

// The main window's button groups in tab order.
inline constexpr const wchar_t* HardwareGroupCaption = L"Hardware and system";
inline constexpr ButtonPlace HardwareButtons[] = {
    {ActionId::MonitorOff, 1, 1, 1}, {ActionId::ScreenSaver, 1, 2, 2}, {ActionId::Lock, 1, 3, 3},
    {ActionId::Sleep, 2, 1, 5},      {ActionId::Hibernate, 2, 2, 5},   {ActionId::LogOff, 2, 3, 6},
    {ActionId::Restart, 3, 1, 7},    {ActionId::ShutDown, 3, 2, 8},    {ActionId::PowerOff, 3, 3, 9},
};
inline constexpr const wchar_t* KeyboardGroupCaption = L"Keyboard";
inline constexpr ButtonPlace KeyboardButtons[] = {
    {ActionId::CapsLock, 1, 1, 10},   {ActionId::NumLock, 2, 1, 11},      {ActionId::ScrollLock, 3, 1, 12},
    {ActionId::CtrlAltDel, 1, 2, 13}, {ActionId::CtrlShiftEsc, 2, 2, 14}, {ActionId::PrintScreen, 3, 2, 15},
};

// The warning of Ctrl+Alt+Del where Windows keeps it to itself.
inline constexpr const wchar_t* CtrlAltDelWarning =
    L"It is not possible to emulate Ctrl+Alt+Del on this version of Windows.";
// The balloon when Lock and Monitor Off could not lock.
inline constexpr const wchar_t* LockFailedNotice = L"Could not lock the computer; the monitor stays on.";

// The catalogue's entry for a name (as the table writes it); null for one it
// does not hold.
const ActionEntry* FindActionNamed(std::wstring_view name) noexcept;

// Whether to ask first: only while the confirmations box is checked at this
// moment (the box, not the stored setting) and only for the actions that
// confirm (Hibernate to Power Off).
bool NeedsConfirmation(const ActionEntry& entry, bool confirmationsBoxChecked) noexcept;

// The caption of the action's dialog: the action's caption while the main
// window is visible; with the window hidden (the action came from the tray
// menu) the application's name, " - " and the caption.
std::wstring DialogCaption(const std::wstring& actionCaption, bool mainWindowVisible, const std::wstring& appName);
// With the main window hidden the dialog shows the application's icon;
// otherwise the icon of its type.
bool UsesApplicationIcon(bool mainWindowVisible) noexcept;

}  // namespace catalogue
}  // namespace corvello
