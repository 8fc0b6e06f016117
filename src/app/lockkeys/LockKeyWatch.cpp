#include "app/lockkeys/LockKeyWatch.h"

#include <windows.h>

#include "core/StoredSettings.h"
#include "toolkit/Log.h"
#include "toolkit/Sound.h"

namespace corvello {
namespace {

// How long a correction sent, or the change of a key let go, may take to
// show in this thread's key state.
constexpr std::uint32_t AwaitedMs = 1000;

ActionOperation SwitchOf(LockKey key)
{
    return key == LockKey::Caps  ? ActionOperation::SwitchCapsLock
           : key == LockKey::Num ? ActionOperation::SwitchNumLock
                                 : ActionOperation::SwitchScrollLock;
}

ScreenNotice::Options NoticeOptions(const LockKeySettings& settings)
{
    ScreenNotice::Options options;
    options.Look.OpacityPercent = settings.NoticeOpacity;
    options.Look.Position = settings.NoticePosition;
    options.Look.Ms = settings.NoticeMs;
    options.AllMonitors = settings.NoticeAllMonitors;
    options.OverFullScreen = settings.NoticeOverFullScreen;
    return options;
}

}  // namespace

LockKeyWatch::LockKeyWatch(SystemActions& system, ActionRunner& runner)
    : system_(system), runner_(runner), trayIcons_(runner)
{
    recheck_.OnTimer = [this](tk::Timer&) { Check(); };
}

void LockKeyWatch::Start(const tk::RegKey& key)
{
    settings_ = LoadSettings(key, LockKeyFields);
    for (const LockKey lock : WatchedLocks)
        on_[LockIndex(lock)] = system_.IsLockOn(lock);
    Check();
    ShowTrayIcons();
}

void LockKeyWatch::KeyLetGo(LockKey key, SwitchedBy by)
{
    // The key-up of a correction sent is awaited already.
    Awaited& awaited = awaited_[LockIndex(key)];
    if (key != LockKey::None && !awaited.Correction) {
        awaited.Change = true;
        awaited.Since = ::GetTickCount();
        awaited.ChangedBy = by;
    }
    Check();
}

void LockKeyWatch::Check()
{
    // A correction or a notice may let messages through; a key heard
    // meanwhile is looked at once this check is done.
    if (checking_) {
        checkAgain_ = true;
        return;
    }
    checking_ = true;
    bool changed = false;
    do {
        checkAgain_ = false;
        const std::uint32_t now = ::GetTickCount();
        for (const LockKey key : WatchedLocks) {
            const std::size_t i = LockIndex(key);
            bool on = system_.IsLockOn(key);
            Awaited& awaited = awaited_[i];
            const bool fresh = now - awaited.Since < AwaitedMs;
            if (awaited.Correction) {
                if (on != awaited.CorrectedOn && fresh)
                    continue;
                // Arrived: the LEDs, which read the state, can show it now.
                awaited.Correction = false;
                changed = true;
            }
            bool kept = false;
            if (PolicyWantsSwitch(settings_.PolicyOf(key), on)) {
                switch (limits_[i].Ask(now, awaited.Change ? awaited.ChangedBy : SwitchedBy::Program)) {
                case CorrectionLimit::Answer::Correct:
                    system_.Run(SwitchOf(key));
                    on = !on;
                    kept = true;
                    awaited = {true, on, false, now, SwitchedBy::Program};
                    break;
                case CorrectionLimit::Answer::GiveWay:
                    GiveWay(key);
                    break;
                case CorrectionLimit::Answer::GaveWay:
                    break;
                }
            }
            if (on != on_[i] || kept) {
                on_[i] = on;
                changed = true;
                awaited.Change = false;
                Announce(key, on, kept);
            }
            awaited.Change = awaited.Change && fresh;
        }
    } while (checkAgain_);
    checking_ = false;
    bool awaiting = false;
    for (const Awaited& awaited : awaited_)
        awaiting = awaiting || awaited.Correction || awaited.Change;
    if (awaiting != recheck_.Enabled())
        recheck_.SetEnabled(awaiting);
    if (!changed)
        return;
    ShowTrayIcons();
    if (OnChanged)
        OnChanged();
}

void LockKeyWatch::SessionUnlocked()
{
    for (CorrectionLimit& limit : limits_)
        limit.Reset();
    Check();
}

void LockKeyWatch::Resumed()
{
    Check();
}

void LockKeyWatch::SetSettings(const LockKeySettings& settings, const tk::RegKey& key)
{
    // A key whose policy the user changes is kept again, even after it gave way.
    for (const LockKey lock : WatchedLocks)
        if (settings.PolicyOf(lock) != settings_.PolicyOf(lock))
            limits_[LockIndex(lock)].Reset();
    settings_ = settings;
    SaveSettings(key, settings_, LockKeyFields);
    ShowTrayIcons();
    Check();
}

void LockKeyWatch::ShowSample(LockKey key)
{
    const bool on = IsOn(key);
    notice_.Show(LockStateText(key, on, false), on ? L"LedRed" : L"LedGray", NoticeOptions(settings_));
}

void LockKeyWatch::Announce(LockKey key, bool on, bool kept)
{
    if (HasLock(settings_.Notice, key))
        notice_.Show(LockStateText(key, on, kept), on ? L"LedRed" : L"LedGray", NoticeOptions(settings_));
    if (!settings_.Sound)
        return;
    const std::wstring& file = on ? settings_.SoundOn : settings_.SoundOff;
    if (!file.empty()) {
        if (tk::PlayWaveFile(file))
            return;
        // Once for each file: the key may change often.
        if (soundFailed_ != file)
            tk::LogLastError(L"playing the sound " + file + L" (the built-in tone plays instead)");
        soundFailed_ = file;
    }
    if (!tk::PlayWaveResource(on ? L"LockOn" : L"LockOff"))
        tk::LogLastError(L"playing the lock key's tone");
}

void LockKeyWatch::GiveWay(LockKey key)
{
    // The log's line is the balloon's text.
    const std::wstring text = GaveWayText(key, settings_.PolicyOf(key));
    tk::LogFailure(text, 0);
    runner_.Warn(text);
}

void LockKeyWatch::ShowTrayIcons()
{
    trayIcons_.Update(settings_.TrayIcons, settings_.TrayIconsOnlyWhileOn, on_,
                      runner_.Owner() ? &runner_.Owner()->TrayIconMenu() : nullptr);
}

}  // namespace corvello
