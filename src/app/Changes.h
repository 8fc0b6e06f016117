// How the program's parts hear of each other without knowing each other: one
// list of listeners, each told of every change in the order they came, each
// picking out the ones it follows.
#pragma once

#include <functional>
#include <utility>
#include <vector>

namespace corvello {

template <typename... Args>
class Listeners {
public:
    using Listener = std::function<void(Args...)>;

    void Add(Listener listener) { listeners_.push_back(std::move(listener)); }
    void Tell(Args... args) const
    {
        for (const Listener& listener : listeners_)
            listener(args...);
    }

private:
    std::vector<Listener> listeners_;
};

enum class Change {
    // What the services changed, which the windows show.
    Timers,      // the action set for later, or Keep Awake: set, called off, moved on
    Shortcuts,   // a shortcut set, cleared, or taken by another program
    LockStates,  // a lock key switched
    // What Windows told.
    Resumed,          // the computer resumed from sleep
    SessionUnlocked,  // the session was unlocked
    TaskbarCreated,   // the task bar came (back)
    ClockChanged,     // the clock or the time zone changed
};

}  // namespace corvello
