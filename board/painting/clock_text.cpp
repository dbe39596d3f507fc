#include "board/painting/clock_text.h"

#include <cstdio>

namespace tandemora {

std::string clockText(int ms, bool highPrecision) {
    // Division truncates towards zero, so a negative time divided by a negative divisor
    // gives the same digits as its magnitude would.
    const int sign = ms < 0 ? -1 : 1;
    const int minutes = ms / (sign * 60000);
    const int seconds = ms % 60000 / (sign * 1000);
    const int tenths = ms % 1000 / (sign * 100);
    const char lead = ms < 0 ? '-' : ' ';
    char text[32];
    if (highPrecision)
        std::snprintf(text, sizeof text, "%c%02d:%02d:%01d", lead, minutes, seconds, tenths);
    else
        std::snprintf(text, sizeof text, "%c%02d:%02d", lead, minutes, seconds);
    return text;
}

const char* clockSample(bool highPrecision) { return highPrecision ? " 00:00:0" : " 00:00"; }

}  // namespace tandemora
