#include "app/timer/TimerPage.h"

#include "core/Clock.h"
#include "core/DueTime.h"
#include "toolkit/Concat.h"

namespace corvello {
namespace {

enum WhenChoice { InChoice, AtChoice };
// The page's buttons, by their tags.
enum ButtonTag { StartTimerTag = 1, CancelTimerTag, StartAwakeTag, StopAwakeTag };

// Keep Awake's choices: until stopped, then these many minutes.
constexpr int AwakeMinutes[] = {0, 15, 30, 60, 120, 240, 480};
constexpr const wchar_t* AwakeCaptions[] = {L"until stopped", L"15 minutes", L"30 minutes", L"1 hour",
                                             L"2 hours",       L"4 hours",    L"8 hours"};

constexpr const wchar_t* InHint = L"A number with s, m or h: 90s, 15m, 2h. A plain number counts minutes.";
constexpr const wchar_t* AtHint = L"A time of day, 24-hour: 23:30. The next time it comes.";

// A label that names the field after it (its "&" marks the access key), or
// wrapped text.
std::unique_ptr<tk::Label> NewLabel(tk::Container& parent, const tk::Bounds& bounds, const wchar_t* text,
                                    bool wrapped = false)
{
    return std::make_unique<tk::Label>(parent, bounds, text,
                                       tk::Label::Options{wrapped, !wrapped, tk::Alignment::Left, false, !wrapped});
}

}  // namespace

std::unique_ptr<tk::Button> TimerPage::NewButton(tk::Container& parent, const tk::Bounds& bounds,
                                                 const wchar_t* caption, int tag)
{
    auto button = std::make_unique<tk::Button>(parent, bounds, caption);
    button->Tag = tag;
    button->OnClick = [this](tk::Control& sender) { Clicked(sender.Tag); };
    return button;
}

void TimerPage::Build(tk::Panel& page, int width)
{
    for (const ActionEntry& entry : catalogue::Actions)
        if (entry.Operation != ActionOperation::None && entry.Operation != ActionOperation::KeepAwake)
            actions_.push_back(&entry);

    constexpr int margin = OptionsPage::Margin;
    // Inside a group: 12 from its sides, buttons on the right.
    const int right = width - 12;
    timerGroup_ = std::make_unique<tk::GroupBox>(page, tk::Bounds{margin, 8, width, 160}, L"Run an action later");
    tk::GroupBox& timer = *timerGroup_;
    labels_.push_back(NewLabel(timer, {12, 27, 52, 15}, L"&Action:"));
    action_ = std::make_unique<tk::ComboBox>(timer, tk::Bounds{72, 23, 176, 240});
    for (const ActionEntry* entry : actions_)
        action_->Add(entry->Caption);
    action_->Select(0);
    labels_.push_back(NewLabel(timer, {12, 56, 52, 15}, L"&Run:"));
    whenKind_ = std::make_unique<tk::ComboBox>(timer, tk::Bounds{72, 52, 56, 80});
    whenKind_->Add(L"in");
    whenKind_->Add(L"at");
    whenKind_->Select(InChoice);
    whenKind_->OnChange = [this](tk::ComboBox&) { ShowWhenHint(); };
    labels_.push_back(NewLabel(timer, {136, 56, 44, 15}, L"&Time:"));
    when_ = std::make_unique<tk::Edit>(timer, tk::Bounds{184, 52, 64, 22}, L"15m");
    start_ = NewButton(timer, {256, 51, 72, 25}, L"&Start", StartTimerTag);
    whenHint_ = NewLabel(timer, {72, 80, right - 72, 28}, InHint, true);
    waiting_ = NewLabel(timer, {12, 124, right - 72 - 8 - 12, 28}, L"", true);
    cancel_ = NewButton(timer, {right - 72, 122, 72, 25}, L"Ca&ncel", CancelTimerTag);

    awakeGroup_ = std::make_unique<tk::GroupBox>(page, tk::Bounds{margin, 176, width, 116}, L"Keep awake");
    tk::GroupBox& awake = *awakeGroup_;
    labels_.push_back(NewLabel(awake, {12, 27, 52, 15}, L"&For:"));
    awakeFor_ = std::make_unique<tk::ComboBox>(awake, tk::Bounds{72, 23, 176, 200});
    for (const wchar_t* caption : AwakeCaptions)
        awakeFor_->Add(caption);
    awakeFor_->Select(0);
    screenOn_ = std::make_unique<tk::CheckBox>(awake, tk::Bounds{72, 54, 176, 17}, L"&Keep the screen on");
    startAwake_ = NewButton(awake, {right - 124, 22, 124, 25}, L"Start keeping a&wake", StartAwakeTag);
    stopAwake_ = NewButton(awake, {right - 124, 51, 124, 25}, L"Sto&p keeping awake", StopAwakeTag);
    awakeStatus_ = NewLabel(awake, {12, 82, right - 12, 28}, L"", true);

    labels_.push_back(NewLabel(page, {margin, 302, width, 42},
                               L"Hibernate, Log Off, Restart, Shut Down and Power Off warn in a balloon five "
                               L"minutes before they run, and count down their last 30 seconds in a window. "
                               L"Nothing set here is kept when Corvello ends.",
                               true));
    Refresh();
}

void TimerPage::Enter()
{
    StartTimer();
}

void TimerPage::ShowWhenHint()
{
    whenHint_->SetCaption(whenKind_->Selected() == AtChoice ? AtHint : InHint);
}

void TimerPage::Refresh()
{
    if (!waiting_)
        return;
    const ActionTimer& timer = timer_;
    waiting_->SetCaption(timer.Waiting() ? tk::Concat({L"Waiting: ", timer.Status()}) : L"Nothing waits.");
    cancel_->SetEnabled(timer.Waiting());
    const KeepAwake& awake = awake_;
    awakeStatus_->SetCaption(awake.Active() ? awake.Status() : L"The computer sleeps when its power plan says.");
    stopAwake_->SetEnabled(awake.Active());
}

void TimerPage::SelectAction(const ActionEntry& entry)
{
    for (std::size_t i = 0; i < actions_.size(); ++i)
        if (actions_[i] == &entry)
            action_->Select(static_cast<int>(i));
    // At a time: the next full hour, ready to be typed over.
    whenKind_->Select(AtChoice);
    ShowWhenHint();
    when_->SetValue(ClockTimeText((MinuteOfDay(ClocksNow().LocalMs) / 60 + 1) * 60));
    when_->SetFocus();
    ::SendMessageW(when_->Handle(), EM_SETSEL, 0, -1);
}

void TimerPage::Clicked(int tag)
{
    switch (tag) {
    case StartTimerTag:
        StartTimer();
        break;
    case CancelTimerTag:
        timer_.Cancel();
        break;
    case StartAwakeTag: {
        const int chosen = awakeFor_->Selected();
        std::optional<LaterTime> until;
        if (chosen > 0 && static_cast<std::size_t>(chosen) < std::size(AwakeMinutes))
            until = LaterTime{DueKind::In, static_cast<std::uint32_t>(AwakeMinutes[chosen]) * 60, 0};
        awake_.Start(until, screenOn_->Checked());
        break;
    }
    case StopAwakeTag:
        awake_.Stop();
        break;
    default:
        break;
    }
}

void TimerPage::StartTimer()
{
    const int chosen = action_->Selected();
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= actions_.size())
        return;
    const std::wstring text = when_->Value();
    const bool at = whenKind_->Selected() == AtChoice;
    const auto minute = ParseClockTime(text);
    const auto seconds = ParseDuration(text);
    if (at ? !minute : !seconds) {
        whenHint_->SetCaption(tk::Concat({L"\"", text, at ? L"\" is no time of day. " : L"\" is no duration. ",
                                            at ? AtHint : InHint}));
        when_->SetFocus();
        return;
    }
    ShowWhenHint();
    timer_.Set(*actions_[static_cast<std::size_t>(chosen)],
               LaterTime{at ? DueKind::At : DueKind::In, seconds.value_or(0), minute.value_or(0)});
}

}  // namespace corvello
