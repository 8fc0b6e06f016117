// The About dialog: the program's name, version and copyright, its icon and
// links; left open for ten seconds it reports being looked at.
#pragma once

#include <memory>

#include "toolkit/Controls.h"
#include "toolkit/Timer.h"
#include "ui/LinksForm.h"

namespace corvello {

class AboutDialog : public LinksForm {
public:
    explicit AboutDialog(AppBase& application);

    void ControlsInit() override;
    void ControlsUpdate() override;
    void OnShowEvent(tk::Form& sender) override;
    // The dialog neither restores nor stores its placement.
    bool SettingsRead() override { return true; }
    bool SettingsWrite() override { return true; }

    tk::Label& Title() const noexcept { return *title_; }
    tk::Label& VersionLabel() const noexcept { return *version_; }
    tk::Label& CopyrightLabel() const noexcept { return *copyright_; }

protected:
    void CreateControls() override;

private:
    void OnRunOnceTimer(tk::Timer& sender);

    std::unique_ptr<tk::Label> title_;
    std::unique_ptr<tk::Label> version_;
    std::unique_ptr<tk::Label> copyright_;
    std::unique_ptr<tk::Button> ok_;
    // Runs from construction: the "about" ping after ten seconds open.
    tk::Timer runOnce_;
};

// Shows the About dialog modally and returns its modal result. With one open
// already, that one is brought forward and flashed instead, and 0 returned.
int ShowAboutDialog(AppBase& application);
// The open About dialog, or null.
AboutDialog* OpenAboutDialog() noexcept;

}  // namespace corvello
