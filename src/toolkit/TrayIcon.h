// The icon in the notification area: hint, balloon, icon, popup menu, click
// and double click. It comes back by itself after Explorer restarts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/Menus.h"
#include "toolkit/Window.h"

namespace tk {

class TrayIcon : public Window {
public:
    // The icon's hidden window is of this class: programs with several icons
    // give each kind its own, so tools and tests can tell them apart.
    explicit TrayIcon(const wchar_t* windowClass = L"tk.TrayIcon");
    ~TrayIcon() override;

    bool Visible() const noexcept { return visible_; }
    // False when the shell refused the icon (no task bar yet, for one); it is
    // then tried again every few seconds and at the next new task bar, until
    // it is there or hidden again.
    bool SetVisible(bool visible);
    // The size in pixels the notification area shows its icons at, at the
    // current scaling (16, 20, 24 or 32 on a standard task bar).
    static int IconSize() noexcept;
    const std::wstring& Hint() const noexcept { return hint_; }
    void SetHint(const std::wstring& hint);
    // Borrowed: the caller keeps the icon alive.
    void SetIcon(HICON icon);
    HICON Icon() const noexcept { return icon_; }

    enum class BalloonKind { None, Info, Warning, Error };
    bool ShowBalloon(const std::wstring& title, const std::wstring& text, BalloonKind kind = BalloonKind::Info);

    // Shown on a right click (or the menu key) while its AutoPopup is on.
    PopupMenu* Menu = nullptr;
    std::function<void(TrayIcon& sender)> OnClick;
    std::function<void(TrayIcon& sender)> OnDblClick;

    // The message the shell sends about the icon, and the icon's id.
    static constexpr UINT CallbackMessage = WM_APP + 0x3A0;
    static constexpr UINT IconId = 1;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Notify(DWORD command, UINT flags);
    bool Add();

    static constexpr UINT_PTR RetryTimerId = 1;
    static constexpr UINT RetryInterval = 1000;
    bool visible_ = false;
    bool wanted_ = false;
    int retries_ = 0;
    std::wstring hint_;
    HICON icon_ = nullptr;
    UINT taskbarCreated_ = 0;
};

}  // namespace tk
