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

TEST(CommandLineActions, EveryNameRunsWhatTheCatalogueRunsForItsTag)
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
        {L"printscreen", Op::PressPrintScreen},
    };
    ASSERT_EQ(std::size(commandline::Actions), promised.size());
    std::size_t longest = 0;
    for (const auto& [name, operation] : promised) {
        const NamedAction* named = FindAction(name);
        ASSERT_NE(named, nullptr) << Narrow(name);
        EXPECT_EQ(named->Name, name);
        // The tag brings the confirmation rule, caption and hint: it must be
        // the catalogue's action for the same operation.
        EXPECT_EQ(catalogue::OperationFor(named->Tag), operation) << Narrow(name);
        // Every name reaches the action mode: none holds an installer word.
        const WorkChoice choice = ChooseWork({L"/do:" + name});
        EXPECT_EQ(choice.Mode, WorkMode::Action) << Narrow(name);
        EXPECT_EQ(choice.ActionName, name);
        longest = std::max(longest, name.size());
    }
    EXPECT_EQ(commandline::MaxHandOverBytes, (longest + 1) * sizeof(char16_t));
    // Only the power-off family asks first, as in the tray menu.
    std::set<std::wstring> confirmed;
    for (const NamedAction& named : commandline::Actions)
        if (catalogue::NeedsConfirmation(named.Tag, true))
            confirmed.insert(named.Name);
    EXPECT_EQ(confirmed, (std::set<std::wstring>{L"hibernate", L"logoff", L"restart", L"shutdown", L"poweroff"}));
}

TEST(CommandLineActions, NamesMatchWholeWithTheLettersAToZInAnyCase)
{
    EXPECT_STREQ(FindAction(L"MonitorOff")->Name, L"monitoroff");
    EXPECT_STREQ(FindAction(L"POWEROFF")->Name, L"poweroff");
    EXPECT_STREQ(FindAction(L"CtrlShiftEsc")->Name, L"ctrlshiftesc");
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
    for (const NamedAction& named : commandline::Actions) {
        const std::u16string text = HandOverText(named);
        EXPECT_EQ(text.size(), std::wcslen(named.Name) + 1);
        EXPECT_EQ(text.back(), u'\0');
        EXPECT_EQ(ReadHandOver(HandOverTag, text.data(), text.size() * sizeof(char16_t)), &named) << Narrow(named.Name);
    }
}

TEST(CommandLineActions, TheReceiverTakesOnlyWhatAStartingCopyWrites)
{
    const std::u16string lock(u"lock\0", 5);
    const std::size_t lockBytes = lock.size() * sizeof(char16_t);
    const std::u16string padded = std::u16string(u"lock") + std::u16string(20, u'\0');
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
        {"more than the longest name", HandOverTag, padded.data(), commandline::MaxHandOverBytes + 2},
        {"a huge size", HandOverTag, lock.data(), std::size_t{1} << 30},  // nothing of it is read
        {"no null at the end", HandOverTag, unterminated.data(), unterminated.size() * 2},
        {"a null inside", HandOverTag, innerNull.data(), innerNull.size() * 2},
        {"nulls after the name", HandOverTag, padded.data(), 12},
        {"an unknown name", HandOverTag, bogus.data(), bogus.size() * 2},
        {"a name as no copy writes it", HandOverTag, upper.data(), upper.size() * 2},
        {"a letter outside ASCII", HandOverTag, cyrillic.data(), cyrillic.size() * 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadHandOver(c.Tag, c.Data, c.Size), nullptr) << c.What;
    EXPECT_STREQ(ReadHandOver(HandOverTag, lock.data(), lockBytes)->Name, L"lock");

    // Bytes at an odd address, as a message may carry them.
    alignas(char16_t) unsigned char shifted[32] = {};
    std::memcpy(shifted + 1, lock.data(), lockBytes);
    EXPECT_STREQ(ReadHandOver(HandOverTag, shifted + 1, lockBytes)->Name, L"lock");
}
