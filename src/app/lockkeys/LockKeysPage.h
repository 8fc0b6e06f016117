// The Options page "Lock keys": the on-screen notice (which keys, where, how
// long, how opaque, on which monitors, over full-screen programs), the tray
// icons, the policy per key and the sounds, each change saved and put to
// work at once; "Show me" shows the notice where it will appear.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "actions/LockKeySettings.h"
#include "app/lockkeys/LockKeyWatch.h"
#include "app/options/OptionsPage.h"

namespace corvello {

class LockKeysPage : public OptionsPage {
public:
    // key is the key the lock keys' settings are saved in.
    LockKeysPage(LockKeyWatch& watch, SettingsKey key) : watch_(watch), settingsKey_(key) {}
    const wchar_t* Caption() const override { return L"Lock keys"; }
    void Build(tk::Panel& page, int width) override;
    void Refresh() override;

    // The check boxes, in tab order: the notice's keys and options, the tray
    // icons' keys and option, the sound.
    enum Box {
        CapsNotice, NumNotice, ScrollNotice, AllMonitors, OverFullScreen,
        CapsTray, NumTray, ScrollTray, OnlyWhileOn, Sound, BoxCount
    };
    // The drop-down lists: the notice's place, time and opacity; the policies.
    enum List { Place, Time, Opacity, CapsPolicy, NumPolicy, ScrollPolicy, ListCount };

private:
    // The settings as the page shows them.
    LockKeySettings Shown() const;
    void Changed();
    void Browse(tk::Edit& field);
    // Time and opacity list numbers; one stored but not offered joins them.
    void ShowNumber(List list, std::uint32_t value);
    std::uint32_t NumberShown(List list) const;

    LockKeyWatch& watch_;
    SettingsKey settingsKey_;
    bool filling_ = false;
    std::vector<std::unique_ptr<tk::Control>> decor_;
    std::array<std::unique_ptr<tk::CheckBox>, BoxCount> boxes_;
    std::array<std::unique_ptr<tk::ComboBox>, ListCount> lists_;
    std::array<std::vector<std::uint32_t>, 2> numbers_;  // Time, Opacity
    std::unique_ptr<tk::Button> showMe_;
    std::array<std::unique_ptr<tk::Edit>, 2> sounds_;  // on, off
    std::array<std::unique_ptr<tk::Button>, 2> browse_;
};

}  // namespace corvello
