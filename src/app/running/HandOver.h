// The running copy's side of the action word: a request a starting copy
// hands over in a WM_COPYDATA (an action, now or later, Keep Awake, or
// calling off what waits).
#pragma once

#include <windows.h>

#include "app/running/ActionWords.h"

namespace corvello {

// One the command-line rules accept is taken, answered with their tag and
// carried out from the loop: an action for now as the tray menu runs it
// with the main window hidden (the confirmations box decides the question,
// which names the program; the lock keys' LEDs follow); anything else is
// left alone and answered 0, as is everything while the program is leaving.
LRESULT TakeHandedOverAction(const COPYDATASTRUCT* message, bool leaving, ActionRequests& requests);

}  // namespace corvello
