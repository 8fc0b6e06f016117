// Any command line: the splitting, the work-mode choice and the words beside
// the action word never crash, and what they return keeps its promises. The
// same bytes, as a handed-over message, never make the receiver take what a
// starting copy does not write.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "actions/CommandLineActions.h"
#include "core/CommandLine.h"
#include "core/DueTime.h"
#include "core/Text.h"

namespace {

// Words that are not malformed hold values in range.
void CheckWords(const corvello::ActionWords& words)
{
    if (words.Malformed)
        return;
    if (words.Wait == corvello::WaitKind::In &&
        (words.Seconds < corvello::ShortestWaitSeconds || words.Seconds > corvello::LongestWaitSeconds))
        std::abort();
    if (words.Wait == corvello::WaitKind::At && (words.ClockMinute < 0 || words.ClockMinute >= 1440))
        std::abort();
}

void CheckCommandLine(const std::wstring& line)
{
    const auto elements = corvello::SplitCommandLine(line);
    const auto params = corvello::CollectParams(elements);
    // The program's own path only ever takes leading pieces away.
    const auto own = corvello::CollectParams(elements, L"C:\\Program Files\\Reset Tools\\corvello.exe");
    if (own.size() > params.size() || !std::equal(own.rbegin(), own.rend(), params.rbegin()))
        std::abort();
    const auto choice = corvello::ChooseWork(params);
    const auto mode = choice.Mode;

    std::size_t total = 0;
    for (const auto& element : elements)
        total += element.size();
    // Splitting only ever drops characters.
    if (total > line.size() || (!line.empty() && elements.empty()))
        std::abort();
    for (const auto& param : params)
        if (param.empty())
            std::abort();
    if (mode < corvello::WorkMode::Default || mode > corvello::WorkMode::Cancel)
        std::abort();
    if (params.empty() && mode != corvello::WorkMode::Default)
        std::abort();
    if (mode != corvello::WorkMode::Action && !choice.ActionName.empty())
        std::abort();
    if (mode == corvello::WorkMode::Action) {
        // The name is what follows the word in one of the arguments.
        bool found = false;
        for (const auto& param : params) {
            const auto name = corvello::ActionWordName(param);
            found = found || (name && *name == choice.ActionName && param.size() == name->size() + 4);
        }
        if (!found)
            std::abort();
    }
    if (const auto* named = corvello::commandline::FindAction(choice.ActionName))
        if (corvello::LowerAscii(choice.ActionName) != corvello::commandline::NameOf(*named))
            std::abort();
    CheckWords(choice.Words);
    // "/cancel" and "/options" stand alone or are refused; beside the
    // action word, every argument is a word with its sign.
    if ((mode == corvello::WorkMode::Cancel || mode == corvello::WorkMode::Options) &&
        choice.Words.Malformed != (params.size() > 1))
        std::abort();
    if (mode == corvello::WorkMode::Action && !choice.Words.Malformed)
        for (const auto& param : params)
            if (param[0] != L'/' && param[0] != L'-')
                std::abort();
    // A request whose words fit goes over and comes back as it was.
    if (const auto* named = corvello::commandline::FindAction(choice.ActionName);
        named && mode == corvello::WorkMode::Action && corvello::commandline::WordsFit(*named, choice.Words)) {
        const std::u16string text = corvello::commandline::HandOverText({named, choice.Words});
        const auto back = corvello::commandline::ReadHandOver(corvello::commandline::HandOverTag, text.data(),
                                                              text.size() * sizeof(char16_t));
        if (!back || back->Action != named || back->Words.Wait != choice.Words.Wait ||
            back->Words.ScreenOn != choice.Words.ScreenOn || back->Words.Off != choice.Words.Off)
            std::abort();
    }
    for (const auto& param : params) {
        // What parses is in range and is written back as the same.
        if (const auto seconds = corvello::ParseDuration(param)) {
            if (*seconds < corvello::ShortestWaitSeconds || *seconds > corvello::LongestWaitSeconds ||
                corvello::ParseDuration(corvello::DurationWord(*seconds)) != seconds)
                std::abort();
        }
        if (const auto minute = corvello::ParseClockTime(param)) {
            if (*minute < 0 || *minute >= 1440 || corvello::ParseClockTime(corvello::ClockTimeText(*minute)) != minute)
                std::abort();
        }
    }
}

void CheckHandOver(const std::uint8_t* data, std::size_t size)
{
    // The first bytes choose the tag: the program's or another.
    if (size < 1)
        return;
    const std::uintptr_t tag = (data[0] & 1) ? corvello::commandline::HandOverTag : data[0];
    const auto request = corvello::commandline::ReadHandOver(tag, data + 1, size - 1);
    if (!request)
        return;
    // Taken only when it is byte for byte what a starting copy writes, and
    // only with words that fit.
    if (request->Action && !corvello::commandline::WordsFit(*request->Action, request->Words))
        std::abort();
    CheckWords(request->Words);
    const std::u16string text = corvello::commandline::HandOverText(*request);
    if (tag != corvello::commandline::HandOverTag || text.size() * sizeof(char16_t) != size - 1 ||
        std::memcmp(text.data(), data + 1, size - 1) != 0)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a UTF-16 code unit, as Windows hands the line over.
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    CheckCommandLine(line);
    CheckHandOver(data, size);
    return 0;
}
