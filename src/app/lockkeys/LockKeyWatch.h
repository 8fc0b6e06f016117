// The lock keys watched: their states read the moment one is let go in any
// program (raw keyboard input, nothing else of what is typed is looked at),
// after the start, an unlock and a resume, and on the main window's guard
// timer. Every change shows as the settings ask (the notice, the tray icons,
// a sound) and on the main window's LEDs and the tray menu's check marks;
// the policy of a key is kept with the program's own keyboard operation,
// giving way to another program that keeps switching the key back.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "actions/LockKeySettings.h"
#include "actions/SystemActions.h"
#include "app/running/ActionRunner.h"
#include "app/lockkeys/LockTrayIcons.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"
#include "ui/ScreenNotice.h"

namespace corvello {

class LockKeyWatch {
public:
    // The tray icons' clicks run through the runner; its owner's tray menu
    // is theirs, and its tray icon shows the balloon of a key given way.
    LockKeyWatch(SystemActions& system, ActionRunner& runner);

    // Takes the stored settings, reads the states and applies the policies.
    void Start(const tk::RegKey& key);
    // A lock key was let go: its new state is read now and, where this
    // thread's key state lags behind the keyboard (another program's
    // keyboard hook holds it up), looked for again for a moment. The user's
    // own press is switched back as the policy says, but is no fight.
    void KeyLetGo(LockKey key, SwitchedBy by);
    // Reads the states: shows what changed and applies the policies.
    void Check();
    // The policies apply again, given-up keys included.
    void SessionUnlocked();
    void Resumed();

    const LockKeySettings& Settings() const noexcept { return settings_; }
    // Saves new settings below the key and shows and applies them at once.
    void SetSettings(const LockKeySettings& settings, const tk::RegKey& key);
    // The notice as a change of this key would show it now.
    void ShowSample(LockKey key);
    bool IsOn(LockKey key) const noexcept { return on_[LockIndex(key)]; }

    // Runs when a key's state changed (the main window's LEDs follow).
    std::function<void()> OnChanged;

private:
    void Announce(LockKey key, bool on, bool kept);
    void GiveWay(LockKey key);
    void ShowTrayIcons();

    SystemActions& system_;
    ActionRunner& runner_;
    LockKeySettings settings_;
    std::array<bool, 3> on_{};
    std::array<CorrectionLimit, 3> limits_;
    // What a key's state is awaited to show: a correction sent (until it
    // shows, the old state is not fought again), or the change of a key let
    // go. Each for a short while at most.
    struct Awaited {
        bool Correction = false;
        bool CorrectedOn = false;
        bool Change = false;
        std::uint32_t Since = 0;
        SwitchedBy ChangedBy = SwitchedBy::Program;
    };
    std::array<Awaited, 3> awaited_;
    bool checking_ = false;
    bool checkAgain_ = false;
    // Runs only while a state is awaited.
    tk::Timer recheck_{50, false};
    ScreenNotice notice_;
    LockTrayIcons trayIcons_;
    std::wstring soundFailed_;
};

}  // namespace corvello
