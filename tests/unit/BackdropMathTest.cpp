// The backdrop's gradient rows and the title's shadow colour.
#include <gtest/gtest.h>

#include <vector>

#include "screens/BackdropMath.h"

namespace {

constexpr TColour Blue = 0x00FF0000, Black = 0x00000000;

TColour Rgb(uint8_t R, uint8_t G, uint8_t B) {
    return R | G << 8 | static_cast<TColour>(B) << 16;
}

// The colour of every pixel row, walked as the paint walks them.
std::vector<TColour> Rows(TColour Top, TColour Bottom, int32_t Height) {
    std::vector<TColour> Colours;
    TGradient Gradient = StartGradient(Top, Bottom, Height);
    for (int32_t Y = 0; Y < Height; ++Y) {
        Colours.push_back(Gradient.Colour);
        NextGradientRow(Gradient);
    }
    return Colours;
}

} // namespace

TEST(Gradient, BlueToBlackOnTheCommonScreens) {
    // Blue 255 down to 1, Band rows each, then black from row 255 * Band.
    struct {
        int32_t Height;
        int32_t Band;
    } Screens[] = {{480, 1}, {600, 2}, {768, 3}};
    for (const auto& Screen : Screens) {
        ASSERT_EQ(GradientSteps(Blue, Black), 255);
        const std::vector<TColour> Colours = Rows(Blue, Black, Screen.Height);
        for (int32_t Y = 0; Y < Screen.Height; ++Y) {
            const TColour Expected = Y < 255 * Screen.Band
                                         ? Rgb(0, 0, static_cast<uint8_t>(255 - Y / Screen.Band))
                                         : Black;
            ASSERT_EQ(Colours[Y], Expected) << "screen height " << Screen.Height << ", row " << Y;
        }
    }
}

TEST(Gradient, EqualColoursAreOnePlainFill) {
    EXPECT_EQ(GradientSteps(Rgb(10, 20, 30), Rgb(10, 20, 30)), 0);
    EXPECT_EQ(GradientSteps(Black, Black), 0);
}

TEST(Gradient, ScreenLowerThanTheStepsChangesEveryRowAndNeverReachesTheBottom) {
    const std::vector<TColour> Colours = Rows(Blue, Black, 100);
    for (int32_t Y = 0; Y < 100; ++Y)
        ASSERT_EQ(Colours[Y], Rgb(0, 0, static_cast<uint8_t>(255 - Y))) << "row " << Y;
}

TEST(Gradient, ChannelsMoveTogetherAndStopAtTheBottomColour) {
    // Steps 100 (green), band 2: red reaches 20 after 10 changes and stays, blue never moves,
    // green falls by one every two rows.
    const TColour Top = Rgb(10, 200, 30), Bottom = Rgb(20, 100, 30);
    ASSERT_EQ(GradientSteps(Top, Bottom), 100);
    const std::vector<TColour> Colours = Rows(Top, Bottom, 210);
    for (int32_t Y = 0; Y < 210; ++Y) {
        const int Changes = Y / 2 < 100 ? Y / 2 : 100;
        const TColour Expected = Rgb(static_cast<uint8_t>(10 + (Changes < 10 ? Changes : 10)),
                                     static_cast<uint8_t>(200 - Changes), 30);
        ASSERT_EQ(Colours[Y], Expected) << "row " << Y;
    }
}

TEST(Gradient, ChannelsRiseTowardABrighterBottom) {
    const std::vector<TColour> Colours = Rows(Black, Rgb(255, 255, 255), 600);
    EXPECT_EQ(Colours[0], Black);
    EXPECT_EQ(Colours[2], Rgb(1, 1, 1));
    EXPECT_EQ(Colours[509], Rgb(254, 254, 254));
    EXPECT_EQ(Colours[510], Rgb(255, 255, 255));
    EXPECT_EQ(Colours[599], Rgb(255, 255, 255));
}

TEST(Shadow, BlackBehindLightTitlesWhiteBehindDarkOnes) {
    const TColour White = 0x00FFFFFF;
    struct {
        TColour Title;
        TColour Expected;
    } Cases[] = {
        {Rgb(255, 255, 0), Black}, // the configured yellow: brightness 227
        {Rgb(0, 0, 128), White},   // navy: 14
        {Rgb(255, 255, 255), Black}, {Rgb(0, 0, 0), White},
        {Rgb(0, 212, 22), Black}, // exactly 127.5: rounds to 128, not down to 127
        {Rgb(0, 216, 0), White},  // 127.44
        {Rgb(0, 217, 0), Black},  // 128.03
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(ShadowColour(Case.Title), Case.Expected) << std::hex << Case.Title;
}
