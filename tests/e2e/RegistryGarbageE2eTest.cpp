// Whatever a damaged registry holds in the values the program reads, it
// starts, runs, ends cleanly and leaves each value stored properly, with no
// other value lost.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;

namespace {

constexpr const wchar_t* Key = testsupport::ProgramSettingsKey;
const std::wstring FormKey = std::wstring(Key) + L"\\frmMain";

struct Garbage {
    const char* What;
    DWORD Type;
    std::vector<BYTE> Data;
};

std::vector<BYTE> Utf16(const std::wstring& text, bool terminated)
{
    std::vector<BYTE> bytes(reinterpret_cast<const BYTE*>(text.c_str()),
                            reinterpret_cast<const BYTE*>(text.c_str()) + text.size() * sizeof(wchar_t));
    if (terminated)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<Garbage> Kinds()
{
    std::vector<BYTE> odd = Utf16(L"123", false);
    odd.push_back('7');
    return {
        {"a number as text", REG_SZ, Utf16(L"5", true)},
        {"text that is no number", REG_SZ, Utf16(L"yes please", true)},
        {"binary", REG_BINARY, {1, 2, 3, 4, 5}},
        {"a two-byte DWORD", REG_DWORD, {1, 0}},
        {"a QWORD", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}},
        {"a multi-string", REG_MULTI_SZ, Utf16(std::wstring(L"1\0two\0", 6), true)},
        {"an expand-string", REG_EXPAND_SZ, Utf16(L"%TEMP%", true)},
        {"a 64 KB string", REG_SZ, Utf16(std::wstring(32 * 1024, L'8'), true)},
        {"an empty value", REG_NONE, {}},
        {"an odd-length string without its end", REG_SZ, odd},
    };
}

struct Place {
    std::wstring Path;
    const wchar_t* Name;
    DWORD ProperType;
};

const std::vector<Place>& Places()
{
    static const std::vector<Place> places = {
        {Key, registry::RunCount, REG_DWORD},   {Key, registry::RunFirst, REG_SZ},
        {Key, registry::RunLast, REG_SZ},       {Key, registry::AutoRun, REG_DWORD},
        {Key, registry::Online, REG_DWORD},     {Key, registry::Confirmations, REG_DWORD},
        {FormKey, registry::Bounds, REG_SZ},    {FormKey, registry::WindowState, REG_DWORD},
        {FormKey, registry::Visible, REG_DWORD},
    };
    return places;
}

class RegistryGarbage : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        testsupport::ForgetProgramSettings();
    }
};

}  // namespace

TEST_F(RegistryGarbage, EveryValueOfEveryKindIsSurvivedAndStoredProperly)
{
    for (const Garbage& kind : Kinds()) {
        SCOPED_TRACE(kind.What);
        Clean();
        // One value of our own that the program does not read stays as it is.
        testsupport::WriteSz(HKEY_CURRENT_USER, Key, L"SomethingElse", L"kept");
        for (const Place& place : Places())
            testsupport::WriteValue(HKEY_CURRENT_USER, place.Path, place.Name, kind.Type, kind.Data.data(),
                                    kind.Data.size());
        {
            Corvello program(L"");
            ASSERT_TRUE(program.WaitRunning());
            // It stores its placement on its way out.
            EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
        }
        for (const Place& place : Places()) {
            const auto stored = testsupport::ReadValue(HKEY_CURRENT_USER, place.Path, place.Name);
            ASSERT_TRUE(stored.has_value()) << std::string(place.Name, place.Name + std::wcslen(place.Name));
            EXPECT_EQ(stored->Type, place.ProperType) << std::string(place.Name, place.Name + std::wcslen(place.Name));
        }
        EXPECT_EQ(testsupport::StoredSz(HKEY_CURRENT_USER, Key, L"SomethingElse"), L"kept");
    }
}
