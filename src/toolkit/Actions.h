// Actions: one command with its caption, hint, tag and handler, shared by the
// buttons and menu entries bound to it. A change of an action shows in every
// control bound to it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class Action {
public:
    using Handler = std::function<void(Action& sender)>;

    Action(std::wstring name, std::wstring caption, std::wstring hint = L"", int tag = 0, std::wstring category = L"")
        : FName(std::move(name)), FCaption(std::move(caption)), FHint(std::move(hint)), FTag(tag),
          FCategory(std::move(category))
    {
    }

    const std::wstring& Name() const noexcept { return FName; }
    const std::wstring& Caption() const noexcept { return FCaption; }
    const std::wstring& Hint() const noexcept { return FHint; }
    const std::wstring& Category() const noexcept { return FCategory; }
    int Tag() const noexcept { return FTag; }
    bool Enabled() const noexcept { return FEnabled; }
    bool Checked() const noexcept { return FChecked; }

    void SetCaption(std::wstring caption);
    void SetHint(std::wstring hint);
    void SetEnabled(bool enabled);
    void SetChecked(bool checked);

    Handler OnExecute;
    // Runs the handler; false when the action is disabled or has none.
    bool Execute();

    // Controls follow the action through these; the returned token removes
    // the subscription again.
    int Subscribe(std::function<void()> changed);
    void Unsubscribe(int token) noexcept;

private:
    void Changed();

    std::wstring FName;
    std::wstring FCaption;
    std::wstring FHint;
    int FTag;
    std::wstring FCategory;
    bool FEnabled = true;
    bool FChecked = false;
    struct Subscriber {
        int Token;
        std::function<void()> Fn;
    };
    std::vector<Subscriber> FSubscribers;
    int FNextToken = 1;
};

class ActionList {
public:
    Action& Add(std::unique_ptr<Action> action);
    Action* Find(const std::wstring& name) const noexcept;
    const std::vector<std::unique_ptr<Action>>& Actions() const noexcept { return FActions; }

private:
    std::vector<std::unique_ptr<Action>> FActions;
};

}  // namespace tk
