// Text forms of points and rectangles, and where a form goes on its work
// area. Plain arithmetic, no Windows types.
#pragma once

#include <string>

namespace corvello {

struct TPoint {
    int x = 0;
    int y = 0;
    bool operator==(const TPoint&) const = default;
};

// left, top, width, height (a, b, c, d of the stored text)
struct TQuad {
    int a = 0;
    int b = 0;
    int c = 0;
    int d = 0;
    bool operator==(const TQuad&) const = default;
};

struct TArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// "12,-5"
std::wstring PointToStr(const TPoint& point);
// Up to the first comma x, after it y; blanks and control characters around
// each are ignored, and what is not an integer reads 0. No comma: (0, 0).
TPoint StrToPoint(const std::wstring& text);
// "a,b,c,d"
std::wstring RectToStr(int a, int b, int c, int d);
// The text before the second comma gives a and b, the rest c and d.
TQuad StrToRect(const std::wstring& text);

// The position that keeps a form of this size inside the work area; where it
// is larger, its left and top edges win.
TPoint FitIntoArea(int left, int top, int width, int height, const TArea& area);
// Centred on the area (division truncating toward zero), not clamped.
TPoint CenterOnArea(int width, int height, const TArea& area);
// Centred on another form's rectangle, then kept inside the area.
TPoint CenterOnRect(int width, int height, int otherLeft, int otherTop, int otherWidth, int otherHeight,
                    const TArea& area);

}  // namespace corvello
