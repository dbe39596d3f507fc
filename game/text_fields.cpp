#include "game/text_fields.h"

#include <algorithm>
#include <climits>

namespace tandemora {

std::string writableText(std::string_view text, std::size_t limit, bool tagValue) {
    std::string out;
    for (char c : text) {
        if (c == '\r' || c == '\n') c = ' ';
        if (c == '}' || (tagValue && c == '"')) continue;
        if (out.size() == limit) break;
        out += c;
    }
    return out;
}

int leadingNumber(std::string_view text) {
    long long v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        v = std::min<long long>(v * 10 + (c - '0'), INT_MAX);
    }
    return static_cast<int>(v);
}

}  // namespace tandemora
