// The base of every window of the layer: owns its HWND, and one window
// procedure thunk routes messages to the object. The object is found through
// a window property set at WM_NCCREATE (or when a system control is
// subclassed) and cleared at WM_NCDESTROY.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Handles.h"

namespace tk {

class Control;
class Form;

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const noexcept { return handle_; }
    bool HandleAllocated() const noexcept { return handle_ != nullptr; }

    // The object behind a window of this layer, or null.
    static Window* FromHandle(HWND window) noexcept;

    // What the object is, asked without run-time type information (the
    // program is built without it): null where it is not one.
    virtual Control* AsControl() noexcept { return nullptr; }
    virtual Form* AsForm() noexcept { return nullptr; }

    std::wstring Text() const;
    void SetText(const std::wstring& text);

protected:
    // Creates a window of a class of our own (registered on first use) with
    // this object behind it.
    bool CreateOwnClass(const wchar_t* className, DWORD exStyle, DWORD style, const RECT& bounds, HWND parent,
                        UINT_PTR id, HICON icon = nullptr, HCURSOR cursor = nullptr);
    // Creates a system control (BUTTON, STATIC, ...) with its text and
    // subclasses it, so that its messages pass through WndProc first.
    bool CreateSystemControl(const wchar_t* className, const wchar_t* text, DWORD exStyle, DWORD style,
                             const RECT& bounds, HWND parent, UINT_PTR id);
    void DestroyHandle() noexcept;

    // The object's message handler; Default passes a message on to Windows
    // (or to the system control's own procedure).
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once the window is gone (WM_NCDESTROY).
    virtual void HandleDestroyed() {}

private:
    static LRESULT CALLBACK OwnProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Attach(HWND window) noexcept;

    HWND handle_ = nullptr;
    WNDPROC systemProc_ = nullptr;  // the system control's procedure, when subclassed
};

// Flashes a window's caption and task-bar button count times, interval ms apart.
bool WindowFlash(HWND window, UINT count, DWORD interval);
// Where the flashing goes: FlashWindowEx, unless a test watches it.
using FlashWindowFn = BOOL(WINAPI*)(PFLASHWINFO);
void SetFlashWindowFn(FlashWindowFn fn);

}  // namespace tk
