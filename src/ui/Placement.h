// Text forms of points and rectangles, and where a form goes on its work
// area. Plain arithmetic, no Windows types.
#pragma once

#include <optional>
#include <string>

namespace corvello {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// left, top, width, height (a, b, c, d of the stored text)
struct Quad {
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    bool operator==(const Quad&) const = default;
};

struct Area {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// "12,-5"
std::wstring PointToStr(const Point& point);
// Up to the first comma x, after it y; blanks and control characters around
// each are ignored, and what is not an integer reads 0. No comma: (0, 0).
Point StrToPoint(const std::wstring& text);
// "a,b,c,d"
std::wstring RectToStr(int a, int b, int c, int d);
// The text before the second comma gives a and b, the rest c and d.
Quad StrToRect(const std::wstring& text);
// Stored bounds where they can be read: exactly four whole numbers of the int
// range, separated by commas, blanks and control characters around each
// allowed, and a width and height above 0. Anything else reads as nothing,
// so that a damaged place counts as no place rather than as 0,0.
std::optional<Quad> ReadBounds(const std::wstring& text);

// The position that keeps a form of this size inside the work area; where it
// is larger, its left and top edges win.
Point FitIntoArea(int left, int top, int width, int height, const Area& area);
// Centred on the area (division truncating toward zero), not clamped.
Point CenterOnArea(int width, int height, const Area& area);
// Centred on another form's rectangle, then kept inside the area.
Point CenterOnRect(int width, int height, int otherLeft, int otherTop, int otherWidth, int otherHeight,
                    const Area& area);

// Where a dragged window goes: each edge that comes within distance of the
// same edge of the work area sticks to it (left and top win where the window
// is too large for both). The size stays.
Point SnapToArea(int left, int top, int width, int height, const Area& area, int distance);

}  // namespace corvello
