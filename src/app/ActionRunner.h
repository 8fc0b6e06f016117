// The one place an action of the catalogue runs from, whatever asked for it:
// a button or a tray entry, a starting copy's action word, a shortcut, a
// timer. It applies the confirmation rule, asks the question, carries out
// the operation and brings the lock LEDs up to date.
#pragma once

#include <cstdint>

#include "actions/ActionCatalogue.h"

namespace corvello {

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
    ActionOutcome Run(const ActionEntry& entry, ActionTrigger trigger);
    // An action's question is open.
    bool Asking() const noexcept { return asking_; }

private:
    bool asking_ = false;
};

}  // namespace corvello
