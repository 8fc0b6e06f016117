// What the screen shows in a rectangle, as pixels a test can compare with
// pixels it drew itself, or keep as a PNG file for a person to look at.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "support/Screenshot.h"

namespace testsupport {

// Rows top down, each pixel 0x00RRGGBB.
struct Pixels {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint32_t> Data;

    std::uint32_t At(int x, int y) const { return Data[static_cast<std::size_t>(y) * Width + x]; }
    // How many pixels pass the test of their red, green and blue.
    int Count(const std::function<bool(int r, int g, int b)>& test) const
    {
        return static_cast<int>(std::count_if(Data.begin(), Data.end(), [&](std::uint32_t p) {
            return test(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                        static_cast<int>(p & 0xFF));
        }));
    }
};

// The pixels a device context holds in a rectangle.
inline Pixels CopyPixels(HDC source, const RECT& r)
{
    Pixels pixels;
    pixels.Width = r.right - r.left;
    pixels.Height = r.bottom - r.top;
    if (pixels.Width <= 0 || pixels.Height <= 0)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.Width;
    info.bmiHeader.biHeight = -pixels.Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HDC memory = ::CreateCompatibleDC(source);
    const HBITMAP bitmap = ::CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, pixels.Width, pixels.Height, source, r.left, r.top, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    pixels.Data.assign(first, first + static_cast<std::size_t>(pixels.Width) * pixels.Height);
    for (std::uint32_t& p : pixels.Data)
        p &= 0x00FFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    return pixels;
}

// What the screen shows there now. The windows in the rectangle are painted
// first, also those of another process: paint messages are sent and
// answered before the pixels are read.
inline Pixels CaptureScreen(const RECT& r, const std::vector<HWND>& windows = {})
{
    for (HWND window : windows) {
        ::RedrawWindow(window, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    }
    const HDC screen = ::GetDC(nullptr);
    Pixels pixels = CopyPixels(screen, r);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

inline RECT WindowRect(HWND window)
{
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

// The smallest rectangle around all the windows.
inline RECT BoundsOf(const std::vector<HWND>& windows)
{
    RECT all{};
    for (HWND window : windows) {
        const RECT r = WindowRect(window);
        ::UnionRect(&all, &all, &r);
    }
    return all;
}

// An icon drawn as a static control draws it, stretched to the size, on a
// background of one colour.
inline Pixels DrawIcon(HICON icon, int width, int height, COLORREF background)
{
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    const HBRUSH brush = ::CreateSolidBrush(background);
    const RECT all{0, 0, width, height};
    ::FillRect(memory, &all, brush);
    ::DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    Pixels pixels = CopyPixels(memory, all);
    ::DeleteObject(brush);
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

// The mean difference of the colour channels, 0 to 255; the largest value
// when the sizes differ.
inline double MeanDifference(const Pixels& a, const Pixels& b)
{
    if (a.Width != b.Width || a.Height != b.Height || a.Data.empty())
        return std::numeric_limits<double>::max();
    double sum = 0;
    for (std::size_t i = 0; i < a.Data.size(); ++i)
        for (int shift : {0, 8, 16})
            sum += std::abs(static_cast<int>((a.Data[i] >> shift) & 0xFF) - static_cast<int>((b.Data[i] >> shift) & 0xFF));
    return sum / (3.0 * static_cast<double>(a.Data.size()));
}

// How far what an icon control shows lies from the icon drawn here at the
// control's size on the dialog colour: 0 for the same pixels. The control's
// window is painted first.
inline double IconControlDifference(HWND control, HICON icon)
{
    const RECT at = WindowRect(control);
    return MeanDifference(CaptureScreen(at, {::GetAncestor(control, GA_ROOT)}),
                          DrawIcon(icon, at.right - at.left, at.bottom - at.top, ::GetSysColor(COLOR_BTNFACE)));
}

// Kept beside the other screenshots (ScreenshotDir).
inline bool SavePng(const Pixels& pixels, const std::wstring& fileName)
{
    if (pixels.Data.empty())
        return false;
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    {
        Com<IWICImagingFactory> factory;
        Com<IWICStream> stream;
        Com<IWICBitmapEncoder> encoder;
        Com<IWICBitmapFrameEncode> frame;
        const std::wstring path = ScreenshotDir() + fileName;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
        std::vector<std::uint32_t> rows = pixels.Data;
        const auto stride = static_cast<UINT>(pixels.Width * 4);
        saved = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()))) &&
                SUCCEEDED(factory->CreateStream(stream.Put())) &&
                SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
                SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put())) &&
                SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
                SUCCEEDED(encoder->CreateNewFrame(frame.Put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
                SUCCEEDED(frame->SetSize(static_cast<UINT>(pixels.Width), static_cast<UINT>(pixels.Height))) &&
                SUCCEEDED(frame->SetPixelFormat(&format)) &&
                SUCCEEDED(frame->WritePixels(static_cast<UINT>(pixels.Height), stride,
                                             static_cast<UINT>(rows.size() * 4),
                                             reinterpret_cast<BYTE*>(rows.data()))) &&
                SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    ::CoUninitialize();
    return saved;
}

// What a window shows on the screen, once painted, kept as a PNG file for a
// person to look at after the run.
inline bool SaveWindowPng(HWND window, const std::wstring& fileName)
{
    return SavePng(CaptureScreen(WindowRect(window), {window}), fileName);
}

}  // namespace testsupport
