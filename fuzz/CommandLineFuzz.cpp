// Any command line: the splitting and the work-mode choice never crash, and
// what they return keeps its promises.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/CommandLine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a UTF-16 code unit, as Windows hands the line over.
    std::wstring line;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        line += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    const auto elements = corvello::SplitCommandLine(line);
    const auto params = corvello::CollectParams(elements);
    const auto mode = corvello::ChooseWorkMode(params);

    std::size_t total = 0;
    for (const auto& element : elements)
        total += element.size();
    // Splitting only ever drops characters.
    if (total > line.size() || (!line.empty() && elements.empty()))
        std::abort();
    for (const auto& param : params)
        if (param.empty())
            std::abort();
    if (mode < corvello::WorkMode::Default || mode > corvello::WorkMode::Stop)
        std::abort();
    if (params.empty() && mode != corvello::WorkMode::Default)
        std::abort();
    return 0;
}
