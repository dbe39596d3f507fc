// "Engine Options": the analysis engine's program, threads, hash and number of lines.
#pragma once

class QWidget;

namespace tandemora {

struct Settings;

// Shows the engine's options from `settings` and keeps what the user chose; false when cancelled.
bool editEngineOptions(QWidget* parent, Settings& settings);

}  // namespace tandemora
