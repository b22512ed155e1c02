// The backdrop as the real SETUP.EXE paints it on an 800 x 600 screen, read from the
// screenshot that the robot took behind the destination dialog: the gradient row by row,
// the title over its shadow, the logo and the notice.
//   wine_backdrop_shot SCREENSHOT.ppm LOGO.bmp
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string ShotPath, LogoPath;

struct TImage {
    int Width = 0, Height = 0;
    std::vector<uint32_t> Pixels; // 0x00BBGGRR, as COLORREF

    uint32_t At(int X, int Y) const { return Pixels[static_cast<size_t>(Y) * Width + X]; }
};

constexpr uint32_t Rgb(uint32_t R, uint32_t G, uint32_t B) {
    return R | G << 8 | B << 16;
}
constexpr uint32_t Yellow = Rgb(255, 255, 0), Black = Rgb(0, 0, 0);

// A host path: the prefix's drive Z: is the host's root.
std::string WindowsPath(std::string Path) {
    if (Path.empty() || Path[0] != '/') return Path;
    for (char& C : Path)
        if (C == '/') C = '\\';
    return "Z:" + Path;
}

std::vector<uint8_t> ReadAll(const std::string& Path) {
    std::vector<uint8_t> Bytes;
    if (FILE* File = std::fopen(Path.c_str(), "rb")) {
        uint8_t Buffer[65536];
        for (size_t Got; (Got = std::fread(Buffer, 1, sizeof Buffer, File)) > 0;)
            Bytes.insert(Bytes.end(), Buffer, Buffer + Got);
        std::fclose(File);
    }
    return Bytes;
}

// Binary PPM as ImageMagick writes it: "P6", width, height, 255, one blank, then RGB.
bool ReadPpm(const std::string& Path, TImage& Image) {
    const std::vector<uint8_t> Bytes = ReadAll(Path);
    size_t At = 0;
    auto Field = [&]() {
        while (At < Bytes.size() && (isspace(Bytes[At]) || Bytes[At] == '#')) {
            if (Bytes[At] == '#')
                while (At < Bytes.size() && Bytes[At] != '\n')
                    ++At;
            else
                ++At;
        }
        std::string Text;
        while (At < Bytes.size() && !isspace(Bytes[At]))
            Text += static_cast<char>(Bytes[At++]);
        return Text;
    };
    if (Field() != "P6") return false;
    Image.Width = std::stoi(Field());
    Image.Height = std::stoi(Field());
    if (Field() != "255") return false;
    ++At;
    if (Bytes.size() - At < static_cast<size_t>(Image.Width) * Image.Height * 3) return false;
    for (int I = 0; I < Image.Width * Image.Height; ++I, At += 3)
        Image.Pixels.push_back(Rgb(Bytes[At], Bytes[At + 1], Bytes[At + 2]));
    return true;
}

uint32_t Le(const std::vector<uint8_t>& Bytes, size_t At, int Size) {
    uint32_t Value = 0;
    for (int I = Size - 1; I >= 0; --I)
        Value = Value << 8 | Bytes[At + I];
    return Value;
}

// The logo resource: an uncompressed bottom-up bitmap of 4 bits per pixel.
bool ReadBmp4(const std::string& Path, TImage& Image) {
    const std::vector<uint8_t> Bytes = ReadAll(Path);
    if (Bytes.size() < 54 || Bytes[0] != 'B' || Bytes[1] != 'M') return false;
    const uint32_t Offset = Le(Bytes, 10, 4), Header = Le(Bytes, 14, 4);
    Image.Width = static_cast<int>(Le(Bytes, 18, 4));
    Image.Height = static_cast<int>(Le(Bytes, 22, 4));
    if (Le(Bytes, 28, 2) != 4 || Le(Bytes, 30, 4) != 0) return false;
    const size_t Palette = 14 + Header;
    const size_t Stride = (static_cast<size_t>(Image.Width) * 4 + 31) / 32 * 4;
    if (Bytes.size() < Offset + Stride * Image.Height) return false;
    Image.Pixels.assign(static_cast<size_t>(Image.Width) * Image.Height, 0);
    for (int Y = 0; Y < Image.Height; ++Y) {
        const size_t Row = Offset + Stride * (Image.Height - 1 - Y);
        for (int X = 0; X < Image.Width; ++X) {
            const uint8_t Pair = Bytes[Row + X / 2];
            const size_t Entry = Palette + 4 * ((X % 2) ? Pair & 15 : Pair >> 4);
            Image.Pixels[static_cast<size_t>(Y) * Image.Width + X] =
                Rgb(Bytes[Entry + 2], Bytes[Entry + 1], Bytes[Entry]);
        }
    }
    return true;
}

struct TBox {
    int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1; // inclusive
    int Count = 0;
};

TBox FindColour(const TImage& Image, uint32_t Colour, int Left, int Top, int Right, int Bottom) {
    TBox Box;
    for (int Y = Top; Y < Bottom; ++Y)
        for (int X = Left; X < Right; ++X)
            if (Image.At(X, Y) == Colour) {
                Box.Left = std::min(Box.Left, X);
                Box.Top = std::min(Box.Top, Y);
                Box.Right = std::max(Box.Right, X);
                Box.Bottom = std::max(Box.Bottom, Y);
                ++Box.Count;
            }
    return Box;
}

class BackdropShot : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(ReadPpm(ShotPath, Shot))
            << ShotPath << ": no screenshot; the robot's scenario takes it first";
        ASSERT_EQ(Shot.Width, 800);
        ASSERT_EQ(Shot.Height, 600);
    }
    TImage Shot;
};

} // namespace

TEST_F(BackdropShot, GradientRowByRowInColumnsNoDialogCovers) {
    // Blue 255 down to 1, two rows each, then black from row 510.
    for (const int X : {0, 5, 12}) {
        for (int Y = 0; Y < 600; ++Y) {
            const uint32_t Expected = Y < 510 ? Rgb(0, 0, 255 - Y / 2) : Black;
            ASSERT_EQ(Shot.At(X, Y), Expected) << "column " << X << ", row " << Y;
        }
    }
    // The right edge, above the notice.
    for (int Y = 0; Y < 575; ++Y)
        ASSERT_EQ(Shot.At(799, Y), Y < 510 ? Rgb(0, 0, 255 - Y / 2) : Black) << "row " << Y;
}

TEST_F(BackdropShot, TitleInYellowOverItsBlackShadow) {
    // The title starts at (22, 25), its shadow at (24, 28); nothing else up there is yellow
    // or black on the blue.
    const TBox Title = FindColour(Shot, Yellow, 0, 0, 800, 120);
    const TBox Shadow = FindColour(Shot, Black, 0, 0, 800, 120);
    ASSERT_GT(Title.Count, 200);
    ASSERT_GT(Shadow.Count, 50);
    EXPECT_GE(Title.Left, 15);
    EXPECT_LE(Title.Left, 40);
    EXPECT_GE(Title.Top, 25);
    EXPECT_LE(Title.Bottom, 25 + 44);
    // The shadow's lowest and rightmost pixels lie beyond the title's, where nothing covers
    // them: 3 rows down and 2 columns right.
    EXPECT_EQ(Shadow.Bottom, Title.Bottom + 3);
    EXPECT_EQ(Shadow.Right, Title.Right + 2);
    EXPECT_GE(Shadow.Top, Title.Top + 3);
}

TEST_F(BackdropShot, LogoAtTheBottomCentre) {
    TImage Logo;
    ASSERT_TRUE(ReadBmp4(LogoPath, Logo)) << LogoPath;
    ASSERT_EQ(Logo.Width, 204);
    ASSERT_EQ(Logo.Height, 66);
    const int Left = 800 / 2 - 102, Top = 600 - 72;
    int Different = 0;
    for (int Y = 0; Y < 66; ++Y)
        for (int X = 0; X < 204; ++X)
            if (Shot.At(Left + X, Top + Y) != Logo.At(X, Y)) ++Different;
    EXPECT_EQ(Different, 0) << "pixels of the logo at (" << Left << ", " << Top << ")";
    // Right around it the gradient's black shows.
    EXPECT_EQ(Shot.At(Left - 1, Top + 10), Black);
    EXPECT_EQ(Shot.At(Left + 204, Top + 10), Black);
    EXPECT_EQ(Shot.At(Left + 100, Top + 66), Black);
}

TEST_F(BackdropShot, NoticeInYellowAtTheBottomRight) {
    const TBox Notice = FindColour(Shot, Yellow, 502, 560, 800, 600);
    ASSERT_GT(Notice.Count, 30);
    EXPECT_GE(Notice.Left, 550);
    EXPECT_LE(Notice.Left, 556);
    EXPECT_GE(Notice.Top, 580);
    EXPECT_LE(Notice.Bottom, 599);
    EXPECT_LT(Notice.Right, 790) << "the notice runs into the screen's edge";
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: wine_backdrop_shot SCREENSHOT.ppm LOGO.bmp\n");
        return 2;
    }
    ShotPath = WindowsPath(argv[1]);
    LogoPath = WindowsPath(argv[2]);
    return RUN_ALL_TESTS();
}
