// "Configure event sound": chooses, tries and applies the sound file of each event.
#pragma once

class QWidget;

namespace tandemora {

struct Settings;
class EventSounds;

// The stored paths change only on OK, which also reads every changed file into its event.
void configureEventSounds(QWidget* parent, Settings& settings, EventSounds& sounds);

}  // namespace tandemora
