// The generic application object: work modes from the command line, hand-over
// to a running instance, the message loop, termination and restart.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/LinkSet.h"
#include "core/SoftwareInfo.h"
#include "core/CommandLine.h"
#include "core/GeneralSettings.h"
#include "core/ProductIdentity.h"
#include "toolkit/Application.h"
#include "toolkit/Registry.h"
#include "toolkit/Timer.h"

namespace corvello {

// What a work mode's handler reports: whether its steps ran without error,
// whether the program ends after it instead of running, and with which code.
// A word whose running copy could not be ended ends with this, having done
// nothing else.
inline constexpr int CopyNotEndedExitCode = 1;

struct ModeResult {
    bool Succeeded = true;
    bool EndAfter = false;
    int ExitCode = 0;
};

class AppBase : public ProductIdentity {
public:
    AppBase(const std::wstring& name, const VersionArray& version, bool confirmClose, std::uint32_t registryRoot,
            const std::wstring& registryKey);
    ~AppBase() override;

    WorkMode Mode() const noexcept { return workMode_; }
    const std::wstring& Copyright() const noexcept { return copyright_; }
    const std::wstring& FileName() const noexcept { return fileName_; }
    const std::wstring& FilePath() const noexcept { return filePath_; }
    const std::vector<std::wstring>& CommandLineParams() const noexcept { return commandLineParams_; }
    // The name after the action word, as the command line has it, and the
    // words beside it (or beside "/cancel").
    const std::wstring& ActionName() const noexcept { return actionName_; }
    const ActionWords& Words() const noexcept { return actionWords_; }
    const std::wstring& MainWindowClass() const noexcept { return mainWindowClass_; }
    const std::wstring& MainWindowTitle() const noexcept { return mainWindowTitle_; }
    bool ConfirmClose() const noexcept { return confirmClose_; }
    void SetConfirmClose(bool value) noexcept { confirmClose_ = value; }
    // The general settings, as read (their defaults until then).
    const GeneralSettings& Settings() const noexcept { return settings_; }
    // Takes the settings, puts the autorun entry as they have it and updates
    // the program (which saves them).
    void ChangeSettings(const GeneralSettings& settings);
    bool OnlineEnabled() const noexcept { return settings_.Online; }
    void SetOnlineEnabled(bool value) noexcept { settings_.Online = value; }
    bool Confirmations() const noexcept { return settings_.Confirmations; }
    void SetConfirmations(bool value) noexcept { settings_.Confirmations = value; }
    bool AutoRun() const noexcept { return settings_.AutoRun; }
    bool NeedSettings() const noexcept { return needSettings_; }
    // Windows asked whether the session may end (WM_QUERYENDSESSION) and has
    // not said since that it goes on: no close question, no pings, no final
    // settings write meanwhile.
    bool EndingSession() const noexcept { return endingSession_; }
    const LinkSet& Links() const noexcept { return links_; }

    void SetName(const std::wstring& name) override;
    bool Terminated() const override;
    void SettingsReset() override;
    bool SettingsRead() override;
    bool SettingsWrite() override;

    // Chooses the work mode, runs its handler, hands over to a running copy
    // or runs the program until it is terminated.
    virtual void Execute();
    virtual void ParseCommandLine();
    virtual ModeResult HandleSettingsMode();
    virtual ModeResult HandleInstallMode();
    virtual ModeResult HandleUninstallMode();
    virtual ModeResult HandleStartupMode();
    virtual ModeResult HandleResetMode();
    virtual ModeResult HandleStopMode();
    // The action word: here no action has a name, so the start ends with
    // ActionExitCode::UnknownName. The program's own class runs them.
    virtual ModeResult HandleActionMode();
    // "/cancel": here nothing ever waits, so the start ends with 0 (with
    // another argument beside it, 2).
    virtual ModeResult HandleCancelMode();
    // "/options": the start goes on to show them.
    ModeResult HandleOptionsMode();
    // "/cancel" or "/options" with another argument beside it: the start
    // does nothing and ends with ActionExitCode::MalformedWord, the reason
    // logged.
    static ModeResult RefuseWordsBeside(const wchar_t* reason);
    virtual void Run();
    virtual void CreateForms();
    // Every queued message passes here first; true keeps it from its window.
    virtual bool OnAppMessage(MSG& msg);
    // The run statistics, brought up to date.
    virtual SoftwareInfo Software();
    // One more run counted.
    void CountRun() noexcept;
    virtual std::wstring Hardware();
    virtual void SetAutoRun(bool value);
    virtual int ShowSettings();
    virtual void Update();
    virtual void Terminate(int exitCode);
    virtual void Restart();
    // Set by Restart: the exit sequence starts the new copy after the
    // application object is gone.
    bool RestartRequested() const noexcept { return restartRequested_; }

    // The program's own parts, handed down from the layers above: the
    // statistics ping, the links, the About dialog and the notifier's window.
    // Here they do nothing.
    // Sends one statistics ping, or nothing when a gate holds it back.
    virtual void Ping(const std::wstring& verb, const std::wstring& extraParams, bool urgent);
    // Opens one of the links with the shell, then reports the click.
    virtual void OpenLink(std::int32_t linkId);
    // Shows the About dialog modally; 0 when one is open already.
    virtual int ShowAbout();
    // The window under which the hidden browsers of the statistics live.
    virtual void SetNotifierParent(HWND parent);
    // The command line, or another copy's, asked for the Options window.
    virtual void ShowOptionsRequested();

    // A subkey of the settings key (a feature's own settings); created when
    // asked to.
    tk::RegKey OpenSettingsSubkey(const wchar_t* subkey, bool create) const;

    void FreeUnusedMemory();
    // A second start asked this instance to show itself.
    void ShowProgram();
    // On its way out: ending, or with a request to end waiting in its queue.
    bool Leaving() const;
    // The dialog the user must answer before anything else of the program
    // (a modal form of its own, or a dialog of Windows' own that disables
    // the main window); null when none shows.
    HWND DialogToAnswer() const;
    // Brings the window in front of the main window (if that shows) and of
    // every other, with the keyboard, and flashes it.
    void BringForward(HWND window);
    // A window that a second start brings forward in place of the main
    // window (a countdown to an action); none here.
    virtual HWND UrgentWindow() const;

    // The full command line the program was started with; set before Execute.
    // Tests give their own.
    std::wstring CommandLine;
    SYSTEMTIME StartDateTime{};
    std::uint32_t StartTickCount = 0;
    double LastPing = 0;  // time of the last statistics ping; 0 for none yet
    // How long a work mode waits for a running copy to end: install,
    // uninstall and reset, and stop.
    std::uint32_t StopWait;
    std::uint32_t StopModeWait;
    // How long the action word waits for a running copy to take it.
    std::uint32_t HandOverWait;
    // How long the question about the end of the session holds when Windows
    // does not follow it with its answer (another program asked, say): then
    // the program runs on as before.
    std::uint32_t SessionEndWait;

protected:
    // The last settings write of an object that ends without having been
    // terminated. Each class that adds settings calls it from its own
    // destructor, while its values and overrides are still there.
    void ReleaseSettings() noexcept;

    // The settings key below the registry root; created when asked to.
    tk::RegKey OpenSettingsKey(bool create) const;
    // A number as stored, read as well as a damaged value allows.
    static std::optional<std::uint32_t> ReadNumber(const tk::RegKey& key, const wchar_t* name);
    // The general settings as stored; each one that is missing keeps
    // whenMissing's.
    GeneralSettings LoadGeneralSettings(const GeneralSettings& whenMissing) const;
    // Writes them below the settings key.
    void SaveGeneralSettings() const;

    std::vector<std::wstring> commandLineParams_;
    std::wstring actionName_;
    ActionWords actionWords_;
    std::wstring filePath_;
    std::wstring fileName_;
    bool confirmClose_ = false;
    // As the object is made, before the settings are read or reset: the
    // online features on, autorun and confirmations off until a read or a
    // reset gives them their values.
    GeneralSettings settings_{.AutoRun = false, .Online = true, .Confirmations = false};
    bool endingSession_ = false;
    bool needSettings_ = false;
    std::wstring copyright_;
    std::wstring mainWindowClass_;
    std::wstring mainWindowTitle_;
    WorkMode workMode_ = WorkMode::Undefined;
    SoftwareInfo software_;
    LinkSet links_;
    std::unique_ptr<tk::ApplicationEvents> events_;

private:
    // A request to show something that another copy sent rather than posted
    // is answered (taken, or InstanceLeavingAnswer) and comes round again
    // through the queue; true when it was such a one.
    bool AnswerSentRequest(const MSG& msg);
    // WM_QUERYENDSESSION prepares the end; WM_ENDSESSION says whether it comes.
    void SessionEndAsked();
    void SessionEndTold(bool ending);

    tk::Timer sessionEndTimer_{0, false};
    bool restartRequested_ = false;
};

}  // namespace corvello
