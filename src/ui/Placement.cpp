#include "ui/Placement.h"

#include <cstdint>
#include <limits>

#include "core/Text.h"
#include "toolkit/Concat.h"
#include "toolkit/Decimal.h"

namespace corvello {
namespace {

// A whole decimal integer of the int range with an optional sign, blanks
// around it ignored; nothing for any other text.
std::optional<int> ToInt(const std::wstring& text)
{
    const std::wstring t = TrimBlanks(text);
    std::size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == L'+' || t[i] == L'-'))
        negative = t[i++] == L'-';
    if (i == t.size())
        return std::nullopt;
    long long value = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < L'0' || t[i] > L'9')
            return std::nullopt;
        value = value * 10 + (t[i] - L'0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

int ToIntOrZero(const std::wstring& text)
{
    return ToInt(text).value_or(0);
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
    return tk::Concat({tk::Decimal(point.x), L",", tk::Decimal(point.y)});
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
    return tk::Concat({PointToStr({a, b}), L",", PointToStr({c, d})});
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

std::optional<Quad> ReadBounds(const std::wstring& text)
{
    int numbers[4] = {};
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        const std::size_t comma = i < 3 ? text.find(L',', start) : text.size();
        if (comma == std::wstring::npos)
            return std::nullopt;
        const auto number = ToInt(text.substr(start, comma - start));
        if (!number)
            return std::nullopt;
        numbers[i] = *number;
        start = comma + 1;
    }
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return std::nullopt;
    return Quad{numbers[0], numbers[1], numbers[2], numbers[3]};
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
