// The generic application object: work modes from the command line, hand-over
// to a running instance, the message loop, termination and restart.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/AppTypes.h"
#include "core/CommandLine.h"
#include "core/SharedClasses.h"
#include "toolkit/Application.h"
#include "toolkit/Registry.h"

namespace corvello {

class TAppClass : public TAppApiBaseClass {
public:
    TAppClass(const std::wstring& AName, const TVersionArray& AVersionArray, bool AConfirmClose,
              std::uint32_t ARegistryRoot, const std::wstring& ARegistryKey);
    ~TAppClass() override;

    TWorkMode WorkMode() const noexcept { return FWorkMode; }
    TSoftwareInfo Software() { return GetSoftware(); }
    const std::wstring& Copyright() const noexcept { return FCopyright; }
    const std::wstring& FileName() const noexcept { return FFileName; }
    const std::wstring& FilePath() const noexcept { return FFilePath; }
    const std::vector<std::wstring>& CmdLineParams() const noexcept { return FCmdLineParams; }
    const std::wstring& MainWindowClass() const noexcept { return FMainWindowClass; }
    const std::wstring& MainWindowTitle() const noexcept { return FMainWindowTitle; }
    bool ConfirmClose() const noexcept { return FConfirmClose; }
    void SetConfirmClose(bool value) noexcept { FConfirmClose = value; }
    bool OnlineEnabled() const noexcept { return FOnlineEnabled; }
    void SetOnlineEnabled(bool value) noexcept { FOnlineEnabled = value; }
    bool Confirmations() const noexcept { return FConfirmations; }
    void SetConfirmations(bool value) noexcept { FConfirmations = value; }
    bool AutoRun() const noexcept { return FAutoRun; }
    bool NeedSettings() const noexcept { return FNeedSettings; }
    bool ShutingDown() const noexcept { return FShutingDown; }
    const TLinks& Links() const noexcept { return FLinks; }

    void SetName(const std::wstring& Value) override;
    std::wstring GetEdition() const override;
    bool GetTerminated() const override;
    void SettingsReset() override;
    bool SettingsRead() override;
    bool SettingsWrite() override;

    virtual void Run();
    virtual bool DoModeSettings(bool& EndAfter);
    virtual bool DoModeInstall(bool& EndAfter);
    virtual bool DoModeUninstall(bool& EndAfter);
    virtual bool DoModeStartup(bool& EndAfter);
    virtual bool DoModeReset(bool& EndAfter);
    virtual bool DoModeStop(bool& EndAfter);
    virtual void ParseCmdLine();
    virtual void RunNewInstance();
    virtual std::wstring GetHardware();
    virtual void CreateForms();
    virtual void OnAppMessage(MSG& Msg, bool& Handled);
    virtual TSoftwareInfo GetSoftware();
    virtual void SetAutoRun(bool Value);
    virtual void Execute();
    virtual int ShowSettings();
    virtual void Update();
    virtual void Terminate(int ErrorCode);
    virtual void Restart();

    void FreeUnusedMemory();
    // A second start asked this instance to show itself.
    void ShowProgram();

    // Online features (their bodies live with the other online code).
    // The query of a statistics ping: "version=..." and the extra parameters.
    virtual std::wstring GetPingParams(const std::wstring& AdditionalParams);
    // Opens one of the links with the shell, then reports the click.
    virtual void OpenLink(std::int32_t LinkID);
    // Sends one statistics ping, or nothing when a gate holds it back.
    void Ping(const std::wstring& Verb, const std::wstring& AdditionalParams, bool Urgent);

    // The full command line the program was started with; set before Execute.
    // Tests give their own.
    std::wstring CommandLine;

protected:
    // The last settings write of an object that ends without having been
    // terminated. Each class that adds settings calls it from its own
    // destructor, while its values and overrides are still there.
    void ReleaseSettings() noexcept;

    // The settings key below the registry root; created when asked to.
    tk::RegKey OpenSettingsKey(bool create) const;

    std::vector<std::wstring> FCmdLineParams;
    std::wstring FFilePath;
    std::wstring FFileName;
    bool FConfirmClose = false;
    bool FAutoRun = false;
    bool FOnlineEnabled = true;
    bool FConfirmations = false;
    bool FShutingDown = false;
    bool FNeedSettings = false;
    std::wstring FCopyright;
    std::wstring FMainWindowClass;
    std::wstring FMainWindowTitle;
    TWorkMode FWorkMode = TWorkMode::wmUndefined;
    TSoftwareInfo FSoftware;
    TLinks FLinks;
    std::unique_ptr<tk::ApplicationEvents> FEvents;

public:
    SYSTEMTIME StartDateTime{};
    std::uint32_t StartTickCount = 0;
    double TickoverLast = 0;  // time of the last statistics ping; 0 for none yet
};

// Set by Restart when there is no main window: the exit sequence then starts
// the new copy after the application object is gone.
extern bool RestartOnExit;

// The application object, typed as the generic class and owned by the start-up
// routine; null outside its lifetime.
extern TAppClass* AppObject;

}  // namespace corvello
