// A small top-most window that shows a picture and a line of text for a
// moment, then fades out. It never takes the focus or the foreground, clicks
// go through it to whatever lies below, and its window text is its text, so
// that screen readers (and tests) read it. No timer runs while it is hidden.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/Graphics.h"
#include "toolkit/Window.h"
#include "ui/Placement.h"

namespace corvello {

struct NoticeLook {
    // The colours Windows gives apps in its dark mode.
    bool Dark = false;
    std::uint32_t OpacityPercent = 85;
    // One of the nine places (NoticePlacement.h).
    std::uint32_t Position = 7;
    // Shown this long, the fade at its end included.
    std::uint32_t Ms = 1500;
};

class NoticeWindow : public tk::Window {
public:
    static constexpr const wchar_t* ClassName = L"CorvelloNotice";

    NoticeWindow();

    // Shows the text with the icon (a resource of the program) on a work area
    // of a monitor at this dpi. While it shows, the text, icon and place are
    // replaced and its time starts again.
    void Show(const std::wstring& text, const wchar_t* iconName, const Area& workArea, UINT dpi,
              const NoticeLook& look);
    void Hide();
    bool Showing() const noexcept { return showing_; }

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SIZE Measure(const std::wstring& text);
    void Paint(HDC dc) const;
    void SetAlpha(BYTE alpha);

    tk::Icon icon_;
    tk::Font font_;
    UINT dpi_ = 96;
    bool dark_ = false;
    bool showing_ = false;
    BYTE alpha_ = 255;
    UINT fadeSteps_ = 1;
    UINT fadeStep_ = 0;
};

}  // namespace corvello
