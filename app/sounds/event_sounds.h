// The sounds of the two events, read whole into memory beforehand so that an event costs no
// file access, and the player they share with the sounds tried in the event-sound dialog.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings.h"
#include "app/sounds/sound_player.h"

namespace tandemora {

class EventSounds {
public:
    // Reads the file of every event; an event whose file cannot be read stays silent.
    void loadAll(const Settings& settings);
    // Replaces the sound of one event by the file at `path` and makes ready to play it; false
    // (and silent) when unreadable.
    bool reload(int index, const std::string& path);
    bool hasSound(int index) const { return images_.at(index).has_value(); }

    // Plays the event's sound, when event sounds are on and it has one; returns at once.
    void play(int index, const Settings& settings);
    // Plays a file whatever the settings say; false when it could not start.
    bool playFile(const std::string& path);

private:
    std::array<std::optional<std::vector<unsigned char>>, 2> images_;  // in the order of eventSoundNames
    SoundPlayer player_;
};

}  // namespace tandemora
