// Where dialogs go, which destinations pass, and the shape of the agreement text.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "screens/AgreementText.h"
#include "screens/DialogRules.h"

TEST(Centring, MiddleOfTheWholeScreenTruncated) {
    struct {
        int32_t Width, Height, ScreenWidth, ScreenHeight;
        int32_t X, Y;
    } Cases[] = {
        {429, 210, 800, 600, 186, 195},
        {430, 211, 800, 600, 185, 195},
        {429, 210, 801, 601, 186, 195},
        {1001, 700, 800, 600, -100, -50}, // larger than the screen: not clamped
    };
    for (const auto& Case : Cases) {
        const TOrigin Origin =
            CentredOrigin(Case.Width, Case.Height, Case.ScreenWidth, Case.ScreenHeight);
        EXPECT_EQ(Origin.X, Case.X) << Case.Width;
        EXPECT_EQ(Origin.Y, Case.Y) << Case.Height;
    }
}

TEST(Destination, AcceptanceTest) {
    struct {
        std::string Text;
        bool Accepted;
    } Cases[] = {
        {"", false},
        {"C", false},
        {"C:", true}, // MakeDestDir decides
        {"C:\\PROGRAM FILES\\PICTAVORN", true},
        {"Z:X", true},
        {"A:", true},
        {"c:\\pictavorn", false}, // a lower-case letter fails
        {"\\\\SERVER\\X", false},
        {"\\PICTAVORN", false},
        {" C:\\PICTAVORN", false},
        {"1:\\PICTAVORN", false},
        {"CC:\\", false},
        {"@:", false}, // the neighbours of the capitals
        {"[:", false},
        {std::string("\xC4:\\X"), false}, // a capital outside ASCII is no drive letter
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(DestinationAccepted(Case.Text), Case.Accepted) << '"' << Case.Text << '"';
}

TEST(Agreement, ShapeOfTheText) {
    const std::string Text = AgreementText;
    EXPECT_EQ(Text.size(), 4611u);
    for (size_t At = 0; At < Text.size(); ++At) {
        const unsigned char C = static_cast<unsigned char>(Text[At]);
        ASSERT_TRUE(C < 128 && (C >= 32 || C == '\r' || C == '\n')) << "character at " << At;
    }

    // Lines between CR-LF pairs: an empty one is the blank line of a doubled break.
    std::vector<std::string> Lines;
    for (size_t At = 0;;) {
        const size_t Break = Text.find("\r\n", At);
        Lines.push_back(Text.substr(At, Break == std::string::npos ? Break : Break - At));
        if (Break == std::string::npos) break;
        At = Break + 2;
    }
    size_t Blank = 0, Longest = 0;
    for (const auto& Line : Lines) {
        EXPECT_EQ(Line.find_first_of("\r\n"), std::string::npos) << "a lone CR or LF";
        if (Line.empty()) ++Blank;
        Longest = std::max(Longest, Line.size());
    }
    EXPECT_EQ(Lines.size() - 1, 15u);            // CR-LF breaks
    EXPECT_EQ(Blank, 6u);                        // six doubled pairs...
    EXPECT_EQ(Lines.size() - 1 - 2 * Blank, 3u); // ...and three single breaks
    EXPECT_FALSE(Lines.front().empty());
    EXPECT_FALSE(Lines.back().empty());
    EXPECT_GT(Longest, 1000u); // long paragraphs: the box wraps them
    EXPECT_NE(Text.find("Pictavorn"), std::string::npos);
    EXPECT_NE(Text.find("Mirelquist"), std::string::npos);
}
