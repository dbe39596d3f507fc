// Writing a file so that a failure never leaves it half written.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace tandemora {

enum class Replacement { kDone, kCannotOpen, kCannotWrite };

// Writes through a temporary file beside `outPath` and renames it over the target only when
// `write` returns true and every byte reached the disk; otherwise the target stays as it was.
// Through a symbolic link the file it names is replaced; a target that is not a regular file
// cannot be opened. Problems are described on `err`.
Replacement replaceFile(const std::string& outPath, const std::function<bool(std::ostream&)>& write,
                        std::ostream& err);

}  // namespace tandemora
