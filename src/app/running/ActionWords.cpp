#include "app/running/ActionWords.h"

#include "core/SingleInstance.h"
#include "toolkit/Application.h"
#include "toolkit/Log.h"

namespace corvello {
namespace {

ModeResult End(bool succeeded, ActionExitCode code)
{
    return ModeResult{succeeded, true, static_cast<int>(code)};
}

}  // namespace

ActionRequests::ActionRequests(const AppBase& application, ActionRunner& runner, WaitingActions& waiting)
    : application_(application), runner_(runner), waiting_(waiting)
{
}

void ActionRequests::Take(const commandline::Request& request)
{
    if (!request.Action) {
        waiting_.CancelLater();
        return;
    }
    const ActionEntry* entry = request.Action;
    const ActionWords& words = request.Words;
    std::optional<LaterTime> when;
    if (words.Wait == WaitKind::In)
        when = LaterTime{DueKind::In, words.Seconds, 0};
    else if (words.Wait == WaitKind::At)
        when = LaterTime{DueKind::At, 0, words.ClockMinute};
    if (entry->Operation == ActionOperation::KeepAwake) {
        // For Keep Awake the time says how long it holds.
        if (words.Off)
            waiting_.StopAwake();
        else
            waiting_.StartAwake(when, words.ScreenOn.value_or(false));
        return;
    }
    if (when)
        waiting_.SetLater(*entry, *when);
    else
        runner_.Run(*entry, ActionTrigger::HandedOver);
}

void ActionRequests::TakeFromLoop(const commandline::Request& request)
{
    tk::Application::Current().Post([this, request] { Take(request); });
}

void ActionRequests::TakePending()
{
    if (!pending_)
        return;
    TakeFromLoop(*pending_);
    pending_.reset();
}

std::optional<ActionExitCode> ActionRequests::HandOver(const commandline::Request& request)
{
    const std::u16string text = commandline::HandOverText(request);
    const std::wstring& windowClass = application_.MainWindowClass();
    const std::wstring& windowTitle = application_.MainWindowTitle();
    switch (HandOverToInstance(windowClass, windowTitle, commandline::HandOverTag, text.data(),
                               static_cast<std::uint32_t>(text.size() * sizeof(char16_t)),
                               static_cast<LRESULT>(commandline::HandOverTag), application_.HandOverWait)) {
    case HandOverResult::Taken:
        return ActionExitCode::Done;
    case HandOverResult::NotTaken:
        return ActionExitCode::Failed;
    case HandOverResult::Refused:
        // A copy on its way out (a stop, an install) refuses what it would
        // not get to: once it has gone, the request is this start's. A copy
        // that stays (one too old to know the word or its words) keeps it
        // refused.
        if (!WaitForInstanceToEnd(application_.HandOverWait, windowClass, windowTitle))
            return ActionExitCode::Failed;
        break;
    case HandOverResult::NoCopy:
        break;
    }
    return std::nullopt;
}

ModeResult ActionRequests::Start(const std::wstring& name, const ActionWords& words)
{
    try {
        const ActionEntry* named = commandline::FindAction(name);
        if (!named) {
            // The name as given, cut short: it comes from anyone.
            tk::LogFailure(L"the action word: no action is named \"" + name.substr(0, 40) + L"\"",
                           ERROR_INVALID_PARAMETER);
            return End(false, ActionExitCode::UnknownName);
        }
        if (!commandline::WordsFit(*named, words)) {
            tk::LogFailure(L"the action word: the words beside \"" + commandline::NameOf(*named) +
                               L"\" will not do (malformed, twice, not for it, or unknown)",
                           ERROR_INVALID_PARAMETER);
            return End(false, ActionExitCode::MalformedWord);
        }
        const commandline::Request request{named, words};
        if (const auto handedOver = HandOver(request))
            return End(*handedOver == ActionExitCode::Done, *handedOver);
        if (commandline::Lasts(*named, words)) {
            // This start becomes the program, and sets it once it runs.
            pending_ = request;
            return ModeResult{true, false, 0};
        }
        // Keep Awake's "/off" with none running: nothing holds.
        if (words.Off)
            return End(true, ActionExitCode::Done);
        return End(true, RunHere(*named) ? ActionExitCode::Done : ActionExitCode::Declined);
    } catch (...) {
        tk::LogCurrentException(L"the action word");
        return End(false, ActionExitCode::Failed);
    }
}

ModeResult ActionRequests::Cancel(const ActionWords& words)
{
    if (words.Malformed)
        return AppBase::RefuseWordsBeside(L"/cancel takes no other word");
    try {
        // With no copy running (or once it has gone), nothing waits.
        const auto handedOver = HandOver(commandline::Request{});
        return End(!handedOver || *handedOver == ActionExitCode::Done, handedOver.value_or(ActionExitCode::Done));
    } catch (...) {
        tk::LogCurrentException(L"/cancel");
        return End(false, ActionExitCode::Failed);
    }
}

bool ActionRequests::RunHere(const ActionEntry& entry)
{
    // The display requests go to the application window, which a run would
    // have made; what they post to it is handled before the program ends.
    auto& application = tk::Application::Current();
    application.Initialize();
    const ActionOutcome outcome = runner_.Run(entry, ActionTrigger::CommandLine);
    application.ProcessMessages();
    return outcome == ActionOutcome::Ran;
}

}  // namespace corvello
