#include "app/HandOver.h"

#include "core/Messages.h"
#include "toolkit/Application.h"

namespace corvello {

LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message, bool leaving,
                             std::function<void(const commandline::Request&)> take)
{
    const auto request = message ? commandline::ReadHandOver(message->dwData, message->lpData, message->cbData)
                                 : std::nullopt;
    // A program on its way out would not get to it (the hand-over is sent,
    // so it comes before a request to end posted earlier).
    if (!request || leaving || !take)
        return 0;
    // Run from the loop: the starting copy waits for the answer, not for a
    // question.
    tk::Application::Current().Post([request = *request, take = std::move(take)] { take(request); });
    return static_cast<LRESULT>(commandline::HandOverTag);
}

}  // namespace corvello
