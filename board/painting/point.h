// A pixel position, kept free of Qt so the layout can be computed and tested without it.
#pragma once

namespace tandemora {

struct Point {
    int x = 0;
    int y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

}  // namespace tandemora
