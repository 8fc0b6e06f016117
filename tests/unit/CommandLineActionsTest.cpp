#include "actions/CommandLineActions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/CommandLine.h"

using namespace corvello;
using commandline::FindAction;
using commandline::HandOverTag;
using commandline::HandOverText;
using commandline::ReadHandOver;

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

}  // namespace

TEST(CommandLineActions, EveryNameRunsWhatTheCatalogueRunsForIt)
{
    using Op = ActionOperation;
    // The names the README promises.
    const std::vector<std::pair<std::wstring, Op>> promised = {
        {L"monitoroff", Op::MonitorOff}, {L"monitoron", Op::MonitorOn},
        {L"screensaver", Op::ScreenSaver}, {L"lock", Op::LockUser},
        {L"sleep", Op::Sleep}, {L"hibernate", Op::Hibernate},
        {L"logoff", Op::LogOff}, {L"restart", Op::Reboot},
        {L"shutdown", Op::ShutDown}, {L"poweroff", Op::PowerOff},
        {L"capslock", Op::SwitchCapsLock}, {L"numlock", Op::SwitchNumLock},
        {L"scrolllock", Op::SwitchScrollLock}, {L"ctrlshiftesc", Op::PressCtrlShiftEsc},
        {L"printscreen", Op::PressPrintScreen}, {L"keepawake", Op::KeepAwake},
        {L"lockmonitoroff", Op::LockMonitorOff},
    };
    for (const auto& [name, operation] : promised) {
        const ActionEntry* named = FindAction(name);
        ASSERT_NE(named, nullptr) << Narrow(name);
        EXPECT_EQ(commandline::NameOf(*named), name);
        // The entry brings the confirmation rule, caption and hint.
        EXPECT_EQ(named->Operation, operation) << Narrow(name);
    }
    // Every row the command line offers goes by its name in lower case, and
    // reaches the action mode: none holds an installer word. Only Ctrl+Alt+Del
    // and Control Panel stay off it.
    std::set<std::wstring> withheld;
    for (const ActionEntry& entry : catalogue::Actions) {
        const std::wstring name = commandline::NameOf(entry);
        if (entry.CommandLine == CommandLineName::Withheld) {
            withheld.insert(entry.Name);
            EXPECT_EQ(FindAction(name), nullptr) << Narrow(name);
            continue;
        }
        EXPECT_EQ(FindAction(name), &entry) << Narrow(name);
        EXPECT_EQ(FindAction(entry.Name), &entry) << Narrow(name);
        const WorkChoice choice = ChooseWork({L"/do:" + name});
        EXPECT_EQ(choice.Mode, WorkMode::Action) << Narrow(name);
        EXPECT_EQ(choice.ActionName, name);
    }
    EXPECT_EQ(withheld, (std::set<std::wstring>{L"CtrlAltDel", L"ControlPanel"}));
    // Only the power-off family asks first, as in the tray menu.
    std::set<std::wstring> confirmed;
    for (const auto& [name, operation] : promised)
        if (catalogue::NeedsConfirmation(*FindAction(name), true))
            confirmed.insert(name);
    EXPECT_EQ(confirmed, (std::set<std::wstring>{L"hibernate", L"logoff", L"restart", L"shutdown", L"poweroff"}));
}

TEST(CommandLineActions, NamesMatchWholeWithTheLettersAToZInAnyCase)
{
    EXPECT_EQ(commandline::NameOf(*FindAction(L"MonitorOff")), L"monitoroff");
    EXPECT_EQ(commandline::NameOf(*FindAction(L"POWEROFF")), L"poweroff");
    EXPECT_EQ(commandline::NameOf(*FindAction(L"CtrlShiftEsc")), L"ctrlshiftesc");
    const std::wstring refused[] = {
        L"", L"bogus", L"sleepy", L"slee", L" sleep", L"sleep ", L"sleep\t", L"monitor off",
        L"ctrlaltdel",    // in the menus, not on the command line
        L"controlpanel",  // likewise
        L"\x017Fleep",       // a long s is an S only outside A-Z
        L"H\x0130BERNATE",  // a dotted capital I is no I
        std::wstring(L"lock\0", 5), std::wstring(40000, L'a'),
    };
    for (const std::wstring& name : refused)
        EXPECT_EQ(FindAction(name), nullptr) << Narrow(name);
}

TEST(CommandLineActions, EveryNameGoesOverAndComesBack)
{
    for (const ActionEntry& entry : catalogue::Actions) {
        if (entry.CommandLine == CommandLineName::Withheld)
            continue;
        const std::u16string text = HandOverText(entry);
        EXPECT_EQ(text.size(), std::wcslen(entry.Name) + 1);
        EXPECT_EQ(text.back(), u'\0');
        const auto request = ReadHandOver(HandOverTag, text.data(), text.size() * sizeof(char16_t));
        ASSERT_TRUE(request) << Narrow(entry.Name);
        EXPECT_EQ(request->Action, &entry);
        EXPECT_EQ(request->Words.Wait, WaitKind::None);
    }
}

TEST(CommandLineActions, TheReceiverTakesOnlyWhatAStartingCopyWrites)
{
    const std::u16string lock(u"lock\0", 5);
    const std::size_t lockBytes = lock.size() * sizeof(char16_t);
    const std::u16string padded = std::u16string(u"lock") + std::u16string(80, u'\0');
    struct Case {
        const char* What;
        std::uintptr_t Tag;
        const void* Data;
        std::size_t Size;
    };
    const std::u16string unterminated(u"lock");
    const std::u16string innerNull(u"lo\0ck\0", 6);
    const std::u16string bogus(u"bogus\0", 6);
    const std::u16string upper(u"LOCK\0", 5);
    const std::u16string cyrillic(u"lo\u0441k\0", 5);
    const std::u16string justNull(u"\0", 1);
    const Case cases[] = {
        {"another tag", HandOverTag + 1, lock.data(), lockBytes},
        {"no tag", 0, lock.data(), lockBytes},
        {"the tag's high bits", HandOverTag | (std::uintptr_t{1} << 31), lock.data(), lockBytes},
        {"no data", HandOverTag, nullptr, lockBytes},
        {"no size", HandOverTag, lock.data(), 0},
        {"an odd size", HandOverTag, lock.data(), lockBytes - 1},
        {"a size short of the null", HandOverTag, lock.data(), lockBytes - 2},
        {"only the null", HandOverTag, justNull.data(), 2},
        {"more than the longest request", HandOverTag, padded.data(), commandline::MaxHandOverBytes + 2},
        {"a huge size", HandOverTag, lock.data(), std::size_t{1} << 30},  // nothing of it is read
        {"no null at the end", HandOverTag, unterminated.data(), unterminated.size() * 2},
        {"a null inside", HandOverTag, innerNull.data(), innerNull.size() * 2},
        {"nulls after the name", HandOverTag, padded.data(), 12},
        {"an unknown name", HandOverTag, bogus.data(), bogus.size() * 2},
        {"a name as no copy writes it", HandOverTag, upper.data(), upper.size() * 2},
        {"a letter outside ASCII", HandOverTag, cyrillic.data(), cyrillic.size() * 2},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(ReadHandOver(c.Tag, c.Data, c.Size)) << c.What;
    EXPECT_EQ(ReadHandOver(HandOverTag, lock.data(), lockBytes)->Action, FindAction(L"lock"));

    // Bytes at an odd address, as a message may carry them.
    alignas(char16_t) unsigned char shifted[32] = {};
    std::memcpy(shifted + 1, lock.data(), lockBytes);
    EXPECT_EQ(ReadHandOver(HandOverTag, shifted + 1, lockBytes)->Action, FindAction(L"lock"));
}

namespace {

commandline::Request RequestFor(const wchar_t* line)
{
    const WorkChoice choice = ChooseWork(CollectParams(SplitCommandLine(line)));
    return {choice.Mode == WorkMode::Action ? FindAction(choice.ActionName) : nullptr, choice.Words};
}

std::u16string Text(const char16_t* text)
{
    return std::u16string(text) + u'\0';
}

}  // namespace

TEST(CommandLineActions, TheWordsBesideANameMustFitIt)
{
    struct Case {
        const wchar_t* Line;
        bool Fits;
        bool Lasts;
    };
    const Case cases[] = {
        {L"t /do:capslock", true, false},
        {L"t /do:capslock /in:5s", true, true},
        {L"t /in:5s /do:capslock", true, true},  // wherever they stand
        {L"t /do:shutdown /at:23:30", true, true},
        {L"t /do:keepawake", true, true},  // holds until stopped
        {L"t /do:keepawake /in:2h /screen:on", true, true},
        {L"t /do:KeepAwake -AT:18:30 -Screen:Off", true, true},
        {L"t /do:keepawake /off", true, false},
        {L"t /do:capslock /in:5x", false, true},
        {L"t /do:capslock /in:", false, true},
        {L"t /do:capslock /in:0", false, true},
        {L"t /do:capslock /at:24:00", false, true},
        {L"t /do:capslock /in:5s /at:23:30", false, true},
        {L"t /do:capslock /in:5s /in:5s", false, true},
        {L"t /do:capslock /screen:on", false, false},  // only Keep Awake holds the screen
        {L"t /do:capslock /off", false, false},
        {L"t /do:keepawake /screen:dim", false, true},
        {L"t /do:keepawake /off /in:5s", false, true},
        {L"t /do:keepawake /off /screen:on", false, false},
        {L"t /do:keepawake /off /off", false, false},
        {L"t /do:capslock /cancel", false, false},
    };
    for (const auto& c : cases) {
        const commandline::Request request = RequestFor(c.Line);
        ASSERT_NE(request.Action, nullptr) << Narrow(c.Line);
        EXPECT_EQ(commandline::WordsFit(*request.Action, request.Words), c.Fits) << Narrow(c.Line);
        EXPECT_EQ(commandline::Lasts(*request.Action, request.Words), c.Lasts) << Narrow(c.Line);
    }
}

TEST(CommandLineActions, RequestsWithWordsGoOverAndComeBack)
{
    for (const wchar_t* line : {L"t /do:capslock /in:5s", L"t /do:POWEROFF /in:40S", L"t /do:shutdown /at:7:05",
                                L"t /do:keepawake /in:2h /screen:on", L"t /do:keepawake /screen:off",
                                L"t /do:keepawake /off", L"t /do:lockmonitoroff /at:23:59"}) {
        const commandline::Request request = RequestFor(line);
        ASSERT_TRUE(commandline::WordsFit(*request.Action, request.Words)) << Narrow(line);
        const std::u16string text = HandOverText(request);
        const auto back = ReadHandOver(HandOverTag, text.data(), text.size() * sizeof(char16_t));
        ASSERT_TRUE(back) << Narrow(line);
        EXPECT_EQ(back->Action, request.Action);
        EXPECT_EQ(back->Words.Wait, request.Words.Wait);
        EXPECT_EQ(back->Words.Seconds, request.Words.Seconds);
        EXPECT_EQ(back->Words.ClockMinute, request.Words.ClockMinute);
        EXPECT_EQ(back->Words.ScreenOn, request.Words.ScreenOn);
        EXPECT_EQ(back->Words.Off, request.Words.Off);
    }
    EXPECT_EQ(HandOverText(RequestFor(L"t /do:POWEROFF /in:40S")), Text(u"poweroff in:40s"));
    EXPECT_EQ(HandOverText(RequestFor(L"t /do:shutdown /at:7:05")), Text(u"shutdown at:07:05"));
    EXPECT_EQ(HandOverText(RequestFor(L"t /do:keepawake /in:2h /screen:on")), Text(u"keepawake in:7200s screen:on"));
    const std::u16string cancel = HandOverText(commandline::Request{});
    EXPECT_EQ(cancel, Text(u"cancel"));
    const auto back = ReadHandOver(HandOverTag, cancel.data(), cancel.size() * sizeof(char16_t));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Action, nullptr);
}

TEST(CommandLineActions, ACopyTooOldForTheWordsRefusesThem)
{
    // What every earlier copy took: one of its fifteen names alone, in at
    // most 26 bytes. A plain name still goes exactly so; anything new never
    // passes for one.
    const std::set<std::u16string> earlierNames = {
        u"monitoroff", u"monitoron", u"screensaver", u"lock", u"sleep", u"hibernate", u"logoff", u"restart",
        u"shutdown", u"poweroff", u"capslock", u"numlock", u"scrolllock", u"ctrlshiftesc", u"printscreen"};
    const auto earlierTakes = [&](const std::u16string& text) {
        return text.size() * sizeof(char16_t) <= 26 && earlierNames.count(text.substr(0, text.size() - 1)) == 1;
    };
    for (const ActionEntry& entry : catalogue::Actions) {
        if (entry.CommandLine == CommandLineName::Withheld)
            continue;
        const std::wstring name = commandline::NameOf(entry);
        EXPECT_EQ(earlierTakes(HandOverText(entry)),
                  earlierNames.count(std::u16string(name.begin(), name.end())) == 1);
    }
    for (const wchar_t* line : {L"t /do:lock /in:1", L"t /do:sleep /at:1:00", L"t /do:keepawake", L"t /do:keepawake /off"})
        EXPECT_FALSE(earlierTakes(HandOverText(RequestFor(line)))) << Narrow(line);
    EXPECT_FALSE(earlierTakes(HandOverText(commandline::Request{})));
}

TEST(CommandLineActions, TheReceiverTakesWordsOnlyAsAStartingCopyWritesThem)
{
    const char16_t* refused[] = {
        u"capslock in:5",          // seconds are written with their s
        u"capslock in:05s",        // and without a leading zero
        u"capslock in:5S",         // in lower case
        u"capslock IN:5s",
        u"capslock  in:5s",        // one blank
        u"capslock in:5s ",
        u"capslock at:7:05",       // hours in two digits
        u"capslock at:24:00",
        u"capslock in:5s at:07:05",
        u"capslock screen:on",     // words that do not fit the action
        u"capslock off",
        u"keepawake screen:on in:5s",  // in their order
        u"keepawake off off",
        u"keepawake in:0s",
        u"keepawake in:604801s",
        u"cancel in:5s",
        u"cancel capslock",
        u"capslock cancel",
        u"in:5s",
        u" capslock",
    };
    for (const char16_t* text : refused) {
        const std::u16string message = Text(text);
        EXPECT_FALSE(ReadHandOver(HandOverTag, message.data(), message.size() * sizeof(char16_t)))
            << Narrow(std::wstring(text, text + std::char_traits<char16_t>::length(text)));
    }
}
