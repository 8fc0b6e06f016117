#include "ui/Placement.h"

#include <gtest/gtest.h>

using namespace corvello;

TEST(Placement, DraggedWindowsSnapToTheWorkAreaEdges)
{
    const Area area{0, 0, 1280, 984};
    struct Case {
        int Left, Top;
        Point Expected;
    };
    // A 336 x 448 window, snapping within 20 pixels.
    const Case cases[] = {
        {15, 300, {0, 300}},          // near the left edge
        {-20, 300, {0, 300}},         // just beyond it
        {21, 300, {21, 300}},         // too far
        {1280 - 336 - 19, 10, {944, 0}},  // right and top at once
        {500, 984 - 448 + 20, {500, 536}},  // bottom, from below
        {500, 400, {500, 400}},       // in the middle nothing moves
    };
    for (const Case& c : cases)
        EXPECT_EQ(SnapToArea(c.Left, c.Top, 336, 448, area, 20), c.Expected) << c.Left << "," << c.Top;
    // Taller than the area: the top edge wins over the bottom one.
    EXPECT_EQ(SnapToArea(100, 5, 300, 990, area, 20), (Point{100, 0}));
    // Edges far outside the int range of a sum do not wrap.
    EXPECT_EQ(SnapToArea(2147483000, 0, 2000, 10, area, 20), (Point{2147483000, 0}));
}

TEST(Placement, TextForms)
{
    EXPECT_EQ(PointToStr({12, -5}), L"12,-5");
    EXPECT_EQ(RectToStr(1, 2, 3, 4), L"1,2,3,4");
    EXPECT_EQ(RectToStr(-3000, -3000, 400, 300), L"-3000,-3000,400,300");

    struct PointCase {
        const wchar_t* Text;
        Point Expected;
    };
    const PointCase points[] = {
        {L" 7 , 8 ", {7, 8}}, {L"x,8", {0, 8}},      {L"78", {0, 0}},        {L"", {0, 0}},
        {L"-1,-2", {-1, -2}}, {L"\t3\r,\n4", {3, 4}}, {L"1,2,3", {1, 0}},     {L"+5,6", {5, 6}},
        {L"1 2,3", {0, 3}},   {L"99999999999,1", {0, 1}}, {L"2147483647,-2147483648", {2147483647, -2147483647 - 1}},
    };
    for (const auto& c : points)
        EXPECT_EQ(StrToPoint(c.Text), c.Expected) << std::string(c.Text, c.Text + std::wcslen(c.Text));

    struct RectCase {
        const wchar_t* Text;
        Quad Expected;
    };
    const RectCase rects[] = {
        {L"340,212,336,448", {340, 212, 336, 448}},
        {L"10,20", {0, 0, 10, 20}},
        {L"1,2,3", {1, 2, 0, 0}},
        {L"", {0, 0, 0, 0}},
        {L"1,2,3,4,5", {1, 2, 3, 0}},
        {L"a,b,c,d", {0, 0, 0, 0}},
    };
    for (const auto& c : rects)
        EXPECT_EQ(StrToRect(c.Text), c.Expected) << std::string(c.Text, c.Text + std::wcslen(c.Text));
}

TEST(Placement, StoredBoundsReadOnlyWhenWhole)
{
    struct Case {
        const wchar_t* Text;
        std::optional<Quad> Expected;
    };
    const std::optional<Quad> none;
    const Case cases[] = {
        {L"340,212,336,448", Quad{340, 212, 336, 448}},
        {L" -3000 ,\t-20, 400 ,300\r\n", Quad{-3000, -20, 400, 300}},
        {L"+1,2,3,4", Quad{1, 2, 3, 4}},
        {L"2147483647,-2147483648,1,1", Quad{2147483647, -2147483647 - 1, 1, 1}},
        {L"", none},
        {L"5", none},
        {L"10,20", none},
        {L"1,2,3", none},
        {L"1,2,3,4,5", none},
        {L"1,2,3,", none},
        {L",2,3,4", none},
        {L"a,b,c,d", none},
        {L"yes please", none},
        {L"%TEMP%", none},
        {L"1,2,3 4,5", none},
        {L"99999999999,1,2,3", none},
        {L"1,2,0,4", none},   // no width
        {L"1,2,3,-4", none},  // nor a height below 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadBounds(c.Text), c.Expected) << std::string(c.Text, c.Text + std::wcslen(c.Text));
}

TEST(Placement, FittingKeepsFormsOnTheWorkArea)
{
    const Area area{0, 0, 1024, 738};
    EXPECT_EQ(FitIntoArea(-3000, -3000, 400, 300, area), (Point{0, 0}));
    EXPECT_EQ(FitIntoArea(900, 700, 400, 300, area), (Point{624, 438}));
    EXPECT_EQ(FitIntoArea(100, 100, 400, 300, area), (Point{100, 100}));
    // Larger than the area: left and top edges win.
    EXPECT_EQ(FitIntoArea(500, 500, 2000, 1000, area), (Point{0, 0}));
    // A work area that does not start at the origin (second monitor, task bar on top).
    EXPECT_EQ(FitIntoArea(0, 0, 200, 100, Area{1024, 40, 2048, 768}), (Point{1024, 40}));
    // Far out: no overflow on the way back.
    EXPECT_EQ(FitIntoArea(2147483000, 0, 2000, 100, area), (Point{0, 0}));
}

TEST(Placement, CentringTruncatesTowardZero)
{
    EXPECT_EQ(CenterOnArea(100, 100, Area{0, 0, 1001, 1001}), (Point{450, 450}));
    EXPECT_EQ(CenterOnArea(301, 301, Area{0, 0, 100, 100}), (Point{-100, -100}));
    EXPECT_EQ(CenterOnArea(100, 50, Area{-1024, 0, 0, 768}), (Point{-562, 359}));
    // Over another form, then kept inside the area.
    EXPECT_EQ(CenterOnRect(100, 100, 200, 200, 301, 301, Area{0, 0, 1024, 768}), (Point{300, 300}));
    EXPECT_EQ(CenterOnRect(400, 300, 900, 600, 100, 100, Area{0, 0, 1024, 768}), (Point{624, 468}));
    EXPECT_EQ(CenterOnRect(400, 300, -50, -50, 100, 100, Area{0, 0, 1024, 768}), (Point{0, 0}));
}
