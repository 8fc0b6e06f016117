#include "toolkit/Application.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/WinTestSupport.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"
#include "toolkit/Timer.h"

TEST(Application, TheWindowCarriesTheTitle)
{
    auto& app = tk::Application::Current();
    app.SetTitle(L"Before");
    app.Initialize();
    ASSERT_NE(app.Handle(), nullptr);
    wchar_t cls[64] = {};
    ::GetClassNameW(app.Handle(), cls, 64);
    EXPECT_STREQ(cls, L"TApplication");
    EXPECT_FALSE(::IsWindowVisible(app.Handle()));
    app.SetTitle(L"After");
    wchar_t title[64] = {};
    ::GetWindowTextW(app.Handle(), title, 64);
    EXPECT_STREQ(title, L"After");
}

TEST(Application, TheHookSeesQueuedMessagesAndCanKeepThemFromTheWindow)
{
    auto& app = tk::Application::Current();
    app.Initialize();
    std::vector<UINT> dispatched;
    testsupport::TestWindow window(L"CorvelloHookTest", L"", [&](UINT message, WPARAM, LPARAM) {
        if (message >= WM_APP)
            dispatched.push_back(message);
        return false;
    });
    std::vector<UINT> hooked;
    tk::ApplicationEvents events([&](MSG& msg, bool& handled) {
        if (msg.message >= WM_APP)
            hooked.push_back(msg.message);
        handled = msg.message == WM_APP + 2;
        if (msg.message == WM_APP + 3)
            app.Terminate(4);
    });
    ::PostMessageW(window.Handle(), WM_APP + 1, 0, 0);
    ::PostMessageW(window.Handle(), WM_APP + 2, 0, 0);
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 4, 0, 0);
    ::PostMessageW(window.Handle(), WM_APP + 3, 0, 0);
    app.Run();
    EXPECT_EQ(hooked, (std::vector<UINT>{WM_APP + 1, WM_APP + 2, WM_APP + 4, WM_APP + 3}));
    EXPECT_EQ(dispatched, (std::vector<UINT>{WM_APP + 1, WM_APP + 3}));
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(app.ExitCode(), 4);
}

TEST(Application, ProcessMessagesPassesThroughTheHookToo)
{
    auto& app = tk::Application::Current();
    int seen = 0;
    {
        tk::ApplicationEvents events([&](MSG& msg, bool&) { seen += msg.message == WM_APP + 9; });
        ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 9, 0, 0);
        app.ProcessMessages();
    }
    ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 9, 0, 0);
    app.ProcessMessages();  // the events object has gone
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(app.Terminated());
}

TEST(Application, ModalLevelNeverGoesBelowZero)
{
    auto& app = tk::Application::Current();
    app.ModalStarted();
    app.ModalStarted();
    app.ModalFinished();
    EXPECT_EQ(app.ModalLevel(), 1);
    app.ModalFinished();
    app.ModalFinished();
    EXPECT_EQ(app.ModalLevel(), 0);
}

namespace {

// A main form that records whether the application was terminating when its
// close query came, and refuses to close.
class QueriedForm : public tk::Form {
public:
    QueriedForm()
        : tk::Form(tk::FormLayout{L"CorvelloQueriedForm", L"Queried", 0, 0, 200, 100, tk::BorderStyle::Single, true,
                                 true, false, false, tk::FontSpec{}})
    {
    }
    std::vector<bool> QueriesWhileTerminating;

protected:
    bool DoCloseQuery() override
    {
        QueriesWhileTerminating.push_back(tk::Application::Current().Terminated());
        return false;
    }
};

}  // namespace

TEST(Application, ClosingTheApplicationWindowEndsTheProgramThroughTheMainForm)
{
    auto& app = tk::Application::Current();
    app.Initialize();
    auto main = tk::CreateForm<QueriedForm>();
    app.SetMainForm(main.get());
    ::SendMessageW(app.Handle(), WM_CLOSE, 0, 0);
    // The main form is asked once, knowing the program ends; its answer does
    // not keep the program alive.
    EXPECT_EQ(main->QueriesWhileTerminating, std::vector<bool>{true});
    EXPECT_TRUE(app.Terminated());
    EXPECT_EQ(app.ExitCode(), 0);
    // The window lasts as long as the program.
    EXPECT_TRUE(::IsWindow(app.Handle()));
    app.SetMainForm(nullptr);
}

TEST(Application, TheHookSeesWhatArrivesWhileAMenuShowsAndEverythingElseOnce)
{
    auto& app = tk::Application::Current();
    app.Initialize();
    constexpr UINT Probe = WM_APP + 77;
    app.RouteToHooks(Probe);
    auto form = tk::CreateForm<QueriedForm>();
    int seen = 0;
    tk::ApplicationEvents probe([&](MSG& msg, bool& handled) {
        if (msg.message == Probe) {
            ++seen;
            handled = true;
        }
    });
    // Through the program's own loop: once.
    ::PostMessageW(app.Handle(), Probe, 0, 0);
    app.ProcessMessages();
    EXPECT_EQ(seen, 1);

    ::PostMessageW(form->Handle(), Probe, 0, 0);
    app.ProcessMessages();
    EXPECT_EQ(seen, 2);

    // While a menu of Windows' own runs its loop: once as well, on the
    // application window and on a form alike.
    tk::PopupMenu menu;
    menu.Items().Add(std::make_unique<tk::MenuItem>(L"miOnly", L"Only"));
    tk::Timer during(50);
    during.OnTimer = [&](tk::Timer& t) {
        t.SetEnabled(false);
        ::PostMessageW(app.Handle(), Probe, 0, 0);
        ::PostMessageW(form->Handle(), Probe, 0, 0);
        ::PostMessageW(app.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    };
    menu.Popup(100, 100);
    app.ProcessMessages();
    EXPECT_EQ(seen, 4);
}
