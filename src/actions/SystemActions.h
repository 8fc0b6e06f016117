// What the program's actions do to Windows, by operation: one switch from an
// operation to its power, session, display or keyboard request, and the
// lock keys' states. The requests go to Windows unless a test puts a
// recorder in their place.
#pragma once

#include <functional>
#include <memory>

#include "actions/ActionCatalogue.h"
#include "actions/KeyboardActions.h"
#include "actions/PowerActions.h"

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

    // Where the requests go: Windows for null; the caller keeps a recorder
    // alive while it is in place.
    void SetPowerRequests(PowerRequests* requests) noexcept;
    void SetKeyboardRequests(KeyboardRequests* requests) noexcept;

private:
    // Extra flags for every ExitWindowsEx request: none.
    static constexpr unsigned ExitFlags = 0;

    std::unique_ptr<PowerRequests> windowsPower_;
    std::unique_ptr<KeyboardRequests> windowsKeyboard_;
    PowerRequests* power_;
    KeyboardRequests* keyboard_;
};

}  // namespace corvello
