// What the program's actions do to Windows, by operation: one switch from an
// operation to its power, session, display or keyboard request, and the
// lock keys' states. The requests go to Windows unless a test puts a
// recorder in their place.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "actions/ActionCatalogue.h"
#include "actions/KeyboardActions.h"
#include "actions/PowerActions.h"
#include "actions/StayAwake.h"

namespace corvello {

class SystemActions {
public:
    SystemActions();
    ~SystemActions();
    SystemActions(const SystemActions&) = delete;
    SystemActions& operator=(const SystemActions&) = delete;

    // Carries out the operation. The answer says whether Windows took the
    // request (false after a fallback tool, or for None); nothing is shown
    // but the Ctrl+Alt+Del warning.
    bool Run(ActionOperation operation);
    // Whether the lock is on, as this thread's key state says.
    bool IsLockOn(LockKey key);

    // Tells the user that Windows keeps Ctrl+Alt+Del to itself (Vista and
    // later); shown by the program's own dialog.
    std::function<void()> ShowCtrlAltDelWarning;
    // Keep Awake: starts keeping the computer awake until stopped, or stops.
    std::function<void()> ToggleKeepAwake;
    // Waits until no key is down and no input has come for a moment.
    std::function<void()> WaitForQuietInput;

    // What keeps the computer awake: a waiting action, Keep Awake.
    StayAwake& Awake() noexcept { return awake_; }
    // Modern Standby without S1 to S3: Sleep turns the display off instead.
    // Asked of Windows once.
    bool SleepTurnsDisplayOff();

    // Where the requests go: Windows for null; the caller keeps a recorder
    // alive while it is in place.
    void SetPowerRequests(PowerRequests* requests) noexcept;
    void SetKeyboardRequests(KeyboardRequests* requests) noexcept;
    void SetAwakeRequests(AwakeRequests* requests) noexcept;

private:
    // Extra flags for every ExitWindowsEx request: none.
    static constexpr unsigned ExitFlags = 0;

    std::unique_ptr<PowerRequests> windowsPower_;
    std::unique_ptr<KeyboardRequests> windowsKeyboard_;
    std::unique_ptr<AwakeRequests> windowsAwake_;
    PowerRequests* power_;
    KeyboardRequests* keyboard_;
    StayAwake awake_;
    std::optional<bool> sleepTurnsDisplayOff_;
};

}  // namespace corvello
