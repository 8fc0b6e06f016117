// The second yardstick: the main window's controls made bare, with no layer
// between them and Windows. The same window as corvello.exe's with the same
// visual styles (its manifest), font, pictures, texts and tips, each control
// one CreateWindowEx of a standard class, on the shared skeleton. Hidden
// controls are made too but get no picture: nobody sees one.
#include "TrayProgram.h"

#include <commctrl.h>

namespace {

enum class Kind { Static, Picture, Panel, Button, CheckBox };

// Where a control goes and what it is, at 96 dpi, in the window's client area.
struct Bare {
    Kind Is;
    DWORD Style;
    int Left, Top, Width, Height;
    const wchar_t* Text;
    const wchar_t* Picture;  // an icon resource, 16 pixels
    bool Tip;
};

constexpr const wchar_t* Info =
    L"Software combines many useful but hidden actions in a single place. You can turn off monitor, hibernate the "
    L"system, start screensaver immediately, change keyboard lock, emulate useful key combinations, and press "
    L"missing system keys.";

constexpr DWORD Shown = WS_CHILD | WS_VISIBLE;
constexpr DWORD Push = Shown | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD Check = Shown | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD Icon = SS_ICON | SS_NOTIFY | SS_CENTERIMAGE | SS_REALSIZECONTROL;

// In the order the program makes them, where it puts them after fitting.
constexpr Bare Controls[] = {
    {Kind::Static, WS_CHILD | SS_NOTIFY | SS_CENTER | SS_NOPREFIX, 8, 48, 134, 13, L"support@quorvant.com", nullptr, false},
    {Kind::Static, Shown | SS_NOTIFY | SS_CENTER | SS_NOPREFIX, 173, 394, 161, 13, L"CORVELLO.QUORVANT.COM", nullptr, true},
    {Kind::Static, WS_CHILD | SS_ETCHEDFRAME, 66, 42, 128, 128, L"", nullptr, false},
    {Kind::Picture, WS_CHILD | Icon, 66, 42, 128, 128, L"", nullptr, false},
    {Kind::Panel, Shown, 8, 392, 128, 16, L"", nullptr, false},
    {Kind::Picture, Shown | Icon, 8, 392, 16, 16, L"", L"SOCIAL_FACEBOOK", true},
    {Kind::Picture, Shown | Icon, 28, 392, 16, 16, L"", L"SOCIAL_GPLUS", true},
    {Kind::Picture, Shown | Icon, 48, 392, 16, 16, L"", L"SOCIAL_TWITTER", true},
    {Kind::Picture, Shown | Icon, 68, 392, 16, 16, L"", L"SOCIAL_RSS", true},
    {Kind::Picture, Shown | Icon, 88, 392, 16, 16, L"", L"SOCIAL_DELICIOUS", true},
    {Kind::Picture, Shown | Icon, 108, 392, 16, 16, L"", L"SOCIAL_STUMBLEUPON", true},
    {Kind::Panel, WS_CHILD, 20, 156, 32, 24, L"Ping", nullptr, false},
    {Kind::Static, Shown | SS_LEFT | SS_NOPREFIX, 12, 8, 308, 67, Info, nullptr, false},
    {Kind::Button, Shown | BS_GROUPBOX, 8, 73, 326, 153, L"Hardware and system", nullptr, false},
    {Kind::Button, Push, 20, 97, 90, 25, L"Monitor Off", nullptr, true},
    {Kind::Button, Push, 20, 129, 90, 25, L"Screen Saver", nullptr, true},
    {Kind::Button, Push, 20, 161, 90, 25, L"Lock Computer", nullptr, true},
    {Kind::Button, Push, 120, 97, 90, 25, L"Sleep", nullptr, true},
    {Kind::Button, Push, 120, 129, 90, 25, L"Hibernate", nullptr, true},
    {Kind::Button, Push, 120, 161, 90, 25, L"Log Off", nullptr, true},
    {Kind::Button, Push, 220, 97, 90, 25, L"Restart", nullptr, true},
    {Kind::Button, Push, 220, 129, 90, 25, L"Shut Down", nullptr, true},
    {Kind::Button, Push, 220, 161, 90, 25, L"Power Off", nullptr, true},
    {Kind::CheckBox, Check, 20, 197, 265, 17, L"Show confirmations for irreversible actions", nullptr, false},
    {Kind::Button, Shown | BS_GROUPBOX, 8, 233, 328, 94, L"Keyboard", nullptr, false},
    {Kind::Button, Push, 20, 257, 90, 25, L"Caps Lock", L"LedGray", true},
    {Kind::Button, Push, 120, 257, 90, 25, L"Num Lock", L"LedGray", true},
    {Kind::Button, Push, 220, 257, 90, 25, L"Scroll Lock", L"LedGray", true},
    {Kind::Button, Push, 20, 289, 90, 25, L"Ctrl+Alt+Del", nullptr, true},
    {Kind::Button, Push, 120, 289, 90, 25, L"Ctrl+Shift+Esc", nullptr, true},
    {Kind::Button, Push, 220, 289, 90, 25, L"Print Screen", nullptr, true},
    {Kind::CheckBox, Check, 12, 341, 267, 17, L"Automatically run program on system start", nullptr, false},
    {Kind::CheckBox, Check, 12, 365, 322, 17, L"Online features (verify updates, Tickover\u2122 statistics)", nullptr, false},
};

constexpr const wchar_t* PanelClass = L"BarePanel";

void MakeControls(HWND window, int dpi)
{
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const auto scale = [dpi](int value) { return ::MulDiv(value, dpi, 96); };
    const HFONT font = ::CreateFontW(scale(-11), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                     DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    WNDCLASSW panel{};
    panel.lpfnWndProc = ::DefWindowProcW;
    panel.hInstance = instance;
    panel.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    panel.lpszClassName = PanelClass;
    ::RegisterClassW(&panel);
    const HWND tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr,
                                        instance, nullptr);
    int id = 100;
    for (const Bare& c : Controls) {
        const wchar_t* className = c.Is == Kind::Panel ? PanelClass
                                   : c.Is == Kind::Button || c.Is == Kind::CheckBox ? WC_BUTTONW
                                                                                    : WC_STATICW;
        const HWND control = ::CreateWindowExW(c.Is == Kind::Panel ? WS_EX_CONTROLPARENT : 0, className, c.Text,
                                               c.Style, scale(c.Left), scale(c.Top), scale(c.Width), scale(c.Height),
                                               window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id++)), instance,
                                               nullptr);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.Is == Kind::CheckBox)
            ::SendMessageW(control, BM_SETCHECK, BST_CHECKED, 0);
        if (c.Picture) {
            const auto icon = static_cast<HICON>(::LoadImageW(instance, c.Picture, IMAGE_ICON, scale(16), scale(16), 0));
            if (c.Is == Kind::Picture)
                ::SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
            else
                ::SendMessageW(control, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
        if (c.Tip) {
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window;
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = const_cast<wchar_t*>(c.Text[0] ? c.Text : c.Picture);
            ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    return RunTrayProgram({L"BareWin32", 342, 416, L"MAINICON", MakeControls}, instance, commandLine);
}
