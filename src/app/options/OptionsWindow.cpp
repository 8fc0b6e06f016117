#include "app/options/OptionsWindow.h"

#include "core/Product.h"

namespace corvello {
namespace {

constexpr int DesignWidth = 440;
constexpr int DesignHeight = 468;

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

OptionsWindow::OptionsWindow(AppBase& application, std::vector<std::unique_ptr<OptionsPage>> pages)
    : PersistentForm(application, OptionsLayout(), L"frmOptions"), pages_(std::move(pages))
{
}

OptionsWindow::~OptionsWindow() = default;

void OptionsWindow::CreateControls()
{
    PersistentForm::CreateControls();
    // Made before the tabs, so the keyboard goes round from the tabs to the
    // page shown (whose panels lie above the tabs) and on to Close. Enter is
    // the page's; Close is Escape's.
    close_ = std::make_unique<tk::Button>(*this, tk::Bounds{DesignWidth - 88, DesignHeight - 36, 80, 25},
                                             L"&Close");
    close_->OnClick = [this](tk::Control&) { Close(); };
    SetCancelButton(close_.get());
    tabs_ = std::make_unique<tk::TabControl>(*this, tk::Bounds{8, 8, DesignWidth - 16, DesignHeight - 52});
    for (const auto& page : pages_) {
        tk::Panel& panel = tabs_->AddPage(page->Caption());
        page->Build(panel, panel.LayoutBounds().Width - 2 * OptionsPage::Margin);
    }
}

void OptionsWindow::DoEnter()
{
    pages_[tabs_->Selected()]->Enter();
}

void OptionsWindow::ShowPage(PageId page, const ActionEntry* action)
{
    Refresh();
    tabs_->Select(static_cast<std::size_t>(page));
    Show();
    BringToFront();
    ::SetForegroundWindow(Handle());
    // Once shown: the keyboard on the page's first control, or on what the
    // action needs.
    tabs_->FocusPage();
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
