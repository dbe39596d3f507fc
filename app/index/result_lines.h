// The result list of an index window: one line per move, its fields separated by tabs, shown
// in the columns of the caption above the list.
#pragma once

class QGroupBox;
class QListWidget;

namespace tandemora {

inline constexpr const char* kResultCaption =
    "Move:    Games w/ this move:    Relative frequency:     Win %:";

// Draws each line of the list in columns: the move first, each number ending where its heading
// in the caption of the group ends.
void showResultColumns(QListWidget& list, const QGroupBox& caption);

}  // namespace tandemora
