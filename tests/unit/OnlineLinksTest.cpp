#include "online/LinkRules.h"

#include <gtest/gtest.h>

#include <vector>

#include "online/ProductLinks.h"

using namespace corvello;

namespace {

// Latin-1 stands in for the ANSI code page: the characters this test uses
// keep their values.
std::string Latin1(const std::wstring& text)
{
    std::string out;
    for (const wchar_t c : text)
        out += c < 256 ? static_cast<char>(c) : '?';
    return out;
}

LinkHints Hints()
{
    return {L"h-web", L"h-mail", L"h-rss", L"h-fb", L"h-gp", L"h-tw", L"h-del", L"h-su"};
}

LinkSet Composed(const std::wstring& name = L"Corvello")
{
    LinkSet links;
    ComposeLinks(links, name, Hints(), &Latin1);
    return links;
}

}  // namespace

TEST(OnlineLinks, CatalogueFollowsTheWebLink)
{
    const LinkSet links = Composed();
    const std::wstring web = std::wstring(L"http://") + product::WebDomain;
    struct Row {
        const Link& Actual;
        std::int32_t Id;
        std::wstring Url;
        std::wstring Text;
        const wchar_t* Hint;
    };
    const Row rows[] = {
        {links.Web, 1, web, product::WebDomain, L"h-web"},
        {links.Email, 2, std::wstring(L"mailto:") + product::SupportEmail, product::SupportEmail, L"h-mail"},
        {links.RSS, 100, web + L"/feed/", product::WebDomain, L"h-rss"},
        {links.Facebook, 101, product::FacebookPage, product::FacebookText, L"h-fb"},
        {links.Gplus, 102, product::GplusPage, product::GplusText, L"h-gp"},
        {links.Twitter, 103, product::TwitterPage, product::TwitterText, L"h-tw"},
        {links.Delicious, 104,
         std::wstring(product::DeliciousSave) + L"http%3A%2F%2Fcorvello.quorvant.com&title=Corvello",
         product::DeliciousText, L"h-del"},
        {links.StumbleUpon, 105, std::wstring(product::StumbleUponSubmit) + web, product::StumbleUponText, L"h-su"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Actual.Id, row.Id);
        EXPECT_EQ(row.Actual.Url, row.Url) << row.Id;
        EXPECT_EQ(row.Actual.Text, row.Text) << row.Id;
        EXPECT_EQ(row.Actual.Hint, row.Hint) << row.Id;
    }
    EXPECT_EQ(web, L"http://corvello.quorvant.com");
    EXPECT_EQ(links.Email.Url, L"mailto:support@quorvant.com");
    EXPECT_EQ(links.Facebook.Url.rfind(L"https://", 0), 0u);
    EXPECT_EQ(links.Gplus.Url.rfind(L"https://", 0), 0u);
    EXPECT_EQ(links.Twitter.Url.rfind(L"http://", 0), 0u);
    EXPECT_TRUE(std::wstring(product::DeliciousSave).ends_with(L"/save?url="));
    EXPECT_TRUE(std::wstring(product::StumbleUponSubmit).ends_with(L"/submit?url="));
}

TEST(OnlineLinks, DeliciousTitleIsTheEncodedNameInTheAnsiCodePage)
{
    const LinkSet links = Composed(L"Corvello \u00E9t\u00E9 & Co");
    EXPECT_TRUE(links.Delicious.Url.ends_with(L"&title=Corvello+%E9t%E9+%26+Co")) << links.Delicious.Url;
}

TEST(OnlineLinks, EachIdChoosesItsTarget)
{
    const LinkSet links = Composed();
    struct Case {
        std::int32_t Id;
        bool Mail;
        std::wstring Address;
    };
    const std::wstring versioned = L"http://corvello.quorvant.com?version=1.2.0.21";
    const std::vector<Case> cases = {
        {1, false, versioned},
        {0, false, versioned},
        {2, true, L"mailto:support@quorvant.com"},
        {100, false, L"http://corvello.quorvant.com/feed/"},
        {101, false, links.Facebook.Url},
        {102, false, links.Gplus.Url},
        {103, false, links.Twitter.Url},
        {104, false, links.Delicious.Url},
        {105, false, links.StumbleUpon.Url},
        {3, false, versioned},
        {-1, false, versioned},
        {106, false, versioned},
    };
    for (const Case& c : cases) {
        const LinkTarget target = ChooseLinkTarget(links, c.Id, L"1.2.0.21");
        EXPECT_EQ(target.Mail, c.Mail) << c.Id;
        EXPECT_EQ(target.Address, c.Address) << c.Id;
    }
}

TEST(OnlineLinks, OpenUrlAddsHttpOnlyWithoutASchemeSeparator)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"corvello.quorvant.com", L"http://corvello.quorvant.com"},
        {L"http://corvello.quorvant.com", L"http://corvello.quorvant.com"},
        {L"https://x.example/a", L"https://x.example/a"},
        {L"ftp://x.example", L"ftp://x.example"},
        {L"x.example/?next=a://b", L"x.example/?next=a://b"},
        {L"mailto:a@b", L"http://mailto:a@b"},
        {L"", L"http://"},
    };
    for (const auto& [address, expected] : cases)
        EXPECT_EQ(ComposeOpenUrl(address), expected) << testing::PrintToString(std::wstring(address));
}

TEST(OnlineLinks, MailAddressGetsOnePrefixAndTheEncodedSubject)
{
    struct Case {
        const wchar_t* Address;
        std::string Subject;
        std::string Body;
        const wchar_t* Expected;
    };
    const Case cases[] = {
        {L"support@quorvant.com", "Corvello (1.2.0.21)", "", L"mailto:support@quorvant.com?subject=Corvello+(1.2.0.21)"},
        {L"mailto:support@quorvant.com", "Corvello (1.2.0.21)", "",
         L"mailto:support@quorvant.com?subject=Corvello+(1.2.0.21)"},
        {L"MAILTO:support@quorvant.com", "", "", L"MAILTO:support@quorvant.com"},
        {L"MailTo:a@b", "", "", L"MailTo:a@b"},
        {L"x <mailto:a@b>", "", "", L"x <mailto:a@b>"},
        {L"a@b", "", "", L"mailto:a@b"},
        {L"a@b", "", "hi there/~", L"mailto:a@b?body=hi+there%2F%7E"},
        {L"a@b", "s", "b", L"mailto:a@b?subject=s&body=b"},
        {L"a@b", "\xE9t\xE9", "", L"mailto:a@b?subject=%E9t%E9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeMailUrl(c.Address, c.Subject, c.Body), c.Expected)
            << testing::PrintToString(std::wstring(c.Address));
}
