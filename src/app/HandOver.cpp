#include "app/HandOver.h"

#include "actions/CommandLineActions.h"
#include "app/CorvelloApp.h"
#include "core/Messages.h"
#include "toolkit/Application.h"

namespace corvello {

LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message)
{
    const NamedAction* named =
        message ? commandline::ReadHandOver(message->dwData, message->lpData, message->cbData) : nullptr;
    const ActionEntry* entry = named ? catalogue::FindAction(named->Tag) : nullptr;
    // A program on its way out would not get to it: one ending already, or
    // one with a request to end waiting in its queue (the hand-over is sent,
    // so it comes before what was posted earlier).
    MSG waiting{};
    const auto requested = [&waiting](UINT message) {
        return ::PeekMessageW(&waiting, nullptr, message, message, PM_NOREMOVE) != FALSE;
    };
    if (!entry || !App || App->Terminated() || requested(WM_INSTANCE_STOP) || requested(WM_APP_TERMINATE))
        return 0;
    // Run from the loop: the starting copy waits for the answer, not for the
    // question.
    tk::Application::Current().Post([entry] {
        if (App)
            App->Runner().Run(*entry, ActionTrigger::HandedOver);
    });
    return static_cast<LRESULT>(commandline::HandOverTag);
}

}  // namespace corvello
