// Where the tests keep their pictures, and the COM pointer the PNG encoder is
// driven with (the pictures themselves: ScreenPixels.h).
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

}  // namespace testsupport
