#include "toolkit/Actions.h"

#include <algorithm>

namespace tk {

void Action::SetCaption(std::wstring caption)
{
    caption_ = std::move(caption);
    Changed();
}

void Action::SetHint(std::wstring hint)
{
    hint_ = std::move(hint);
    Changed();
}

void Action::SetEnabled(bool enabled)
{
    if (enabled_ != enabled) {
        enabled_ = enabled;
        Changed();
    }
}

void Action::SetChecked(bool checked)
{
    if (checked_ != checked) {
        checked_ = checked;
        Changed();
    }
}

bool Action::Execute()
{
    if (!enabled_ || !OnExecute)
        return false;
    OnExecute(*this);
    return true;
}

int Action::Subscribe(std::function<void()> changed)
{
    const int token = nextToken_++;
    subscribers_.push_back({token, std::move(changed)});
    return token;
}

void Action::Unsubscribe(int token) noexcept
{
    std::erase_if(subscribers_, [token](const Subscriber& s) { return s.Token == token; });
}

void Action::Changed()
{
    const auto subscribers = subscribers_;  // a subscriber may unsubscribe
    for (const auto& s : subscribers)
        s.Fn();
}

Action& ActionList::Add(std::unique_ptr<Action> action)
{
    actions_.push_back(std::move(action));
    return *actions_.back();
}

Action* ActionList::Find(const std::wstring& name) const noexcept
{
    const auto it = std::find_if(actions_.begin(), actions_.end(), [&](const auto& a) { return a->Name() == name; });
    return it == actions_.end() ? nullptr : it->get();
}

}  // namespace tk
