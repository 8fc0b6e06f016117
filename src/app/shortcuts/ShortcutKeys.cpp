#include "app/shortcuts/ShortcutKeys.h"

#include <cstring>

#include "core/StoredSettings.h"
#include "core/SystemVersion.h"
#include "toolkit/Log.h"

namespace corvello {
namespace {

// MOD_NOREPEAT: a held combination calls once. Windows before 7 refuses it.
constexpr UINT NoRepeat = 0x4000;
constexpr DWORD HotKeyAlreadyRegistered = 1409;

// The id each action's hot key is registered with: one for each action, 1 up,
// within the 0 to 0xBFFF Windows leaves to a program.
int HotKeyId(const ActionEntry& entry) noexcept
{
    return static_cast<int>(entry.Id) + 1;
}

}  // namespace

ShortcutKeys::ShortcutKeys()
{
    for (const ActionEntry& entry : catalogue::Actions)
        if (CanHaveShortcut(entry))
            slots_.push_back({&entry, {}});
}

bool ShortcutKeys::CanHaveShortcut(const ActionEntry& entry) noexcept
{
    return entry.Operation != ActionOperation::None;
}

ShortcutKeys::Slot* ShortcutKeys::Find(const ActionEntry& entry) noexcept
{
    for (Slot& slot : slots_)
        if (slot.Entry == &entry)
            return &slot;
    return nullptr;
}

const ShortcutKeys::Slot* ShortcutKeys::Find(const ActionEntry& entry) const noexcept
{
    return const_cast<ShortcutKeys*>(this)->Find(entry);
}

void ShortcutKeys::Load(const tk::RegKey& key)
{
    for (Slot& slot : slots_) {
        slot.Keys = {};
        // A value too large to read is damaged too, not missing.
        const auto raw = key ? LookUpStoredValue(key, slot.Entry->Name, sizeof(std::uint32_t)) : std::nullopt;
        if (!raw)
            continue;
        const std::wstring what = std::wstring(L"the shortcut of ") + slot.Entry->Name;
        // Only a REG_DWORD of four bytes is a shortcut; 0 is none.
        std::uint32_t number = 0;
        const bool dword = raw->Type == REG_DWORD && raw->Data.size() == sizeof number;
        if (dword)
            std::memcpy(&number, raw->Data.data(), sizeof number);
        if (dword && number == 0)
            continue;
        const auto shortcut = dword ? DecodeShortcut(number) : std::nullopt;
        if (!shortcut || CheckShortcut(*shortcut) != ShortcutProblem::None) {
            tk::LogFailure(what + L" (stored as no shortcut can be; it is left out)", ERROR_INVALID_DATA);
            continue;
        }
        if (const ActionEntry* other = TakenBy(*shortcut, *slot.Entry)) {
            tk::LogFailure(what + L" (" + ShortcutText(*shortcut) + L" is " + other->Name + L"'s already; left out)",
                           ERROR_INVALID_DATA);
            continue;
        }
        slot.Keys = *shortcut;
    }
}

Shortcut ShortcutKeys::Get(const ActionEntry& entry) const
{
    const Slot* slot = Find(entry);
    return slot ? slot->Keys : Shortcut{};
}

Shortcut ShortcutKeys::Working(const ActionEntry& entry) const
{
    const Slot* slot = Find(entry);
    return slot && slot->Now == State::Registered ? slot->Keys : Shortcut{};
}

ShortcutKeys::State ShortcutKeys::StateOf(const ActionEntry& entry) const
{
    const Slot* slot = Find(entry);
    return slot ? slot->Now : State::None;
}

const ActionEntry* ShortcutKeys::TakenBy(Shortcut shortcut, const ActionEntry& except) const
{
    if (shortcut.Empty())
        return nullptr;
    for (const Slot& slot : slots_)
        if (slot.Entry != &except && slot.Keys == shortcut)
            return slot.Entry;
    return nullptr;
}

bool ShortcutKeys::Set(const ActionEntry& entry, Shortcut shortcut, const tk::RegKey& key)
{
    Slot* slot = Find(entry);
    if (!slot)
        return false;
    const bool stored = shortcut.Empty() ? key.DeleteValue(entry.Name)
                                         : key.WriteDword(entry.Name, EncodeShortcut(shortcut));
    Unregister(*slot);
    slot->Keys = shortcut;
    if (window_)
        Register(*slot);
    if (OnChanged)
        OnChanged();
    return stored;
}

void ShortcutKeys::Register(Slot& slot)
{
    slot.Now = State::None;
    if (slot.Keys.Empty() || !window_)
        return;
    const UINT modifiers = slot.Keys.Modifiers | (IsWin7OrHigher ? NoRepeat : 0);
    if (::RegisterHotKey(window_, HotKeyId(*slot.Entry), modifiers, slot.Keys.Key)) {
        slot.Now = State::Registered;
        return;
    }
    const DWORD error = ::GetLastError();
    slot.Now = error == HotKeyAlreadyRegistered ? State::InUse : State::Failed;
    tk::LogFailure(std::wstring(L"registering the shortcut ") + ShortcutText(slot.Keys) + L" of " + slot.Entry->Name +
                       (slot.Now == State::InUse ? L" (another program holds it)" : L""),
                   error);
}

void ShortcutKeys::Unregister(Slot& slot) noexcept
{
    if (slot.Now == State::Registered && window_)
        ::UnregisterHotKey(window_, HotKeyId(*slot.Entry));
    slot.Now = State::None;
}

std::vector<const ActionEntry*> ShortcutKeys::RegisterAll(HWND window)
{
    UnregisterAll();
    window_ = window;
    std::vector<const ActionEntry*> inUse;
    for (Slot& slot : slots_) {
        Register(slot);
        if (slot.Now == State::InUse)
            inUse.push_back(slot.Entry);
    }
    if (OnChanged)
        OnChanged();
    return inUse;
}

void ShortcutKeys::UnregisterAll() noexcept
{
    for (Slot& slot : slots_)
        Unregister(slot);
}

const ActionEntry* ShortcutKeys::ForHotKey(int id) const noexcept
{
    for (const Slot& slot : slots_)
        if (HotKeyId(*slot.Entry) == id && slot.Now == State::Registered)
            return slot.Entry;
    return nullptr;
}

std::wstring ShortcutList(const std::vector<const ActionEntry*>& entries, const ShortcutKeys& keys)
{
    std::wstring list;
    for (const ActionEntry* entry : entries) {
        if (!list.empty())
            list += L", ";
        list += std::wstring(entry->Caption) + L" (" + ShortcutText(keys.Get(*entry)) + L")";
    }
    return list;
}

}  // namespace corvello
