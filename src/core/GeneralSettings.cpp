#include "core/GeneralSettings.h"

#include "core/StoredNumber.h"

namespace corvello {

bool StoredSwitch(const std::optional<StoredValue>& value, bool whenMissing)
{
    if (!value)
        return whenMissing;
    if (value->TooLarge)
        return false;
    const auto number = DecodeStoredNumber(value->Type, value->Data.data(), value->Data.size());
    return number && *number != 0;
}

}  // namespace corvello
