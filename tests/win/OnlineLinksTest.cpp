#include "online/Links.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/CorvelloApp.h"
#include "online/Notifier.h"
#include "support/HttpListener.h"
#include "support/OnlineTestSupport.h"
#include "support/WinTestSupport.h"

using namespace corvello;
using testsupport::HttpListener;

namespace {

// The shell's recorder, the statistics listener with its proxy, and the
// program-wide notifier under a hidden window.
class OnlineLinks : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(shell_.Ready());
        ASSERT_NE(listener_.Port(), 0);
        app_ = testsupport::MakeOnlineApp();
        CreateProgramNotifier(app_->Links().Web.Url + L"/ping/", parent_.Handle());
        // The pings still wait for their page, not for a second on it.
        ProgramNotifier()->PingTimeOnPage = 0;
    }
    void TearDown() override
    {
        FreeProgramNotifier();
        app_.reset();
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloOnlineTest");
    }

    // Waits for the shell's next recorded line.
    std::string NextOpened()
    {
        const std::size_t want = seen_ + 1;
        testsupport::WaitUntil([&] { return shell_.Lines().size() >= want; }, 10000);
        const auto lines = shell_.Lines();
        if (lines.size() < want)
            return "(nothing)";
        return lines[seen_++];
    }

    testsupport::ShellRecorder shell_;
    HttpListener listener_;
    testsupport::LoopbackProxy proxy_{listener_.Port()};
    testsupport::TestWindow parent_{L"CorvelloLinksParent", L""};
    std::unique_ptr<CorvelloApp> app_;
    std::size_t seen_ = 0;
};

}  // namespace

TEST(OnlineLinksCatalogue, HintsComeFromTheStringTable)
{
    LinkSet links;
    FillLinks(links, L"Corvello");
    const std::vector<std::wstring> hints = {links.Web.Hint,     links.Email.Hint,   links.RSS.Hint,
                                             links.Facebook.Hint, links.Gplus.Hint,   links.Twitter.Hint,
                                             links.Delicious.Hint, links.StumbleUpon.Hint};
    EXPECT_EQ(hints, (std::vector<std::wstring>{L"Open Website", L"Send Email", L"Subscribe to RSS Feed",
                                                L"Page on Facebook", L"Page on Google+", L"Follow on Twitter",
                                                L"Save a Bookmark on Delicious", L"Recommend it to StumbleUpon"}));
    EXPECT_EQ(links.Web.Url, L"http://corvello.quorvant.com");
    EXPECT_EQ(links.Delicious.Url,
              L"http://delicious.com/save?url=http%3A%2F%2Fcorvello.quorvant.com&title=Corvello");
}

TEST_F(OnlineLinks, EveryIdOpensItsAddressThenPings)
{
    // winebrowser passes an address on in its canonical form: a "/" after a
    // bare host name.
    const LinkSet& links = app_->Links();
    auto narrow = [](const std::wstring& text) { return std::string(text.begin(), text.end()); };
    struct Case {
        std::int32_t Id;
        std::string Opened;
    };
    const std::vector<Case> cases = {
        {1, "browser http://corvello.quorvant.com/?version=1.2.0.21"},
        {0, "browser http://corvello.quorvant.com/?version=1.2.0.21"},
        {2, "mailer mailto:support@quorvant.com?subject=Corvello+(1.2.0.21)"},
        {100, "browser http://corvello.quorvant.com/feed/"},
        {101, "browser " + narrow(links.Facebook.Url)},
        {102, "browser " + narrow(links.Gplus.Url)},
        {103, "browser " + narrow(links.Twitter.Url)},
        {104, "browser http://delicious.com/save?url=http%3A%2F%2Fcorvello.quorvant.com&title=Corvello"},
        {105, "browser http://www.stumbleupon.com/submit?url=http://corvello.quorvant.com"},
        {7, "browser http://corvello.quorvant.com/?version=1.2.0.21"},
    };
    for (const Case& c : cases) {
        // Each click far enough from the last for its ping to pass.
        app_->LastPing = 0;
        const std::size_t before = listener_.RequestCount();
        app_->OpenLink(c.Id);
        EXPECT_EQ(NextOpened(), c.Opened) << c.Id;
        ASSERT_EQ(listener_.RequestCount(), before + 1) << c.Id;
        const auto ping = testsupport::ParseRequestLine(listener_.Requests().back());
        EXPECT_EQ(ping.Host, "corvello.quorvant.com");
        EXPECT_EQ(ping.Path, "/ping/openlink/?version=1.2.0.21&id=" + std::to_string(c.Id));
    }
}

TEST_F(OnlineLinks, AClickWithinTheSpacingOpensWithoutAPing)
{
    app_->OpenLink(100);
    EXPECT_EQ(NextOpened(), "browser http://corvello.quorvant.com/feed/");
    app_->OpenLink(101);
    EXPECT_EQ(NextOpened(), "browser " + std::string(app_->Links().Facebook.Url.begin(),
                                                      app_->Links().Facebook.Url.end()));
    EXPECT_EQ(listener_.RequestCount(), 1u);
}

TEST_F(OnlineLinks, OpenUrlAndComposeMailShapeTheAddress)
{
    OpenUrl(L"corvello.quorvant.com/feed/");
    EXPECT_EQ(NextOpened(), "browser http://corvello.quorvant.com/feed/");
    OpenUrl(L"https://corvello.quorvant.com/a?b=c://d");
    EXPECT_EQ(NextOpened(), "browser https://corvello.quorvant.com/a?b=c://d");
    // A mailto: prefix in any case is not doubled (winebrowser writes the
    // scheme in lower case).
    ComposeMail(L"MAILTO:support@quorvant.com", L"Corvello (1.2.0.21)", L"");
    EXPECT_EQ(NextOpened(), "mailer mailto:support@quorvant.com?subject=Corvello+(1.2.0.21)");
    ComposeMail(L"support@quorvant.com", L"", L"");
    EXPECT_EQ(NextOpened(), "mailer mailto:support@quorvant.com");
    // Nothing of this is a ping.
    EXPECT_EQ(listener_.RequestCount(), 0u);
}
