// Any command line: the splitting and the work-mode choice never crash, and
// what they return keeps its promises. The same bytes, as a handed-over
// message, never make the receiver take what a starting copy does not write.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "actions/CommandLineActions.h"
#include "core/CommandLine.h"
#include "core/Text.h"

namespace {

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
    if (mode < corvello::WorkMode::Default || mode > corvello::WorkMode::Action)
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
        if (corvello::LowerAscii(choice.ActionName) != named->Name)
            std::abort();
}

void CheckHandOver(const std::uint8_t* data, std::size_t size)
{
    // The first bytes choose the tag: the program's or another.
    if (size < 1)
        return;
    const std::uintptr_t tag = (data[0] & 1) ? corvello::commandline::HandOverTag : data[0];
    const auto* named = corvello::commandline::ReadHandOver(tag, data + 1, size - 1);
    if (!named)
        return;
    // Taken only when it is byte for byte what a starting copy writes.
    const std::u16string text = corvello::commandline::HandOverText(*named);
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
