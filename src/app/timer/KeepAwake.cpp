#include "app/timer/KeepAwake.h"

#include <algorithm>

#include "core/Clock.h"
#include "core/Product.h"

namespace corvello {

KeepAwake::KeepAwake(StayAwake& awake) : awake_(awake)
{
    end_.OnTimer = [this](tk::Timer&) { Schedule(); };
}

KeepAwake::~KeepAwake()
{
    end_.SetEnabled(false);
    awake_.Release(AwakeHolder::KeepAwake);
}

void KeepAwake::Start(const std::optional<LaterTime>& until, bool screenOn)
{
    const ClockReading now = ClocksNow();
    active_ = true;
    screenOn_ = screenOn;
    until_.reset();
    if (until)
        until_ = DueFor(*until, now);
    // Held anew: the screen may be asked for otherwise.
    reason_.clear();
    Hold();
    Schedule();
    if (OnChanged)
        OnChanged();
}

void KeepAwake::Stop()
{
    end_.SetEnabled(false);
    if (!active_)
        return;
    active_ = false;
    until_.reset();
    reason_.clear();
    awake_.Release(AwakeHolder::KeepAwake);
    if (OnChanged)
        OnChanged();
}

void KeepAwake::Toggle()
{
    if (active_)
        Stop();
    else
        Start(std::nullopt, false);
}

std::wstring KeepAwake::Status() const
{
    if (!active_)
        return {};
    std::wstring status = L"Keeping awake";
    if (until_) {
        status += L" until ";
        status += ClockTimeText(MinuteOfDay(until_->LocalDueMs));
    }
    if (screenOn_)
        status += L" (screen on)";
    return status;
}

void KeepAwake::FollowClock()
{
    if (!active_ || !until_)
        return;
    corvello::FollowClock(*until_, ClocksNow());
    Hold();
    Schedule();
    if (OnChanged)
        OnChanged();
}

void KeepAwake::Schedule()
{
    end_.SetEnabled(false);
    if (!active_ || !until_)
        return;
    // One wake-up, at the end; a clock change or a resume sets it anew.
    const std::int64_t remaining = RemainingMs(*until_, ClocksNow());
    if (remaining <= 0) {
        Stop();
        return;
    }
    end_.SetInterval(static_cast<UINT>(std::min<std::int64_t>(remaining, 0x7FFFFFFF)));
    end_.SetEnabled(true);
}

void KeepAwake::Hold()
{
    std::wstring reason = CORVELLO_WIDEN(CORVELLO_NAME) L": keep awake";
    if (until_) {
        reason += L" until ";
        reason += ClockTimeText(MinuteOfDay(until_->LocalDueMs));
    }
    if (reason == reason_ && awake_.Holding(AwakeHolder::KeepAwake))
        return;
    reason_ = reason;
    awake_.Hold(AwakeHolder::KeepAwake, reason, screenOn_);
}

}  // namespace corvello
