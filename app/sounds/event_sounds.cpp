#include "app/sounds/event_sounds.h"

#include <cstdint>

#include "game/game_file.h"

namespace tandemora {
namespace {

// Six minutes of CD sound, far beyond any event's sound.
constexpr std::uint64_t kMaxSoundFileSize = 64 * 1024 * 1024;

// The whole file; nothing when it cannot be read or cannot be a sound: a device such as
// /dev/zero, a pipe or a folder, or a file too large for one.
std::optional<std::vector<unsigned char>> readImage(const std::string& path) {
    std::string problem;
    const auto text = readFileText(path, problem, kMaxSoundFileSize);
    if (!text) return std::nullopt;
    return std::vector<unsigned char>(text->begin(), text->end());
}

}  // namespace

void EventSounds::loadAll(const Settings& settings) {
    for (size_t index = 0; index < images_.size(); ++index)
        reload(static_cast<int>(index), settings.eventSoundPaths[index]);
}

bool EventSounds::reload(int index, const std::string& path) {
    auto& image = images_.at(index);
    image.reset();  // the old sound goes before the new file is read, not after
    image = readImage(path);
    if (!image) return false;
    player_.prepare(*image);
    return true;
}

void EventSounds::play(int index, const Settings& settings) {
    const auto& image = images_.at(index);
    if (settings.eventSoundsEnabled && image) player_.play(*image);
}

bool EventSounds::playFile(const std::string& path) {
    const auto image = readImage(path);
    return image && player_.play(*image);
}

}  // namespace tandemora
