// Fonts, icons and the screen's scale: owned GDI objects and the arithmetic
// that turns 96-dpi layout units into pixels.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Handles.h"

namespace tk {

// The dots per inch a window is shown at (the system's when it has no
// window yet); 96 when Windows cannot tell.
UINT DpiFor(HWND window) noexcept;

// The dots per inch of a monitor (Windows 8.1 on); elsewhere the system's.
UINT DpiForMonitor(HMONITOR monitor) noexcept;

// A layout value at 96 dpi, in pixels at dpi.
inline int Scale(int value, UINT dpi) noexcept
{
    return ::MulDiv(value, static_cast<int>(dpi), 96);
}

struct FontSpec {
    std::wstring Name = L"Tahoma";
    int Height = -11;  // at 96 dpi; negative: character height, as Windows takes it
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
};

Font CreateFontFor(const FontSpec& spec, UINT dpi);

// An icon of our own (destroyed with its owner) or a shared one (left alone).
class Icon {
public:
    Icon() noexcept = default;
    // From the program's resources; shared icons come from the system cache.
    // When the frame for the size cannot be read, a readable one is scaled to
    // it (and is the caller's own, shared or not).
    static Icon FromResource(const wchar_t* name, int width, int height, bool shared = false) noexcept;
    static Icon FromSystem(const wchar_t* id) noexcept;  // IDI_... standard icons, shared
    // The base icon at size pixels (square) with a mark over it in one
    // colour: paint draws the mark in white on black into dc, and the grey
    // it leaves (anti-aliased edges included) is how much of the colour
    // covers the base. Transparent where both are. Null when it fails.
    using MarkPainter = void (*)(HDC dc, int size, int mark);
    static Icon Marked(HICON base, int size, COLORREF color, MarkPainter paint, int mark);
    // The resource's frame of from pixels scaled down smoothly to to pixels
    // (Windows would stretch the nearest frame, even a smaller one).
    static Icon ScaledDown(const wchar_t* name, int from, int to);

    Icon(Icon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)), shared_(other.shared_) {}
    Icon& operator=(Icon&& other) noexcept
    {
        if (this != &other) {
            Reset();
            icon_ = std::exchange(other.icon_, nullptr);
            shared_ = other.shared_;
        }
        return *this;
    }
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;
    ~Icon() { Reset(); }

    HICON Get() const noexcept { return icon_; }
    explicit operator bool() const noexcept { return icon_ != nullptr; }

private:
    Icon(HICON icon, bool shared) noexcept : icon_(icon), shared_(shared) {}
    void Reset() noexcept
    {
        if (icon_ && !shared_)
            ::DestroyIcon(icon_);
        icon_ = nullptr;
    }

    HICON icon_ = nullptr;
    bool shared_ = false;
};

}  // namespace tk
