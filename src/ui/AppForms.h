// The base of every form of the program: its placement, window state and
// visibility kept in the registry under a key of its own, working-set
// trimming on show and hide, embedding into another window, an orderly close
// at the end of the session, and the plumbing of link controls. Also the
// popup menu that knows when it is shown.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "toolkit/Controls.h"
#include "toolkit/Form.h"
#include "toolkit/Menus.h"

namespace corvello {

class TAppFormClass : public tk::Form {
public:
    // componentName names the form's registry key ("frmMain").
    TAppFormClass(tk::FormLayout layout, std::wstring componentName);

    std::uint32_t RR() const noexcept { return FRR; }
    const std::wstring& RK() const noexcept { return FRK; }
    bool FirstShow() const noexcept { return FFirstShow; }
    bool RealVisible() const noexcept { return FRealVisible; }

    virtual void FontUpdate();
    virtual bool SettingsRead();
    virtual bool SettingsWrite();
    virtual void OnCloseEvent(tk::Form& Sender, tk::CloseAction& Action);
    virtual void OnCloseQueryEvent(tk::Form& Sender, bool& CanClose);
    virtual void OnShowEvent(tk::Form& Sender);
    virtual void OnHideEvent(tk::Form& Sender);
    virtual void OnLinkClick(tk::Control& Sender);
    virtual void OnLinkMouseEnter(tk::Control& Sender);
    virtual void OnLinkMouseLeave(tk::Control& Sender);
    virtual void InsertIntoControl(tk::Control* AControl);
    virtual void RemoveFromControl();

    using Handler = std::function<void(tk::Control&)>;
    void LinkLabelSetup(tk::Label& label, int tag, const std::wstring& caption, const std::wstring& hint,
                        Handler click, Handler mouseEnter, Handler mouseLeave);
    void LinkImageSetup(tk::Image& image, int tag, const std::wstring& hint, Handler click);

protected:
    void Loaded() override;
    void AfterCreate() override;
    void DoShow() override;
    void DoHide() override;
    bool DoCloseQuery() override;
    void DoClose(tk::CloseAction& action) override;
    LRESULT DoQueryEndSession() override;

    std::wstring FComponentName;
    std::uint32_t FRR = 0;
    std::wstring FRK;
    bool FFirstShow = true;
    bool FRealVisible = false;
    tk::BorderStyle FRealBorderStyle = tk::BorderStyle::Sizeable;
};

// A popup menu that knows whether it is shown and says when it has closed.
class TAppPopupMenu : public tk::PopupMenu {
public:
    bool Visible() const noexcept { return FVisible; }
    // Runs after the menu has closed; Visible still reads true meanwhile.
    std::function<void(TAppPopupMenu& sender)> OnClose;
    void Popup(int X, int Y) override;

private:
    bool FVisible = false;
};

}  // namespace corvello
