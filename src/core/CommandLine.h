// The program's command line: splitting it into arguments the way Windows does
// for every program, and choosing the start-up work mode from the arguments.
// No Windows types here, so the whole path is tested and fuzzed natively.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvello {

enum class WorkMode : int {
    Undefined = 0,
    Default = 1,
    Settings = 2,
    Install = 3,
    Uninstall = 4,
    Startup = 5,
    Reset = 6,
    Stop = 7,
    Action = 8,
    Options = 9,  // /options: a start that shows the Options window
    Cancel = 10,  // /cancel: calls off the action that waits
};

// Splits a full command line (program name first) by the rules of
// CommandLineToArgvW: blanks and tabs separate; the program name ends at the
// next blank, or at the closing quote when it starts with one; elsewhere double
// quotes group, backslashes escape only quotes, and runs of quotes inside a
// quoted part count in threes. An empty line gives no elements here (Windows
// would substitute the module path, which the caller already knows).
std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine);

// The program's arguments: every element after the program name, up to the
// first empty one. A program path with blanks that was not quoted comes in
// pieces ("C:\Program Files\Reset Tools\tool.exe" gives "C:\Program",
// "Files\Reset" and "Tools\tool.exe"): where the name and the pieces after
// it, joined with a blank, name the module's own path, those pieces are the
// name, not arguments. Naming it is being the whole path or its end after a
// backslash (a start relative to a folder), with or without its ".exe", the
// letters A to Z in any case. Without a module path every element counts.
std::vector<std::wstring> CollectParams(const std::vector<std::wstring>& elements,
                                        std::wstring_view modulePath = {});

// The word that runs one action: "/do:" or "-do:" (the letters in any case)
// at the start of the argument, and the action's name after it. The name as
// the argument has it, which may be empty or no action's; nullopt for an
// argument that is not the word.
std::optional<std::wstring> ActionWordName(std::wstring_view param);

// The words beside the action word that say when it runs ("/in:15m",
// "/at:23:30") and how Keep Awake holds ("/screen:on", "/off"); "/" or "-"
// before each, the letters in any case.
enum class WaitKind { None, In, At };
struct ActionWords {
    WaitKind Wait = WaitKind::None;
    std::uint32_t Seconds = 0;  // In
    int ClockMinute = 0;        // At
    // "/screen:on" or "/screen:off"; without, the screen may turn off.
    std::optional<bool> ScreenOn;
    bool Off = false;           // "/off"
    // One of the words is not as the rules write it ("/in:5x", "/at:24:00",
    // "/screen:dim"), or comes twice, or "/in:" comes with "/at:"; or an
    // argument beside the word is none of them.
    bool Malformed = false;
};

// Takes one word, without its sign ("in:15m"), into the words; false when it
// is none of them. A word of theirs with a value that will not do, or one
// given before, marks the words malformed.
bool TakeActionWord(std::wstring_view word, ActionWords& words);
// The words among the arguments but the one at `word` (the action word, or
// "/cancel" or "/options"). Each of the others must be one of the words
// where `takesWords`, and there must be none where not: any other argument
// makes them malformed.
ActionWords ReadActionWords(const std::vector<std::wstring>& params, std::size_t word, bool takesWords);

// What the program's exit code says after the action word.
enum class ActionExitCode : int {
    Done = 0,         // the action ran here, or the running copy took it
    Declined = 1,     // the question was answered No
    UnknownName = 2,  // no action has that name: nothing ran, nothing showed
    MalformedWord = 2,  // a word beside it will not do: likewise
    Failed = 3,       // a running copy did not take it in time or refused it,
                      // or an error stopped it here (logged either way)
};

// The work mode, and for Action the name that followed the word.
struct WorkChoice {
    WorkMode Mode = WorkMode::Default;
    std::wstring ActionName;
    // For Action, Cancel and Options: the words beside it. "/cancel" and
    // "/options" take none; any argument beside them makes them malformed.
    ActionWords Words;
};

// The first argument that matches a rule decides; the rules in order are:
// "startup", "uninstall", "install", "reset", "stop" anywhere in the argument,
// then "c" or "s" as the whole argument, then the action word, then
// "/options" or "-options", then "/cancel" or "-cancel" as the whole
// argument (the letters in any case). No match at all gives Default. Once
// the action word, "/options" or "/cancel" has matched, the arguments
// beside it are read as its words, wherever they stand.
WorkChoice ChooseWork(const std::vector<std::wstring>& params);
WorkMode ChooseWorkMode(const std::vector<std::wstring>& params);

}  // namespace corvello
