// Formatting the program's own texts without printf: a "%" in an argument or
// in the text is never read as a format.
#include "core/Text.h"
#include "toolkit/Decimal.h"

#include <gtest/gtest.h>

#include <limits>

using namespace corvello;

TEST(FormatText, ReplacesEachPlaceholderInTurn)
{
    struct Case {
        const wchar_t* Format;
        std::initializer_list<std::wstring> Arguments;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {L"Do you really want to close \"%s\" application?", {L"Corvello"},
         L"Do you really want to close \"Corvello\" application?"},
        {L"%s\r\nPerform \"%s\" action?", {L"Hint", L"Power Off"}, L"Hint\r\nPerform \"Power Off\" action?"},
        // Arguments carrying format characters come out as they are.
        {L"%s and %s", {L"100%s", L"%d%n"}, L"100%s and %d%n"},
        // Too few arguments: the rest stays; too many: the extra ones go unused.
        {L"%s, %s", {L"one"}, L"one, %s"},
        {L"none", {L"unused"}, L"none"},
        {L"%d %x %", {L"unused"}, L"%d %x %"},
        {L"", {}, L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatText(c.Format, c.Arguments), c.Expected) << c.Format;
}

TEST(Decimal, WritesWholeNumbersAsTheStandardLibraryDoes)
{
    for (const long long value : {0LL, 7LL, -7LL, 10LL, 65184LL, -2147483648LL, 4294967295LL,
                                  std::numeric_limits<long long>::max(), std::numeric_limits<long long>::min()})
        EXPECT_EQ(tk::Decimal(value), std::to_wstring(value));
}
