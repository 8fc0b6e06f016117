#include "core/Shortcut.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvello;

namespace {

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

constexpr std::uint8_t Ctrl = modifier::Control;
constexpr std::uint8_t Alt = modifier::Alt;
constexpr std::uint8_t Shift = modifier::Shift;
constexpr std::uint8_t Win = modifier::Win;

}  // namespace

TEST(Shortcut, TheStoredFormHoldsTheKeyLowAndTheModifiersHigh)
{
    struct Case {
        std::uint32_t Stored;
        std::optional<Shortcut> Read;
    };
    const Case cases[] = {
        {0, Shortcut{}},
        {0x0003004D, Shortcut{'M', Ctrl | Alt}},             // Ctrl+Alt+M
        {0x00080070, Shortcut{0x70, Win}},                   // Win+F1
        {0x00000013, Shortcut{0x13, 0}},                     // Pause alone
        {0x000F0041, Shortcut{'A', Ctrl | Alt | Shift | Win}},
        {0x0000004D, Shortcut{'M', 0}},                      // refused when set, but possible
        {0x0010004D, std::nullopt},                          // an unknown modifier
        {0x4002004D, std::nullopt},                          // MOD_NOREPEAT is no stored modifier
        {0x0002014D, std::nullopt},                          // more than a key byte
        {0x00030000, std::nullopt},                          // modifiers without a key
        {0x00020011, std::nullopt},                          // Ctrl as the key
        {0x0002005B, std::nullopt},                          // a Windows key as the key
        {0x00020001, std::nullopt},                          // a mouse button
        {0x000200FF, std::nullopt},                          // no key of Windows'
        {0xFFFFFFFF, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeShortcut(c.Stored), c.Read) << std::hex << c.Stored;
        if (c.Read) {
            EXPECT_EQ(EncodeShortcut(*c.Read), c.Stored) << std::hex << c.Stored;
        }
    }
}

TEST(Shortcut, PlainTypingKeysAreRefusedFunctionPauseAndMediaKeysMayStandAlone)
{
    struct Case {
        Shortcut Combination;
        ShortcutProblem Problem;
    };
    const Case cases[] = {
        {{'M', 0}, ShortcutProblem::PlainKey},
        {{'7', 0}, ShortcutProblem::PlainKey},
        {{'M', Shift}, ShortcutProblem::PlainKey},
        {{0x20, 0}, ShortcutProblem::PlainKey},       // Space
        {{0x0D, Shift}, ShortcutProblem::PlainKey},   // Shift+Enter
        {{0x2E, 0}, ShortcutProblem::PlainKey},       // Delete
        {{'M', Ctrl}, ShortcutProblem::None},
        {{'M', Alt | Shift}, ShortcutProblem::None},
        {{'M', Win}, ShortcutProblem::None},
        {{0x71, 0}, ShortcutProblem::None},           // F2
        {{0x87, Shift}, ShortcutProblem::None},       // Shift+F24
        {{0x13, 0}, ShortcutProblem::None},           // Pause
        {{0xAD, 0}, ShortcutProblem::None},           // Volume Mute
        {{0xB3, 0}, ShortcutProblem::None},           // Play/Pause
        {{0x7B, 0}, ShortcutProblem::Reserved},       // F12 alone
        {{0x7B, Ctrl}, ShortcutProblem::None},
        {{0, Ctrl}, ShortcutProblem::Impossible},
        {{0x10, Ctrl}, ShortcutProblem::Impossible},  // Shift as the key
        {{0xA5, 0}, ShortcutProblem::Impossible},     // right Alt
        {{'M', 0x10}, ShortcutProblem::Impossible},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckShortcut(c.Combination), c.Problem) << Narrow(ShortcutText(c.Combination));
    EXPECT_TRUE(ShortcutProblemText(ShortcutProblem::None).empty());
    for (const auto problem : {ShortcutProblem::Impossible, ShortcutProblem::PlainKey, ShortcutProblem::Reserved,
                               ShortcutProblem::Common})
        EXPECT_FALSE(ShortcutProblemText(problem).empty());
}

TEST(Shortcut, CombinationsWindowsAndEveryProgramUseAreRefusedTheirNeighboursAreNot)
{
    for (const wchar_t* text :
         {L"Alt+Tab", L"Alt+Shift+Tab", L"Ctrl+Tab", L"Ctrl+Shift+Tab", L"Alt+F4", L"Alt+Esc", L"Alt+Space",
          L"Ctrl+Esc", L"Ctrl+A", L"Ctrl+C", L"Ctrl+F", L"Ctrl+N", L"Ctrl+O", L"Ctrl+P", L"Ctrl+S", L"Ctrl+V",
          L"Ctrl+W", L"Ctrl+X", L"Ctrl+Y", L"Ctrl+Z", L"F1", L"Shift+F10"}) {
        const auto shortcut = ParseShortcut(text);
        ASSERT_TRUE(shortcut) << Narrow(text);
        EXPECT_EQ(CheckShortcut(*shortcut), ShortcutProblem::Common) << Narrow(text);
    }
    // Another modifier with them makes a combination of its own.
    for (const wchar_t* text : {L"Ctrl+Alt+Tab", L"Win+Tab", L"Ctrl+Alt+F4", L"Ctrl+Shift+Esc", L"Ctrl+Alt+C",
                                L"Ctrl+Shift+S", L"Alt+C", L"Win+C", L"Ctrl+B", L"Ctrl+F1", L"Ctrl+Shift+F10",
                                L"F10", L"Alt+Shift+Space"}) {
        const auto shortcut = ParseShortcut(text);
        ASSERT_TRUE(shortcut) << Narrow(text);
        EXPECT_EQ(CheckShortcut(*shortcut), ShortcutProblem::None) << Narrow(text);
    }
}

TEST(Shortcut, TextGoesBothWays)
{
    struct Case {
        Shortcut Combination;
        const wchar_t* Text;
    };
    const Case cases[] = {
        {{'M', Ctrl | Alt}, L"Ctrl+Alt+M"},
        {{'M', Win | Shift | Alt | Ctrl}, L"Ctrl+Alt+Shift+Win+M"},
        {{0x70, 0}, L"F1"},
        {{0x87, Win}, L"Win+F24"},
        {{0x6B, Ctrl}, L"Ctrl+Num +"},
        {{0xBB, Ctrl}, L"Ctrl+="},
        {{0x64, Alt}, L"Alt+Num 4"},
        {{0x21, Ctrl}, L"Ctrl+Page Up"},
        {{0xB3, 0}, L"Play/Pause"},
        {{}, L""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShortcutText(c.Combination), c.Text);
        EXPECT_EQ(ParseShortcut(c.Text), c.Combination) << Narrow(c.Text);
    }
    // Every key with a name comes back from its text, with every modifier.
    for (int key = 1; key < 0xFF; ++key) {
        const Shortcut shortcut{static_cast<std::uint8_t>(key), modifier::All};
        if (KeyName(shortcut.Key).empty())
            continue;
        EXPECT_EQ(ParseShortcut(ShortcutText(shortcut)), shortcut) << Narrow(ShortcutText(shortcut));
    }
    // Any order and case of the modifiers; nothing twice, nothing unknown.
    EXPECT_EQ(ParseShortcut(L"alt+CTRL+m"), (Shortcut{'M', Ctrl | Alt}));
    for (const wchar_t* text : {L"Ctrl+Ctrl+M", L"Hyper+M", L"Ctrl+", L"Ctrl", L"+M", L"Ctrl+Alt", L"Ctrl+MM",
                                L"Ctrl + M", L"Ctrl+Num"})
        EXPECT_EQ(ParseShortcut(text), std::nullopt) << Narrow(text);
}
