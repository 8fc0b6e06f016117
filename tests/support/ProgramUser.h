// The running program as a user meets it, from outside its process: its
// windows and their texts, its tray icon, the tray menu and the keys pressed
// in a menu. Everything is posted, as a user's input would arrive: the
// program's menus and dialogs are modal.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/WinTestSupport.h"

namespace testsupport {

// Window positions and the screen in physical pixels, as the program (which
// is per-monitor aware) sees them. Before this process makes its first window.
inline void BecomeDpiAware()
{
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (!set || !set(reinterpret_cast<HANDLE>(-4)))  // per monitor, version 2
        ::SetProcessDPIAware();
}

inline std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    ::GetWindowTextW(window, text, static_cast<int>(std::size(text)));
    return text;
}

// The process a window belongs to.
inline DWORD ProcessOf(HWND window)
{
    DWORD id = 0;
    ::GetWindowThreadProcessId(window, &id);
    return id;
}

// Stands for every process where TopWindows takes one; no process has this
// id (theirs are multiples of four), while 0 is what a process that never
// started leaves.
inline constexpr DWORD AnyProcess = 0xFFFFFFFF;

// The top-level windows of a process (of every process for AnyProcess, of
// none for 0) with this class (of any for an empty one), top first; only the
// visible ones unless asked for all.
inline std::vector<HWND> TopWindows(DWORD processId, const std::wstring& className, bool visibleOnly = true)
{
    struct Search {
        DWORD Id;
        const std::wstring& Class;
        bool VisibleOnly;
        std::vector<HWND> Found;
    } search{processId, className, visibleOnly, {}};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if ((s->Id == AnyProcess || ProcessOf(window) == s->Id) && (!s->VisibleOnly || ::IsWindowVisible(window)) &&
                (s->Class.empty() || ClassOf(window) == s->Class))
                s->Found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// Every window inside the parent, at any depth, in the order of creation.
inline std::vector<HWND> Descendants(HWND parent)
{
    std::vector<HWND> all;
    ::EnumChildWindows(
        parent,
        [](HWND window, LPARAM param) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

// A control's text as it shows: without the "&" before its access key.
inline std::wstring WithoutAccessKey(const std::wstring& text)
{
    std::wstring shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size())
            ++i;  // "&&" shows one "&"
        shown += text[i];
    }
    return shown;
}

// The window inside the parent that shows exactly this text (an access key
// aside), or null.
inline HWND ChildWithText(HWND parent, const std::wstring& text)
{
    for (HWND child : Descendants(parent))
        if (WithoutAccessKey(TextOf(child)) == WithoutAccessKey(text))
            return child;
    return nullptr;
}

// A click on a button, a check box or any control that answers the mouse.
inline void ClickButton(HWND button)
{
    ::PostMessageW(button, BM_CLICK, 0, 0);
}
inline void ClickControl(HWND control)
{
    ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    ::PostMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}

inline bool IsChecked(HWND box)
{
    return ::SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline RECT ClientRectOf(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return r;
}

// The work area of the monitor the window is on (the primary one without a
// window).
inline RECT WorkAreaOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof info;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &info);
    return info.rcWork;
}

// How far the centre of the inner rectangle lies from the centre of the
// outer one, in pixels, the larger of the two directions.
inline int CentreDistance(const RECT& inner, const RECT& outer)
{
    const int dx = (inner.left + inner.right) - (outer.left + outer.right);
    const int dy = (inner.top + inner.bottom) - (outer.top + outer.bottom);
    return (std::max(std::abs(dx), std::abs(dy)) + 1) / 2;
}

// The tray menu's entries as the Down key reaches them from the top; the
// separator is passed over.
enum class TrayEntry { System = 1, Keyboard, Settings, About, Close };

class ProgramUser {
public:
    explicit ProgramUser(DWORD processId) : processId_(processId) {}

    // The program's top-level windows of the class; the visible ones only
    // unless asked otherwise. Topmost first.
    std::vector<HWND> Windows(const wchar_t* className, bool visibleOnly = true) const
    {
        return TopWindows(processId_, className, visibleOnly);
    }

    HWND Window(const wchar_t* className, bool visibleOnly = true) const
    {
        const auto all = Windows(className, visibleOnly);
        return all.empty() ? nullptr : all.front();
    }

    // The first visible window of the class, once there is one.
    HWND WaitWindow(const wchar_t* className, std::uint32_t timeoutMs = 10000) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Window(className)) != nullptr; }, timeoutMs);
        return found;
    }

    // True once no window of the class is visible.
    bool WaitNone(const wchar_t* className, std::uint32_t timeoutMs = 10000) const
    {
        return WaitUntil([&] { return Window(className) == nullptr; }, timeoutMs);
    }

    HWND MainWindow(std::uint32_t timeoutMs = 10000) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = Window(L"TfrmMain", false)) != nullptr; }, timeoutMs);
        return found;
    }

    bool WaitMainVisible(bool visible, std::uint32_t timeoutMs = 10000) const
    {
        const HWND main = MainWindow();
        return main && WaitUntil([&] { return (::IsWindowVisible(main) != FALSE) == visible; }, timeoutMs);
    }

    // A click on the main window's close box; true once the window has gone
    // (into the tray).
    bool HideWithCloseBox() const
    {
        ::PostMessageW(MainWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return WaitMainVisible(false);
    }

    HWND TrayWindow() const { return Window(L"tk.TrayIcon", false); }

    // The notification area holds the program's icon: only an icon it holds
    // can be modified.
    bool TrayIconShown() const
    {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof data;
        data.hWnd = TrayWindow();
        data.uID = 1;
        return data.hWnd && ::Shell_NotifyIconW(NIM_MODIFY, &data);
    }

    // Where the icon's events say the pointer was: near the lower right
    // corner of the work area, where the tray is, but clear of the icons
    // themselves, so a menu there is not covered by one.
    static POINT TrayAnchor()
    {
        const RECT work = WorkAreaOf(nullptr);
        return {work.right - 48, work.bottom - 48};
    }

    // An event of the icon as the shell reports it with NOTIFYICON_VERSION_4:
    // WM_CONTEXTMENU, NIN_SELECT (a click) or WM_LBUTTONDBLCLK.
    void Tray(WORD event) const
    {
        const POINT at = TrayAnchor();
        ::PostMessageW(TrayWindow(), WM_APP + 0x3A0, MAKEWPARAM(at.x, at.y), MAKELPARAM(event, 1));
    }

    // The visible popup menus, the most recently opened first.
    std::vector<HWND> Menus() const { return Windows(L"#32768"); }

    // Opens the tray menu and returns its window once it shows. A window
    // that has just closed or hidden hands the foreground on after a delay
    // of its own, and the hand-over can end the menu as it opens; as a user
    // would, the right click comes again while no menu shows.
    HWND OpenTrayMenu() const
    {
        HWND menu = nullptr;
        for (int click = 0; click < 3 && !menu; ++click) {
            Tray(WM_CONTEXTMENU);
            WaitUntil([&] { return (menu = Window(L"#32768")) != nullptr; }, 3500);
            if (!menu)
                std::printf("no tray menu after %d right click(s)\n", click + 1);
        }
        return menu;
    }

    // Opens a control's own menu as a right click near its top left corner
    // does, and returns the menu's window once it shows.
    HWND OpenContextMenu(HWND control) const
    {
        RECT at{};
        ::GetWindowRect(control, &at);
        ::PostMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(at.left + 5, at.top + 5));
        return WaitWindow(L"#32768");
    }

    // Waits until as many menus show.
    bool WaitMenus(std::size_t count) const
    {
        return WaitUntil([&] { return Menus().size() == count; }, 10000);
    }

    static void Key(HWND window, UINT key)
    {
        ::PostMessageW(window, WM_KEYDOWN, key, 1);
        ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    }
    // Enter, as a menu takes it: the character.
    static void Enter(HWND window) { ::PostMessageW(window, WM_CHAR, L'\r', 1); }

    // Escape until no menu shows.
    bool CloseMenus() const
    {
        return WaitUntil(
            [&] {
                const auto menus = Menus();
                if (menus.empty())
                    return true;
                Key(menus.front(), VK_ESCAPE);
                WaitUntil([&] { return Menus().size() < menus.size(); }, 2000);
                return false;
            },
            10000);
    }

    // Opens the tray menu, goes down to the entry and presses Enter; true
    // once the menu has closed.
    bool ChooseTrayEntry(TrayEntry entry) const
    {
        const HWND menu = OpenTrayMenu();
        if (!menu)
            return false;
        for (int i = 0; i < static_cast<int>(entry); ++i)
            Key(menu, VK_DOWN);
        Enter(menu);
        return WaitMenus(0);
    }

private:
    DWORD processId_;
};

}  // namespace testsupport

namespace testsupport {

// The text of a cell of a list view in another process: the request and
// its answer go through memory of that process, as Windows needs.
inline std::wstring ListViewCell(HWND list, int row, int column)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(list, &processId);
    const HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (!process)
        return {};
    constexpr std::size_t TextChars = 256;
    struct Block {
        LVITEMW Item;
        wchar_t Text[TextChars];
    };
    auto* remote = static_cast<Block*>(::VirtualAllocEx(process, nullptr, sizeof(Block), MEM_COMMIT, PAGE_READWRITE));
    std::wstring text;
    if (remote) {
        Block local{};
        local.Item.iSubItem = column;
        local.Item.pszText = remote->Text;
        local.Item.cchTextMax = static_cast<int>(TextChars);
        ::WriteProcessMemory(process, remote, &local, sizeof local, nullptr);
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&remote->Item));
        if (::ReadProcessMemory(process, remote, &local, sizeof local, nullptr))
            text = std::wstring(local.Text, ::wcsnlen(local.Text, TextChars));
        ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    ::CloseHandle(process);
    return text;
}

// The keys going down in order, or up in the reverse order.
inline std::vector<INPUT> KeyInputs(std::initializer_list<WORD> keys, bool up)
{
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.insert(up ? inputs.begin() : inputs.end(), input);
    }
    return inputs;
}

inline void SendKeys(std::vector<INPUT> inputs)
{
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// The keys go down and stay down, or come up.
inline void HoldKeys(std::initializer_list<WORD> keys)
{
    SendKeys(KeyInputs(keys, false));
}
inline void ReleaseKeys(std::initializer_list<WORD> keys)
{
    SendKeys(KeyInputs(keys, true));
}

// Keys pressed together and let go in reverse order, as the keyboard gives
// them.
inline void PressKeys(std::initializer_list<WORD> keys)
{
    std::vector<INPUT> inputs = KeyInputs(keys, false);
    const std::vector<INPUT> ups = KeyInputs(keys, true);
    inputs.insert(inputs.end(), ups.begin(), ups.end());
    SendKeys(inputs);
}

}  // namespace testsupport
