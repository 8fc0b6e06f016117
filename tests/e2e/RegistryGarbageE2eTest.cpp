// Whatever a damaged registry holds in the values the program reads, it
// starts, runs, ends cleanly and leaves each value stored properly, with no
// other value lost: what it could read keeps its meaning, a switch it could
// not read is off, the first date stays, and a place it could not read is
// no place (the window comes up centred).
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "support/NothingStoredTest.h"
#include "support/RegistryTestSupport.h"
#include "support/ScreenPixels.h"
#include "toolkit/Registry.h"

using namespace corvello;
using testsupport::Corvello;

namespace {

const std::wstring& Key = testsupport::ProgramSettingsKey;
const std::wstring FormKey = std::wstring(Key) + L"\\frmMain";

struct Garbage {
    const char* What;
    DWORD Type;
    std::vector<BYTE> Data;
    // What it reads as where a number is read; nothing where it cannot be.
    std::optional<DWORD> Number;
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
    const std::optional<DWORD> none;
    return {
        {"a number as text", REG_SZ, Utf16(L"5", true), 5},
        {"text that is no number", REG_SZ, Utf16(L"yes please", true), none},
        {"binary", REG_BINARY, {1, 2, 3, 4, 5}, none},
        {"a two-byte DWORD", REG_DWORD, {1, 0}, 1},
        {"a QWORD", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, 1},
        {"a QWORD beyond 32 bits", REG_QWORD, {0, 0, 0, 0, 1, 0, 0, 0}, none},
        {"a number beyond 32 bits as text", REG_SZ, Utf16(L"99999999999999999999", true), none},
        {"a multi-string", REG_MULTI_SZ, Utf16(std::wstring(L"1\0two\0", 6), true), none},
        {"an expand-string", REG_EXPAND_SZ, Utf16(L"%TEMP%", true), none},
        {"a 64 KB string", REG_SZ, Utf16(std::wstring(32 * 1024, L'8'), true), none},
        {"an empty value", REG_NONE, {}, none},
        {"an odd-length string without its end", REG_SZ, odd, none},
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

class RegistryGarbage : public testsupport::NothingStoredTest {};

}  // namespace

TEST_F(RegistryGarbage, EveryValueOfEveryKindIsSurvivedAndStoredProperly)
{
    for (const Garbage& kind : Kinds()) {
        SCOPED_TRACE(kind.What);
        testsupport::ForgetProgramSettings();
        // One value of our own that the program does not read stays as it is.
        testsupport::WriteSz(HKEY_CURRENT_USER, Key, L"SomethingElse", L"kept");
        for (const Place& place : Places())
            testsupport::WriteValue(HKEY_CURRENT_USER, place.Path, place.Name, kind.Type, kind.Data.data(),
                                    kind.Data.size());
        {
            Corvello program(L"");
            ASSERT_TRUE(program.WaitShown());
            const testsupport::ProgramUser user(program.Id());
            // Centred as a window with no stored place is (across: the task bar of
            // Wine's desktop comes and goes with the tray icons, which moves the
            // work area's height meanwhile), not put at 0,0.
            const RECT placed = testsupport::WindowRect(user.MainWindow());
            const RECT work = testsupport::WorkAreaOf(user.MainWindow());
            EXPECT_LE(std::abs((placed.left + placed.right) - (work.left + work.right)), 1)
                << "an unreadable place is no place";
            EXPECT_GT(placed.top, work.top);
            EXPECT_FALSE(::IsZoomed(user.MainWindow()));
            // It stores its placement on its way out.
            EXPECT_EQ(program.Stop(), std::optional<DWORD>(0));
        }
        for (const Place& place : Places()) {
            const std::string name(place.Name, place.Name + std::wcslen(place.Name));
            const auto stored = testsupport::ReadValue(HKEY_CURRENT_USER, place.Path, place.Name);
            ASSERT_TRUE(stored.has_value()) << name;
            if (place.Name == std::wstring(registry::RunFirst)) {
                // The first date stays as it was, whatever it is.
                EXPECT_EQ(stored->Type, kind.Type) << name;
                EXPECT_EQ(stored->data, kind.Data) << name;
                continue;
            }
            EXPECT_EQ(stored->Type, place.ProperType) << name;
        }
        const auto stored = [](const wchar_t* name) { return testsupport::StoredDword(HKEY_CURRENT_USER, Key, name); };
        // A number it can read counts on; otherwise the count starts again.
        EXPECT_EQ(stored(registry::RunCount), kind.Number ? *kind.Number + 1 : 1u);
        // A switch it cannot read is off, never the first start's on.
        const DWORD on = kind.Number && *kind.Number != 0 ? 1u : 0u;
        for (const wchar_t* name : {registry::AutoRun, registry::Online, registry::Confirmations})
            EXPECT_EQ(stored(name), on) << std::string(name, name + std::wcslen(name));
        EXPECT_EQ(testsupport::StoredSz(HKEY_CURRENT_USER, Key, registry::RunLast), corvello::TodayIso());
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, FormKey, registry::WindowState), 0u);
        EXPECT_EQ(testsupport::StoredSz(HKEY_CURRENT_USER, Key, L"SomethingElse"), L"kept");
    }
}
