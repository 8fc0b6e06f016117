// A small application for the form tests: an application object with its own
// settings key, and a form class of the program's form base.
#pragma once

#include <memory>

#include "core/FileVersion.h"
#include "app/CorvelloApp.h"
#include "support/RegistryTestSupport.h"
#include "toolkit/Application.h"
#include "ui/PersistentForm.h"

namespace testsupport {

inline constexpr const wchar_t* FormTestKey = L"Software\\QUORVANT\\CorvelloFormTest\\1.0";

class TestForm : public corvello::PersistentForm {
public:
    explicit TestForm(corvello::AppBase& application, tk::BorderStyle border = tk::BorderStyle::Sizeable,
                      bool visible = true, const wchar_t* className = L"TfrmTest")
        : PersistentForm(application, tk::FormLayout{className, L"Test form", 40, 40, 300, 200, border, true, true, true, visible,
                                       tk::FontSpec{}},
                        L"frmTest")
    {
    }

    int QueryEndSessionSeen = 0;
    int ShowEvents = 0;
    int HideEvents = 0;
    std::unique_ptr<tk::Button> OkButton;
    std::unique_ptr<tk::Panel> Holder;

protected:
    void CreateControls() override
    {
        OkButton = std::make_unique<tk::Button>(*this, tk::Bounds{10, 10, 75, 25}, L"OK");
        Holder = std::make_unique<tk::Panel>(*this, tk::Bounds{10, 50, 200, 100});
    }
    void OnShowEvent(tk::Form& sender) override
    {
        ++ShowEvents;
        PersistentForm::OnShowEvent(sender);
    }
    void OnHideEvent(tk::Form& sender) override
    {
        ++HideEvents;
        PersistentForm::OnHideEvent(sender);
    }
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_QUERYENDSESSION)
            ++QueryEndSessionSeen;
        return PersistentForm::WndProc(message, wParam, lParam);
    }
};

// The application object the forms take their settings key from.
class FormTestApp {
public:
    FormTestApp()
    {
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, FormTestKey);
        app_ = std::make_unique<corvello::CorvelloApp>(L"Corvello", corvello::VersionArray{1, 2, 0, 21}, true,
                                                corvello::RegistryRootCurrentUser, std::wstring(L"\\") + FormTestKey);
        tk::Application::Current().Initialize();
    }
    ~FormTestApp()
    {
        app_->Terminate(0);
        app_.reset();
        tk::RegKey::DeleteTree(HKEY_CURRENT_USER, L"Software\\QUORVANT\\CorvelloFormTest");
        testsupport::DeleteValue(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                 corvello::SplitPath(corvello::GetModulePath()).FileName.c_str());
    }
    corvello::CorvelloApp& App() { return *app_; }

    static std::wstring FormKey() { return std::wstring(FormTestKey) + L"\\frmTest"; }

private:
    std::unique_ptr<corvello::CorvelloApp> app_;
};

}  // namespace testsupport
