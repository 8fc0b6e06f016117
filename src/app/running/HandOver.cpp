#include "app/running/HandOver.h"

#include "core/Messages.h"

namespace corvello {

LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message, bool leaving, ActionRequests& requests)
{
    const auto request = message ? commandline::ReadHandOver(message->dwData, message->lpData, message->cbData)
                                 : std::nullopt;
    // A program on its way out would not get to it (the hand-over is sent,
    // so it comes before a request to end posted earlier).
    if (!request || leaving)
        return 0;
    requests.TakeFromLoop(*request);
    return static_cast<LRESULT>(commandline::HandOverTag);
}

}  // namespace corvello
