#include "core/CommandLine.h"
#include "core/Text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

using corvello::ChooseWork;
using corvello::ChooseWorkMode;
using corvello::CollectParams;
using corvello::SplitCommandLine;
using corvello::WaitKind;
using corvello::WorkMode;

namespace {

WorkMode ModeOf(const std::wstring& commandLine)
{
    return ChooseWorkMode(CollectParams(SplitCommandLine(commandLine)));
}

}  // namespace

TEST(SplitCommandLine, FollowsTheWindowsRules)
{
    struct Case {
        const wchar_t* Line;
        std::vector<std::wstring> Elements;
    };
    const Case cases[] = {
        {L"tool.exe", {L"tool.exe"}},
        {L"tool.exe   ", {L"tool.exe"}},
        {L"\"C:\\Program Files\\tool.exe\" -startup", {L"C:\\Program Files\\tool.exe", L"-startup"}},
        {L"\"C:\\a\\b\"c d", {L"C:\\a\\b", L"c", L"d"}},
        {L"C:\\a\\\"b c", {L"C:\\a\\\"b", L"c"}},  // the program name knows no escapes
        {L"t a\tb  c", {L"t", L"a", L"b", L"c"}},
        {L"t \"a b\" c", {L"t", L"a b", L"c"}},
        {L"t a\"b c\"d", {L"t", L"ab cd"}},
        {L"t \"\" stop", {L"t", L"", L"stop"}},
        {L"t \"unbalanced arg", {L"t", L"unbalanced arg"}},
        {L"t a\\b a\\\\b", {L"t", L"a\\b", L"a\\\\b"}},
        {L"t a\\\"b", {L"t", L"a\"b"}},          // 1 backslash: literal quote
        {L"t a\\\\\"b c\"", {L"t", L"a\\b c"}},  // 2 backslashes: one, quote delimits
        {L"t a\\\\\\\"b", {L"t", L"a\\\"b"}},    // 3 backslashes: one and a quote
        {L"t \"a\" \"b\"", {L"t", L"a", L"b"}},
        {L"t \"a\"\"b\" c", {L"t", L"a\"b c"}},  // the third quote (with the opening one) is literal
        {L"t \"a\"\"\"b\"", {L"t", L"a\"b"}},
        {L"t \"\"\"\"", {L"t", L"\""}},
        {L"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(c.Line), c.Elements) << "line: " << std::string(c.Line, c.Line + std::wcslen(c.Line));
}

TEST(CollectParams, SkipsTheProgramAndStopsAtTheFirstEmptyArgument)
{
    EXPECT_EQ(CollectParams({L"t", L"a", L"", L"b"}), (std::vector<std::wstring>{L"a"}));
    EXPECT_EQ(CollectParams({L"t"}), std::vector<std::wstring>{});
    EXPECT_EQ(CollectParams({}), std::vector<std::wstring>{});
}

TEST(CollectParams, ThePiecesOfTheProgramsOwnUnquotedPathAreNoArguments)
{
    struct Case {
        const wchar_t* Line;
        const wchar_t* Module;
        std::vector<std::wstring> Params;
    };
    const wchar_t* tools = L"C:\\Program Files\\Reset Tools\\corvello.exe";
    const Case cases[] = {
        {L"C:\\Program Files\\Reset Tools\\corvello.exe", tools, {}},
        {L"C:\\Program Files\\Reset Tools\\corvello.exe -startup", tools, {L"-startup"}},
        {L"c:\\PROGRAM files\\reset TOOLS\\Corvello.EXE stop", tools, {L"stop"}},
        {L"C:\\Program Files\\Reset Tools\\corvello reset", tools, {L"reset"}},  // ".exe" left out
        {L"Reset Tools\\corvello.exe", tools, {}},                               // relative to a folder
        {L"Program Files\\Reset Tools\\corvello.exe c", tools, {L"c"}},
        {L"C:\\Program  Files\\Reset \t Tools\\corvello.exe", L"C:\\Program  Files\\Reset Tools\\corvello.exe", {}},
        {L"\"C:\\Program Files\\Reset Tools\\corvello.exe\" reset", tools, {L"reset"}},
        // Pieces that do not make up the program's own path are arguments.
        {L"C:\\Program Files\\Reset Tools\\other.exe", tools, {L"Files\\Reset", L"Tools\\other.exe"}},
        {L"C:\\Program Files\\Reset", tools, {L"Files\\Reset"}},
        {L"C:\\Program Files\\Reset Tools\\corvello.exe.bak", tools, {L"Files\\Reset", L"Tools\\corvello.exe.bak"}},
        {L"ols\\corvello.exe reset", L"C:\\Reset To ols\\corvello.exe", {L"reset"}},  // not after a backslash
        {L"C:\\Program Files\\Reset Tools\\corvello.exe", L"", {L"Files\\Reset", L"Tools\\corvello.exe"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CollectParams(SplitCommandLine(c.Line), c.Module), c.Params)
            << "line: " << std::string(c.Line, c.Line + std::wcslen(c.Line));
    // The rule for real arguments stays: the first that holds a word wins.
    EXPECT_EQ(ChooseWorkMode(CollectParams(SplitCommandLine(std::wstring(tools) + L" x reset"), tools)),
              WorkMode::Reset);
    EXPECT_EQ(ChooseWorkMode(CollectParams(SplitCommandLine(tools), tools)), WorkMode::Default);
}

TEST(ChooseWorkMode, TheFirstMatchingArgumentAndRuleWins)
{
    struct Case {
        const wchar_t* Line;
        WorkMode Mode;
    };
    const Case cases[] = {
        {L"corvello.exe", WorkMode::Default},
        {L"corvello.exe -startup", WorkMode::Startup},
        {L"corvello.exe /STARTUP", WorkMode::Startup},
        {L"corvello.exe autostartup", WorkMode::Startup},
        {L"corvello.exe --startup", WorkMode::Startup},
        {L"corvello.exe /Uninstall", WorkMode::Uninstall},
        {L"corvello.exe -install", WorkMode::Install},
        {L"corvello.exe reset", WorkMode::Reset},
        {L"corvello.exe stop", WorkMode::Stop},
        {L"corvello.exe nonstop", WorkMode::Stop},
        {L"corvello.exe restart", WorkMode::Default},
        {L"corvello.exe c", WorkMode::Settings},
        {L"corvello.exe S", WorkMode::Settings},
        {L"corvello.exe -c", WorkMode::Default},
        {L"corvello.exe /s", WorkMode::Default},
        {L"corvello.exe cs", WorkMode::Default},
        {L"corvello.exe reset stop", WorkMode::Reset},
        {L"corvello.exe x stop", WorkMode::Stop},
        {L"corvello.exe s stop", WorkMode::Settings},
        {L"corvello.exe \"\" stop", WorkMode::Default},
        {L"corvello.exe \"-re set\" \"st\"op", WorkMode::Stop},  // quotes group and vanish
        {L"corvello.exe \"/stop", WorkMode::Stop},               // unbalanced quote
        {L"corvello.exe STARTUPUNINSTALL", WorkMode::Startup},   // rule order, not position
        {L"corvello.exe /options", WorkMode::Options},
        {L"corvello.exe -OPTIONS", WorkMode::Options},
        {L"corvello.exe options", WorkMode::Default},            // the whole word with its sign
        {L"corvello.exe /options2", WorkMode::Default},
        {L"corvello.exe /options stop", WorkMode::Options},      // the first argument that matches (refused)
        {L"corvello.exe stop /options", WorkMode::Stop},
        {L"corvello.exe \x00C9stop", WorkMode::Stop},            // non-ASCII around a word
        {L"corvello.exe \x0130NSTALL", WorkMode::Default},      // only A-Z fold
        {L"corvello.exe s\x0001", WorkMode::Default},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ModeOf(c.Line), c.Mode) << "line: " << std::string(c.Line, c.Line + std::wcslen(c.Line));
}

TEST(ChooseWorkMode, HugeAndHostileCommandLinesGiveTheDefault)
{
    std::wstring line = L"corvello.exe ";
    for (int i = 0; i < 32 * 1024; ++i)
        line += static_cast<wchar_t>(i % 7 == 0 ? L'"' : (i % 5 == 0 ? L'\\' : L'x'));
    EXPECT_EQ(ModeOf(line), WorkMode::Default);

    std::wstring controls = L"corvello.exe ";
    for (wchar_t c = 1; c < 32; ++c)
        controls += c;
    EXPECT_EQ(ModeOf(controls), WorkMode::Default);
}

TEST(ChooseWork, TheActionWordComesAfterTheOtherRules)
{
    struct Case {
        const wchar_t* Line;
        WorkMode Mode;
        const wchar_t* Name;
    };
    const Case cases[] = {
        {L"t /do:monitoroff", WorkMode::Action, L"monitoroff"},
        {L"t -do:sleep", WorkMode::Action, L"sleep"},
        {L"t /DO:Sleep", WorkMode::Action, L"Sleep"},  // the name as given; finding it folds the case
        {L"t -dO:CAPSLOCK", WorkMode::Action, L"CAPSLOCK"},
        {L"t /do:restart", WorkMode::Action, L"restart"},  // holds neither "reset" nor "startup"
        {L"t /do:shutdown", WorkMode::Action, L"shutdown"},
        // Unknown names, an empty one and a name inside a longer one are the
        // word all the same: the action mode refuses them.
        {L"t /do:bogus", WorkMode::Action, L"bogus"},
        {L"t /do:", WorkMode::Action, L""},
        {L"t /do:sleepy", WorkMode::Action, L"sleepy"},
        {L"t \"/do:sleep now\"", WorkMode::Action, L"sleep now"},
        {L"t \"/do:\"lock", WorkMode::Action, L"lock"},  // quotes group and vanish
        // Only at the start of an argument, with one sign and a colon.
        {L"t x/do:sleep", WorkMode::Default, L""},
        {L"t --do:sleep", WorkMode::Default, L""},
        {L"t \\do:sleep", WorkMode::Default, L""},
        {L"t do:sleep", WorkMode::Default, L""},
        {L"t /do=sleep", WorkMode::Default, L""},
        {L"t /do sleep", WorkMode::Default, L""},
        {L"t /d\xFF2F:sleep", WorkMode::Default, L""},  // a full-width O is no O
        // The installer words match first, in the argument and before it.
        {L"t /do:stop", WorkMode::Stop, L""},
        {L"t /do:reinstall", WorkMode::Install, L""},
        {L"t /do:uninstall", WorkMode::Uninstall, L""},
        {L"t -do:autostartup", WorkMode::Startup, L""},
        {L"t /do:RESET", WorkMode::Reset, L""},
        {L"t stop /do:sleep", WorkMode::Stop, L""},
        {L"t c /do:sleep", WorkMode::Settings, L""},
        // The first argument that matches decides (the words beside it
        // will not do: below).
        {L"t /do:sleep stop", WorkMode::Action, L"sleep"},
        {L"t x /do:lock /do:sleep", WorkMode::Action, L"lock"},
        {L"t \"\" /do:lock", WorkMode::Default, L""},
    };
    for (const auto& c : cases) {
        const auto choice = ChooseWork(CollectParams(SplitCommandLine(c.Line)));
        const std::string line(c.Line, c.Line + std::wcslen(c.Line));
        EXPECT_EQ(choice.Mode, c.Mode) << "line: " << line;
        EXPECT_EQ(choice.ActionName, c.Name) << "line: " << line;
        EXPECT_EQ(ModeOf(c.Line), c.Mode) << "line: " << line;
    }
}

TEST(ChooseWork, TheWordsBesideTheActionWordCancelAndOptions)
{
    struct Case {
        const wchar_t* Line;
        WorkMode Mode;
        WaitKind Wait;
        std::uint32_t Seconds;
        int ClockMinute;
        bool Malformed;
    };
    const Case cases[] = {
        {L"t /do:capslock /in:5s", WorkMode::Action, WaitKind::In, 5, 0, false},
        {L"t -IN:2H /do:capslock", WorkMode::Action, WaitKind::In, 7200, 0, false},
        {L"t /do:shutdown /at:23:30", WorkMode::Action, WaitKind::At, 0, 1410, false},
        {L"t /do:shutdown -At:0:00", WorkMode::Action, WaitKind::At, 0, 0, false},
        {L"t /do:shutdown /at:25:00", WorkMode::Action, WaitKind::At, 0, 0, true},
        {L"t /do:shutdown /in:soon", WorkMode::Action, WaitKind::In, 0, 0, true},
        {L"t /do:shutdown /in:5 /in:5", WorkMode::Action, WaitKind::In, 300, 0, true},
        // Misspelt words are no words: they will not do either.
        {L"t /do:capslock /in=5m", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:shutdown /in 1h", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:capslock in:5m", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:capslock --in:5m", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:capslock /at=23:30", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:capslock /in:5m /bogus", WorkMode::Action, WaitKind::In, 300, 0, true},
        {L"t /bogus /do:capslock", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:shutdown /screen", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:shutdown /", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:sleep stop", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:sleep c", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t x /do:lock /do:sleep", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:lock /do:lock", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:capslock /cancel", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /do:capslock /options", WorkMode::Action, WaitKind::None, 0, 0, true},
        {L"t /cancel", WorkMode::Cancel, WaitKind::None, 0, 0, false},
        {L"t -CANCEL", WorkMode::Cancel, WaitKind::None, 0, 0, false},
        // "/cancel" and "/options" take no word at all.
        {L"t /cancel /in:5s", WorkMode::Cancel, WaitKind::None, 0, 0, true},
        {L"t /cancel /do:capslock", WorkMode::Cancel, WaitKind::None, 0, 0, true},
        {L"t /cancel /cancel", WorkMode::Cancel, WaitKind::None, 0, 0, true},
        {L"t /cancel /bogus", WorkMode::Cancel, WaitKind::None, 0, 0, true},
        {L"t /cancel -x", WorkMode::Cancel, WaitKind::None, 0, 0, true},
        {L"t /cancel /in", WorkMode::Cancel, WaitKind::None, 0, 0, true},
        {L"t /options", WorkMode::Options, WaitKind::None, 0, 0, false},
        {L"t /options /in:5m", WorkMode::Options, WaitKind::None, 0, 0, true},
        {L"t x -options", WorkMode::Options, WaitKind::None, 0, 0, true},
        {L"t cancel", WorkMode::Default, WaitKind::None, 0, 0, false},
        {L"t /cancelled", WorkMode::Default, WaitKind::None, 0, 0, false},
        // Beside no action word, the words are no more than any argument.
        {L"t /in:5s", WorkMode::Default, WaitKind::None, 0, 0, false},
        {L"t /in 5m /bogus", WorkMode::Default, WaitKind::None, 0, 0, false},
        // The installer words still come first.
        {L"t stop /cancel", WorkMode::Stop, WaitKind::None, 0, 0, false},
        {L"t stop /do:capslock /bogus", WorkMode::Stop, WaitKind::None, 0, 0, false},
    };
    for (const auto& c : cases) {
        const auto choice = ChooseWork(CollectParams(SplitCommandLine(c.Line)));
        const std::string line(c.Line, c.Line + std::wcslen(c.Line));
        EXPECT_EQ(choice.Mode, c.Mode) << "line: " << line;
        EXPECT_EQ(choice.Words.Wait, c.Wait) << "line: " << line;
        EXPECT_EQ(choice.Words.Malformed, c.Malformed) << "line: " << line;
        if (!c.Malformed && c.Wait == WaitKind::In) {
            EXPECT_EQ(choice.Words.Seconds, c.Seconds) << "line: " << line;
        }
        if (!c.Malformed && c.Wait == WaitKind::At) {
            EXPECT_EQ(choice.Words.ClockMinute, c.ClockMinute) << "line: " << line;
        }
    }
    const auto screen = ChooseWork({L"/do:keepawake", L"/Screen:ON", L"-off"}).Words;
    EXPECT_EQ(screen.ScreenOn, std::optional<bool>(true));
    EXPECT_TRUE(screen.Off);
    EXPECT_FALSE(screen.Malformed);
    EXPECT_EQ(ChooseWork({L"/do:keepawake", L"/screen:off"}).Words.ScreenOn, std::optional<bool>(false));
    EXPECT_TRUE(ChooseWork({L"/do:keepawake", L"/screen:off", L"/screen:on"}).Words.Malformed);
    EXPECT_TRUE(ChooseWork({L"/do:lock", std::wstring(5000, L'x')}).Words.Malformed);
}

TEST(Text, CaseFoldsOnlyTheLettersAToZ)
{
    EXPECT_EQ(corvello::LowerAscii(L"AZaz09[@\x00C9"), L"azaz09[@\x00C9");
    EXPECT_EQ(corvello::UpperAscii(L"AZaz09[@\x00E9"), L"AZAZ09[@\x00E9");
    EXPECT_EQ(corvello::TrimBlanks(L" \t\x0001" L"a b\r\n"), L"a b");
    EXPECT_EQ(corvello::TrimBlanks(L"\x0002"), L"");
}
