// Forms keep their placement, window state and visibility in the registry.
#include <gtest/gtest.h>

#include "core/RegistryLayout.h"
#include "support/FormTestSupport.h"
#include "support/WinTestSupport.h"
#include "ui/FormPlacement.h"

using namespace corvello;
using testsupport::FormTestApp;
using testsupport::TestForm;

namespace {

class Forms : public ::testing::Test {
protected:
    FormTestApp app_;

    std::optional<std::wstring> StoredBounds()
    {
        return testsupport::StoredSz(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::Bounds);
    }
    std::optional<DWORD> StoredDword(const wchar_t* name)
    {
        return testsupport::StoredDword(HKEY_CURRENT_USER, FormTestApp::FormKey(), name);
    }
    void Store(const std::wstring& bounds, std::optional<DWORD> state = {}, std::optional<DWORD> visible = {})
    {
        testsupport::WriteSz(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::Bounds, bounds);
        if (state)
            testsupport::WriteDword(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::WindowState, *state);
        if (visible)
            testsupport::WriteDword(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::Visible, *visible);
    }
};

}  // namespace

TEST_F(Forms, FirstShowIsCentredOnTheWorkAreaAndShown)
{
    auto form = tk::CreateForm<TestForm>(app_.App());
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->ShowEvents, 1);
    EXPECT_EQ(form->RegistryKey(), std::wstring(L"\\") + testsupport::FormTestKey + L"\\frmTest");
    const Area area = GetFormWorkArea(form.get());
    const Point expected = CenterOnArea(form->Width(), form->Height(), area);
    EXPECT_EQ(form->Left(), expected.x);
    EXPECT_EQ(form->Top(), expected.y);
    EXPECT_FALSE(form->FirstShow());
}

TEST_F(Forms, PlacementIsStoredOnHideAndCloseAndComesBack)
{
    {
        auto form = tk::CreateForm<TestForm>(app_.App());
        form->SetBounds(100, 120, 350, 250);
        form->Hide();
        EXPECT_EQ(StoredBounds(), L"100,120,350,250");
        EXPECT_EQ(StoredDword(registry::WindowState), 0u);
        EXPECT_EQ(StoredDword(registry::Visible), 1u);
        form->Show();
        form->SetBounds(110, 130, 360, 260);
        form->Close();
        EXPECT_EQ(StoredBounds(), L"110,130,360,260");
    }
    auto again = tk::CreateForm<TestForm>(app_.App());
    EXPECT_EQ(again->Left(), 110);
    EXPECT_EQ(again->Top(), 130);
    EXPECT_EQ(again->Width(), 360);
    EXPECT_EQ(again->Height(), 260);
}

TEST_F(Forms, AMaximisedFormStoresItsNormalRectangle)
{
    {
        auto form = tk::CreateForm<TestForm>(app_.App());
        form->SetBounds(100, 120, 350, 250);
        form->SetWindowState(tk::WindowState::Maximized);
        ASSERT_TRUE(testsupport::WaitUntil(
            [&] { return form->GetWindowState() == tk::WindowState::Maximized; }, 2000));
        form->Close();
    }
    EXPECT_EQ(StoredBounds(), L"100,120,350,250");
    EXPECT_EQ(StoredDword(registry::WindowState), 2u);
    auto again = tk::CreateForm<TestForm>(app_.App());
    EXPECT_TRUE(testsupport::WaitUntil(
        [&] { return again->GetWindowState() == tk::WindowState::Maximized; }, 2000));
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ASSERT_TRUE(::GetWindowPlacement(again->Handle(), &placement));
    EXPECT_EQ(placement.rcNormalPosition.right - placement.rcNormalPosition.left, 350);
}

TEST_F(Forms, AFixedSizeFormIgnoresAStoredSize)
{
    Store(L"50,60,999,888");
    auto form = tk::CreateForm<TestForm>(app_.App(), tk::BorderStyle::Single);
    EXPECT_EQ(form->Left(), 50);
    EXPECT_EQ(form->Top(), 60);
    EXPECT_EQ(form->ClientWidth(), tk::Scale(300, form->Dpi()));
    EXPECT_EQ(form->ClientHeight(), tk::Scale(200, form->Dpi()));
}

TEST_F(Forms, AFixedSizeFormIsNeverMaximisedAndAnUnreadablePlaceIsNone)
{
    for (const wchar_t* bounds : {L"yes please", L"10,20", L"1,2,0,0"}) {
        SCOPED_TRACE(std::string(bounds, bounds + std::wcslen(bounds)));
        Store(bounds, 2);
        auto form = tk::CreateForm<TestForm>(app_.App(), tk::BorderStyle::Single);
        ASSERT_TRUE(form->Visible());
        EXPECT_FALSE(::IsZoomed(form->Handle()));
        // Where a form without a stored place goes.
        const Point expected = CenterOnArea(form->Width(), form->Height(), GetFormWorkArea(form.get()));
        EXPECT_EQ(form->Left(), expected.x);
        EXPECT_EQ(form->Top(), expected.y);
        form->Close();
        EXPECT_EQ(StoredDword(registry::WindowState), 0u);
    }
}

TEST_F(Forms, FarAwayOrOversizedBoundsAreFittedIntoTheWorkArea)
{
    Store(L"-3000,-3000,400,300");
    {
        auto form = tk::CreateForm<TestForm>(app_.App());
        const Area area = GetFormWorkArea(form.get());
        EXPECT_EQ(form->Left(), area.left);
        EXPECT_EQ(form->Top(), area.top);
        EXPECT_EQ(form->Width(), 400);
        EXPECT_EQ(form->Height(), 300);
    }
    Store(L"200,200,5000,4000");
    auto big = tk::CreateForm<TestForm>(app_.App());
    const Area area = GetFormWorkArea(big.get());
    EXPECT_EQ(big->Left(), area.left);
    EXPECT_EQ(big->Top(), area.top);
}

TEST_F(Forms, StoredVisibleZeroKeepsTheFormHidden)
{
    Store(L"10,10,300,200", 0, 0);
    auto form = tk::CreateForm<TestForm>(app_.App());
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->PendingShow());
    EXPECT_EQ(form->ShowEvents, 0);
    EXPECT_FALSE(form->RealVisible());
    // And the other way round: a form whose layout is hidden comes up shown.
    testsupport::WriteDword(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::Visible, 1);
    auto shown = tk::CreateForm<TestForm>(app_.App(), tk::BorderStyle::Sizeable, false);
    EXPECT_TRUE(shown->Visible());
}

TEST_F(Forms, NothingIsStoredOnHideWhileTerminating)
{
    auto form = tk::CreateForm<TestForm>(app_.App());
    tk::RegKey::DeleteTree(HKEY_CURRENT_USER, FormTestApp::FormKey());
    app_.App().Terminate(0);
    form->Hide();
    EXPECT_EQ(StoredBounds(), std::nullopt);
    // Closing stores, terminating or not.
    form->Show();
    form->Close();
    EXPECT_TRUE(StoredBounds().has_value());
}

TEST_F(Forms, ValuesOfAnotherTypeAreIgnored)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::Bounds, 5);
    testsupport::WriteSz(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::WindowState, L"2");
    testsupport::WriteSz(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::Visible, L"0");
    testsupport::WriteDword(HKEY_CURRENT_USER, FormTestApp::FormKey(), registry::WindowState, 7);
    auto form = tk::CreateForm<TestForm>(app_.App());
    EXPECT_TRUE(form->Visible());
    EXPECT_EQ(form->GetWindowState(), tk::WindowState::Normal);
    const Point expected = CenterOnArea(form->Width(), form->Height(), GetFormWorkArea(form.get()));
    EXPECT_EQ(form->Left(), expected.x);
}

TEST_F(Forms, EmbeddingIntoAnotherFormsControlAndBack)
{
    auto host = tk::CreateForm<TestForm>(app_.App(), tk::BorderStyle::Sizeable, true, L"TfrmHost");
    auto guest = tk::CreateForm<TestForm>(app_.App(), tk::BorderStyle::Dialog, false, L"TfrmGuest");
    guest->InsertIntoControl(host->Holder.get());
    EXPECT_EQ(guest->ParentWindow(), host->Holder->Handle());
    EXPECT_EQ(guest->GetBorderStyle(), tk::BorderStyle::None);
    EXPECT_TRUE(::IsWindowVisible(guest->Handle()));
    RECT client{};
    ::GetClientRect(host->Holder->Handle(), &client);
    EXPECT_EQ(guest->Width(), client.right);
    EXPECT_EQ(guest->Height(), client.bottom);

    guest->RemoveFromControl();
    EXPECT_EQ(guest->ParentWindow(), nullptr);
    EXPECT_EQ(guest->GetBorderStyle(), tk::BorderStyle::Dialog);
    EXPECT_FALSE(guest->Visible());
    guest->InsertIntoControl(nullptr);
    EXPECT_EQ(guest->ParentWindow(), nullptr);
}

TEST_F(Forms, TheEndOfTheSessionClosesTheFormInOrderOnlyWhenItComes)
{
    auto form = tk::CreateForm<TestForm>(app_.App());
    tk::RegKey::DeleteTree(HKEY_CURRENT_USER, FormTestApp::FormKey());
    // The question only prepares: another program may yet refuse the end.
    const LRESULT answer = ::SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    EXPECT_EQ(answer, 1);
    EXPECT_TRUE(app_.App().Terminated());  // the application heard of it first
    EXPECT_TRUE(form->Visible());
    EXPECT_FALSE(StoredBounds().has_value());

    ::SendMessageW(form->Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(app_.App().Terminated());
    EXPECT_TRUE(form->Visible());

    ::SendMessageW(form->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    ::SendMessageW(form->Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_FALSE(form->Visible());
    EXPECT_TRUE(StoredBounds().has_value());  // the close stored the placement
}

TEST_F(Forms, LinkLabelsUnderlineWhileTheMouseIsOverThem)
{
    auto form = tk::CreateForm<TestForm>(app_.App());
    tk::Label label(*form, tk::Bounds{10, 160, 0, 0}, L"Web");
    tk::FontSpec bold = form->LayoutFont();
    bold.Bold = true;
    label.SetFont(bold);
    int clicks = 0;
    form->LinkLabelSetup(
        label, 1, L"corvello.quorvant.com", L"Open Website", [&](tk::Control& c) { clicks += c.Tag; },
        [&](tk::Control& c) { form->OnLinkMouseEnter(c); }, [&](tk::Control& c) { form->OnLinkMouseLeave(c); });
    EXPECT_EQ(label.Tag, 1);
    EXPECT_EQ(label.Caption(), L"corvello.quorvant.com");
    EXPECT_EQ(label.Hint(), L"Open Website");
    EXPECT_GT(label.LayoutBounds().Width, 0);  // sized to its text

    ::SendMessageW(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(label.Underline());
    EXPECT_TRUE(label.OwnFont()->Bold);  // other style bits stay
    ::SendMessageW(label.Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(label.Underline());
    EXPECT_TRUE(label.OwnFont()->Bold);

    label.Click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(Forms, HidingTheFormEndsTheMouseTrackingOfItsLabels)
{
    auto form = tk::CreateForm<TestForm>(app_.App());
    form->Show();
    tk::Label label(*form, tk::Bounds{10, 160, 0, 0}, L"Web");
    form->LinkLabelSetup(
        label, 1, L"corvello.quorvant.com", L"", nullptr, [&](tk::Control& c) { form->OnLinkMouseEnter(c); },
        [&](tk::Control& c) { form->OnLinkMouseLeave(c); });
    ::SendMessageW(label.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(label.Underline());
    form->Hide();
    // Nothing tracks the mouse for the label any more, and it looks left.
    TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
    ASSERT_TRUE(::TrackMouseEvent(&query));
    EXPECT_FALSE((query.dwFlags & TME_LEAVE) && query.hwndTrack == label.Handle());
    EXPECT_FALSE(label.Underline());
}
