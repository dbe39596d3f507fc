#include "board/painting/count_digits.h"

#include <string_view>

namespace tandemora {

namespace {

// Each digit as (column, row) pairs on the grid; a blank starts the next pen stroke.
constexpr std::string_view kDigitStrokes[10] = {
    "0020220200", "1012",         "002021010222", "00202202 0121", "000121 1012",
    "200001212202", "200002222101", "002022",     "0020220200 0121", "2101002022",
};

}  // namespace

std::vector<Stroke> countStrokes(int count, const std::array<int, 3>& gridX, const std::array<int, 3>& gridY) {
    std::vector<Stroke> strokes;
    if (count <= 1) return strokes;
    if (count >= 10) {
        strokes.push_back({{1, gridY[0]}, {1, gridY[2]}});
        count -= 10;
        if (count >= 10) return strokes;
    }
    strokes.emplace_back();
    for (std::string_view rest = kDigitStrokes[count]; !rest.empty();) {
        if (rest.front() == ' ') {
            strokes.emplace_back();
            rest.remove_prefix(1);
            continue;
        }
        strokes.back().push_back({gridX[rest[0] - '0'], gridY[rest[1] - '0']});
        rest.remove_prefix(2);
    }
    return strokes;
}

}  // namespace tandemora
