// The form base of every window with links: six social pictures, the web and
// e-mail click labels, and the program's big icon with a frame that marks its
// place when the icon could not be loaded. Everything is hidden here; each
// derived window places and shows what it wants.
#pragma once

#include <memory>
#include <string>

#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"
#include "ui/PersistentForm.h"

namespace corvello {

class LinksForm : public PersistentForm {
public:
    LinksForm(AppBase& application, tk::FormLayout layout, std::wstring componentName);

    // Once the controls are made (at the end of construction, or at the first
    // show for a form that makes them then): binds the links.
    virtual void ControlsInit();
    virtual void SocialButtonsInit();
    virtual void ClickLabelsInit();
    // The text the web label shows for the link's text; the link's text
    // unless a form shows it otherwise.
    virtual std::wstring WebLabelCaption(const std::wstring& linkText) const { return linkText; }
    // Refreshes the link bindings and the icon's hint and frame; on every show.
    virtual void ControlsUpdate();
    // Repaints at once, then refreshes the controls.
    void Update();

    void OnShowEvent(tk::Form& sender) override;

    tk::Label& ClickLabelEmail() const noexcept { return *clickLabelEmail_; }
    tk::Label& ClickLabelWeb() const noexcept { return *clickLabelWeb_; }
    tk::Image& IconImage() const noexcept { return *icon_; }
    tk::Bevel& IconFrame() const noexcept { return *bvIcon_; }
    tk::Panel& SocialButtons() const noexcept { return *socialButtons_; }

protected:
    // The base's controls; a derived form creates its own after them.
    void CreateControls() override;
    // Placement first (the form base), then ControlsInit; for controls made
    // at the first show, ControlsInit comes then.
    void AfterCreate() override;
    void ControlsMadeOnShow() override;
    void DoDpiChanged() override;

private:
    struct Social {
        std::unique_ptr<tk::Image> Image;
        tk::Icon Picture;
        const wchar_t* Resource;
    };
    void LoadPictures();
    void LoadBigIconWhereShown();

    std::unique_ptr<tk::Label> clickLabelEmail_;
    std::unique_ptr<tk::Label> clickLabelWeb_;
    std::unique_ptr<tk::Bevel> bvIcon_;
    std::unique_ptr<tk::Image> icon_;
    std::unique_ptr<tk::Panel> socialButtons_;
    // Facebook, Google+, Twitter, RSS, Delicious, StumbleUpon, left to right.
    Social social_[6];
    tk::Icon bigIcon_;
};

}  // namespace corvello
