// The base of every form of the program: its placement, window state and
// visibility kept in the registry under a key of its own, working-set
// trimming on show and hide, embedding into another window, an orderly close
// at the end of the session, and the plumbing of link controls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/AppBase.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Registry.h"

namespace corvello {

class PersistentForm : public tk::Form {
public:
    // componentName names the form's registry key ("frmMain"), below the
    // application's settings key.
    PersistentForm(AppBase& application, tk::FormLayout layout, std::wstring componentName);

    // The application the form belongs to: its settings key, its links, its
    // end.
    AppBase& Application() const noexcept { return application_; }

    std::uint32_t RegistryRoot() const noexcept { return registryRoot_; }
    const std::wstring& RegistryKey() const noexcept { return registryKey_; }
    bool FirstShow() const noexcept { return firstShow_; }
    bool RealVisible() const noexcept { return realVisible_; }

    virtual void FontUpdate();
    virtual bool SettingsRead();
    virtual bool SettingsWrite();
    virtual void OnCloseEvent(tk::Form& sender, tk::CloseAction& action);
    virtual void OnCloseQueryEvent(tk::Form& sender, bool& canClose);
    virtual void OnShowEvent(tk::Form& sender);
    virtual void OnHideEvent(tk::Form& sender);
    virtual void OnLinkClick(tk::Control& sender);
    virtual void OnLinkMouseEnter(tk::Control& sender);
    virtual void OnLinkMouseLeave(tk::Control& sender);
    virtual void InsertIntoControl(tk::Control* control);
    virtual void RemoveFromControl();

    using Handler = std::function<void(tk::Control&)>;
    void LinkLabelSetup(tk::Label& label, int tag, const std::wstring& caption, const std::wstring& hint,
                        Handler click, Handler mouseEnter, Handler mouseLeave);
    void LinkImageSetup(tk::Image& image, int tag, const std::wstring& hint, Handler click);

protected:
    // The user can change the form's size.
    bool Resizable() const;
    void Loaded() override;
    void AfterCreate() override;
    // The stored "Visible", else the layout's.
    bool StartsHidden() override;
    void ControlsMadeOnShow() override;
    void DoShow() override;
    void DoHide() override;
    bool DoCloseQuery() override;
    void DoClose(tk::CloseAction& action) override;
    void DoEndSession(bool ending) override;

    AppBase& application_;
    std::wstring componentName_;
    std::uint32_t registryRoot_ = 0;
    std::wstring registryKey_;
    bool firstShow_ = true;
    bool realVisible_ = false;
    tk::BorderStyle realBorderStyle_ = tk::BorderStyle::Sizeable;

private:
    // The form's key below the application's, once.
    void ResolveRegistryKey();
    // The stored bounds (the position only, for a form of fixed size), or
    // the centre of the work area; inside the work area either way.
    void ReadPlacement(const tk::RegKey& key);
    static std::optional<bool> StoredVisible(const tk::RegKey& key);

    bool keyResolved_ = false;
};

}  // namespace corvello
