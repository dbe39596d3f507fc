// Header and move texts as users type them: made safe for the BPGN writer, numbers read.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tandemora {

// One line (line breaks become blanks), no '}' and, in a tag value, no '"'; at most `limit`
// characters.
std::string writableText(std::string_view text, std::size_t limit, bool tagValue);

// The number the leading decimal digits of a text make, at most INT_MAX; none give 0.
int leadingNumber(std::string_view text);

}  // namespace tandemora
