#include "game/file_replacement.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace tandemora {

namespace fs = std::filesystem;

Replacement replaceFile(const std::string& outPath, const std::function<bool(std::ostream&)>& write,
                        std::ostream& err) {
    // The target is replaced by renaming a finished file over it, which a device or folder must not be.
    std::error_code error;
    const fs::file_status outStatus = fs::status(outPath, error);
    const bool outExists = fs::exists(outStatus);
    if (outExists && !fs::is_regular_file(outStatus)) {
        err << outPath << ": not a regular file\n";
        return Replacement::kCannotOpen;
    }
    fs::path target = outExists ? fs::canonical(outPath, error) : fs::path(outPath);
    if (error) target = outPath;

    const fs::path tmpPath = target.string() + ".tmp";
    std::ofstream out(tmpPath, std::ios::binary | std::ios::trunc);
    if (!out) {
        err << tmpPath.string() << ": cannot write\n";
        return Replacement::kCannotOpen;
    }
    const bool written = write(out);
    out.close();
    if (!written || out.fail()) {
        if (written) err << tmpPath.string() << ": cannot write\n";
        fs::remove(tmpPath, error);
        err << outPath << ": left unchanged\n";
        return Replacement::kCannotWrite;
    }
    if (outExists) fs::permissions(tmpPath, outStatus.permissions(), error);
    fs::rename(tmpPath, target, error);
    if (error) {
        err << outPath << ": cannot replace: " << error.message() << '\n';
        fs::remove(tmpPath, error);
        return Replacement::kCannotWrite;
    }
    return Replacement::kDone;
}

}  // namespace tandemora
