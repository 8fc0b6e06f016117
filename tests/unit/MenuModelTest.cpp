#include "toolkit/MenuModel.h"

#include <gtest/gtest.h>

#include "toolkit/Actions.h"

using tk::Action;
using tk::MenuItem;

TEST(MenuModel, EntriesMoveBetweenMenusKeepingOrder)
{
    MenuItem templ;
    templ.Add(std::make_unique<MenuItem>(L"setup", L"Settings", 100));
    templ.Add(std::make_unique<MenuItem>(L"about", L"About", 2));
    templ.Add(std::make_unique<MenuItem>(L"sep", L"-"));
    templ.Add(std::make_unique<MenuItem>(L"close", L"Close", 1));
    MenuItem tray;
    // From the last to the first, each to position 0.
    while (templ.Count() > 0)
        tray.Insert(0, templ.Remove(templ.Item(templ.Count() - 1)));
    ASSERT_EQ(tray.Count(), 4u);
    EXPECT_EQ(tray.Item(0).Name(), L"setup");
    EXPECT_EQ(tray.Item(3).Name(), L"close");
    EXPECT_TRUE(tray.Item(2).IsSeparator());
    EXPECT_EQ(tray.Item(1).Parent(), &tray);
    EXPECT_EQ(templ.Count(), 0u);

    MenuItem stranger;
    EXPECT_EQ(tray.Remove(stranger), nullptr);
    EXPECT_EQ(tray.Find(L"about"), &tray.Item(1));
    EXPECT_EQ(tray.Find(L"none"), nullptr);
}

TEST(MenuModel, ClicksAndActions)
{
    int clicks = 0;
    MenuItem item(L"item", L"Item", 7);
    item.OnClick = [&](MenuItem& sender) { clicks += sender.Tag; };
    item.Click();
    item.SetEnabled(false);
    item.Click();
    EXPECT_EQ(clicks, 7);

    Action action(L"actLock", L"Lock", L"Lock the computer", 2);
    int runs = 0;
    action.OnExecute = [&](Action& sender) { runs += sender.Tag(); };
    MenuItem bound(L"miLock");
    bound.SetAction(&action);
    EXPECT_EQ(bound.Caption(), L"Lock");
    bound.Click();
    EXPECT_EQ(runs, 2);
    action.SetEnabled(false);
    EXPECT_FALSE(bound.Enabled());
    bound.Click();
    EXPECT_EQ(runs, 2);
    action.SetChecked(true);
    EXPECT_TRUE(bound.Checked());

    int changes = 0;
    const int token = action.Subscribe([&] { ++changes; });
    action.SetCaption(L"Lock!");
    action.SetEnabled(false);  // no change, no notice
    action.Unsubscribe(token);
    action.SetCaption(L"Lock");
    EXPECT_EQ(changes, 1);
}
