// "Promote": the piece a pawn becomes when its move reaches the last rank.
#pragma once

#include <QPoint>

class QWidget;

namespace tandemora {

// Opens the chooser with its top-left corner at the given screen point, moved only as far as
// needed to be wholly on the screen; 'Q', 'N', 'R' or 'B', or 0 when the user cancels.
char choosePromotion(QWidget* parent, QPoint topLeftOnScreen);

}  // namespace tandemora
