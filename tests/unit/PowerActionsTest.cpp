#include "actions/PowerActions.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

using namespace corvello;

namespace {

// Records every request as text and answers as told.
class RecordingRequests : public PowerRequests {
public:
    bool PostResult = true;
    bool LockResult = true;
    bool SuspendResult = true;
    bool HibernateAllowed = true;
    bool ExitResult = true;
    std::optional<SleepStates> Capabilities;
    std::vector<std::wstring> Calls;

    bool PostToProgramWindow(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override
    {
        Calls.push_back(L"post to own window " + std::to_wstring(message) + L' ' + std::to_wstring(wParam) + L' ' +
                        std::to_wstring(lParam));
        return PostResult;
    }
    bool LockWorkStation() override
    {
        Calls.push_back(L"lock");
        return LockResult;
    }
    bool SetSuspendState(bool hibernate, bool force, bool disableWake) override
    {
        Calls.push_back(L"suspend " + std::to_wstring(hibernate) + std::to_wstring(force) +
                        std::to_wstring(disableWake));
        return SuspendResult;
    }
    bool IsPwrHibernateAllowed() override
    {
        Calls.push_back(L"hibernate allowed?");
        return HibernateAllowed;
    }
    bool ExitWindowsEx(unsigned flags, unsigned long reason) override
    {
        Calls.push_back(L"exit " + std::to_wstring(flags) + L' ' + std::to_wstring(reason));
        return ExitResult;
    }
    std::uint32_t RunSystemTool(const std::wstring& commandLine, bool wait, bool show) override
    {
        Calls.push_back(L"run [" + commandLine + L"] wait " + std::to_wstring(wait) + L" show " +
                        std::to_wstring(show));
        return 0;
    }
    std::optional<SleepStates> SleepCapabilities() override
    {
        Calls.push_back(L"capabilities?");
        return Capabilities;
    }
};

using Action = std::function<bool(PowerRequests&)>;

struct Case {
    const char* Name;
    Action Run;
    std::function<void(RecordingRequests&)> Setup;
    std::vector<std::wstring> Calls;
    bool Result;
};

// Windows takes every request.
void AsIs(RecordingRequests&) {}

}  // namespace

TEST(PowerActions, RequestsFallbacksAndResults)
{
    using namespace corvello::power;
    const auto refuseExit = [](RecordingRequests& r) { r.ExitResult = false; };
    const auto modernStandby = [](RecordingRequests& r) { r.Capabilities = SleepStates{false, false, false, true}; };
    const auto lockMonitorOff = [](PowerRequests& r) {
        return LockMonitorOff(r, [&r] { static_cast<RecordingRequests&>(r).Calls.push_back(L"wait for quiet"); });
    };
    const Case cases[] = {
        {"monitor off", MonitorOff, AsIs, {L"post to own window 274 61808 2"}, true},
        {"monitor on", MonitorOn, AsIs, {L"post to own window 274 61808 -1"}, true},
        {"screen saver", ScreenSaver, AsIs, {L"post to own window 274 61760 0"}, true},
        {"screen saver refused", ScreenSaver, [](RecordingRequests& r) { r.PostResult = false; },
         {L"post to own window 274 61760 0"}, false},
        {"lock", LockUser, AsIs, {L"lock"}, true},
        {"lock refused", LockUser, [](RecordingRequests& r) { r.LockResult = false; },
         {L"lock", L"run [rundll32.exe user32.dll,LockWorkStation] wait 0 show 0"}, false},
        {"sleep", power::Sleep, AsIs, {L"capabilities?", L"suspend 000"}, true},
        {"sleep refused", power::Sleep, [](RecordingRequests& r) { r.SuspendResult = false; },
         {L"capabilities?", L"suspend 000"}, false},
        {"sleep with Modern Standby turns the display off", power::Sleep, modernStandby,
         {L"capabilities?", L"post to own window 274 61808 2"}, true},
        {"hibernate", Hibernate, AsIs, {L"suspend 100"}, true},
        {"hybrid", [](PowerRequests& r) { return HybridShutDown(r, 0); }, AsIs, {L"exit 4194305 0"}, true},
        {"hybrid refused hibernates", [](PowerRequests& r) { return HybridShutDown(r, 0); }, refuseExit,
         {L"exit 4194305 0", L"suspend 100"}, true},
        {"log off", [](PowerRequests& r) { return LogOff(r, 0); }, AsIs, {L"exit 0 0"}, true},
        {"log off refused", [](PowerRequests& r) { return LogOff(r, 0); }, refuseExit,
         {L"exit 0 0", L"run [shutdown.exe -l] wait 0 show 0"}, false},
        {"reboot refused", [](PowerRequests& r) { return Reboot(r, 0); }, refuseExit,
         {L"exit 2 0", L"run [shutdown.exe -r -t 00] wait 0 show 0"}, false},
        {"shut down", [](PowerRequests& r) { return ShutDown(r, 0); }, AsIs, {L"exit 1 0"}, true},
        {"shut down refused", [](PowerRequests& r) { return ShutDown(r, 0); }, refuseExit,
         {L"exit 1 0", L"run [shutdown.exe -s -t 00] wait 0 show 0"}, false},
        {"power off", [](PowerRequests& r) { return PowerOff(r, 0); }, AsIs, {L"hibernate allowed?", L"exit 8 0"},
         true},
        {"power off refused", [](PowerRequests& r) { return PowerOff(r, 0); }, refuseExit,
         {L"hibernate allowed?", L"exit 8 0", L"run [shutdown.exe -s -t 00] wait 0 show 0"}, false},
        {"power off without hibernation", [](PowerRequests& r) { return PowerOff(r, 0); },
         [](RecordingRequests& r) { r.HibernateAllowed = false; },
         {L"hibernate allowed?", L"run [shutdown.exe -s -t 00] wait 0 show 0"}, false},
        {"extra exit flags join the flag word", [](PowerRequests& r) { return Reboot(r, 0x10); }, AsIs,
         {L"exit 18 0"}, true},
        {"control panel", ControlPanel, AsIs, {L"run [control.exe] wait 0 show 1"}, true},
        // The lock comes at once; the keys that asked for it must be up before
        // the display goes off.
        {"lock and monitor off", lockMonitorOff, AsIs,
         {L"lock", L"wait for quiet", L"post to own window 274 61808 2"}, true},
        // Unlocked, the screen must not go dark: it would pass for locked.
        {"lock and monitor off, lock refused", lockMonitorOff, [](RecordingRequests& r) { r.LockResult = false; },
         {L"lock"}, false},
        {"lock and monitor off, display request refused", lockMonitorOff,
         [](RecordingRequests& r) { r.PostResult = false; },
         {L"lock", L"wait for quiet", L"post to own window 274 61808 2"}, true},
    };
    for (const auto& c : cases) {
        RecordingRequests requests;
        c.Setup(requests);
        EXPECT_EQ(c.Run(requests), c.Result) << c.Name;
        EXPECT_EQ(requests.Calls, c.Calls) << c.Name;
    }
}

TEST(PowerActions, SleepTurnsTheDisplayOffOnlyOnModernStandbyWithoutOlderStates)
{
    using power::SleepPath;
    const struct {
        const char* What;
        std::optional<SleepStates> States;
        SleepPath Path;
    } cases[] = {
        {"Windows does not say", std::nullopt, SleepPath::Suspend},
        {"S3", SleepStates{false, false, true, false}, SleepPath::Suspend},
        {"Modern Standby alone", SleepStates{false, false, false, true}, SleepPath::DisplayOff},
        {"Modern Standby and S3", SleepStates{false, false, true, true}, SleepPath::Suspend},
        {"Modern Standby and S1", SleepStates{true, false, false, true}, SleepPath::Suspend},
        {"Modern Standby and S2", SleepStates{false, true, false, true}, SleepPath::Suspend},
        // Nothing to sleep with: SetSuspendState says so itself.
        {"no sleep at all", SleepStates{}, SleepPath::Suspend},
    };
    for (const auto& c : cases)
        EXPECT_EQ(power::ChooseSleepPath(c.States), c.Path) << c.What;
}
