#include "online/Statistics.h"

#include "core/Clock.h"
#include "online/LinkRules.h"
#include "online/Links.h"
#include "online/Notifier.h"
#include "online/PingRules.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"

namespace corvello {

void SendPing(AppBase& app, const std::wstring& verb, const std::wstring& extraParams, bool urgent)
{
    const double now = LocalDateTimeNow();
    if (CheckPingGates(app.OnlineEnabled(), app.Terminated(), urgent, now, app.LastPing) != PingGate::Send)
        return;
    // Before sending, and whatever comes of it: a failed ping counts for the
    // spacing too.
    app.LastPing = now;
    if (!ProgramNotifier())
        CreateProgramNotifier(tk::Concat({app.Links().Web.Url, L"/ping/"}), nullptr);
    ProgramNotifier()->SafePing(verb, ComposePingParams(app.Version(), extraParams));
}

void OpenProductLink(AppBase& app, std::int32_t linkId)
{
    const LinkTarget target = ChooseLinkTarget(app.Links(), linkId, app.Version());
    if (target.Mail)
        ComposeMail(target.Address, app.FullName(), L"");
    else
        OpenUrl(target.Address);
    app.Ping(L"openlink", tk::Concat({L"id=", tk::Decimal(linkId)}), false);
}

}  // namespace corvello
