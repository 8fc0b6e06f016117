#include "app/AboutDialog.h"

#include "core/Timings.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"
#include "toolkit/Window.h"
#include "ui/FormPlacement.h"

namespace corvello {
namespace {

AboutDialog* Open = nullptr;

tk::FontSpec Tahoma(int height, bool bold = false)
{
    tk::FontSpec font;
    font.Name = L"Tahoma";
    font.Height = height;
    font.Bold = bold;
    return font;
}

tk::FormLayout AboutLayout()
{
    tk::FormLayout layout;
    layout.ClassName = L"TfrmAbout";
    layout.Caption = L"About";
    layout.ClientWidth = 400;
    layout.ClientHeight = 180;
    layout.Border = tk::BorderStyle::Dialog;
    layout.SystemMenu = true;
    layout.MinimizeBox = false;
    layout.MaximizeBox = false;
    layout.Font = Tahoma(-11);
    return layout;
}

}  // namespace

AboutDialog::AboutDialog(AppBase& application)
    : LinksForm(application, AboutLayout(), L"frmAbout"), runOnce_(TimingMs(Timing::AboutPing))
{
    runOnce_.OnTimer = [this](tk::Timer& sender) { OnRunOnceTimer(sender); };
}

void AboutDialog::CreateControls()
{
    LinksForm::CreateControls();
    const tk::Label::Options centred{false, false, tk::Alignment::Center, false};
    title_ = std::make_unique<tk::Label>(*this, tk::Bounds{140, 12, 256, 32}, L"Application Name", centred);
    title_->SetFont(Tahoma(-21, true));
    version_ = std::make_unique<tk::Label>(*this, tk::Bounds{140, 44, 256, 24}, L"Version", centred);
    version_->SetFont(Tahoma(-16));
    copyright_ = std::make_unique<tk::Label>(*this, tk::Bounds{140, 116, 256, 16}, L"Copyright", centred);
    ok_ = std::make_unique<tk::Button>(*this, tk::Bounds{232, 144, 72, 25}, L"OK");
    ok_->ModalResult = tk::mr::OK;
    ok_->SetDefault(true);
    SetDefaultButton(ok_.get());
    SetCancelButton(ok_.get());
}

void AboutDialog::ControlsInit()
{
    LinksForm::ControlsInit();
    if (const HWND main = tk::Application::Current().MainWindow())
        ::SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main));
    IconImage().MoveTo(12, 12);
    IconImage().SetVisible(true);
    const tk::Bounds icon = IconImage().LayoutBounds();
    SocialButtons().MoveTo(icon.Left, icon.Top + icon.Height + 12);
    SocialButtons().SetVisible(true);
    const tk::Bounds title = title_->LayoutBounds();
    const auto centreUnderTitle = [&](tk::Label& label, int top) {
        // Truncated toward zero, as the layout rounds.
        label.MoveTo(title.Left + (title.Width - label.LayoutBounds().Width) / 2, top);
        label.SetVisible(true);
    };
    centreUnderTitle(ClickLabelEmail(), 72);
    centreUnderTitle(ClickLabelWeb(), 92);
}

void AboutDialog::ControlsUpdate()
{
    LinksForm::ControlsUpdate();
    title_->SetCaption(application_.Name());
    version_->SetCaption(application_.Version());
    copyright_->SetCaption(application_.Copyright());
}

void AboutDialog::OnShowEvent(tk::Form& sender)
{
    LinksForm::OnShowEvent(sender);
    FormCenterOnForm(this, tk::Application::Current().MainForm());
}

void AboutDialog::OnRunOnceTimer(tk::Timer& sender)
{
    sender.SetEnabled(false);
    application_.Ping(L"about", L"", false);
}

AboutDialog* OpenAboutDialog() noexcept
{
    return Open;
}

int ShowAboutDialog(AppBase& application)
{
    if (Open) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        Open->BringToFront();
        tk::WindowFlash(Open->Handle(), 3, 75);
        return 0;
    }
    const auto dialog = tk::CreateForm<AboutDialog>(application);
    Open = dialog.get();
    // Whatever happens, the reference goes with the dialog.
    struct Clear {
        ~Clear() { Open = nullptr; }
    } clear;
    return dialog->ShowModal();
}

}  // namespace corvello
