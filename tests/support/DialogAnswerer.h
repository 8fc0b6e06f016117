// The program's message dialog, looked at and answered by a timer while it
// shows: for tests that run the program's windows in their own process.
#pragma once

#include <windows.h>

#include <string>

#include "support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/MessageDialog.h"
#include "toolkit/Timer.h"

namespace testsupport {

// The program's active form when it is a message dialog (known by its window
// class: the program carries no run-time type information), else null.
inline tk::MessageDialog* ActiveMessageDialog()
{
    tk::Form* form = tk::Application::Current().ActiveForm();
    if (!form || !form->Handle() || ClassOf(form->Handle()) != L"TMessageForm")
        return nullptr;
    return static_cast<tk::MessageDialog*>(form);
}

// The program's question, looked at and answered by a timer while it shows.
class Answerer {
public:
    explicit Answerer(tk::DialogButton answer) : timer_(30)
    {
        timer_.OnTimer = [this, answer](tk::Timer& timer) {
            auto* dialog = ActiveMessageDialog();
            if (!dialog || !dialog->Visible())
                return;
            timer.SetEnabled(false);
            ++Shown;
            Caption = dialog->Caption();
            Message = dialog->MessageLabel()->Caption();
            Icon = dialog->IconImage()->Icon();
            NoIsDefault = dialog->ButtonFor(tk::DialogButton::No)->IsDefault();
            dialog->ButtonFor(answer)->Click();
        };
    }

    int Shown = 0;
    std::wstring Caption;
    std::wstring Message;
    HICON Icon = nullptr;
    bool NoIsDefault = false;

private:
    tk::Timer timer_;
};

}  // namespace testsupport
