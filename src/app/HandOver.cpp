#include "app/HandOver.h"

#include "actions/CommandLineActions.h"
#include "app/CorvelloApp.h"
#include "core/Messages.h"
#include "toolkit/Application.h"

namespace corvello {

LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message)
{
    const auto request = message ? commandline::ReadHandOver(message->dwData, message->lpData, message->cbData)
                                 : std::nullopt;
    // A program on its way out would not get to it (the hand-over is sent,
    // so it comes before a request to end posted earlier).
    if (!request || !App || App->Leaving())
        return 0;
    // Run from the loop: the starting copy waits for the answer, not for a
    // question.
    tk::Application::Current().Post([request = *request] {
        if (App)
            App->TakeRequest(request);
    });
    return static_cast<LRESULT>(commandline::HandOverTag);
}

}  // namespace corvello
