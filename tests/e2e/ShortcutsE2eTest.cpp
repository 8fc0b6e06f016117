// Keyboard shortcuts of the real program: stored ones registered with
// Windows and running their actions, a combination another program holds
// named on the Options page and in the log, and everything registered again
// after a resume, an unlock and a new task bar.
#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "e2e/ProgramSpy.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using namespace corvello;
using testsupport::ChildWithText;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::TextOf;
using testsupport::WaitUntil;

namespace {

constexpr const wchar_t* HotkeysKey = L"Software\\QUORVANT\\Corvello\\1.0\\Hotkeys";
// The combinations, as stored: the modifiers high, the key low.
constexpr DWORD CtrlAltK = 0x0003004B;  // Caps Lock
constexpr DWORD CtrlAltP = 0x00030050;  // Power Off
constexpr DWORD CtrlAltJ = 0x0003004A;  // Scroll Lock: held by this test at first
constexpr UINT Ctrl_Alt = MOD_CONTROL | MOD_ALT;

bool CapsLockOn()
{
    return (::GetKeyState(VK_CAPITAL) & 1) != 0;
}

// Whether this process may have the combination: false with 1409 while the
// program holds it.
DWORD TryToHold(HWND window, UINT key)
{
    if (!::RegisterHotKey(window, 7, Ctrl_Alt, key))
        return ::GetLastError();
    ::UnregisterHotKey(window, 7);
    return 0;
}

class ShortcutsE2e : public testsupport::ProgramUserTest {
protected:
    void SetUp() override
    {
        ProgramUserTest::SetUp();
        if (CapsLockOn())
            testsupport::PressKeys({VK_CAPITAL});
    }
    void TearDown() override
    {
        if (CapsLockOn())
            testsupport::PressKeys({VK_CAPITAL});
        ProgramUserTest::TearDown();
    }

    // Starts the program with its window shown and in front, where Wine
    // delivers the keys.
    void Start()
    {
        program_.emplace(L"");
        ASSERT_TRUE(program_->WaitRunning());
        user_.emplace(program_->Id());
        ASSERT_TRUE(user_->WaitMainVisible(true));
        main_ = user_->MainWindow();
        ::SetForegroundWindow(main_);
        ASSERT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == main_; }, 5000));
    }

    // Presses Ctrl+Alt+Caps's key and waits for Caps Lock to change.
    bool ShortcutSwitchesCapsLock()
    {
        const bool wasOn = CapsLockOn();
        ::SetForegroundWindow(main_);
        testsupport::PressKeys({VK_CONTROL, VK_MENU, 'K'});
        return WaitUntil([&] { return CapsLockOn() != wasOn; }, 5000);
    }

    // The Options window on the Shortcuts page, from the system menu.
    HWND OpenOptions()
    {
        ::PostMessageW(main_, WM_SYSCOMMAND, 2395, 0);
        return user_->WaitWindow(L"TfrmOptions");
    }

    // The list's row of an action, read from the program.
    static std::wstring Row(HWND list, const std::wstring& caption)
    {
        const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        for (int row = 0; row < rows; ++row)
            if (testsupport::ListViewCell(list, row, 0) == caption)
                return testsupport::ListViewCell(list, row, 1) + L" | " + testsupport::ListViewCell(list, row, 2);
        return L"(no row)";
    }

    std::optional<Corvello> program_;
    std::optional<ProgramUser> user_;
    HWND main_ = nullptr;
};

// What an edit control of the program holds: asked of it, since the
// caption Windows keeps for another process's window is not its text.
std::wstring FieldText(HWND field)
{
    wchar_t text[128] = {};
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(field, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000,
                          &copied);
    return text;
}

HWND FindList(HWND window)
{
    for (const HWND child : testsupport::Descendants(window))
        if (testsupport::ClassOf(child) == WC_LISTVIEWW)
            return child;
    return nullptr;
}

}  // namespace

TEST_F(ShortcutsE2e, StoredShortcutsRunTheirActionsAndAHeldOneIsNamedButStopsNoOther)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"CapsLock", CtrlAltK);
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"PowerOff", CtrlAltP);
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"ScrollLock", CtrlAltJ);
    testsupport::WriteSz(HKEY_CURRENT_USER, HotkeysKey, L"NumLock", L"Ctrl+Alt+N");  // not a shortcut's type
    testsupport::TestWindow holder(L"CorvelloHotKeyHolder", L"Holder");
    ASSERT_TRUE(::RegisterHotKey(holder.Handle(), 1, Ctrl_Alt, 'J'));
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());

    Start();
    // The program holds its combinations: another program is refused them.
    EXPECT_TRUE(WaitUntil([&] { return TryToHold(holder.Handle(), 'K') == 1409; }, 5000));
    EXPECT_EQ(TryToHold(holder.Handle(), 'P'), 1409u);
    // What it could not have is in the log, with what was stored wrongly.
    const auto logged = [&](const std::wstring& part) {
        return WaitUntil(
            [&] {
                for (const auto& line : log.LinesOf(program_->Id()))
                    if (line.find(part) != std::wstring::npos)
                        return true;
                return false;
            },
            5000);
    };
    EXPECT_TRUE(logged(L"registering the shortcut Ctrl+Alt+J of ScrollLock (another program holds it)"));
    EXPECT_TRUE(logged(L"the shortcut of NumLock (stored as no shortcut can be"));

    // The others work: Caps Lock switches, Power Off asks as from the tray
    // menu with the window hidden.
    EXPECT_TRUE(ShortcutSwitchesCapsLock());
    testsupport::PressKeys({VK_CONTROL, VK_MENU, 'P'});
    const HWND question = user_->WaitWindow(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(TextOf(question), L"Corvello - Power Off");
    ProgramUser::Key(question, VK_ESCAPE);
    EXPECT_TRUE(user_->WaitNone(L"TMessageForm"));

    // The page says which one is in use, and the tray menu shows the others.
    const HWND options = OpenOptions();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(TextOf(options), L"Corvello Options");
    const HWND list = FindList(options);
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return Row(list, L"Scroll Lock") == L"Ctrl+Alt+J | in use by another program"; },
                          5000))
        << testsupport::Narrow(Row(list, L"Scroll Lock"));
    EXPECT_EQ(Row(list, L"Caps Lock"), L"Ctrl+Alt+K | ");
    EXPECT_EQ(Row(list, L"Num Lock"), L" | ");
    EXPECT_TRUE(testsupport::SaveWindowPng(options, L"options-shortcuts.png"));
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(ShortcutsE2e, EveryShortcutIsRegisteredAgainAfterAResumeAnUnlockAndANewTaskBar)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"CapsLock", CtrlAltK);
    testsupport::TestWindow holder(L"CorvelloHotKeyHolder", L"Holder");
    const UINT taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    struct Event {
        const char* What;
        UINT Message;
        WPARAM WParam;
    };
    const Event events[] = {
        {"a resume", WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC},
        {"an unlock", WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK},
        {"a new task bar", taskbarCreated, 0},
    };
    for (const Event& event : events) {
        SCOPED_TRACE(event.What);
        // Held here at the start, so the program could not have it.
        ASSERT_TRUE(::RegisterHotKey(holder.Handle(), 1, Ctrl_Alt, 'K'));
        Start();
        const HWND events = user_->Window(L"tk.SystemEvents", false);
        ASSERT_NE(events, nullptr);
        // Let go of here: only registering again gives it to the program.
        ::UnregisterHotKey(holder.Handle(), 1);
        ::SendMessageW(events, event.Message, event.WParam, 0);
        EXPECT_EQ(TryToHold(holder.Handle(), 'K'), 1409u);
        EXPECT_TRUE(ShortcutSwitchesCapsLock());
        EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
        testsupport::ForgetProgramSettings();
        testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"CapsLock", CtrlAltK);
    }
}

TEST_F(ShortcutsE2e, AButtonsMenuLeadsToItsFieldWhichTakesACombinationAndRefusesAPlainKeyOrATakenOne)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"CapsLock", CtrlAltK);
    Start();
    // A right click on Monitor Off's button: its menu, "Shortcut...".
    const HWND button = ChildWithText(main_, L"Monitor Off");
    ASSERT_NE(button, nullptr);
    RECT at{};
    ::GetWindowRect(button, &at);
    ::PostMessageW(button, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(button), MAKELPARAM(at.left + 5, at.top + 5));
    const HWND menu = user_->WaitWindow(L"#32768");
    ASSERT_NE(menu, nullptr);
    ProgramUser::Key(menu, VK_DOWN);
    ProgramUser::Enter(menu);
    const HWND options = user_->WaitWindow(L"TfrmOptions");
    ASSERT_NE(options, nullptr);
    const HWND list = FindList(options);
    ASSERT_NE(list, nullptr);
    // The field has the keyboard, for Monitor Off.
    const HWND field = program_->WaitFocusOfClass(L"Edit");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(FieldText(field), L"None");
    const auto reasonShown = [&](const std::wstring& start) {
        return WaitUntil(
            [&] {
                for (const HWND child : testsupport::Descendants(options))
                    if (TextOf(child).rfind(start, 0) == 0)
                        return true;
                return false;
            },
            5000);
    };

    // A plain letter is refused, with the reason beside the field.
    testsupport::PressKeys({'M'});
    EXPECT_TRUE(reasonShown(L"M: Hold Ctrl, Alt or the Windows key with it"));
    EXPECT_EQ(FieldText(field), L"None");
    // So is Caps Lock's combination.
    testsupport::PressKeys({VK_CONTROL, VK_MENU, 'K'});
    EXPECT_TRUE(reasonShown(L"Ctrl+Alt+K: already the shortcut of Caps Lock"));
    EXPECT_EQ(FieldText(field), L"None");
    // The Windows key counts; the combination is stored and registered.
    testsupport::PressKeys({VK_LWIN, VK_SHIFT, 'M'});
    EXPECT_TRUE(WaitUntil([&] { return FieldText(field) == L"Shift+Win+M"; }, 5000)) << testsupport::Narrow(FieldText(field));
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, HotkeysKey, L"MonitorOff"), 0x000C004Du);
    EXPECT_EQ(Row(list, L"Monitor Off"), L"Shift+Win+M | ");
    testsupport::TestWindow other(L"CorvelloHotKeyHolder", L"Holder");
    EXPECT_FALSE(::RegisterHotKey(other.Handle(), 1, MOD_SHIFT | MOD_WIN, 'M'));
    EXPECT_TRUE(testsupport::SaveWindowPng(options, L"options-shortcuts-set.png"));

    // Backspace clears it, from the registry and from Windows.
    testsupport::PressKeys({VK_BACK});
    EXPECT_TRUE(WaitUntil([&] { return FieldText(field) == L"None"; }, 5000));
    EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, HotkeysKey, L"MonitorOff"), std::nullopt);
    EXPECT_TRUE(::RegisterHotKey(other.Handle(), 1, MOD_SHIFT | MOD_WIN, 'M'));
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(ShortcutsE2e, TheOptionsWordShowsTheWindowOnTheRunningCopyAndAlone)
{
    // Alone: the start becomes the program, with the Options window.
    {
        Corvello alone(L"/options");
        ASSERT_TRUE(alone.WaitRunning());
        const ProgramUser user(alone.Id());
        EXPECT_NE(user.WaitWindow(L"TfrmOptions"), nullptr);
        EXPECT_EQ(alone.Stop(), std::optional<DWORD>(0));
    }
    // Handed to the running copy, in the tray, like a second start.
    testsupport::ForgetProgramSettings();
    Start();
    CloseBox(main_);
    ASSERT_TRUE(user_->WaitMainVisible(false));
    Corvello word(L"-OPTIONS");
    EXPECT_EQ(word.WaitExit(10000), std::optional<DWORD>(0));
    const HWND options = user_->WaitWindow(L"TfrmOptions");
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(::IsWindowVisible(main_));
    EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == options; }, 5000));
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(ShortcutsE2e, MonitorOffFromItsShortcutWaitsUntilTheKeysAreUpAndQuiet)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"MonitorOff", 0x0003004F);  // Ctrl+Alt+O
    Start();
    const HWND application = program_->AppWindow();
    ASSERT_NE(application, nullptr);
    testsupport::ProgramSpy spy(main_);
    ASSERT_TRUE(spy.InPlace());

    // The keys go down and stay down: the shortcut is taken, the display
    // is left alone.
    INPUT keys[3] = {};
    const WORD codes[3] = {VK_CONTROL, VK_MENU, 'O'};
    for (int i = 0; i < 3; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
    }
    ::SetForegroundWindow(main_);
    ::SendInput(3, keys, sizeof(INPUT));
    ASSERT_TRUE(WaitUntil([&] { return !spy.Messages(WM_HOTKEY).empty(); }, 5000));
    // While they are held the program keeps waiting: a message sent now is
    // answered from inside that wait, and nothing has gone to the display.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_TRUE(spy.SystemCommands().empty());

    // Let go: the display request follows, half a second of quiet later.
    for (int i = 0; i < 3; ++i)
        keys[i].ki.dwFlags = KEYEVENTF_KEYUP;
    std::swap(keys[0], keys[2]);
    ::SendInput(3, keys, sizeof(INPUT));
    const DWORD released = ::GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return !spy.SystemCommands().empty(); }, 5000));
    const auto commands = spy.SystemCommands();
    EXPECT_EQ(commands.front().Window, application);
    EXPECT_EQ(commands.front().WParam, 0xF170u);  // SC_MONITORPOWER
    EXPECT_EQ(commands.front().LParam, 2);
    EXPECT_GE(commands.front().Time - released, 450u) << "not half a second after the keys came up";
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}
