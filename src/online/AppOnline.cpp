// TEMPORARY: replaced by the online features' implementation.
#include "core/AppClasses.h"

namespace corvello {

std::wstring TAppClass::GetPingParams(const std::wstring&)
{
    return {};
}

void TAppClass::OpenLink(std::int32_t) {}

void TAppClass::Ping(const std::wstring&, const std::wstring&, bool) {}

}  // namespace corvello
