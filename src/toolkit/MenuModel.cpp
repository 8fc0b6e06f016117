#include "toolkit/MenuModel.h"

#include <algorithm>

#include "toolkit/Actions.h"

namespace tk {

MenuItem::MenuItem(std::wstring name, std::wstring caption, int tag)
    : Tag(tag), FName(std::move(name)), FCaption(std::move(caption))
{
}

MenuItem::~MenuItem() = default;

std::wstring MenuItem::Caption() const
{
    return FAction ? FAction->Caption() : FCaption;
}

bool MenuItem::Checked() const
{
    return FAction ? FAction->Checked() : FChecked;
}

bool MenuItem::Enabled() const
{
    return FEnabled && (!FAction || FAction->Enabled());
}

void MenuItem::Click()
{
    if (!Enabled())
        return;
    if (FAction)
        FAction->Execute();
    else if (OnClick)
        OnClick(*this);
}

MenuItem& MenuItem::Add(std::unique_ptr<MenuItem> item)
{
    return Insert(FItems.size(), std::move(item));
}

MenuItem& MenuItem::Insert(std::size_t index, std::unique_ptr<MenuItem> item)
{
    item->FParent = this;
    index = std::min(index, FItems.size());
    FItems.insert(FItems.begin() + static_cast<std::ptrdiff_t>(index), std::move(item));
    return *FItems[index];
}

std::unique_ptr<MenuItem> MenuItem::Remove(MenuItem& item)
{
    const int index = IndexOf(item);
    if (index < 0)
        return nullptr;
    auto taken = std::move(FItems[static_cast<std::size_t>(index)]);
    FItems.erase(FItems.begin() + index);
    taken->FParent = nullptr;
    return taken;
}

int MenuItem::IndexOf(const MenuItem& item) const noexcept
{
    for (std::size_t i = 0; i < FItems.size(); ++i)
        if (FItems[i].get() == &item)
            return static_cast<int>(i);
    return -1;
}

MenuItem* MenuItem::Find(const std::wstring& name) noexcept
{
    if (FName == name)
        return this;
    for (const auto& item : FItems)
        if (MenuItem* found = item->Find(name))
            return found;
    return nullptr;
}

}  // namespace tk
