// Menu entries as a tree of objects: captions, tags, check marks, the
// default entry, separators and submenus. Native menus are built from it when
// they are shown, so entries can move between menus freely.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tk {

class Action;

// Where a menu entry starts a new column.
enum class MenuBreak { None, Break, BarBreak };

class MenuItem {
public:
    explicit MenuItem(std::wstring name = L"", std::wstring caption = L"", int tag = 0);
    ~MenuItem();
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;

    const std::wstring& Name() const noexcept { return name_; }
    // The action's caption while one is bound.
    std::wstring Caption() const;
    void SetCaption(std::wstring caption) { caption_ = std::move(caption); }
    bool IsSeparator() const { return Caption() == L"-"; }

    int Tag = 0;
    bool Checked() const;
    void SetChecked(bool checked) { checked_ = checked; }
    bool Enabled() const;
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Visible = true;
    bool Default = false;
    bool RadioItem = false;
    MenuBreak Break = MenuBreak::None;
    std::wstring ShortCutText;

    void SetAction(Action* action) noexcept { action_ = action; }
    Action* GetAction() const noexcept { return action_; }

    std::function<void(MenuItem& sender)> OnClick;
    // What choosing the entry does; nothing while it is disabled.
    void Click();

    MenuItem* Parent() const noexcept { return parent_; }
    std::size_t Count() const noexcept { return items_.size(); }
    MenuItem& Item(std::size_t index) const { return *items_.at(index); }
    MenuItem& Add(std::unique_ptr<MenuItem> item);
    MenuItem& Insert(std::size_t index, std::unique_ptr<MenuItem> item);
    // Takes an entry out of this menu; null when it is not one of ours.
    std::unique_ptr<MenuItem> Remove(MenuItem& item);
    int IndexOf(const MenuItem& item) const noexcept;
    // This entry or one below it, by name.
    MenuItem* Find(const std::wstring& name) noexcept;

private:
    std::wstring name_;
    std::wstring caption_;
    bool checked_ = false;
    bool enabled_ = true;
    Action* action_ = nullptr;
    MenuItem* parent_ = nullptr;
    std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace tk
