// The actions of the real program, from its buttons and its tray menu, with
// another program as the witness of what reaches the rest of the system
// (corvello_witness) and a spy inside the program for what reaches its own
// window (corvello_spy.dll).
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "core/RegistryLayout.h"
#include "e2e/CorvelloProcess.h"
#include "e2e/ProgramSpy.h"
#include "e2e/ProgramUi.h"
#include "e2e/RecordingWitness.h"
#include "support/NothingStoredTest.h"
#include "support/MainWindowScenes.h"
#include "support/RegistryTestSupport.h"
#include "support/ScreenPixels.h"
#include "toolkit/Registry.h"

using namespace corvello;
using namespace e2eui;
using testsupport::Corvello;
using testsupport::RecordingWitness;

namespace {

const std::wstring& Key = testsupport::ProgramSettingsKey;

// Whether a lock button's LED is lit: the red LED shows red, the grey one
// none.
bool LedLit(HWND button)
{
    RECT r{};
    ::GetWindowRect(button, &r);
    const int red = ScreenPixels(r).Count([](int red, int green, int blue) {
        return red > 180 && green < 100 && blue < 100;
    });
    return red > 20;
}

bool CapsLockOn()
{
    return (::GetKeyState(VK_CAPITAL) & 1) != 0;
}

// Caps Lock as another program switches it: one injected press.
void PressCapsLock()
{
    ::keybd_event(VK_CAPITAL, 0x3A, 0, 0);
    ::keybd_event(VK_CAPITAL, 0x3A, KEYEVENTF_KEYUP, 0);
}

// How far what a dialog's icon control shows is from an icon drawn here
// (0 to 255 per channel), once it shows that icon or, failing that, after a
// few seconds: the control may still be painting.
constexpr double IconTolerance = 4.0;
double IconDifference(HWND iconControl, HICON expected)
{
    double difference = 255;
    WaitUntil(
        [&] {
            difference = testsupport::IconControlDifference(iconControl, expected);
            return difference < IconTolerance;
        },
        3000);
    return difference;
}

HICON ProgramIcon()
{
    static const HMODULE exe = ::LoadLibraryExW((testsupport::BinDir() + L"corvello.exe").c_str(), nullptr,
                                                LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    static const HICON icon =
        static_cast<HICON>(::LoadImageW(exe, L"MAINICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    return icon;
}

class Actions : public testsupport::NothingStoredTest {
protected:
    void SetUp() override
    {
        NothingStoredTest::SetUp();
        // Every test begins with Caps Lock off.
        if (CapsLockOn())
            PressCapsLock();
        ASSERT_TRUE(WaitUntil([] { return !CapsLockOn(); }, 3000));
    }
    void TearDown() override
    {
        if (program_ && program_->Running())
            program_->Stop();
        NothingStoredTest::TearDown();
        // Nothing typed after this test comes out in capitals.
        if (CapsLockOn())
            PressCapsLock();
    }

    // A first start, which shows the main window, confirmations on.
    void Start()
    {
        program_.emplace(L"");
        ASSERT_TRUE(program_->WaitRunning());
        ASSERT_TRUE(WaitUntil(
            [&] { return (main_ = ::FindWindowW(L"TfrmMain", L"Corvello")) && ::IsWindowVisible(main_); }, 10000));
        processId_ = ProcessOf(main_);
    }

    HWND Button(const wchar_t* caption) const
    {
        const HWND button = FindButton(main_, caption);
        EXPECT_NE(button, nullptr) << "no button " << testing::PrintToString(std::wstring(caption));
        return button;
    }

    void HideMain() const
    {
        ::PostMessageW(main_, WM_CLOSE, 0, 0);  // the close box: to the tray
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindowVisible(main_); }, 5000));
    }

    // Chooses an entry of the tray menu: the keys after the menu opens.
    void FromTrayMenu(std::initializer_list<UINT> keys) const
    {
        const HWND menu = OpenTrayMenu(processId_);
        ASSERT_NE(menu, nullptr);
        MenuKeys(menu, keys);
        ASSERT_TRUE(WaitMenusClosed(processId_));
    }
    // From the top of the menu: Down to "System", Right into it (its first
    // entry, Monitor Off), Up round to its last (Power Off), or Down past the
    // separator to Hibernate.
    void ChooseMonitorOff() const { FromTrayMenu({VK_DOWN, VK_RIGHT, VK_RETURN}); }
    void ChoosePowerOff() const { FromTrayMenu({VK_DOWN, VK_RIGHT, VK_UP, VK_RETURN}); }
    void ChooseHibernate() const
    {
        FromTrayMenu({VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    }
    // Down twice to "Keyboard", Right into it: its first entry is Caps Lock.
    void ChooseCapsLock() const { FromTrayMenu({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RETURN}); }

    // Whether the tray menu shows Caps Lock checked: the "Keyboard" submenu
    // opened, its first entry (selected) read where the check mark goes.
    std::optional<bool> CapsLockEntryChecked() const
    {
        const HWND menu = OpenTrayMenu(processId_);
        if (!menu)
            return std::nullopt;
        MenuKeys(menu, {VK_DOWN, VK_DOWN, VK_RIGHT});
        HWND submenu = nullptr;
        const COLORREF selected = ::GetSysColor(COLOR_HIGHLIGHT);
        // Open, with the first entry selected and painted.
        WaitUntil(
            [&] {
                const std::vector<HWND> menus = TopWindows(processId_, L"#32768");
                submenu = menus.size() >= 2 ? menus.front() : nullptr;
                return submenu && WindowPixels(submenu).At(5, 5) == PixelOf(selected);
            },
            5000);
        std::optional<bool> checked;
        if (submenu) {
            // The column left of the caption (which starts 20 pixels in), in
            // the first entry's row (17 pixels below a 3-pixel border): a
            // check mark stands out from the selection's colour.
            RECT r{};
            ::GetWindowRect(submenu, &r);
            const Pixels area = ScreenPixels({r.left + 4, r.top + 4, r.left + 18, r.top + 19});
            const int marks = area.Count([&](int red, int green, int blue) {
                return std::abs(red - GetRValue(selected)) + std::abs(green - GetGValue(selected)) +
                           std::abs(blue - GetBValue(selected)) >
                       150;
            });
            checked = marks >= 5;
        }
        MenuKeys(menu, {VK_ESCAPE, VK_ESCAPE});
        if (!WaitMenusClosed(processId_))
            return std::nullopt;
        return checked;
    }

    struct Question {
        DialogSeen Seen;
        // How far its icon is from the one expected (0 to 255).
        double IconOff = 255;
    };
    // Reads the action's question, keeps its picture (where named) and
    // answers No (a click) or Escape (a key press, the question in front).
    Question AskedAndDeclined(HICON expectedIcon, const wchar_t* screenshot, bool escape)
    {
        Question question;
        const HWND dialog = WaitDialog(processId_);
        if (!dialog)
            return question;
        // Painted: its buttons show.
        WaitUntil([&] { return FindButton(dialog, L"&No") && ::IsWindowVisible(FindButton(dialog, L"&No")); }, 5000);
        question.Seen = ReadDialog(dialog);
        if (question.Seen.IconControl)
            question.IconOff = IconDifference(question.Seen.IconControl, expectedIcon);
        EXPECT_EQ(::GetWindow(dialog, GW_OWNER), main_);
        if (screenshot) {
            EXPECT_TRUE(testsupport::SaveWindowPng(dialog, screenshot));
        }
        if (escape) {
            EXPECT_TRUE(WaitUntil([&] { return ::GetForegroundWindow() == dialog; }, 5000));
            ::keybd_event(VK_ESCAPE, 0x01, 0, 0);
            ::keybd_event(VK_ESCAPE, 0x01, KEYEVENTF_KEYUP, 0);
        } else {
            Click(FindButton(dialog, L"&No"));
        }
        EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 5000));
        return question;
    }

    std::optional<Corvello> program_;
    HWND main_ = nullptr;
    DWORD processId_ = 0;
};

}  // namespace

// Monitor Off and Screen Saver are the program's own window's business: its
// hidden application window takes the system command from its queue and
// hands it on to the default handling, and no other program's window hears
// of it.
TEST_F(Actions, MonitorOffAndScreenSaverReachOnlyTheProgramsOwnWindow)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND own = program_->AppWindow();
    ASSERT_NE(own, nullptr);
    testsupport::ProgramSpy spy(own);
    ASSERT_TRUE(spy.InPlace());

    ChooseMonitorOff();
    ASSERT_TRUE(WaitUntil([&] { return spy.SystemCommands().size() >= 2; }, 5000));
    Click(Button(L"Screen Saver"));
    ASSERT_TRUE(WaitUntil([&] { return spy.SystemCommands().size() >= 4; }, 5000));

    struct Expected {
        spy::Stage Stage;
        std::uint64_t Command;
        std::int64_t LParam;
    };
    const Expected expected[] = {
        {spy::Stage::Queue, 0xF170, 2},
        {spy::Stage::DefaultHandling, 0xF170, 2},
        {spy::Stage::Queue, 0xF140, 0},
        {spy::Stage::DefaultHandling, 0xF140, 0},
    };
    const std::vector<testsupport::SpiedMessage> seen = spy.SystemCommands();
    ASSERT_EQ(seen.size(), std::size(expected));
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].Stage, expected[i].Stage);
        EXPECT_EQ(seen[i].Window, own);
        EXPECT_EQ(seen[i].ClassName, L"TApplication");
        EXPECT_EQ(seen[i].WParam, expected[i].Command);
        EXPECT_EQ(seen[i].LParam, expected[i].LParam);
    }
    // Whatever the program had posted to other windows is in the witness's
    // record before its ping.
    ASSERT_TRUE(witness.Ping());
    EXPECT_TRUE(witness.LinesOf(L"syscommand").empty()) << witness.Dump();
    EXPECT_EQ(WaitDialog(processId_, 0), nullptr) << "neither action asks";
}

TEST_F(Actions, CtrlShiftEscAndPrintScreenArriveAsInjectedKeysInOrder)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());

    Click(Button(L"Ctrl+Shift+Esc"));
    ASSERT_TRUE(WaitUntil([&] { return witness.LinesOf(L"key").size() >= 6; }, 5000)) << witness.Dump();
    Click(Button(L"Print Screen"));
    ASSERT_TRUE(WaitUntil([&] { return witness.LinesOf(L"key").size() >= 8; }, 5000)) << witness.Dump();

    // The low-level hook's view: virtual key, scan code as passed, injected,
    // never extended.
    EXPECT_EQ(witness.LinesOf(L"key"), (std::vector<std::wstring>{
                                           L"key down 17 17 injected",
                                           L"key down 16 16 injected",
                                           L"key down 27 27 injected",
                                           L"key up 27 27 injected",
                                           L"key up 16 16 injected",
                                           L"key up 17 17 injected",
                                           L"key down 44 44 injected",
                                           L"key up 44 44 injected",
                                       }));
    for (const int key : {VK_CONTROL, VK_SHIFT, VK_ESCAPE, VK_SNAPSHOT})
        EXPECT_EQ(::GetAsyncKeyState(key) & 0x8000, 0) << "key " << key << " left down";
    EXPECT_EQ(WaitDialog(processId_, 0), nullptr) << "neither action asks";
}

// The Sleep button carries Hibernate's tag of its own, yet runs Sleep, which
// never asks; nor does Lock Computer. A question would open before the
// program took the next click, whose keys the witness then hears.
TEST_F(Actions, SleepAndLockComputerRunWithoutAQuestion)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());
    Click(Button(L"Sleep"));
    Click(Button(L"Lock Computer"));
    Click(Button(L"Print Screen"));
    ASSERT_TRUE(WaitUntil([&] { return witness.LinesOf(L"key").size() >= 2; }, 5000)) << witness.Dump();
    EXPECT_EQ(WaitDialog(processId_, 0), nullptr);
    EXPECT_TRUE(program_->Running());
}

// Wine takes the lock states from the X server again whenever the input
// focus moves to another shown window (another program's, a dialog), which
// forgets an injected toggle. So between a switch and its check no other
// window comes to the front: the witness stays hidden and the tests show
// none; each test switches the lock back before it ends, and set-up and
// tear-down put it off where a failure left it on.
TEST_F(Actions, CapsLockFromTheButtonLightsTheLedAndChecksTheTrayEntry)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND caps = Button(L"Caps Lock");
    ASSERT_TRUE(WaitUntil([&] { return !LedLit(caps); }, 5000));

    Click(caps);
    EXPECT_TRUE(WaitUntil([&] { return LedLit(caps); }, 3000));
    EXPECT_TRUE(CapsLockOn());
    EXPECT_TRUE(testsupport::SaveWindowPng(main_, L"main-caps-on.png"));
    EXPECT_EQ(CapsLockEntryChecked(), std::optional<bool>(true));

    Click(caps);
    EXPECT_TRUE(WaitUntil([&] { return !LedLit(caps); }, 3000));
    EXPECT_FALSE(CapsLockOn());
    EXPECT_TRUE(testsupport::SaveWindowPng(main_, L"main-caps-off.png"));
    EXPECT_EQ(CapsLockEntryChecked(), std::optional<bool>(false));

    EXPECT_EQ(witness.LinesOf(L"key"), (std::vector<std::wstring>{L"key down 20 58 injected", L"key up 20 58 injected",
                                                                   L"key down 20 58 injected",
                                                                   L"key up 20 58 injected"}));
}

TEST_F(Actions, CapsLockFromTheTrayMenuWithTheWindowHidden)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND caps = Button(L"Caps Lock");
    ASSERT_NO_FATAL_FAILURE(HideMain());

    ChooseCapsLock();
    EXPECT_TRUE(WaitUntil([] { return CapsLockOn(); }, 3000));
    EXPECT_EQ(CapsLockEntryChecked(), std::optional<bool>(true));
    // Shown again, the window's LED says the same.
    ::PostMessageW(main_, WM_INSTANCE_ACTIVATE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main_) != FALSE; }, 5000));
    EXPECT_TRUE(WaitUntil([&] { return LedLit(caps); }, 3000));

    ASSERT_NO_FATAL_FAILURE(HideMain());
    ChooseCapsLock();
    EXPECT_TRUE(WaitUntil([] { return !CapsLockOn(); }, 3000));
    EXPECT_EQ(CapsLockEntryChecked(), std::optional<bool>(false));
}

// A start with the window stored hidden, as with Windows, makes the window's
// controls only when it first shows. The tray menu's check marks are right
// before, and the LEDs, the boxes and the window's place once it shows.
TEST_F(Actions, AStartInTheTrayMakesTheControlsWhenTheWindowFirstShows)
{
    testsupport::WriteDword(HKEY_CURRENT_USER, testsupport::MainFormKey, registry::Visible, 0);
    testsupport::WriteDword(HKEY_CURRENT_USER, Key, registry::Online, 0);
    program_.emplace(L"-startup");
    ASSERT_TRUE(program_->WaitRunning());
    ASSERT_TRUE(WaitUntil([&] { return (main_ = ::FindWindowW(L"TfrmMain", L"Corvello")) != nullptr; }, 10000));
    processId_ = ProcessOf(main_);
    EXPECT_FALSE(::IsWindowVisible(main_));
    EXPECT_EQ(FindButton(main_, L"Caps Lock"), nullptr);

    ChooseCapsLock();
    EXPECT_TRUE(WaitUntil([] { return CapsLockOn(); }, 3000));
    EXPECT_EQ(CapsLockEntryChecked(), std::optional<bool>(true));

    ::PostMessageW(main_, WM_INSTANCE_ACTIVATE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return ::IsWindowVisible(main_) != FALSE; }, 5000));
    const HWND caps = Button(L"Caps Lock");
    EXPECT_TRUE(WaitUntil([&] { return LedLit(caps); }, 3000));
    EXPECT_FALSE(testsupport::IsChecked(testsupport::ChildWithText(main_, testsupport::OnlineCaption)));
    EXPECT_TRUE(testsupport::IsChecked(testsupport::ChildWithText(main_, testsupport::ConfirmationsCaption)));
    // Placed when it shows, as widened by its boxes: centred on the work area.
    RECT placed{};
    ::GetWindowRect(main_, &placed);
    EXPECT_LE(testsupport::CentreDistance(placed, testsupport::WorkAreaOf(main_)), 1);
}

// The guard timer reads the locks every 1250 ms while the window shows.
TEST_F(Actions, ALockAnotherProgramSwitchesShowsOnTheLed)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const HWND caps = Button(L"Caps Lock");
    ASSERT_TRUE(WaitUntil([&] { return !LedLit(caps); }, 5000));

    PressCapsLock();
    EXPECT_TRUE(WaitUntil([&] { return LedLit(caps); }, 1250 + 750));
    PressCapsLock();
    EXPECT_TRUE(WaitUntil([&] { return !LedLit(caps); }, 1250 + 750));
}

TEST_F(Actions, PowerOffFromTheTrayAsksUnderTheProgramsNameAndNoOrEscapeLeaveAllAlone)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(HideMain());

    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "No");
        ChoosePowerOff();
        const Question question = AskedAndDeclined(ProgramIcon(), escape ? nullptr : L"confirm-tray.png", escape);
        const DialogSeen& seen = question.Seen;
        EXPECT_EQ(seen.Caption, L"Corvello - Power Off");
        EXPECT_EQ(seen.Message,
                  L"Shuts down Windows system and turns the computer off\r\nPerform \"Power Off\" action?");
        EXPECT_EQ(seen.Buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
        EXPECT_EQ(seen.DefaultButton, L"&No");
        EXPECT_LT(question.IconOff, IconTolerance) << "not the program's icon";
    }

    // The session goes on: nobody was asked to end it, and the program runs.
    ASSERT_TRUE(witness.Ping());
    EXPECT_TRUE(witness.LinesOf(L"queryendsession").empty()) << witness.Dump();
    EXPECT_TRUE(program_->Running());
    EXPECT_FALSE(::IsWindowVisible(main_));
}

// The tray menu stays live while a question is open. Choosing an action
// that asks, once more, brings the open question to the front: a second one
// would cover it exactly, and its No would seem to do nothing.
TEST_F(Actions, WhileAQuestionIsOpenNoSecondOneOpensOverIt)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_NO_FATAL_FAILURE(HideMain());
    ChoosePowerOff();
    const HWND question = WaitDialog(processId_);
    ASSERT_NE(question, nullptr);

    for (const bool hibernate : {false, true}) {
        SCOPED_TRACE(hibernate ? "Hibernate" : "Power Off again");
        if (hibernate)
            ChooseHibernate();
        else
            ChoosePowerOff();
        // The menu took the foreground; a question has it again.
        ASSERT_TRUE(WaitUntil([&] { return ClassOf(::GetForegroundWindow()) == L"TMessageForm"; }, 5000));
        EXPECT_EQ(::GetForegroundWindow(), question);
        EXPECT_EQ(TopWindows(processId_, L"TMessageForm"), std::vector<HWND>{question});
    }

    Click(FindButton(question, L"&No"));
    EXPECT_TRUE(WaitUntil([&] { return TopWindows(processId_, L"TMessageForm").empty(); }, 5000));
    ASSERT_TRUE(witness.Ping());
    EXPECT_TRUE(witness.LinesOf(L"queryendsession").empty()) << witness.Dump();
    EXPECT_TRUE(program_->Running());
}

TEST_F(Actions, HibernateFromTheWindowAsksUnderItsOwnCaptionWithTheQuestionIcon)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    Click(Button(L"Hibernate"));
    const Question question = AskedAndDeclined(::LoadIconW(nullptr, IDI_QUESTION), L"confirm-window.png", false);
    const DialogSeen& seen = question.Seen;
    EXPECT_EQ(seen.Caption, L"Hibernate");
    EXPECT_EQ(seen.Message,
              L"Saves computer memory on disk and turns the computer off\r\nPerform \"Hibernate\" action?");
    EXPECT_EQ(seen.DefaultButton, L"&No");
    EXPECT_LT(question.IconOff, IconTolerance) << "not the question icon";
    EXPECT_TRUE(program_->Running());
}

// This prefix reports a Windows from Vista on (Wine's default, 7), where
// Ctrl+Alt+Del cannot be emulated.
TEST_F(Actions, CtrlAltDelWarnsWithCancelAloneAndSendsNothing)
{
    RecordingWitness witness;
    ASSERT_TRUE(witness.WaitReady());
    ASSERT_NO_FATAL_FAILURE(Start());
    Click(Button(L"Ctrl+Alt+Del"));
    const HWND dialog = WaitDialog(processId_);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return FindButton(dialog, L"Cancel") != nullptr; }, 5000));
    const DialogSeen seen = ReadDialog(dialog);
    EXPECT_TRUE(testsupport::SaveWindowPng(dialog, L"ctrl-alt-del.png"));
    EXPECT_EQ(seen.Caption, L"Warning");
    EXPECT_EQ(seen.Message, L"It is not possible to emulate Ctrl+Alt+Del on this version of Windows.");
    EXPECT_EQ(seen.Buttons, std::vector<std::wstring>{L"Cancel"});
    EXPECT_EQ(seen.DefaultButton, L"Cancel");
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), main_);
    ASSERT_NE(seen.IconControl, nullptr);
    EXPECT_LT(IconDifference(seen.IconControl, ::LoadIconW(nullptr, IDI_WARNING)), IconTolerance)
        << "not the warning icon";

    Click(FindButton(dialog, L"Cancel"));
    EXPECT_TRUE(WaitUntil([&] { return !::IsWindow(dialog) || !::IsWindowVisible(dialog); }, 5000));
    ASSERT_TRUE(witness.Ping());
    EXPECT_TRUE(witness.LinesOf(L"key").empty()) << witness.Dump();
    EXPECT_TRUE(witness.LinesOf(L"hotkey").empty()) << witness.Dump();
}
