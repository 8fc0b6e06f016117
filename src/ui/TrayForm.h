// The base of the main window that lives in the notification area: the tray
// icon and its menu, the close rule (the close box hides to the tray; only the
// menu's "Close" after a question ends the program), "About" in the system
// menu, the start-up timer, the minute timer (started by the window that
// schedules by it), and the hidden panel the notifier's browsers live on.
#pragma once

#include <memory>

#include "toolkit/Controls.h"
#include "toolkit/Graphics.h"
#include "toolkit/Timer.h"
#include "toolkit/TrayIcon.h"
#include "ui/LinksForm.h"
#include "ui/TrayPopupMenu.h"

namespace corvello {

// The system menu's command that opens the About dialog.
inline constexpr UINT AboutCommandId = 2394;

class TrayForm : public LinksForm {
public:
    // The tray menu's commands, as the entries' tags say them.
    static constexpr int CloseTag = 1;
    static constexpr int AboutTag = 2;
    static constexpr int SettingsTag = 100;

    TrayForm(AppBase& application, tk::FormLayout layout, std::wstring componentName);
    ~TrayForm() override;

    // The program's icon at the standard size, as its questions show it.
    static HICON ApplicationIcon();

    TrayPopupMenu& TrayIconMenu() noexcept { return trayMenu_; }
    tk::TrayIcon& TrayIcon() noexcept { return *trayIcon_; }
    tk::Timer& MinutesTimer() noexcept { return minutes_; }
    bool Closing() const noexcept { return closing_; }
    bool CloseConfirmed() const noexcept { return closeConfirmed_; }
    int UserActionsCount() const noexcept { return userActions_; }

    void ControlsUpdate() override;
    void OnCloseQueryEvent(tk::Form& sender, bool& canClose) override;

    virtual void OnTimerRunOnce(tk::Timer& sender);
    // Trims the working set; a derived window does its own minute's work first.
    virtual void OnTimerMinutes(tk::Timer& sender);
    virtual void OnTrayIconDblClick(tk::TrayIcon& sender);
    virtual void OnTrayIconClick(tk::TrayIcon& sender);
    virtual void OnTrayIconMenuClick(tk::MenuItem& sender);
    virtual void OnTrayIconMenuClose(TrayPopupMenu& sender);
    virtual void OnTrayIconMenuPopup(tk::PopupMenu& sender);
    // Entries are disabled while a dialog of a user action is open; they come
    // back when the last one ends.
    virtual void UserActionBegin(bool closeToo);
    virtual void UserActionEnd();

protected:
    void AfterCreate() override;
    void DoDpiChanged() override;
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The application's icon drawn at the size the notification area asks for.
    void LoadTrayIcon();

    tk::MenuItem* settingsEntry_ = nullptr;
    tk::MenuItem* aboutEntry_ = nullptr;
    tk::MenuItem* separatorEntry_ = nullptr;
    tk::MenuItem* closeEntry_ = nullptr;

private:
    void AskClose();

    bool closing_ = false;
    bool closeConfirmed_ = false;
    int userActions_ = 0;

    tk::Timer runOnce_{1000};
    tk::Timer minutes_{60000, false};
    std::unique_ptr<tk::TrayIcon> trayIcon_;
    TrayPopupMenu trayMenu_;
    std::unique_ptr<tk::Panel> tickover_;
    tk::Icon trayPicture_;
};

}  // namespace corvello
