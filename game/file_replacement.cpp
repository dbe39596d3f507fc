#include "game/file_replacement.h"

#include <csignal>
#include <filesystem>
#include <system_error>

#include "game/temporary_file.h"

namespace tandemora {

namespace fs = std::filesystem;

Replacement replaceFile(const std::string& outPath, const std::function<bool(std::ostream&)>& write,
                        std::ostream& err) {
    // The target is replaced by renaming a finished file over it, which a device or folder must not be.
    std::error_code error;
    const fs::file_status outStatus = fs::status(outPath, error);
    if (fs::exists(outStatus) && !fs::is_regular_file(outStatus)) {
        err << outPath << ": not a regular file\n";
        return Replacement::kCannotOpen;
    }
    TemporaryFile file(outPath);
    if (!file.isOpen()) {
        err << outPath << ": cannot write beside it: " << writeFailureCause(file.error()) << '\n';
        return Replacement::kCannotOpen;
    }
    const bool written = write(file.stream());
    if (!file.close() || !written) {
        if (written || file.error()) err << outPath << ": cannot write: " << writeFailureCause(file.error()) << '\n';
        err << outPath << ": left unchanged\n";
        return Replacement::kCannotWrite;
    }
    if (!file.replaceTarget()) {
        err << outPath << ": cannot replace: " << writeFailureCause(file.error()) << '\n';
        return Replacement::kCannotWrite;
    }
    return Replacement::kDone;
}

void ignoreFileSizeLimitSignal() {
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
}

}  // namespace tandemora
