#include "core/Identity.h"

#include <gtest/gtest.h>

using namespace corvello;

TEST(Identity, VersionTextIsDecimalWithoutLeadingZeros)
{
    EXPECT_EQ(VersionToText({1, 2, 0, 21}), L"1.2.0.21");
    EXPECT_EQ(VersionToText({1, 10, 0, 300}), L"1.10.0.300");
    EXPECT_EQ(VersionToText({65535, 0, 0, 0}), L"65535.0.0.0");
}

TEST(Identity, SettingsKeyTakesOnlyTheMajorNumber)
{
    EXPECT_EQ(ComposeSettingsKey(L"Corvello", {1, 2, 0, 21}), L"\\Software\\QUORVANT\\Corvello\\1.0");
    EXPECT_EQ(ComposeSettingsKey(L"Corvello", {1, 9, 3, 0}), L"\\Software\\QUORVANT\\Corvello\\1.0");
    EXPECT_EQ(ComposeSettingsKey(L"Corvello", {3, 0, 0, 0}), L"\\Software\\QUORVANT\\Corvello\\3.0");
}

TEST(Identity, FullNameAndVersion)
{
    EXPECT_EQ(ComposeFullName(L"Corvello", L"1.2.0.21"), L"Corvello (1.2.0.21)");
}

TEST(Identity, VersionFromResourceWords)
{
    EXPECT_EQ(VersionFromWords(0x00010002u, 0x00000015u), (VersionArray{1, 2, 0, 21}));
    EXPECT_EQ(VersionFromWords(0xFFFF0000u, 0x0001FFFFu), (VersionArray{65535, 0, 1, 65535}));
}

TEST(Identity, PathParts)
{
    EXPECT_EQ(SplitPath(L"C:\\Tools\\tool.exe").Directory, L"C:\\Tools\\");
    EXPECT_EQ(SplitPath(L"C:\\Tools\\tool.exe").FileName, L"tool.exe");
    EXPECT_EQ(SplitPath(L"tool.exe").Directory, L"");
    EXPECT_EQ(ChangeFileExt(L"C:\\Tools\\tool.exe", L".gid"), L"C:\\Tools\\tool.gid");
    EXPECT_EQ(ChangeFileExt(L"C:\\v1.0\\tool", L".gid"), L"C:\\v1.0\\tool.gid");
    EXPECT_EQ(ChangeFileExt(L"C:\\Tools\\my.tool.exe", L".gid"), L"C:\\Tools\\my.tool.gid");
}

TEST(Identity, HardwareAndDate)
{
    EXPECT_EQ(ComposeHardware(L"DESK01", L"operator"), L"DESK01-operator");
    EXPECT_EQ(FormatIsoDate(2026, 3, 7), L"2026-03-07");
    EXPECT_EQ(FormatIsoDate(987, 12, 31), L"0987-12-31");
}
