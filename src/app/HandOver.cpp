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
    // A program on its way out would not get to it: one ending already, or
    // one with a request to end waiting in its queue (the hand-over is sent,
    // so it comes before what was posted earlier).
    MSG waiting{};
    const auto requested = [&waiting](UINT message) {
        return ::PeekMessageW(&waiting, nullptr, message, message, PM_NOREMOVE) != FALSE;
    };
    if (!request || !App || App->Terminated() || requested(WM_INSTANCE_STOP) || requested(WM_APP_TERMINATE))
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
