#include "online/LinkRules.h"

#include <utility>

#include "core/Text.h"
#include "online/NotifyAddress.h"
#include "online/ProductLinks.h"
#include "toolkit/Concat.h"

namespace corvello {

namespace {

Link MakeLink(std::int32_t id, std::wstring url, std::wstring text, std::wstring hint)
{
    return Link{id, std::move(url), std::move(text), std::move(hint)};
}

}  // namespace

void ComposeLinks(LinkSet& links, const std::wstring& appName, const LinkHints& hints, const AnsiConverter& toAnsi)
{
    const std::wstring web = tk::Concat({L"http://", product::WebDomain});
    links.Web = MakeLink(LinkIdWeb, web, product::WebDomain, hints.Web);
    links.Email =
        MakeLink(LinkIdEmail, tk::Concat({L"mailto:", product::SupportEmail}), product::SupportEmail, hints.Email);
    links.RSS = MakeLink(LinkIdRSS, tk::Concat({web, L"/feed/"}), links.Web.Text, hints.RSS);
    links.Facebook = MakeLink(LinkIdFacebook, product::FacebookPage, product::FacebookText, hints.Facebook);
    links.Gplus = MakeLink(LinkIdGplus, product::GplusPage, product::GplusText, hints.Gplus);
    links.Twitter = MakeLink(LinkIdTwitter, product::TwitterPage, product::TwitterText, hints.Twitter);
    links.Delicious = MakeLink(LinkIdDelicious,
                               tk::Concat({product::DeliciousSave, WidenAscii(UrlEncode(toAnsi(web))), L"&title=",
                                           WidenAscii(UrlEncode(toAnsi(appName)))}),
                               product::DeliciousText, hints.Delicious);
    links.StumbleUpon =
        MakeLink(LinkIdStumbleUpon, tk::Concat({product::StumbleUponSubmit, web}), product::StumbleUponText,
                 hints.StumbleUpon);
}

LinkTarget ChooseLinkTarget(const LinkSet& links, std::int32_t linkId, const std::wstring& version)
{
    switch (linkId) {
    case LinkIdEmail:
        return {true, links.Email.Url};
    case LinkIdRSS:
        return {false, links.RSS.Url};
    case LinkIdFacebook:
        return {false, links.Facebook.Url};
    case LinkIdGplus:
        return {false, links.Gplus.Url};
    case LinkIdTwitter:
        return {false, links.Twitter.Url};
    case LinkIdDelicious:
        return {false, links.Delicious.Url};
    case LinkIdStumbleUpon:
        return {false, links.StumbleUpon.Url};
    default:
        return {false, tk::Concat({links.Web.Url, L"?version=", version})};
    }
}

std::wstring ComposeOpenUrl(const std::wstring& address)
{
    if (address.find(L"://") != std::wstring::npos)
        return address;
    return tk::Concat({L"http://", address});
}

std::wstring ComposeMailUrl(const std::wstring& address, const std::string& subject, const std::string& body)
{
    std::wstring url = address;
    if (LowerAscii(address).find(L"mailto:") == std::wstring::npos)
        url = tk::Concat({L"mailto:", url});
    if (!subject.empty())
        url += tk::Concat({L"?subject=", WidenAscii(UrlEncode(subject))});
    if (!body.empty())
        url += tk::Concat({subject.empty() ? L"?body=" : L"&body=", WidenAscii(UrlEncode(body))});
    return url;
}

}  // namespace corvello
