#include "actions/ActionCatalogue.h"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <span>
#include <string>

using namespace corvello;
using catalogue::Action;

TEST(ActionCatalogue, EveryActionRunsItsOperationUnderItsName)
{
    using Id = ActionId;
    using Op = ActionOperation;
    struct Case {
        Id Action;
        const wchar_t* Name;
        Op Operation;
    };
    const Case cases[] = {
        {Id::MonitorOff, L"MonitorOff", Op::MonitorOff},
        {Id::ScreenSaver, L"ScreenSaver", Op::ScreenSaver},
        {Id::Lock, L"Lock", Op::LockUser},
        {Id::Sleep, L"Sleep", Op::Sleep},
        {Id::Hibernate, L"Hibernate", Op::Hibernate},
        {Id::LogOff, L"LogOff", Op::LogOff},
        {Id::Restart, L"Restart", Op::Reboot},
        {Id::ShutDown, L"ShutDown", Op::ShutDown},
        {Id::PowerOff, L"PowerOff", Op::PowerOff},
        {Id::CapsLock, L"CapsLock", Op::SwitchCapsLock},
        {Id::NumLock, L"NumLock", Op::SwitchNumLock},
        {Id::ScrollLock, L"ScrollLock", Op::SwitchScrollLock},
        {Id::CtrlAltDel, L"CtrlAltDel", Op::PressCtrlAltDel},
        {Id::CtrlShiftEsc, L"CtrlShiftEsc", Op::PressCtrlShiftEsc},
        {Id::PrintScreen, L"PrintScreen", Op::PressPrintScreen},
        {Id::MonitorOn, L"MonitorOn", Op::MonitorOn},
        {Id::KeepAwake, L"KeepAwake", Op::KeepAwake},
        {Id::LockMonitorOff, L"LockMonitorOff", Op::LockMonitorOff},
        // Control Panel runs nothing.
        {Id::ControlPanel, L"ControlPanel", Op::None},
    };
    for (const auto& c : cases) {
        const ActionEntry& entry = Action(c.Action);
        EXPECT_EQ(entry.Id, c.Action) << c.Name;
        EXPECT_STREQ(entry.Name, c.Name);
        EXPECT_EQ(entry.Operation, c.Operation) << c.Name;
        EXPECT_EQ(catalogue::FindActionNamed(c.Name), &entry);
    }
    EXPECT_STREQ(Action(ActionId::ControlPanel).Caption, L"Control Panel");
}

TEST(ActionCatalogue, TheSleepButtonRunsSleepAndCarriesHibernatesTag)
{
    // Column 2, row 1 of the hardware group; its tag 5 is Hibernate's.
    const auto& sleepButton = catalogue::HardwareButtons[3];
    EXPECT_EQ(sleepButton.Column, 2);
    EXPECT_EQ(sleepButton.Row, 1);
    EXPECT_EQ(sleepButton.Tag, 5);
    EXPECT_EQ(Action(sleepButton.Action).Operation, ActionOperation::Sleep);
    EXPECT_STREQ(Action(sleepButton.Action).Caption, L"Sleep");
    // Every other button carries the tag it always had: 1 to 15 in the order
    // of the catalogue, one after the other.
    for (const std::span<const ButtonPlace> group : {std::span<const ButtonPlace>(catalogue::HardwareButtons),
                                                     std::span<const ButtonPlace>(catalogue::KeyboardButtons)}) {
        for (const ButtonPlace& b : group) {
            if (&b == &sleepButton)
                continue;
            EXPECT_EQ(b.Tag, static_cast<int>(b.Action) + 1) << Action(b.Action).Name;
        }
    }
}

// Monitor On, Keep Awake and Lock and Monitor Off are reached by shortcut,
// command line and the Options window only; Control Panel by nothing.
TEST(ActionCatalogue, MenusAndButtonsReachEveryActionButTheOnesBeyondThemOnce)
{
    std::multiset<ActionId> inMenus;
    using Menu = std::span<const std::optional<ActionId>>;
    for (const Menu menu : {Menu(catalogue::SystemMenu), Menu(catalogue::KeyboardMenu)}) {
        for (const std::optional<ActionId>& id : menu) {
            if (id)
                inMenus.insert(*id);
        }
    }
    std::multiset<ActionId> onButtons;
    std::set<std::pair<int, int>> hardwarePlaces, keyboardPlaces;
    for (const auto& b : catalogue::HardwareButtons) {
        onButtons.insert(b.Action);
        hardwarePlaces.insert({b.Column, b.Row});
    }
    for (const auto& b : catalogue::KeyboardButtons) {
        onButtons.insert(b.Action);
        keyboardPlaces.insert({b.Column, b.Row});
    }
    EXPECT_EQ(hardwarePlaces.size(), std::size(catalogue::HardwareButtons)) << "two buttons share a place";
    EXPECT_EQ(keyboardPlaces.size(), std::size(catalogue::KeyboardButtons)) << "two buttons share a place";
    const std::set<ActionId> beyond = {ActionId::ControlPanel, ActionId::MonitorOn, ActionId::KeepAwake,
                                       ActionId::LockMonitorOff};
    for (const ActionEntry& a : catalogue::Actions) {
        // An action in the menus has a button, and the other way round.
        EXPECT_EQ(inMenus.count(a.Id), onButtons.count(a.Id)) << a.Name;
        EXPECT_LE(inMenus.count(a.Id), 1u) << a.Name;
    }
    // The fifteen from Monitor Off to Print Screen are in both.
    for (int i = 0; i <= static_cast<int>(ActionId::PrintScreen); ++i) {
        const ActionId id = static_cast<ActionId>(i);
        EXPECT_EQ(inMenus.count(id), 1u) << Action(id).Name;
    }
    for (const ActionId id : beyond)
        EXPECT_EQ(inMenus.count(id) + onButtons.count(id), 0u) << Action(id).Name;

    std::set<std::wstring> names;
    for (const auto& a : catalogue::Actions) {
        EXPECT_TRUE(names.insert(a.Name).second) << "a name twice: " << a.Name;
        EXPECT_EQ(catalogue::FindActionNamed(a.Name), &a);
    }
    EXPECT_EQ(catalogue::FindActionNamed(L"monitoroff"), nullptr) << "names are matched as written";
    EXPECT_EQ(catalogue::FindActionNamed(L"Bogus"), nullptr);
    // Only the three lock keys refresh the LEDs, each its own key.
    const std::pair<ActionId, LockKey> locks[] = {
        {ActionId::CapsLock, LockKey::Caps},
        {ActionId::NumLock, LockKey::Num},
        {ActionId::ScrollLock, LockKey::Scroll},
    };
    for (const ActionEntry& a : catalogue::Actions) {
        LockKey expected = LockKey::None;
        for (const auto& [id, key] : locks)
            if (a.Id == id)
                expected = key;
        EXPECT_EQ(a.Lock, expected) << a.Name;
    }
}

TEST(ActionCatalogue, OnlyTheIrreversibleAskAndOnlyWhileTheBoxIsChecked)
{
    const std::set<ActionId> irreversible = {ActionId::Hibernate, ActionId::LogOff, ActionId::Restart,
                                             ActionId::ShutDown, ActionId::PowerOff};
    for (const ActionEntry& a : catalogue::Actions) {
        EXPECT_EQ(catalogue::NeedsConfirmation(a, true), irreversible.count(a.Id) == 1) << a.Name;
        EXPECT_FALSE(catalogue::NeedsConfirmation(a, false)) << a.Name;
    }
}

TEST(ActionCatalogue, DialogCaption)
{
    const ActionEntry& powerOff = Action(ActionId::PowerOff);
    EXPECT_EQ(catalogue::DialogCaption(powerOff.Caption, true, L"Corvello"), L"Power Off");
    EXPECT_FALSE(catalogue::UsesApplicationIcon(true));
    EXPECT_EQ(catalogue::DialogCaption(L"Hibernate", false, L"Corvello"), L"Corvello - Hibernate");
    EXPECT_TRUE(catalogue::UsesApplicationIcon(false));
}

TEST(ActionCatalogue, TextsKeepTheirBlanksAndSpelling)
{
    EXPECT_STREQ(Action(ActionId::MonitorOff).Hint, L"Blanks the screen or turns the monitor off ");
    EXPECT_STREQ(Action(ActionId::ControlPanel).Hint, L"Opens Control Panel of  Windows sytem");
    EXPECT_STREQ(Action(ActionId::ScrollLock).Caption, L"Scroll Lock");
    EXPECT_STREQ(Action(ActionId::ScrollLock).Category, L"Keyboard Locks");
    EXPECT_STREQ(Action(ActionId::CtrlShiftEsc).Category, L"Keyboard Shortcuts");
    EXPECT_STREQ(Action(ActionId::PowerOff).Category, L"Corvello");
}
