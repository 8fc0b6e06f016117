#include "ui/Placement.h"

#include <cstdint>
#include <limits>

#include "core/Text.h"
#include "toolkit/Decimal.h"

namespace corvello {
namespace {

// A whole decimal integer of the int range with an optional sign, or 0.
int ToIntOrZero(const std::wstring& text)
{
    const std::wstring t = TrimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == L'+' || t[i] == L'-'))
        negative = t[i++] == L'-';
    if (i == t.size())
        return 0;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < L'0' || t[i] > L'9')
            return 0;
        value = value * 10 + (t[i] - L'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return 0;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return 0;
    return static_cast<int>(value);
}

int Clamp(int value, int low, int high, int size)
{
    // Low edge, high edge, low edge again: the low edge wins when too big.
    if (value < low)
        value = low;
    if (static_cast<long long>(value) + size > high)
        value = high - size;
    if (value < low)
        value = low;
    return value;
}

}  // namespace

std::wstring PointToStr(const Point& point)
{
    return tk::Decimal(point.x) + L',' + tk::Decimal(point.y);
}

Point StrToPoint(const std::wstring& text)
{
    const auto comma = text.find(L',');
    if (comma == std::wstring::npos)
        return {};
    return {ToIntOrZero(text.substr(0, comma)), ToIntOrZero(text.substr(comma + 1))};
}

std::wstring RectToStr(int a, int b, int c, int d)
{
    return PointToStr({a, b}) + L',' + PointToStr({c, d});
}

Quad StrToRect(const std::wstring& text)
{
    const auto first = text.find(L',');
    const auto second = first == std::wstring::npos ? std::wstring::npos : text.find(L',', first + 1);
    const std::wstring head = second == std::wstring::npos ? L"" : text.substr(0, second);
    const std::wstring tail = second == std::wstring::npos ? text : text.substr(second + 1);
    const Point ab = StrToPoint(head);
    const Point cd = StrToPoint(tail);
    return {ab.x, ab.y, cd.x, cd.y};
}

Point FitIntoArea(int left, int top, int width, int height, const Area& area)
{
    return {Clamp(left, area.left, area.right, width), Clamp(top, area.top, area.bottom, height)};
}

Point CenterOnArea(int width, int height, const Area& area)
{
    return {area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2};
}

Point CenterOnRect(int width, int height, int otherLeft, int otherTop, int otherWidth, int otherHeight,
                    const Area& area)
{
    const int x = otherLeft + (otherWidth - width) / 2;
    const int y = otherTop + (otherHeight - height) / 2;
    return FitIntoArea(x, y, width, height, area);
}

Point SnapToArea(int left, int top, int width, int height, const Area& area, int distance)
{
    const auto near = [distance](long long a, long long b) { return (a > b ? a - b : b - a) <= distance; };
    Point at{left, top};
    if (near(static_cast<long long>(left) + width, area.right))
        at.x = area.right - width;
    if (near(left, area.left))
        at.x = area.left;
    if (near(static_cast<long long>(top) + height, area.bottom))
        at.y = area.bottom - height;
    if (near(top, area.top))
        at.y = area.top;
    return at;
}

}  // namespace corvello
