// Where an on-screen notice goes on a monitor, and when it stays away: plain
// arithmetic on screen rectangles, no Windows types.
#pragma once

#include <cstdint>

#include "ui/Placement.h"

namespace corvello {

// Its distance from the work area's edges at 96 dpi.
inline constexpr int NoticeMargin = 24;

// The top left corner of a notice of this size (pixels) on the work area: the
// position 0 to 8 counts the places row by row from the top left (0 top
// left, 1 top centre, 2 top right, 3 to 5 the middle row, 6 to 8 the bottom
// row); another number is taken as 7, the bottom centre. The margin scales
// with the monitor's dpi. A notice larger than the area keeps its left or
// top edge inside it.
Point NoticePlace(const Area& workArea, int width, int height, std::uint32_t position, unsigned dpi);

// A full-screen program (a game, a presentation, a video) is one whose
// window's client area covers its whole monitor. A maximised window keeps
// its caption in view, so it is none, even where the task bar hides.
bool IsFullScreen(const Area& client, const Area& monitor) noexcept;

}  // namespace corvello
