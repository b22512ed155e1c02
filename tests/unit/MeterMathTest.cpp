// The progress meter's percentage, fill edge and repaint rule.
#include <gtest/gtest.h>

#include "screens/MeterMath.h"

TEST(Meter, PercentageAndFillEdge) {
    // A bar from x 10 to x 209: MeterWidth 200 (right - left + 1).
    const int32_t Left = 10, Width = 200;
    struct {
        int32_t Done, Total;
        int32_t Percent, Fill;
    } Cases[] = {
        {0, 800, 0, Left},             // empty bar
        {800, 800, 100, Left + Width}, // fill = right + 1
        {100, 800, 12, Left + 25},     // 12.5 % shows 12: ties go to the even neighbour
        {27, 200, 14, Left + 27},      // 13.5 % shows 14
        {1, 400, 0, Left + 0},         // 0.25 %: fill 0.5 rounds to 0
        {3, 400, 1, Left + 2},         // 0.75 %: fill 1.5 rounds to 2
        {2650000, 2650000, 100, Left + Width},
        {2700000, 2650000, 102, Left + 204}, // a longer archive than expected reads past 100
        {0, 0, 100, Left + Width},           // no total: complete, no division by zero
        {5, -1, 100, Left + Width},
    };
    for (const auto& Case : Cases) {
        const TMeterReading Reading = ReadMeter(Case.Done, Case.Total, Left, Width);
        EXPECT_EQ(Reading.Percent, Case.Percent) << Case.Done << "/" << Case.Total;
        EXPECT_EQ(Reading.Fill, Case.Fill) << Case.Done << "/" << Case.Total;
    }
}

TEST(Meter, RoundsHalfToEven) {
    struct {
        double Value;
        int32_t Expected;
    } Cases[] = {{0.5, 0},    {1.5, 2},  {2.5, 2},   {12.5, 12},  {13.5, 14},  {12.49, 12},
                 {12.51, 13}, {-0.5, 0}, {-1.5, -2}, {99.5, 100}, {100.5, 100}};
    for (const auto& Case : Cases)
        EXPECT_EQ(RoundHalfEven(Case.Value), Case.Expected) << Case.Value;
}

TEST(Meter, RepaintsOnlyWhenThePercentageChanges) {
    struct {
        int32_t Percent, LastDrawn;
        TMeterRule Rule;
        bool Repaints;
    } Cases[] = {
        {5, 5, TMeterRule::Always, false},
        {6, 5, TMeterRule::Always, true},
        {5, -1, TMeterRule::Always, true}, // -1 forces the next repaint
        {0, -1, TMeterRule::Always, true},
        {101, 100, TMeterRule::Always, true},
        // volumes 2 to 4: nothing above 100 is painted
        {100, 99, TMeterRule::UpTo100, true},
        {101, 100, TMeterRule::UpTo100, false},
        {150, -1, TMeterRule::UpTo100, false},
        {50, 50, TMeterRule::UpTo100, false},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(MeterRepaints(Case.Percent, Case.LastDrawn, Case.Rule), Case.Repaints)
            << Case.Percent << " after " << Case.LastDrawn;
}

TEST(Meter, AreaAndTextPosition) {
    // Frame 100..428 x 150..174 on screen, dialog at 90, 100; border 1, caption 18.
    const TMeterRect Area = MeterArea({100, 150, 428, 174}, {90, 100, 500, 300}, 1, 18, 1);
    EXPECT_EQ(Area.Left, 9);
    EXPECT_EQ(Area.Top, 31);
    EXPECT_EQ(Area.Right, 333);
    EXPECT_EQ(Area.Bottom, 51);
    const TMeterPoint Text = MeterTextPosition(Area);
    EXPECT_EQ(Text.X, 9 + 162 - 10); // halves drop the remainder
    EXPECT_EQ(Text.Y, 31 + 10 - 8);
}
