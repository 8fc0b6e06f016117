// The one place an action of the catalogue runs from, whatever asked for it:
// a button or a tray entry, a starting copy's action word, a shortcut, a
// timer. It applies the confirmation rule, asks the question, carries out
// the operation and brings the lock LEDs up to date.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "actions/ActionCatalogue.h"
#include "actions/SystemActions.h"
#include "ui/TrayForm.h"

namespace corvello {

// The window that owns what an action shows: the program's main window,
// once made. Its questions are owned by it, its confirmations box (as it
// shows) decides them, the warnings show at its tray icon and its LEDs
// follow the lock keys' actions.
class RunnerOwner : public TrayForm {
public:
    using TrayForm::TrayForm;
    virtual bool ConfirmationsChecked() const noexcept = 0;
    virtual void LocksUpdate() = 0;
};

// What asked for the action, which decides the question.
enum class ActionTrigger {
    // A button or an entry of the tray menu: the confirmations box decides,
    // and the question looks as the main window shows (named after the
    // program while the window is hidden).
    Control,
    // Another copy's action word, or a shortcut: as the tray menu with the
    // window hidden.
    HandedOver,
    Shortcut,
    // The action word with no copy running: the stored setting decides,
    // and no window of the program owns the question.
    CommandLine,
    // A timer the user set: setting it was the confirmation.
    Timer,
};

enum class ActionOutcome {
    Ran,
    Declined,  // the question was answered No
    Busy,      // a question is open already: it was brought forward instead
    Failed,    // Lock and Monitor Off could not lock (the user is told)
};

// Until every key is up and no input has come for half a second, three
// seconds at most; messages keep flowing meanwhile.
void WaitForQuietInput();
// Until the keys of the modifiers (modifier:: bits) are up, a second at
// most, likewise.
void WaitForModifiersUp(std::uint8_t modifiers);

class ActionRunner {
public:
    // storedConfirmations reads the confirmations setting as stored: it
    // decides where no main window shows its box.
    ActionRunner(SystemActions& system, std::wstring programName, std::function<bool()> storedConfirmations);
    ActionRunner(const ActionRunner&) = delete;
    ActionRunner& operator=(const ActionRunner&) = delete;

    // heldModifiers: for a shortcut, its modifiers (modifier:: bits), which
    // an action that presses keys waits to be let go.
    ActionOutcome Run(const ActionEntry& entry, ActionTrigger trigger, std::uint8_t heldModifiers = 0);
    // An action's question is open.
    bool Asking() const noexcept { return asking_; }

    void SetOwner(RunnerOwner* owner) noexcept { owner_ = owner; }
    TrayForm* Owner() const noexcept;
    const std::wstring& ProgramName() const noexcept { return programName_; }
    // A warning balloon at the owner's tray icon, under the program's name.
    void Warn(const std::wstring& text) const;

private:
    bool ConfirmationsOn(ActionTrigger trigger) const;

    SystemActions& system_;
    std::wstring programName_;
    std::function<bool()> storedConfirmations_;
    RunnerOwner* owner_ = nullptr;
    bool asking_ = false;
};

}  // namespace corvello
