// What a user would see wrong in the layout of a window of the program, and
// what a keyboard or screen-reader user would miss in it, found from outside
// its process over the controls that show now: one line for each fault.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <cwctype>
#include <map>
#include <string>
#include <vector>

#include "support/MainWindowScenes.h"
#include "support/ProgramUser.h"

namespace testsupport {

// The control's place in its parent's client area.
inline RECT PlaceInParent(HWND control)
{
    RECT r{};
    ::GetWindowRect(control, &r);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline bool IsGroupBox(HWND control)
{
    return ClassOf(control) == L"Button" && (::GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

// A frame drawn around other controls, which lie inside it as its siblings.
inline bool IsFrame(HWND control)
{
    return IsGroupBox(control) || ClassOf(control) == WC_TABCONTROLW;
}

inline bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// A control's name for the faults: its class and text.
inline std::string Named(HWND control)
{
    return Narrow(ClassOf(control)) + " \"" + Narrow(TextOf(control)) + "\"";
}

// The windows inside the window that show now.
inline std::vector<HWND> ShownControls(HWND window)
{
    std::vector<HWND> shown;
    for (const HWND child : Descendants(window))
        if (::IsWindowVisible(child))
            shown.push_back(child);
    return shown;
}

// Controls that reach out of their parent; sibling controls that overlap,
// unless one is a frame around the other; and the window or a page whose
// controls keep a margin on one side that differs from the other's by more
// than 2 pixels.
inline std::vector<std::string> LayoutFaults(HWND window)
{
    std::vector<std::string> faults;
    const std::vector<HWND> shown = ShownControls(window);
    std::map<HWND, std::vector<HWND>> byParent;
    for (const HWND control : shown) {
        const HWND parent = ::GetParent(control);
        byParent[parent].push_back(control);
        if (!Contains(ClientRectOf(parent), PlaceInParent(control)))
            faults.push_back(Named(control) + " reaches out of its parent");
    }
    for (const auto& [parent, children] : byParent) {
        for (std::size_t i = 0; i < children.size(); ++i) {
            for (std::size_t j = i + 1; j < children.size(); ++j) {
                const RECT a = PlaceInParent(children[i]);
                const RECT b = PlaceInParent(children[j]);
                RECT both{};
                if (!::IntersectRect(&both, &a, &b) || (IsFrame(children[i]) && Contains(a, b)) ||
                    (IsFrame(children[j]) && Contains(b, a)))
                    continue;
                faults.push_back(Named(children[i]) + " and " + Named(children[j]) + " overlap");
            }
        }
        if (parent != window && ClassOf(parent) != L"TPanel")
            continue;
        RECT content = PlaceInParent(children.front());
        for (const HWND child : children) {
            const RECT r = PlaceInParent(child);
            ::UnionRect(&content, &content, &r);
        }
        const int left = content.left;
        const int right = ClientRectOf(parent).right - content.right;
        if (std::abs(left - right) > 2)
            faults.push_back(Named(parent) + ": margins " + std::to_string(left) + " on the left, " +
                             std::to_string(right) + " on the right");
    }
    return faults;
}

inline bool IsField(HWND control)
{
    const std::wstring kind = ClassOf(control);
    return kind == L"Edit" || kind == L"ComboBox" || kind == WC_LISTVIEWW;
}

// The key after the "&", in capitals; 0 for none.
inline wchar_t AccessKey(const std::wstring& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == L'&' && text[i + 1] != L'&')
            return static_cast<wchar_t>(std::towupper(text[i + 1]));
        if (text[i] == L'&')
            ++i;
    }
    return 0;
}

// What a screen reader calls a control: a button's or check box's text, a
// field's label, the static text just before it in tab order.
inline std::wstring AccessibleName(HWND control)
{
    if (!IsField(control))
        return WithoutAccessKey(TextOf(control));
    const HWND before = ::GetWindow(control, GW_HWNDPREV);
    return before && ClassOf(before) == L"Static" ? WithoutAccessKey(TextOf(before)) : std::wstring();
}

// Buttons, check boxes and the labels of fields without an access key, or
// with one another of them has too; fields without a label just before
// them; two controls with the same name; and a tab order that does not go
// round from the tabs to the page shown, to the window's own buttons.
inline std::vector<std::string> KeyboardFaults(HWND window)
{
    std::vector<std::string> faults;
    std::map<wchar_t, HWND> keys;
    std::map<std::wstring, HWND> names;
    const auto keyed = [&](HWND control, const std::wstring& text) {
        const wchar_t key = AccessKey(text);
        if (!key)
            faults.push_back(Named(control) + " has no access key");
        else if (const auto [at, added] = keys.emplace(key, control); !added)
            faults.push_back(Named(control) + " has the access key of " + Named(at->second));
    };
    for (const HWND control : ShownControls(window)) {
        const bool button = ClassOf(control) == L"Button" && !IsGroupBox(control);
        if (!button && !IsField(control))
            continue;
        if (button)
            keyed(control, TextOf(control));
        const std::wstring name = AccessibleName(control);
        if (name.empty()) {
            faults.push_back(Named(control) + " has no label just before it");
            continue;
        }
        if (!button)
            keyed(::GetWindow(control, GW_HWNDPREV), TextOf(::GetWindow(control, GW_HWNDPREV)));
        if (const auto [at, added] = names.emplace(name, control); !added)
            faults.push_back(Named(control) + " has the name of " + Named(at->second) + ": " + Narrow(name));
    }
    // Round the tab order once, from the tabs: the page's controls, then the
    // window's own.
    HWND tabs = nullptr;
    for (const HWND control : ShownControls(window))
        if (ClassOf(control) == WC_TABCONTROLW)
            tabs = control;
    if (!tabs)
        return faults;
    bool left = false;
    HWND at = tabs;
    for (int step = 0; step < 100; ++step) {
        at = ::GetNextDlgTabItem(window, at, FALSE);
        if (!at || at == tabs)
            return faults;
        const bool onPage = ClassOf(::GetParent(at)) == L"TPanel";
        if (onPage && left)
            faults.push_back(Named(at) + " on the page comes after the window's own controls");
        left = left || !onPage;
    }
    faults.push_back("the tab order does not come back to the tabs");
    return faults;
}

inline std::string Lines(const std::vector<std::string>& faults)
{
    std::string all;
    for (const std::string& fault : faults)
        all += fault + "\n";
    return all;
}

}  // namespace testsupport
