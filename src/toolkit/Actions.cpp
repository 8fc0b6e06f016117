#include "toolkit/Actions.h"

#include <algorithm>

namespace tk {

void Action::SetCaption(std::wstring caption)
{
    FCaption = std::move(caption);
    Changed();
}

void Action::SetHint(std::wstring hint)
{
    FHint = std::move(hint);
    Changed();
}

void Action::SetEnabled(bool enabled)
{
    if (FEnabled != enabled) {
        FEnabled = enabled;
        Changed();
    }
}

void Action::SetChecked(bool checked)
{
    if (FChecked != checked) {
        FChecked = checked;
        Changed();
    }
}

bool Action::Execute()
{
    if (!FEnabled || !OnExecute)
        return false;
    OnExecute(*this);
    return true;
}

int Action::Subscribe(std::function<void()> changed)
{
    const int token = FNextToken++;
    FSubscribers.push_back({token, std::move(changed)});
    return token;
}

void Action::Unsubscribe(int token) noexcept
{
    std::erase_if(FSubscribers, [token](const Subscriber& s) { return s.Token == token; });
}

void Action::Changed()
{
    const auto subscribers = FSubscribers;  // a subscriber may unsubscribe
    for (const auto& s : subscribers)
        s.Fn();
}

Action& ActionList::Add(std::unique_ptr<Action> action)
{
    FActions.push_back(std::move(action));
    return *FActions.back();
}

Action* ActionList::Find(const std::wstring& name) const noexcept
{
    const auto it = std::find_if(FActions.begin(), FActions.end(), [&](const auto& a) { return a->Name() == name; });
    return it == FActions.end() ? nullptr : it->get();
}

}  // namespace tk
