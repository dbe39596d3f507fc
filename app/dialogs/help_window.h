// Help Topics: the user guide, in a window of its own beside the program.
#pragma once

class QWidget;

namespace tandemora {

// Shows the guide, opening its window on first use and raising it afterwards.
void showHelpTopics(QWidget* parent);

}  // namespace tandemora
