// What a command line asks of the program's actions, in the start that reads
// it and in the running copy it is handed to: the action word (/do:NAME and
// the words beside it), "/cancel", and a request handed over by another start.
#pragma once

#include <optional>
#include <string>

#include "actions/CommandLineActions.h"
#include "app/running/ActionRunner.h"
#include "core/AppBase.h"
#include "core/DueTime.h"

namespace corvello {

// What a request that waits asks of the program: the action set for later,
// and Keep Awake.
class WaitingActions {
public:
    virtual void SetLater(const ActionEntry& entry, const LaterTime& when) = 0;
    virtual void CancelLater() = 0;
    virtual void StartAwake(const std::optional<LaterTime>& until, bool screenOn) = 0;
    virtual void StopAwake() = 0;

protected:
    ~WaitingActions() = default;
};

class ActionRequests {
public:
    // The application gives the main window's class and title a running copy
    // is found by, and how long a hand-over waits.
    ActionRequests(const AppBase& application, ActionRunner& runner, WaitingActions& waiting);
    ActionRequests(const ActionRequests&) = delete;
    ActionRequests& operator=(const ActionRequests&) = delete;

    // The action word. An unknown name, or words beside it that will not
    // do, end the start at once, logged. A running copy is handed the
    // request and the start ends once it took it. With none, an action that
    // waits (or Keep Awake) makes this start the program, which sets it once
    // it runs (TakePending); any other runs here as the tray menu would run
    // it with the window hidden, the stored confirmations setting deciding
    // the question, and the program ends without becoming the tray program
    // and without the instance mutex. The exit code is an ActionExitCode.
    ModeResult Start(const std::wstring& name, const ActionWords& words);
    // "/cancel": handed to the running copy, which calls off what waits.
    ModeResult Cancel(const ActionWords& words);
    // What a command line asks, here or handed over: an action now or
    // later, Keep Awake, or calling off what waits.
    void Take(const commandline::Request& request);
    // The request taken from the loop (a starting copy that handed it over
    // waits for the answer, not for a question).
    void TakeFromLoop(const commandline::Request& request);
    // What this start was asked for, once the program runs: taken from the
    // loop, once the window and its tray icon are there.
    void TakePending();

private:
    // Hands a request to the running copy; nullopt when there is none (or
    // it went on its way out), else the start's exit code.
    std::optional<ActionExitCode> HandOver(const commandline::Request& request);
    // Runs a named action in this process; false when the question was
    // answered No.
    bool RunHere(const ActionEntry& entry);

    const AppBase& application_;
    ActionRunner& runner_;
    WaitingActions& waiting_;
    // Asked of a start that became the program: set once it runs.
    std::optional<commandline::Request> pending_;
};

}  // namespace corvello
