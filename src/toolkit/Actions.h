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
        : name_(std::move(name)), caption_(std::move(caption)), hint_(std::move(hint)), tag_(tag),
          category_(std::move(category))
    {
    }

    const std::wstring& Name() const noexcept { return name_; }
    const std::wstring& Caption() const noexcept { return caption_; }
    const std::wstring& Hint() const noexcept { return hint_; }
    const std::wstring& Category() const noexcept { return category_; }
    int Tag() const noexcept { return tag_; }
    bool Enabled() const noexcept { return enabled_; }
    bool Checked() const noexcept { return checked_; }

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

    std::wstring name_;
    std::wstring caption_;
    std::wstring hint_;
    int tag_;
    std::wstring category_;
    bool enabled_ = true;
    bool checked_ = false;
    struct Subscriber {
        int Token;
        std::function<void()> Fn;
    };
    std::vector<Subscriber> subscribers_;
    int nextToken_ = 1;
};

class ActionList {
public:
    Action& Add(std::unique_ptr<Action> action);
    Action* Find(const std::wstring& name) const noexcept;
    const std::vector<std::unique_ptr<Action>>& Actions() const noexcept { return actions_; }

private:
    std::vector<std::unique_ptr<Action>> actions_;
};

}  // namespace tk
