// Any text read back from the registry as a placement ("left,top,width,height",
// "x,y") or as an option's Boolean: every text reads as something (or, as
// stored bounds, as nothing), and what a placement reads as is written back to
// the same numbers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "ui/Options.h"
#include "ui/Placement.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Two bytes a character, as the registry stores text.
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    const corvello::Quad rect = corvello::StrToRect(text);
    if (corvello::StrToRect(corvello::RectToStr(rect.a, rect.b, rect.c, rect.d)) != rect)
        std::abort();
    // Bounds that read as a place are the same numbers the lenient reading
    // gives, with a size, and are written back to themselves.
    if (const auto bounds = corvello::ReadBounds(text)) {
        if (bounds->c <= 0 || bounds->d <= 0 || corvello::StrToRect(text) != *bounds ||
            corvello::ReadBounds(corvello::RectToStr(bounds->a, bounds->b, bounds->c, bounds->d)) != bounds)
            std::abort();
    }
    const corvello::Point point = corvello::StrToPoint(text);
    if (corvello::StrToPoint(corvello::PointToStr(point)) != point)
        std::abort();

    for (const wchar_t separator : {L'.', L','}) {
        const auto value = corvello::TextToBoolean(text, separator);
        // A Boolean's own text always reads back as itself.
        if (value && corvello::TextToBoolean(corvello::BooleanToText(*value), separator) != value)
            std::abort();
    }
    (void)corvello::FindOptionIndex(text);
    return 0;
}
