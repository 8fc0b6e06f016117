// Caps Lock as the input stream carries it, seen by a low-level keyboard
// hook of the test's thread while it waits: when each key went down or up,
// and whether a program sent it; and every other key among them, for the
// order of the two.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class CapsLockPresses {
public:
    struct Press {
        DWORD Tick;
        bool Up;
        bool Injected;
        DWORD Key;
    };

    CapsLockPresses()
    {
        Seen().clear();
        Stream().clear();
        hook_ = ::SetWindowsHookExW(WH_KEYBOARD_LL, &Hook, ::GetModuleHandleW(nullptr), 0);
    }
    ~CapsLockPresses()
    {
        if (hook_)
            ::UnhookWindowsHookEx(hook_);
    }
    CapsLockPresses(const CapsLockPresses&) = delete;
    CapsLockPresses& operator=(const CapsLockPresses&) = delete;

    bool Hooked() const { return hook_ != nullptr; }
    static std::vector<Press>& Seen()
    {
        static std::vector<Press> seen;
        return seen;
    }
    // Every key, Caps Lock among them, in order.
    static std::vector<Press>& Stream()
    {
        static std::vector<Press> stream;
        return stream;
    }
    // When the key went down, in order.
    static std::vector<DWORD> Downs()
    {
        std::vector<DWORD> downs;
        for (const Press& press : Seen())
            if (!press.Up)
                downs.push_back(press.Tick);
        return downs;
    }
    // "down injected", "up" and so on, in order.
    static std::vector<std::wstring> Described()
    {
        std::vector<std::wstring> described;
        for (const Press& press : Seen())
            described.push_back(std::wstring(press.Up ? L"up" : L"down") + (press.Injected ? L" injected" : L""));
        return described;
    }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (code == HC_ACTION) {
            const Press press{::GetTickCount(), wParam == WM_KEYUP || wParam == WM_SYSKEYUP,
                              (key->flags & LLKHF_INJECTED) != 0, key->vkCode};
            Stream().push_back(press);
            if (key->vkCode == VK_CAPITAL)
                Seen().push_back(press);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_ = nullptr;
};

}  // namespace testsupport
