// The program's own application object: its main window, settings, links and
// system actions.
#pragma once

#include <memory>
#include <optional>

#include "actions/CommandLineActions.h"
#include "actions/SystemActions.h"
#include "app/ActionRunner.h"
#include "app/ActionTimer.h"
#include "app/KeepAwake.h"
#include "app/LockKeyWatch.h"
#include "app/OptionsWindow.h"
#include "app/ShortcutKeys.h"
#include "core/AppBase.h"
#include "toolkit/SystemEvents.h"
#include "toolkit/Timer.h"

namespace corvello {

class MainWindow;

class CorvelloApp : public AppBase {
public:
    // The class and title under which another copy of the program finds the
    // main window.
    static constexpr const wchar_t* MainWindowClassName = L"TfrmMain";

    CorvelloApp(const std::wstring& name, const VersionArray& version, bool confirmClose, std::uint32_t registryRoot,
                const std::wstring& registryKey);
    ~CorvelloApp() override;

    // Defaults: autorun on (the Run entry is written), online features and
    // confirmations on. The run statistics stay as they are.
    void SettingsReset() override;
    bool SettingsRead() override;
    bool SettingsWrite() override;
    // Refreshes the tray icon, saves the settings and trims the working set.
    void Update() override;
    // Makes the main window the program's main form.
    void CreateForms() override;
    // The action word (/do:NAME). An unknown name, or words beside it that
    // will not do, end the start at once, logged. A running copy is handed
    // the request and the start ends once it took it. With none, an action
    // that waits (or Keep Awake) makes this start the program, which sets it
    // once it runs; any other runs here as the tray menu would run it with
    // the window hidden, the stored confirmations setting deciding the
    // question, and the program ends without becoming the tray program and
    // without the instance mutex. The exit code is an ActionExitCode.
    ModeResult HandleActionMode() override;
    // "/cancel": handed to the running copy, which calls off what waits.
    ModeResult HandleCancelMode() override;
    int ShowAbout() override;
    // The countdown window, while it shows.
    HWND UrgentWindow() const override;

    void Ping(const std::wstring& verb, const std::wstring& extraParams, bool urgent) override;
    void OpenLink(std::int32_t linkId) override;
    void SetNotifierParent(HWND parent) override;
    void ShowOptionsRequested() override;

    // The main window, once CreateForms made it.
    MainWindow* Main() const noexcept { return mainWindow_.get(); }
    // Asks the main window to refresh its tray icon.
    void DoChangeTrayIcon();
    // A warning balloon at the tray icon, under the program's name.
    void BalloonShow(const std::wstring& message);
    // Called once a minute; there is no keyboard hook to refresh.
    void KeyboardHookRefresh() {}

    // What the actions do to Windows, and where they are run from.
    SystemActions& System() noexcept { return system_; }
    ActionRunner& Runner() noexcept { return runner_; }
    // The action set for later, and Keep Awake.
    ActionTimer& Timer() noexcept { return timer_; }
    KeepAwake& Awake() noexcept { return awake_; }
    // What a command line asks, here or handed over: an action now or
    // later, Keep Awake, or calling off what waits.
    void TakeRequest(const commandline::Request& request);
    // The keyboard shortcuts of the actions.
    ShortcutKeys& Shortcuts() noexcept { return shortcuts_; }
    // The window that hears hot keys, resumes, unlocks and a new task bar;
    // null until the program runs as the instance.
    tk::SystemEvents* Events() const noexcept { return events_.get(); }

    // The lock keys' notice, tray icons, sounds and policies; null until the
    // program runs as the instance.
    LockKeyWatch* LockKeys() const noexcept { return lockKeys_.get(); }

    // Shows the Options window (made when first asked for) on the page.
    void ShowOptions(OptionsWindow::PageId page, const ActionEntry* action = nullptr);
    OptionsWindow* Options() const noexcept { return options_.get(); }

    // The stored confirmations setting, read as a run reads it; on where
    // nothing is stored, as the defaults have it.
    bool StoredConfirmations() const;

private:
    // Runs a named action in this process; false when the question was
    // answered No.
    bool RunNamedAction(const ActionEntry& entry);

    // Reads the shortcuts and registers them; names once, in a balloon, the
    // ones another program holds.
    void StartShortcuts();
    void ShortcutsChanged();
    // Follows the clock and resumes; sets what this start was asked for.
    void StartTimers();
    void FollowClock();
    void TimersChanged();
    // Hands a request to the running copy; NoCopy when there is none (or it
    // went on its way out), else the start's exit code.
    std::optional<ActionExitCode> HandOverRequest(const commandline::Request& request);
    // Watches the lock keys from the start on, with the system events.
    void StartLockKeys();

    SystemActions system_;
    ActionRunner runner_;
    ShortcutKeys shortcuts_;
    ActionTimer timer_{system_.Awake()};
    KeepAwake awake_{system_.Awake()};
    // Asked of a start that became the program: set once it runs.
    std::optional<commandline::Request> pendingRequest_;
    std::unique_ptr<tk::SystemEvents> events_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<OptionsWindow> options_;
    std::unique_ptr<LockKeyWatch> lockKeys_;
    // Names the shortcuts not registered at the start once the tray icon
    // can show it.
    std::wstring pendingBalloon_;
    tk::Timer balloonRetry_{1000, false};
    int balloonTries_ = 0;
};

// The same object as AppObject, typed as the program's own class.
extern CorvelloApp* App;

}  // namespace corvello
