// The notice as the user meets it: on the monitor of the foreground window,
// or on every monitor, each copy placed and scaled for its own monitor, in
// the colours Windows gives apps, and left out on a monitor where a
// full-screen program has the foreground unless asked otherwise.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ui/NoticeWindow.h"

namespace corvello {

class ScreenNotice {
public:
    struct Options {
        NoticeLook Look;  // its Dark is read from Windows' setting
        bool AllMonitors = false;
        bool OverFullScreen = false;
    };

    ScreenNotice();
    ~ScreenNotice();
    ScreenNotice(const ScreenNotice&) = delete;
    ScreenNotice& operator=(const ScreenNotice&) = delete;

    // False when no monitor took it (all of them full-screen).
    bool Show(const std::wstring& text, const wchar_t* iconName, const Options& options);
    void Hide();

    // HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize,
    // AppsUseLightTheme 0.
    static bool AppsUseDarkTheme();

private:
    std::vector<std::unique_ptr<NoticeWindow>> windows_;
};

}  // namespace corvello
