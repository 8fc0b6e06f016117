#include "core/StoredSettings.h"

#include "toolkit/Concat.h"
#include "toolkit/Log.h"

namespace corvello {

std::optional<StoredValue> LookUpStoredValue(const tk::RegKey& key, const wchar_t* name, std::size_t maxBytes)
{
    auto raw = key.ReadRaw(name, maxBytes);
    if (!raw) {
        if (key.HasValue(name))
            return StoredValue{0, {}, true};
        return std::nullopt;
    }
    return StoredValue{raw->Type, std::move(raw->Data), false};
}

void LogDamagedSetting(const wchar_t* name, const std::wstring& why)
{
    tk::LogFailure(tk::Concat({L"reading the setting ", name, L" (", why, L")"}), ERROR_INVALID_DATA);
}

}  // namespace corvello
