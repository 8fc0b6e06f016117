#include "app/HandOver.h"

#include "actions/CommandLineActions.h"
#include "app/CorvelloApp.h"
#include "toolkit/Application.h"

namespace corvello {

LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message)
{
    const NamedAction* named =
        message ? commandline::ReadHandOver(message->dwData, message->lpData, message->cbData) : nullptr;
    const ActionEntry* entry = named ? catalogue::FindAction(named->Tag) : nullptr;
    // A program on its way out would not get to it.
    if (!entry || !App || App->Terminated())
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
