// The Options page "Timer": an action set to run later, in a duration or at
// a clock time, with what waits now and its Cancel; and Keep Awake, until
// stopped or for a while, with the screen kept on or not.
#pragma once

#include <memory>
#include <vector>

#include "app/ActionTimer.h"
#include "app/KeepAwake.h"
#include "app/OptionsPage.h"

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
    std::unique_ptr<tk::GroupBox> grpTimer_;
    std::unique_ptr<tk::ComboBox> cbAction_;
    std::unique_ptr<tk::ComboBox> cbWhen_;
    std::unique_ptr<tk::Edit> edWhen_;
    std::unique_ptr<tk::Label> lbWhenHint_;
    std::unique_ptr<tk::Button> btnStart_;
    std::unique_ptr<tk::Label> lbWaiting_;
    std::unique_ptr<tk::Button> btnCancel_;
    std::unique_ptr<tk::GroupBox> grpAwake_;
    std::unique_ptr<tk::ComboBox> cbFor_;
    std::unique_ptr<tk::CheckBox> chbScreen_;
    std::unique_ptr<tk::Button> btnAwake_;
    std::unique_ptr<tk::Button> btnStopAwake_;
    std::unique_ptr<tk::Label> lbAwake_;
};

}  // namespace corvello
