// Writing a file so that a failure never leaves it half written.
#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace tandemora {

enum class Replacement { kDone, kCannotOpen, kCannotWrite };

// Writes through a new temporary file beside `outPath` and renames it over the target only when
// `write` returns true and every byte reached the disk; otherwise the target stays as it was
// and the temporary file is removed. Through a symbolic link the file it names is replaced,
// keeping its permissions; a target that is not a regular file cannot be opened. Problems are
// described on `err`.
Replacement replaceFile(const std::string& outPath, const std::function<bool(std::ostream&)>& write,
                        std::ostream& err);

// Makes a write past the file size limit fail like a write to a full disk, instead of ending
// the program, so that what was half written is removed or cut back and the message names the
// limit. Every program calls it as it starts.
void ignoreFileSizeLimitSignal();

}  // namespace tandemora
