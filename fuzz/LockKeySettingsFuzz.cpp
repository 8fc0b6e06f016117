// The lock keys' settings read from any stored values: every value within
// its range (a number or switch from a four-byte DWORD only), or its default
// when what is stored cannot be taken, and then reported; a value that is
// missing is never reported.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "actions/LockKeySettings.h"

using namespace corvello;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Per field: a byte that says whether it is stored (odd) and its type,
    // a byte with its length, then its bytes.
    std::vector<std::optional<StoredValue>> stored;
    std::size_t at = 0;
    for (std::size_t i = 0; i < std::size(LockKeyFields); ++i) {
        if (at + 2 > size) {
            stored.emplace_back();
            continue;
        }
        const std::uint8_t kind = data[at];
        const std::size_t length = std::min<std::size_t>(data[at + 1], size - at - 2);
        at += 2;
        if (kind % 2 == 0) {
            stored.emplace_back();
            continue;
        }
        stored.push_back(StoredValue{static_cast<std::uint32_t>(kind / 2 % 12),
                                     std::vector<std::uint8_t>(data + at, data + at + length)});
        at += length;
    }
    std::set<std::wstring> present, damaged;
    const LockKeySettings read = ReadSettings(
        LockKeyFields,
        [&](const wchar_t* name, std::size_t maxBytes) -> std::optional<StoredValue> {
            for (std::size_t i = 0; i < std::size(LockKeyFields); ++i)
                if (LockKeyFields[i].Name == name && stored[i]) {
                    present.insert(name);
                    if (stored[i]->Data.size() > maxBytes)
                        return StoredValue{0, {}, true};
                    return stored[i];
                }
            return std::nullopt;
        },
        [&](const wchar_t* name, const std::wstring&) {
            if (!damaged.insert(name).second || !present.count(name))
                std::abort();
        });
    const LockKeySettings defaults;
    for (std::size_t i = 0; i < std::size(LockKeyFields); ++i) {
        const StoredField<LockKeySettings>& field = LockKeyFields[i];
        const bool reported = damaged.count(field.Name) != 0;
        // A number or switch is taken from a four-byte REG_DWORD only.
        if (!field.Text && stored[i] && !reported &&
            (stored[i]->Type != value_type::Dword || stored[i]->Data.size() != 4))
            std::abort();
        if (field.Number) {
            const std::uint32_t value = read.*field.Number;
            if (value < field.Min || value > field.Max || (reported && value != defaults.*field.Number))
                std::abort();
        }
        if (field.Switch && reported && read.*field.Switch != defaults.*field.Switch)
            std::abort();
        if (field.Text) {
            const std::wstring& text = read.*field.Text;
            if (text.size() > field.MaxChars || (reported && text != defaults.*field.Text) ||
                text.find(L'\0') != std::wstring::npos)
                std::abort();
        }
    }
    return 0;
}
