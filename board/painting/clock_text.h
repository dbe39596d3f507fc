// The text of a clock: minutes and seconds, with tenths when asked for.
#pragma once

#include <string>

namespace tandemora {

// " mm:ss" for a time left, "-mm:ss" for a time overrun; ":t" appended with tenths. Every part
// is truncated, never rounded; minutes above 99 take as many digits as they need.
std::string clockText(int ms, bool highPrecision);

// The text the layout measures to place the clocks.
const char* clockSample(bool highPrecision);

}  // namespace tandemora
