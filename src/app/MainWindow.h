// The main window: the system actions as two groups of buttons, the three
// settings check boxes, a short description and the links panel. It puts the
// "System" and "Keyboard" submenus into the tray menu, shows the lock states
// on the lock buttons' LEDs and the menu's check marks, and keeps its boxes
// and tray icon in step with the settings.
#pragma once

#include <memory>
#include <vector>

#include "actions/CommandLineActions.h"
#include "toolkit/Actions.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"
#include "toolkit/Timer.h"
#include "ui/TrayForm.h"

namespace corvello {

class MainWindow : public TrayForm {
public:
    MainWindow();
    ~MainWindow() override;

    // The tray icon's hint becomes the program's full name, and it shows.
    void TrayIconUpdate();
    // Fills the three check boxes from the settings.
    void SettingsUpdate();
    void FullUpdate();
    // A modal dialog is open or the tray menu shows.
    bool SomePopupVisible();
    // The lock states on the LEDs of the lock buttons and the check marks of
    // the tray menu.
    void LocksUpdate();

    void ControlsInit() override;
    void ControlsUpdate() override;
    void ControlsMadeOnShow() override;
    void OnShowEvent(tk::Form& sender) override;
    void OnHideEvent(tk::Form& sender) override;
    void OnTimerMinutes(tk::Timer& sender) override;

    void OnCheckBoxClick(tk::Control& sender);
    // Every action but the lock keys: asks where the rule says so, then runs
    // the operation of the action's tag.
    void ActCorvelloExecute(tk::Action& sender);
    // The lock keys: the same, then the LEDs follow.
    void ActKeyboardLocksExecute(tk::Action& sender);
    // An action a starting copy handed over (WM_COPYDATA): one the
    // command-line rules accept is taken, answered with their tag and run
    // from the loop; anything else is left alone and answered 0.
    LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message);
    // Runs it as the tray menu runs it with the window hidden, whether it is
    // or not: the confirmations box decides the question, which names the
    // program; the lock keys' LEDs follow.
    void RunHandedOverAction(const NamedAction& named);
    void TimerGuardTimer(tk::Timer& sender);

    HICON IconLedOff() const noexcept { return iconLedOff_.Get(); }
    HICON IconLedOn() const noexcept { return iconLedOn_.Get(); }
    tk::ActionList& Actions() noexcept { return actions_; }
    tk::CheckBox& Confirmations() const noexcept { return *chbConfirmations_; }
    tk::CheckBox& AutoRunBox() const noexcept { return *chbAutoRun_; }
    tk::CheckBox& OnlineBox() const noexcept { return *chbOnlineEnabled_; }
    // The button bound to the action with this tag, or null.
    tk::Button* ButtonFor(int tag) const noexcept;

protected:
    void CreateControls() override;
    void AfterCreate() override;
    void DoDpiChanged() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadLeds();
    // Asks where the rule says so, as from a visible or a hidden window, then
    // runs the operation of the action's tag.
    void RunAction(tk::Action& action, bool windowVisible);
    // Beeps and brings the question that is open to the front.
    void LiftOpenQuestion();
    void FitCheckBoxes();
    void FitDescription();
    void PostUpdate();
    std::unique_ptr<tk::MenuItem> BuildSubmenu(const wchar_t* name, const wchar_t* caption, const int* tags,
                                               std::size_t count);

    bool ignoreChanges_ = false;
    tk::Icon iconLedOff_;
    tk::Icon iconLedOn_;
    tk::ActionList actions_;
    std::unique_ptr<tk::Label> lbInfo_;
    std::unique_ptr<tk::GroupBox> grpHardware_;
    std::unique_ptr<tk::GroupBox> grpKeyboard_;
    std::vector<std::unique_ptr<tk::Button>> buttons_;
    std::unique_ptr<tk::CheckBox> chbConfirmations_;
    std::unique_ptr<tk::CheckBox> chbAutoRun_;
    std::unique_ptr<tk::CheckBox> chbOnlineEnabled_;
    // The lock entries of the tray's "Keyboard" submenu, for their check marks.
    tk::MenuItem* miCapsLock_ = nullptr;
    tk::MenuItem* miNumLock_ = nullptr;
    tk::MenuItem* miScrollLock_ = nullptr;
    // Keeps the LEDs true to keys switched elsewhere while the window shows;
    // stopped while it is hidden, so the tray costs no wake-ups.
    tk::Timer timerGuard_{1250, false};
    bool dragging_ = false;
    // An action's question is open.
    bool asking_ = false;
};

}  // namespace corvello
