// The one action set to run later, "in" a duration or "at" a clock time:
// when it is due across clock changes and sleep, what the user is told
// while it waits, the warnings before an irreversible one (a balloon, then
// the countdown window), the power request that keeps the computer awake
// meanwhile, and the run itself, through the action runner without a
// question: setting it was the confirmation. Nothing of it is stored.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "actions/ActionCatalogue.h"
#include "actions/StayAwake.h"
#include "app/running/ActionRunner.h"
#include "app/timer/CountdownWindow.h"
#include "core/DueTime.h"
#include "toolkit/Timer.h"

namespace corvello {

class ActionTimer {
public:
    // What waits keeps the computer awake through this, and runs through
    // the runner, whose owner also owns the question before a replacement.
    ActionTimer(StayAwake& awake, ActionRunner& runner);
    ~ActionTimer();
    ActionTimer(const ActionTimer&) = delete;
    ActionTimer& operator=(const ActionTimer&) = delete;

    // Sets the action to run then. Another one waiting is replaced only
    // after the user agrees; false when they did not (or a question of this
    // kind is open already), and the other waits on.
    bool Set(const ActionEntry& entry, const LaterTime& when);
    // Calls off what waits; nothing when nothing does.
    void Cancel();
    bool Waiting() const noexcept { return entry_ != nullptr; }
    const ActionEntry* Action() const noexcept { return entry_; }
    // "Shut Down at 23:30", "Shut Down at 08:02 tomorrow"; empty while
    // nothing waits.
    std::wstring What() const;
    // "Shut Down at 23:30 (in 25 min)", "... (in 40 s)"; empty while
    // nothing waits.
    std::wstring Status() const;
    // The clock or the time zone changed, or the computer resumed: the time
    // left is worked out anew.
    void FollowClock();

    // Runs when what the user is shown changes: set, called off, run, the
    // minute left.
    std::function<void()> OnChanged;
    // Tells the user something in a balloon at the tray icon.
    std::function<void(const std::wstring& text)> OnBalloon;

    // How long before an irreversible action the balloon comes and the
    // countdown window opens.
    std::uint32_t WarningLeadMs;
    std::uint32_t CountdownLeadMs;
    // The countdown window, while the last seconds are counted; else null.
    const CountdownWindow* Countdown() const noexcept { return countdown_.get(); }

private:
    // Irreversible: it warns first.
    bool Warns() const noexcept;
    void Wake();
    void RunNow();
    void Clear();
    void HoldAwake();
    void Changed();

    StayAwake& awake_;
    ActionRunner& runner_;
    const ActionEntry* entry_ = nullptr;
    DueTime due_;
    // The balloon has come, or is not to come (the wait was shorter).
    bool warned_ = false;
    // The status last shown, so the tip changes only when it does.
    std::wstring shown_;
    bool asking_ = false;
    std::wstring awakeReason_;
    tk::Timer wake_{1000, false};
    std::unique_ptr<CountdownWindow> countdown_;
};

}  // namespace corvello
