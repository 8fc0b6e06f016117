// The action word (/do:NAME) in this process: a start with no copy running
// runs the action itself and ends, a start with one hands it over and ends
// once it is taken, and the main window takes only what a starting copy
// writes and runs it as its tray menu would.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "actions/CommandLineActions.h"
#include "app/running/ActionQuestion.h"
#include "core/Messages.h"
#include "support/DialogAnswerer.h"
#include "app/CorvelloApp.h"
#include "app/MainWindow.h"
#include "core/RegistryLayout.h"
#include "core/SingleInstance.h"
#include "support/HttpListener.h"
#include "support/InstanceTestSupport.h"
#include "support/OnlineTestSupport.h"
#include "support/RegistryTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Timer.h"
#include "ui/TrayForm.h"

using namespace corvello;
using testsupport::Answerer;
using commandline::HandOverTag;

namespace {

constexpr const wchar_t* Key = L"Software\\QUORVANT\\CorvelloWordTest\\1.0";

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// What the actions asked of Windows, recorded instead of done.
class Requests : public PowerRequests, public KeyboardRequests {
public:
    std::vector<std::wstring> Calls;

    bool PostToProgramWindow(unsigned, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        return Note(L"post " + std::to_wstring(wParam) + L" " + std::to_wstring(lParam));
    }
    bool LockWorkStation() override { return Note(L"lock"); }
    bool SetSuspendState(bool, bool, bool) override { return Note(L"suspend"); }
    bool IsPwrHibernateAllowed() override { return Note(L"allowed?"); }
    bool ExitWindowsEx(unsigned flags, unsigned long) override { return Note(L"exit " + std::to_wstring(flags)); }
    std::uint32_t RunSystemTool(const std::wstring& line, bool, bool) override { return Note(line), 0; }

    void KeyEvent(std::uint8_t key, std::uint8_t, std::uint32_t flags) override
    {
        Note((flags ? L"up " : L"down ") + std::to_wstring(key));
    }
    std::int16_t KeyState(std::uint8_t key) override { return Note(L"state " + std::to_wstring(key)), 0; }
    void Wait(std::uint32_t) override {}
    Handle OpenNamedWindowStation(const std::wstring&, bool, std::uint32_t) override { return nullptr; }
    bool SetProcessWindowStation(Handle) override { return false; }
    Handle OpenNamedDesktop(const std::wstring&, std::uint32_t, bool, std::uint32_t) override { return nullptr; }
    bool SetThreadDesktop(Handle) override { return false; }
    bool PostBroadcast(unsigned, std::uintptr_t, std::intptr_t) override { return Note(L"broadcast"); }
    void LogCurrentException(const std::wstring&) noexcept override {}

    // The calls but the lock readers' (a visible window's LEDs read them on a
    // timer of their own).
    std::vector<std::wstring> Actions() const
    {
        std::vector<std::wstring> actions;
        for (const auto& call : Calls)
            if (call.rfind(L"state ", 0) != 0)
                actions.push_back(call);
        return actions;
    }

private:
    bool Note(const std::wstring& call)
    {
        Calls.push_back(call);
        return true;
    }
};

// A stand-in for the running copy's main window, which answers WM_COPYDATA
// as it is told and keeps what it got.
class StandInCopy {
public:
    StandInCopy()
    {
        ::SetPropW(window_.Handle(), L"CorvelloStandIn", this);
        previous_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(window_.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StandInCopy::Proc)));
    }
    ~StandInCopy()
    {
        ::SetWindowLongPtrW(window_.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        ::RemovePropW(window_.Handle(), L"CorvelloStandIn");
    }
    StandInCopy(const StandInCopy&) = delete;
    StandInCopy& operator=(const StandInCopy&) = delete;

    LRESULT Answer = 0;
    // Tag, size and text of each message.
    std::vector<std::wstring> Received;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* self = static_cast<StandInCopy*>(::GetPropW(window, L"CorvelloStandIn"));
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            self->Received.push_back(std::to_wstring(data->dwData) + L" " + std::to_wstring(data->cbData) + L" " +
                                     static_cast<const wchar_t*>(data->lpData));
            return self->Answer;
        }
        return ::CallWindowProcW(self->previous_, window, message, wParam, lParam);
    }

    testsupport::TestWindow window_{L"TfrmMain", L"Corvello"};
    WNDPROC previous_ = nullptr;
};

const std::wstring PowerOffQuestion =
    L"Shuts down Windows system and turns the computer off\r\nPerform \"Power Off\" action?";

TEST(ActionQuestion, TheTextComesFromTheStringTableWithTheHintAndCaptionAsTheyAre)
{
    EXPECT_EQ(ActionQuestionText(L"Shuts down Windows system and turns the computer off", L"Power Off"),
              PowerOffQuestion);
    // Neither is read as a format.
    EXPECT_EQ(ActionQuestionText(L"100% %s %d %n", L"A %s"), L"100% %s %d %n\r\nPerform \"A %s\" action?");
}

// The application object of a start with this command line, its requests
// recorded, with a settings key of the test's own.
class StartingCopy : public testing::Test {
protected:
    void SetUp() override
    {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloWordTest");
        app_ = std::make_unique<CorvelloApp>(L"Corvello", VersionArray{1, 2, 0, 21}, true, RegistryRootCurrentUser,
                                             std::wstring(L"\\") + Key);
        app_->System().SetPowerRequests(&requests_);
        app_->System().SetKeyboardRequests(&requests_);
    }
    void TearDown() override
    {
        app_->Terminate(0);
        app_.reset();
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloWordTest");
    }
    // The action mode's handler alone, for the line's arguments.
    ModeResult Handle(const std::wstring& arguments)
    {
        app_->CommandLine = L"x.exe " + arguments;
        app_->ParseCommandLine();
        EXPECT_EQ(app_->Mode(), WorkMode::Action) << Narrow(arguments);
        return app_->HandleActionMode();
    }
    static int Code(ActionExitCode code) { return static_cast<int>(code); }
    bool NothingStored() const { return !tk::RegKey::Open(HKEY_CURRENT_USER, Key); }

    std::unique_ptr<CorvelloApp> app_;
    Requests requests_;
};

}  // namespace

TEST_F(StartingCopy, AnUnknownNameEndsWithTwoHavingShownAndRunNothing)
{
    for (const wchar_t* arguments : {L"/do:bogus", L"/do:", L"-DO:sleepy", L"/do:ctrlaltdel", L"\"/do:sleep now\""}) {
        testsupport::CapturedLog log;
        const ModeResult result = Handle(arguments);
        EXPECT_EQ(result.ExitCode, Code(ActionExitCode::UnknownName));
        EXPECT_TRUE(result.EndAfter);
        EXPECT_EQ(log.Count(L"no action is named"), 1u);
    }
    EXPECT_TRUE(requests_.Calls.empty());

    // The whole start: the code reaches the application, and neither a window
    // nor the instance mutex nor a setting was made.
    app_->CommandLine = L"x.exe /do:" + std::wstring(5000, L'x');
    testsupport::CapturedLog log;
    app_->Execute();
    EXPECT_EQ(tk::Application::Current().ExitCode(), Code(ActionExitCode::UnknownName));
    ASSERT_EQ(log.Count(L"no action is named"), 1u);
    EXPECT_LT(log.Lines().front().size(), 200u) << "the name is cut short in the log";
    EXPECT_EQ(tk::Application::Current().Handle(), nullptr);
    EXPECT_EQ(InstanceMutex(), nullptr);
    EXPECT_TRUE(NothingStored());
}

TEST_F(StartingCopy, WithNoCopyRunningTheDisplayRequestReachesItsOwnWindowBeforeTheEnd)
{
    // Windows' own requests this time: the post to the application window.
    app_->System().SetPowerRequests(nullptr);
    std::vector<MSG> seen;
    tk::ApplicationEvents probe([&](MSG& msg, bool& handled) {
        if (msg.message == WM_SYSCOMMAND) {
            seen.push_back(msg);
            handled = true;  // not carried out
        }
    });
    app_->CommandLine = L"x.exe /DO:MonitorOff";
    app_->Execute();
    const HWND own = tk::Application::Current().Handle();
    ASSERT_NE(own, nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].hwnd, own);
    EXPECT_EQ(seen[0].wParam, power::ScMonitorPower);
    EXPECT_EQ(seen[0].lParam, 2);
    EXPECT_EQ(tk::Application::Current().ExitCode(), 0);
    // Not the tray program: no main form, no instance mutex, nothing stored.
    EXPECT_EQ(tk::Application::Current().MainForm(), nullptr);
    EXPECT_EQ(InstanceMutex(), nullptr);
    EXPECT_TRUE(NothingStored());
}

TEST_F(StartingCopy, WithNoCopyRunningTheKeysAndScreenActionsRunAtOnce)
{
    const struct {
        const wchar_t* Arguments;
        std::vector<std::wstring> Calls;
    } cases[] = {
        {L"/do:capslock", {L"down 20", L"up 20"}},
        {L"-do:NUMLOCK", {L"down 144", L"up 144"}},
        {L"/do:printscreen", {L"down 44", L"up 44"}},
        {L"/do:monitoron", {L"post 61808 -1"}},
        {L"/do:screensaver", {L"post 61760 0"}},
    };
    for (const auto& c : cases) {
        requests_.Calls.clear();
        const ModeResult result = Handle(c.Arguments);
        EXPECT_EQ(result.ExitCode, 0);
        EXPECT_EQ(requests_.Calls, c.Calls) << Narrow(c.Arguments);
    }
}

TEST_F(StartingCopy, WithNoCopyRunningTheStoredSettingDecidesTheQuestion)
{
    // Nothing stored counts as on, as the defaults have it.
    const struct {
        std::optional<DWORD> Stored;
        tk::DialogButton Answer;
        int Questions;
        ActionExitCode Code;
        bool Ran;
    } cases[] = {
        {std::nullopt, tk::DialogButton::No, 1, ActionExitCode::Declined, false},
        {1, tk::DialogButton::No, 1, ActionExitCode::Declined, false},
        {7, tk::DialogButton::Yes, 1, ActionExitCode::Done, true},
        {0, tk::DialogButton::No, 0, ActionExitCode::Done, true},
    };
    for (const auto& c : cases) {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
        if (c.Stored)
            testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, *c.Stored);
        requests_.Calls.clear();
        Answerer answerer(c.Answer);
        const ModeResult result = Handle(L"/do:poweroff");
        EXPECT_EQ(result.ExitCode, static_cast<int>(c.Code));
        EXPECT_EQ(answerer.Shown, c.Questions);
        EXPECT_EQ(!requests_.Calls.empty(), c.Ran);
        if (answerer.Shown) {
            // As the tray menu asks with the window hidden.
            EXPECT_EQ(answerer.Caption, L"Corvello - Power Off");
            EXPECT_EQ(answerer.Message, PowerOffQuestion);
            EXPECT_EQ(answerer.Icon, TrayForm::ApplicationIcon());
            EXPECT_TRUE(answerer.NoIsDefault);
        }
    }
    // Only the power-off family asks.
    tk::RegKey::DeleteTree(HKEY_CURRENT_USER, Key);
    Answerer answerer(tk::DialogButton::No);
    EXPECT_EQ(Handle(L"/do:sleep").ExitCode, 0);
    EXPECT_EQ(answerer.Shown, 0);
    // Reading the setting wrote nothing.
    EXPECT_TRUE(NothingStored());
}

TEST_F(StartingCopy, ARunningCopyIsHandedTheActionAndOnlyItsAnswerCounts)
{
    // A refusing copy that stays is waited for this long.
    app_->HandOverWait = 300;
    StandInCopy copy;
    const struct {
        LRESULT Answer;
        ActionExitCode Code;
    } cases[] = {
        {static_cast<LRESULT>(HandOverTag), ActionExitCode::Done},
        {0, ActionExitCode::Failed},  // not taken: what a copy that knows no action word answers
        {1, ActionExitCode::Failed},  // any other answer is not the copy's
    };
    const std::wstring tag = std::to_wstring(HandOverTag);
    for (const auto& c : cases) {
        copy.Answer = c.Answer;
        copy.Received.clear();
        testsupport::CapturedLog log;
        const ModeResult result = Handle(L"/DO:PowerOff");
        EXPECT_EQ(result.ExitCode, static_cast<int>(c.Code));
        EXPECT_EQ(log.Count(L"it did not take it"), c.Code == ActionExitCode::Done ? 0u : 1u);
        // The name as the table writes it, with its null: 9 UTF-16 units.
        EXPECT_EQ(copy.Received, (std::vector<std::wstring>{tag + L" 18 poweroff"}));
    }
    // Nothing ran or asked here, and no window of its own was made.
    EXPECT_TRUE(requests_.Calls.empty());
    EXPECT_EQ(tk::Application::Current().Handle(), nullptr);
}

TEST_F(StartingCopy, ACopyOnItsWayOutRefusesAndTheActionRunsHereOnceItHasGone)
{
    // A copy being stopped (by an installer, say) refuses what it would not
    // get to, then goes.
    std::optional<testsupport::TestWindow> copy;
    copy.emplace(L"TfrmMain", L"Corvello", [&](UINT message, WPARAM, LPARAM) {
        if (message == WM_COPYDATA) {
            ::PostMessageW(copy->Handle(), WM_CLOSE, 0, 0);
            return true;  // answered 0
        }
        return false;
    });
    const ModeResult result = Handle(L"/do:capslock");
    EXPECT_EQ(result.ExitCode, Code(ActionExitCode::Done));
    EXPECT_EQ(requests_.Actions(), (std::vector<std::wstring>{L"down 20", L"up 20"}));
}

TEST_F(StartingCopy, ACopyThatDoesNotAnswerInTimeIsAFailureNotASuccess)
{
    app_->HandOverWait = 300;
    {
        // A copy whose thread is stuck: its window takes no message.
        const tk::KernelHandle created(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        const tk::KernelHandle release(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread copy([&] {
            testsupport::TestWindow main(L"TfrmMain", L"Corvello");
            ::SetEvent(created.Get());
            ::WaitForSingleObject(release.Get(), 20000);
        });
        ASSERT_EQ(::WaitForSingleObject(created.Get(), 10000), WAIT_OBJECT_0);
        testsupport::CapturedLog log;
        const DWORD start = ::GetTickCount();
        EXPECT_EQ(Handle(L"/do:capslock").ExitCode, Code(ActionExitCode::Failed));
        EXPECT_LT(::GetTickCount() - start, 3000u);
        EXPECT_EQ(log.Count(L"no answer in time"), 1u);
        ::SetEvent(release.Get());
        copy.join();
    }
    {
        // A copy that holds the instance and never shows its window.
        testsupport::InstanceHolder holder;
        ASSERT_TRUE(holder.Held());
        testsupport::CapturedLog log;
        EXPECT_EQ(Handle(L"/do:capslock").ExitCode, Code(ActionExitCode::Failed));
        EXPECT_EQ(log.Count(L"shows no window"), 1u);
    }
    EXPECT_TRUE(requests_.Calls.empty()) << "the action ran here as well";
}

namespace {

// The running copy: the real main window on the application object, its
// requests recorded; its pings go to a loopback listener.
class RunningCopy : public StartingCopy {
protected:
    void SetUp() override
    {
        ASSERT_NE(listener_.Port(), 0);
        StartingCopy::SetUp();
        app_->SettingsReset();
        app_->CreateForms();
        ASSERT_NE(app_->Main(), nullptr);
        requests_.Calls.clear();
    }
    void TearDown() override
    {
        app_->Terminate(0);
        StartingCopy::TearDown();
        testsupport::DeleteValue(HKEY_CURRENT_USER, registry::RunKey, SplitPath(GetModulePath()).FileName.c_str());
    }
    // What a starting copy, or anyone else, sends; the answer.
    LRESULT Send(std::uintptr_t tag, const void* data, std::size_t size)
    {
        COPYDATASTRUCT message{tag, static_cast<DWORD>(size), const_cast<void*>(data)};
        return ::SendMessageW(app_->Main()->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&message));
    }
    LRESULT Send(const wchar_t* name)
    {
        const std::u16string text = commandline::HandOverText(*commandline::FindAction(name));
        return Send(HandOverTag, text.data(), text.size() * sizeof(char16_t));
    }

    testsupport::HttpListener listener_;
    testsupport::LoopbackProxy proxy_{listener_.Port()};
};

}  // namespace

TEST_F(RunningCopy, TakesAHandedOverActionAndRunsItFromItsLoop)
{
    // Hidden, as in the tray: no timer refreshes the LEDs meanwhile.
    app_->Main()->Hide();
    tk::Application::Current().ProcessMessages();
    requests_.Calls.clear();
    EXPECT_EQ(Send(L"capslock"), static_cast<LRESULT>(HandOverTag));
    // Answered first: the starting copy does not wait for the action.
    EXPECT_TRUE(requests_.Calls.empty());
    // Then the keys, and the LEDs follow.
    ASSERT_TRUE(testsupport::WaitUntil([&] { return requests_.Calls.size() >= 5; }, 5000));
    EXPECT_EQ(requests_.Calls,
              (std::vector<std::wstring>{L"down 20", L"up 20", L"state 20", L"state 144", L"state 145"}));

    // Monitor On, which has no button or menu entry, runs all the same.
    requests_.Calls.clear();
    EXPECT_EQ(Send(L"monitoron"), static_cast<LRESULT>(HandOverTag));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !requests_.Calls.empty(); }, 5000));
    EXPECT_EQ(requests_.Calls, (std::vector<std::wstring>{L"post 61808 -1"}));
}

TEST_F(RunningCopy, AsksAsTheTrayMenuAsksWithTheWindowHidden)
{
    // Visible or not, the question names the program, as from the tray.
    for (const bool visible : {true, false}) {
        app_->Main()->SetVisible(visible);
        ASSERT_TRUE(app_->Main()->Confirmations().Checked());
        requests_.Calls.clear();
        Answerer answerer(tk::DialogButton::No);
        EXPECT_EQ(Send(L"poweroff"), static_cast<LRESULT>(HandOverTag));
        ASSERT_TRUE(testsupport::WaitUntil([&] { return answerer.Shown > 0; }, 5000)) << visible;
        EXPECT_EQ(answerer.Caption, L"Corvello - Power Off");
        EXPECT_EQ(answerer.Message, PowerOffQuestion);
        EXPECT_EQ(answerer.Icon, TrayForm::ApplicationIcon());
        tk::Application::Current().ProcessMessages();
        EXPECT_TRUE(requests_.Actions().empty()) << "answered No, yet it ran";
    }

    // With the box unchecked it runs at once.
    app_->Main()->Confirmations().SetChecked(false);
    Answerer answerer(tk::DialogButton::No);
    EXPECT_EQ(Send(L"poweroff"), static_cast<LRESULT>(HandOverTag));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !requests_.Actions().empty(); }, 5000));
    EXPECT_EQ(answerer.Shown, 0);
}

TEST_F(RunningCopy, LeavesAloneWhatAStartingCopyDoesNotWrite)
{
    const std::u16string lock(u"lock\0", 5);
    const std::u16string upper(u"LOCK\0", 5);
    const std::u16string unterminated(u"capslock");
    std::vector<unsigned char> huge(8 * 1024 * 1024, 0xA5);
    const struct {
        const char* What;
        std::uintptr_t Tag;
        const void* Data;
        std::size_t Size;
    } cases[] = {
        {"another tag", HandOverTag ^ 1, lock.data(), 10},
        {"no data", HandOverTag, nullptr, 0},
        {"an odd size", HandOverTag, lock.data(), 9},
        {"no null at the end", HandOverTag, unterminated.data(), 16},
        {"a name as no copy writes it", HandOverTag, upper.data(), 10},
        {"eight megabytes of garbage", HandOverTag, huge.data(), huge.size()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Send(c.Tag, c.Data, c.Size), 0) << c.What;
        tk::Application::Current().ProcessMessages();
    }
    // Not sent as a WM_COPYDATA at all.
    EXPECT_EQ(::SendMessageW(app_->Main()->Handle(), WM_COPYDATA, 0, 0), 0);
    tk::Application::Current().ProcessMessages();
    EXPECT_TRUE(requests_.Actions().empty());
}

TEST_F(RunningCopy, AButtonAsksAsTheBoxShowsNotAsTheStoredSetting)
{
    MainWindow& main = *app_->Main();
    main.Show();
    tk::Button* powerOff = main.ButtonFor(ActionId::PowerOff);
    ASSERT_NE(powerOff, nullptr);
    // Stored off, the box on: it asks, under the action's own caption.
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 0);
    ASSERT_TRUE(main.Confirmations().Checked());
    {
        Answerer answerer(tk::DialogButton::No);
        powerOff->Click();
        EXPECT_EQ(answerer.Shown, 1);
        EXPECT_EQ(answerer.Caption, L"Power Off");
        EXPECT_TRUE(requests_.Actions().empty());
    }
    // Stored on, the box off: it runs at once.
    main.Confirmations().SetChecked(false);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Confirmations, 1);
    Answerer answerer(tk::DialogButton::No);
    powerOff->Click();
    EXPECT_EQ(answerer.Shown, 0);
    EXPECT_FALSE(requests_.Actions().empty());
}

TEST_F(RunningCopy, AskedToEndItTakesNoActionItWouldNotGetTo)
{
    for (const UINT request : {corvello::WM_INSTANCE_STOP, corvello::WM_APP_TERMINATE}) {
        // The request waits in the queue; the hand-over, being sent, comes
        // first.
        ::PostMessageW(tk::Application::Current().Handle(), request, 0, 0);
        EXPECT_EQ(Send(L"capslock"), 0) << request;
        MSG taken{};
        ::PeekMessageW(&taken, nullptr, request, request, PM_REMOVE);
    }
    tk::Application::Current().ProcessMessages();
    EXPECT_TRUE(requests_.Actions().empty());
}
