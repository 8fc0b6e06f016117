#include "core/StoredSettings.h"

#include "core/StoredNumber.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "toolkit/Log.h"

namespace corvello {

std::optional<std::uint32_t> LoadStoredNumber(const tk::RegKey& key, const wchar_t* name, std::uint32_t min,
                                              std::uint32_t max)
{
    const auto raw = key.ReadRaw(name);
    if (!raw) {
        if (key.HasValue(name))
            tk::LogFailure(tk::Concat({L"reading the setting ", name, L" (too large; its default stays)"}),
                           ERROR_INVALID_DATA);
        return std::nullopt;
    }
    const auto value = DecodeStoredNumber(raw->Type, raw->Data.data(), raw->Data.size());
    if (!value || *value < min || *value > max) {
        tk::LogFailure(value ? tk::Concat({L"reading the setting ", name, L" (", tk::Decimal(*value),
                                           L" is out of range; its default stays)"})
                             : tk::Concat({L"reading the setting ", name, L" (no number; its default stays)"}),
                       ERROR_INVALID_DATA);
        return std::nullopt;
    }
    return value;
}

std::optional<std::wstring> LoadStoredText(const tk::RegKey& key, const wchar_t* name, std::size_t maxChars)
{
    auto text = key.ReadString(name, maxChars);
    if (!text && key.HasValue(name))
        tk::LogFailure(tk::Concat({L"reading the setting ", name, L" (no text, or too long; its default stays)"}),
                       ERROR_INVALID_DATA);
    return text;
}

}  // namespace corvello
