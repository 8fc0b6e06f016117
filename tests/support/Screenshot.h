// Saves what a window shows on the screen as a PNG file, for a person to look
// at after the run.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "support/WinTestSupport.h"

namespace testsupport {

// Where the pictures go: screenshots/ beside the test programs' folder.
inline std::wstring ScreenshotDir()
{
    std::wstring dir = BinDir() + L"..\\screenshots\\";
    ::CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

template <typename T>
class Com {
public:
    ~Com()
    {
        if (ptr_)
            ptr_->Release();
    }
    T** Put() { return &ptr_; }
    T* operator->() const { return ptr_; }
    T* Get() const { return ptr_; }

private:
    T* ptr_ = nullptr;
};

inline bool SaveWindowPng(HWND window, const std::wstring& fileName)
{
    // Everything drawn now, also by another process: the paint messages are
    // sent and answered before the pixels are read.
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    RECT r{};
    if (!::GetWindowRect(window, &r))
        return false;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return false;

    // The screen's pixels where the window is: what a person sees there.
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory, old);
    std::vector<BYTE> pixels(static_cast<const BYTE*>(bits), static_cast<const BYTE*>(bits) + width * height * 4);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);

    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    bool saved = false;
    {
        Com<IWICImagingFactory> factory;
        Com<IWICStream> stream;
        Com<IWICBitmapEncoder> encoder;
        Com<IWICBitmapFrameEncode> frame;
        const std::wstring path = ScreenshotDir() + fileName;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
        saved = SUCCEEDED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()))) &&
                SUCCEEDED(factory->CreateStream(stream.Put())) &&
                SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
                SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.Put())) &&
                SUCCEEDED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) &&
                SUCCEEDED(encoder->CreateNewFrame(frame.Put(), nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
                SUCCEEDED(frame->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
                SUCCEEDED(frame->SetPixelFormat(&format)) &&
                SUCCEEDED(frame->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width * 4),
                                             static_cast<UINT>(pixels.size()), pixels.data())) &&
                SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
    }
    ::CoUninitialize();
    return saved;
}

}  // namespace testsupport
