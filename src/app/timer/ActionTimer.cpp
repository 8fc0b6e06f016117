#include "app/timer/ActionTimer.h"

#include "core/Clock.h"
#include "core/Product.h"
#include "core/Timings.h"
#include "toolkit/MessageDialog.h"
#include "ui/ShowMessageDialog.h"
#include "ui/TrayForm.h"

namespace corvello {
namespace {

// "Shut Down at 23:30", "Shut Down at 08:02 tomorrow".
std::wstring WhatAt(const ActionEntry& entry, const DueTime& due, const ClockReading& now)
{
    std::wstring text = entry.Caption;
    text += L" at ";
    text += MomentText(due.LocalDueMs, now.LocalMs);
    return text;
}

// Rounded up: the countdown shows 1 for its last second.
std::int64_t SecondsLeft(std::int64_t remainingMs) noexcept
{
    return (remainingMs + 999) / 1000;
}

}  // namespace

ActionTimer::ActionTimer(StayAwake& awake, ActionRunner& runner)
    : WarningLeadMs(TimingMs(Timing::TimerWarning)),
      CountdownLeadMs(TimingMs(Timing::TimerCountdown)),
      awake_(awake),
      runner_(runner)
{
    wake_.OnTimer = [this](tk::Timer&) { Wake(); };
}

ActionTimer::~ActionTimer()
{
    Clear();
}

bool ActionTimer::Set(const ActionEntry& entry, const LaterTime& when)
{
    if (entry_) {
        const ClockReading askedAt = ClocksNow();
        const DueTime asked = DueFor(when, askedAt);
        const bool same = entry_ == &entry && when.Kind == DueKind::At && due_.Kind == DueKind::At &&
                          due_.ClockMinute == when.ClockMinute;
        if (!same) {
            // One question at a time: a second would cover the first.
            if (asking_) {
                ::MessageBeep(MB_ICONEXCLAMATION);
                return false;
            }
            asking_ = true;
            struct Done {
                bool& Flag;
                ~Done() { Flag = false; }
            } done{asking_};
            const std::wstring question = What() + L" is waiting to run.\r\nReplace it with " +
                                          WhatAt(entry, asked, askedAt) + L"?";
            const int answer = ShowMessageDialog(MessageDialogArgs(question)
                                                  .Owner(runner_.Owner())
                                                  .Caption(runner_.ProgramName())
                                                  .Icon(TrayForm::ApplicationIcon()));
            if (answer != tk::mr::Yes)
                return false;
        }
    }
    Clear();
    // From now: a wait counts from the answer, not from the question.
    const ClockReading now = ClocksNow();
    entry_ = &entry;
    due_ = DueFor(when, now);
    warned_ = !Warns() || RemainingMs(due_, now) <= WarningLeadMs;
    Wake();
    return true;
}

void ActionTimer::Cancel()
{
    if (!entry_)
        return;
    Clear();
    Changed();
}

std::wstring ActionTimer::What() const
{
    return entry_ ? WhatAt(*entry_, due_, ClocksNow()) : std::wstring();
}

std::wstring ActionTimer::Status() const
{
    if (!entry_)
        return {};
    std::wstring status = What();
    status += L" (";
    status += RemainingText(RemainingMs(due_, ClocksNow()));
    status += L')';
    return status;
}

void ActionTimer::FollowClock()
{
    if (!entry_)
        return;
    corvello::FollowClock(due_, ClocksNow());
    // The time shown may be another now.
    shown_.clear();
    Wake();
}

bool ActionTimer::Warns() const noexcept
{
    return entry_ && entry_->Confirmed;
}

void ActionTimer::Wake()
{
    wake_.SetEnabled(false);
    if (!entry_)
        return;
    const std::int64_t remaining = RemainingMs(due_, ClocksNow());
    switch (StateOf(remaining)) {
    case DueState::Missed: {
        const std::wstring what = What();
        Clear();
        Changed();
        if (OnBalloon)
            OnBalloon(what + L" was cancelled: its time passed while the computer was asleep or its clock was "
                             L"changed.");
        return;
    }
    case DueState::Due:
        RunNow();
        return;
    case DueState::Waiting:
        break;
    }
    WakePlan plan;
    if (Warns()) {
        if (!warned_ && remaining <= WarningLeadMs) {
            warned_ = true;
            if (remaining > CountdownLeadMs && OnBalloon)
                OnBalloon(Status() + L". To call it off, choose Cancel in the tray menu.");
        }
        const bool counting = remaining <= CountdownLeadMs;
        if (counting && !countdown_) {
            countdown_ = tk::CreateForm<CountdownWindow>(*entry_);
            countdown_->OnCancel = [this] { Cancel(); };
            countdown_->Present(SecondsLeft(remaining));
        } else if (!counting) {
            // The clock went back.
            countdown_.reset();
        }
        if (countdown_)
            countdown_->ShowSeconds(SecondsLeft(remaining));
        plan.WarningAtMs = warned_ ? 0 : WarningLeadMs;
        plan.CountdownAtMs = countdown_ ? 0 : CountdownLeadMs;
        plan.EverySecond = countdown_ != nullptr;
    }
    wake_.SetInterval(NextWakeMs(remaining, plan));
    wake_.SetEnabled(true);
    // The time left, or the day named, moved on: what is shown follows.
    if (std::wstring status = Status(); status != shown_) {
        shown_ = std::move(status);
        HoldAwake();
        Changed();
    }
}

void ActionTimer::RunNow()
{
    const ActionEntry* entry = entry_;
    // Before it runs: Sleep and Hibernate must not find the request holding.
    Clear();
    Changed();
    if (entry)
        runner_.Run(*entry, ActionTrigger::Timer);
}

void ActionTimer::Clear()
{
    entry_ = nullptr;
    wake_.SetEnabled(false);
    countdown_.reset();
    awake_.Release(AwakeHolder::Timer);
    awakeReason_.clear();
    warned_ = false;
    shown_.clear();
}

void ActionTimer::HoldAwake()
{
    // The reason names the action and its time, as "powercfg /requests"
    // shows it; made again only when that changed.
    const std::wstring reason = CORVELLO_WIDEN(CORVELLO_NAME) L": " + What();
    if (reason == awakeReason_)
        return;
    awakeReason_ = reason;
    awake_.Hold(AwakeHolder::Timer, reason, false);
}

void ActionTimer::Changed()
{
    if (OnChanged)
        OnChanged();
}

}  // namespace corvello
