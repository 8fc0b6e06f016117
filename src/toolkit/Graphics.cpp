#include "toolkit/Graphics.h"

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

Icon Icon::FromSystem(const wchar_t* id) noexcept
{
    return Icon(::LoadIconW(nullptr, id), true);
}

}  // namespace tk
