// The main window: the system actions as two groups of buttons, the three
// settings check boxes, a short description and the links panel. It puts the
// "System" and "Keyboard" submenus into the tray menu, shows the lock states
// on the lock buttons' LEDs and the menu's check marks, and keeps its boxes
// and tray icon in step with the settings.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "actions/ActionCatalogue.h"
#include "app/running/ActionRunner.h"
#include "online/StatisticsSchedule.h"
#include "core/GeneralSettings.h"
#include "toolkit/Actions.h"
#include "toolkit/Menus.h"
#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"
#include "toolkit/Timer.h"
#include "ui/TrayForm.h"
#include "ui/WindowSnapping.h"

namespace corvello {

class CorvelloApp;

class MainWindow : public RunnerOwner {
public:
    // The boxes show and change the application's general settings.
    explicit MainWindow(CorvelloApp& app);
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
    void LocksUpdate() override;

    void ControlsInit() override;
    void ControlsUpdate() override;
    // The web label in capitals.
    std::wstring WebLabelCaption(const std::wstring& linkText) const override;
    void ControlsMadeOnShow() override;
    void OnShowEvent(tk::Form& sender) override;
    void OnHideEvent(tk::Form& sender) override;
    void OnTimerMinutes(tk::Timer& sender) override;

    // Every shortcut shows beside its tray entry and at the end of its
    // button's hint.
    void ShortcutsChanged();
    // An action set for later, or Keep Awake, started, ended or moved on:
    // the tray tip, the entries heading the tray menu while they apply
    // ("Cancel Shut Down at 23:30", "Stop Keeping Awake") and the buttons'
    // hints follow.
    void TimersChanged();

    void OnCheckBoxClick(tk::Control& sender);
    void TimerGuardTimer(tk::Timer& sender);

    HICON IconLedOff() const noexcept { return iconLedOff_.Get(); }
    HICON IconLedOn() const noexcept { return iconLedOn_.Get(); }
    tk::ActionList& Actions() noexcept { return actions_; }
    tk::CheckBox& Confirmations() const noexcept { return *confirmations_; }
    // What the confirmations box shows, or, before the window first showed
    // and made its controls, the setting it will show.
    bool ConfirmationsChecked() const noexcept override;
    tk::CheckBox& AutoRunBox() const noexcept { return *autoRun_; }
    tk::CheckBox& OnlineBox() const noexcept { return *online_; }
    // The button bound to the action, or null.
    tk::Button* ButtonFor(ActionId id) const noexcept;

protected:
    void CreateControls() override;
    void AfterCreate() override;
    void DoDpiChanged() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LoadLeds();
    void FitCheckBoxes();
    void FitDescription();
    void PostUpdate();
    // The menu a right click on an action's button opens: the action set
    // for later, and its shortcut.
    void ShowButtonMenu(const ActionEntry& entry, POINT at);
    // Each action's hint: what it does (for Sleep, how on this computer),
    // its shortcut, and when it runs while set for later.
    void ActionHintsUpdate();
    void TimerEntriesUpdate();
    std::unique_ptr<tk::MenuItem> BuildSubmenu(const wchar_t* name, const wchar_t* caption,
                                               std::span<const std::optional<ActionId>> entries);

    CorvelloApp& app_;
    // The statistics pings, on the minute timer's ticks.
    StatisticsSchedule statistics_;
    // The check boxes of the general settings, each with its setting.
    struct SettingBox {
        tk::CheckBox* Box;
        bool GeneralSettings::*Switch;
    };
    std::array<SettingBox, 3> SettingBoxes() const noexcept;

    bool ignoreChanges_ = false;
    tk::Icon iconLedOff_;
    tk::Icon iconLedOn_;
    tk::ActionList actions_;
    std::unique_ptr<tk::Label> info_;
    std::unique_ptr<tk::GroupBox> hardwareGroup_;
    std::unique_ptr<tk::GroupBox> keyboardGroup_;
    std::vector<std::unique_ptr<tk::Button>> buttons_;
    std::unique_ptr<tk::CheckBox> confirmations_;
    std::unique_ptr<tk::CheckBox> autoRun_;
    std::unique_ptr<tk::CheckBox> online_;
    // Keeps the LEDs true to keys switched elsewhere while the window shows;
    // stopped while it is hidden, so the tray costs no wake-ups.
    tk::Timer timerGuard_{1250, false};
    // While dragged, the window's edges stick to the work area's.
    WindowSnapping snapping_{*this};
    tk::PopupMenu buttonMenu_;
};

}  // namespace corvello
