// The progress meter's arithmetic: pure functions, tested natively.
#pragma once

#include <cstdint>

struct TMeterRect {
    int32_t Left, Top, Right, Bottom;
};

// Nearest integer, a half going to the even neighbour.
int32_t RoundHalfEven(double Value);

// The bar's area in the dialog's client pixels, from the screen rectangles of the frame
// control and of the dialog, and the border and caption metrics.
TMeterRect MeterArea(const TMeterRect& Frame, const TMeterRect& Dialog, int32_t CxBorder,
                     int32_t CyCaption, int32_t CyBorder);

struct TMeterPoint {
    int32_t X, Y;
};
TMeterPoint MeterTextPosition(const TMeterRect& Area);

struct TMeterReading {
    int32_t Percent; // Done / Total as a rounded percentage
    int32_t Fill;    // the x where the red part ends (exclusive) and the white begins
};

// A Total of 0 or less would divide by zero: it reads as complete.
TMeterReading ReadMeter(int32_t Done, int32_t Total, int32_t Left, int32_t Width);

// The copying of volumes 2 to 4 paints only percentages up to 100; everything else paints
// whenever the percentage differs from the one drawn last.
enum class TMeterRule { Always, UpTo100 };
bool MeterRepaints(int32_t Percent, int32_t LastDrawn, TMeterRule Rule);
