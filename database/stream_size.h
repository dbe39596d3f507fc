// How much of a file stream is left to read.
#pragma once

#include <istream>

namespace tandemora {

// Bytes from the read position to the end of the stream; -1 when the stream cannot tell.
inline std::streamoff bytesLeft(std::istream& in) {
    const std::streampos here = in.tellg();
    if (here < 0 || !in.seekg(0, std::ios::end)) return -1;
    const std::streampos end = in.tellg();
    in.seekg(here);
    return end < 0 || !in ? -1 : end - here;
}

}  // namespace tandemora
