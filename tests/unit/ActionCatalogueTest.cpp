#include "actions/ActionCatalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace corvello;
using catalogue::FindAction;
using catalogue::OperationFor;

TEST(ActionCatalogue, EveryTagRunsItsOperation)
{
    using Op = ActionOperation;
    struct Case {
        int Tag;
        Op Operation;
    };
    const Case cases[] = {
        {1, Op::MonitorOff},      {2, Op::ScreenSaver},      {3, Op::LockUser},          {4, Op::Sleep},
        {5, Op::Hibernate},       {6, Op::LogOff},           {7, Op::Reboot},            {8, Op::ShutDown},
        {9, Op::PowerOff},        {10, Op::SwitchCapsLock},  {11, Op::SwitchNumLock},    {12, Op::SwitchScrollLock},
        {13, Op::PressCtrlAltDel}, {14, Op::PressCtrlShiftEsc}, {15, Op::PressPrintScreen},
        {16, Op::MonitorOn},      {17, Op::KeepAwake},       {18, Op::LockMonitorOff},
        // Control Panel's own tag, and tags of no action.
        {11111, Op::None},        {0, Op::None},             {19, Op::None},             {-1, Op::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(OperationFor(c.Tag), c.Operation) << "tag " << c.Tag;
    ASSERT_NE(FindAction(11111), nullptr);
    EXPECT_STREQ(FindAction(11111)->Caption, L"Control Panel");
}

TEST(ActionCatalogue, TheSleepButtonRunsSleep)
{
    // Column 2, row 1 of the hardware group; its own tag 5 is Hibernate's.
    const auto& sleepButton = catalogue::HardwareButtons[3];
    EXPECT_EQ(sleepButton.Column, 2);
    EXPECT_EQ(sleepButton.Row, 1);
    EXPECT_EQ(sleepButton.OwnTag, 5);
    EXPECT_EQ(OperationFor(sleepButton.Tag), ActionOperation::Sleep);
    EXPECT_STREQ(FindAction(sleepButton.Tag)->Caption, L"Sleep");
    // No other button carries a tag of its own.
    for (const auto& b : catalogue::HardwareButtons)
        EXPECT_TRUE(b.OwnTag == 0 || &b == &sleepButton) << "tag " << b.Tag;
    for (const auto& b : catalogue::KeyboardButtons)
        EXPECT_EQ(b.OwnTag, 0) << "tag " << b.Tag;
}

// Monitor On, Keep Awake and Lock and Monitor Off are reached by shortcut,
// command line and the Options window only.
TEST(ActionCatalogue, MenusAndButtonsReachEveryActionButTheOnesBeyondThemOnce)
{
    std::multiset<int> inMenus;
    for (const int tag : catalogue::SystemMenu)
        if (tag != 0)
            inMenus.insert(tag);
    for (const int tag : catalogue::KeyboardMenu)
        if (tag != 0)
            inMenus.insert(tag);
    std::multiset<int> onButtons;
    std::set<std::pair<int, int>> hardwarePlaces, keyboardPlaces;
    for (const auto& b : catalogue::HardwareButtons) {
        onButtons.insert(b.Tag);
        hardwarePlaces.insert({b.Column, b.Row});
    }
    for (const auto& b : catalogue::KeyboardButtons) {
        onButtons.insert(b.Tag);
        keyboardPlaces.insert({b.Column, b.Row});
    }
    std::multiset<int> expected;
    for (int tag = 1; tag <= 15; ++tag)
        expected.insert(tag);
    EXPECT_EQ(inMenus, expected);
    EXPECT_EQ(onButtons, expected);
    EXPECT_EQ(hardwarePlaces.size(), 9u) << "two buttons share a place";
    EXPECT_EQ(keyboardPlaces.size(), 6u) << "two buttons share a place";

    std::set<int> tags;
    std::set<std::wstring> names;
    for (const auto& a : catalogue::Actions) {
        EXPECT_TRUE(tags.insert(a.Tag).second) << "tag " << a.Tag << " twice";
        EXPECT_TRUE(names.insert(a.Name).second) << "a name twice, tag " << a.Tag;
        EXPECT_EQ(catalogue::FindActionNamed(a.Name), &a);
    }
    EXPECT_EQ(tags.size(), 19u);
    EXPECT_EQ(catalogue::FindActionNamed(L"monitoroff"), nullptr) << "names are matched as written";
    // Only the three lock keys refresh the LEDs, each its own key.
    EXPECT_EQ(FindAction(10)->Lock, LockKey::Caps);
    EXPECT_EQ(FindAction(11)->Lock, LockKey::Num);
    EXPECT_EQ(FindAction(12)->Lock, LockKey::Scroll);
    for (const auto& a : catalogue::Actions)
        EXPECT_EQ(a.Lock != LockKey::None, a.Tag >= 10 && a.Tag <= 12) << "tag " << a.Tag;
}

TEST(ActionCatalogue, OnlyTheIrreversibleAskAndOnlyWhileTheBoxIsChecked)
{
    for (const int tag : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 11111}) {
        EXPECT_EQ(catalogue::NeedsConfirmation(tag, true), tag >= 5 && tag <= 9) << "tag " << tag;
        EXPECT_FALSE(catalogue::NeedsConfirmation(tag, false)) << "tag " << tag;
    }
}

TEST(ActionCatalogue, DialogCaption)
{
    const ActionEntry& powerOff = *FindAction(9);
    EXPECT_EQ(catalogue::DialogCaption(powerOff.Caption, true, L"Corvello"), L"Power Off");
    EXPECT_FALSE(catalogue::UsesApplicationIcon(true));
    EXPECT_EQ(catalogue::DialogCaption(L"Hibernate", false, L"Corvello"), L"Corvello - Hibernate");
    EXPECT_TRUE(catalogue::UsesApplicationIcon(false));
}

TEST(ActionCatalogue, TextsKeepTheirBlanksAndSpelling)
{
    EXPECT_STREQ(FindAction(1)->Hint, L"Blanks the screen or turns the monitor off ");
    EXPECT_STREQ(FindAction(11111)->Hint, L"Opens Control Panel of  Windows sytem");
    EXPECT_STREQ(FindAction(12)->Caption, L"Scroll Lock");
    EXPECT_STREQ(FindAction(12)->Category, L"Keyboard Locks");
    EXPECT_STREQ(FindAction(14)->Category, L"Keyboard Shortcuts");
    EXPECT_STREQ(FindAction(9)->Category, L"Corvello");
}
