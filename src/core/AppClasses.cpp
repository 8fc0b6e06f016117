#include "core/AppClasses.h"

#include "core/AppUtils.h"
#include "core/Product.h"
#include "core/RegistryLayout.h"
#include "core/Ticks.h"
#include "online/Tickover.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace corvello {

bool RestartOnExit = false;
TAppClass* AppObject = nullptr;

TAppClass::TAppClass(const std::wstring& AName, const TVersionArray& AVersionArray, bool AConfirmClose,
                     std::uint32_t ARegistryRoot, const std::wstring& ARegistryKey)
    : TAppApiBaseClass(AName, AVersionArray, ARegistryRoot, ARegistryKey)
{
    FSoftware.hardware = GetHardware();
    FSoftware.RunFirst = TodayIso();
    FSoftware.RunLast = FSoftware.RunFirst;

    FLinks.Web.id = LinkIdWeb;
    FLinks.Email.id = LinkIdEmail;
    FLinks.RSS.id = LinkIdRSS;
    FLinks.Facebook.id = LinkIdFacebook;
    FLinks.Gplus.id = LinkIdGplus;
    FLinks.Twitter.id = LinkIdTwitter;
    FLinks.Delicious.id = LinkIdDelicious;
    FLinks.StumbleUpon.id = LinkIdStumbleUpon;

    // The base stored the name; as the application object it is also the title.
    SetName(FName);
    FEvents = std::make_unique<tk::ApplicationEvents>([this](MSG& msg, bool& handled) {
        // Nothing may escape into the message loop.
        try {
            OnAppMessage(msg, handled);
        } catch (...) {
        }
    });

    FConfirmClose = AConfirmClose;
    FCopyright = CORVELLO_WIDEN(CORVELLO_COPYRIGHT);
    const auto parts = SplitPath(GetModulePath());
    FFilePath = parts.Directory;
    FFileName = parts.FileName;
    FMainWindowClass = tk::Application::WindowClassName;
    FMainWindowTitle = FName;
    StartDateTime = LocalNow();
    StartTickCount = ::GetTickCount();
    CommandLine = ::GetCommandLineW();
    ::SetThreadLocale(LOCALE_USER_DEFAULT);
}

TAppClass::~TAppClass()
{
    ReleaseSettings();
    FreeTickover();
    FEvents.reset();
}

void TAppClass::ReleaseSettings() noexcept
{
    // On the normal way out the loop has ended and nothing is written here.
    try {
        if (!GetTerminated())
            SettingsWrite();
    } catch (...) {
    }
    FTerminated = true;
}

void TAppClass::SetName(const std::wstring& Value)
{
    TAppApiBaseClass::SetName(Value);
    tk::Application::Current().SetTitle(Value);
}

std::wstring TAppClass::GetEdition() const
{
    return {};
}

bool TAppClass::GetTerminated() const
{
    return FTerminated || FShutingDown || tk::Application::Current().Terminated();
}

void TAppClass::SettingsReset() {}

tk::RegKey TAppClass::OpenSettingsKey(bool create) const
{
    const HKEY root = tk::RootKey(FRR);
    return create ? tk::RegKey::Create(root, FRK) : tk::RegKey::Open(root, FRK);
}

bool TAppClass::SettingsRead()
{
    // A value that is missing, or stored in a type or size that is not ours,
    // leaves its field as it is; the next write stores it properly.
    const tk::RegKey key = OpenSettingsKey(false);
    if (const auto count = key.ReadDword(registry::RunCount))
        FSoftware.RunCount = *count;
    if (const auto first = key.ReadString(registry::RunFirst, registry::MaxDateChars))
        FSoftware.RunFirst = *first;
    if (const auto last = key.ReadString(registry::RunLast, registry::MaxDateChars))
        FSoftware.RunLast = *last;
    FSoftware.hardware = GetHardware();
    return true;
}

bool TAppClass::SettingsWrite()
{
    const tk::RegKey key = OpenSettingsKey(true);
    key.WriteDword(registry::RunCount, FSoftware.RunCount);
    // The last run is today, from the clock; in memory RunLast keeps the date
    // read at start.
    const std::wstring today = TodayIso();
    key.WriteString(registry::RunLast, today);
    if (!key.ReadString(registry::RunFirst, registry::MaxDateChars))
        key.WriteString(registry::RunFirst, today);
    return true;
}

void TAppClass::SetAutoRun(bool Value)
{
    FAutoRun = Value;
    const auto run = tk::RegKey::Create(HKEY_CURRENT_USER, registry::RunKey, KEY_SET_VALUE);
    if (Value)
        run.WriteString(FFileName.c_str(), registry::AutorunCommand(FFilePath + FFileName));
    else
        run.DeleteValue(FFileName.c_str());
}

void TAppClass::ParseCmdLine()
{
    FWorkMode = TWorkMode::wmDefault;
    FCmdLineParams = CollectParams(SplitCommandLine(CommandLine));
    FWorkMode = ChooseWorkMode(FCmdLineParams);
}

namespace {

// Runs a handler's steps: an error ends them and the handler reports false.
template <typename Steps>
bool Guarded(Steps steps)
{
    try {
        steps();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

bool TAppClass::DoModeSettings(bool& EndAfter)
{
    EndAfter = false;
    return Guarded([this] { FNeedSettings = true; });
}

bool TAppClass::DoModeInstall(bool& EndAfter)
{
    EndAfter = false;
    return Guarded([this] { StopInstance(3000, FMainWindowClass, FMainWindowTitle); });
}

bool TAppClass::DoModeUninstall(bool& EndAfter)
{
    EndAfter = true;
    return Guarded([this] {
        StopInstance(3000, FMainWindowClass, FMainWindowTitle);
        RegistryClear();
        // A help index the system may have left beside the program.
        const std::wstring gid = ChangeFileExt(FFilePath + FFileName, L".gid");
        if (::GetFileAttributesW(gid.c_str()) != INVALID_FILE_ATTRIBUTES)
            ::DeleteFileW(gid.c_str());
    });
}

bool TAppClass::DoModeStartup(bool& EndAfter)
{
    EndAfter = false;
    return true;
}

bool TAppClass::DoModeReset(bool& EndAfter)
{
    EndAfter = false;
    return Guarded([this] {
        StopInstance(3000, FMainWindowClass, FMainWindowTitle);
        SettingsReset();
        SettingsWrite();
    });
}

bool TAppClass::DoModeStop(bool& EndAfter)
{
    EndAfter = true;
    return Guarded([this] { StopInstance(5000, FMainWindowClass, FMainWindowTitle); });
}

void TAppClass::Execute()
{
    ParseCmdLine();
    bool endAfter = false;
    switch (FWorkMode) {
    case TWorkMode::wmUndefined:
        endAfter = true;
        break;
    case TWorkMode::wmDefault:
        break;
    case TWorkMode::wmSettings:
        DoModeSettings(endAfter);
        break;
    case TWorkMode::wmInstall:
        DoModeInstall(endAfter);
        break;
    case TWorkMode::wmUninstall:
        DoModeUninstall(endAfter);
        break;
    case TWorkMode::wmStartup:
        DoModeStartup(endAfter);
        break;
    case TWorkMode::wmReset:
        DoModeReset(endAfter);
        break;
    case TWorkMode::wmStop:
        DoModeStop(endAfter);
        break;
    }
    if (endAfter) {
        Terminate(0);
        return;
    }

    auto& application = tk::Application::Current();
    application.Initialize();
    application.SetTitle(FName);

    if (IsAnotherInstance(true, true, L"")) {
        ActivateInstance(FMainWindowClass, FMainWindowTitle);
        Terminate(0);
        return;
    }

    SettingsReset();
    SettingsRead();
    ++FSoftware.RunCount;
    Run();
}

void TAppClass::Run()
{
    CreateForms();
    SettingsWrite();
    tk::Application::Current().Run();
}

void TAppClass::CreateForms() {}

void TAppClass::OnAppMessage(MSG& Msg, bool& Handled)
{
    switch (Msg.message) {
    case WM_QUERYENDSESSION:
        FShutingDown = true;
        Handled = true;
        break;
    case WM_APP_UPDATE:
        Update();
        break;
    case WM_APP_TERMINATE:
        Terminate(static_cast<int>(Msg.lParam));
        break;
    case WM_APP_SETTINGS_READ:
        SettingsRead();
        Handled = true;
        break;
    case WM_INSTANCE_ACTIVATE:
        ShowProgram();
        Handled = true;
        break;
    case WM_INSTANCE_STOP:
        Terminate(0);
        Handled = true;
        break;
    default:
        break;
    }
}

void TAppClass::ShowProgram()
{
    auto& application = tk::Application::Current();
    ::SetForegroundWindow(application.Handle());

    // What the user looks at now: the active form, the active window, the
    // application's last active popup, or the application window itself.
    HWND target = application.ActiveForm() ? application.ActiveForm()->Handle() : nullptr;
    if (!target)
        target = ::GetActiveWindow();
    if (!target)
        target = ::GetLastActivePopup(application.Handle());
    if (!target)
        target = application.Handle();

    tk::Form* main = application.MainForm();
    const bool targetVisible = target && ::IsWindowVisible(target);
    if (main && (!targetVisible || target == main->Handle())) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        if (!main->Visible())
            main->Show();
        main->BringToFront();
        WindowFlash(main->Handle(), 3, 75);
        application.ProcessMessages();
        ::Sleep(10);
        ::SetFocus(main->Handle());
    } else if (targetVisible) {
        // A dialog in front of the main window: lift it above every window
        // without leaving it top-most.
        ::MessageBeep(MB_ICONEXCLAMATION);
        if (main && main->Visible())
            main->BringToFront();
        ::SetWindowPos(target, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetWindowPos(target, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        WindowFlash(target, 3, 75);
    } else {
        application.NormalizeTopMosts();
    }
}

TSoftwareInfo TAppClass::GetSoftware()
{
    FSoftware.version = GetVersion();
    FSoftware.edition = GetEdition();
    FSoftware.RunTime = TickDistance(::GetTickCount(), StartTickCount) / 1000;
    if (FSoftware.hardware.empty())
        FSoftware.hardware = GetHardware();
    return FSoftware;
}

std::wstring TAppClass::GetHardware()
{
    return ComposeHardware(GetCurrentComputerName(), GetCurrentUserName());
}

int TAppClass::ShowSettings()
{
    auto& application = tk::Application::Current();
    ::SetForegroundWindow(application.Handle());
    application.Restore();
    if (tk::Form* main = application.MainForm()) {
        main->Show();
        main->BringToFront();
        ::SetForegroundWindow(main->Handle());
    }
    return 1;
}

void TAppClass::Update()
{
    FreeUnusedMemory();
}

void TAppClass::FreeUnusedMemory()
{
    ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-1));
}

void TAppClass::Terminate(int ErrorCode)
{
    FTerminated = true;
    auto& application = tk::Application::Current();
    const HWND main = application.MainWindow();
    if (!main) {
        // Without a main window the program ends now, with the given code.
        application.Terminate(ErrorCode);
        return;
    }
    // The main window's close query lets it go: Terminated is true by now.
    application.MainForm()->Close();
    application.Terminate(0);
}

void TAppClass::Restart()
{
    // The new copy starts from the exit sequence, after this process has let
    // go of the instance mutex; started any earlier it would find this
    // process still registered and hand over to it.
    RestartOnExit = true;
    Terminate(0);
}

void TAppClass::RunNewInstance()
{
    StartProgramCopy(FFilePath + FFileName);
}

}  // namespace corvello
