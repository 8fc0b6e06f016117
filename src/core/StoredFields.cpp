#include "core/StoredFields.h"

#include "toolkit/Decimal.h"

namespace corvello {

std::optional<std::wstring> DecodeStoredText(const StoredValue& value, std::size_t maxChars)
{
    if ((value.Type != value_type::String && value.Type != value_type::ExpandString) || value.Data.size() % 2 != 0)
        return std::nullopt;
    std::wstring text;
    for (std::size_t i = 0; i + 1 < value.Data.size(); i += 2) {
        const auto c = static_cast<wchar_t>(value.Data[i] | (value.Data[i + 1] << 8));
        if (c == 0)
            break;
        if (text.size() == maxChars)
            return std::nullopt;
        text += c;
    }
    return text;
}

std::optional<std::uint32_t> StoredFieldNumber(const StoredValue& value, std::uint32_t min, std::uint32_t max,
                                               std::wstring& why)
{
    // A REG_DWORD of four bytes only, as the shortcuts are read: a number
    // written as text or as a QWORD is not taken.
    if (value.Type != value_type::Dword || value.Data.size() != 4) {
        why = L"no DWORD";
        return std::nullopt;
    }
    const std::uint32_t number =
        value.Data[0] | (value.Data[1] << 8) | (value.Data[2] << 16) | (std::uint32_t{value.Data[3]} << 24);
    if (number < min || number > max) {
        why = tk::Decimal(number) + L" is out of range";
        return std::nullopt;
    }
    return number;
}

}  // namespace corvello
