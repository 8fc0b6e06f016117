#include "app/lockkeys/LockTrayIcons.h"

#include <algorithm>
#include <iterator>

#include "actions/ActionCatalogue.h"

namespace corvello {
namespace {

// Draws the key's mark in white on black, centred on an icon of this size.
void PaintMark(HDC dc, int size, int mark)
{
    const auto key = static_cast<LockKey>(mark);
    if (key == LockKey::Scroll) {
        // An arrow up and down: two heads on a shaft.
        const int c = size / 2;
        const int head = size / 4;
        const int shaft = std::max(1, size / 12);
        const int top = size / 8;
        const int bottom = size - top;
        const POINT arrow[] = {{c, top},          {c + head, top + head}, {c + shaft, top + head},
                               {c + shaft, bottom - head}, {c + head, bottom - head}, {c, bottom},
                               {c - head, bottom - head},  {c - shaft, bottom - head}, {c - shaft, top + head},
                               {c - head, top + head}};
        const HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
        const HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(NULL_PEN));
        ::Polygon(dc, arrow, static_cast<int>(std::size(arrow)));
        ::SelectObject(dc, oldPen);
        ::SelectObject(dc, oldBrush);
        return;
    }
    const tk::Font font(::CreateFontW(-(size * 5 / 8), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                      OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                      DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
    const HGDIOBJ old = ::SelectObject(dc, font.Get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(255, 255, 255));
    RECT all{0, 0, size, size};
    ::DrawTextW(dc, key == LockKey::Caps ? L"A" : L"1", 1, &all, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SelectObject(dc, old);
}

}  // namespace

void LockTrayIcons::Draw(LockKey key, Slot& slot)
{
    const int size = tk::TrayIcon::IconSize();
    if (slot.Size == size && slot.Lit && slot.Unlit)
        return;
    slot.Size = size;
    for (const bool lit : {true, false}) {
        const tk::Icon led = tk::Icon::FromResource(lit ? L"LedRed" : L"LedGray", size, size);
        (lit ? slot.Lit : slot.Unlit) =
            tk::Icon::Marked(led.Get(), size, RGB(255, 255, 255), &PaintMark, static_cast<int>(key));
    }
}

void LockTrayIcons::Update(std::uint32_t keys, bool onlyWhileOn, const std::array<bool, 3>& on, tk::PopupMenu* menu)
{
    for (const LockKey key : WatchedLocks) {
        Slot& slot = slots_[LockIndex(key)];
        const bool keyOn = on[LockIndex(key)];
        const bool shows = HasLock(keys, key) && (keyOn || !onlyWhileOn);
        if (!shows) {
            if (slot.Icon)
                slot.Icon->SetVisible(false);
            continue;
        }
        if (!slot.Icon) {
            slot.Icon = std::make_unique<tk::TrayIcon>(WindowClass);
            slot.Icon->OnClick = [this, key](tk::TrayIcon&) {
                for (const ActionEntry& entry : catalogue::Actions)
                    if (entry.Lock == key)
                        runner_.Run(entry, ActionTrigger::Control);
            };
        }
        Draw(key, slot);
        slot.Icon->Menu = menu;
        slot.Icon->SetIcon(keyOn ? slot.Lit.Get() : slot.Unlit.Get());
        slot.Icon->SetHint(LockStateText(key, keyOn, false));
        slot.Icon->SetVisible(true);
    }
}

}  // namespace corvello
