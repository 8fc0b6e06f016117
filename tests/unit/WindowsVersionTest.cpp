#include "core/WindowsVersion.h"

#include <gtest/gtest.h>

using namespace corvello;

TEST(WindowsVersion, ClassifiesFromTheVersionQuery)
{
    struct Case {
        VersionQuery Query;
        int ProductType;
        WindowsVersion Version;
        bool NT;
        bool VistaOrHigher;
    };
    using V = WindowsVersion;
    const Case cases[] = {
        {{1, 4, 0, L""}, 0, V::Win95, false, false},
        {{1, 4, 0, L" B "}, 0, V::Win95OSR2, false, false},
        {{1, 4, 0, L"\tB\r\n"}, 0, V::Win95OSR2, false, false},
        {{1, 4, 0, L"C"}, 0, V::Win95, false, false},
        {{1, 4, 0, L"b"}, 0, V::Win95, false, false},
        {{1, 4, 10, L" A "}, 0, V::Win98SE, false, false},
        {{1, 4, 10, L""}, 0, V::Win98, false, false},
        {{1, 4, 90, L""}, 0, V::WinME, false, false},
        {{1, 4, 50, L""}, 0, V::Unknown, false, true},
        {{2, 3, 51, L""}, 0, V::WinNT3, true, false},
        {{2, 4, 0, L""}, 0, V::WinNT4, true, false},
        {{2, 5, 0, L""}, 0, V::Win2000, true, false},
        {{2, 5, 1, L""}, 0, V::WinXP, true, false},
        {{2, 5, 2, L""}, 1, V::Win2003, true, false},
        {{2, 6, 0, L""}, 1, V::WinVista, true, true},
        {{2, 6, 1, L""}, 1, V::Win7, true, true},
        {{2, 6, 1, L""}, 2, V::WinServer2008, true, true},
        {{2, 6, 0, L""}, 3, V::WinServer2008, true, true},
        {{2, 6, 2, L""}, 1, V::WinVista, true, true},
        {{2, 6, 3, L""}, 0, V::WinVista, true, true},
        {{2, 10, 0, L""}, 1, V::Unknown, true, true},
        {{0, 3, 1, L""}, 0, V::Unknown, false, true},
    };
    for (const auto& c : cases) {
        int asked = 0;
        const auto result = ClassifyWindowsVersion(c.Query, [&] {
            ++asked;
            return c.ProductType;
        });
        SCOPED_TRACE(::testing::Message() << "platform " << c.Query.PlatformId << " " << c.Query.Major << "."
                                          << c.Query.Minor);
        EXPECT_EQ(result.Version, c.Version);
        EXPECT_EQ(result.Flags.IsWinNT, c.NT);
        EXPECT_EQ(result.Flags.IsWinVistaOrHigher, c.VistaOrHigher);
        EXPECT_EQ(result.Flags.IsWin95, c.Version == V::Win95);
        EXPECT_EQ(result.Flags.IsWin95OSR2, c.Version == V::Win95OSR2);
        // The product type is read for NT 6.x only.
        EXPECT_EQ(asked, c.Query.PlatformId == 2 && c.Query.Major == 6 ? 1 : 0);
    }
}

TEST(WindowsVersion, ProductTypeTextInAnyCase)
{
    EXPECT_EQ(ProductTypeFromText(L"WinNT"), 1);
    EXPECT_EQ(ProductTypeFromText(L"ServerNT"), 2);
    EXPECT_EQ(ProductTypeFromText(L"servernt"), 2);
    EXPECT_EQ(ProductTypeFromText(L"LANMANNT"), 3);
    EXPECT_EQ(ProductTypeFromText(L""), 0);
    EXPECT_EQ(ProductTypeFromText(L"WinNT "), 0);
}
