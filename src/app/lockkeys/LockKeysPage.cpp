#include "app/lockkeys/LockKeysPage.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "toolkit/Decimal.h"
#include "toolkit/FileDialog.h"
#include "toolkit/Form.h"

namespace corvello {
namespace {

enum class Kind : std::uint8_t { Group, Label, Box, List, ShowMe, Sound, Browse };

// The page's controls in tab order; a group's controls lie inside it. A
// group is as wide as the page leaves; "&" marks each access key.
struct Item {
    Kind What;
    std::int8_t Index;  // the box, list, sound field or group; the group an item is in
    std::int8_t Group;
    struct {
        std::int16_t Left, Top, Width, Height;  // small: the table is a third smaller
    } At;
    const wchar_t* Caption;
};

using Page = LockKeysPage;
constexpr Item Items[] = {
    {Kind::Group, 0, -1, {8, 8, 0, 128}, L"On-screen notice"},
    {Kind::Box, Page::CapsNotice, 0, {12, 20, 84, 17}, L"C&aps Lock"},
    {Kind::Box, Page::NumNotice, 0, {100, 20, 84, 17}, L"Nu&m Lock"},
    {Kind::Box, Page::ScrollNotice, 0, {188, 20, 90, 17}, L"Sc&roll Lock"},
    {Kind::Label, 0, 0, {12, 49, 54, 15}, L"&Place:"},
    {Kind::List, Page::Place, 0, {70, 46, 120, 200}, nullptr},
    {Kind::Label, 0, 0, {206, 49, 44, 15}, L"&Time:"},
    {Kind::List, Page::Time, 0, {252, 46, 70, 200}, nullptr},
    {Kind::Label, 0, 0, {12, 77, 54, 15}, L"Opacit&y:"},
    {Kind::List, Page::Opacity, 0, {70, 74, 70, 200}, nullptr},
    {Kind::Box, Page::AllMonitors, 0, {206, 76, 180, 17}, L"On &every monitor"},
    {Kind::Box, Page::OverFullScreen, 0, {12, 102, 290, 17}, L"Also o&ver full-screen programs"},
    {Kind::ShowMe, 0, 0, {312, 97, 80, 25}, L"S&how me"},
    {Kind::Group, 1, -1, {8, 140, 0, 70}, L"Tray icons"},
    {Kind::Box, Page::CapsTray, 1, {12, 20, 120, 17}, L"Caps Loc&k icon"},
    {Kind::Box, Page::NumTray, 1, {136, 20, 120, 17}, L"N&um Lock icon"},
    {Kind::Box, Page::ScrollTray, 1, {260, 20, 130, 17}, L"Scroll Lock &icon"},
    {Kind::Box, Page::OnlyWhileOn, 1, {12, 44, 200, 17}, L"Only &while on"},
    {Kind::Group, 2, -1, {8, 214, 0, 66}, L"Keep the state"},
    {Kind::Label, 0, 2, {12, 18, 120, 15}, L"Caps &Lock:"},
    {Kind::List, Page::CapsPolicy, 2, {12, 34, 120, 200}, nullptr},
    {Kind::Label, 0, 2, {142, 18, 120, 15}, L"&Num Lock:"},
    {Kind::List, Page::NumPolicy, 2, {142, 34, 120, 200}, nullptr},
    {Kind::Label, 0, 2, {272, 18, 120, 15}, L"&Scroll Lock:"},
    {Kind::List, Page::ScrollPolicy, 2, {272, 34, 120, 200}, nullptr},
    {Kind::Group, 3, -1, {8, 284, 0, 96}, L"Sound"},
    {Kind::Box, Page::Sound, 3, {12, 18, 300, 17}, L"Play a sound when a lock key chan&ges"},
    {Kind::Label, 0, 3, {12, 43, 72, 15}, L"Sound &on:"},
    {Kind::Sound, 0, 3, {90, 40, 216, 21}, nullptr},
    {Kind::Browse, 0, 3, {312, 39, 80, 23}, L"&Browse on..."},
    {Kind::Label, 0, 3, {12, 69, 72, 15}, L"Soun&d off:"},
    {Kind::Sound, 1, 3, {90, 66, 216, 21}, nullptr},
    {Kind::Browse, 1, 3, {312, 65, 80, 23}, L"Browse o&ff..."},
};

constexpr const wchar_t* Places[] = {L"Top left",    L"Top centre",    L"Top right",
                                     L"Middle left", L"Centre",        L"Middle right",
                                     L"Bottom left", L"Bottom centre", L"Bottom right"};
constexpr const wchar_t* Policies[] = {L"No policy", L"Always on", L"Always off"};
// The numbers offered, and the unit they are shown in.
constexpr std::uint32_t Times[] = {500, 1000, 1500, 2000, 3000, 5000, 10000};
constexpr std::uint32_t Opacities[] = {40, 55, 70, 85, 100};

// 1500 ms as "1.5 s"; 85 as "85 %".
std::wstring NumberText(LockKeysPage::List list, std::uint32_t value)
{
    if (list == LockKeysPage::Opacity)
        return tk::Decimal(value) + L" %";
    std::wstring text = tk::Decimal(value / 1000);
    if (value % 1000 != 0) {
        std::wstring digits = tk::Decimal(value % 1000 + 1000).substr(1);
        while (digits.back() == L'0')
            digits.pop_back();
        text += L'.';
        text += digits;
    }
    text += L" s";
    return text;
}

constexpr LockKeysPage::Box NoticeBox[] = {LockKeysPage::CapsNotice, LockKeysPage::NumNotice, LockKeysPage::ScrollNotice};
constexpr LockKeysPage::Box TrayBox[] = {LockKeysPage::CapsTray, LockKeysPage::NumTray, LockKeysPage::ScrollTray};
constexpr LockKeysPage::List PolicyList[] = {LockKeysPage::CapsPolicy, LockKeysPage::NumPolicy,
                                             LockKeysPage::ScrollPolicy};

}  // namespace

void LockKeysPage::Build(tk::Panel& page, int width)
{
    numbers_[0].assign(std::begin(Times), std::end(Times));
    numbers_[1].assign(std::begin(Opacities), std::end(Opacities));
    tk::GroupBox* groups[4] = {};
    for (const Item& item : Items) {
        tk::Container& in = item.Group < 0 ? static_cast<tk::Container&>(page) : *groups[item.Group];
        const tk::Bounds at{item.At.Left, item.At.Top, item.What == Kind::Group ? width : item.At.Width,
                            item.At.Height};
        switch (item.What) {
        case Kind::Group: {
            auto group = std::make_unique<tk::GroupBox>(in, at, item.Caption);
            groups[item.Index] = group.get();
            decor_.push_back(std::move(group));
            break;
        }
        case Kind::Label:
            decor_.push_back(std::make_unique<tk::Label>(in, at, item.Caption,
                                                         tk::Label::Options{false, true, tk::Alignment::Left, false, true}));
            break;
        case Kind::Box:
            boxes_[item.Index] = std::make_unique<tk::CheckBox>(in, at, item.Caption);
            boxes_[item.Index]->OnClick = [this](tk::Control&) { Changed(); };
            break;
        case Kind::List: {
            auto& list = lists_[item.Index] = std::make_unique<tk::ComboBox>(in, at);
            if (item.Index == Place)
                for (const wchar_t* place : Places)
                    list->Add(place);
            if (item.Index >= CapsPolicy)
                for (const wchar_t* policy : Policies)
                    list->Add(policy);
            list->OnChange = [this](tk::ComboBox&) { Changed(); };
            break;
        }
        case Kind::ShowMe:
            showMe_ = std::make_unique<tk::Button>(in, at, item.Caption);
            showMe_->OnClick = [this](tk::Control&) {
                // The first key the notice is for; Caps Lock where none is.
                const LockKeySettings shown = Shown();
                const auto key = std::find_if(std::begin(WatchedLocks), std::end(WatchedLocks),
                                              [&](LockKey lock) { return HasLock(shown.Notice, lock); });
                watch_.ShowSample(key == std::end(WatchedLocks) ? LockKey::Caps : *key);
            };
            break;
        case Kind::Sound:
            sounds_[item.Index] = std::make_unique<tk::Edit>(in, at);
            sounds_[item.Index]->SetCue(L"the built-in tone");
            sounds_[item.Index]->OnDone = [this](tk::Edit&) { Changed(); };
            break;
        case Kind::Browse:
            browse_[item.Index] = std::make_unique<tk::Button>(in, at, item.Caption);
            browse_[item.Index]->OnClick = [this, index = item.Index](tk::Control&) { Browse(*sounds_[index]); };
            break;
        }
    }
    Refresh();
}

void LockKeysPage::ShowNumber(List list, std::uint32_t value)
{
    std::vector<std::uint32_t>& numbers = numbers_[list == Time ? 0 : 1];
    const auto at = std::lower_bound(numbers.begin(), numbers.end(), value);
    if (at == numbers.end() || *at != value)
        numbers.insert(at, value);
    tk::ComboBox& box = *lists_[list];
    if (box.Count() != numbers.size()) {
        box.Clear();
        for (const std::uint32_t number : numbers)
            box.Add(NumberText(list, number).c_str());
    }
    box.Select(static_cast<int>(std::lower_bound(numbers.begin(), numbers.end(), value) - numbers.begin()));
}

std::uint32_t LockKeysPage::NumberShown(List list) const
{
    const std::vector<std::uint32_t>& numbers = numbers_[list == Time ? 0 : 1];
    const auto chosen = static_cast<std::size_t>(std::max(0, lists_[list]->Selected()));
    return chosen < numbers.size() ? numbers[chosen] : numbers.front();
}

void LockKeysPage::Refresh()
{
    if (!lists_[Place])
        return;
    const LockKeySettings& settings = watch_.Settings();
    filling_ = true;
    for (const LockKey key : WatchedLocks) {
        const std::size_t i = LockIndex(key);
        boxes_[NoticeBox[i]]->SetChecked(HasLock(settings.Notice, key));
        boxes_[TrayBox[i]]->SetChecked(HasLock(settings.TrayIcons, key));
        lists_[PolicyList[i]]->Select(static_cast<int>(settings.PolicyOf(key)));
    }
    lists_[Place]->Select(static_cast<int>(settings.NoticePosition));
    ShowNumber(Time, settings.NoticeMs);
    ShowNumber(Opacity, settings.NoticeOpacity);
    boxes_[AllMonitors]->SetChecked(settings.NoticeAllMonitors);
    boxes_[OverFullScreen]->SetChecked(settings.NoticeOverFullScreen);
    boxes_[OnlyWhileOn]->SetChecked(settings.TrayIconsOnlyWhileOn);
    boxes_[Sound]->SetChecked(settings.Sound);
    sounds_[0]->SetValue(settings.SoundOn);
    sounds_[1]->SetValue(settings.SoundOff);
    filling_ = false;
}

LockKeySettings LockKeysPage::Shown() const
{
    LockKeySettings settings;
    settings.Notice = 0;
    for (const LockKey key : WatchedLocks) {
        const std::size_t i = LockIndex(key);
        if (boxes_[NoticeBox[i]]->Checked())
            settings.Notice |= LockBit(key);
        if (boxes_[TrayBox[i]]->Checked())
            settings.TrayIcons |= LockBit(key);
        settings.SetPolicy(key, static_cast<LockPolicy>(std::clamp(lists_[PolicyList[i]]->Selected(), 0, 2)));
    }
    settings.NoticePosition = static_cast<std::uint32_t>(std::clamp(lists_[Place]->Selected(), 0, 8));
    settings.NoticeMs = NumberShown(Time);
    settings.NoticeOpacity = NumberShown(Opacity);
    settings.NoticeAllMonitors = boxes_[AllMonitors]->Checked();
    settings.NoticeOverFullScreen = boxes_[OverFullScreen]->Checked();
    settings.TrayIconsOnlyWhileOn = boxes_[OnlyWhileOn]->Checked();
    settings.Sound = boxes_[Sound]->Checked();
    // No longer than a stored path is read back.
    settings.SoundOn = sounds_[0]->Value().substr(0, LongestSoundPath);
    settings.SoundOff = sounds_[1]->Value().substr(0, LongestSoundPath);
    return settings;
}

void LockKeysPage::Changed()
{
    if (filling_)
        return;
    watch_.SetSettings(Shown(), settingsKey_.Open());
}

void LockKeysPage::Browse(tk::Edit& field)
{
    static const wchar_t Filter[] = L"Wave sounds (*.wav)\0*.wav\0";
    const auto chosen =
        tk::ChooseFileToOpen(field.OwnerForm().Handle(), std::wstring(Filter, std::size(Filter) - 1), field.Value());
    if (!chosen)
        return;
    field.SetValue(*chosen);
    Changed();
}

}  // namespace corvello
