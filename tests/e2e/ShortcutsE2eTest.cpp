// Keyboard shortcuts of the real program: stored ones registered with
// Windows and running their actions (those that press keys once the user's
// modifiers are up), a combination another program holds named on the
// Options page, in a balloon and in the log and left out of the tray menu,
// everything registered again after a resume, an unlock and a new task bar,
// and the field that records them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/CapsLockPresses.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/DebugOutputCapture.h"
#include "e2e/ProgramSpy.h"
#include "support/MainWindowScenes.h"
#include "support/ScreenPixels.h"

using namespace corvello;
using testsupport::CapsLockPresses;
using testsupport::ChildWithText;
using testsupport::Corvello;
using testsupport::ProgramUser;
using testsupport::TextOf;
using testsupport::WaitUntil;

namespace {

const std::wstring HotkeysKey = testsupport::ProgramSubkey(registry::HotkeysKey);
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
    // delivers the keys; spied, with the spy in from the first message.
    void Start(bool spied = false)
    {
        program_.emplace(L"", spied);
        if (spied) {
            ASSERT_TRUE(program_->Started());
            spy_.emplace(program_->Id(), program_->ThreadId());
            ASSERT_TRUE(spy_->Hooked());
            program_->Resume();
        }
        ASSERT_TRUE(program_->WaitShown());
        user_.emplace(program_->Id());
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

    // Options on the Shortcuts page from a right click on the action's
    // button, "Shortcut...": the field has the keyboard, for that action.
    HWND OpenFieldOf(const wchar_t* button, HWND& options)
    {
        const HWND control = ChildWithText(main_, button);
        if (!control)
            return nullptr;
        const HWND menu = user_->OpenContextMenu(control);
        if (!menu)
            return nullptr;
        ProgramUser::Key(menu, VK_DOWN);
        ProgramUser::Enter(menu);
        options = user_->WaitWindow(L"TfrmOptions");
        return options ? program_->WaitFocusOfClass(L"Edit") : nullptr;
    }

    std::optional<Corvello> program_;
    std::optional<testsupport::ProgramSpy> spy_;
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

// Whether a text of the window begins so, once one does within the time.
bool ReasonShown(HWND window, const std::wstring& start)
{
    return WaitUntil(
        [&] {
            for (const HWND child : testsupport::Descendants(window))
                if (TextOf(child).rfind(start, 0) == 0)
                    return true;
            return false;
        },
        5000);
}

// Ctrl, Alt and Shift as the key stream names them, on either side.
DWORD EitherSide(DWORD key)
{
    switch (key) {
    case VK_LCONTROL:
    case VK_RCONTROL:
        return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU:
        return VK_MENU;
    case VK_LSHIFT:
    case VK_RSHIFT:
        return VK_SHIFT;
    default:
        return key;
    }
}

// Where the key first went down or up in the stream; npos for nowhere.
std::size_t FirstInStream(DWORD key, bool up)
{
    const auto& stream = CapsLockPresses::Stream();
    for (std::size_t i = 0; i < stream.size(); ++i)
        if (EitherSide(stream[i].Key) == key && stream[i].Up == up)
            return i;
    return std::wstring::npos;
}

// The rows of ink of the field's text: how many rows of its box lie clear
// above and below them.
std::pair<int, int> RoomAroundText(HWND field)
{
    RECT box{};
    ::GetClientRect(field, &box);
    ::MapWindowPoints(field, nullptr, reinterpret_cast<POINT*>(&box), 2);
    const testsupport::Pixels shown = testsupport::CaptureScreen(box);
    int first = -1;
    int last = -1;
    for (int y = 0; y < shown.Height; ++y)
        for (int x = 0; x < shown.Width; ++x) {
            const std::uint32_t p = shown.At(x, y);
            if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 128) {
                if (first < 0)
                    first = y;
                last = y;
            }
        }
    return first < 0 ? std::pair{-1, -1} : std::pair{first, shown.Height - 1 - last};
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
    // Far too large to be read whole: damaged, not missing.
    const std::vector<BYTE> huge(64 * 1024, 0x4B);
    testsupport::WriteValue(HKEY_CURRENT_USER, HotkeysKey, L"PrintScreen", REG_DWORD, huge.data(), huge.size());
    testsupport::TestWindow holder(L"CorvelloHotKeyHolder", L"Holder");
    ASSERT_TRUE(::RegisterHotKey(holder.Handle(), 1, Ctrl_Alt, 'J'));
    testsupport::DebugOutputCapture log;
    ASSERT_TRUE(log.Listening());

    Start(true);
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
    EXPECT_TRUE(logged(L"the shortcut of PrintScreen (stored as no shortcut can be"));
    // The balloon after the start names it.
    ASSERT_TRUE(WaitUntil([&] { return !spy_->Balloons().empty(); }, 5000));
    EXPECT_EQ(spy_->Balloons().front(), L"These shortcuts are in use by another program: Scroll Lock (Ctrl+Alt+J). "
                                        L"Choose others in the Options window.");

    // The others work: Caps Lock switches, Power Off asks as from the tray
    // menu with the window hidden.
    EXPECT_TRUE(ShortcutSwitchesCapsLock());
    testsupport::PressKeys({VK_CONTROL, VK_MENU, 'P'});
    const HWND question = user_->WaitWindow(L"TMessageForm");
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(TextOf(question), L"Corvello - Power Off");
    ProgramUser::Key(question, VK_ESCAPE);
    EXPECT_TRUE(user_->WaitNone(L"TMessageForm"));

    // The tray menu shows the shortcuts that work beside their entries, and
    // none beside the one another program holds.
    ASSERT_NE(user_->OpenTrayMenu(), nullptr);
    EXPECT_TRUE(user_->CloseMenus());
    const auto entries = spy_->MenuEntries();
    const auto shown = [&](const std::wstring& entry) {
        return std::find(entries.begin(), entries.end(), entry) != entries.end();
    };
    EXPECT_TRUE(shown(L"Caps Lock\tCtrl+Alt+K"));
    EXPECT_TRUE(shown(L"Power Off\tCtrl+Alt+P"));
    EXPECT_TRUE(shown(L"Scroll Lock"));
    EXPECT_TRUE(shown(L"Num Lock"));
    EXPECT_FALSE(shown(L"Scroll Lock\tCtrl+Alt+J"));

    // The page says which one is in use and why.
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
    HWND options = nullptr;
    const HWND field = OpenFieldOf(L"Monitor Off", options);
    ASSERT_NE(field, nullptr);
    const HWND list = FindList(options);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(FieldText(field), L"None");
    const auto reasonShown = [&](const std::wstring& start) { return ReasonShown(options, start); };

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
    ASSERT_TRUE(user_->HideWithCloseBox());
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
    ::SetForegroundWindow(main_);
    testsupport::HoldKeys({VK_CONTROL, VK_MENU, 'O'});
    ASSERT_TRUE(WaitUntil([&] { return !spy.Messages(WM_HOTKEY).empty(); }, 5000));
    // While they are held the program keeps waiting: a message sent now is
    // answered from inside that wait, and nothing has gone to the display.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_TRUE(spy.SystemCommands().empty());

    // Let go: the display request follows, half a second of quiet later.
    testsupport::ReleaseKeys({VK_CONTROL, VK_MENU, 'O'});
    const DWORD released = ::GetTickCount();
    ASSERT_TRUE(WaitUntil([&] { return !spy.SystemCommands().empty(); }, 5000));
    const auto commands = spy.SystemCommands();
    EXPECT_EQ(commands.front().Window, application);
    EXPECT_EQ(commands.front().WParam, 0xF170u);  // SC_MONITORPOWER
    EXPECT_EQ(commands.front().LParam, 2);
    EXPECT_GE(commands.front().Time - released, 450u) << "not half a second after the keys came up";
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(ShortcutsE2e, AShortcutThatPressesKeysPressesThemOnceItsModifiersAreUpOrASecondHasPassed)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, HotkeysKey, L"CapsLock", CtrlAltK);
    Start();
    spy_.emplace(main_);
    ASSERT_TRUE(spy_->InPlace());
    const std::size_t none = std::wstring::npos;
    // Whatever fails, no key of the test stays down.
    struct LetGo {
        ~LetGo() { testsupport::ReleaseKeys({VK_CONTROL, VK_MENU, 'K'}); }
    } letGo;
    CapsLockPresses keys;
    ASSERT_TRUE(keys.Hooked());
    // The shortcut goes down and stays until the program has taken it.
    const auto holdShortcut = [&] {
        CapsLockPresses::Stream().clear();
        const std::size_t before = spy_->Messages(WM_HOTKEY).size();
        ::SetForegroundWindow(main_);
        testsupport::HoldKeys({VK_CONTROL, VK_MENU, 'K'});
        return WaitUntil([&] { return spy_->Messages(WM_HOTKEY).size() > before; }, 5000);
    };

    // Held: Caps Lock waits while the program still answers.
    ASSERT_TRUE(holdShortcut());
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(FirstInStream(VK_CAPITAL, false), none) << "pressed while Ctrl and Alt were held";
    // Let go: the program's Caps Lock comes after Ctrl and Alt went up.
    testsupport::ReleaseKeys({VK_CONTROL, VK_MENU, 'K'});
    ASSERT_TRUE(WaitUntil([&] { return FirstInStream(VK_CAPITAL, false) != none; }, 5000));
    const std::size_t caps = FirstInStream(VK_CAPITAL, false);
    EXPECT_TRUE(CapsLockPresses::Stream()[caps].Injected);
    EXPECT_LT(FirstInStream(VK_CONTROL, true), caps);
    EXPECT_LT(FirstInStream(VK_MENU, true), caps);
    // The X server answers the injected Caps Lock with a press of its own,
    // which under Wine also resets the key state it knows of: that comes
    // before the next round holds the shortcut, not in the middle of it.
    WaitUntil(
        [&] {
            const auto& stream = CapsLockPresses::Stream();
            for (std::size_t i = caps + 1; i < stream.size(); ++i)
                if (EitherSide(stream[i].Key) == VK_CAPITAL && !stream[i].Injected && stream[i].Up)
                    return true;
            return false;
        },
        3000);

    // Held on and on, the keys do not stop it: it presses Caps Lock a
    // second after the shortcut.
    ASSERT_TRUE(holdShortcut());
    const DWORD taken = spy_->Messages(WM_HOTKEY).back().Time;
    ASSERT_TRUE(WaitUntil([&] { return FirstInStream(VK_CAPITAL, false) != none; }, 5000));
    EXPECT_EQ(FirstInStream(VK_CONTROL, true), none) << "Ctrl went up before Caps Lock";
    EXPECT_GE(CapsLockPresses::Stream()[FirstInStream(VK_CAPITAL, false)].Tick - taken, 990u);
    testsupport::ReleaseKeys({VK_CONTROL, VK_MENU, 'K'});
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}

TEST_F(ShortcutsE2e, TheFieldLetsTheTabKeysMoveOnRefusesWhatEveryProgramUsesAndShowsItsTextMidBoxWithoutCaret)
{
    Start();
    HWND options = nullptr;
    const HWND field = OpenFieldOf(L"Caps Lock", options);
    ASSERT_NE(field, nullptr);
    // Asked once the field has taken the focus whole.
    DWORD_PTR answer = 0;
    ASSERT_TRUE(::SendMessageTimeoutW(field, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(program_->ThreadInfo().hwndCaret, nullptr) << "a caret in the field";
    std::pair<int, int> room;
    EXPECT_TRUE(WaitUntil([&] { return (room = RoomAroundText(field)).first >= 0; }, 5000)) << "no text drawn";
    const auto [above, below] = room;
    EXPECT_GE(above, 1);
    EXPECT_LE(std::abs(above - below), 1) << above << " rows above the text, " << below << " below";

    const auto focusField = [&] {
        ::PostMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        ::PostMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        return WaitUntil([&] { return program_->ThreadInfo().hwndFocus == field; }, 5000);
    };
    const auto nothingTaken = [&] {
        EXPECT_EQ(FieldText(field), L"None");
        EXPECT_EQ(testsupport::StoredDword(HKEY_CURRENT_USER, HotkeysKey, L"CapsLock"), std::nullopt);
    };
    // Tab, alone or with Ctrl or Shift, moves on through the window; with
    // Ctrl it turns the page, and the opposite turn brings the field back.
    struct Keys {
        const char* Name;
        std::initializer_list<WORD> Pressed;
        std::initializer_list<WORD> Back;
    };
    const Keys tabs[] = {{"Tab", {VK_TAB}, {}},
                         {"Shift+Tab", {VK_SHIFT, VK_TAB}, {}},
                         {"Ctrl+Tab", {VK_CONTROL, VK_TAB}, {VK_CONTROL, VK_SHIFT, VK_TAB}},
                         {"Ctrl+Shift+Tab", {VK_CONTROL, VK_SHIFT, VK_TAB}, {VK_CONTROL, VK_TAB}}};
    for (const Keys& tab : tabs) {
        SCOPED_TRACE(tab.Name);
        ASSERT_TRUE(focusField());
        testsupport::PressKeys(tab.Pressed);
        EXPECT_TRUE(WaitUntil([&] { return program_->ThreadInfo().hwndFocus != field; }, 5000)) << "kept by the field";
        nothingTaken();
        for (const HWND child : testsupport::Descendants(options))
            EXPECT_EQ(TextOf(child).find(L"Tab:"), std::wstring::npos) << testsupport::Narrow(TextOf(child));
        if (tab.Back.size() != 0) {
            EXPECT_FALSE(::IsWindowVisible(field)) << "the page did not turn";
            testsupport::PressKeys(tab.Back);
            ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(field) != FALSE; }, 5000)) << "the page did not come back";
        }
    }

    // What Windows and every program use is refused, with the reason, and
    // does nothing else: no closed window, no menu.
    struct Refusal {
        std::initializer_list<WORD> Pressed;
        const wchar_t* Reason;
    };
    const Refusal refusals[] = {
        {{VK_MENU, VK_F4}, L"Alt+F4: Windows and most programs use it; a shortcut would take it from them."},
        {{VK_MENU, VK_SPACE}, L"Alt+Space: Windows and most programs use it"},
        {{VK_CONTROL, 'C'}, L"Ctrl+C: Windows and most programs use it"},
        {{VK_F1}, L"F1: Windows and most programs use it"},
        {{VK_SHIFT, VK_F10}, L"Shift+F10: Windows and most programs use it"},
    };
    ASSERT_TRUE(focusField());
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(testsupport::Narrow(refusal.Reason));
        testsupport::PressKeys(refusal.Pressed);
        EXPECT_TRUE(ReasonShown(options, refusal.Reason));
        nothingTaken();
        EXPECT_TRUE(::IsWindowVisible(options));
        EXPECT_TRUE(user_->Menus().empty());
        EXPECT_EQ(program_->ThreadInfo().hwndFocus, field);
    }
    EXPECT_TRUE(testsupport::SaveWindowPng(options, L"options-shortcuts-refused.png"));
    EXPECT_EQ(program_->Stop(), std::optional<DWORD>(0));
}
