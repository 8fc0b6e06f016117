// Keep Awake: the computer kept from sleeping, until stopped or for a
// while ("in" a duration, or until a clock time), with the screen let go
// dark or kept on. Held through a power request whose reason says until
// when; nothing of it is stored.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "actions/StayAwake.h"
#include "core/DueTime.h"
#include "toolkit/Timer.h"

namespace corvello {

class KeepAwake {
public:
    explicit KeepAwake(StayAwake& awake);
    ~KeepAwake();
    KeepAwake(const KeepAwake&) = delete;
    KeepAwake& operator=(const KeepAwake&) = delete;

    // Keeps the computer awake until stopped (no time) or until the time
    // comes; replaces how it held before.
    void Start(const std::optional<LaterTime>& until, bool screenOn);
    void Stop();
    // The shortcut: until stopped with the screen let go dark, or stops.
    void Toggle();
    bool Active() const noexcept { return active_; }
    bool ScreenOn() const noexcept { return screenOn_; }
    // "Keeping awake until 18:30", "Keeping awake (screen on)"; empty while
    // it does not.
    std::wstring Status() const;
    // The clock or the time zone changed, or the computer resumed.
    void FollowClock();

    // Runs when it starts, stops or its end moves.
    std::function<void()> OnChanged;

private:
    void Schedule();
    void Hold();

    StayAwake& awake_;
    bool active_ = false;
    bool screenOn_ = false;
    std::optional<DueTime> until_;
    std::wstring reason_;
    tk::Timer end_{1000, false};
};

}  // namespace corvello
