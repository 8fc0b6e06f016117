// The small window that counts down the last seconds before an irreversible
// action set for later runs. Cancel has the focus: Enter, Space, Escape, the
// close box or a click on it calls the action off.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "actions/ActionCatalogue.h"
#include "toolkit/Controls.h"
#include "toolkit/Form.h"

namespace corvello {

class CountdownWindow : public tk::Form {
public:
    explicit CountdownWindow(const ActionEntry& entry);
    ~CountdownWindow() override;

    // Shows the seconds left and puts the window in front of the others.
    void Present(std::int64_t secondsLeft);
    void ShowSeconds(std::int64_t secondsLeft);
    // The user called it off; runs from the loop, so the handler may close
    // the window.
    std::function<void()> OnCancel;

    static constexpr const wchar_t* ClassName = L"TfrmCountdown";

protected:
    void CreateControls() override;
    bool DoCloseQuery() override;

private:
    void Cancel();

    const ActionEntry& entry_;
    std::unique_ptr<tk::Image> icon_;
    std::unique_ptr<tk::Label> countdown_;
    std::unique_ptr<tk::Label> hint_;
    std::unique_ptr<tk::Button> cancel_;
};

}  // namespace corvello
