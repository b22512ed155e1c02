// The backdrop's colours: pure functions, tested natively.
#pragma once

#include <cstdint>

// A colour laid out as a COLORREF: red in the low byte, then green, then blue.
using TColour = uint32_t;

// The gradient, walked one pixel row at a time from the top: Colour is the current row's.
struct TGradient {
    TColour Colour;
    TColour Bottom;
    int32_t Band;    // rows per colour; 0 when the screen has fewer rows than steps
    int32_t Counter; // rows drawn in the current colour
};

// The largest difference of a channel between the two colours; 0 means one plain fill.
int32_t GradientSteps(TColour Top, TColour Bottom);
TGradient StartGradient(TColour Top, TColour Bottom, int32_t Height);
// After a row is drawn: each channel moves one unit toward the bottom colour once the
// current colour has covered its band.
void NextGradientRow(TGradient& Gradient);

// Black behind a light title, white behind a dark one.
TColour ShadowColour(TColour Title);
