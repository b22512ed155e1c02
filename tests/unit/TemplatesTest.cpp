// The dialog templates as windres compiles them, field by field: dialog style, position,
// size, caption and font, and for every control its id, class, style, rectangle and text,
// in template order.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

struct TControl {
    uint16_t Id;
    std::string Class;
    uint32_t Style;
    int16_t X, Y, Cx, Cy;
    std::string Text;
};

struct TDialog {
    uint32_t Style;
    int16_t X, Y, Cx, Cy;
    std::string Caption;
    uint16_t FontSize;
    std::string Font;
    std::vector<TControl> Controls;
};

class TReader {
  public:
    TReader(const std::vector<uint8_t>& Data, size_t At) : Bytes(Data), Pos(At) {}
    uint16_t Word() {
        uint16_t V = static_cast<uint16_t>(Bytes.at(Pos) | Bytes.at(Pos + 1) << 8);
        Pos += 2;
        return V;
    }
    uint32_t Dword() {
        uint32_t Low = Word();
        return Low | static_cast<uint32_t>(Word()) << 16;
    }
    // A name or an ordinal: 0xFFFF then the number, or a zero-terminated UTF-16 text.
    std::string NameOrOrdinal() {
        uint16_t First = Word();
        if (First == 0xFFFF) return "#" + std::to_string(Word());
        std::string Text;
        for (uint16_t C = First; C != 0; C = Word())
            Text += static_cast<char>(C);
        return Text;
    }
    void Align4() { Pos = (Pos + 3) & ~size_t(3); }
    size_t At() const { return Pos; }

  private:
    const std::vector<uint8_t>& Bytes;
    size_t Pos;
};

std::string ClassName(const std::string& Raw) {
    static const std::map<std::string, std::string> Atoms = {
        {"#128", "BUTTON"}, {"#129", "EDIT"}, {"#130", "STATIC"}};
    auto Found = Atoms.find(Raw);
    if (Found != Atoms.end()) return Found->second;
    std::string Upper;
    for (char C : Raw)
        Upper += static_cast<char>(toupper(static_cast<unsigned char>(C)));
    return Upper;
}

TDialog ParseDialog(const std::vector<uint8_t>& Bytes, size_t At) {
    TReader R(Bytes, At);
    TDialog D;
    D.Style = R.Dword();
    R.Dword(); // extended style
    const uint16_t Count = R.Word();
    D.X = R.Word(), D.Y = R.Word(), D.Cx = R.Word(), D.Cy = R.Word();
    EXPECT_EQ(R.NameOrOrdinal(), ""); // no menu
    EXPECT_EQ(R.NameOrOrdinal(), ""); // the standard dialog class
    D.Caption = R.NameOrOrdinal();
    if (D.Style & 0x40) { // DS_SETFONT
        D.FontSize = R.Word();
        D.Font = R.NameOrOrdinal();
    }
    for (uint16_t I = 0; I < Count; ++I) {
        R.Align4();
        TControl C;
        C.Style = R.Dword();
        R.Dword();
        C.X = R.Word(), C.Y = R.Word(), C.Cx = R.Word(), C.Cy = R.Word();
        C.Id = R.Word();
        C.Class = ClassName(R.NameOrOrdinal());
        C.Text = R.NameOrOrdinal();
        const uint16_t Extra = R.Word();
        EXPECT_EQ(Extra, 0);
        D.Controls.push_back(C);
    }
    return D;
}

// Every resource of the .res file by type and name.
std::map<std::string, size_t> Directory(const std::vector<uint8_t>& Bytes) {
    std::map<std::string, size_t> Found;
    size_t At = 0;
    while (At + 8 <= Bytes.size()) {
        TReader R(Bytes, At);
        const uint32_t DataSize = R.Dword(), HeaderSize = R.Dword();
        const std::string Type = R.NameOrOrdinal(), Name = R.NameOrOrdinal();
        if (DataSize) Found[Type + "/" + Name] = At + HeaderSize;
        At += HeaderSize + DataSize;
        At = (At + 3) & ~size_t(3);
    }
    return Found;
}

std::vector<uint8_t> ReadAll(const char* Path) {
    std::ifstream In(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

const std::vector<uint8_t>& Resources() {
    static const std::vector<uint8_t> Bytes = ReadAll(PV_SETUP_RES);
    return Bytes;
}

constexpr uint32_t DialogStyle = 0x90C800C0;

void ExpectDialog(const char* Name, const TDialog& Expected) {
    const auto Entries = Directory(Resources());
    auto Found = Entries.find(std::string("#5/") + Name); // RT_DIALOG is 5
    ASSERT_NE(Found, Entries.end()) << Name;
    const TDialog D = ParseDialog(Resources(), Found->second);
    EXPECT_EQ(D.Style, Expected.Style) << Name;
    EXPECT_EQ(D.X, Expected.X) << Name;
    EXPECT_EQ(D.Y, Expected.Y) << Name;
    EXPECT_EQ(D.Cx, Expected.Cx) << Name;
    EXPECT_EQ(D.Cy, Expected.Cy) << Name;
    EXPECT_EQ(D.Caption, Expected.Caption) << Name;
    EXPECT_EQ(D.FontSize, 8) << Name;
    EXPECT_EQ(D.Font, "MS Sans Serif") << Name;
    ASSERT_EQ(D.Controls.size(), Expected.Controls.size()) << Name;
    for (size_t I = 0; I < D.Controls.size(); ++I) {
        const TControl &A = D.Controls[I], &E = Expected.Controls[I];
        EXPECT_EQ(A.Id, E.Id) << Name << " control " << I;
        EXPECT_EQ(A.Class, E.Class) << Name << " control " << I;
        EXPECT_EQ(A.Style, E.Style) << Name << " control " << I << std::hex << " " << A.Style;
        EXPECT_EQ(A.X, E.X) << Name << " control " << I;
        EXPECT_EQ(A.Y, E.Y) << Name << " control " << I;
        EXPECT_EQ(A.Cx, E.Cx) << Name << " control " << I;
        EXPECT_EQ(A.Cy, E.Cy) << Name << " control " << I;
        EXPECT_EQ(A.Text, E.Text) << Name << " control " << I;
    }
}

} // namespace

TEST(Templates, Destination) {
    ExpectDialog("MAIN",
                 {DialogStyle,
                  6,
                  19,
                  282,
                  111,
                  "Installation",
                  8,
                  "MS Sans Serif",
                  {{1, "BUTTON", 0x50010001, 84, 82, 53, 14, "OK"},
                   {2, "BUTTON", 0x50010000, 144, 82, 53, 14, "Cancel"},
                   {104, "EDIT", 0x50810008, 20, 53, 232, 13, ""},
                   {0xFFFF, "STATIC", 0x50020000, 23, 11, 236, 33,
                    "Please enter the drive and directory folder where you would like Pictavorn "
                    "to be located. To accept the default drive and directory simply press "
                    "ENTER."}}});
}

TEST(Templates, Agreement) {
    ExpectDialog("LICENSE",
                 {DialogStyle,
                  1,
                  1,
                  267,
                  208,
                  "License Agreement",
                  8,
                  "MS Sans Serif",
                  {{1, "BUTTON", 0x50010001, 158, 191, 50, 14, "I Agree"},
                   {2, "BUTTON", 0x50010000, 211, 191, 50, 14, "Exit"},
                   {101, "EDIT", 0x50010804, 10, 169, 246, 18,
                    "You must agree to the terms of the above License Agreement to install and "
                    "use Pictavorn. If you do not agree, click on the Exit button."},
                   {102, "EDIT", 0x50010804, 8, 6, 222, 18,
                    "IMPORTANT: Please read the following License Agreement"}}});
}

TEST(Templates, Group) {
    ExpectDialog("GROUP",
                 {DialogStyle,
                  6,
                  15,
                  184,
                  95,
                  "DIALOG_1",
                  8,
                  "MS Sans Serif",
                  {{1, "BUTTON", 0x50010001, 50, 73, 39, 14, "OK"},
                   {2, "BUTTON", 0x50010000, 93, 73, 41, 14, "Cancel"},
                   {102, "EDIT", 0x50810000, 11, 44, 162, 12, ""},
                   {101, "STATIC", 0x50020000, 12, 9, 160, 25,
                    "Please enter the name of the program group that you would like Pictavorn "
                    "to use. To accept the default, simply press ENTER."}}});
}

TEST(Templates, ProgressDialogs) {
    ExpectDialog("IPROGRESS", {DialogStyle,
                               6,
                               49,
                               194,
                               78,
                               "Progress",
                               8,
                               "MS Sans Serif",
                               {{2, "BUTTON", 0x50010000, 68, 55, 57, 14, "Cancel"},
                                {101, "STATIC", 0x50000007, 15, 25, 164, 12, "frame"},
                                {0xFFFF, "STATIC", 0x50020000, 16, 9, 160, 8,
                                 "Installing the Pictavorn files."}}});
    ExpectDialog("PROGRESS", {DialogStyle,
                              6,
                              49,
                              194,
                              84,
                              "Progress",
                              8,
                              "MS Sans Serif",
                              {{2, "BUTTON", 0x50010000, 68, 60, 57, 14, "Cancel"},
                               {101, "STATIC", 0x50000007, 15, 25, 164, 12, "frame"},
                               {0xFFFF, "STATIC", 0x50020000, 16, 9, 160, 8,
                                "Uncompressing the Pictavorn files:"}}});
}

TEST(Templates, LogoAndIcon) {
    const auto Entries = Directory(Resources());
    auto Logo = Entries.find("#2/LOGO"); // RT_BITMAP
    ASSERT_NE(Logo, Entries.end());
    TReader R(Resources(), Logo->second);
    EXPECT_EQ(R.Dword(), 40u); // BITMAPINFOHEADER
    EXPECT_EQ(R.Dword(), 204u);
    EXPECT_EQ(R.Dword(), 66u);
    EXPECT_EQ(R.Word(), 1);
    EXPECT_EQ(R.Word(), 4);                                 // 16 colours
    EXPECT_NE(Entries.find("#14/MAINICON"), Entries.end()); // RT_GROUP_ICON
}
