// The program's actions as one table: the tag that selects each one's
// operation, its caption and hint, which handler runs it and whether it asks
// first; the order of the tray's submenus and the places of the buttons; the
// rules that decide, from a tag, what a click does; and the texts of the
// questions and warnings the actions show.
#pragma once

#include <string>

namespace corvello {

// What the application object does for an action.
enum class ActionOperation {
    None,
    MonitorOff,
    MonitorOn,  // no entry of its own: the command line alone names it
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
};

// General: confirm where the rule asks, then run the operation.
// KeyboardLocks: the same, then a 50 ms wait and a refresh of the lock LEDs
// and check marks.
enum class ActionHandler { General, KeyboardLocks };

struct ActionEntry {
    const wchar_t* Name;
    int Tag;
    const wchar_t* Category;
    const wchar_t* Caption;
    const wchar_t* Hint;
    ActionHandler Handler;
    ActionOperation Operation;
    // Asks before it runs while the confirmations box is checked.
    bool Confirmed;
};

// A button's place in its group: column and row from 1, the tag of the
// action it is bound to.
struct ButtonPlace {
    int Tag;
    int Column;
    int Row;
};

namespace catalogue {

inline constexpr const wchar_t* GeneralCategory = L"Corvello";
inline constexpr const wchar_t* LocksCategory = L"Keyboard Locks";
inline constexpr const wchar_t* ShortcutsCategory = L"Keyboard Shortcuts";

inline constexpr int ControlPanelTag = 11111;

inline constexpr ActionEntry Actions[] = {
    {L"MonitorOff", 1, GeneralCategory, L"Monitor Off", L"Blanks the screen or turns the monitor off ",
     ActionHandler::General, ActionOperation::MonitorOff, false},
    {L"ScreenSaver", 2, GeneralCategory, L"Screen Saver", L"Starts default screensaver if set", ActionHandler::General,
     ActionOperation::ScreenSaver, false},
    {L"Lock", 3, GeneralCategory, L"Lock Computer", L"Locks current user session and jumps to the Welcome screen",
     ActionHandler::General, ActionOperation::LockUser, false},
    {L"Sleep", 4, GeneralCategory, L"Sleep", L"Brings computer to sleep or suspend mode", ActionHandler::General,
     ActionOperation::Sleep, false},
    {L"Hibernate", 5, GeneralCategory, L"Hibernate", L"Saves computer memory on disk and turns the computer off",
     ActionHandler::General, ActionOperation::Hibernate, true},
    {L"LogOff", 6, GeneralCategory, L"Log Off", L"Closes current user session and jumps to the Welcome screen",
     ActionHandler::General, ActionOperation::LogOff, true},
    {L"Restart", 7, GeneralCategory, L"Restart", L"Shuts down Windows system and reboots the computer",
     ActionHandler::General, ActionOperation::Reboot, true},
    {L"ShutDown", 8, GeneralCategory, L"Shut Down", L"Shuts down Windows system", ActionHandler::General,
     ActionOperation::ShutDown, true},
    {L"PowerOff", 9, GeneralCategory, L"Power Off", L"Shuts down Windows system and turns the computer off",
     ActionHandler::General, ActionOperation::PowerOff, true},
    {L"CapsLock", 10, LocksCategory, L"Caps Lock", L"Switch Caps Lock", ActionHandler::KeyboardLocks,
     ActionOperation::SwitchCapsLock, false},
    {L"NumLock", 11, LocksCategory, L"Num Lock", L"Switch Num Lock", ActionHandler::KeyboardLocks,
     ActionOperation::SwitchNumLock, false},
    {L"ScrollLock", 12, LocksCategory, L"Scroll Lock", L"Switch Scroll Lock", ActionHandler::KeyboardLocks,
     ActionOperation::SwitchScrollLock, false},
    {L"CtrlAltDel", 13, ShortcutsCategory, L"Ctrl+Alt+Del", L"Emulate Ctrl+Alt+Del key combination",
     ActionHandler::General, ActionOperation::PressCtrlAltDel, false},
    {L"CtrlShiftEsc", 14, ShortcutsCategory, L"Ctrl+Shift+Esc", L"Emulate Ctrl+Shift+Esc key combination",
     ActionHandler::General, ActionOperation::PressCtrlShiftEsc, false},
    {L"PrintScreen", 15, ShortcutsCategory, L"Print Screen", L"Emulate Print Screen key", ActionHandler::General,
     ActionOperation::PressPrintScreen, false},
    // Bound to no control, and its tag selects nothing.
    {L"ControlPanel", ControlPanelTag, GeneralCategory, L"Control Panel", L"Opens Control Panel of  Windows sytem",
     ActionHandler::General, ActionOperation::None, false},
};

// The tray menu's submenus, top to bottom: action tags, 0 for a separator.
inline constexpr const wchar_t* SystemMenuCaption = L"System";
inline constexpr int SystemMenu[] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9};
inline constexpr const wchar_t* KeyboardMenuCaption = L"Keyboard";
inline constexpr int KeyboardMenu[] = {10, 11, 12, 0, 13, 14, 15};

// The main window's button groups in tab order. A button runs the action
// of the tag given here; a button's own tag (the Sleep button carries 5)
// takes no part.
inline constexpr const wchar_t* HardwareGroupCaption = L"Hardware and system";
inline constexpr ButtonPlace HardwareButtons[] = {
    {1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 1}, {5, 2, 2}, {6, 2, 3}, {7, 3, 1}, {8, 3, 2}, {9, 3, 3},
};
inline constexpr const wchar_t* KeyboardGroupCaption = L"Keyboard";
inline constexpr ButtonPlace KeyboardButtons[] = {
    {10, 1, 1}, {11, 2, 1}, {12, 3, 1}, {13, 1, 2}, {14, 2, 2}, {15, 3, 2},
};

// The warning of Ctrl+Alt+Del where Windows keeps it to itself.
inline constexpr const wchar_t* CtrlAltDelWarning =
    L"It is not possible to emulate Ctrl+Alt+Del on this version of Windows.";

// The catalogue's entry for a tag; null for a tag it does not hold.
constexpr const ActionEntry* FindAction(int tag) noexcept
{
    for (const ActionEntry& entry : Actions)
        if (entry.Tag == tag)
            return &entry;
    return nullptr;
}

// What a tag runs: None for a tag outside the catalogue and for the
// Control Panel action.
constexpr ActionOperation OperationFor(int tag) noexcept
{
    for (const ActionEntry& entry : Actions)
        if (entry.Tag == tag)
            return entry.Operation;
    return ActionOperation::None;
}

// Whether to ask first: only while the confirmations box is checked at this
// moment (the box, not the stored setting) and only for the actions that
// confirm (tags 5 to 9).
bool NeedsConfirmation(int tag, bool confirmationsBoxChecked) noexcept;

// The question: the hint, then on a second line Perform "<caption>" action?
// The texts are taken as they are, with nothing in them read as a format.
std::wstring ConfirmationText(const std::wstring& hint, const std::wstring& caption);

// The caption of the action's dialog: the action's caption while the main
// window is visible; with the window hidden (the action came from the tray
// menu) the application's name, " - " and the caption.
std::wstring DialogCaption(const std::wstring& actionCaption, bool mainWindowVisible, const std::wstring& appName);
// With the main window hidden the dialog shows the application's icon;
// otherwise the icon of its type.
bool UsesApplicationIcon(bool mainWindowVisible) noexcept;

}  // namespace catalogue
}  // namespace corvello
