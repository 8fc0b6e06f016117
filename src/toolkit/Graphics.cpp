#include "toolkit/Graphics.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tk {

UINT DpiFor(HWND window) noexcept
{
    // GetDpiForWindow and GetDpiForSystem exist from Windows 10 on.
    using ForWindow = UINT(WINAPI*)(HWND);
    using ForSystem = UINT(WINAPI*)();
    static const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    static const auto forWindow =
        reinterpret_cast<ForWindow>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")));
    static const auto forSystem =
        reinterpret_cast<ForSystem>(reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForSystem")));
    UINT dpi = 0;
    if (window && forWindow)
        dpi = forWindow(window);
    if (dpi == 0 && forSystem)
        dpi = forSystem();
    if (dpi == 0) {
        const HDC screen = ::GetDC(nullptr);
        dpi = static_cast<UINT>(::GetDeviceCaps(screen, LOGPIXELSY));
        ::ReleaseDC(nullptr, screen);
    }
    return dpi ? dpi : 96;
}

UINT DpiForMonitor(HMONITOR monitor) noexcept
{
    // From shcore.dll (Windows 8.1 on), loaded only for this.
    using ForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const SystemLibrary shcore(L"shcore.dll");
    static const auto forMonitor = shcore.Proc<ForMonitor>("GetDpiForMonitor");
    UINT x = 0;
    UINT y = 0;
    constexpr int EffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
    if (monitor && forMonitor && SUCCEEDED(forMonitor(monitor, EffectiveDpi, &x, &y)) && y != 0)
        return y;
    return DpiFor(nullptr);
}

Font CreateFontFor(const FontSpec& spec, UINT dpi)
{
    return Font(::CreateFontW(Scale(spec.Height, dpi), 0, 0, 0, spec.Bold ? FW_BOLD : FW_NORMAL, spec.Italic,
                              spec.Underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.Name.c_str()));
}

Icon Icon::FromResource(const wchar_t* name, int width, int height, bool shared) noexcept
{
    const HMODULE module = ::GetModuleHandleW(nullptr);
    if (const auto icon =
            static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, width, height, shared ? LR_SHARED : 0)))
        return Icon(icon, shared);
    // The frame chosen may be one this Windows cannot read (XP reads no PNG
    // frames): scale the large or the small one, which every Windows reads.
    for (const int size : {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CXSMICON)}) {
        const Icon stored(static_cast<HICON>(::LoadImageW(module, name, IMAGE_ICON, size, size, 0)), false);
        if (!stored)
            continue;
        if (const auto scaled = static_cast<HICON>(::CopyImage(stored.Get(), IMAGE_ICON, width, height, 0)))
            return Icon(scaled, false);
    }
    return Icon(nullptr, shared);
}

namespace {

// Rows top down, 32 bits a pixel: blue, green, red, alpha.
BITMAPINFO TopDownInfo(int size)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The icon's own pixels with their straight alpha: read from its bitmaps,
// not drawn, since drawing an icon blends it into what lies below. An icon
// without alpha takes it from its mask.
bool IconPixels(HDC screen, HICON icon, int size, std::vector<RGBQUAD>& pixels)
{
    ICONINFO parts{};
    if (!::GetIconInfo(icon, &parts))
        return false;
    const Bitmap color(parts.hbmColor);
    const Bitmap mask(parts.hbmMask);
    pixels.assign(static_cast<std::size_t>(size) * size, RGBQUAD{});
    BITMAPINFO info = TopDownInfo(size);
    if (!color || ::GetDIBits(screen, color.Get(), 0, size, pixels.data(), &info, DIB_RGB_COLORS) != size)
        return false;
    if (std::any_of(pixels.begin(), pixels.end(), [](const RGBQUAD& p) { return p.rgbReserved != 0; }))
        return true;
    std::vector<RGBQUAD> transparent(pixels.size());
    info = TopDownInfo(size);
    if (!mask || ::GetDIBits(screen, mask.Get(), 0, size, transparent.data(), &info, DIB_RGB_COLORS) != size)
        return false;
    for (std::size_t i = 0; i < pixels.size(); ++i)
        pixels[i].rgbReserved = transparent[i].rgbRed != 0 ? 0 : 255;
    return true;
}

// An icon of size pixels (square) in straight alpha, rows top down. The mask
// is set where nothing is left: Windows that draw no alpha leave those
// pixels alone.
HICON IconOfPixels(const std::vector<RGBQUAD>& pixels, int size)
{
    const HDC screen = ::GetDC(nullptr);
    BITMAPINFO info = TopDownInfo(size);
    void* bits = nullptr;
    const Bitmap colorBitmap(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ::ReleaseDC(nullptr, screen);
    if (!colorBitmap)
        return nullptr;
    std::copy(pixels.begin(), pixels.end(), static_cast<RGBQUAD*>(bits));
    const int stride = (size + 15) / 16 * 2;  // a mask row is whole 16-bit words
    std::vector<BYTE> maskBits(static_cast<std::size_t>(stride) * size, 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (pixels[static_cast<std::size_t>(y) * size + x].rgbReserved == 0)
                maskBits[static_cast<std::size_t>(y) * stride + x / 8] |= static_cast<BYTE>(0x80 >> (x % 8));
    const Bitmap maskBitmap(::CreateBitmap(size, size, 1, 1, maskBits.data()));
    if (!maskBitmap)
        return nullptr;
    ICONINFO parts{TRUE, 0, 0, maskBitmap.Get(), colorBitmap.Get()};
    return ::CreateIconIndirect(&parts);
}

// The mark painted in white on black: how much of it covers each pixel.
bool MarkCoverage(HDC screen, int size, Icon::MarkPainter paint, int which, std::vector<BYTE>& coverage)
{
    BITMAPINFO info = TopDownInfo(size);
    void* bits = nullptr;
    const Bitmap mark(::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    const MemoryDc dc(::CreateCompatibleDC(screen));
    if (!mark || !dc)
        return false;
    const HGDIOBJ old = ::SelectObject(dc.Get(), mark.Get());
    paint(dc.Get(), size, which);
    ::GdiFlush();
    ::SelectObject(dc.Get(), old);
    const auto* drawn = static_cast<const RGBQUAD*>(bits);
    coverage.resize(static_cast<std::size_t>(size) * size);
    for (std::size_t i = 0; i < coverage.size(); ++i)
        coverage[i] = std::max({drawn[i].rgbRed, drawn[i].rgbGreen, drawn[i].rgbBlue});
    return true;
}

}  // namespace

Icon Icon::Marked(HICON base, int size, COLORREF color, MarkPainter paint, int mark)
{
    if (size <= 0 || !base)
        return {};
    const HDC screen = ::GetDC(nullptr);
    std::vector<RGBQUAD> pixels;
    std::vector<BYTE> coverage;
    const bool read = IconPixels(screen, base, size, pixels) && MarkCoverage(screen, size, paint, mark, coverage);
    ::ReleaseDC(nullptr, screen);
    if (!read)
        return {};
    // The colour over the base by the mark's coverage, in straight alpha.
    const int over[3] = {GetBValue(color), GetGValue(color), GetRValue(color)};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        RGBQUAD& p = pixels[i];
        const int c = coverage[i];
        const int below = p.rgbReserved * (255 - c) / 255;
        const int alpha = c + below;
        if (alpha > 0) {
            BYTE* channels[3] = {&p.rgbBlue, &p.rgbGreen, &p.rgbRed};
            for (int k = 0; k < 3; ++k)
                *channels[k] = static_cast<BYTE>((over[k] * c + *channels[k] * below) / alpha);
        }
        p.rgbReserved = static_cast<BYTE>(alpha);
    }
    return Icon(IconOfPixels(pixels, size), false);
}

Icon Icon::ScaledDown(const wchar_t* name, int from, int to)
{
    if (to >= from)
        return FromResource(name, to, to);
    const Icon source(
        static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), name, IMAGE_ICON, from, from, 0)), false);
    const HDC screen = ::GetDC(nullptr);
    std::vector<RGBQUAD> pixels;
    const bool read = to > 0 && source && IconPixels(screen, source.Get(), from, pixels);
    ::ReleaseDC(nullptr, screen);
    if (!read)
        return FromResource(name, to, to);
    // Each pixel of the result is the part of the source it covers, averaged
    // by area and alpha. Positions are in 1/to of a source pixel, so every
    // overlap is whole: a result pixel spans from of them across.
    std::vector<RGBQUAD> scaled(static_cast<std::size_t>(to) * to);
    const auto overlap = [&](int source, int target) {
        return std::min((source + 1) * to, (target + 1) * from) - std::max(source * to, target * from);
    };
    for (int ty = 0; ty < to; ++ty) {
        for (int tx = 0; tx < to; ++tx) {
            std::uint64_t sum[4] = {};
            for (int sy = ty * from / to; sy * to < (ty + 1) * from; ++sy) {
                for (int sx = tx * from / to; sx * to < (tx + 1) * from; ++sx) {
                    const RGBQUAD& p = pixels[static_cast<std::size_t>(sy) * from + sx];
                    const std::uint64_t weight =
                        static_cast<std::uint64_t>(overlap(sx, tx)) * overlap(sy, ty) * p.rgbReserved;
                    sum[0] += weight * p.rgbBlue;
                    sum[1] += weight * p.rgbGreen;
                    sum[2] += weight * p.rgbRed;
                    sum[3] += weight;
                }
            }
            if (sum[3] == 0)
                continue;
            const std::uint64_t area = static_cast<std::uint64_t>(from) * from;
            scaled[static_cast<std::size_t>(ty) * to + tx] = RGBQUAD{
                static_cast<BYTE>((sum[0] + sum[3] / 2) / sum[3]), static_cast<BYTE>((sum[1] + sum[3] / 2) / sum[3]),
                static_cast<BYTE>((sum[2] + sum[3] / 2) / sum[3]), static_cast<BYTE>((sum[3] + area / 2) / area)};
        }
    }
    return Icon(IconOfPixels(scaled, to), false);
}

Icon Icon::FromSystem(const wchar_t* id) noexcept
{
    return Icon(::LoadIconW(nullptr, id), true);
}

}  // namespace tk
