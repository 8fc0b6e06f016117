// The keyboard shortcuts the user gave the actions: read from the registry,
// kept there as they change, and registered with Windows as global hot keys
// on the program's own window (again after a resume, an unlock or a new task
// bar, which can drop them). A combination another program holds is never
// silent: it is marked, logged, and named once after the start.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "actions/ActionCatalogue.h"
#include "core/Shortcut.h"
#include "toolkit/Registry.h"

namespace corvello {

class ShortcutKeys {
public:
    enum class State {
        None,        // no shortcut
        Registered,  // Windows will call on it
        InUse,       // another program holds the combination
        Failed,      // Windows refused it for another reason (logged)
    };

    ShortcutKeys();

    // Every action a shortcut can run: those that do something.
    static bool CanHaveShortcut(const ActionEntry& entry) noexcept;

    // Reads the shortcuts below the key. A value of another type, or one
    // that is no possible shortcut, or a second action's same combination,
    // is ignored and logged; the others still load.
    void Load(const tk::RegKey& key);
    Shortcut Get(const ActionEntry& entry) const;
    // The shortcut while Windows calls on it; empty for none, and for one
    // another program holds or Windows refused, which the menus do not show.
    Shortcut Working(const ActionEntry& entry) const;
    State StateOf(const ActionEntry& entry) const;
    // The other action that has this combination already; null for none.
    const ActionEntry* TakenBy(Shortcut shortcut, const ActionEntry& except) const;
    // Gives the action the shortcut (an empty one clears it), stores it
    // below the key and registers it; false when it could not be stored.
    bool Set(const ActionEntry& entry, Shortcut shortcut, const tk::RegKey& key);

    // Registers every shortcut on the window, dropping what was registered
    // before. Returns the actions whose combination another program holds.
    std::vector<const ActionEntry*> RegisterAll(HWND window);
    void UnregisterAll() noexcept;
    // The action a hot key of ours runs; null for an id of none.
    const ActionEntry* ForHotKey(int id) const noexcept;

    // Runs after a shortcut or its state changed.
    std::function<void()> OnChanged;

private:
    struct Slot {
        const ActionEntry* Entry;
        Shortcut Keys;
        State Now = State::None;
    };
    Slot* Find(const ActionEntry& entry) noexcept;
    const Slot* Find(const ActionEntry& entry) const noexcept;
    void Register(Slot& slot);
    void Unregister(Slot& slot) noexcept;

    std::vector<Slot> slots_;
    HWND window_ = nullptr;
};

// "Monitor Off (Ctrl+Alt+M), Caps Lock (Win+F5)"
std::wstring ShortcutList(const std::vector<const ActionEntry*>& entries, const ShortcutKeys& keys);

}  // namespace corvello
