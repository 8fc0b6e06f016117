// Helpers shared by the tests that run under Windows (or Wine).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <iterator>
#include <string>

#include "core/FileVersion.h"
#include "core/Identity.h"
#include "toolkit/Handles.h"

namespace testsupport {

// Directory of the running test program, with a trailing backslash; the
// program, the tests and their helpers are built side by side.
inline std::wstring BinDir()
{
    return corvello::SplitPath(corvello::GetModulePath()).Directory;
}

// The window's class name.
inline std::wstring ClassOf(HWND window)
{
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

// Pumps this thread's messages until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& condition, std::uint32_t timeoutMs)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (condition())
            return true;
        if (::GetTickCount() - start >= timeoutMs)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A top-level window with a class and title of the test's choosing, whose
// messages go to a handler; the handler returns true when it handled one.
class TestWindow {
public:
    using Handler = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;

    TestWindow(const wchar_t* className, const wchar_t* title, Handler handler = {}) : handler_(std::move(handler))
    {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TestWindow::Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = className;
        ::RegisterClassExW(&wc);
        window_.Reset(::CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                                        wc.hInstance, this));
    }
    HWND Handle() const { return window_.Get(); }
    // For a window that destroyed itself.
    void Forget() { window_.Release(); }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<TestWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && self->handler_ && self->handler_(message, wParam, lParam))
            return 0;
        if (message == WM_NCDESTROY && self) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_.Release();
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    Handler handler_;
    tk::UniqueWindow window_;
};

}  // namespace testsupport
