// The program's actions as one table: the name and tag by which each one is
// known, its operation, caption and hint, the lock key it switches and
// whether it asks first; the order of the tray's submenus and the places of
// the buttons; the rules that decide, from a tag, what a click does; and the
// texts of the dialogs the actions show.
#pragma once

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

struct ActionEntry {
    // Known by this name where the program names actions (registry values,
    // the menu entries' and actions' own names).
    const wchar_t* Name;
    int Tag;
    const wchar_t* Category;
    const wchar_t* Caption;
    const wchar_t* Hint;
    ActionOperation Operation;
    LockKey Lock;
    // Asks before it runs while the confirmations box is checked.
    bool Confirmed;
    QuietInput Quiet = QuietInput::Never;
};

// A button's place in its group: column and row from 1, the tag of the
// action it is bound to, and the button's own tag where it carries another
// (0: the action's).
struct ButtonPlace {
    int Tag;
    int Column;
    int Row;
    int OwnTag = 0;
};

namespace catalogue {

inline constexpr const wchar_t* GeneralCategory = L"Corvello";
inline constexpr const wchar_t* LocksCategory = L"Keyboard Locks";
inline constexpr const wchar_t* ShortcutsCategory = L"Keyboard Shortcuts";

inline constexpr int ControlPanelTag = 11111;

// Every action. The table itself is in ActionCatalogue.cpp, so that the
// program holds one copy of it and of its texts: new entries go there.
extern const std::span<const ActionEntry> Actions;

inline constexpr int KeepAwakeTag = 17;

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
    {1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 2, 1, 5}, {5, 2, 2}, {6, 2, 3}, {7, 3, 1}, {8, 3, 2}, {9, 3, 3},
};
inline constexpr const wchar_t* KeyboardGroupCaption = L"Keyboard";
inline constexpr ButtonPlace KeyboardButtons[] = {
    {10, 1, 1}, {11, 2, 1}, {12, 3, 1}, {13, 1, 2}, {14, 2, 2}, {15, 3, 2},
};

// The warning of Ctrl+Alt+Del where Windows keeps it to itself.
inline constexpr const wchar_t* CtrlAltDelWarning =
    L"It is not possible to emulate Ctrl+Alt+Del on this version of Windows.";
// The balloon when Lock and Monitor Off could not lock.
inline constexpr const wchar_t* LockFailedNotice = L"Could not lock the computer; the monitor stays on.";

// The catalogue's entry for a name (as the table writes it) or a tag; null
// for one it does not hold.
const ActionEntry* FindActionNamed(std::wstring_view name) noexcept;
const ActionEntry* FindAction(int tag) noexcept;

// What a tag runs: None for a tag outside the catalogue and for the
// Control Panel action.
ActionOperation OperationFor(int tag) noexcept;

// Whether to ask first: only while the confirmations box is checked at this
// moment (the box, not the stored setting) and only for the actions that
// confirm (tags 5 to 9).
bool NeedsConfirmation(int tag, bool confirmationsBoxChecked) noexcept;

// The caption of the action's dialog: the action's caption while the main
// window is visible; with the window hidden (the action came from the tray
// menu) the application's name, " - " and the caption.
std::wstring DialogCaption(const std::wstring& actionCaption, bool mainWindowVisible, const std::wstring& appName);
// With the main window hidden the dialog shows the application's icon;
// otherwise the icon of its type.
bool UsesApplicationIcon(bool mainWindowVisible) noexcept;

}  // namespace catalogue
}  // namespace corvello
