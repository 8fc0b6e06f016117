#include "actions/StayAwake.h"

namespace corvello {

StayAwake::~StayAwake()
{
    for (std::size_t i = 0; i < Holders; ++i)
        Release(static_cast<AwakeHolder>(i));
}

void StayAwake::Hold(AwakeHolder holder, const std::wstring& reason, bool display)
{
    Release(holder);
    Held& held = held_[Index(holder)];
    held.Active = true;
    held.Display = display;
    held.Through = requests_;
    if (const std::uintptr_t request = requests_->CreateRequest(reason)) {
        // Half a request is none: the execution state holds instead.
        const bool set = requests_->SetRequest(request, AwakeNeed::System) &&
                         (!display || requests_->SetRequest(request, AwakeNeed::Display));
        if (set) {
            held.Request = request;
            return;
        }
        requests_->ClearRequest(request, AwakeNeed::System);
        requests_->CloseRequest(request);
    }
    ApplyExecutionState();
}

void StayAwake::Release(AwakeHolder holder)
{
    Held& held = held_[Index(holder)];
    if (!held.Active)
        return;
    const Held was = held;
    held = Held{};
    if (was.Request) {
        was.Through->ClearRequest(was.Request, AwakeNeed::System);
        if (was.Display)
            was.Through->ClearRequest(was.Request, AwakeNeed::Display);
        was.Through->CloseRequest(was.Request);
        return;
    }
    ApplyExecutionState();
}

void StayAwake::ApplyExecutionState()
{
    bool system = false;
    bool display = false;
    for (const Held& held : held_) {
        if (!held.Active || held.Request)
            continue;
        system = true;
        display = display || held.Display;
    }
    // Nothing to clear that was never set.
    if (!system && !stateSet_)
        return;
    stateSet_ = system;
    requests_->SetExecutionState(system, display);
}

}  // namespace corvello
