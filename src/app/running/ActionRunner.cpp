#include "app/running/ActionRunner.h"

#include <windows.h>

#include "app/running/ActionQuestion.h"
#include "core/Delay.h"
#include "core/Shortcut.h"
#include "toolkit/Application.h"
#include "toolkit/Log.h"
#include "toolkit/Window.h"

namespace corvello {
namespace {

// Beeps and brings the question that is open to the front.
void LiftOpenQuestion()
{
    ::MessageBeep(MB_ICONEXCLAMATION);
    const tk::Form* question = tk::Application::Current().ModalForm();
    if (!question || !question->Handle())
        return;
    ::SetForegroundWindow(question->Handle());
    tk::WindowFlash(question->Handle(), 3, 75);
}

bool WaitsForQuietInput(const ActionEntry& entry, ActionTrigger trigger) noexcept
{
    return entry.Quiet == QuietInput::Always ||
           (entry.Quiet == QuietInput::FromShortcut && trigger == ActionTrigger::Shortcut);
}

// An action made of key presses: pressed while the user still holds Ctrl or
// Alt, they would reach Windows as another combination (Ctrl+Alt+Shift+Esc,
// Alt+Print Screen).
bool PressesKeys(const ActionEntry& entry) noexcept
{
    return entry.Lock != LockKey::None || entry.Operation == ActionOperation::PressCtrlAltDel ||
           entry.Operation == ActionOperation::PressCtrlShiftEsc ||
           entry.Operation == ActionOperation::PressPrintScreen;
}

// Waits, messages flowing, until no key keysDown names is down and no input
// has come for quietMs; longestMs at most.
template <typename KeysDown>
void WaitForInput(KeysDown keysDown, DWORD quietMs, DWORD longestMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        // Messages first: input still queued behind the hot key reaches the
        // key state as it is read (so Wine does it).
        Delay(quietMs ? 50 : 10);
        LASTINPUTINFO last{};
        last.cbSize = sizeof last;
        const DWORD now = ::GetTickCount();
        const bool quiet = !keysDown() && ::GetLastInputInfo(&last) && now - last.dwTime >= quietMs;
        if (quiet || now - start >= longestMs)
            return;
    }
}

bool KeyDown(int key) noexcept
{
    return (::GetAsyncKeyState(key) & 0x8000) != 0;
}

}  // namespace

void WaitForQuietInput()
{
    WaitForInput(
        [] {
            for (int key = 1; key < 0xFF; ++key)
                if (KeyDown(key))
                    return true;
            return false;
        },
        500, 3000);
}

void WaitForModifiersUp(std::uint8_t modifiers)
{
    WaitForInput(
        [modifiers] {
            return ((modifiers & modifier::Control) && KeyDown(VK_CONTROL)) ||
                   ((modifiers & modifier::Alt) && KeyDown(VK_MENU)) ||
                   ((modifiers & modifier::Shift) && KeyDown(VK_SHIFT)) ||
                   ((modifiers & modifier::Win) && (KeyDown(VK_LWIN) || KeyDown(VK_RWIN)));
        },
        0, 1000);
}

ActionRunner::ActionRunner(SystemActions& system, std::wstring programName, std::function<bool()> storedConfirmations)
    : system_(system), programName_(std::move(programName)), storedConfirmations_(std::move(storedConfirmations))
{
}

TrayForm* ActionRunner::Owner() const noexcept
{
    return owner_;
}

void ActionRunner::Warn(const std::wstring& text) const
{
    if (owner_)
        owner_->TrayIcon().ShowBalloon(programName_, text, tk::TrayIcon::BalloonKind::Warning);
}

bool ActionRunner::ConfirmationsOn(ActionTrigger trigger) const
{
    // The box, as it shows at this moment, not the stored setting; a start
    // that runs its action word goes by what is stored.
    if (trigger != ActionTrigger::CommandLine && owner_)
        return owner_->ConfirmationsChecked();
    return storedConfirmations_ && storedConfirmations_();
}

ActionOutcome ActionRunner::Run(const ActionEntry& entry, ActionTrigger trigger, std::uint8_t heldModifiers)
{
    RunnerOwner* const main = owner_;
    // A timer the user set: setting it was the confirmation.
    const bool asks =
        trigger != ActionTrigger::Timer && catalogue::NeedsConfirmation(entry, ConfirmationsOn(trigger));
    if (asks) {
        // One question at a time. The tray menu stays live while one is
        // open, and a second would cover it exactly: its No would seem to do
        // nothing. The open question comes to the front instead.
        if (asking_) {
            LiftOpenQuestion();
            return ActionOutcome::Busy;
        }
        asking_ = true;
        struct Done {
            bool& Flag;
            ~Done() { Flag = false; }
        } done{asking_};
        const bool windowShows = trigger == ActionTrigger::Control && main && main->Visible();
        tk::Form* owner = trigger == ActionTrigger::CommandLine ? nullptr : main;
        if (!ConfirmAction(entry.Caption, entry.Hint, windowShows, owner, programName_))
            return ActionOutcome::Declined;
    }
    if (WaitsForQuietInput(entry, trigger))
        WaitForQuietInput();
    else if (trigger == ActionTrigger::Shortcut && PressesKeys(entry))
        WaitForModifiersUp(heldModifiers);
    if (!system_.Run(entry.Operation) && entry.Operation == ActionOperation::LockMonitorOff) {
        // The screen stayed on; told in a balloon where the tray icon is.
        Warn(catalogue::LockFailedNotice);
        return ActionOutcome::Failed;
    }
    if (entry.Lock != LockKey::None && main) {
        // The key's new state reaches this thread a moment later.
        Delay(50);
        main->LocksUpdate();
    }
    return ActionOutcome::Ran;
}

}  // namespace corvello
