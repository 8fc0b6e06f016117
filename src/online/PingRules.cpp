#include "online/PingRules.h"

#include "core/DateTime.h"
#include "toolkit/Concat.h"

namespace corvello {

PingGate CheckPingGates(bool onlineEnabled, bool terminated, bool urgent, double now, double last)
{
    if (!onlineEnabled)
        return PingGate::Offline;
    if (terminated)
        return PingGate::Terminated;
    if (!urgent && WholeMinutesBetween(now, last) < PingSpacingMinutes)
        return PingGate::TooSoon;
    return PingGate::Send;
}

std::wstring ComposePingParams(const std::wstring& version, const std::wstring& additionalParams)
{
    std::wstring params = tk::Concat({L"version=", version});
    if (!additionalParams.empty())
        params += L'&' + additionalParams;
    return params;
}

}  // namespace corvello
