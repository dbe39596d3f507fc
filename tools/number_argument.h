// A whole number typed on the command line.
#pragma once

#include <charconv>
#include <string>

namespace tandemora {

// True when all of `text` is a decimal number that fits an int.
inline bool readInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end;
}

}  // namespace tandemora
