// The Windows side of the keyboard actions: the lock readers against the
// thread's key state, injected keys as a window of this thread receives them,
// and the application's keyboard actions through the seam.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "actions/ActionCatalogue.h"
#include "actions/WindowsKeyboardRequests.h"
#include "app/CorvelloApp.h"
#include "core/SystemVersion.h"
#include "support/DialogAnswerer.h"
#include "support/FormTestSupport.h"
#include "support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Timer.h"

using namespace corvello;

namespace {

// Puts this thread's key state back as it was.
class KeyStateRestorer {
public:
    KeyStateRestorer() { ::GetKeyboardState(saved_); }
    ~KeyStateRestorer() { ::SetKeyboardState(saved_); }
    KeyStateRestorer(const KeyStateRestorer&) = delete;
    KeyStateRestorer& operator=(const KeyStateRestorer&) = delete;

private:
    BYTE saved_[256] = {};
};

// A shown window of this thread with the keyboard focus, which records the
// keys it receives.
class KeyWindow {
public:
    KeyWindow()
        : window_(L"CorvelloKeyTest", L"Keys",
                  [this](UINT message, WPARAM wParam, LPARAM) {
                      if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
                          Keys.push_back(L"down " + std::to_wstring(wParam));
                      else if (message == WM_KEYUP || message == WM_SYSKEYUP)
                          Keys.push_back(L"up " + std::to_wstring(wParam));
                      return false;
                  })
    {
        ::ShowWindow(window_.Handle(), SW_SHOW);
        ::SetForegroundWindow(window_.Handle());
        ::SetFocus(window_.Handle());
    }
    bool Focused() const
    {
        return testsupport::WaitUntil([this] { return ::GetFocus() == window_.Handle(); }, 5000);
    }

    std::vector<std::wstring> Keys;

private:
    testsupport::TestWindow window_;
};

}  // namespace

TEST(KeyboardRequests, LockReadersTakeTheThreadsToggleBits)
{
    const KeyStateRestorer restore;
    WindowsKeyboardRequests requests;
    for (const bool on : {true, false}) {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        // Caps Lock and Scroll Lock as told, Num Lock the other way, each
        // with the key held down, which is not its lock state.
        state[VK_CAPITAL] = on ? 0x81 : 0x80;
        state[VK_NUMLOCK] = on ? 0x80 : 0x81;
        state[VK_SCROLL] = on ? 0x81 : 0x80;
        ASSERT_TRUE(::SetKeyboardState(state));
        EXPECT_EQ(requests.KeyState(VK_CAPITAL), ::GetKeyState(VK_CAPITAL));
        EXPECT_EQ(keyboard::IsCapsLockOn(requests), on);
        EXPECT_EQ(keyboard::IsNumLockOn(requests), !on);
        EXPECT_EQ(keyboard::IsScrollLockOn(requests), on);
    }
}

TEST(KeyboardRequests, AnInjectedLockPressTogglesTheLock)
{
    KeyWindow window;
    ASSERT_TRUE(window.Focused());
    WindowsKeyboardRequests requests;
    // Scroll Lock changes nothing another test types. Wine forgets an
    // injected toggle when the focus moves, so it is switched back while the
    // window still has it.
    const bool before = keyboard::IsScrollLockOn(requests);
    ASSERT_TRUE(keyboard::SwitchScrollLock(requests));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return keyboard::IsScrollLockOn(requests) != before; }, 5000));
    ASSERT_TRUE(keyboard::SwitchScrollLock(requests));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return keyboard::IsScrollLockOn(requests) == before; }, 5000));
    EXPECT_EQ(window.Keys,
              (std::vector<std::wstring>{L"down 145", L"up 145", L"down 145", L"up 145"}));
}

TEST(KeyboardRequests, CtrlShiftEscGoesDownAndUpInReverse)
{
    KeyWindow window;
    ASSERT_TRUE(window.Focused());
    WindowsKeyboardRequests requests;
    ASSERT_TRUE(keyboard::PressCtrlShiftEsc(requests));
    EXPECT_TRUE(testsupport::WaitUntil([&] { return window.Keys.size() >= 6; }, 5000));
    EXPECT_EQ(window.Keys, (std::vector<std::wstring>{L"down 17", L"down 16", L"down 27", L"up 27", L"up 16",
                                                      L"up 17"}));
    for (const int key : {VK_CONTROL, VK_SHIFT, VK_ESCAPE})
        EXPECT_EQ(::GetKeyState(key) & 0x8000, 0) << "key " << key << " left down";
}

namespace {

class Recorder : public KeyboardRequests {
public:
    std::vector<std::wstring> Calls;
    std::int16_t Toggled = 0;

    void KeyEvent(std::uint8_t key, std::uint8_t, std::uint32_t flags) override
    {
        Calls.push_back((flags ? L"up " : L"down ") + std::to_wstring(key));
    }
    std::int16_t KeyState(std::uint8_t key) override
    {
        Calls.push_back(L"state " + std::to_wstring(key));
        return Toggled;
    }
    void Wait(std::uint32_t ms) override { Calls.push_back(L"wait " + std::to_wstring(ms)); }
    Handle OpenNamedWindowStation(const std::wstring& name, bool, std::uint32_t) override
    {
        Calls.push_back(L"open " + name);
        return nullptr;
    }
    bool SetProcessWindowStation(Handle) override { return false; }
    Handle OpenNamedDesktop(const std::wstring&, std::uint32_t, bool, std::uint32_t) override { return nullptr; }
    bool SetThreadDesktop(Handle) override { return false; }
    bool PostBroadcast(unsigned, std::uintptr_t, std::intptr_t) override { return false; }
    void LogCurrentException(const std::wstring&) noexcept override {}
};

// What the Ctrl+Alt+Del warning looked like; answered with Cancel.
struct SeenDialog {
    bool Shown = false;
    std::wstring Caption;
    std::wstring Message;
    tk::DialogType Type = tk::DialogType::Custom;
    bool OnlyCancel = false;
    bool CancelIsDefault = false;
    HWND Owner = nullptr;
};

}  // namespace

TEST(KeyboardRequests, TheApplicationActionsGoThroughTheSeam)
{
    testsupport::FormTestApp fixture;
    CorvelloApp& app = fixture.App();
    Recorder recorder;
    app.System().SetKeyboardRequests(&recorder);

    EXPECT_TRUE(app.System().Run(ActionOperation::SwitchNumLock));
    EXPECT_TRUE(app.System().Run(ActionOperation::SwitchCapsLock));
    EXPECT_TRUE(app.System().Run(ActionOperation::SwitchScrollLock));
    EXPECT_TRUE(app.System().Run(ActionOperation::PressCtrlShiftEsc));
    EXPECT_TRUE(app.System().Run(ActionOperation::PressPrintScreen));
    recorder.Toggled = 1;
    EXPECT_TRUE(app.System().IsLockOn(LockKey::Caps));
    recorder.Toggled = 0;
    EXPECT_FALSE(app.System().IsLockOn(LockKey::Num));
    EXPECT_FALSE(app.System().IsLockOn(LockKey::Scroll));
    EXPECT_EQ(recorder.Calls,
              (std::vector<std::wstring>{L"down 144", L"up 144", L"down 20", L"up 20", L"down 145", L"up 145",
                                         L"down 17", L"down 16", L"down 27", L"wait 50", L"up 27", L"up 16",
                                         L"up 17", L"down 44", L"up 44", L"state 20", L"state 144", L"state 145"}));

    // Before Vista the logon desktop is asked (and here refuses at once).
    const bool vista = IsWinVistaOrHigher;
    IsWinVistaOrHigher = false;
    recorder.Calls.clear();
    EXPECT_FALSE(app.System().Run(ActionOperation::PressCtrlAltDel));
    EXPECT_EQ(recorder.Calls, (std::vector<std::wstring>{L"open winsta0"}));

    // From Vista on only the warning comes, over the main window.
    IsWinVistaOrHigher = true;
    recorder.Calls.clear();
    auto mainForm = tk::CreateForm<testsupport::TestForm>(app);
    tk::Application::Current().SetMainForm(mainForm.get());
    SeenDialog seen;
    tk::Timer timer(30);
    timer.OnTimer = [&](tk::Timer& t) {
        auto* dialog = testsupport::ActiveMessageDialog();
        if (!dialog || seen.Shown || !dialog->Visible())
            return;
        seen.Shown = true;
        t.SetEnabled(false);
        seen.Caption = dialog->Caption();
        seen.Message = dialog->MessageLabel()->Caption();
        seen.Type = dialog->Type();
        seen.OnlyCancel = dialog->ButtonFor(tk::DialogButton::Cancel) && !dialog->ButtonFor(tk::DialogButton::OK) &&
                          !dialog->ButtonFor(tk::DialogButton::Yes) && !dialog->ButtonFor(tk::DialogButton::No);
        seen.CancelIsDefault = seen.OnlyCancel && dialog->ButtonFor(tk::DialogButton::Cancel)->IsDefault();
        seen.Owner = ::GetWindow(dialog->Handle(), GW_OWNER);
        dialog->ButtonFor(tk::DialogButton::Cancel)->Click();
    };
    EXPECT_FALSE(app.System().Run(ActionOperation::PressCtrlAltDel));
    IsWinVistaOrHigher = vista;
    tk::Application::Current().SetMainForm(nullptr);

    EXPECT_TRUE(seen.Shown);
    EXPECT_EQ(seen.Caption, L"Warning");
    EXPECT_EQ(seen.Message, catalogue::CtrlAltDelWarning);
    EXPECT_EQ(seen.Type, tk::DialogType::Warning);
    EXPECT_TRUE(seen.OnlyCancel);
    EXPECT_TRUE(seen.CancelIsDefault);
    EXPECT_EQ(seen.Owner, mainForm->Handle());
    EXPECT_TRUE(recorder.Calls.empty());
    app.System().SetKeyboardRequests(nullptr);
}
