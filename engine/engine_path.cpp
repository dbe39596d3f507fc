#include "engine/engine_path.h"

#include <cstdlib>
#include <string_view>
#include <unistd.h>

namespace tandemora {

std::string engineMissingMessage(const std::string& where) {
    return "Fairy-Stockfish is not installed: sudo apt-get install fairy-stockfish, or " + where;
}

std::string resolveEnginePath(const std::string& chosen) {
    if (!chosen.empty()) return chosen;
    if (::access(kDefaultEnginePath, X_OK) == 0) return kDefaultEnginePath;
    const char* path = std::getenv("PATH");
    std::string_view folders = path ? path : "";
    while (!folders.empty()) {
        const size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders.remove_prefix(colon == std::string_view::npos ? folders.size() : colon + 1);
        if (folder.empty()) continue;
        const std::string candidate = std::string(folder) + "/fairy-stockfish";
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
    return {};
}

}  // namespace tandemora
