// The program's own application object: it owns the main window, the settings,
// the links and the services (the runner of actions and what triggers it),
// wires them together at the start, and tells the windows what changed.
#pragma once

#include <memory>
#include <optional>

#include "actions/CommandLineActions.h"
#include "actions/SystemActions.h"
#include "app/running/ActionRunner.h"
#include "app/timer/ActionTimer.h"
#include "app/running/ActionWords.h"
#include "app/Changes.h"
#include "app/timer/KeepAwake.h"
#include "app/lockkeys/LockKeyWatch.h"
#include "app/options/OptionsWindow.h"
#include "app/shortcuts/ShortcutKeys.h"
#include "core/AppBase.h"
#include "toolkit/SystemEvents.h"
#include "toolkit/Timer.h"

namespace corvello {

class MainWindow;

class CorvelloApp : public AppBase, private WaitingActions {
public:
    // The class and title under which another copy of the program finds the
    // main window.
    static constexpr const wchar_t* MainWindowClassName = L"TfrmMain";

    CorvelloApp(const std::wstring& name, const VersionArray& version, bool confirmClose, std::uint32_t registryRoot,
                const std::wstring& registryKey);
    ~CorvelloApp() override;

    // The general settings' defaults (GeneralSettings.h), the Run entry
    // written as they have it. The run statistics stay as they are.
    void SettingsReset() override;
    bool SettingsRead() override;
    bool SettingsWrite() override;
    // Refreshes the tray icon, saves the settings and trims the working set.
    void Update() override;
    // Makes the main window the program's main form.
    void CreateForms() override;
    // The action word (/do:NAME) and "/cancel": see ActionRequests.
    ModeResult HandleActionMode() override { return requests_.Start(actionName_, actionWords_); }
    ModeResult HandleCancelMode() override { return requests_.Cancel(actionWords_); }
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

    // What the actions do to Windows, and where they are run from.
    SystemActions& System() noexcept { return system_; }
    ActionRunner& Runner() noexcept { return runner_; }
    // The action set for later, and Keep Awake.
    ActionTimer& Timer() noexcept { return timer_; }
    KeepAwake& Awake() noexcept { return awake_; }
    // What a command line asks, here or handed over.
    ActionRequests& Requests() noexcept { return requests_; }
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

    // Every part that follows a change hears it here (one line: Add); a
    // service tells its changes through Tell.
    Listeners<Change>& Changes() noexcept { return changed_; }
    std::function<void()> Tell(Change change)
    {
        return [this, change] { changed_.Tell(change); };
    }

private:
    // The system events, told as changes.
    void StartEvents();
    // Reads the shortcuts and registers them; names once, in a balloon, the
    // ones another program holds.
    void StartShortcuts();
    // Watches the lock keys from the start on.
    void StartLockKeys();
    // The windows follow the changes.
    void ShowChange(Change change);

    // A request that waits goes to the timer or Keep Awake.
    void SetLater(const ActionEntry& entry, const LaterTime& when) override { timer_.Set(entry, when); }
    void CancelLater() override { timer_.Cancel(); }
    void StartAwake(const std::optional<LaterTime>& until, bool screenOn) override { awake_.Start(until, screenOn); }
    void StopAwake() override { awake_.Stop(); }

    // Declared before the services, which tell them till their end.
    Listeners<Change> changed_;
    SystemActions system_;
    ActionRunner runner_;
    ShortcutKeys shortcuts_;
    ActionTimer timer_{system_.Awake(), runner_};
    KeepAwake awake_{system_.Awake()};
    ActionRequests requests_{*this, runner_, *this};
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

}  // namespace corvello
