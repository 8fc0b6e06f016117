// The program's message dialog, driven the way a user drives it.
#include "ui/ShowMessageDialog.h"

#include <gtest/gtest.h>

#include "support/DialogAnswerer.h"
#include "support/FormTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Timer.h"
#include "ui/FormPlacement.h"

using namespace corvello;
using tk::DialogButton;
using tk::DialogType;

namespace {

// What the dialog looked like while it was open.
struct Seen {
    std::wstring Caption;
    HICON Icon = nullptr;
    bool IconShown = false;
    std::wstring DefaultCaption;
    std::wstring FocusedCaption;
    RECT Bounds{};
    HWND Owner = nullptr;
    int ModalLevel = 0;
};

// Shows the dialog; once it is up, records it and lets act() answer it.
int RunDialog(Seen& seen, const std::function<void(tk::MessageDialog&)>& act, const std::wstring& message,
              DialogType type, const tk::DialogButtons& buttons, DialogButton defaultButton,
              tk::Form* owner = nullptr, const std::wstring& caption = L"", HICON icon = nullptr)
{
    tk::Timer timer(30);
    bool done = false;
    timer.OnTimer = [&](tk::Timer& t) {
        auto* dialog = testsupport::ActiveMessageDialog();
        if (!dialog || done || !dialog->Visible())
            return;
        done = true;
        t.SetEnabled(false);
        seen.Caption = dialog->Caption();
        seen.Icon = dialog->IconImage()->Icon();
        seen.IconShown = ::IsWindowVisible(dialog->IconImage()->Handle());
        for (tk::Control* c : dialog->Controls())
            if (auto* b = c->AsButton(); b && b->IsDefault())
                seen.DefaultCaption = b->Caption();
        if (auto* focused = tk::ControlOf(::GetFocus()))
            seen.FocusedCaption = focused->Caption();
        ::GetWindowRect(dialog->Handle(), &seen.Bounds);
        seen.Owner = ::GetWindow(dialog->Handle(), GW_OWNER);
        seen.ModalLevel = tk::Application::Current().ModalLevel();
        act(*dialog);
    };
    return ShowMessageDialog(
        MessageDialogArgs(message).Type(type).Buttons(buttons, defaultButton).Owner(owner).Caption(caption).Icon(icon));
}

void PressKey(tk::MessageDialog&, WORD key)
{
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
    ::PostMessageW(::GetFocus(), WM_KEYUP, key, 0xC0000000);
}

class Dialogs : public ::testing::Test {
protected:
    testsupport::FormTestApp app_;
};

}  // namespace

TEST_F(Dialogs, EachTypeBringsItsCaptionAndIcon)
{
    struct Case {
        DialogType Type;
        const wchar_t* Caption;
        const wchar_t* Icon;
    };
    const Case cases[] = {
        {DialogType::Warning, L"Warning", IDI_WARNING},
        {DialogType::Error, L"Error", IDI_ERROR},
        {DialogType::Information, L"Information", IDI_INFORMATION},
        {DialogType::Confirmation, L"Confirm", IDI_QUESTION},
    };
    for (const auto& c : cases) {
        Seen seen;
        const int result = RunDialog(
            seen, [](tk::MessageDialog& d) { d.ButtonFor(DialogButton::OK)->Click(); }, L"Text", c.Type,
            {DialogButton::OK}, DialogButton::OK);
        EXPECT_EQ(result, tk::mr::OK);
        EXPECT_EQ(seen.Caption, c.Caption);
        EXPECT_EQ(seen.Icon, ::LoadIconW(nullptr, c.Icon));
        EXPECT_TRUE(seen.IconShown);
    }
}

TEST_F(Dialogs, TheCallersCaptionAndIconReplaceTheStandardOnes)
{
    const HICON mine = ::LoadIconW(nullptr, IDI_APPLICATION);
    Seen seen;
    RunDialog(
        seen, [](tk::MessageDialog& d) { d.ButtonFor(DialogButton::No)->Click(); },
        L"Do you really want to close \"Corvello\" application and disable all its features?",
        DialogType::Confirmation, {DialogButton::Yes, DialogButton::No}, DialogButton::No, nullptr, L"Corvello",
        mine);
    EXPECT_EQ(seen.Caption, L"Corvello");
    EXPECT_EQ(seen.Icon, mine);
}

TEST_F(Dialogs, TheDefaultButtonHasTheFocusAndEnterClicksIt)
{
    Seen seen;
    const int result = RunDialog(
        seen, [](tk::MessageDialog& d) { PressKey(d, VK_RETURN); }, L"Sure?", DialogType::Confirmation,
        {DialogButton::Yes, DialogButton::No}, DialogButton::No);
    EXPECT_EQ(seen.DefaultCaption, L"&No");
    EXPECT_EQ(seen.FocusedCaption, L"&No");
    EXPECT_EQ(result, tk::mr::No);
    EXPECT_GE(seen.ModalLevel, 1);
    EXPECT_EQ(tk::Application::Current().ModalLevel(), 0);
}

TEST_F(Dialogs, EscapeAnswersWithTheCancelButton)
{
    struct Case {
        tk::DialogButtons Buttons;
        int Result;
    };
    const Case cases[] = {
        {{DialogButton::Yes, DialogButton::No}, tk::mr::No},
        {{DialogButton::Yes, DialogButton::No, DialogButton::Cancel}, tk::mr::Cancel},
        {{DialogButton::OK}, tk::mr::OK},
    };
    for (const auto& c : cases) {
        Seen seen;
        EXPECT_EQ(RunDialog(
                      seen, [](tk::MessageDialog& d) { PressKey(d, VK_ESCAPE); }, L"?", DialogType::Warning,
                      c.Buttons, c.Buttons.front()),
                  c.Result);
    }
    // Closed from its title bar, it answers with none of the offered buttons.
    Seen seen;
    const int closed = RunDialog(
        seen, [](tk::MessageDialog& d) { ::PostMessageW(d.Handle(), WM_CLOSE, 0, 0); }, L"?",
        DialogType::Confirmation, {DialogButton::Yes, DialogButton::No}, DialogButton::Yes);
    EXPECT_NE(closed, tk::mr::Yes);
    EXPECT_NE(closed, tk::mr::No);
}

TEST_F(Dialogs, CentredOverAVisibleOwnerOrElseOnTheWorkArea)
{
    auto owner = tk::CreateForm<testsupport::TestForm>(app_.App());
    owner->SetBounds(100, 100, 500, 400);
    Seen over;
    RunDialog(
        over, [](tk::MessageDialog& d) { d.ButtonFor(DialogButton::OK)->Click(); }, L"Over the owner",
        DialogType::Information, {DialogButton::OK}, DialogButton::OK, owner.get());
    EXPECT_EQ(over.Owner, owner->Handle());
    const int width = over.Bounds.right - over.Bounds.left;
    const int height = over.Bounds.bottom - over.Bounds.top;
    EXPECT_EQ(over.Bounds.left, 100 + (500 - width) / 2);
    EXPECT_EQ(over.Bounds.top, 100 + (400 - height) / 2);

    owner->Hide();
    Seen alone;
    RunDialog(
        alone, [](tk::MessageDialog& d) { d.ButtonFor(DialogButton::OK)->Click(); }, L"On the work area",
        DialogType::Information, {DialogButton::OK}, DialogButton::OK, nullptr);
    EXPECT_EQ(alone.Owner, nullptr);
    const Point centred = CenterOnArea(alone.Bounds.right - alone.Bounds.left,
                                        alone.Bounds.bottom - alone.Bounds.top, GetWorkArea());
    EXPECT_EQ(alone.Bounds.left, centred.x);
    EXPECT_EQ(alone.Bounds.top, centred.y);
}

TEST_F(Dialogs, TabMovesTheFocusAndMnemonicsClick)
{
    Seen seen;
    std::wstring afterTab;
    const int result = RunDialog(
        seen,
        [&](tk::MessageDialog& d) {
            // The keys as the loop hands them to the dialog manager.
            MSG msg{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
            ::IsDialogMessageW(d.Handle(), &msg);
            if (auto* focused = tk::ControlOf(::GetFocus()))
                afterTab = focused->Caption();
            MSG mnemonic{::GetFocus(), WM_SYSCHAR, L'y', 0, 0, {}};
            ::IsDialogMessageW(d.Handle(), &mnemonic);
        },
        L"Sure?", DialogType::Confirmation, {DialogButton::Yes, DialogButton::No}, DialogButton::No);
    EXPECT_EQ(seen.FocusedCaption, L"&No");
    EXPECT_EQ(afterTab, L"&Yes");  // the focus wraps round to the first button
    EXPECT_EQ(result, tk::mr::Yes);
}
