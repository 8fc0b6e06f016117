// The application object's online operations: the statistics ping and the
// links.
#include "core/AppClasses.h"

#include "core/AppUtils.h"
#include "online/LinkRules.h"
#include "online/Links.h"
#include "online/PingRules.h"
#include "online/Tickover.h"

namespace corvello {

namespace {

double LocalDateTime()
{
    const SYSTEMTIME now = LocalNow();
    return EncodeDateTime(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
}

}  // namespace

std::wstring TAppClass::GetPingParams(const std::wstring& AdditionalParams)
{
    return ComposePingParams(Version(), AdditionalParams);
}

void TAppClass::OpenLink(std::int32_t LinkID)
{
    const TLinkTarget target = ChooseLinkTarget(FLinks, LinkID, Version());
    if (target.Mail)
        ComposeMail(target.Address, FullName(), L"");
    else
        OpenUrl(target.Address);
    Ping(L"openlink", L"id=" + std::to_wstring(LinkID), false);
}

void TAppClass::Ping(const std::wstring& Verb, const std::wstring& AdditionalParams, bool Urgent)
{
    const double now = LocalDateTime();
    if (CheckPingGates(OnlineEnabled(), Terminated(), Urgent, now, TickoverLast) != TPingGate::pgSend)
        return;
    // Before sending, and whatever comes of it: a failed ping counts for the
    // spacing too.
    TickoverLast = now;
    if (!Tickover())
        CreateTickover(FLinks.Web.URL + L"/ping/", nullptr);
    Tickover()->SafePing(Verb, GetPingParams(AdditionalParams));
}

}  // namespace corvello
