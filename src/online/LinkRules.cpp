#include "online/LinkRules.h"

#include <utility>

#include "core/Text.h"
#include "online/Notification.h"
#include "online/ProductLinks.h"

namespace corvello {

namespace {

TLink MakeLink(std::int32_t id, std::wstring url, std::wstring text, std::wstring hint)
{
    return TLink{id, std::move(url), std::move(text), std::move(hint)};
}

}  // namespace

void ComposeLinks(TLinks& links, const std::wstring& appName, const TLinkHints& hints, const TAnsiConverter& toAnsi)
{
    const std::wstring web = std::wstring(L"http://") + product::WebDomain;
    links.Web = MakeLink(LinkIdWeb, web, product::WebDomain, hints.Web);
    links.Email =
        MakeLink(LinkIdEmail, std::wstring(L"mailto:") + product::SupportEmail, product::SupportEmail, hints.Email);
    links.RSS = MakeLink(LinkIdRSS, web + L"/feed/", links.Web.Text, hints.RSS);
    links.Facebook = MakeLink(LinkIdFacebook, product::FacebookPage, product::FacebookText, hints.Facebook);
    links.Gplus = MakeLink(LinkIdGplus, product::GplusPage, product::GplusText, hints.Gplus);
    links.Twitter = MakeLink(LinkIdTwitter, product::TwitterPage, product::TwitterText, hints.Twitter);
    links.Delicious = MakeLink(LinkIdDelicious,
                               product::DeliciousSave + WidenAscii(UrlEncode(toAnsi(web))) + L"&title=" +
                                   WidenAscii(UrlEncode(toAnsi(appName))),
                               product::DeliciousText, hints.Delicious);
    links.StumbleUpon =
        MakeLink(LinkIdStumbleUpon, product::StumbleUponSubmit + web, product::StumbleUponText, hints.StumbleUpon);
}

TLinkTarget ChooseLinkTarget(const TLinks& links, std::int32_t linkId, const std::wstring& version)
{
    switch (linkId) {
    case LinkIdEmail:
        return {true, links.Email.URL};
    case LinkIdRSS:
        return {false, links.RSS.URL};
    case LinkIdFacebook:
        return {false, links.Facebook.URL};
    case LinkIdGplus:
        return {false, links.Gplus.URL};
    case LinkIdTwitter:
        return {false, links.Twitter.URL};
    case LinkIdDelicious:
        return {false, links.Delicious.URL};
    case LinkIdStumbleUpon:
        return {false, links.StumbleUpon.URL};
    default:
        return {false, links.Web.URL + L"?version=" + version};
    }
}

std::wstring ComposeOpenUrl(const std::wstring& address)
{
    if (address.find(L"://") != std::wstring::npos)
        return address;
    return L"http://" + address;
}

std::wstring ComposeMailUrl(const std::wstring& address, const std::string& subject, const std::string& body)
{
    std::wstring url = address;
    if (LowerAscii(address).find(L"mailto:") == std::wstring::npos)
        url = L"mailto:" + url;
    if (!subject.empty())
        url += L"?subject=" + WidenAscii(UrlEncode(subject));
    if (!body.empty())
        url += (subject.empty() ? L"?body=" : L"&body=") + WidenAscii(UrlEncode(body));
    return url;
}

}  // namespace corvello
