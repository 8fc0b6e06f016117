#include "app/OptionsWindow.h"

#include "app/LockKeysPage.h"
#include "app/ShortcutsPage.h"
#include "app/TimerPage.h"
#include "core/Product.h"

namespace corvello {
namespace {

constexpr int DesignWidth = 440;
constexpr int DesignHeight = 444;

tk::FormLayout OptionsLayout()
{
    tk::FormLayout layout;
    layout.ClassName = L"TfrmOptions";
    layout.Caption = CORVELLO_WIDEN(CORVELLO_NAME) L" Options";
    layout.ClientWidth = DesignWidth;
    layout.ClientHeight = DesignHeight;
    layout.Border = tk::BorderStyle::Single;
    layout.SystemMenu = true;
    layout.MinimizeBox = true;
    layout.MaximizeBox = false;
    return layout;
}

}  // namespace

OptionsWindow::OptionsWindow() : PersistentForm(OptionsLayout(), L"frmOptions")
{
    // The pages, in the order of their tabs and of PageId.
    pages_.push_back(std::make_unique<ShortcutsPage>());
    pages_.push_back(std::make_unique<TimerPage>());
    pages_.push_back(std::make_unique<LockKeysPage>());
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::CreateControls()
{
    PersistentForm::CreateControls();
    tabs_ = std::make_unique<tk::TabControl>(*this, tk::Bounds{8, 8, DesignWidth - 16, DesignHeight - 52});
    for (const auto& page : pages_)
        page->Build(tabs_->AddPage(page->Caption()));
    btnClose_ = std::make_unique<tk::Button>(*this, tk::Bounds{DesignWidth - 88, DesignHeight - 36, 80, 25},
                                             L"Close");
    btnClose_->OnClick = [this](tk::Control&) { Close(); };
    btnClose_->SetDefault(true);
    SetCancelButton(btnClose_.get());
}

void OptionsWindow::ShowPage(PageId page, const ActionEntry* action)
{
    Refresh();
    tabs_->Select(static_cast<std::size_t>(page));
    Show();
    BringToFront();
    ::SetForegroundWindow(Handle());
    // Once shown: the page gives the keyboard to what the action needs.
    if (action)
        Page(page).SelectAction(*action);
}

bool OptionsWindow::TakeShortcutKeys(const ActionEntry& pressed)
{
    if (!Visible() || ::GetForegroundWindow() != Handle())
        return false;
    for (const auto& page : pages_)
        if (page->TakeShortcutKeys(pressed))
            return true;
    return false;
}

void OptionsWindow::Refresh()
{
    for (const auto& page : pages_)
        page->Refresh();
}

}  // namespace corvello
