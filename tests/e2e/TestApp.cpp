// A small program on the program's own application object and form base,
// for the end-to-end tests of the window layer:
//   corvello_testapp            hidden main form (as in the tray)
//   corvello_testapp dialog     and a question open in front of it
//   corvello_testapp gallery    a visible form with every kind of control,
//                               and a question over it
//   corvello_testapp holdinstance
//                               holds corvello.exe's instance mutex, with no
//                               window at all, until it is ended (a minute
//                               at most)
// It answers TestApp::AskFlashes with the number of flashes of the window
// in lParam (three times, 75 ms apart, caption and task-bar button).
#include <windows.h>

#include <memory>
#include <vector>

#include "core/InstanceNames.h"
#include "core/SingleInstance.h"
#include "core/SystemNames.h"
#include "core/SystemVersion.h"
#include "toolkit/Window.h"
#include "app/CorvelloApp.h"
#include "e2e/TestAppProtocol.h"
#include "toolkit/Actions.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"
#include "ui/PersistentForm.h"
#include "ui/ShowMessageDialog.h"

using namespace corvello;

namespace {

std::vector<FLASHWINFO> Flashes;

BOOL WINAPI RecordFlash(PFLASHWINFO info)
{
    Flashes.push_back(*info);
    return ::FlashWindowEx(info);
}

class TestMainForm : public PersistentForm {
public:
    TestMainForm(AppBase& application, bool gallery)
        : PersistentForm(application, tk::FormLayout{testapp::MainClass, L"Corvello Test", 0, 0, gallery ? 420 : 300,
                                       gallery ? 330 : 120, tk::BorderStyle::Single, true, true, false, gallery,
                                       tk::FontSpec{}},
                        L"frmTestMain"),
          gallery_(gallery)
    {
    }

protected:
    void CreateControls() override
    {
        if (!gallery_)
            return;
        icon_ = tk::Icon::FromResource(L"MAINICON", 48, 48);
        smallIcon_ = tk::Icon::FromResource(L"MAINICON", 16, 16);
        Own(std::make_unique<tk::Label>(*this, tk::Bounds{12, 8, 396, 30},
                                        L"A label that wraps its words: every kind of control of the window layer, "
                                        L"as the program's forms use them.",
                                        tk::Label::Options{true, false, tk::Alignment::Left, false}));
        auto& group = Own(std::make_unique<tk::GroupBox>(*this, tk::Bounds{8, 44, 260, 120}, L"Group box"));
        action_ = std::make_unique<tk::Action>(L"actDemo", L"Action", L"A button bound to an action");
        auto& bound = Own(std::make_unique<tk::Button>(group, tk::Bounds{12, 24, 90, 25}));
        bound.SetAction(action_.get());
        auto& glyph = Own(std::make_unique<tk::Button>(group, tk::Bounds{112, 24, 90, 25}, L"Caps Lock"));
        glyph.SetGlyph(smallIcon_.Get());
        Own(std::make_unique<tk::CheckBox>(group, tk::Bounds{12, 60, 200, 17}, L"A check box", true));
        Own(std::make_unique<tk::CheckBox>(group, tk::Bounds{12, 84, 200, 17}, L"Another, not checked", false));
        auto& image = Own(std::make_unique<tk::Image>(*this, tk::Bounds{290, 50, 110, 110}, true, true));
        image.SetIcon(icon_.Get());
        Own(std::make_unique<tk::Bevel>(*this, tk::Bounds{286, 46, 118, 118}));
        auto& panel = Own(std::make_unique<tk::Panel>(*this, tk::Bounds{8, 176, 400, 60}));
        Own(std::make_unique<tk::Label>(panel, tk::Bounds{8, 8, 0, 0},
                                        L"A label on a panel"));
        auto& link = Own(std::make_unique<tk::Label>(panel, tk::Bounds{8, 32, 0, 0},
                                                     L"corvello.quorvant.com",
                                                     tk::Label::Options{false, true, tk::Alignment::Left, true}));
        link.SetTextColor(RGB(0, 0, 255));
        LinkLabelSetup(link, 1, L"corvello.quorvant.com", L"Open Website", nullptr,
                       [this](tk::Control& c) { OnLinkMouseEnter(c); }, [this](tk::Control& c) { OnLinkMouseLeave(c); });
        link.SetUnderline(true);
        auto& ok = Own(std::make_unique<tk::Button>(*this, tk::Bounds{332, 292, 75, 25}, L"OK"));
        ok.SetDefault(true);
    }

    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == testapp::AskFlashes) {
            LRESULT count = 0;
            for (const auto& f : Flashes)
                count += f.hwnd == reinterpret_cast<HWND>(lParam) && f.dwFlags == FLASHW_ALL && f.uCount == 3 &&
                         f.dwTimeout == 75;
            return count;
        }
        return PersistentForm::WndProc(message, wParam, lParam);
    }

private:
    template <typename T>
    T& Own(std::unique_ptr<T> control)
    {
        T& ref = *control;
        controlsOwned_.push_back(std::move(control));
        return ref;
    }

    bool gallery_;
    tk::Icon icon_;
    tk::Icon smallIcon_;
    std::unique_ptr<tk::Action> action_;
    std::vector<std::unique_ptr<tk::Control>> controlsOwned_;
};

class TestApp : public CorvelloApp {
public:
    TestApp(bool gallery, bool dialog)
        : CorvelloApp(L"Corvello", BuiltInVersion, true, RegistryRootCurrentUser, L"\\Software\\QUORVANT\\CorvelloTestApp\\1.0"),
          gallery_(gallery), dialog_(dialog)
    {
    }

    void CreateForms() override
    {
        main_ = tk::CreateForm<TestMainForm>(*this, gallery_);
        tk::Application::Current().SetMainForm(main_.get());
        if (dialog_) {
            // The question opens from the loop, as the tray menu's would.
            // In the gallery, late enough for the form to be seen alone first.
            dialogTimer_ = std::make_unique<tk::Timer>(gallery_ ? 1500 : 200);
            dialogTimer_->OnTimer = [this](tk::Timer& timer) {
                timer.SetEnabled(false);
                ShowMessageDialog(
                    MessageDialogArgs(
                        L"Do you really want to close \"Corvello\" application and disable all its features?")
                        .Owner(main_.get()));
            };
        }
    }

    ~TestApp() override
    {
        tk::Application::Current().SetMainForm(nullptr);
        main_.reset();
    }

private:
    bool gallery_;
    bool dialog_;
    std::unique_ptr<TestMainForm> main_;
    std::unique_ptr<tk::Timer> dialogTimer_;
};

// Stands in for a copy of corvello.exe that holds the instance and has no
// window (one that is starting, or hangs).
int HoldInstance()
{
    InstanceNameParts parts;
    parts.UserName = GetCurrentUserName();
    parts.ExeFileName = L"corvello.exe";
    const tk::KernelHandle mutex(::CreateMutexW(nullptr, FALSE, ComposeInstanceNames(parts).Instance.c_str()));
    const DWORD wait = mutex ? ::WaitForSingleObject(mutex.Get(), 0) : WAIT_FAILED;
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return 1;
    ::Sleep(60000);
    ::ReleaseMutex(mutex.Get());
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::wstring line = ::GetCommandLineW();
    if (line.find(L"holdinstance") != std::wstring::npos)
        return HoldInstance();
    DetectWindowsVersion();
    tk::SetFlashWindowFn(&RecordFlash);
    const bool gallery = line.find(L"gallery") != std::wstring::npos;
    const bool dialog = gallery || line.find(L"dialog") != std::wstring::npos;
    auto app = std::make_unique<TestApp>(gallery, dialog);
    app->Execute();
    const int code = tk::Application::Current().ExitCode();
    app.reset();
    FreeInstanceMutex();
    return code;
}
