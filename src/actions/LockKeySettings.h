// What the program does about the lock keys beyond switching them: the
// notice on the screen, the tray icons, the sounds and the policy per key.
// One struct with its defaults and the table of its stored values, below the
// settings key's subkey LockKeys (RegistryLayout.h).
#pragma once

#include <cstdint>
#include <string>

#include "actions/LockPolicy.h"
#include "core/StoredFields.h"

namespace corvello {

struct LockKeySettings {
    // The keys whose changes the notice shows (LockBit).
    std::uint32_t Notice = LockBit(LockKey::Caps) | LockBit(LockKey::Num);
    // On every monitor, not only on the foreground window's.
    bool NoticeAllMonitors = false;
    // 0 to 8, row by row from the top left: 7 is the bottom centre.
    std::uint32_t NoticePosition = 7;
    std::uint32_t NoticeMs = 1500;
    // Percent.
    std::uint32_t NoticeOpacity = 85;
    // Also while a full-screen program has the foreground.
    bool NoticeOverFullScreen = false;
    // The keys with a tray icon of their own (LockBit).
    std::uint32_t TrayIcons = 0;
    bool TrayIconsOnlyWhileOn = false;
    bool Sound = false;
    std::uint32_t CapsPolicy = 0;  // LockPolicy
    std::uint32_t NumPolicy = 0;
    std::uint32_t ScrollPolicy = 0;
    // Wave files; empty for the built-in tones.
    std::wstring SoundOn;
    std::wstring SoundOff;

    LockPolicy PolicyOf(LockKey key) const noexcept
    {
        const std::uint32_t value = key == LockKey::Caps  ? CapsPolicy
                                    : key == LockKey::Num ? NumPolicy
                                    : key == LockKey::Scroll ? ScrollPolicy
                                                             : 0;
        return static_cast<LockPolicy>(value);
    }
    void SetPolicy(LockKey key, LockPolicy policy) noexcept
    {
        const auto value = static_cast<std::uint32_t>(policy);
        (key == LockKey::Caps ? CapsPolicy : key == LockKey::Num ? NumPolicy : ScrollPolicy) = value;
    }

    bool operator==(const LockKeySettings&) const = default;
};

inline constexpr std::uint32_t AllLocks = 7;
inline constexpr std::uint32_t NoticePositions = 9;
inline constexpr std::uint32_t ShortestNoticeMs = 300;
inline constexpr std::uint32_t LongestNoticeMs = 10000;
// Fainter than this a notice is hard to read.
inline constexpr std::uint32_t FaintestOpacity = 20;
// A path as long as Windows' classic limit.
inline constexpr std::size_t LongestSoundPath = 260;

inline constexpr StoredField<LockKeySettings> LockKeyFields[] = {
    NumberField(L"Notice", &LockKeySettings::Notice, 0, AllLocks),
    SwitchField(L"NoticeAllMonitors", &LockKeySettings::NoticeAllMonitors),
    NumberField(L"NoticePosition", &LockKeySettings::NoticePosition, 0, NoticePositions - 1),
    NumberField(L"NoticeMs", &LockKeySettings::NoticeMs, ShortestNoticeMs, LongestNoticeMs),
    NumberField(L"NoticeOpacity", &LockKeySettings::NoticeOpacity, FaintestOpacity, 100),
    SwitchField(L"NoticeOverFullScreen", &LockKeySettings::NoticeOverFullScreen),
    NumberField(L"TrayIcons", &LockKeySettings::TrayIcons, 0, AllLocks),
    SwitchField(L"TrayIconsOnlyWhileOn", &LockKeySettings::TrayIconsOnlyWhileOn),
    SwitchField(L"Sound", &LockKeySettings::Sound),
    NumberField(L"CapsPolicy", &LockKeySettings::CapsPolicy, 0, 2),
    NumberField(L"NumPolicy", &LockKeySettings::NumPolicy, 0, 2),
    NumberField(L"ScrollPolicy", &LockKeySettings::ScrollPolicy, 0, 2),
    TextField(L"SoundOn", &LockKeySettings::SoundOn, LongestSoundPath),
    TextField(L"SoundOff", &LockKeySettings::SoundOff, LongestSoundPath),
};

}  // namespace corvello
