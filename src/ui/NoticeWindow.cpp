#include "ui/NoticeWindow.h"

#include <algorithm>

#include "toolkit/Log.h"
#include "ui/NoticePlacement.h"

namespace corvello {
namespace {

// The look at 96 dpi.
constexpr int PadX = 14;
constexpr int PadY = 10;
constexpr int IconSize = 20;
constexpr int Gap = 8;
constexpr int TextHeight = -15;

// The fade at the end of the notice's time, in steps of this length.
constexpr UINT LongestFadeMs = 240;
constexpr UINT FadeStepMs = 30;

constexpr UINT_PTR HoldTimer = 1;
constexpr UINT_PTR FadeTimer = 2;

struct Colors {
    COLORREF Back;
    COLORREF Text;
    COLORREF Border;
};
constexpr Colors Light{RGB(249, 249, 249), RGB(26, 26, 26), RGB(200, 200, 200)};
constexpr Colors Dark{RGB(43, 43, 43), RGB(255, 255, 255), RGB(90, 90, 90)};

}  // namespace

NoticeWindow::NoticeWindow()
{
    // Layered, so its opacity can be set; transparent to the mouse; never
    // activated; no task-bar button.
    CreateOwnClass(ClassName, WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW,
                   WS_POPUP, RECT{0, 0, 0, 0}, nullptr, 0);
}

SIZE NoticeWindow::Measure(const std::wstring& text)
{
    SIZE size{0, 0};
    const HDC dc = ::GetDC(Handle());
    const HGDIOBJ old = ::SelectObject(dc, font_.Get());
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(Handle(), dc);
    return size;
}

void NoticeWindow::Show(const std::wstring& text, const wchar_t* iconName, const Area& workArea, UINT dpi,
                        const NoticeLook& look)
{
    if (!Handle())
        return;
    if (dpi != dpi_ || !font_) {
        dpi_ = dpi;
        tk::FontSpec spec;
        spec.Name = L"Segoe UI";
        spec.Height = TextHeight;
        font_ = tk::CreateFontFor(spec, dpi_);
    }
    const int iconSize = tk::Scale(IconSize, dpi_);
    icon_ = tk::Icon::FromResource(iconName, iconSize, iconSize);
    dark_ = look.Dark;
    SetText(text);
    const SIZE textSize = Measure(text);
    const int width = tk::Scale(PadX * 2 + IconSize + Gap, dpi_) + textSize.cx;
    const int height = std::max<int>(iconSize, textSize.cy) + tk::Scale(PadY * 2, dpi_);
    const Point at = NoticePlace(workArea, width, height, look.Position, dpi_);

    // The whole time at full opacity but for the fade at its end.
    const UINT fadeMs = std::min<UINT>(LongestFadeMs, look.Ms / 3);
    fadeSteps_ = std::max<UINT>(1, fadeMs / FadeStepMs);
    fadeStep_ = 0;
    ::KillTimer(Handle(), FadeTimer);
    const UINT fadeTotal = fadeSteps_ * FadeStepMs;
    if (!::SetTimer(Handle(), HoldTimer, look.Ms > fadeTotal ? look.Ms - fadeTotal : 1, nullptr))
        tk::LogLastError(L"timing the notice");
    SetAlpha(static_cast<BYTE>(std::min<std::uint32_t>(look.OpacityPercent, 100) * 255 / 100));
    ::SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, width, height, SWP_NOACTIVATE);
    ::InvalidateRect(Handle(), nullptr, FALSE);
    if (!showing_)
        ::ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(Handle());
    showing_ = true;
}

void NoticeWindow::Hide()
{
    if (!Handle() || !showing_)
        return;
    ::KillTimer(Handle(), HoldTimer);
    ::KillTimer(Handle(), FadeTimer);
    ::ShowWindow(Handle(), SW_HIDE);
    showing_ = false;
}

void NoticeWindow::SetAlpha(BYTE alpha)
{
    alpha_ = alpha;
    ::SetLayeredWindowAttributes(Handle(), 0, alpha, LWA_ALPHA);
}

void NoticeWindow::Paint(HDC dc) const
{
    const Colors& colors = dark_ ? Dark : Light;
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const tk::UniqueBrush back(::CreateSolidBrush(colors.Back));
    const tk::UniqueBrush border(::CreateSolidBrush(colors.Border));
    ::FillRect(dc, &client, back.Get());
    ::FrameRect(dc, &client, border.Get());
    const int iconSize = tk::Scale(IconSize, dpi_);
    const int left = tk::Scale(PadX, dpi_);
    if (icon_)
        ::DrawIconEx(dc, left, (client.bottom - iconSize) / 2, icon_.Get(), iconSize, iconSize, 0, nullptr, DI_NORMAL);
    RECT text = client;
    text.left = left + iconSize + tk::Scale(Gap, dpi_);
    const std::wstring caption = Text();
    const HGDIOBJ old = ::SelectObject(dc, font_.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, colors.Text);
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    ::SelectObject(dc, old);
}

LRESULT NoticeWindow::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        const HDC dc = ::BeginPaint(Handle(), &paint);
        Paint(dc);
        ::EndPaint(Handle(), &paint);
        return 0;
    }
    case WM_TIMER:
        if (wParam == HoldTimer) {
            ::KillTimer(Handle(), HoldTimer);
            if (!::SetTimer(Handle(), FadeTimer, FadeStepMs, nullptr))
                Hide();
        } else if (wParam == FadeTimer) {
            if (++fadeStep_ >= fadeSteps_)
                Hide();
            else
                SetAlpha(static_cast<BYTE>(alpha_ * (fadeSteps_ - fadeStep_) / (fadeSteps_ - fadeStep_ + 1)));
        }
        return 0;
    case WM_CLOSE:
        // It goes with its owner, not with a close from outside.
        return 0;
    default:
        break;
    }
    return Window::WndProc(message, wParam, lParam);
}

}  // namespace corvello
