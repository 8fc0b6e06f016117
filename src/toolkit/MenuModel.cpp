#include "toolkit/MenuModel.h"

#include <algorithm>

#include "toolkit/Actions.h"

namespace tk {

MenuItem::MenuItem(std::wstring name, std::wstring caption, int tag)
    : Tag(tag), name_(std::move(name)), caption_(std::move(caption))
{
}

MenuItem::~MenuItem() = default;

std::wstring MenuItem::Caption() const
{
    return action_ ? action_->Caption() : caption_;
}

bool MenuItem::Checked() const
{
    return action_ ? action_->Checked() : checked_;
}

bool MenuItem::Enabled() const
{
    return enabled_ && (!action_ || action_->Enabled());
}

void MenuItem::Click()
{
    if (!Enabled())
        return;
    if (action_)
        action_->Execute();
    else if (OnClick)
        OnClick(*this);
}

MenuItem& MenuItem::Add(std::unique_ptr<MenuItem> item)
{
    return Insert(items_.size(), std::move(item));
}

MenuItem& MenuItem::Insert(std::size_t index, std::unique_ptr<MenuItem> item)
{
    item->parent_ = this;
    index = std::min(index, items_.size());
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return *items_[index];
}

std::unique_ptr<MenuItem> MenuItem::Remove(MenuItem& item)
{
    const int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    auto taken = std::move(items_[static_cast<std::size_t>(index)]);
    items_.erase(items_.begin() + index);
    taken->parent_ = nullptr;
    return taken;
}

int MenuItem::IndexOf(const MenuItem& item) const noexcept
{
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].get() == &item)
            return static_cast<int>(i);
    return -1;
}

MenuItem* MenuItem::Find(const std::wstring& name) noexcept
{
    if (name_ == name)
        return this;
    for (const auto& item : items_)
        if (MenuItem* found = item->Find(name))
            return found;
    return nullptr;
}

}  // namespace tk
