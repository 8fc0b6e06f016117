// Any text reads as a shortcut or as nothing, and any stored number as a
// possible combination or as nothing; what reads comes back the same way,
// and is taken or refused with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/Shortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 4) {
        std::uint32_t stored = 0;
        std::memcpy(&stored, data, 4);
        if (const auto shortcut = corvello::DecodeShortcut(stored)) {
            if (corvello::EncodeShortcut(*shortcut) != stored)
                std::abort();
            if (corvello::ParseShortcut(corvello::ShortcutText(*shortcut)) != shortcut)
                std::abort();
            // A refused combination always says why.
            const auto problem = corvello::CheckShortcut(*shortcut);
            if (!shortcut->Empty() && (problem == corvello::ShortcutProblem::None) !=
                                          corvello::ShortcutProblemText(problem).empty())
                std::abort();
        }
    }
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (const auto shortcut = corvello::ParseShortcut(text))
        if (corvello::ParseShortcut(corvello::ShortcutText(*shortcut)) != shortcut)
            std::abort();
    return 0;
}
