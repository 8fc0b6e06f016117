#include "app/timer/CountdownWindow.h"

#include "core/AppBase.h"
#include "core/Product.h"
#include "toolkit/Application.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "ui/FormPlacement.h"

namespace corvello {
namespace {

tk::FormLayout CountdownLayout(const ActionEntry& entry)
{
    tk::FormLayout layout;
    layout.ClassName = CountdownWindow::ClassName;
    layout.Caption = std::wstring(CORVELLO_WIDEN(CORVELLO_NAME) L" - ") + entry.Caption;
    layout.ClientWidth = 320;
    layout.ClientHeight = 104;
    layout.Border = tk::BorderStyle::Dialog;
    layout.SystemMenu = true;
    layout.MinimizeBox = false;
    layout.MaximizeBox = false;
    return layout;
}

}  // namespace

CountdownWindow::CountdownWindow(const ActionEntry& entry) : tk::Form(CountdownLayout(entry)), entry_(entry) {}

CountdownWindow::~CountdownWindow() = default;

void CountdownWindow::CreateControls()
{
    icon_ = std::make_unique<tk::Image>(*this, tk::Bounds{12, 12, 32, 32});
    icon_->SetIcon(::LoadIconW(nullptr, IDI_WARNING));
    tk::FontSpec large;
    large.Height = -16;
    large.Bold = true;
    countdown_ = std::make_unique<tk::Label>(*this, tk::Bounds{56, 12, 252, 22}, L"",
                                               tk::Label::Options{false, false, tk::Alignment::Left, false});
    countdown_->SetFont(large);
    hint_ = std::make_unique<tk::Label>(*this, tk::Bounds{56, 38, 252, 28}, entry_.Hint,
                                          tk::Label::Options{true, false, tk::Alignment::Left, false});
    cancel_ = std::make_unique<tk::Button>(*this, tk::Bounds{236, 70, 72, 25}, L"&Cancel");
    cancel_->OnClick = [this](tk::Control&) { Cancel(); };
    cancel_->SetDefault(true);
    SetCancelButton(cancel_.get());
    SetActiveControl(cancel_.get());
}

void CountdownWindow::ShowSeconds(std::int64_t secondsLeft)
{
    if (!countdown_)
        return;
    countdown_->SetCaption(tk::Concat(
        {entry_.Caption, L" in ", tk::Decimal(secondsLeft), secondsLeft == 1 ? L" second" : L" seconds"}));
}

void CountdownWindow::Present(std::int64_t secondsLeft)
{
    ShowSeconds(secondsLeft);
    FormCenterOnWorkArea(this);
    // Above whatever the user works in, from the moment it shows: it is
    // about to end their session.
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Show();
    ::SetForegroundWindow(Handle());
    cancel_->SetFocus();
}

bool CountdownWindow::DoCloseQuery()
{
    // The close box and Alt+F4 call it off like Cancel.
    Cancel();
    return false;
}

void CountdownWindow::Cancel()
{
    tk::Application::Current().Post([handler = OnCancel] {
        if (handler)
            handler();
    });
}

}  // namespace corvello
