// Registry keys as Windows without RegDeleteTreeW deletes them.
#include "toolkit/Registry.h"

#include <gtest/gtest.h>

TEST(Registry, AKeyTreeIsDeletedByHandWithEverythingBelowIt)
{
    const std::wstring base = L"Software\\QUORVANT\\CorvelloRegistryTest";
    for (const wchar_t* sub : {L"\\a\\b\\c", L"\\a\\d", L"\\e"}) {
        const auto key = tk::RegKey::Create(HKEY_CURRENT_USER, base + sub);
        ASSERT_TRUE(key);
        ASSERT_TRUE(key.WriteDword(L"Value", 1));
    }
    EXPECT_EQ(tk::DeleteKeyTreeByHand(HKEY_CURRENT_USER, base.c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(tk::RegKey::Open(HKEY_CURRENT_USER, base));
    // The parent stays; a key that is not there is reported, not invented.
    EXPECT_TRUE(tk::RegKey::Open(HKEY_CURRENT_USER, L"Software\\QUORVANT"));
    EXPECT_EQ(tk::DeleteKeyTreeByHand(HKEY_CURRENT_USER, base.c_str()), ERROR_FILE_NOT_FOUND);
}
