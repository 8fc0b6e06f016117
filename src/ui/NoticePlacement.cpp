#include "ui/NoticePlacement.h"

#include <algorithm>

namespace corvello {
namespace {

// One axis: where a length goes in the range from first to last, at its
// start (0), middle (1) or end (2), margin inside the edges. Where the room
// is too small for the margins they shrink; where it is too small for the
// length, the start edges meet. Worked in 64 bits, so edges anywhere in the
// int range and their sums cannot wrap.
int Along(int first, int last, int length, int margin, std::uint32_t place)
{
    const long long spare = static_cast<long long>(last) - first - length;
    if (spare <= 0)
        return first;
    const long long inset = std::min<long long>(margin, spare / 2);
    if (place == 1)
        return static_cast<int>(first + spare / 2);
    return static_cast<int>(place == 0 ? first + inset : static_cast<long long>(last) - inset - length);
}

}  // namespace

Point NoticePlace(const Area& workArea, int width, int height, std::uint32_t position, unsigned dpi)
{
    if (position > 8)
        position = 7;
    const int margin = static_cast<int>((static_cast<long long>(NoticeMargin) * dpi + 48) / 96);
    return {Along(workArea.left, workArea.right, width, margin, position % 3),
            Along(workArea.top, workArea.bottom, height, margin, position / 3)};
}

bool IsFullScreen(const Area& client, const Area& monitor) noexcept
{
    return monitor.right > monitor.left && monitor.bottom > monitor.top && client.left <= monitor.left &&
           client.top <= monitor.top && client.right >= monitor.right && client.bottom >= monitor.bottom;
}

}  // namespace corvello
