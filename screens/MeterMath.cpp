#include "screens/MeterMath.h"

#include <cmath>

int32_t RoundHalfEven(double Value) {
    const double Floor = std::floor(Value);
    const double Rest = Value - Floor;
    double Result = Floor;
    if (Rest > 0.5 || (Rest == 0.5 && std::fmod(Floor, 2.0) != 0.0)) Result = Floor + 1.0;
    return static_cast<int32_t>(Result);
}

TMeterRect MeterArea(const TMeterRect& Frame, const TMeterRect& Dialog, int32_t CxBorder,
                     int32_t CyCaption, int32_t CyBorder) {
    TMeterRect Area;
    Area.Left = Frame.Left - Dialog.Left - CxBorder;
    Area.Top = Frame.Top - Dialog.Top - CyCaption - CyBorder;
    Area.Right = Frame.Right - Dialog.Left - CxBorder - 4;
    Area.Bottom = Frame.Bottom - Dialog.Top - CyCaption - CyBorder - 4;
    return Area;
}

TMeterPoint MeterTextPosition(const TMeterRect& Area) {
    return {Area.Left + (Area.Right - Area.Left) / 2 - 10,
            Area.Top + (Area.Bottom - Area.Top) / 2 - 8};
}

TMeterReading ReadMeter(int32_t Done, int32_t Total, int32_t Left, int32_t Width) {
    if (Total <= 0) return {100, Left + Width};
    const double Fraction = static_cast<double>(Done) / static_cast<double>(Total);
    return {RoundHalfEven(Fraction * 100.0), RoundHalfEven(Fraction * Width) + Left};
}

bool MeterRepaints(int32_t Percent, int32_t LastDrawn, TMeterRule Rule) {
    return Percent != LastDrawn && (Rule == TMeterRule::Always || Percent <= 100);
}
