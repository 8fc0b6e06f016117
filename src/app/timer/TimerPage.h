// The Options page "Timer": an action set to run later, in a duration or at
// a clock time, with what waits now and its Cancel; and Keep Awake, until
// stopped or for a while, with the screen kept on or not.
#pragma once

#include <memory>
#include <vector>

#include "app/timer/ActionTimer.h"
#include "app/timer/KeepAwake.h"
#include "app/options/OptionsPage.h"

namespace corvello {

class TimerPage : public OptionsPage {
public:
    TimerPage(ActionTimer& timer, KeepAwake& awake) : timer_(timer), awake_(awake) {}
    const wchar_t* Caption() const override { return L"Timer"; }
    void Build(tk::Panel& page, int width) override;
    void Refresh() override;
    // Starts the timer.
    void Enter() override;
    // The action comes forward to be set for a clock time.
    void SelectAction(const ActionEntry& entry) override;

private:
    std::unique_ptr<tk::Button> NewButton(tk::Container& parent, const tk::Bounds& bounds, const wchar_t* caption,
                                          int tag);
    // One handler for the page's buttons, by their tags.
    void Clicked(int tag);
    void StartTimer();
    void ShowWhenHint();

    ActionTimer& timer_;
    KeepAwake& awake_;
    std::vector<const ActionEntry*> actions_;
    // The labels that only name what is beside them.
    std::vector<std::unique_ptr<tk::Label>> labels_;
    std::unique_ptr<tk::GroupBox> timerGroup_;
    std::unique_ptr<tk::ComboBox> action_;
    std::unique_ptr<tk::ComboBox> whenKind_;
    std::unique_ptr<tk::Edit> when_;
    std::unique_ptr<tk::Label> whenHint_;
    std::unique_ptr<tk::Button> start_;
    std::unique_ptr<tk::Label> waiting_;
    std::unique_ptr<tk::Button> cancel_;
    std::unique_ptr<tk::GroupBox> awakeGroup_;
    std::unique_ptr<tk::ComboBox> awakeFor_;
    std::unique_ptr<tk::CheckBox> screenOn_;
    std::unique_ptr<tk::Button> startAwake_;
    std::unique_ptr<tk::Button> stopAwake_;
    std::unique_ptr<tk::Label> awakeStatus_;
};

}  // namespace corvello
