// printf-style formatting into a std::string, for the messages and result lines of the index
// search.
#pragma once

#include <string>

namespace tandemora {

__attribute__((format(printf, 1, 2))) std::string formatted(const char* format, ...);

}  // namespace tandemora
