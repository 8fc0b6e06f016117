#include "toolkit/Window.h"

#include "toolkit/Application.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"
#include "toolkit/Log.h"

namespace tk {
namespace {

constexpr const wchar_t* ObjectProperty = L"tk.Window";

}  // namespace

Window::~Window()
{
    DestroyHandle();
}

Window* Window::FromHandle(HWND window) noexcept
{
    return window ? static_cast<Window*>(::GetPropW(window, ObjectProperty)) : nullptr;
}

std::wstring Window::Text() const
{
    if (!handle_)
        return {};
    const int length = ::GetWindowTextLengthW(handle_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(handle_, text.data(), length + 1)));
    return text;
}

void Window::SetText(const std::wstring& text)
{
    if (handle_)
        ::SetWindowTextW(handle_, text.c_str());
}

void Window::Attach(HWND window) noexcept
{
    handle_ = window;
    ::SetPropW(window, ObjectProperty, this);
}

bool Window::CreateOwnClass(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& bounds, HWND parent,
                            UINT_PTR id, HICON icon, HCURSOR cursor)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    // The first window of a class registers it; later ones find it there.
    WNDCLASSEXW known{};
    known.cbSize = sizeof known;
    if (!::GetClassInfoExW(instance, className, &known)) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Window::OwnProc;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = className;
        if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return false;
    }
    const HWND window = ::CreateWindowExW(exStyle, className, L"", style, bounds.left, bounds.top,
                                          bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                          reinterpret_cast<HMENU>(id), instance, this);
    return window != nullptr;
}

bool Window::CreateSystemControl(const wchar_t* className, const wchar_t* text, DWORD exStyle, DWORD style,
                                 const RECT& bounds, HWND parent, UINT_PTR id)
{
    const HWND window = ::CreateWindowExW(exStyle, className, text, style, bounds.left, bounds.top,
                                          bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                                          reinterpret_cast<HMENU>(id), ::GetModuleHandleW(nullptr), nullptr);
    if (!window)
        return false;
    Attach(window);
    systemProc_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::SubclassProc)));
    return true;
}

void Window::DestroyHandle() noexcept
{
    if (handle_)
        ::DestroyWindow(handle_);  // WM_NCDESTROY clears handle_
}

LRESULT Window::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Default(message, wParam, lParam);
}

LRESULT Window::Default(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (systemProc_)
        return ::CallWindowProcW(systemProc_, handle_, message, wParam, lParam);
    return ::DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT Window::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    LRESULT result = 0;
    const HWND window = handle_;
    const WNDPROC systemProc = systemProc_;
    try {
        // A message of the program's own that a loop of Windows' own (a menu,
        // a move) dispatched here is the program's, not this window's.
        if (Application::Current().HooksMissed(window, message, wParam, lParam))
            return 0;
        result = WndProc(message, wParam, lParam);
    } catch (...) {
        // Nothing escapes into Windows; the message gets its default answer.
        LogCurrentException(tk::Concat({L"window message ", tk::Decimal(message)}));
        result = systemProc ? ::CallWindowProcW(systemProc, window, message, wParam, lParam)
                            : ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::RemovePropW(window, ObjectProperty);
        if (systemProc)
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc));
        handle_ = nullptr;
        systemProc_ = nullptr;
        HandleDestroyed();
    }
    return result;
}

LRESULT CALLBACK Window::OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self)
            self->Attach(window);
    }
    if (Window* self = FromHandle(window))
        return self->Dispatch(message, wParam, lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Window::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (Window* self = FromHandle(window))
        return self->Dispatch(message, wParam, lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

namespace {

FlashWindowFn CurrentFlash = &::FlashWindowEx;

}  // namespace

void SetFlashWindowFn(FlashWindowFn fn)
{
    CurrentFlash = fn ? fn : &::FlashWindowEx;
}

bool WindowFlash(HWND window, UINT count, DWORD interval)
{
    FLASHWINFO info{};
    info.cbSize = sizeof info;
    info.hwnd = window;
    info.dwFlags = FLASHW_ALL;
    info.uCount = count;
    info.dwTimeout = interval;
    return CurrentFlash(&info) != FALSE;
}

}  // namespace tk
