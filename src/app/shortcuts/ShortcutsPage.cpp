#include "app/shortcuts/ShortcutsPage.h"

#include "toolkit/Concat.h"

namespace corvello {
namespace {

enum Column { ActionColumn, ShortcutColumn, StateColumn };

std::wstring StateText(ShortcutKeys::State state)
{
    switch (state) {
    case ShortcutKeys::State::InUse:
        return ShortcutsPage::InUseText;
    case ShortcutKeys::State::Failed:
        return L"not taken by Windows";
    case ShortcutKeys::State::None:
    case ShortcutKeys::State::Registered:
        break;
    }
    return {};
}

}  // namespace

void ShortcutsPage::Build(tk::Panel& page, int width)
{
    for (const ActionEntry& entry : catalogue::Actions)
        if (ShortcutKeys::CanHaveShortcut(entry))
            rows_.push_back(&entry);
    constexpr int margin = OptionsPage::Margin;
    // The introduction names the list after it.
    intro_ = std::make_unique<tk::Label>(
        page, tk::Bounds{margin, 8, width, 28},
        L"Choose an &action, then press its shortcut in the field below: Ctrl, Alt or Win with a key, or a "
        L"function or media key alone.",
        tk::Label::Options{true, false, tk::Alignment::Left, false, true});
    list_ = std::make_unique<tk::ListView>(page, tk::Bounds{margin, 40, width, 270},
                                           std::vector<tk::ListView::Column>{
                                               {L"Action", 112}, {L"Shortcut", 98}, {L"State", 166}});
    list_->SetRowCount(rows_.size());
    for (std::size_t row = 0; row < rows_.size(); ++row)
        list_->SetCell(row, ActionColumn, rows_[row]->Caption);
    list_->OnSelect = [this](tk::ListView&) {
        reason_->SetCaption(L"");
        ShowChosen();
    };
    fieldLabel_ = std::make_unique<tk::Label>(page, tk::Bounds{margin, 324, 60, 15}, L"&Shortcut:",
                                           tk::Label::Options{false, true, tk::Alignment::Left, false, true});
    field_ = std::make_unique<tk::ShortcutField>(page, tk::Bounds{72, 320, 176, 22});
    field_->OnKeys = [this](tk::ShortcutField&, UINT key, UINT modifiers) {
        Take(Shortcut{static_cast<std::uint8_t>(key), static_cast<std::uint8_t>(modifiers & modifier::All)});
    };
    field_->OnClear = [this](tk::ShortcutField&) { Take(Shortcut{}); };
    clear_ = std::make_unique<tk::Button>(page, tk::Bounds{256, 319, 72, 25}, L"C&lear");
    clear_->OnClick = [this](tk::Control&) {
        Take(Shortcut{});
        field_->SetFocus();
    };
    reason_ = std::make_unique<tk::Label>(page, tk::Bounds{72, 348, margin + width - 72, 28}, L"",
                                            tk::Label::Options{true, false, tk::Alignment::Left, false});
    list_->Select(0);
    Refresh();
}

const ActionEntry* ShortcutsPage::Chosen() const
{
    const int row = list_ ? list_->Selected() : -1;
    return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? rows_[static_cast<std::size_t>(row)] : nullptr;
}

void ShortcutsPage::Refresh()
{
    if (!list_)
        return;
    const ShortcutKeys& keys = keys_;
    for (std::size_t row = 0; row < rows_.size(); ++row) {
        list_->SetCell(row, ShortcutColumn, ShortcutText(keys.Get(*rows_[row])));
        list_->SetCell(row, StateColumn, StateText(keys.StateOf(*rows_[row])));
    }
    ShowChosen();
}

void ShortcutsPage::Enter()
{
    field_->SetFocus();
}

void ShortcutsPage::SelectAction(const ActionEntry& entry)
{
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (rows_[row] == &entry)
            list_->Select(row);
    reason_->SetCaption(L"");
    ShowChosen();
    field_->SetFocus();
}

bool ShortcutsPage::TakeShortcutKeys(const ActionEntry& pressed)
{
    if (!field_ || ::GetFocus() != field_->Handle())
        return false;
    Take(keys_.Get(pressed));
    return true;
}

void ShortcutsPage::ShowChosen()
{
    const ActionEntry* entry = Chosen();
    const Shortcut shortcut = entry ? keys_.Get(*entry) : Shortcut{};
    field_->SetDisplay(shortcut.Empty() ? L"None" : ShortcutText(shortcut));
}

void ShortcutsPage::Take(Shortcut shortcut)
{
    const ActionEntry* entry = Chosen();
    if (!entry)
        return;
    ShortcutKeys& keys = keys_;
    std::wstring reason;
    if (!shortcut.Empty()) {
        const std::wstring text = ShortcutText(shortcut);
        const ShortcutProblem problem = CheckShortcut(shortcut);
        if (problem != ShortcutProblem::None)
            reason = tk::Concat(
                {text.empty() ? std::wstring_view(L"That key") : text, L": ", ShortcutProblemText(problem), L"."});
        else if (const ActionEntry* other = keys.TakenBy(shortcut, *entry))
            reason = tk::Concat({text, L": already the shortcut of ", other->Caption, L"."});
    }
    if (reason.empty()) {
        keys.Set(*entry, shortcut, settingsKey_.Open());
        if (keys.StateOf(*entry) == ShortcutKeys::State::InUse)
            reason = tk::Concat({ShortcutText(shortcut), L": ", InUseText, L"."});
    }
    reason_->SetCaption(reason);
    Refresh();
}

}  // namespace corvello
