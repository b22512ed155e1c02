#include "screens/BackdropMath.h"

#include "screens/MeterMath.h"
#include "setup/PathText.h"

namespace {

uint8_t Channel(TColour Colour, int Shift) {
    return static_cast<uint8_t>(Colour >> Shift);
}

uint8_t StepToward(uint8_t Value, uint8_t Target) {
    if (Value < Target) return ByteMin(255, static_cast<uint8_t>(Value + 1));
    if (Value > Target) return ByteMax(0, static_cast<uint8_t>(Value - 1));
    return Value;
}

uint8_t Distance(uint8_t A, uint8_t B) {
    return A > B ? static_cast<uint8_t>(A - B) : static_cast<uint8_t>(B - A);
}

} // namespace

int32_t GradientSteps(TColour Top, TColour Bottom) {
    uint8_t Steps = 0;
    for (int Shift : {0, 8, 16})
        Steps = ByteMax(Steps, Distance(Channel(Top, Shift), Channel(Bottom, Shift)));
    return Steps;
}

TGradient StartGradient(TColour Top, TColour Bottom, int32_t Height) {
    const int32_t Steps = GradientSteps(Top, Bottom);
    return {Top, Bottom, Steps ? Height / Steps : 0, 0};
}

void NextGradientRow(TGradient& Gradient) {
    if (++Gradient.Counter < Gradient.Band) return;
    Gradient.Counter = 0;
    TColour Next = 0;
    for (int Shift : {0, 8, 16}) {
        const uint8_t Moved =
            StepToward(Channel(Gradient.Colour, Shift), Channel(Gradient.Bottom, Shift));
        Next |= static_cast<TColour>(Moved) << Shift;
    }
    Gradient.Colour = Next;
}

TColour ShadowColour(TColour Title) {
    const double Brightness =
        0.3 * Channel(Title, 0) + 0.59 * Channel(Title, 8) + 0.11 * Channel(Title, 16);
    return RoundHalfEven(Brightness) < 128 ? 0x00FFFFFF : 0x00000000;
}
