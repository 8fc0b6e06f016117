// The lock keys' settings as read from what is stored, where the notice goes
// on a monitor, the full-screen rule, and the limit after which the policy
// gives way to another program.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "actions/LockKeySettings.h"
#include "actions/LockPolicy.h"
#include "ui/NoticePlacement.h"

using namespace corvello;

namespace {

StoredValue Dword(std::uint32_t value)
{
    return {value_type::Dword,
            {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)}};
}

StoredValue Text(const std::wstring& text)
{
    StoredValue value{value_type::String, {}};
    for (const wchar_t c : text + L'\0') {
        value.Data.push_back(static_cast<std::uint8_t>(c & 0xFF));
        value.Data.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    return value;
}

// A key's values as the registry would hand them over, and what the reading
// reported damaged.
struct StoredKey {
    std::map<std::wstring, StoredValue> Values;
    std::vector<std::wstring> Damaged;

    LockKeySettings Read()
    {
        return ReadSettings(
            LockKeyFields,
            [this](const wchar_t* name, std::size_t maxBytes) -> std::optional<StoredValue> {
                const auto found = Values.find(name);
                if (found == Values.end())
                    return std::nullopt;
                if (found->second.Data.size() > maxBytes)
                    return StoredValue{0, {}, true};
                return found->second;
            },
            [this](const wchar_t* name, const std::wstring&) { Damaged.push_back(name); });
    }
};

}  // namespace

TEST(LockKeySettings, NothingStoredGivesTheDefaults)
{
    StoredKey key;
    const LockKeySettings read = key.Read();
    EXPECT_EQ(read.Notice, 3u);  // Caps Lock and Num Lock
    EXPECT_FALSE(read.NoticeAllMonitors);
    EXPECT_EQ(read.NoticePosition, 7u);  // bottom centre
    EXPECT_EQ(read.NoticeMs, 1500u);
    EXPECT_EQ(read.NoticeOpacity, 85u);
    EXPECT_FALSE(read.NoticeOverFullScreen);
    EXPECT_EQ(read.TrayIcons, 0u);
    EXPECT_FALSE(read.TrayIconsOnlyWhileOn);
    EXPECT_FALSE(read.Sound);
    for (const LockKey lock : WatchedLocks)
        EXPECT_EQ(read.PolicyOf(lock), LockPolicy::None);
    EXPECT_EQ(read.SoundOn, L"");
    EXPECT_EQ(read.SoundOff, L"");
    EXPECT_TRUE(key.Damaged.empty());
}

TEST(LockKeySettings, EveryStoredValueIsTakenAtItsBounds)
{
    StoredKey key;
    key.Values = {{L"Notice", Dword(7)},           {L"NoticeAllMonitors", Dword(1)},
                  {L"NoticePosition", Dword(0)},   {L"NoticeMs", Dword(10000)},
                  {L"NoticeOpacity", Dword(20)},   {L"NoticeOverFullScreen", Dword(1)},
                  {L"TrayIcons", Dword(5)},        {L"TrayIconsOnlyWhileOn", Dword(1)},
                  {L"Sound", Dword(1)},            {L"CapsPolicy", Dword(2)},
                  {L"NumPolicy", Dword(1)},        {L"ScrollPolicy", Dword(0)},
                  {L"SoundOn", Text(L"C:\\Media\\on.wav")}, {L"SoundOff", Text(std::wstring(260, L'x'))}};
    const LockKeySettings read = key.Read();
    LockKeySettings expected;
    expected.Notice = 7;
    expected.NoticeAllMonitors = true;
    expected.NoticePosition = 0;
    expected.NoticeMs = 10000;
    expected.NoticeOpacity = 20;
    expected.NoticeOverFullScreen = true;
    expected.TrayIcons = 5;
    expected.TrayIconsOnlyWhileOn = true;
    expected.Sound = true;
    expected.SetPolicy(LockKey::Caps, LockPolicy::AlwaysOff);
    expected.SetPolicy(LockKey::Num, LockPolicy::AlwaysOn);
    expected.SoundOn = L"C:\\Media\\on.wav";
    expected.SoundOff = std::wstring(260, L'x');
    EXPECT_EQ(read, expected);
    EXPECT_TRUE(key.Damaged.empty());
}

TEST(LockKeySettings, ADamagedValueKeepsItsDefaultIsReportedAndCostsNoOtherItsValue)
{
    struct Case {
        const wchar_t* Name;
        StoredValue Value;
    };
    const Case cases[] = {
        {L"Notice", Dword(8)},
        {L"NoticePosition", Dword(9)},
        {L"NoticeMs", Dword(299)},
        {L"NoticeMs", Dword(10001)},
        {L"NoticeOpacity", Dword(19)},
        {L"NoticeOpacity", Dword(101)},
        {L"NoticeAllMonitors", Dword(2)},
        {L"NumPolicy", Dword(3)},
        // Numbers of another type than a four-byte DWORD, as the shortcuts.
        {L"CapsPolicy", Text(L"1")},
        {L"TrayIcons", Text(L"5")},
        {L"Sound", StoredValue{value_type::Qword, {1, 0, 0, 0, 0, 0, 0, 0}}},
        {L"NumPolicy", StoredValue{value_type::Dword, {1, 0}}},
        {L"NoticeAllMonitors", StoredValue{value_type::ExpandString, {'1', 0, 0, 0}}},
        {L"TrayIcons", StoredValue{value_type::Binary, {1, 2, 3, 4, 5}}},
        {L"NoticePosition", StoredValue{value_type::Binary, {1, 0, 0, 0}}},
        {L"SoundOn", Dword(1)},
        {L"SoundOff", Text(std::wstring(261, L'x'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Name, c.Name + std::wcslen(c.Name)));
        StoredKey key;
        // Every other value is stored properly, away from its default.
        key.Values = {{L"Notice", Dword(4)},   {L"NoticePosition", Dword(1)}, {L"NoticeMs", Dword(700)},
                      {L"NoticeOpacity", Dword(50)}, {L"NoticeAllMonitors", Dword(1)}, {L"NumPolicy", Dword(2)},
                      {L"CapsPolicy", Dword(2)}, {L"TrayIcons", Dword(2)},    {L"SoundOn", Text(L"a.wav")},
                      {L"SoundOff", Text(L"b.wav")}};
        const LockKeySettings proper = key.Read();
        key.Values[c.Name] = c.Value;
        const LockKeySettings read = key.Read();
        LockKeySettings expected = proper;
        const LockKeySettings defaults;
        for (const StoredField<LockKeySettings>& field : LockKeyFields) {
            if (std::wstring(field.Name) != c.Name)
                continue;
            if (field.Number)
                expected.*field.Number = defaults.*field.Number;
            if (field.Switch)
                expected.*field.Switch = defaults.*field.Switch;
            if (field.Text)
                expected.*field.Text = defaults.*field.Text;
        }
        EXPECT_EQ(read, expected);
        EXPECT_EQ(key.Damaged, std::vector<std::wstring>{c.Name});
    }
}

TEST(NoticePlacement, NinePlacesOnMonitorsOfEverySizeDpiAndPosition)
{
    struct Monitor {
        const char* What;
        Area Work;
        unsigned Dpi;
    };
    // A notice of 200 x 50 pixels; the margin is 24 pixels at 96 dpi, 36 at
    // 144 and 48 at 192.
    const Monitor monitors[] = {
        {"primary, 96 dpi, task bar at the bottom", {0, 0, 1920, 1040}, 96},
        {"left of the primary, 144 dpi", {-2560, 0, 0, 1400}, 144},
        {"above the primary, 192 dpi, task bar on top", {-100, -2160, 3740, 0}, 192},
        {"small, far off", {-30000, -20000, -29200, -19400}, 96},
    };
    for (const Monitor& m : monitors) {
        SCOPED_TRACE(m.What);
        const int margin = (24 * static_cast<int>(m.Dpi)) / 96;
        const int lefts[] = {m.Work.left + margin, m.Work.left + (m.Work.right - m.Work.left - 200) / 2,
                             m.Work.right - margin - 200};
        const int tops[] = {m.Work.top + margin, m.Work.top + (m.Work.bottom - m.Work.top - 50) / 2,
                            m.Work.bottom - margin - 50};
        for (std::uint32_t position = 0; position < 9; ++position)
            EXPECT_EQ(NoticePlace(m.Work, 200, 50, position, m.Dpi), (Point{lefts[position % 3], tops[position / 3]}))
                << "position " << position;
    }
}

TEST(NoticePlacement, ANoticeTooLargeForTheRoomStaysInsideWithItsTopLeftCornerWinning)
{
    const Area work{-1000, -500, -600, -300};  // 400 x 200
    // Room for the notice but not for the margins: they shrink.
    EXPECT_EQ(NoticePlace(work, 390, 190, 8, 96), (Point{-1000 + 5, -500 + 5}));
    EXPECT_EQ(NoticePlace(work, 390, 190, 0, 96), (Point{-1000 + 5, -500 + 5}));
    // Larger than the area: its left and top edges at the area's.
    EXPECT_EQ(NoticePlace(work, 500, 300, 8, 96), (Point{-1000, -500}));
    EXPECT_EQ(NoticePlace(work, 500, 300, 4, 96), (Point{-1000, -500}));
    // A position beyond the nine is the bottom centre.
    EXPECT_EQ(NoticePlace({0, 0, 1000, 800}, 200, 50, 9, 96), NoticePlace({0, 0, 1000, 800}, 200, 50, 7, 96));
    // Edges at the ends of the int range do not wrap.
    EXPECT_EQ(NoticePlace({2147483000, 0, 2147483600, 100}, 100, 20, 2, 96), (Point{2147483600 - 24 - 100, 24}));
}

TEST(NoticePlacement, OnlyAClientAreaCoveringTheWholeMonitorIsFullScreen)
{
    const Area monitor{-1920, 0, 0, 1080};
    struct Case {
        const char* What;
        Area Client;
        bool FullScreen;
    };
    const Case cases[] = {
        {"a game covering the monitor exactly", {-1920, 0, 0, 1080}, true},
        {"a video reaching beyond its edges", {-1930, -10, 10, 1090}, true},
        {"a maximised window below its caption", {-1920, 23, 0, 1040}, false},
        {"a maximised window with the task bar hidden", {-1920, 23, 0, 1080}, false},
        {"a window one pixel short on the right", {-1920, 0, -1, 1080}, false},
        {"a full-screen window on the other monitor", {0, 0, 1920, 1080}, false},
        {"no window (nothing in front)", {0, 0, 0, 0}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsFullScreen(c.Client, monitor), c.FullScreen) << c.What;
    EXPECT_FALSE(IsFullScreen({0, 0, 0, 0}, {0, 0, 0, 0})) << "an empty monitor";
}

TEST(LockPolicy, CorrectionsGiveWayAfterFiveWithinTenSecondsUntilReset)
{
    CorrectionLimit limit;
    using Answer = CorrectionLimit::Answer;
    // Five in quick succession go ahead; the sixth within 10 s of the first
    // gives way, once, and the key stays given up.
    for (std::uint32_t t : {1000u, 1100u, 1200u, 5000u, 10900u})
        EXPECT_EQ(limit.Ask(t), Answer::Correct) << t;
    EXPECT_EQ(limit.Ask(11000), Answer::GiveWay);
    EXPECT_TRUE(limit.Stopped());
    EXPECT_EQ(limit.Ask(60000), Answer::GaveWay);
    limit.Reset();
    EXPECT_FALSE(limit.Stopped());
    EXPECT_EQ(limit.Ask(60001), Answer::Correct);
}

TEST(LockPolicy, CorrectionsSpreadOverMoreThanTenSecondsNeverGiveWay)
{
    CorrectionLimit limit;
    // One every 2.1 s: any six of them span more than 10 s. The tick count
    // wraps on the way.
    std::uint32_t t = 0xFFFFFFFFu - 9000;
    for (int i = 0; i < 40; ++i, t += 2100)
        ASSERT_EQ(limit.Ask(t), CorrectionLimit::Answer::Correct) << i;
    // Six within the window across the wrap give way.
    CorrectionLimit wrapped;
    for (std::uint32_t step = 0; step < 5; ++step)
        EXPECT_EQ(wrapped.Ask(0xFFFFFFFFu - 3000 + step * 1000), CorrectionLimit::Answer::Correct);
    EXPECT_EQ(wrapped.Ask(5000), CorrectionLimit::Answer::GiveWay);
}

TEST(LockPolicy, WhatThePolicySwitchesAndWhatTheNoticeSays)
{
    EXPECT_TRUE(PolicyWantsSwitch(LockPolicy::AlwaysOn, false));
    EXPECT_FALSE(PolicyWantsSwitch(LockPolicy::AlwaysOn, true));
    EXPECT_TRUE(PolicyWantsSwitch(LockPolicy::AlwaysOff, true));
    EXPECT_FALSE(PolicyWantsSwitch(LockPolicy::AlwaysOff, false));
    EXPECT_FALSE(PolicyWantsSwitch(LockPolicy::None, true));
    EXPECT_FALSE(PolicyWantsSwitch(LockPolicy::None, false));

    EXPECT_EQ(LockStateText(LockKey::Caps, true, false), L"Caps Lock on");
    EXPECT_EQ(LockStateText(LockKey::Num, false, false), L"Num Lock off");
    EXPECT_EQ(LockStateText(LockKey::Num, true, true), L"Num Lock kept on");
    EXPECT_EQ(LockStateText(LockKey::Scroll, false, true), L"Scroll Lock kept off");
    EXPECT_EQ(LockBit(LockKey::Caps) | LockBit(LockKey::Num) | LockBit(LockKey::Scroll), 7u);
    EXPECT_EQ(LockBit(LockKey::Num), 2u);
    EXPECT_TRUE(HasLock(4, LockKey::Scroll));
    EXPECT_FALSE(HasLock(3, LockKey::Scroll));
    EXPECT_NE(GaveWayText(LockKey::Num, LockPolicy::AlwaysOn).find(L"switching Num Lock off"), std::wstring::npos);
}

TEST(LockPolicy, TheUsersOwnPressesAreCorrectedButNeverCountAsAFight)
{
    using Answer = CorrectionLimit::Answer;
    constexpr SwitchedBy User = SwitchedBy::Keyboard;
    constexpr SwitchedBy Program = SwitchedBy::Program;
    const struct {
        const char* What;
        std::vector<SwitchedBy> Switches;  // 100 ms apart
        Answer Last;
    } cases[] = {
        {"the user presses the key twenty times", std::vector<SwitchedBy>(20, User), Answer::Correct},
        {"five by a program among the user's", {User, Program, User, Program, Program, User, Program, Program, User},
         Answer::Correct},
        {"the sixth by a program gives way, the user's between them aside",
         {Program, User, Program, Program, User, User, Program, Program, Program}, Answer::GiveWay},
        {"given way, the user's press is left alone too",
         {Program, Program, Program, Program, Program, Program, User}, Answer::GaveWay},
    };
    for (const auto& c : cases) {
        CorrectionLimit limit;
        std::uint32_t now = 1000;
        Answer last = Answer::Correct;
        for (std::size_t i = 0; i < c.Switches.size(); ++i, now += 100) {
            last = limit.Ask(now, c.Switches[i]);
            if (i + 1 < c.Switches.size() && c.Last != Answer::GaveWay) {
                EXPECT_EQ(last, Answer::Correct) << c.What << ", switch " << i;
            }
        }
        EXPECT_EQ(last, c.Last) << c.What;
    }
}

TEST(LockPolicy, AKeyLetGoIsTheUsersOnlyWithAKeyboardsDeviceAndScanCode)
{
    // Windows: a program's input has no device. Wine gives it the keyboard's,
    // and a program sending the virtual key alone leaves the scan code 0.
    EXPECT_EQ(LetGoBy(true, 0x45), SwitchedBy::Keyboard);
    EXPECT_EQ(LetGoBy(false, 0x45), SwitchedBy::Program);
    EXPECT_EQ(LetGoBy(true, 0), SwitchedBy::Program);
    EXPECT_EQ(LetGoBy(false, 0), SwitchedBy::Program);
}
