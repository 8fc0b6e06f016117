// The command-line splitting agrees with Windows' own.
#include "core/CommandLine.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <random>

namespace {

std::vector<std::wstring> WindowsSplit(const std::wstring& line)
{
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(line.c_str(), &count);
    std::vector<std::wstring> out;
    for (int i = 0; argv && i < count; ++i)
        out.emplace_back(argv[i]);
    ::LocalFree(argv);
    return out;
}

}  // namespace

TEST(SplitCommandLine, AgreesWithCommandLineToArgvW)
{
    const wchar_t* lines[] = {
        L"tool.exe",
        L"\"C:\\Program Files\\tool.exe\" -startup",
        L"\"C:\\a\\b\"c d",
        L"t a\\b a\\\\b a\\\"b a\\\\\"b c\" a\\\\\\\"b",
        L"t \"a\" \"b\"",
        L"t \"a\"\"b\" c",
        L"t \"a\"\"\"b\"",
        L"t \"\"\"\"",
        L"t \"\" stop",
        L"t \"unbalanced arg",
        L"t \ta\t\tb  ",
        L"t \"\"\"\"\"\" x \"\"\"\"\" y",
        L"t \\\\\\\\\"\" z",
    };
    for (const wchar_t* line : lines)
        EXPECT_EQ(corvello::SplitCommandLine(line), WindowsSplit(line));

    // And on lines made of the characters that matter.
    std::mt19937 random(20261210);
    const wchar_t alphabet[] = {L'a', L' ', L'\t', L'"', L'\\', L'x'};
    for (int round = 0; round < 2000; ++round) {
        std::wstring line = L"t ";
        const int length = static_cast<int>(random() % 24);
        for (int i = 0; i < length; ++i)
            line += alphabet[random() % 6];
        ASSERT_EQ(corvello::SplitCommandLine(line), WindowsSplit(line));
    }
}
